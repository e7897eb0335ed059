#include "file_path.h"

#include <algorithm>

#include "utf.h"

namespace qssdk {

file_path::file_path(std::string_view utf8) : path_(utf8_to_utf16(utf8)) {
    std::replace(path_.begin(), path_.end(), L'/', L'\\');
}

file_path file_path::from_wide(std::wstring wide) {
    file_path result;
    result.path_ = std::move(wide);
    return result;
}

file_path file_path::join(const file_path& other) const {
    file_path result = *this;
    if (other.path_.empty()) return result;
    if (!result.path_.empty() && result.path_.back() != L'\\') result.path_ += L'\\';
    std::wstring_view tail = other.path_;
    if (tail.front() == L'\\') tail.remove_prefix(1);
    result.path_ += tail;
    return result;
}

file_path file_path::parent() const {
    std::wstring_view rest = path_;
    if (!rest.empty() && rest.back() == L'\\') rest.remove_suffix(1);
    const size_t separator = rest.rfind(L'\\');
    if (separator == std::wstring_view::npos) return {};
    return from_wide(std::wstring(rest.substr(0, separator)));
}

}  // namespace qssdk
