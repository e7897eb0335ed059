// Which clicks of the footer controls count. I AGREE, INSTALL and FINISH stand at one spot, so a quick
// series of clicks would walk through pages nobody has read. A page's gated controls are drawn disabled
// when it appears and are drawn enabled once the page has been drawn and has stood for quiet_seconds; only
// then do they act. A left press while they look disabled is refused and, once per page, keeps them
// disabled for refused_hold_seconds after it, so that a hurried series ends before they open; later
// refusals delay nothing, so a person who waits for the enabled look is never kept out. Right and middle
// presses do not count. A click without a press (a key on the focused control) is judged at the click.
// Window-free: times are seconds of any steady clock, and the window draws what looks_open() says.
#pragma once

#include <cstdint>
#include <optional>

namespace installer {

// The steady clock the window's gate reads, in seconds.
double steady_seconds();

enum class PressButton { left, middle, right };

class ClickGate {
public:
    // Long enough to cover a double click; a person who read the page clicks later.
    static constexpr double quiet_seconds = 0.5;
    // After a refused press: past the end of a hurried series (six clicks a quarter second apart).
    static constexpr double refused_hold_seconds = 1.5;

    // A page appeared (or the footer's meaning changed on it, as when FINISH replaces INSTALLING...): its
    // gated controls look disabled.
    void page_shown(double now);
    // The page was drawn on the screen, its gated controls as looks_open() said when it was drawn.
    void page_drawn();
    // The window's tick: opens the gate once the page was drawn and its time has come. True when the look
    // changed, so the window draws the controls enabled.
    bool tick(double now);
    // Whether the gated controls are to be drawn enabled.
    bool looks_open() const { return open_; }
    // A mouse press began on a gated control (a disabled-looking one too). Returns whether it may end in
    // a click; a refused one may have closed the gate again (looks_open()).
    bool press(double now, PressButton button);
    // The mouse button was released, on a control or elsewhere: its press is over.
    void release();
    // A control reports a click: true when it is to act. Takes the press it ended.
    bool take_click(double now);

private:
    bool acts() const { return open_ && open_drawn_; }
    void refuse(double now);

    std::uint32_t page_ = 0;
    bool drawn_ = false;
    bool open_ = false;
    // The page was drawn with the controls enabled: what a person sees is what a press meets.
    bool open_drawn_ = false;
    // This page's one delay for a refused press was used.
    bool delayed_ = false;
    double opens_at_ = 0.0;
    struct pending_press {
        std::uint32_t page;
        bool accepted;
    };
    std::optional<pending_press> press_;
};

}  // namespace installer
