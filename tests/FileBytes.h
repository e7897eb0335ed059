// A whole file's bytes, for tests that check what was written.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <windows.h>

using Bytes = std::vector<unsigned char>;

// Nothing when the file cannot be opened or read whole; others may hold it open meanwhile.
inline std::optional<Bytes> read_file(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    LARGE_INTEGER size{};
    GetFileSizeEx(file, &size);
    Bytes bytes(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    const bool ok = bytes.empty() || (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
                                      read == bytes.size());
    CloseHandle(file);
    if (!ok) return std::nullopt;
    return bytes;
}
