#include "dropped_files.h"

#include <algorithm>

namespace qssdk::ui {

std::vector<qssdk::file_path> dropped_files(const std::vector<std::wstring>& names, const file_query& files) {
    std::vector<qssdk::file_path> list;
    for (const std::wstring& name : names) {
        if (files.kind_of(name) != path_kind::file) continue;
        std::wstring path = name;
        std::ranges::replace(path, L'/', L'\\');
        list.push_back(qssdk::file_path::from_wide(std::move(path)));
    }
    return list;
}

}  // namespace qssdk::ui
