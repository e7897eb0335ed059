#include "contains_ignore_case.h"

#include <cctype>

namespace qssdk {

namespace {

// toupper takes an unsigned char value: bytes of UTF-8 text above 0x7F must not reach it as negatives.
int upper(char c) { return std::toupper(static_cast<unsigned char>(c)); }

}  // namespace

bool contains_ignore_case(std::string_view text, std::string_view pattern) {
    if (pattern.size() > text.size()) return false;
    for (size_t start = 0; start < text.size() && start + pattern.size() <= text.size(); ++start) {
        size_t matched = 0;
        while (matched < pattern.size() && upper(text[start + matched]) == upper(pattern[matched])) ++matched;
        if (matched == pattern.size()) return true;
    }
    return false;
}

}  // namespace qssdk
