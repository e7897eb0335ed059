// file_path's one call into the file system, apart from its window-free path arithmetic.
#include <vector>

#include <windows.h>

#include "file_path.h"

namespace qssdk {

bool file_path::create_directories() const {
    if (path_.empty()) return false;
    std::vector<file_path> pending{*this};
    while (!pending.empty()) {
        if (CreateDirectoryW(pending.back().c_str(), nullptr)) {
            pending.pop_back();
            continue;
        }
        const DWORD error = GetLastError();
        if (error == ERROR_ALREADY_EXISTS) {
            // The path itself may exist as a file; a missing level that turns out to be a file can hold
            // nothing, and retrying below it would never end.
            if (pending.size() > 1 && !(GetFileAttributesW(pending.back().c_str()) & FILE_ATTRIBUTE_DIRECTORY))
                return false;
            pending.pop_back();
            continue;
        }
        if (error != ERROR_PATH_NOT_FOUND && error != ERROR_FILE_NOT_FOUND) return false;
        file_path up = pending.back().parent();
        if (up.empty()) return false;
        pending.push_back(std::move(up));
    }
    return true;
}

}  // namespace qssdk
