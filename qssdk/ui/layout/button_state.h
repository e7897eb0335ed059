// The push button's state machine (hover, pressed, toggled, toggle mode) and which frame of its image
// strip each state shows.
#pragma once

#include <cstdint>
#include <optional>

namespace qssdk::ui {

// What one event asks of the button: a repaint, and whether it fires clicked (with the toggle state).
struct button_reaction {
    bool redraw = false;
    bool clicked = false;

    bool operator==(const button_reaction&) const = default;
};

class button_state {
public:
    void mouse_enter();
    // Also what disabling does: the pointer's press no longer counts.
    void mouse_leave();
    void focus_changed();
    // Any button shows the pressed look; only the left one can end in a click.
    void mouse_down(uint64_t button);
    // Clicked only for a left release that follows a left press on this button; in toggle mode that
    // click flips the toggle state first.
    button_reaction mouse_up(uint64_t button);
    // Enter clicks (and flips the toggle state in toggle mode, with a repaint); Space shows the pressed
    // look, and its release clicks as Enter does.
    button_reaction key_down(uint64_t key);
    button_reaction key_up(uint64_t key);

    bool hover() const { return hover_; }
    bool pressed() const { return pressed_; }
    bool toggled() const { return toggled_; }
    bool toggle_mode = false;

private:
    bool hover_ = false;
    bool pressed_ = false;
    bool left_pressed_ = false;  // the pressed look comes from the left button
    bool space_pressed_ = false;  // or from Space
    bool toggled_ = false;
};

// The frame of a strip of frames that a button in this state shows, top first; later rules win:
// start 0 (4 when toggled and frames >= 5), hover 1 (5), disabled 2 (6), pressed 3 (7), each only when
// the strip has that frame. Nothing for a strip of no frames.
std::optional<uint32_t> button_frame(uint32_t frames, const button_state& state, bool enabled);

}  // namespace qssdk::ui
