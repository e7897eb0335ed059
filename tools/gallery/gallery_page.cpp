#include "gallery_page.h"

#include <algorithm>
#include <string_view>

#include "event_binding.h"
#include "event_manager.h"
#include "scrolling_section.h"
#include "render_context.h"
#include "style_table.h"
#include "text_codes.h"
#include "text_run.h"

namespace gallery {

using namespace qssdk::ui;

namespace {

constexpr color page_back{0.86f, 0.87f, 0.89f, 1.0f};
constexpr color title_back{0.20f, 0.24f, 0.30f, 1.0f};
constexpr color white{1.0f, 1.0f, 1.0f, 1.0f};
constexpr color red{0.85f, 0.20f, 0.15f, 1.0f};
constexpr color green{0.20f, 0.65f, 0.30f, 1.0f};
constexpr color blue{0.15f, 0.40f, 0.85f, 1.0f};
constexpr color amber{0.95f, 0.70f, 0.10f, 1.0f};
constexpr color half_blue{0.15f, 0.40f, 0.85f, 0.5f};
constexpr const char* label_font = "Tahoma";

// The image entries of the default style table, in table order.
std::vector<const style_entry*> default_images() {
    std::vector<const style_entry*> found;
    for (const style_entry& e : default_style_entries())
        if (e.value.as_image().bytes && e.value.as_image().size > 0) found.push_back(&e);
    return found;
}

}  // namespace

void label(painter& p, const rect& r, const std::string& text, uint32_t horizontal) {
    p.set_font(label_font, 11.0f, weight_code_normal, style_code_normal, false);
    p.set_text_color(ink);
    p.set_text_alignment(horizontal, valign_code_top);
    p.context().draw_text(r, text, {});
}

section::section(std::string title, paint_function paint_content)
    : title_(std::move(title)), paint_content_(std::move(paint_content)) {
    bind_handler(this, event_id::paint, std::bind(&section::paint, this), this);
}

void section::paint() {
    painter& p = *get_window()->get_painter();
    const rect& r = get_rect();
    p.set_fill_color(section_back);
    p.fill_rect({0, 0, r.width, r.height});
    p.set_fill_color(title_back);
    p.fill_rect({0, 0, r.width, title_height});
    p.set_font(label_font, 12.0f, weight_code_bold, style_code_normal, false);
    p.set_text_color(white);
    p.set_text_alignment(align_code_leading, valign_code_center);
    p.context().draw_text({margin, 0, r.width - 2 * margin, title_height}, title_, {});
    paint_content_(p, {margin, title_height + margin, r.width - 2 * margin, r.height - title_height - 2 * margin});
}

gallery_page::gallery_page() {
    create("QS kit gallery", {0, 0, width, height}, 0);
    get_root_widget().set_background_color(page_back);
    event_manager::instance().connect(&get_root_widget(), this, event_id::paint, [this](const event_info&) {
        painter& p = *get_painter();
        p.set_fill_color(page_back);
        p.fill_rect({0, 0, width, height});
    });
    add_shapes();
    add_text();
    add_images();
    add_controls();
    auto scrolling = std::make_unique<scrolling_section>();
    // In a column of its own right of the others.
    scrolling->place(&get_root_widget(), {1040, 10, scrolling_section::width, scrolling_section::height});
    widgets_.push_back(std::move(scrolling));
    add_services();
}

gallery_page::~gallery_page() {
    // The widgets go before the window they live in.
    widgets_.clear();
}

section& gallery_page::add_section(std::string title, const rect& r, section::paint_function paint) {
    auto s = std::make_unique<section>(std::move(title), std::move(paint));
    s->create(&get_root_widget(), r);
    section& placed = *s;
    widgets_.push_back(std::move(s));
    return placed;
}

std::unique_ptr<image> gallery_page::load_image(const char* style_key) {
    std::unique_ptr<image> img = image::create();
    img->load(default_style_table().at(style_key).as_image());
    return img;
}

void gallery_page::add_shapes() {
    add_section("Fills and outlines", {10, 10, 330, 250}, [](painter& p, const rect& c) {
        const color fills[] = {red, green, blue, amber, half_blue};
        for (int i = 0; i < 5; ++i) {
            p.set_fill_color(fills[i]);
            p.fill_rect({c.x + i * 62, c.y, 52, 40});
        }
        // Pen widths 1, 2, 3 and 5, then dotted and dashed strokes.
        const float widths[] = {1.0f, 2.0f, 3.0f, 5.0f};
        for (int i = 0; i < 4; ++i) {
            p.set_pen(ink, widths[i]);
            p.set_stroke_style(stroke_code_solid);
            p.draw_rect({c.x + i * 78, c.y + 56, 66, 50});
            label(p, {c.x + i * 78, c.y + 110, 66, 16}, "pen " + std::to_string(static_cast<int>(widths[i])),
                  align_code_center);
        }
        p.set_pen(blue, 1.0f);
        p.set_stroke_style(stroke_code_dotted);
        p.draw_rect({c.x, c.y + 136, 150, 50});
        p.set_stroke_style(stroke_code_dashed);
        p.draw_rect({c.x + 162, c.y + 136, 150, 50});
        p.set_stroke_style(stroke_code_solid);
        label(p, {c.x, c.y + 190, 150, 16}, "dotted", align_code_center);
        label(p, {c.x + 162, c.y + 190, 150, 16}, "dashed", align_code_center);
    });
    add_section("Lines and circles", {350, 10, 330, 250}, [](painter& p, const rect& c) {
        const float widths[] = {1.0f, 2.0f, 3.0f, 4.0f};
        for (int i = 0; i < 4; ++i) {
            p.set_pen(ink, widths[i]);
            const int32_t y = c.y + 8 + i * 18;
            p.draw_line({c.x, y}, {c.x + 150, y});
            p.draw_line({c.x + 170 + i * 36, c.y}, {c.x + 200 + i * 36, c.y + 70});
        }
        p.set_pen(red, 2.0f);
        p.draw_line({c.x, c.y + 90}, {c.x + 310, c.y + 120});
        const color fills[] = {red, green, blue, amber};
        const float radii[] = {8.0f, 16.0f, 28.0f, 40.0f};
        int32_t x = c.x + 10;
        for (int i = 0; i < 4; ++i) {
            p.set_fill_color(fills[i]);
            x += static_cast<int32_t>(radii[i]);
            p.fill_circle({x, c.y + 170}, radii[i]);
            x += static_cast<int32_t>(radii[i]) + 14;
        }
    });
    section& shading = add_section("Gradients and shadows", {690, 10, 340, 250}, [](painter& p, const rect& c) {
        p.context().fill_gradient_rect({c.x, c.y, 96, 90}, white, blue);
        p.context().fill_gradient_rect({c.x + 104, c.y, 96, 90}, amber, red);
        p.context().fill_gradient_rect({c.x + 208, c.y, 96, 90}, ink, section_back);
        label(p, {c.x, c.y + 196, 320, 16}, "shadows of size 10, 20 and 30, the last offset by (6, 6)");
    });
    // Children with shadows: the paint walk draws each shadow over the section and under the child.
    const struct {
        rect r;
        drop_shadow shadow;
        color fill;
    } shadowed[] = {
        {{40, 150, 60, 50}, {true, 0, 0, 10}, white},
        {{140, 150, 60, 50}, {true, 0, 0, 20}, white},
        {{240, 150, 60, 50}, {true, 6, 6, 30}, amber},
    };
    for (const auto& s : shadowed) {
        auto child = std::make_unique<widget>();
        child->create(&shading, s.r);
        child->set_shadow(s.shadow);
        widget* w = child.get();
        const color fill = s.fill;
        event_manager::instance().connect(w, w, event_id::paint, [this, w, fill](const event_info&) {
            painter& p = *get_painter();
            const rect whole{0, 0, w->get_rect().width, w->get_rect().height};
            p.set_fill_color(fill);
            p.fill_rect(whole);
            p.set_pen(ink, 1.0f);
            p.draw_rect(whole);
        });
        widgets_.push_back(std::move(child));
    }
}

void gallery_page::add_text() {
    add_section("Fonts, weights and styles", {10, 270, 330, 250}, [](painter& p, const rect& c) {
        p.set_text_color(ink);
        p.set_text_alignment(align_code_leading, valign_code_top);
        const char* families[] = {"Tahoma", "DejaVu Sans", "Liberation Serif", "Liberation Mono", "Verdana"};
        int32_t y = c.y;
        for (const char* family : families) {
            p.set_font(family, 14.0f, weight_code_normal, style_code_normal, false);
            p.context().draw_text({c.x, y, c.width, 20}, std::string(family) + ": The quick brown fox", {});
            y += 22;
        }
        const struct {
            const char* text;
            uint32_t weight, style;
            bool underline;
        } looks[] = {
            {"Light", weight_code_light, style_code_normal, false},
            {"Normal", weight_code_normal, style_code_normal, false},
            {"Bold", weight_code_bold, style_code_normal, false},
            {"Italic", weight_code_normal, style_code_italic, false},
            {"Bold italic", weight_code_bold, style_code_italic, false},
            {"Underlined", weight_code_normal, style_code_normal, true},
        };
        for (int i = 0; i < 6; ++i) {
            p.set_font("DejaVu Sans", 13.0f, looks[i].weight, looks[i].style, looks[i].underline);
            p.context().draw_text({c.x + (i % 3) * 106, y + 6 + (i / 3) * 22, 104, 20}, looks[i].text, {});
        }
        y += 56;
        const float sizes[] = {9.0f, 12.0f, 16.0f, 22.0f};
        int32_t x = c.x;
        for (const float s : sizes) {
            p.set_font("Tahoma", s, weight_code_normal, style_code_normal, false);
            p.context().draw_text({x, y, 90, 30}, std::to_string(static_cast<int>(s)) + " px", {});
            x += static_cast<int32_t>(s * 3.5f) + 10;
        }
    });
    add_section("Alignment", {350, 270, 330, 250}, [](painter& p, const rect& c) {
        const uint32_t horizontal[] = {align_code_leading, align_code_center, align_code_trailing};
        const uint32_t vertical[] = {valign_code_top, valign_code_center, valign_code_bottom};
        const char* names[] = {"top left", "top", "top right", "left", "centre", "right",
                               "bottom left", "bottom", "bottom right"};
        p.set_font("Tahoma", 11.0f, weight_code_normal, style_code_normal, false);
        p.set_text_color(ink);
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 3; ++col) {
                const rect box{c.x + col * 104, c.y + row * 66, 98, 60};
                p.set_pen(blue, 1.0f);
                p.draw_rect(box);
                p.set_text_alignment(horizontal[col], vertical[row]);
                p.context().draw_text({box.x + 3, box.y + 2, box.width - 6, box.height - 4}, names[row * 3 + col], {});
            }
        p.set_text_alignment(align_code_leading, valign_code_top);
    });
    add_section("Text runs", {690, 270, 340, 250}, [](painter& p, const rect& c) {
        p.set_font("DejaVu Sans", 13.0f, weight_code_normal, style_code_normal, false);
        p.set_text_color(ink);
        p.set_text_alignment(align_code_leading, valign_code_top);
        const std::string text = "Runs set bold, italic, underlined, red, large and serif words in one layout; "
                                 "a run without colour takes the text colour.";
        const auto run_at = [&](const std::string& word, uint32_t weight, uint32_t style, bool underline,
                                const char* font, float size, color col) {
            const auto start = static_cast<uint32_t>(text.find(word));
            const auto end = start + static_cast<uint32_t>(word.size());
            return text_run{weight, style, underline, font, size, start, end, col, ""};
        };
        const std::vector<text_run> runs = {
            run_at("bold", weight_code_bold, style_code_normal, false, "DejaVu Sans", 13.0f, color(0.0f)),
            run_at("italic", weight_code_normal, style_code_italic, false, "DejaVu Sans", 13.0f, color(0.0f)),
            run_at("underlined", weight_code_normal, style_code_normal, true, "DejaVu Sans", 13.0f, blue),
            run_at("red", weight_code_bold, style_code_normal, false, "DejaVu Sans", 13.0f, red),
            run_at("large", weight_code_normal, style_code_normal, false, "DejaVu Sans", 22.0f, green),
            run_at("serif", weight_code_normal, style_code_italic, false, "Liberation Serif", 16.0f, color(0.0f)),
        };
        p.context().draw_text({c.x, c.y, c.width, 120}, text, runs);
        const qssdk::ui::size measured = p.context().measure_text(text, {c.width, 0}, runs);
        p.set_pen(green, 1.0f);
        p.draw_rect({c.x, c.y, measured.width, measured.height});
        label(p, {c.x, c.y + 150, c.width, 40},
              "the green box is the measured size of the runs above (" + std::to_string(measured.width) + " x " +
                  std::to_string(measured.height) + ")");
    });
}

void gallery_page::add_images() {
    images_.push_back(load_image("message_popup_image"));
    images_.push_back(load_image("multicontrol_lock_image"));
    images_.push_back(load_image("checkbox_image"));
    image* popup = images_[0].get();
    image* lock = images_[1].get();
    image* checkbox = images_[2].get();
    const auto frames_of = [](const char* key) {
        return static_cast<int32_t>(default_style_table().at(key).as_image().frames);
    };
    const int32_t lock_frames = frames_of("multicontrol_lock_image"), box_frames = frames_of("checkbox_image");
    add_section("Images: whole, stretched and in parts", {10, 530, 330, 260}, [=](painter& p, const rect& c) {
        p.draw_image({c.x, c.y}, *popup);
        p.draw_image_stretched({c.x + 40, c.y, 112, 96}, *popup);
        p.draw_image_stretched({c.x + 160, c.y, 150, 40}, *popup);
        label(p, {c.x, c.y + 100, c.width, 16}, "whole, stretched 4x, stretched unevenly");
        // The state frames of the lock and the check box strips, one by one.
        const qssdk::ui::size lock_size = lock->get_size();
        const int32_t lock_frame = lock_size.height / lock_frames;
        for (int32_t i = 0; i < lock_frames; ++i)
            p.draw_image_part({c.x + i * 28, c.y + 130}, *lock, {0, i * lock_frame, lock_size.width, lock_frame});
        const qssdk::ui::size box_size = checkbox->get_size();
        const int32_t box_frame = box_size.height / box_frames;
        for (int32_t i = 0; i < box_frames; ++i)
            p.draw_image_part({c.x + 240 + i * 24, c.y + 130}, *checkbox,
                              {0, i * box_frame, box_size.width, box_frame});
        label(p, {c.x, c.y + 156, c.width, 16}, "state frames drawn one by one");
    });
    std::vector<const style_entry*> entries = default_images();
    for (const style_entry* e : entries) {
        std::unique_ptr<image> img = image::create();
        img->load(e->value.as_image());
        images_.push_back(std::move(img));
    }
    const size_t first = images_.size() - entries.size();
    add_section("Default style images", {350, 530, 680, 260}, [this, entries, first](painter& p, const rect& c) {
        // Each image with its state frames side by side and its key below, in rows.
        int32_t x = c.x, y = c.y, row_height = 0;
        p.set_font(label_font, 10.0f, weight_code_normal, style_code_normal, false);
        for (size_t i = 0; i < entries.size(); ++i) {
            image& img = *images_[first + i];
            const uint32_t frames = std::max<uint32_t>(entries[i]->value.as_image().frames, 1);
            const qssdk::ui::size whole = img.get_size();
            const qssdk::ui::size frame{whole.width, whole.height / static_cast<int32_t>(frames)};
            std::string name(entries[i]->key);
            name.resize(name.size() - std::string_view("_image").size());
            const qssdk::ui::size text = p.context().measure_text(name, {0, 0}, {});
            const int32_t cell_width = std::max<int32_t>(static_cast<int32_t>(frames) * (frame.width + 2), text.width);
            const int32_t cell_height = frame.height + text.height + 2;
            if (x > c.x && x + cell_width > c.x + c.width) {
                x = c.x;
                y += row_height + 8;
                row_height = 0;
            }
            for (uint32_t f = 0; f < frames; ++f)
                p.draw_image_part({x + static_cast<int32_t>(f) * (frame.width + 2), y}, img,
                                  {0, static_cast<int32_t>(f) * frame.height, frame.width, frame.height});
            p.set_text_color(ink);
            p.set_text_alignment(align_code_leading, valign_code_top);
            p.context().draw_text({x, y + frame.height + 2, text.width, text.height}, name, {});
            x += cell_width + 14;
            row_height = std::max(row_height, cell_height);
        }
    });
}

}  // namespace gallery
