// The modal folder picker on the common item dialog. COM must be initialised on the calling thread (every
// kit window initialises OLE).
#pragma once

#include <string>
#include <string_view>

#include <windows.h>

namespace qssdk::ui {

// Owner may be null. A start folder that cannot be parsed is ignored. Returns the chosen folder, or an
// empty text when the user cancels; throws qs_exception when the dialog cannot be used.
std::wstring select_folder(HWND owner, std::wstring_view title, std::wstring_view start_folder);

}  // namespace qssdk::ui
