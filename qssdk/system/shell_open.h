// Opens a document or web address with the program the shell associates with it.
#pragma once

#include <string_view>

namespace qssdk {

// A target that cannot be opened is silently ignored.
void shell_open(std::string_view utf8_target);

}  // namespace qssdk
