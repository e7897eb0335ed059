#include "ControlsPanel.h"

#include <stdexcept>

namespace hostsim {

namespace {

// The panel's rows: a title row, then the control a little indented below it.
constexpr A_long titleLeft = 8, titleTop = 18, titleHeight = 20;
constexpr A_long controlLeft = 24, controlGap = 2;
// A control whose parameter declares no size.
constexpr A_long defaultControlWidth = 200, defaultControlHeight = 30;

bool inside(const PF_LRect& rect, PF_Point point) {
    return point.h >= rect.left && point.h < rect.right && point.v >= rect.top && point.v < rect.bottom;
}

}  // namespace

ControlsPanel::ControlsPanel(SimulatedHost& host) : host_(host), context_(reinterpret_cast<PF_ContextH>(this)) {}

control_layout ControlsPanel::layoutOf(PF_ParamIndex index) const {
    A_long width = defaultControlWidth, height = defaultControlHeight;
    if (index > 0 && static_cast<size_t>(index) < host_.params().count()) {
        const PF_ParamDef& def = host_.params().at(index).def;
        if (def.ui_width > 0) width = def.ui_width;
        if (def.ui_height > 0) height = def.ui_height;
    }
    control_layout layout;
    layout.titleFrame = {titleLeft, titleTop, controlLeft + width, titleTop + titleHeight};
    const A_long top = layout.titleFrame.bottom + controlGap;
    layout.controlFrame = {controlLeft, top, controlLeft + width, top + height};
    return layout;
}

PF_Point ControlsPanel::controlPoint(PF_ParamIndex index, A_long x, A_long y) const {
    const PF_LRect frame = layoutOf(index).controlFrame;
    return {frame.left + x, frame.top + y};
}

PF_EventExtra ControlsPanel::event(PF_EventType type, PF_ParamIndex index) const {
    PF_EventExtra extra{};
    extra.contextH = context_;
    extra.e_type = type;
    const control_layout layout = layoutOf(index);
    extra.effect_win.index = index;
    extra.effect_win.area = PF_EA_CONTROL;
    extra.effect_win.current_frame = layout.controlFrame;
    extra.effect_win.param_title_frame = layout.titleFrame;
    return extra;
}

PF_EventExtra ControlsPanel::click(PF_ParamIndex index, PF_Point point) const {
    PF_EventExtra extra = event(PF_Event_DO_CLICK, index);
    const control_layout layout = layoutOf(index);
    extra.effect_win.area = inside(layout.controlFrame, point)  ? PF_EA_CONTROL
                            : inside(layout.titleFrame, point) ? PF_EA_PARAM_TITLE
                                                               : PF_EA_NONE;
    extra.u.do_click.screen_point = point;
    extra.u.do_click.num_clicks = 1;
    return extra;
}

PF_EventExtra ControlsPanel::drag(const PF_EventExtra& previous) const {
    PF_EventExtra extra = previous;
    extra.e_type = PF_Event_DRAG;
    extra.evt_out_flags = PF_EO_NONE;
    return extra;
}

PF_EventExtra ControlsPanel::drawEvent(PF_ParamIndex index, A_long inFlags) const {
    PF_EventExtra extra = event(PF_Event_DRAW, index);
    extra.u.draw.update_rect = extra.effect_win.current_frame;
    extra.evt_in_flags = inFlags;
    return extra;
}

PF_EventExtra ControlsPanel::adjustCursor(PF_ParamIndex index, PF_Point point) const {
    PF_EventExtra extra = click(index, point);
    extra.e_type = PF_Event_ADJUST_CURSOR;
    extra.u.adjust_cursor = PF_AdjustCursorEventInfo{};
    extra.u.adjust_cursor.screen_point = point;
    extra.u.adjust_cursor.set_cursor = PF_Cursor_NONE;
    return extra;
}

void ControlsPanel::requireCustomUi() const {
    if (!host_.params().customUi()) throw std::logic_error("the effect registered no custom UI to send events to");
}

event_result ControlsPanel::send(PF_EventExtra event) {
    requireCustomUi();
    event_result result;
    result.err = host_.send(PF_Cmd_EVENT, &event);
    result.event = event;
    return result;
}

draw_result ControlsPanel::draw(PF_ParamIndex index, A_long inFlags, bool offerDrawing) {
    requireCustomUi();
    PF_EventExtra extra = drawEvent(index, inFlags);
    const PF_LRect& frame = extra.effect_win.current_frame;
    draw_result result{PF_Err_NONE, {}, Canvas(frame.right - frame.left, frame.bottom - frame.top, background)};
    drawing_ref drawing{extra.contextH, &result.canvas, frame.left, frame.top};
    struct draw_scope {
        Drawbot* drawbot;
        ~draw_scope() {
            if (drawbot) drawbot->endDraw();
        }
    } scope{offerDrawing ? &host_.drawbot() : nullptr};
    if (scope.drawbot) scope.drawbot->beginDraw(drawing);
    result.err = host_.send(PF_Cmd_EVENT, &extra);
    result.event = extra;
    return result;
}

}  // namespace hostsim
