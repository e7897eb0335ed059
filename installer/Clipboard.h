// Puts text on the system clipboard for the licence page's Copy.
#pragma once

#include <string_view>

#include <windows.h>

namespace installer {

// The UTF-8 text as NUL-terminated UTF-16 (CF_UNICODETEXT), with the clipboard opened by the owner window.
// False when any step fails (another program holding the clipboard open among them); the memory block
// the clipboard did not take is then freed.
bool copy_to_clipboard(HWND owner, std::string_view text);

}  // namespace installer
