// Initialises COM for the calling thread and undoes exactly that: CoUninitialize runs only when this
// object's CoInitializeEx succeeded (S_OK or S_FALSE), never after RPC_E_CHANGED_MODE or another failure.
#pragma once

#include <windows.h>

#include "non_copyable_non_moveable.h"

namespace qssdk::ui {

class com_initializer : non_copyable_non_moveable {
public:
    explicit com_initializer(DWORD mode);
    ~com_initializer();

    HRESULT result() const { return result_; }

private:
    HRESULT result_;
};

}  // namespace qssdk::ui
