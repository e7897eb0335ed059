// The Direct2D and DirectWrite state of one window: its HWND render target, brushes, stroke styles, text
// format and current font, the clip and translation of the widget being painted, and the images that
// keep a bitmap made for its target. Used on the window's thread only.
#pragma once

#include <windows.h>

#include <d2d1.h>
#include <dwrite.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "color.h"
#include "com_ptr.h"
#include "edges.h"
#include "non_copyable_non_moveable.h"
#include "rect.h"
#include "size.h"
#include "text_run.h"

namespace qssdk::ui {

class image;
class painter;
class widget;

class render_context : non_copyable_non_moveable {
public:
    // Throws qs_exception "unable to load the Direct2D library d2d1.dll (error <code>)", the same of the
    // DirectWrite library dwrite.dll, "unable to create a d2d resource factory", "unable to create a d2d render
    // target", "unable to create one or more solid brushes", "unable to create the write factory",
    // "unable to initialize the d2d write factory", "unable to initialize the shadow gradients" or
    // "unable to initialize the dotted stroke".
    explicit render_context(HWND window);
    virtual ~render_context();

    // Opens the widget's clips (the dirty area, then its own rect) and moves the origin to its top-left.
    // The first widget of a paint begins the native paint and the Direct2D draw.
    void begin_widget(const widget& w, const edges& dirty);
    // The matching end: undoes the widget's translation and both clips. The last one ends the draw and
    // the native paint; when the draw failed (a lost target or any other error) the target is dropped with
    // the image bitmaps made for it, the next paint makes a new one, and false is returned.
    bool end_widget();
    // A widget's clips are open (between begin_widget and its end_widget).
    bool painting() const { return !widgets_.empty(); }
    // Ends a paint that was left open (a fault below a drawing call unwound past it): the native paint is
    // ended and the target, whose state is unknown, is dropped, so that the next paint starts clean.
    void abandon_paint();
    // The client area's new size in device pixels.
    void resize(UINT width_px, UINT height_px);

    // Vertical two-stop gradient over the rect (current widget's coordinates).
    void fill_gradient_rect(const rect& r, const color& top, const color& bottom);
    // The drop shadow of a child (its rect in the current widget's coordinates).
    void draw_shadow(const rect& child, int dx, int dy, unsigned size);
    // Text in the current font and alignment, laid out in the rect, with optional styled runs.
    void draw_text(const rect& r, std::string_view text, const std::vector<text_run>& runs);
    // Size of the laid-out text: width including trailing white space + 1 and height + 1, truncated;
    // 0 in a maximum dimension means unbounded. {0, 0} when the text cannot be laid out.
    qssdk::ui::size measure_text(std::string_view text, const qssdk::ui::size& max,
                                 const std::vector<text_run>& runs);
    // Bounding box of the UTF-16 range [start, end) in the text laid out in a box of `layout` size;
    // {0, 0, 0, 0} for an empty or reversed range or a text that cannot be laid out.
    rect get_text_range_rect(std::string_view text, const qssdk::ui::size& layout,
                             const std::vector<text_run>& runs, uint32_t start, uint32_t end);

    // The current target; null only between a lost target and the next paint.
    ID2D1HwndRenderTarget* target() const { return target_.get(); }
    size_t image_count() const { return images_.size(); }

protected:
    // Ends the Direct2D draw; the seam through which tests hand in a lost target.
    virtual HRESULT end_draw();

private:
    friend class image;
    friend class painter;

    void create_target();
    void create_target_resources();
    void drop_target();
    void forget_image(image* img);
    void remember_image(image* img);
    ID2D1HwndRenderTarget& drawing_target();
    com_ptr<IDWriteTextLayout> make_layout(std::string_view text, float width, float height,
                                           const std::vector<text_run>& runs);
    const std::wstring& installed_family(const std::wstring& family);
    void set_brush_color(com_ptr<ID2D1SolidColorBrush>& brush, color& kept, const color& c);

    HWND window_;
    com_ptr<ID2D1Factory> factory_;
    com_ptr<ID2D1HwndRenderTarget> target_;
    com_ptr<IDWriteFactory> write_factory_;
    // Brushes and the shadow stops belong to the target and are made again with it; their colours stay.
    com_ptr<ID2D1SolidColorBrush> fill_brush_, text_brush_, pen_brush_, shadow_brush_;
    color fill_color_{0.0f, 0.0f, 0.0f, 1.0f};
    color text_color_{1.0f, 1.0f, 1.0f, 1.0f};
    color pen_color_{1.0f, 1.0f, 1.0f, 1.0f};
    com_ptr<ID2D1GradientStopCollection> shadow_stops_;
    com_ptr<ID2D1StrokeStyle> dotted_stroke_, dashed_stroke_;
    com_ptr<IDWriteTextFormat> text_format_;
    PAINTSTRUCT paint_{};

    uint32_t font_weight_ = 400;
    uint32_t font_style_ = 0;
    std::wstring font_family_;
    float font_size_ = 12.0f;
    bool underline_ = false;
    float pen_width_ = 1.0f;
    int32_t stroke_code_ = 0;

    std::vector<const widget*> widgets_;
    int32_t translation_x_ = 0, translation_y_ = 0;
    std::vector<image*> images_;
    // Requested family -> the family text is laid out in (the system may lack the requested one).
    std::unordered_map<std::wstring, std::wstring> families_;
};

}  // namespace qssdk::ui
