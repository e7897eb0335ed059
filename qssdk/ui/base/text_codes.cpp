// The painter's font, alignment and stroke codes.
#include "text_codes.h"

namespace qssdk::ui {

uint32_t font_weight_from_code(uint32_t code) {
    switch (code) {
        case weight_code_light: return font_weight_light;
        case weight_code_bold: return font_weight_bold;
        default: return font_weight_normal;
    }
}

font_style font_style_from_code(uint32_t code) {
    return code == style_code_italic ? font_style::italic : font_style::normal;
}

text_alignment text_alignment_from_code(uint32_t code) {
    switch (code) {
        case align_code_leading: return text_alignment::leading;
        case align_code_trailing: return text_alignment::trailing;
        default: return text_alignment::center;
    }
}

paragraph_alignment paragraph_alignment_from_code(uint32_t code) {
    switch (code) {
        case valign_code_top: return paragraph_alignment::near_edge;
        case valign_code_bottom: return paragraph_alignment::far_edge;
        default: return paragraph_alignment::center;
    }
}

stroke_kind stroke_kind_from_code(int32_t code) {
    switch (code) {
        case stroke_code_dotted: return stroke_kind::dotted;
        case stroke_code_dashed: return stroke_kind::dashed;
        default: return stroke_kind::solid;
    }
}

}  // namespace qssdk::ui
