// The small HTML subset of text labels: bold, italic, underline, font face, size and colour, paragraphs,
// line breaks, bullet lists and links, turned into plain text and the styled runs that cover it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "text_run.h"

namespace qssdk::ui {

struct html_text {
    std::string text;
    // Cover text in order from byte 0 to its end, followed by one empty run at the end in the style
    // then in force.
    std::vector<text_run> runs;
};

// Never rejects input: unknown tags are ignored and malformed markup is kept as text. font_name and
// font_size are the label's own font, the style of text outside every tag.
html_text parse_html_subset(std::string_view html, std::string_view font_name, float font_size);

}  // namespace qssdk::ui
