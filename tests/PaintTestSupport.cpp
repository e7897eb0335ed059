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

namespace {

constexpr int max_paint_passes = 20;
constexpr DWORD pass_interval_ms = 50;
// A colour no test page is made of alone.
constexpr qssdk::ui::color sentinel{0.0f, 0.5f, 0.5f, 1.0f};

bool same_picture(const hostsim::Image& a, const hostsim::Image& b) {
    if (a.width() != b.width() || a.height() != b.height()) return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const hostsim::rgba &p = a.at(x, y), &q = b.at(x, y);
            if (p.r != q.r || p.g != q.g || p.b != q.b) return false;
        }
    return true;
}

bool all_sentinel(const hostsim::Image& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!shows(image.at(x, y), sentinel)) return false;
    return true;
}

}  // namespace

hostsim::Image paint(const TestWindow& window, qssdk::ui::render_context& context, const qssdk::ui::widget& root,
                     const std::function<void()>& draw) {
    const qssdk::ui::rect& r = root.get_rect();
    for (int pass = 0; pass < max_paint_passes; ++pass) {
        paint_once(context, root, [&] { context.fill_gradient_rect({0, 0, r.width, r.height}, sentinel, sentinel); });
        window.pump(pass_interval_ms);
        if (all_sentinel(window.capture())) break;
    }
    hostsim::Image previous;
    for (int pass = 0; pass < max_paint_passes; ++pass) {
        paint_once(context, root, draw);
        window.pump(pass_interval_ms);
        hostsim::Image shown = window.capture();
        if (!all_sentinel(shown) && same_picture(shown, previous)) return shown;
        previous = std::move(shown);
    }
    return previous;
}

}  // namespace paint_test
