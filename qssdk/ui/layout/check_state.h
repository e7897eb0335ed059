// A check box's state: its own flag, or the caller's bool once linked, and the toggle with its two
// value_changed events.
#pragma once

#include <functional>

namespace qssdk::ui {

class event_object;

class check_state {
public:
    // The linked bool when there is one (it may change from outside at any time), else the own flag.
    bool checked() const { return linked_value ? *linked_value : checked_; }

    // Fires 37 (value_changed) with phase 0 on source, flips the current state (into the linked bool
    // too), asks for a repaint, then fires 37 with phase 2; both with flag 0 and value 0.
    void toggle(event_object& source, const std::function<void()>& repaint);
    // Sets the state without events: the own flag and the linked bool when there is one.
    void set(bool on) {
        checked_ = on;
        if (linked_value) *linked_value = on;
    }

    bool* linked_value = nullptr;  // owned by the caller

private:
    bool checked_ = false;
};

}  // namespace qssdk::ui
