#include "dip_conversion.h"

#include <windows.h>

namespace qssdk::ui {

namespace {

// v × num / den rounded towards negative infinity (down) or positive infinity (up).
int32_t scale_down(int32_t v, uint32_t num, uint32_t den) {
    const int64_t p = int64_t{v} * num;
    const int64_t q = p / den;
    return static_cast<int32_t>(q * den > p ? q - 1 : q);
}

int32_t scale_up(int32_t v, uint32_t num, uint32_t den) {
    const int64_t p = int64_t{v} * num;
    const int64_t q = p / den;
    return static_cast<int32_t>(q * den < p ? q + 1 : q);
}

edges scale_outward(const edges& e, uint32_t num_x, uint32_t den_x, uint32_t num_y, uint32_t den_y) {
    return {scale_down(e.left, num_x, den_x), scale_down(e.top, num_y, den_y), scale_up(e.right, num_x, den_x),
            scale_up(e.bottom, num_y, den_y)};
}

}  // namespace

int32_t dips_to_pixels(int32_t dips, uint32_t dpi) {
    return MulDiv(dips, static_cast<int>(dpi), dips_per_inch);
}

int32_t pixels_to_dips(int32_t pixels, uint32_t dpi) {
    return MulDiv(pixels, dips_per_inch, static_cast<int>(dpi));
}

edges dips_to_pixels_outward(const edges& area, uint32_t dpi_x, uint32_t dpi_y) {
    return scale_outward(area, dpi_x, dips_per_inch, dpi_y, dips_per_inch);
}

edges pixels_to_dips_outward(const edges& area, uint32_t dpi_x, uint32_t dpi_y) {
    return scale_outward(area, dips_per_inch, dpi_x, dips_per_inch, dpi_y);
}

}  // namespace qssdk::ui
