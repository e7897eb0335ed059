// The file list a drop delivers (event 41): the dropped names that are files, with '\' separators.
// Folders and names that cannot be read are left out. The file system is asked through file_query.
#pragma once

#include <string>
#include <vector>

#include "file_path.h"

namespace qssdk::ui {

enum class path_kind { file, folder, missing };

class file_query {
public:
    virtual path_kind kind_of(const std::wstring& path) const = 0;

protected:
    ~file_query() = default;
};

std::vector<qssdk::file_path> dropped_files(const std::vector<std::wstring>& names, const file_query& files);

}  // namespace qssdk::ui
