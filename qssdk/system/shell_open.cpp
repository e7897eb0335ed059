#include "shell_open.h"

#include <windows.h>
#include <shellapi.h>

#include "utf.h"

namespace qssdk {

void shell_open(std::string_view utf8_target) {
    const std::wstring target = utf8_to_utf16(utf8_target);
    ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace qssdk
