// Where the message popup puts its parts: the window's client size, the text's rectangle and the OK
// button's place, from the measured text and image and the style's margins. No window is needed.
#pragma once

#include <cstdint>
#include <optional>

#include "point.h"
#include "rect.h"
#include "size.h"

namespace qssdk::ui {

// message_popup_button_align codes; any other code leaves the button where it is.
inline constexpr int32_t popup_button_align_left = 0;
inline constexpr int32_t popup_button_align_center = 1;
inline constexpr int32_t popup_button_align_right = 2;

struct message_popup_metrics {
    int32_t requested_width = 0;  // the popup's minimum width
    point margins;                // the window margins (x, y)
    int32_t component_margin = 0;
    // The image in DIPs; {0, 0} when there is none (not set, or not decoded).
    qssdk::ui::size image;
    qssdk::ui::size check_box;  // {0, 0} while the check box is hidden
    qssdk::ui::size button;
    int32_t button_align = popup_button_align_center;
    // The tallest client area the screen's work area holds; 0: no limit.
    int32_t max_client_height = 0;
    // The text's line pitch, so that a cut text ends after a whole line; 0: cut anywhere.
    float line_height = 0.0f;
};

struct message_popup_geometry {
    qssdk::ui::size client;
    // Where the text shows: its measured height, or the whole lines that fit when the text is cut.
    rect text;
    // The text is taller than the popup may be: only its first lines show.
    bool text_cut = false;
    // Unset for a button alignment code the popup does not know.
    std::optional<rect> button;
};

// Width the image takes beside the text, margin included; 0 without an image.
int32_t popup_image_block_width(const message_popup_metrics& m);
// The box the text is measured in: it wraps at the requested width less the margins and the image block,
// and is at most 1000 high.
qssdk::ui::size popup_text_limit(const message_popup_metrics& m);
// The layout for a text measured at text_size inside popup_text_limit. A popup that would be taller than
// max_client_height is that high instead: the text is cut after the last whole line that fits, and the
// button keeps its place above the bottom margin, so it stays on the screen.
message_popup_geometry layout_message_popup(const message_popup_metrics& m, const qssdk::ui::size& text_size);

// The painter's horizontal alignment for a message_popup_text_align code: 0 leading, 2 trailing, any
// other code centred.
uint32_t popup_text_alignment(int32_t code);

}  // namespace qssdk::ui
