// Balanced COM start-up for one object.
#include "com_initializer.h"

#include <objbase.h>

namespace qssdk::ui {

com_initializer::com_initializer(DWORD mode) : result_(CoInitializeEx(nullptr, mode)) {}

com_initializer::~com_initializer() {
    if (SUCCEEDED(result_)) CoUninitialize();
}

}  // namespace qssdk::ui
