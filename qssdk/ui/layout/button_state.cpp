// The push button's states and frames.
#include "button_state.h"

#include "input_codes.h"

namespace qssdk::ui {

void button_state::mouse_enter() { hover_ = true; }

void button_state::mouse_leave() {
    hover_ = false;
    pressed_ = left_pressed_ = space_pressed_ = false;
}

void button_state::focus_changed() { pressed_ = left_pressed_ = space_pressed_ = false; }

void button_state::mouse_down(uint64_t button) {
    pressed_ = true;
    if (button == static_cast<uint64_t>(mouse_button::left)) left_pressed_ = true;
}

button_reaction button_state::mouse_up(uint64_t button) {
    if (button != static_cast<uint64_t>(mouse_button::left)) return {};
    const bool clicked = left_pressed_;
    if (clicked && toggle_mode) toggled_ = !toggled_;
    pressed_ = left_pressed_ = false;
    return {true, clicked};
}

button_reaction button_state::key_down(uint64_t key) {
    if (key == key_space) {
        pressed_ = space_pressed_ = true;
        return {true, false};
    }
    if (key != key_enter) return {};
    if (toggle_mode) toggled_ = !toggled_;
    return {toggle_mode, true};
}

button_reaction button_state::key_up(uint64_t key) {
    if (key != key_space || !space_pressed_) return {};
    if (toggle_mode) toggled_ = !toggled_;
    pressed_ = left_pressed_ = space_pressed_ = false;
    return {true, true};
}

std::optional<uint32_t> button_frame(uint32_t frames, const button_state& state, bool enabled) {
    if (frames == 0) return std::nullopt;
    // The frame a state asks for, and the one of the untoggled half it falls back to.
    const auto pick = [&](uint32_t index, uint32_t current) -> uint32_t {
        if (state.toggled() && frames > index + 4) return index + 4;
        return frames > index ? index : current;
    };
    uint32_t frame = pick(0, 0);
    if (state.hover()) frame = pick(1, frame);
    if (!enabled) frame = pick(2, frame);
    if (state.pressed()) frame = pick(3, frame);
    return frame;
}

}  // namespace qssdk::ui
