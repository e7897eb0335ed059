#include "ClickGate.h"

#include <algorithm>
#include <chrono>

namespace installer {

double steady_seconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void ClickGate::page_shown(double now) {
    ++page_;
    drawn_ = false;
    open_ = false;
    open_drawn_ = false;
    delayed_ = false;
    opens_at_ = now + quiet_seconds;
}

void ClickGate::page_drawn() {
    drawn_ = true;
    if (open_) open_drawn_ = true;
}

bool ClickGate::tick(double now) {
    if (open_ || !drawn_ || now < opens_at_) return false;
    open_ = true;
    return true;
}

void ClickGate::refuse(double now) {
    if (delayed_) return;
    delayed_ = true;
    opens_at_ = std::max(opens_at_, now + refused_hold_seconds);
    open_ = false;
    open_drawn_ = false;
}

bool ClickGate::press(double now, PressButton button) {
    if (button != PressButton::left) return false;
    const bool accepted = acts();
    if (!accepted) refuse(now);
    press_ = pending_press{page_, accepted};
    return accepted;
}

void ClickGate::release() { press_.reset(); }

bool ClickGate::take_click(double now) {
    if (press_) {
        const pending_press taken = *press_;
        press_.reset();
        return taken.accepted && taken.page == page_;
    }
    if (acts()) return true;
    refuse(now);
    return false;
}

}  // namespace installer
