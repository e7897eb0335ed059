// The drawing operations of a window's paint code, in the current widget's coordinates (DIPs, origin at
// its top-left), over the window's render context.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string_view>

#include "color.h"
#include "non_copyable_non_moveable.h"
#include "point.h"
#include "rect.h"
#include "render_context.h"

namespace qssdk::ui {

class image;

class painter : non_copyable_non_moveable {
public:
    explicit painter(HWND window);
    explicit painter(std::unique_ptr<render_context> context);

    render_context& context() { return *context_; }

    void set_pen(const color& c, float width);
    // 0 solid, 1 dotted, 2 dashed, anything else solid.
    void set_stroke_style(int32_t code);
    void set_fill_color(const color& c);
    void set_text_color(const color& c);
    // Weight code 0 normal, 1 light, 2 bold; style code 1 italic. Applied to each text layout.
    void set_font(std::string_view family, float size, uint32_t weight_code, uint32_t style_code, bool underline);
    // Horizontal 0 leading, 1 centre, 2 trailing; vertical 1 top, 2 bottom, 0 centre.
    void set_text_alignment(uint32_t horizontal, uint32_t vertical);

    void fill_rect(const rect& r);
    // The outline inset by half the pen, aliased.
    void draw_rect(const rect& r);
    // Both ends shifted by the fractional part of half the pen, aliased.
    void draw_line(point a, point b);
    void fill_circle(point center, float radius);

    // The whole image at its size in DIPs; nothing for an image that is not loaded.
    void draw_image(point at, image& img);
    void draw_image_stretched(const rect& r, image& img);
    // The source rect (DIPs of the image) drawn unscaled at the point.
    void draw_image_part(point at, image& img, const rect& source);
    // The source rect (DIPs of the image) stretched over the destination rect.
    void draw_image_part_stretched(const rect& destination, image& img, const rect& source);

private:
    void draw_bitmap(image& img, const D2D1_RECT_F& destination, const D2D1_RECT_F* source);
    ID2D1StrokeStyle* current_stroke() const;

    std::unique_ptr<render_context> context_;
};

}  // namespace qssdk::ui
