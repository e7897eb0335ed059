// A UTF-16 path with '\' separators: join, parent and creation of the whole folder chain.
#pragma once

#include <string>
#include <string_view>

namespace qssdk {

class file_path {
public:
    file_path() = default;
    explicit file_path(std::string_view utf8);
    static file_path from_wide(std::wstring wide);

    file_path join(const file_path& other) const;
    file_path parent() const;
    // Creates every missing level from the outermost inwards; false at the first level that cannot be made.
    bool create_directories() const;

    const std::wstring& wstring() const { return path_; }
    const wchar_t* c_str() const { return path_.c_str(); }
    bool empty() const { return path_.empty(); }
    bool operator==(const file_path& other) const = default;

private:
    std::wstring path_;
};

}  // namespace qssdk
