// Helpers of the drawing tests: PNG blocks made on the spot, colour checks of read-back pixels, and one
// paint pass of a widget through a render context.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "Image.h"
#include "TestWindow.h"
#include "color.h"
#include "render_context.h"
#include "widget.h"

namespace paint_test {

// The background of every test page, and the pure colours the probes look for.
inline constexpr qssdk::ui::color grey{0.2f, 0.2f, 0.2f, 1.0f};
inline constexpr qssdk::ui::color red{1, 0, 0, 1};
inline constexpr qssdk::ui::color green{0, 1, 0, 1};
inline constexpr qssdk::ui::color blue{0, 0, 1, 1};
inline constexpr qssdk::ui::color yellow{1, 1, 0, 1};
inline constexpr qssdk::ui::color cyan{0, 1, 1, 1};
inline constexpr qssdk::ui::color magenta{1, 0, 1, 1};
inline constexpr qssdk::ui::color white{1, 1, 1, 1};
inline constexpr qssdk::ui::color black{0, 0, 0, 1};

struct rgb8 {
    uint8_t r = 0, g = 0, b = 0;
};

// An opaque 8-bit PNG whose pixel (x, y) is pixel(x, y).
std::vector<uint8_t> make_png(int width, int height, const std::function<rgb8(int x, int y)>& pixel);

// Whether a read-back pixel shows the colour (opaque colours only) within `tolerance` per channel.
bool shows(const hostsim::rgba& p, const qssdk::ui::color& c, float tolerance = 2.0f / 255);
std::string describe(const hostsim::rgba& p);

// One paint of `root` covering it all: begin, draw, end.
void paint_once(qssdk::ui::render_context& context, const qssdk::ui::widget& root, const std::function<void()>& draw);
// Paints and returns what the window then shows. What a window shows lags behind its presents under Wine
// on Xvfb (a fresh window reads back black; under load a present takes a while to arrive), and presents
// arrive in order. So a sentinel page of one colour is painted (again, 50 ms apart) until the window shows
// it, then the page until two read-backs in a row agree and are no longer the sentinel: at most 20 passes
// each, after which the last read-back is returned as it is.
hostsim::Image paint(const TestWindow& window, qssdk::ui::render_context& context, const qssdk::ui::widget& root,
                     const std::function<void()>& draw);

}  // namespace paint_test
