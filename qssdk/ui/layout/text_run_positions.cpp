// Run bounds from bytes to UTF-16 positions.
#include "text_run_positions.h"

#include <algorithm>
#include <cstdint>

#include "utf.h"

namespace qssdk::ui {

namespace {

uint32_t utf16_length(std::string_view text) { return static_cast<uint32_t>(qssdk::utf8_to_utf16(text).size()); }

}  // namespace

std::vector<text_run> runs_in_utf16_positions(std::string_view text, std::vector<text_run> runs) {
    const uint32_t total = utf16_length(text);
    // The length of each prefix as converted on its own: a sequence cut at a bound converts the way the
    // whole text's conversion counts it up to there. Neighbouring runs share a bound, converted once.
    uint32_t last_byte = 0, last_position = 0;
    const auto position = [&](uint32_t byte) {
        if (byte != last_byte) {
            last_byte = byte;
            last_position = utf16_length(text.substr(0, std::min<size_t>(byte, text.size())));
        }
        return last_position;
    };
    uint32_t floor = 0;
    for (text_run& run : runs) {
        const uint32_t start = std::clamp(position(run.start), floor, total);
        const uint32_t end = std::clamp(position(run.end), start, total);
        run.start = start;
        run.end = floor = end;
    }
    return runs;
}

}  // namespace qssdk::ui
