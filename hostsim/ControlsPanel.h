// The host's Effect Controls panel for the effect instance: where a parameter's title row and its custom
// control lie, the events the panel sends the effect's custom control (click, drag, draw, cursor), and a
// draw of a control into a canvas of its area.
#pragma once

#include "Drawbot.h"
#include "SimulatedHost.h"
#include "ae_effect.h"

namespace hostsim {

// Where the panel shows a parameter's custom control, in panel coordinates. The control does not start at
// the panel's origin, so an effect that forgets to take the frame's corner off a point misses.
struct control_layout {
    PF_LRect titleFrame;
    PF_LRect controlFrame;
};

// One event as the effect handed it back.
struct event_result {
    PF_Err err = PF_Err_NONE;
    PF_EventExtra event{};
};

struct draw_result {
    PF_Err err = PF_Err_NONE;
    PF_EventExtra event{};
    Canvas canvas;
};

class ControlsPanel {
public:
    // The panel's colour behind every control.
    static constexpr bgra8 background{0x2a, 0x2a, 0x2a, 0xff};

    explicit ControlsPanel(SimulatedHost& host);

    // The layout of the control of the parameter at `index`: its size is the one the effect declared
    // (ui_width x ui_height).
    control_layout layoutOf(PF_ParamIndex index) const;
    // A panel point given relative to the control's top-left corner.
    PF_Point controlPoint(PF_ParamIndex index, A_long x, A_long y) const;

    // Event builders; points are in panel coordinates, the area follows from where the point lies.
    PF_EventExtra click(PF_ParamIndex index, PF_Point point) const;
    // The drag the host sends after `previous` (a click or drag as the effect handed it back).
    PF_EventExtra drag(const PF_EventExtra& previous) const;
    PF_EventExtra drawEvent(PF_ParamIndex index, A_long inFlags = PF_EI_NONE) const;
    PF_EventExtra adjustCursor(PF_ParamIndex index, PF_Point point) const;

    // Sends an event (PF_Cmd_EVENT) as it is. A host sends events only to an effect that registered a
    // custom UI: both throw std::logic_error otherwise.
    event_result send(PF_EventExtra event);
    // Draws the control: a canvas of its area in the panel's colour, reachable through the drawing
    // reference during the event; with `offerDrawing` false the host has no drawing reference to give.
    draw_result draw(PF_ParamIndex index, A_long inFlags = PF_EI_NONE, bool offerDrawing = true);

private:
    PF_EventExtra event(PF_EventType type, PF_ParamIndex index) const;
    void requireCustomUi() const;

    SimulatedHost& host_;
    PF_ContextH context_;  // the panel's custom context: this object's address
};

}  // namespace hostsim
