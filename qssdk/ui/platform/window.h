// The kit's top-level window: one native window with an embedded root widget, a painter, the focus,
// hover and Tab-order bookkeeping, and the services its widgets use: timers, tooltips and the
// input-method state. It turns native messages into kit events and routes them to its
// widgets, paints by walking the widget tree and runs its own modal message loop. Positions and sizes
// handed to and returned by it are DIPs (96 per inch); device pixels appear only at the native calls.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "edges.h"
#include "event_id.h"
#include "event_info.h"
#include "event_object.h"
#include "event_router.h"
#include "point.h"
#include "rect.h"
#include "timer_table.h"
#include "tooltip_registry.h"
#include "widget.h"
#include "widget_host.h"

namespace qssdk::ui {

class ime_state;
class painter;
class tooltip;
class window_impl;

class window : public event_object,
               public widget_host,
               private event_router::environment,
               private timer_service,
               private tooltip_input {
public:
    window();
    // Fires 18 (destroyed) on the window, then tears down the root widget, the painter and the native window.
    ~window() override;

    // Called for every WM_USER message with the low 32 bits of its lParam.
    virtual void on_user_message(uint32_t value);

    // Set before create: the owner's native window becomes this one's owner.
    void set_owner(window* owner) { owner_ = owner; }
    // Makes the native window (flag bits: window_flag) with the client area r, the root widget
    // "BaseWidget" over the whole client area and the painter; fires 17 (attached) on the root and on the
    // window. Throws qs_exception when the painter cannot be made.
    void create(const std::string& title, const qssdk::ui::rect& r, uint16_t flags = 0);
    // Instead of create: this object stands for a native window made elsewhere (another program's main
    // window as the owner of a dialog). That window is never changed or destroyed through this object.
    void stand_for(HWND native);

    // Fires 35 (shown), disables the owner, shows the window and runs the message loop until end_modal or
    // close; fires 36 (hidden) and returns the modal result. A WM_QUIT ends the loop as close(true) does and
    // is posted again for the loop outside.
    int32_t show_modal();
    // Stores the result, fires 36, ends the loop, re-enables and focuses the owner and hides the window.
    void end_modal(int32_t result);
    // Unless force, fires 16 (close_query) and stops when a handler exists for it. Otherwise ends the loop
    // as end_modal does, keeping the modal result.
    void close(bool force);

    // The client area's size at the window's outer position.
    void set_rect(const qssdk::ui::rect& r);
    // The outer window rectangle.
    qssdk::ui::rect get_rect() const;
    // x and y: the client area's screen position in device pixels; width and height in DIPs.
    qssdk::ui::rect get_client_rect() const;
    // Centres the window over its owner (or the screen), inside its monitor's work area.
    void center();
    // The tallest client area (DIPs) whose window `center` can place inside that work area.
    int32_t max_client_height() const;

    // widget_host
    void invalidate(const edges& area) override;
    void update_now() override;
    void add_widget(widget* w) override;
    void forget_widget(widget* w) override;
    painter* get_painter() override { return painter_.get(); }
    point get_cursor_position(const widget* w) const override;
    widget* get_focus_widget() const override { return router_.focus_widget(); }
    void set_focus_widget(widget* w, uint64_t value) override { router_.set_focus_widget(w, value); }
    void set_capture(widget* w) override;
    void add_timer(event_object* object) override { timers_.add(object); }
    void remove_timer(const event_object* object, uint32_t kind) override { timers_.remove(object, kind); }
    // The first area also makes the tooltip window (owned by this one) and starts the 100 ms tooltip tick.
    void add_tooltip(uint64_t key, const rect& area, const std::string& title, const std::string& text) override;

    widget* widget_at(point p) const;
    bool cursor_widget_has_handler(event_id id) const { return router_.cursor_widget_has_handler(id); }
    // Routes one event to the widgets and the window; always true.
    bool dispatch_event(const event_info& e);
    // The paint walk: w and its shown descendants that meet dirty (client DIPs), each with its clip and
    // translation, parents before children, the children's shadows between them.
    void paint_widget(widget& w, const edges& dirty);
    void set_tab_navigation(bool on) { router_.set_tab_navigation(on); }

    // WM_TIMER: the tooltip tick for its id, else the timer of the id; unknown ids are ignored.
    void on_timer(uint32_t id);
    // The tooltip tick: shows or hides the tooltip window by where the cursor rests.
    void update_tooltip();
    // Null until the first tooltip area is added.
    tooltip* get_tooltip() const { return tooltip_.get(); }
    // Null until create.
    ime_state* get_ime() const { return ime_.get(); }

    widget& get_root_widget() { return root_; }
    const widget& get_root_widget() const { return root_; }
    widget* get_hover_widget() const { return router_.hover_widget(); }
    // The Tab order: every initialised widget of the window in creation order.
    const std::vector<widget*>& get_widgets() const { return router_.widgets(); }
    HWND native_handle() const;
    uint32_t dpi_x() const;
    uint32_t dpi_y() const;

protected:
    // The tooltip window's mark of being shown, kept in the native part.
    bool shown_flag() const;
    void set_shown_flag(bool shown);

private:
    // The work area of the monitor of the owner (once created) or of the window.
    RECT work_area() const;
    friend LRESULT CALLBACK window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

    // event_router::environment
    point cursor_position() const override;
    bool shift_down() const override;
    // timer_service: native timers of the window
    void start(uint32_t id, uint32_t period_ms) override;
    void stop(uint32_t id) override;
    // tooltip_input
    double seconds() const override;
    widget* hover_widget() const override { return router_.hover_widget(); }
    point cursor_position(const widget* relative_to) const override { return get_cursor_position(relative_to); }

    // The native messages, for window_proc once the window is attached to its native window.
    LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam);
    void dispatch(event_id id, uint64_t value);
    void paint_update_region();
    void paint_tree(widget& w, const edges& dirty, point parent_origin);
    // Ends whatever a failed paint left open, so that the next paint starts clean.
    void abandon_paint(const char* cause);
    // Ends the modal loop, gives the owner back its input and hides the window.
    void release_modal();

    std::unique_ptr<window_impl> impl_;
    std::unique_ptr<painter> painter_;
    // The paint in progress failed (its draw, or a handler's exception); and whether the one before did.
    bool paint_failed_ = false;
    bool last_paint_failed_ = false;
    window* owner_ = nullptr;
    int32_t modal_result_ = 0;
    bool created_ = false;
    // Set once the system has been asked to report the mouse leaving the window.
    bool mouse_tracking_ = false;
    // Declared before the root widget, which leaves them when it is destroyed.
    timer_table timers_{*this};
    tooltip_registry tooltips_;
    std::unique_ptr<tooltip> tooltip_;
    std::unique_ptr<ime_state> ime_;
    event_router router_;
    widget root_;
};

}  // namespace qssdk::ui
