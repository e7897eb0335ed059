#include "PluginFile.h"

#include <windows.h>

#include "InstallStatus.h"

namespace installer {

namespace {

// Unique among live workers: a leftover with the same name can only come from a process that has ended.
std::wstring temporary_name(const std::wstring& target) {
    return target + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetCurrentThreadId()) +
           L".tmp";
}

bool write_all(HANDLE file, std::span<const unsigned char> bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = bytes.size() > 0x40000000 ? 0x40000000 : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
        bytes = bytes.subspan(written);
    }
    return FlushFileBuffers(file) != 0;
}

}  // namespace

std::uint32_t replace_plugin_file(const std::wstring& target, std::span<const unsigned char> bytes) {
    const std::wstring temporary = temporary_name(target);
    HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return install_status::file_not_created;
    const bool written = write_all(file, bytes);
    const bool closed = CloseHandle(file) != 0;
    if (written && closed &&
        MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return install_status::installed;
    DeleteFileW(temporary.c_str());
    return install_status::write_failed;
}

}  // namespace installer
