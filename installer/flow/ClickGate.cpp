#include "ClickGate.h"

#include <chrono>

namespace installer {

double steady_seconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void ClickGate::page_shown(double now) {
    ++page_;
    drawn_ = false;
    quiet_since_ = now;
}

void ClickGate::page_drawn() { drawn_ = true; }

bool ClickGate::ready(double now) const { return drawn_ && now - quiet_since_ >= quiet_seconds; }

void ClickGate::refuse(double now) { quiet_since_ = now; }

void ClickGate::press(double now) {
    const bool accepted = ready(now);
    if (!accepted) refuse(now);
    press_ = pending_press{page_, accepted};
}

void ClickGate::press_swallowed(double now) {
    refuse(now);
    press_.reset();
}

void ClickGate::release() { press_.reset(); }

bool ClickGate::take_click(double now) {
    if (press_) {
        const pending_press taken = *press_;
        press_.reset();
        return taken.accepted && taken.page == page_;
    }
    if (ready(now)) return true;
    refuse(now);
    return false;
}

}  // namespace installer
