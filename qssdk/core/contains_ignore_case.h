// Case-insensitive substring test (letters a to z match A to Z).
#pragma once

#include <string_view>

namespace qssdk {

// An empty pattern occurs in every non-empty text; nothing occurs in an empty text.
bool contains_ignore_case(std::string_view text, std::string_view pattern);

}  // namespace qssdk
