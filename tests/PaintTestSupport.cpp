// Drawing test helpers.
#include "PaintTestSupport.h"

#include <cmath>
#include <sstream>

#include "PngFile.h"

namespace paint_test {

std::vector<uint8_t> make_png(int width, int height, const std::function<rgb8(int x, int y)>& pixel) {
    std::vector<uint16_t> samples;
    samples.reserve(static_cast<size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const rgb8 p = pixel(x, y);
            samples.insert(samples.end(), {p.r, p.g, p.b, 255});
        }
    return hostsim::encodePng(width, height, 8, samples);
}

bool shows(const hostsim::rgba& p, const qssdk::ui::color& c, float tolerance) {
    return std::abs(p.r - c.r) <= tolerance && std::abs(p.g - c.g) <= tolerance && std::abs(p.b - c.b) <= tolerance;
}

std::string describe(const hostsim::rgba& p) {
    std::ostringstream text;
    text << "(" << std::lround(p.r * 255) << ", " << std::lround(p.g * 255) << ", " << std::lround(p.b * 255) << ")";
    return text.str();
}

void paint_once(qssdk::ui::render_context& context, const qssdk::ui::widget& root, const std::function<void()>& draw) {
    const qssdk::ui::rect& r = root.get_rect();
    context.begin_widget(root, {r.x, r.y, r.x + r.width, r.y + r.height});
    draw();
    context.end_widget();
}

void paint(const TestWindow& window, qssdk::ui::render_context& context, const qssdk::ui::widget& root,
           const std::function<void()>& draw) {
    for (int pass = 0; pass < 2; ++pass) {
        paint_once(context, root, draw);
        window.pump(50);
    }
}

}  // namespace paint_test
