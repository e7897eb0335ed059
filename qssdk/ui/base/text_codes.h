// The painter's small codes for fonts, alignment and strokes, mapped to the values the text and drawing
// calls take. The numbers equal the DirectWrite enumerations' (checked where those are compiled).
#pragma once

#include <cstdint>

namespace qssdk::ui {

// Weight codes of set_font and text runs.
inline constexpr uint32_t weight_code_normal = 0;
inline constexpr uint32_t weight_code_light = 1;
inline constexpr uint32_t weight_code_bold = 2;
// Style codes.
inline constexpr uint32_t style_code_normal = 0;
inline constexpr uint32_t style_code_italic = 1;
// Horizontal alignment codes of set_text_alignment.
inline constexpr uint32_t align_code_leading = 0;
inline constexpr uint32_t align_code_center = 1;
inline constexpr uint32_t align_code_trailing = 2;
// Vertical alignment codes.
inline constexpr uint32_t valign_code_center = 0;
inline constexpr uint32_t valign_code_top = 1;
inline constexpr uint32_t valign_code_bottom = 2;
// Stroke style codes of the pen.
inline constexpr int32_t stroke_code_solid = 0;
inline constexpr int32_t stroke_code_dotted = 1;
inline constexpr int32_t stroke_code_dashed = 2;

// Font weights (100..900 scale).
inline constexpr uint32_t font_weight_light = 300;
inline constexpr uint32_t font_weight_normal = 400;
inline constexpr uint32_t font_weight_bold = 700;

enum class font_style : uint32_t { normal = 0, oblique = 1, italic = 2 };
enum class text_alignment : uint32_t { leading = 0, trailing = 1, center = 2 };
enum class paragraph_alignment : uint32_t { near_edge = 0, far_edge = 1, center = 2 };
enum class stroke_kind { solid, dotted, dashed };

// 0 -> 400, 1 -> 300, 2 -> 700, anything else 400.
uint32_t font_weight_from_code(uint32_t code);
// 1 -> italic, anything else normal.
font_style font_style_from_code(uint32_t code);
// 0 leading, 1 centre, 2 trailing, anything else centre.
text_alignment text_alignment_from_code(uint32_t code);
// 1 top, 2 bottom, 0 or anything else centre.
paragraph_alignment paragraph_alignment_from_code(uint32_t code);
// 1 dotted, 2 dashed, anything else solid.
stroke_kind stroke_kind_from_code(int32_t code);

}  // namespace qssdk::ui
