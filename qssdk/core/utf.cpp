#include "utf.h"

#include <cstdint>

namespace qssdk {

namespace {

constexpr char32_t replacement = 0xFFFD;

void append_utf16(std::wstring& out, char32_t code_point) {
    if (code_point < 0x10000) {
        out += static_cast<wchar_t>(code_point);
        return;
    }
    code_point -= 0x10000;
    out += static_cast<wchar_t>(0xD800 + (code_point >> 10));
    out += static_cast<wchar_t>(0xDC00 + (code_point & 0x3FF));
}

void append_utf8(std::string& out, char32_t code_point) {
    if (code_point < 0x80) {
        out += static_cast<char>(code_point);
    } else if (code_point < 0x800) {
        out += static_cast<char>(0xC0 | (code_point >> 6));
        out += static_cast<char>(0x80 | (code_point & 0x3F));
    } else if (code_point < 0x10000) {
        out += static_cast<char>(0xE0 | (code_point >> 12));
        out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code_point & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code_point >> 18));
        out += static_cast<char>(0x80 | ((code_point >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code_point & 0x3F));
    }
}

bool is_high_surrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool is_low_surrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

// Our own converter rather than the system's, so that the kit's text logic runs the same everywhere. As
// the system's does, it replaces each malformed part (the longest start of a valid sequence, or one byte)
// with U+FFFD, and so a lone surrogate.
std::wstring utf8_to_utf16(std::string_view text) {
    std::wstring result;
    result.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i++]);
        if (lead < 0x80) {
            result += static_cast<wchar_t>(lead);
            continue;
        }
        int continuations = 0;
        char32_t code_point = 0;
        // The range of the first continuation byte excludes overlong forms, surrogates and code points
        // past U+10FFFF.
        unsigned char low = 0x80, high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            continuations = 1;
            code_point = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            continuations = 2;
            code_point = lead & 0x0F;
            if (lead == 0xE0) low = 0xA0;
            if (lead == 0xED) high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            continuations = 3;
            code_point = lead & 0x07;
            if (lead == 0xF0) low = 0x90;
            if (lead == 0xF4) high = 0x8F;
        } else {
            append_utf16(result, replacement);
            continue;
        }
        int taken = 0;
        while (taken < continuations && i < text.size()) {
            const auto next = static_cast<unsigned char>(text[i]);
            if (next < low || next > high) break;
            code_point = (code_point << 6) | (next & 0x3F);
            low = 0x80;
            high = 0xBF;
            ++taken;
            ++i;
        }
        append_utf16(result, taken == continuations ? code_point : replacement);
    }
    return result;
}

std::string utf16_to_utf8(std::wstring_view text) {
    // Converts exactly the view's characters, so a view need not be followed by a terminator.
    std::string result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const auto unit = static_cast<char32_t>(text[i]);
        if (is_high_surrogate(unit) && i + 1 < text.size() && is_low_surrogate(static_cast<char32_t>(text[i + 1]))) {
            append_utf8(result, 0x10000 + ((unit - 0xD800) << 10) + (static_cast<char32_t>(text[i + 1]) - 0xDC00));
            ++i;
        } else if (is_high_surrogate(unit) || is_low_surrogate(unit) || unit > 0x10FFFF) {
            append_utf8(result, replacement);
        } else {
            append_utf8(result, unit);
        }
    }
    return result;
}

}  // namespace qssdk
