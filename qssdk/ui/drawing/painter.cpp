// The painter's drawing operations over the render context.
#include "painter.h"

#include "d2d_convert.h"
#include "image.h"
#include "image_geometry.h"
#include "pen_geometry.h"
#include "text_codes.h"
#include "utf.h"

namespace qssdk::ui {

painter::painter(HWND window) : context_(std::make_unique<render_context>(window)) {}

painter::painter(std::unique_ptr<render_context> context) : context_(std::move(context)) {}

void painter::set_pen(const color& c, float width) {
    context_->set_brush_color(context_->pen_brush_, context_->pen_color_, c);
    context_->pen_width_ = width;
}

void painter::set_stroke_style(int32_t code) { context_->stroke_code_ = code; }

void painter::set_fill_color(const color& c) {
    context_->set_brush_color(context_->fill_brush_, context_->fill_color_, c);
}

void painter::set_text_color(const color& c) {
    context_->set_brush_color(context_->text_brush_, context_->text_color_, c);
}

void painter::set_font(std::string_view family, float size, uint32_t weight_code, uint32_t style_code,
                       bool underline) {
    context_->font_family_ = qssdk::utf8_to_utf16(family);
    context_->font_size_ = size;
    context_->font_weight_ = font_weight_from_code(weight_code);
    context_->font_style_ = static_cast<uint32_t>(font_style_from_code(style_code));
    context_->underline_ = underline;
}

void painter::set_text_alignment(uint32_t horizontal, uint32_t vertical) {
    context_->text_format_->SetTextAlignment(static_cast<DWRITE_TEXT_ALIGNMENT>(text_alignment_from_code(horizontal)));
    context_->text_format_->SetParagraphAlignment(
        static_cast<DWRITE_PARAGRAPH_ALIGNMENT>(paragraph_alignment_from_code(vertical)));
}

ID2D1StrokeStyle* painter::current_stroke() const {
    switch (stroke_kind_from_code(context_->stroke_code_)) {
        case stroke_kind::dotted: return context_->dotted_stroke_.get();
        case stroke_kind::dashed: return context_->dashed_stroke_.get();
        default: return nullptr;
    }
}

void painter::fill_rect(const rect& r) {
    const D2D1_RECT_F box = to_d2d(to_box(r));
    context_->drawing_target().FillRectangle(&box, context_->fill_brush_.get());
}

void painter::draw_rect(const rect& r) {
    ID2D1HwndRenderTarget& target = context_->drawing_target();
    target.SetAntialiasMode(D2D1_ANTIALIAS_MODE_ALIASED);
    const D2D1_RECT_F box = to_d2d(outline_box(r, context_->pen_width_));
    target.DrawRectangle(&box, context_->pen_brush_.get(), context_->pen_width_, current_stroke());
    target.SetAntialiasMode(D2D1_ANTIALIAS_MODE_PER_PRIMITIVE);
}

void painter::draw_line(point a, point b) {
    ID2D1HwndRenderTarget& target = context_->drawing_target();
    target.SetAntialiasMode(D2D1_ANTIALIAS_MODE_ALIASED);
    const float_line line = line_ends(a, b, context_->pen_width_);
    target.DrawLine({line.x0, line.y0}, {line.x1, line.y1}, context_->pen_brush_.get(), context_->pen_width_,
                    current_stroke());
    target.SetAntialiasMode(D2D1_ANTIALIAS_MODE_PER_PRIMITIVE);
}

void painter::fill_circle(point center, float radius) {
    const D2D1_ELLIPSE ellipse{{static_cast<float>(center.x), static_cast<float>(center.y)}, radius, radius};
    context_->drawing_target().FillEllipse(&ellipse, context_->fill_brush_.get());
}

void painter::draw_image(point at, image& img) {
    const size s = img.get_size();
    draw_bitmap(img, to_d2d(to_box({at.x, at.y, s.width, s.height})), nullptr);
}

void painter::draw_image_stretched(const rect& r, image& img) { draw_bitmap(img, to_d2d(to_box(r)), nullptr); }

void painter::draw_image_part(point at, image& img, const rect& source) {
    const D2D1_RECT_F pixels = to_d2d(image_source_pixels(source, img.scale()));
    draw_bitmap(img, to_d2d(to_box({at.x, at.y, source.width, source.height})), &pixels);
}

void painter::draw_image_part_stretched(const rect& destination, image& img, const rect& source) {
    const D2D1_RECT_F pixels = to_d2d(image_source_pixels(source, img.scale()));
    draw_bitmap(img, to_d2d(to_box(destination)), &pixels);
}

void painter::draw_bitmap(image& img, const D2D1_RECT_F& destination, const D2D1_RECT_F* source) {
    if (!img.is_loaded()) return;
    ID2D1Bitmap* bitmap = img.get_bitmap(*context_);
    context_->drawing_target().DrawBitmap(bitmap, &destination, 1.0f, D2D1_BITMAP_INTERPOLATION_MODE_LINEAR, source);
}

}  // namespace qssdk::ui
