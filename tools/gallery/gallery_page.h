// The gallery: a kit window that paints a fixed page of what the kit draws, one titled section per
// subject, so that a person can look at the kit on this machine. New subjects add sections.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "image.h"
#include "painter.h"
#include "text_codes.h"
#include "widget.h"
#include "window.h"

namespace gallery {

inline constexpr qssdk::ui::color section_back{0.97f, 0.97f, 0.98f, 1.0f};
inline constexpr qssdk::ui::color ink{0.10f, 0.11f, 0.13f, 1.0f};

// A line of small text in ink, laid out in r from its top.
void label(qssdk::ui::painter& p, const qssdk::ui::rect& r, const std::string& text,
           uint32_t horizontal = qssdk::ui::align_code_leading);

// A titled area of the page. Its content is painted by a function in the area's own coordinates below
// the title; widgets placed in it (see content_origin) paint themselves.
class section : public qssdk::ui::widget {
public:
    using paint_function = std::function<void(qssdk::ui::painter&, const qssdk::ui::rect& content)>;

    section(std::string title, paint_function paint_content);

    // Where widgets placed in the section start, below the title.
    static constexpr int32_t title_height = 22;
    static constexpr int32_t margin = 8;

private:
    void paint();

    std::string title_;
    paint_function paint_content_;
};

class gallery_page : public qssdk::ui::window {
public:
    static constexpr int32_t width = 1380;
    static constexpr int32_t height = 1060;

    // Creates the native window with every section; show it with ShowWindow.
    gallery_page();
    ~gallery_page() override;

    // Rests the cursor on the tooltip sample until its tooltip shows, within a few seconds; whether it did.
    bool open_sample_tooltip();

private:
    section& add_section(std::string title, const qssdk::ui::rect& r, section::paint_function paint);
    std::unique_ptr<qssdk::ui::image> load_image(const char* style_key);
    void add_shapes();
    void add_text();
    void add_images();
    // Panels, buttons and check boxes in their states (gallery_controls.cpp).
    void add_controls();
    // A tooltip sample, a popup menu and a drop zone (services_section.cpp).
    void add_services();

    std::vector<std::unique_ptr<qssdk::ui::widget>> widgets_;
    std::vector<std::unique_ptr<qssdk::ui::image>> images_;
    qssdk::ui::widget* tooltip_sample_ = nullptr;
};

}  // namespace gallery
