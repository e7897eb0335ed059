// The render context: target, brushes, clips and translation per widget, shadows, gradients and text.
#include "render_context.h"

#include <algorithm>
#include <cfloat>

#include "d2d_convert.h"
#include "font_fallback.h"
#include "image.h"
#include "qs_exception.h"
#include "shadow_geometry.h"
#include "system_library.h"
#include "text_codes.h"
#include "text_range_geometry.h"
#include "utf.h"
#include "widget.h"

namespace qssdk::ui {

// The kit's codes map straight onto DirectWrite's values.
static_assert(static_cast<uint32_t>(text_alignment::leading) == DWRITE_TEXT_ALIGNMENT_LEADING);
static_assert(static_cast<uint32_t>(text_alignment::trailing) == DWRITE_TEXT_ALIGNMENT_TRAILING);
static_assert(static_cast<uint32_t>(text_alignment::center) == DWRITE_TEXT_ALIGNMENT_CENTER);
static_assert(static_cast<uint32_t>(paragraph_alignment::near_edge) == DWRITE_PARAGRAPH_ALIGNMENT_NEAR);
static_assert(static_cast<uint32_t>(paragraph_alignment::far_edge) == DWRITE_PARAGRAPH_ALIGNMENT_FAR);
static_assert(static_cast<uint32_t>(paragraph_alignment::center) == DWRITE_PARAGRAPH_ALIGNMENT_CENTER);
static_assert(static_cast<uint32_t>(font_style::normal) == DWRITE_FONT_STYLE_NORMAL);
static_assert(static_cast<uint32_t>(font_style::italic) == DWRITE_FONT_STYLE_ITALIC);
static_assert(font_weight_normal == DWRITE_FONT_WEIGHT_NORMAL && font_weight_light == DWRITE_FONT_WEIGHT_LIGHT &&
              font_weight_bold == DWRITE_FONT_WEIGHT_BOLD);

namespace {

constexpr wchar_t default_family[] = L"Verdana";
constexpr float default_font_size = 12.0f;
constexpr wchar_t text_locale[] = L"en-us";
constexpr float stroke_miter_limit = 10.0f;
constexpr float dotted_dashes[] = {1.0f, 1.0f};
constexpr float dashed_dashes[] = {4.0f, 4.0f};
constexpr D2D1_COLOR_F opaque_black{0.0f, 0.0f, 0.0f, 1.0f};

// D2D1CreateFactory's exported form (the header adds inline overloads of the name).
using create_d2d_factory = HRESULT(WINAPI*)(D2D1_FACTORY_TYPE, REFIID, const D2D1_FACTORY_OPTIONS*, void**);

// Direct2D and DirectWrite, loaded from the system folder on first use and kept for the module's life, as
// imported libraries would be: objects made through them (layouts, bitmaps, a target a caller still holds)
// may outlive the context that made them. Both are loaded before either is used: a Direct2D that reaches
// DirectWrite itself then finds the system's copy already loaded, never one beside the program.
struct drawing_libraries {
    qssdk::system_library directwrite{L"dwrite.dll", "DirectWrite library"};
    qssdk::system_library direct2d{L"d2d1.dll", "Direct2D library"};
};

const drawing_libraries& loaded_drawing_libraries() {
    static const drawing_libraries libraries;
    return libraries;
}

D2D1_MATRIX_3X2_F translation(float x, float y) { return {1.0f, 0.0f, 0.0f, 1.0f, x, y}; }

com_ptr<ID2D1StrokeStyle> make_dash_style(ID2D1Factory& factory, const float* dashes, UINT32 count) {
    D2D1_STROKE_STYLE_PROPERTIES properties{D2D1_CAP_STYLE_FLAT, D2D1_CAP_STYLE_FLAT, D2D1_CAP_STYLE_FLAT,
                                            D2D1_LINE_JOIN_MITER, stroke_miter_limit, D2D1_DASH_STYLE_CUSTOM, 0.0f};
    com_ptr<ID2D1StrokeStyle> style;
    if (FAILED(factory.CreateStrokeStyle(&properties, dashes, count, style.put())))
        throw qs_exception("unable to initialize the dotted stroke");
    return style;
}

}  // namespace

render_context::render_context(HWND window)
    : window_(window) {
    const drawing_libraries& libraries = loaded_drawing_libraries();
    const auto create_factory = libraries.direct2d.entry_point<create_d2d_factory>("D2D1CreateFactory");
    if (FAILED(create_factory(D2D1_FACTORY_TYPE_SINGLE_THREADED, __uuidof(ID2D1Factory), nullptr,
                              reinterpret_cast<void**>(factory_.put()))))
        throw qs_exception("unable to create a d2d resource factory");
    create_target();
    const auto create_write_factory =
        libraries.directwrite.entry_point<decltype(&DWriteCreateFactory)>("DWriteCreateFactory");
    if (FAILED(create_write_factory(DWRITE_FACTORY_TYPE_SHARED, __uuidof(IDWriteFactory),
                                    reinterpret_cast<IUnknown**>(write_factory_.put()))))
        throw qs_exception("unable to create the write factory");
    if (FAILED(write_factory_->CreateTextFormat(installed_family(default_family).c_str(), nullptr,
                                                DWRITE_FONT_WEIGHT_NORMAL, DWRITE_FONT_STYLE_NORMAL,
                                                DWRITE_FONT_STRETCH_NORMAL, default_font_size, text_locale,
                                                text_format_.put())))
        throw qs_exception("unable to initialize the d2d write factory");
    dotted_stroke_ = make_dash_style(*factory_.get(), dotted_dashes, 2);
    dashed_stroke_ = make_dash_style(*factory_.get(), dashed_dashes, 2);
}

render_context::~render_context() {
    // Each release takes the image out of images_.
    while (!images_.empty()) images_.back()->release_bitmap(*this);
    if (!widgets_.empty()) {
        end_draw();
        EndPaint(window_, &paint_);
    }
}

void render_context::create_target() {
    RECT client{};
    GetClientRect(window_, &client);
    D2D1_RENDER_TARGET_PROPERTIES properties{D2D1_RENDER_TARGET_TYPE_DEFAULT,
                                             {DXGI_FORMAT_UNKNOWN, D2D1_ALPHA_MODE_UNKNOWN},
                                             0.0f,
                                             0.0f,
                                             D2D1_RENDER_TARGET_USAGE_NONE,
                                             D2D1_FEATURE_LEVEL_DEFAULT};
    D2D1_HWND_RENDER_TARGET_PROPERTIES hwnd_properties{
        window_,
        {static_cast<UINT32>(client.right - client.left), static_cast<UINT32>(client.bottom - client.top)},
        D2D1_PRESENT_OPTIONS_NONE};
    if (FAILED(factory_->CreateHwndRenderTarget(&properties, &hwnd_properties, target_.put())))
        throw qs_exception("unable to create a d2d render target");
    create_target_resources();
}

void render_context::create_target_resources() {
    target_->SetAntialiasMode(D2D1_ANTIALIAS_MODE_PER_PRIMITIVE);
    const std::pair<com_ptr<ID2D1SolidColorBrush>*, D2D1_COLOR_F> brushes[] = {
        {&fill_brush_, to_d2d(fill_color_)},
        {&text_brush_, to_d2d(text_color_)},
        {&pen_brush_, to_d2d(pen_color_)},
        {&shadow_brush_, opaque_black}};
    for (const auto& [brush, c] : brushes)
        if (FAILED(target_->CreateSolidColorBrush(&c, nullptr, brush->put())))
            throw qs_exception("unable to create one or more solid brushes");

    D2D1_GRADIENT_STOP stops[shadow_stop_count];
    for (int i = 0; i < shadow_stop_count; ++i)
        stops[i] = {shadow_stop_position(i), {0.0f, 0.0f, 0.0f, shadow_stop_alpha(i)}};
    if (FAILED(target_->CreateGradientStopCollection(stops, shadow_stop_count, D2D1_GAMMA_2_2,
                                                     D2D1_EXTEND_MODE_CLAMP, shadow_stops_.put())))
        throw qs_exception("unable to initialize the shadow gradients");
}

void render_context::drop_target() {
    // Bitmaps are keyed by the target: release them while it still exists.
    while (!images_.empty()) images_.back()->release_bitmap(*this);
    shadow_stops_.reset();
    for (auto* brush : {&fill_brush_, &text_brush_, &pen_brush_, &shadow_brush_}) brush->reset();
    target_.reset();
}

ID2D1HwndRenderTarget& render_context::drawing_target() {
    if (!target_) create_target();
    return *target_.get();
}

void render_context::remember_image(image* img) { images_.push_back(img); }

void render_context::forget_image(image* img) { std::erase(images_, img); }

HRESULT render_context::end_draw() { return target_->EndDraw(); }

void render_context::begin_widget(const widget& w, const edges& dirty) {
    if (widgets_.empty()) {
        translation_x_ = 0;
        translation_y_ = 0;
        drawing_target();
        BeginPaint(window_, &paint_);
        target_->BeginDraw();
    }
    widgets_.push_back(&w);
    const rect& r = w.get_rect();
    target_->SetTransform(translation(0.0f, 0.0f));
    const D2D1_RECT_F dirty_box{static_cast<float>(dirty.left), static_cast<float>(dirty.top),
                                static_cast<float>(dirty.right), static_cast<float>(dirty.bottom)};
    target_->PushAxisAlignedClip(&dirty_box, D2D1_ANTIALIAS_MODE_ALIASED);
    // The widget's own clip is pushed in window coordinates, before its translation is set: Wine's
    // Direct2D leaves a clip's translation unscaled by the DPI, which cuts widgets short off 96 DPI.
    const float left = static_cast<float>(translation_x_ + r.x), top = static_cast<float>(translation_y_ + r.y);
    const D2D1_RECT_F own_box{left, top, left + static_cast<float>(r.width), top + static_cast<float>(r.height)};
    target_->PushAxisAlignedClip(&own_box, D2D1_ANTIALIAS_MODE_ALIASED);
    target_->SetTransform(translation(left, top));
    translation_x_ += r.x;
    translation_y_ += r.y;
}

bool render_context::end_widget() {
    if (widgets_.empty()) return true;
    const rect& r = widgets_.back()->get_rect();
    translation_x_ -= r.x;
    translation_y_ -= r.y;
    target_->PopAxisAlignedClip();
    target_->PopAxisAlignedClip();
    widgets_.pop_back();
    if (!widgets_.empty()) {
        // Back to the parent's coordinates.
        target_->SetTransform(translation(static_cast<float>(translation_x_), static_cast<float>(translation_y_)));
        return true;
    }
    const HRESULT result = end_draw();
    EndPaint(window_, &paint_);
    if (SUCCEEDED(result)) return true;
    drop_target();
    return false;
}

void render_context::abandon_paint() {
    if (widgets_.empty()) return;
    widgets_.clear();
    translation_x_ = 0;
    translation_y_ = 0;
    EndPaint(window_, &paint_);
    drop_target();
}

void render_context::resize(UINT width_px, UINT height_px) {
    if (target_) target_->Resize(D2D1_SIZE_U{width_px, height_px});
}

void render_context::fill_gradient_rect(const rect& r, const color& top, const color& bottom) {
    ID2D1HwndRenderTarget& target = drawing_target();
    const D2D1_GRADIENT_STOP stops[] = {{0.0f, to_d2d(top)}, {1.0f, to_d2d(bottom)}};
    com_ptr<ID2D1GradientStopCollection> collection;
    if (FAILED(target.CreateGradientStopCollection(stops, 2, D2D1_GAMMA_2_2, D2D1_EXTEND_MODE_CLAMP,
                                                   collection.put())))
        return;
    const D2D1_LINEAR_GRADIENT_BRUSH_PROPERTIES line{{0.0f, static_cast<float>(r.y)},
                                                     {0.0f, static_cast<float>(r.y + r.height)}};
    com_ptr<ID2D1LinearGradientBrush> brush;
    if (FAILED(target.CreateLinearGradientBrush(&line, nullptr, collection.get(), brush.put()))) return;
    const D2D1_RECT_F box = to_d2d(to_box(r));
    target.FillRectangle(&box, brush.get());
}

void render_context::draw_shadow(const rect& child, int dx, int dy, unsigned size) {
    ID2D1HwndRenderTarget& target = drawing_target();
    const shadow_layout layout = make_shadow_layout(child, dx, dy, size);
    for (size_t i = 0; i < layout.corners.size(); ++i) {
        const shadow_corner& corner = layout.corners[i];
        const D2D1_RADIAL_GRADIENT_BRUSH_PROPERTIES radial{
            {corner.center_x, corner.center_y}, {0.0f, 0.0f}, corner.radius, corner.radius};
        com_ptr<ID2D1RadialGradientBrush> corner_brush;
        if (SUCCEEDED(target.CreateRadialGradientBrush(&radial, nullptr, shadow_stops_.get(), corner_brush.put()))) {
            const D2D1_RECT_F box = to_d2d(corner.box);
            target.FillRectangle(&box, corner_brush.get());
        }
        const shadow_band& band = layout.bands[i];
        const D2D1_LINEAR_GRADIENT_BRUSH_PROPERTIES linear{{band.from_x, band.from_y}, {band.to_x, band.to_y}};
        com_ptr<ID2D1LinearGradientBrush> band_brush;
        if (SUCCEEDED(target.CreateLinearGradientBrush(&linear, nullptr, shadow_stops_.get(), band_brush.put()))) {
            const D2D1_RECT_F box = to_d2d(band.box);
            target.FillRectangle(&box, band_brush.get());
        }
    }
    const D2D1_RECT_F inner = to_d2d(layout.inner);
    target.FillRectangle(&inner, shadow_brush_.get());
}

const std::wstring& render_context::installed_family(const std::wstring& family) {
    if (auto found = families_.find(family); found != families_.end()) return found->second;
    com_ptr<IDWriteFontCollection> fonts;
    const bool have_fonts = write_factory_ && SUCCEEDED(write_factory_->GetSystemFontCollection(fonts.put(), FALSE));
    const auto installed = [&](std::wstring_view name) {
        if (!have_fonts) return true;  // nothing to check against: keep what was asked for
        const std::wstring terminated(name);
        UINT32 index = 0;
        BOOL exists = FALSE;
        return SUCCEEDED(fonts->FindFamilyName(terminated.c_str(), &index, &exists)) && exists;
    };
    return families_.emplace(family, choose_font_family(family, installed)).first->second;
}

com_ptr<IDWriteTextLayout> render_context::make_layout(std::string_view text, float width, float height,
                                                       const std::vector<text_run>& runs) {
    const std::wstring wide = qssdk::utf8_to_utf16(text);
    com_ptr<IDWriteTextLayout> layout;
    if (FAILED(write_factory_->CreateTextLayout(wide.c_str(), static_cast<UINT32>(wide.size()), text_format_.get(),
                                                width, height, layout.put())))
        return {};
    const DWRITE_TEXT_RANGE whole{0, static_cast<UINT32>(wide.size())};
    layout->SetFontWeight(static_cast<DWRITE_FONT_WEIGHT>(font_weight_), whole);
    layout->SetFontStyle(static_cast<DWRITE_FONT_STYLE>(font_style_), whole);
    // An empty family keeps the text format's.
    if (!font_family_.empty()) layout->SetFontFamilyName(installed_family(font_family_).c_str(), whole);
    layout->SetFontSize(font_size_, whole);
    layout->SetUnderline(underline_, whole);
    for (const text_run& run : runs) {
        if (run.end <= run.start) continue;
        const DWRITE_TEXT_RANGE range{run.start, run.end - run.start};
        layout->SetFontWeight(static_cast<DWRITE_FONT_WEIGHT>(font_weight_from_code(run.weight)), range);
        layout->SetFontStyle(static_cast<DWRITE_FONT_STYLE>(font_style_from_code(run.style)), range);
        if (!run.font_name.empty())
            layout->SetFontFamilyName(installed_family(qssdk::utf8_to_utf16(run.font_name)).c_str(), range);
        layout->SetFontSize(run.size, range);
        layout->SetUnderline(run.underline, range);
    }
    return layout;
}

void render_context::draw_text(const rect& r, std::string_view text, const std::vector<text_run>& runs) {
    ID2D1HwndRenderTarget& target = drawing_target();
    com_ptr<IDWriteTextLayout> layout =
        make_layout(text, static_cast<float>(r.width), static_cast<float>(r.height), runs);
    if (!layout) return;
    // Run brushes live until the layout is drawn.
    std::vector<com_ptr<ID2D1SolidColorBrush>> run_brushes;
    for (const text_run& run : runs) {
        if (run.end <= run.start || run.color == color(0.0f)) continue;
        const D2D1_COLOR_F c = to_d2d(run.color);
        com_ptr<ID2D1SolidColorBrush> brush;
        if (FAILED(target.CreateSolidColorBrush(&c, nullptr, brush.put()))) continue;
        layout->SetDrawingEffect(brush.get(), DWRITE_TEXT_RANGE{run.start, run.end - run.start});
        run_brushes.push_back(std::move(brush));
    }
    target.DrawTextLayout({static_cast<float>(r.x), static_cast<float>(r.y)}, layout.get(), text_brush_.get(),
                          D2D1_DRAW_TEXT_OPTIONS_NONE);
}

size render_context::measure_text(std::string_view text, const size& max, const std::vector<text_run>& runs) {
    const auto bound = [](int32_t v) { return v == 0 ? FLT_MAX : static_cast<float>(v); };
    com_ptr<IDWriteTextLayout> layout = make_layout(text, bound(max.width), bound(max.height), runs);
    DWRITE_TEXT_METRICS metrics{};
    if (!layout || FAILED(layout->GetMetrics(&metrics))) return {};
    return {static_cast<int32_t>(metrics.widthIncludingTrailingWhitespace + 1.0f),
            static_cast<int32_t>(metrics.height + 1.0f)};
}

rect render_context::get_text_range_rect(std::string_view text, const size& layout_size,
                                         const std::vector<text_run>& runs, uint32_t start, uint32_t end) {
    if (end <= start) return {};
    com_ptr<IDWriteTextLayout> layout =
        make_layout(text, static_cast<float>(layout_size.width), static_cast<float>(layout_size.height), runs);
    if (!layout) return {};

    // The range hit test where the system has it.
    UINT32 count = 0;
    HRESULT result = layout->HitTestTextRange(start, end - start, 0.0f, 0.0f, nullptr, 0, &count);
    if (result == E_NOT_SUFFICIENT_BUFFER && count > 0) {
        std::vector<DWRITE_HIT_TEST_METRICS> records(count);
        if (SUCCEEDED(layout->HitTestTextRange(start, end - start, 0.0f, 0.0f, records.data(), count, &count))) {
            float_box box{records[0].left, records[0].top, records[0].left + records[0].width,
                          records[0].top + records[0].height};
            for (UINT32 i = 1; i < count; ++i) {
                box.left = std::min(box.left, records[i].left);
                box.top = std::min(box.top, records[i].top);
                box.right = std::max(box.right, records[i].left + records[i].width);
                box.bottom = std::max(box.bottom, records[i].top + records[i].height);
            }
            return rounded_rect(box);
        }
    }

    // Else from the line and cluster metrics.
    UINT32 line_count = 0;
    layout->GetLineMetrics(nullptr, 0, &line_count);
    std::vector<DWRITE_LINE_METRICS> native_lines(line_count);
    if (line_count == 0 || FAILED(layout->GetLineMetrics(native_lines.data(), line_count, &line_count))) return {};
    UINT32 cluster_count = 0;
    layout->GetClusterMetrics(nullptr, 0, &cluster_count);
    std::vector<DWRITE_CLUSTER_METRICS> native_clusters(cluster_count);
    if (cluster_count == 0 ||
        FAILED(layout->GetClusterMetrics(native_clusters.data(), cluster_count, &cluster_count)))
        return {};
    DWRITE_TEXT_METRICS metrics{};
    if (FAILED(layout->GetMetrics(&metrics))) return {};

    std::vector<text_line_metrics> lines;
    for (const DWRITE_LINE_METRICS& line : native_lines)
        lines.push_back({line.length, line.trailingWhitespaceLength, line.height});
    std::vector<text_cluster_metrics> clusters;
    for (const DWRITE_CLUSTER_METRICS& cluster : native_clusters) clusters.push_back({cluster.length, cluster.width});
    const text_layout_frame frame{static_cast<float>(layout_size.width), metrics.top,
                                  static_cast<text_alignment>(text_format_->GetTextAlignment())};
    return rounded_rect(text_range_box(lines, clusters, frame, start, end));
}

void render_context::set_brush_color(com_ptr<ID2D1SolidColorBrush>& brush, color& kept, const color& c) {
    kept = c;
    if (brush) brush->SetColor(to_d2d(c));
}

}  // namespace qssdk::ui
