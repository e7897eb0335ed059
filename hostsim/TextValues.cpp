#include "TextValues.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <stdexcept>

namespace hostsim {

namespace {

std::string quoted(std::string_view text) {
    std::string result(1, '"');
    result.append(text).push_back('"');
    return result;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (size_t end; (end = text.find(separator, start)) != std::string_view::npos; start = end + 1)
        parts.push_back(text.substr(start, end - start));
    parts.push_back(text.substr(start));
    return parts;
}

double parseNumber(std::string_view text) {
    const std::string copy(text);
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(copy.c_str(), &end);
    if (copy.empty() || end != copy.c_str() + copy.size() || errno == ERANGE || !std::isfinite(value) ||
        copy.find_first_of(" \t") != std::string::npos)
        throw std::invalid_argument(quoted(text) + " is not a number");
    return value;
}

int parseInteger(std::string_view text) {
    const std::string copy(text);
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(copy.c_str(), &end, 10);
    if (copy.empty() || end != copy.c_str() + copy.size() || errno == ERANGE || value < -2147483647L ||
        value > 2147483647L || copy.find_first_of(" \t") != std::string::npos)
        throw std::invalid_argument(quoted(text) + " is not a whole number");
    return static_cast<int>(value);
}

PF_Pixel parseColor(std::string_view text) {
    int digits[6];
    bool ok = text.size() == 7 && text[0] == '#';
    for (int i = 0; ok && i < 6; ++i) ok = (digits[i] = hexDigit(text[1 + i])) >= 0;
    if (!ok) throw std::invalid_argument(quoted(text) + " is not a colour: give #RRGGBB");
    auto byte = [&](int i) { return static_cast<A_u_char>(digits[i] * 16 + digits[i + 1]); };
    return PF_Pixel{255, byte(0), byte(2), byte(4)};
}

vec3 parseTriple(std::string_view text) {
    const std::vector<std::string_view> parts = split(text, ',');
    if (parts.size() != 3) throw std::invalid_argument(quoted(text) + " is not a point: give x,y,z");
    return vec3{parseNumber(parts[0]), parseNumber(parts[1]), parseNumber(parts[2])};
}

}  // namespace hostsim
