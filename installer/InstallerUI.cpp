// Building the installer window: the theme, the host list, the pages and the footer controls.
#include "InstallerUI.h"

#include <algorithm>
#include <functional>
#include <initializer_list>

#include "InstallSummary.h"
#include "InstallerLayout.h"
#include "InstallerTexts.h"
#include "InstallerTheme.h"
#include "License.h"
#include "event_binding.h"
#include "event_manager.h"
#include "file_path.h"
#include "painter.h"
#include "text_codes.h"
#include "utf.h"

namespace installer {

using namespace qssdk::ui;

namespace {

constexpr rect window_rect{600, 200, 1024, 610};
constexpr color transparent{0.0f, 0.0f, 0.0f, 0.0f};
constexpr color white{1.0f, 1.0f, 1.0f, 1.0f};
constexpr int32_t line_gap = 15;
constexpr int32_t title_height = 60;
constexpr int32_t row_height = 20;
constexpr int32_t result_row_step = 25;
constexpr int32_t license_scroll_step = 30;
constexpr int32_t license_scroll_width = 15;
constexpr int32_t license_margin = 10;
constexpr int32_t result_scroll_gap = 5;
constexpr color license_scroll_back{0.208f, 0.208f, 0.208f, 1.0f};
constexpr const char* license_link_text = "Quillstone Software License Agreement";
constexpr std::string_view version_text = "1.0.2";

int32_t bottom(const widget& w) { return w.get_rect().y + w.get_rect().height; }
int32_t right(const widget& w) { return w.get_rect().x + w.get_rect().width; }

void title_aliases(style& s) {
    s.set_alias("label_font_size", "title_font_size");
    s.set_alias("label_font_weight", "title_font_weight");
    s.set_alias("label_font_color", "title_font_color");
    s.set_alias("label_font_name", "title_font_name");
}

void intro_aliases(style& s) {
    s.set_alias("label_text_valign", "label_intro_text_valign");
    s.set_alias("label_font_size", "intro_font_size");
    s.set_alias("label_font_name", "intro_font_name");
    s.set_alias("label_font_color", "intro_font_color");
}

void version_aliases(style& s) {
    s.set_alias("label_text_valign", "label_intro_text_valign");
    s.set_alias("label_font_size", "intro_version_font_size");
    s.set_alias("label_font_name", "intro_font_name");
    s.set_alias("label_font_color", "intro_version_font_color");
    s.set_alias("label_font_style", "intro_version_font_style");
}

// A label placed on the parent, transparent, with its text.
void place_label(text_label& l, widget& parent, const rect& r, std::string_view text, bool auto_width = false,
                 bool auto_height = true) {
    l.create(&parent, r);
    l.set_background_color(transparent);
    l.set_text(text, auto_width, auto_height);
}

// The scroll bar follows its content (moved or resized by itself, or by the wheel over any of the given
// widgets) and its viewport (resized).
void follow_content(scroll_bar& bar, widget& content, widget& viewport, std::initializer_list<widget*> wheel_sources) {
    event_manager& events = event_manager::instance();
    scroll_bar* b = &bar;
    for (const event_id id : {event_id::resized, event_id::moved})
        events.connect(&content, b, id, [b](const event_info&) { b->update_thumb(); });
    for (widget* source : wheel_sources)
        events.connect(source, b, event_id::mouse_wheel, [b](const event_info& e) { b->on_wheel(e); });
    events.connect(&viewport, b, event_id::resized, [b](const event_info&) { b->fit_content(); });
    bar.update_thumb();
}

// A text link: no back or border colours, the text at the leading edge; with the keyboard focus the
// kit's dotted focus border shows around it.
void style_link(LinkButton& link) {
    style& s = link.get_style();
    s.set_scalar("button_font_alignment", align_code_leading);
    for (const char* key : {"button_color_normal", "button_color_hover", "button_border_color_normal",
                            "button_border_color_hover"})
        s.set_color(key, transparent);
}

}  // namespace

InstallerUI::InstallerUI() {
    create(title, window_rect, 0);
    install_theme();
    bind_handler(&get_root_widget(), event_id::paint, std::bind(&InstallerUI::paint_frame, this), this);
    build_host_entries();
    build_welcome_page();
    build_selection_page();
    build_license_page();
    build_footer();
    show_page(page::welcome);
    center();
    footer_text_ = footer_notice();
}

InstallerUI::~InstallerUI() {
    // A run held by a question that never got its answer would never end.
    system_.stop_run();
    if (worker_.joinable()) worker_.join();
}

layout::FrameSizes InstallerUI::frame_sizes() {
    const widget& root = get_root_widget();
    const style& s = root.get_style();
    const auto [banner_width, banner_height] = s.get("banner_size").as_pair();
    return {s.get("header_size").as_int(), s.get("footer_size").as_int(), banner_width, banner_height,
            root.get_rect().width, root.get_rect().height};
}

void InstallerUI::place_page(std::uint32_t n) {
    generic_panel& p = pages_[n];
    p.create(&get_root_widget(), layout::page_area(frame_sizes()));
    p.set_background_color(transparent);
    p.set_visible(false);
}

void InstallerUI::centre_page(std::uint32_t n, int32_t content_width, int32_t content_height) {
    pages_[n].set_layout_rect(layout::centred(layout::page_area(frame_sizes()), content_width, content_height));
}

void InstallerUI::build_host_entries() { host_entries_ = make_host_entries(system_.find_hosts()); }

void InstallerUI::build_welcome_page() {
    place_page(page::welcome);
    generic_panel& page = pages_[page::welcome];
    const int32_t w = page.get_rect().width;

    title_aliases(welcome_title_.get_style());
    place_label(welcome_title_, page, {0, 0, w - 140, title_height},
                "Welcome to the QS Pellux Plug-in Installer for After Effects!");

    intro_aliases(welcome_intro_.get_style());
    place_label(welcome_intro_, page, {0, bottom(welcome_title_) + line_gap, w - 150, title_height},
                "This will install " + std::string(product_name) + " " + std::string(version_text) +
                    " on your computer!\n\nIt is recommended that you close all other applications before "
                    "continuing.\n");

    style& agree = welcome_agree_label_.get_style();
    agree.set_scalar("label_text_valign", valign_code_center);
    agree.set_alias("label_font_size", "intro_font_size");
    agree.set_alias("label_font_name", "intro_font_name");
    agree.set_alias("label_font_color", "intro_font_color");
    place_label(welcome_agree_label_, page, {0, bottom(welcome_intro_), w - 150, title_height},
                "By installing you agree to the ", true, true);

    style& link = welcome_license_link_.get_style();
    link.set_alias("button_font_name", "intro_font_name");
    link.set_alias("button_font_size", "intro_font_size");
    link.set_alias("button_font_color", "intro_font_color");
    style_link(welcome_license_link_);
    const rect& agree_rect = welcome_agree_label_.get_rect();
    welcome_license_link_.create(&page, {right(welcome_agree_label_), agree_rect.y, 250, agree_rect.height});
    welcome_license_link_.set_text(license_link_text);
    bind_member_handler(&welcome_license_link_, event_id::clicked, &InstallerUI::on_button_clicked, this);

    version_aliases(version_label_.get_style());
    place_label(version_label_, page, {0, bottom(welcome_agree_label_) + line_gap, w - 150, title_height},
                "Version: " + std::string(version_text));

    const int32_t content_width =
        std::max({std::max(welcome_title_.get_rect().width, 0), welcome_intro_.get_rect().width,
                  welcome_agree_label_.get_rect().width, version_label_.get_rect().width});
    centre_page(page::welcome, content_width, bottom(version_label_) + line_gap);
}

void InstallerUI::build_selection_page() {
    place_page(page::select);
    generic_panel& page = pages_[page::select];
    const int32_t w = page.get_rect().width;

    title_aliases(select_title_.get_style());
    place_label(select_title_, page, {0, 0, w - 140, title_height}, std::string(product_for_host) + " Installer");
    intro_aliases(select_intro_.get_style());
    place_label(select_intro_, page, {0, bottom(select_title_), w - 150, title_height},
                "Select which versions of Adobe After Effects to install.");
    select_break_.create(&page, {0, bottom(select_intro_), w - 150, row_height});

    const int32_t first_row = bottom(select_break_) + line_gap;
    const std::vector<rect> rows = layout::host_rows(host_entries_, first_row);
    int32_t rows_bottom = first_row;
    int32_t widest = 0;
    for (std::size_t i = host_entries_.size(); i-- > 0;) {
        host_entry& entry = host_entries_[i];
        auto box = std::make_unique<check_box>();
        box->create(&page, rows[i]);
        box->set_background_color(transparent);
        box->update_layout(static_cast<int32_t>(check_placement::box_then_text), 5);
        box->set_text(system_.host_names()[entry.id]);
        box->set_linked_value(&entry.checked);
        box->set_enabled(true);
        box->redraw(false);
        bind_member_handler(box.get(), event_id::value_changed, &InstallerUI::on_selection_event, this);
        const std::wstring folder =
            qssdk::file_path::from_wide(entry.plugin_path).join(qssdk::file_path("Quillstone")).wstring();
        add_tooltip(reinterpret_cast<uint64_t>(box.get()), {0, 0, 0, 0}, "",
                    "[Plugin] " + qssdk::utf16_to_utf8(folder));
        rows_bottom = std::max(rows_bottom, bottom(*box));
        widest = std::max(widest, right(*box));
        host_check_boxes_.push_back(std::move(box));
    }

    select_flow_.create(&page, {0, rows_bottom, w - 150, 10});
    bind_member_handler(&select_flow_, event_id::resized, &InstallerUI::on_selection_event, this);

    custom_plugin_button_.create(&page, layout::custom_folder_button(first_row));
    custom_plugin_button_.set_text("Plugin Path");
    custom_plugin_button_.set_enabled(false);
    // A click, not any release of a mouse button over it.
    bind_member_handler(&custom_plugin_button_, event_id::clicked, &InstallerUI::on_selection_event, this);

    style& path = custom_path_label_.get_style();
    path.set_alias("label_font_size", "label_path_font_size");
    path.set_alias("label_text_valign", "label_path_text_valign");
    path.set_alias("label_font_name", "intro_font_name");
    path.set_alias("label_font_color", "intro_font_color");
    custom_path_label_.create(&select_flow_, {0, 0, w - 150, row_height});
    custom_path_label_.set_background_color({1.0f, 1.0f, 1.0f, 0.0f});
    custom_path_label_.set_visible(false);

    version_aliases(disk_space_label_.get_style());
    place_label(disk_space_label_, select_flow_, {0, 0, w - 150, title_height},
                disk_space_text(host_entries_, plugin_size_mb_));

    select_flow_.layout();
    centre_page(page::select, std::max(select_flow_.get_rect().width, widest), bottom(select_flow_) + line_gap);
}

void InstallerUI::build_license_page() {
    license_text_ = std::string(license_html());
    place_page(page::license);
    generic_panel& page = pages_[page::license];
    const int32_t w = page.get_rect().width, h = page.get_rect().height;

    license_frame_.create(&page, {0, 0, w, h});
    license_frame_.set_background_color(white);
    license_scroll_.set_step(license_scroll_step);
    license_scroll_.set_content(&license_label_);
    license_scroll_.create(&license_frame_, {w - license_scroll_width, 0, license_scroll_width, h});
    license_scroll_.set_background_color(license_scroll_back);

    style& s = license_label_.get_style();
    s.set_alias("label_text_valign", "label_intro_text_valign");
    s.set_alias("label_font_name", "license_label_font_name");
    s.set_alias("label_font_size", "license_label_font_size");
    s.set_alias("label_font_color", "license_label_font_color");
    const size measured = license_text_.empty()
                              ? size{0, 0}
                              : get_painter()->context().measure_text(license_text_, {w - 35, 0}, {});
    license_label_.create(&license_frame_, {license_margin, 0, measured.width, measured.height});
    license_label_.set_background_color(white);
    license_label_.set_html_mode(true);
    license_label_.set_auto_size(false, true);
    license_label_.set_html(license_text_);
    license_label_.fit_to_text();
    license_label_.update_link_areas();
    license_label_.redraw(false);
    bind_member_handler(&license_label_, event_id::mouse_up, &InstallerUI::on_license_mouse_up, this);

    follow_content(license_scroll_, license_label_, license_frame_, {&license_label_});
}

void InstallerUI::build_installing_page() {
    if (installing_page_built_) return;
    installing_page_built_ = true;
    place_page(page::installing);
    generic_panel& page = pages_[page::installing];
    const int32_t w = page.get_rect().width;

    title_aliases(installing_title_.get_style());
    place_label(installing_title_, page, {0, 0, w - 140, title_height}, std::string(product_for_host) + " Installer");
    intro_aliases(installing_intro_.get_style());
    installing_intro_.create(&page, {0, bottom(installing_title_) + line_gap, w - 150, title_height});
    installing_intro_.set_background_color({1.0f, 1.0f, 1.0f, 0.0f});
    installing_intro_.set_text("Installing " + std::string(product_for_host) + ", please wait...", false, true);
    installing_break_.create(&page, {0, bottom(installing_intro_) + line_gap, w - 150, row_height});
    progress_bar_.create(&page, {0, bottom(installing_break_) + line_gap, w - 150, 15});

    const int32_t status_y = bottom(progress_bar_) + line_gap;
    style& status = installing_status_.get_style();
    intro_aliases(status);
    status.set_alias("label_font_color", "installing_label_font_color");
    status.set_alias("label_font_style", "installing_label_font_style");
    place_label(installing_status_, page, {0, status_y, 100, row_height}, "Installing...", false, false);

    style& percent = progress_label_.get_style();
    percent.set_alias("label_text_valign", "label_intro_text_valign");
    percent.set_alias("label_font_size", "progress_label_font_size");
    percent.set_alias("label_font_name", "intro_font_name");
    percent.set_alias("label_font_color", "intro_font_color");
    percent.set_scalar("label_text_align", align_code_trailing);
    progress_label_.create(&page, {0, status_y, w - 150, row_height});
    progress_label_.set_background_color({0.5f, 0.5f, 0.5f, 0.0f});

    // The rows, one per target, under the percentage line; the finish line below them. More rows than
    // the page has room for scroll in their frame.
    const int32_t rows_y = bottom(progress_label_) + line_gap;
    intro_aliases(finish_label_.get_style());
    place_label(finish_label_, page, {0, rows_y, w - 150, title_height}, "Click Finish to close installer.");
    finish_label_.set_visible(false);
    const std::vector<std::size_t> targets = result_row_entries(host_entries_);
    const int32_t list_height = static_cast<int32_t>(targets.size()) * result_row_step;
    const int32_t room = page.get_rect().height - rows_y - 20 - finish_label_.get_rect().height - line_gap;
    const bool scrolls = list_height > room;
    const int32_t frame_height = scrolls ? std::max(room, result_row_step) : list_height;
    const int32_t list_width = scrolls ? w - 150 - result_scroll_gap - license_scroll_width : w - 150;
    result_frame_.create(&page, {0, rows_y, w - 150, frame_height});
    result_frame_.set_background_color(transparent);
    result_list_.create(&result_frame_, {0, 0, list_width, list_height});
    result_list_.set_background_color(transparent);

    int32_t y = 0;
    for (const std::size_t i : targets) {
        auto row = std::make_unique<InstalledCheckbox>();
        style& s = row->get_style();
        s.set_alias("checkbox_font_name", "installed_check_font_name");
        s.set_alias("checkbox_font_weight", "installed_check_font_wight");
        s.set_alias("checkbox_font_color", "installed_check_font_color");
        s.set_alias("checkbox_font_size", "installed_check_font_size");
        s.set_alias("checkbox_image", "installed_check_image");
        row->create(&result_list_, {0, y, list_width, row_height});
        row->set_background_color(transparent);
        row->update_layout(static_cast<int32_t>(check_placement::box_then_text), 10);
        row->set_text(std::string(product_for_host) + " " + served_versions(i));
        row->set_checked(false);
        row->set_visible(false);
        y += result_row_step;
        result_rows_.push_back(std::move(row));
    }
    if (scrolls) {
        result_scroll_.set_step(result_row_step);
        result_scroll_.set_content(&result_list_);
        result_scroll_.create(&result_frame_, {w - 150 - license_scroll_width, 0, license_scroll_width, frame_height});
        result_scroll_.set_background_color(license_scroll_back);
        follow_content(result_scroll_, result_list_, result_frame_, {&result_list_, &result_frame_});
        for (const auto& row : result_rows_)
            event_manager::instance().connect(row.get(), &result_scroll_, event_id::mouse_wheel,
                                              [bar = &result_scroll_](const event_info& e) { bar->on_wheel(e); });
    }

    const rect& finish = finish_label_.get_rect();
    finish_label_.set_layout_rect({finish.x, rows_y + frame_height + 20, finish.width, finish.height});
    centre_page(page::installing, w - 150, bottom(finish_label_) + line_gap);
}

void InstallerUI::build_footer() {
    const layout::Footer f = layout::footer(frame_sizes());
    widget& root = get_root_widget();

    style& link = footer_license_link_.get_style();
    link.set_alias("button_font_name", "footer_text_font_name");
    link.set_alias("button_font_size", "footer_text_font_size");
    link.set_alias("button_font_color", "title_font_color");
    link.set_scalar("button_font_weight", weight_code_light);
    style_link(footer_license_link_);
    footer_license_link_.create(&root, f.license_link);
    footer_license_link_.set_text(license_link_text);
    bind_member_handler(&footer_license_link_, event_id::clicked, &InstallerUI::on_button_clicked, this);

    const struct {
        RoundedButton& button;
        rect r;
        const char* text;
        bool next;
    } buttons[] = {{cancel_button_, f.cancel, "CANCEL", false},
                   {back_button_, f.back, "BACK", false},
                   {next_button_, f.next, "NEXT", true}};
    for (const auto& b : buttons) {
        use_rounded_look(b.button, b.next);
        b.button.create(&root, b.r);
        b.button.set_text(b.text);
        bind_member_handler(&b.button, event_id::clicked, &InstallerUI::on_button_clicked, this);
    }
    // BACK, NEXT and the licence links move to another page, where the same place may hold another
    // control: the gate judges the presses on them (ClickGate), those that land on one drawn disabled
    // too, which reach only the window. CANCEL is left out: it only asks, and it must answer at once, also
    // right after INSTALL.
    bind_member_handler(this, event_id::mouse_down, &InstallerUI::on_press, this);
    bind_handler(&get_root_widget(), event_id::timer, std::bind(&InstallerUI::on_gate_tick, this), this);
    // The window hears every release after the control under the pointer did.
    bind_handler(this, event_id::mouse_up, [this](const event_info&) { click_gate_.release(); }, this);
    // The title bar's X and Alt+F4: during a run they ask as CANCEL does (once: a question already open
    // answers it); otherwise the window closes.
    bind_handler(this, event_id::close_query, [this](const event_info&) {
        if (open_popups_ != 0) return;
        if (run_in_progress())
            ask_cancel();
        else
            close(true);
    }, this);
}

}  // namespace installer
