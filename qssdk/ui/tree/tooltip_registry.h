// A window's tooltip areas and the 100 ms tick that decides when its tooltip window shows and hides: it
// shows once the cursor has rested more than 0.75 s on one area of one widget, at the cursor plus (5, 20),
// and hides after 6 s there or as soon as the cursor leaves the area or the widget. The clock, the
// hover widget and the cursor come from a tooltip_input; the tooltip window is driven through a
// tooltip_view, so the whole state machine runs without a window.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "fnv1a_hash.h"
#include "point.h"
#include "rect.h"

namespace qssdk::ui {

class widget;

// One registered area: rect relative to the widget (all zero: the whole widget), UTF-8 title and text.
struct tooltip_area {
    rect area;
    std::string title;
    std::string text;
};

// What the tick reads from the window.
class tooltip_input {
public:
    // A steady clock in seconds.
    virtual double seconds() const = 0;
    // The widget last found under the cursor, or null.
    virtual widget* hover_widget() const = 0;
    // The cursor in DIPs relative to the widget, or in screen DIPs for null.
    virtual point cursor_position(const widget* relative_to) const = 0;

protected:
    ~tooltip_input() = default;
};

// The tooltip window as the tick drives it.
class tooltip_view {
public:
    virtual bool is_shown() const = 0;
    // Shows the texts at a screen position in DIPs, styled by the widget whose area it is.
    virtual void show(point position, const std::string& title, const std::string& text,
                      const widget& style_source) = 0;
    // Hides it (nothing visible changes when it is hidden already).
    virtual void hide() = 0;

protected:
    ~tooltip_view() = default;
};

inline constexpr double tooltip_show_after_seconds = 0.75;
inline constexpr double tooltip_hide_after_seconds = 6.0;
inline constexpr point tooltip_cursor_offset{5, 20};

class tooltip_registry {
public:
    enum class added { ignored, added, first };

    // Appends an area under the key (normally a widget's address). Nothing when both texts are empty.
    // first: the registry was empty, so the window makes its tooltip window and starts the tick.
    added add(uint64_t key, const rect& area, std::string title, std::string text);
    // One tick of the state machine.
    void tick(const tooltip_input& input, tooltip_view& view);
    // A widget being destroyed: its areas go, and a tooltip of its own is hidden (view may be null when
    // the window has none), so nothing refers to it afterwards.
    void forget(const widget* w, tooltip_view* view);
    bool empty() const { return areas_.empty(); }

private:
    std::unordered_map<uint64_t, std::vector<tooltip_area>, fnv1a_hash> areas_{initial_buckets};
    const widget* hover_widget_ = nullptr;  // the widget the hover time belongs to
    double hover_start_ = 0.0;
    rect current_area_;
};

}  // namespace qssdk::ui
