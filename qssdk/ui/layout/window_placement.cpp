#include "window_placement.h"

namespace qssdk::ui {

point centered_position(const edges& reference, int32_t client_width, int32_t client_height, int32_t outer_width,
                        int32_t outer_height, const edges& work_area) {
    point p{reference.left + (reference.right - client_width - reference.left) / 2,
            reference.top + (reference.bottom - client_height - reference.top) / 2};
    if (p.x + outer_width > work_area.right) p.x = work_area.right - outer_width;
    if (p.y + outer_height > work_area.bottom) p.y = work_area.bottom - outer_height;
    if (p.x < work_area.left) p.x = work_area.left + 1;
    if (p.y < work_area.top) p.y = work_area.top + 1;
    return p;
}

}  // namespace qssdk::ui
