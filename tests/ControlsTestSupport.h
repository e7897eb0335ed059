// Support of the widget tests on a real kit window: a shown window with a plain grey root, input driven
// through the window's own messages with the cursor placed first (routing follows the cursor), pictures
// of what it shows, and image strips whose frames are told apart by colour.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string_view>

#include "Image.h"
#include "color.h"
#include "point.h"
#include "rect.h"
#include "widget.h"
#include "window.h"

namespace controls_test {

inline constexpr qssdk::ui::color root_grey{0.2f, 0.2f, 0.2f, 1.0f};

// A topmost kit window in the screen band below the simulated host's window, painted grey, shown without
// taking the activation. The cursor is parked outside it so that no stray move changes a hover.
class shown_window : public qssdk::ui::window {
public:
    shown_window(int32_t x, int32_t width, int32_t height);

    // Puts the cursor over a point of the widget and lets the window see it (the first move only arms
    // the leave tracking, the second is routed).
    void cursor_to(const qssdk::ui::widget& w, qssdk::ui::point local);
    // Posts the message and handles what it causes (a bounded wait).
    void post(UINT message, WPARAM wparam = 0);
    // A left click (press and release) over the widget's point.
    void click(const qssdk::ui::widget& w, qssdk::ui::point local);
    // Paints everything anew and returns the steady picture (bounded, see repaint_and_settle).
    hostsim::Image picture();
};

void park_cursor();

// Frame i of every test strip is filled with frame_colours[i]; frames are 12 x 12.
inline constexpr int32_t strip_frame = 12;
inline constexpr qssdk::ui::color frame_colours[] = {{1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 1, 1}, {1, 1, 0, 1},
                                                   {0, 1, 1, 1}, {1, 0, 1, 1}, {1, 1, 1, 1}, {1, 0.5f, 0, 1}};
// Installs the override keys "test_strip_0", "_1", "_2", "_4" and "_8": strips of that many frames ("_0"
// is the eight-frame picture declared with no frames). Widgets alias their image key to one of them.
void install_test_strips();
void remove_test_strips();

// Whether the picture's pixel shows the colour (opaque colours, a step or two of tolerance).
bool shows(const hostsim::Image& picture, qssdk::ui::point p, const qssdk::ui::color& c);

}  // namespace controls_test
