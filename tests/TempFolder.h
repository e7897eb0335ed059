// A fresh folder under the temporary directory for one test, removed with everything in it afterwards.
#pragma once

#include <atomic>
#include <string>
#include <utility>

#include <windows.h>

class TempFolder {
public:
    TempFolder() {
        static std::atomic<unsigned> counter{0};
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        path_ = std::wstring(temp) + L"pellux-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(counter++);
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    // A folder at a fixed place, for what must look the same on every run (a path shown in a picture);
    // one left over by an earlier run is cleared first.
    explicit TempFolder(std::wstring fixed_path) : path_(std::move(fixed_path)) {
        remove_tree(path_);
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~TempFolder() { remove_tree(path_); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

    static void remove_tree(const std::wstring& path) {
        WIN32_FIND_DATAW entry;
        HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &entry);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = entry.cFileName;
                if (name == L"." || name == L"..") continue;
                const std::wstring child = path + L"\\" + name;
                if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    remove_tree(child);
                else
                    DeleteFileW(child.c_str());
            } while (FindNextFileW(find, &entry));
            FindClose(find);
        }
        RemoveDirectoryW(path.c_str());
    }

private:
    std::wstring path_;
};
