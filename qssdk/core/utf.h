// UTF-8 <-> UTF-16 conversion for text that crosses into the Windows API.
#pragma once

#include <string>
#include <string_view>

namespace qssdk {

// Malformed input is not an error: the converter's replacement characters are kept.
std::wstring utf8_to_utf16(std::string_view text);
std::string utf16_to_utf8(std::wstring_view text);

}  // namespace qssdk
