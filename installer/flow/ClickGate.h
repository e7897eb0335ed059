// Which clicks of the footer controls count. I AGREE, INSTALL and FINISH stand at one spot, so a quick
// series of clicks would walk through pages nobody has read. A page's control acts only on a press that
// began on that page, after the page was drawn, and once the page has been quiet for a moment: no press
// since it appeared, and no refused press, for quiet_seconds. Presses and clicks come from the mouse; a
// click without a press (Enter on the focused control) is judged at the click. Window-free: times are
// seconds of any steady clock.
#pragma once

#include <cstdint>
#include <optional>

namespace installer {

// The steady clock the window's gate reads, in seconds.
double steady_seconds();

class ClickGate {
public:
    // Long enough to cover a double click and a hurried series; a person who read the page clicks later.
    static constexpr double quiet_seconds = 0.5;

    // A page appeared (or the footer's meaning changed on it, as when FINISH replaces INSTALLING...).
    void page_shown(double now);
    // The page was drawn on the screen.
    void page_drawn();
    // A mouse press began on a footer control.
    void press(double now);
    // A press whose release is not delivered (the second press of a double click): refused outright.
    void press_swallowed(double now);
    // The mouse button was released, on a control or elsewhere: its press is over.
    void release();
    // A control reports a click: true when it is to act. Takes the press it ended.
    bool take_click(double now);

private:
    bool ready(double now) const;
    void refuse(double now);

    std::uint32_t page_ = 0;
    bool drawn_ = false;
    double quiet_since_ = 0.0;
    struct pending_press {
        std::uint32_t page;
        bool accepted;
    };
    std::optional<pending_press> press_;
};

}  // namespace installer
