// The error raised by calls through a null COM pointer.
#include "com_ptr.h"

#include "format_string.h"

namespace qssdk::ui {

com_error::com_error(HRESULT code)
    : qs_exception(qssdk::format_string("COM error 0x%08X", static_cast<unsigned>(code))), code_(code) {}

}  // namespace qssdk::ui
