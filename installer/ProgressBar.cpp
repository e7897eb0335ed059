#include "ProgressBar.h"

#include <algorithm>
#include <cmath>

#include "painter.h"

namespace installer {

void ProgressBar::set_progress(float fraction) {
    progress_ = std::isnan(fraction) ? 0.0f : std::clamp(fraction, 0.0f, 1.0f);
}

int done_width(int width, float fraction) { return static_cast<int>(std::lround(width * fraction)); }

void ProgressBar::paint() {
    qssdk::ui::painter& p = *get_window()->get_painter();
    const qssdk::ui::style& s = get_style();
    const int w = get_rect().width, h = get_rect().height;
    p.set_fill_color(s.get("progress_bar_back_color").color);
    p.fill_rect({0, 0, w, h});
    p.context().fill_gradient_rect({0, 0, done_width(w, progress_), h}, s.get("progress_bar_color1").color,
                                   s.get("progress_bar_color2").color);
}

}  // namespace installer
