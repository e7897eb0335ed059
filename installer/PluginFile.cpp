#include "PluginFile.h"

#include <algorithm>

#include <windows.h>

#include "InstallStatus.h"

namespace installer {

namespace {

constexpr std::wstring_view temporary_suffix = L".tmp";

// Unique among live workers: a leftover with the same name can only come from a process that has ended.
std::wstring temporary_name(const std::wstring& target) {
    return target + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetCurrentThreadId()) +
           std::wstring(temporary_suffix);
}

bool digits(std::wstring_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

// The folder part of target, with its trailing backslash, and the file name.
std::pair<std::wstring, std::wstring> split(const std::wstring& target) {
    const std::size_t slash = target.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return {{}, target};
    return {target.substr(0, slash + 1), target.substr(slash + 1)};
}

// A file still open in a running worker cannot be deleted and is left to it.
void remove_leftovers(const std::wstring& target) {
    const auto [folder, name] = split(target);
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((target + L".*" + std::wstring(temporary_suffix)).c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && is_temporary_name(name, found.cFileName))
            DeleteFileW((folder + found.cFileName).c_str());
    } while (FindNextFileW(find, &found));
    FindClose(find);
}

bool write_all(HANDLE file, std::span<const unsigned char> bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = bytes.size() > 0x40000000 ? 0x40000000 : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) return false;
        if (written == 0) {
            SetLastError(ERROR_WRITE_FAULT);
            return false;
        }
        bytes = bytes.subspan(written);
    }
    return FlushFileBuffers(file) != 0;
}

}  // namespace

bool is_temporary_name(const std::wstring& target_name, const std::wstring& name) {
    const std::wstring prefix = target_name + L".";
    if (name.size() <= prefix.size() + temporary_suffix.size()) return false;
    if (name.compare(0, prefix.size(), prefix) != 0) return false;
    if (name.compare(name.size() - temporary_suffix.size(), temporary_suffix.size(), temporary_suffix) != 0)
        return false;
    const std::wstring_view ids(name.data() + prefix.size(), name.size() - prefix.size() - temporary_suffix.size());
    const std::size_t dash = ids.find(L'-');
    return dash != std::wstring_view::npos && digits(ids.substr(0, dash)) && digits(ids.substr(dash + 1));
}

PluginWrite replace_plugin_file(const std::wstring& target, std::span<const unsigned char> bytes) {
    remove_leftovers(target);
    const std::wstring temporary = temporary_name(target);
    HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return {install_status::file_not_created, GetLastError()};
    const bool written = write_all(file, bytes);
    DWORD error = written ? ERROR_SUCCESS : GetLastError();
    const bool closed = CloseHandle(file) != 0;
    if (written && !closed) error = GetLastError();
    if (written && closed) {
        if (MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return {install_status::installed, 0};
        error = GetLastError();
    }
    DeleteFileW(temporary.c_str());
    return {install_status::write_failed, error};
}

}  // namespace installer
