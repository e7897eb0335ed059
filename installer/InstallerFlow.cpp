// What the installer window does once built: the frame's paint, page switches, clicks, the host and
// custom-folder selection, the licence's Copy menu, the install run with its tick, and the results.
#include <algorithm>
#include <functional>

#include "Clipboard.h"
#include "InstallRun.h"
#include "InstallSummary.h"
#include "InstallerLayout.h"
#include "InstallerTexts.h"
#include "InstallerUI.h"
#include "NotificationPopup.h"
#include "TickDecision.h"
#include "event_binding.h"
#include "input_codes.h"
#include "painter.h"
#include "popup_menu.h"
#include "qs_exception.h"
#include "select_folder.h"
#include "timer_table.h"
#include "text_codes.h"
#include "utf.h"

namespace installer {

using namespace qssdk::ui;

namespace {

constexpr uint32_t click_phase = 2;
constexpr int32_t copy_item = 1;
constexpr int32_t top_level = -1;
constexpr uint32_t install_timer_kind = 1;

// Draws a frame image from its style key, loading it on first use.
void draw_stretched(painter& p, image& img, const style& s, const char* key, const rect& r) {
    if (!img.is_loaded()) img.load(s.get(key).as_image());
    p.draw_image_stretched(r, img);
}

PressButton press_button(uint64_t value) {
    switch (static_cast<mouse_button>(value)) {
    case mouse_button::left:
        return PressButton::left;
    case mouse_button::middle:
        return PressButton::middle;
    case mouse_button::right:
        break;
    }
    return PressButton::right;
}

void set_button_text(generic_button& b, std::string_view text) {
    b.set_text(std::string(text));
    b.redraw(false);
}

}  // namespace

template <class F>
auto InstallerUI::with_popup(F show) {
    struct open_popup {
        std::uint32_t& count;
        explicit open_popup(std::uint32_t& c) : count(c) { ++count; }
        ~open_popup() { --count; }
    } guard(open_popups_);
    return show();
}

void InstallerUI::paint_frame() {
    painter& p = *get_painter();
    const style& s = get_root_widget().get_style();
    const layout::FrameSizes sizes = frame_sizes();
    const layout::Frame f = layout::frame(sizes);

    p.set_fill_color(s.get("main_back_color").color);
    p.fill_rect(f.header);
    if (!logo_image_->is_loaded()) logo_image_->load(s.get("logo_image").as_image());
    const size logo = logo_image_->get_size();
    const rect at = layout::logo(sizes, logo.width, logo.height);
    p.draw_image({at.x, at.y}, *logo_image_);

    p.set_font(s.get("header_text_font_name").as_text(), s.get_float("header_text_font_size"), weight_code_normal,
               style_code_italic, false);
    p.set_text_color(s.get("header_text_font_color").color);
    p.set_text_alignment(align_code_leading, valign_code_center);
    if (!footer_text_.empty()) p.context().draw_text(f.header_text, footer_text_, {});

    draw_stretched(p, *banner_image_, s, "banner_image", f.banner);
    draw_stretched(p, *background_image_, s, "background_image", f.background);

    p.set_fill_color(s.get("main_back_color").color);
    p.fill_rect(f.footer);
    if (pages_shown_.current == page::welcome) {
        p.set_font(s.get("footer_text_font_name").as_text(), s.get_float("footer_text_font_size"), weight_code_normal,
                   style_code_normal, false);
        p.set_text_color(s.get("footer_text_font_color").color);
        p.set_text_alignment(align_code_leading, valign_code_center);
        p.context().draw_text(f.footer_text, "By installing, you agree to the", {});
    }
    // Every paint draws the frame first and the page over it in the same pass.
    click_gate_.page_drawn();
}

void InstallerUI::set_state(widget& w, const ControlState& state) {
    if (state.enabled) set_usable(w, *state.enabled);
    if (state.visible) w.set_visible(*state.visible);
}

void InstallerUI::set_usable(widget& w, bool usable) {
    for (gated_control& g : gated_)
        if (g.control == &w) {
            g.usable = usable;
            w.set_enabled(usable && click_gate_.looks_open());
            return;
        }
    w.set_enabled(usable);
}

void InstallerUI::close_gate() {
    click_gate_.page_shown(steady_seconds());
    show_gate();
}

void InstallerUI::show_gate() {
    const bool open = click_gate_.looks_open();
    for (const gated_control& g : gated_) g.control->set_enabled(g.usable && open);
    // The tick runs while the gate is closed, so that the controls turn enabled without an input.
    if (open)
        remove_timer(&get_root_widget(), widget_timer_kind);
    else
        add_timer(&get_root_widget());
}

void InstallerUI::on_press(const event_info& e) {
    const widget* at = widget_at(get_cursor_position(&get_root_widget()));
    const auto gated = std::find_if(gated_.begin(), gated_.end(),
                                    [&](const gated_control& g) { return g.control == at && g.usable; });
    if (gated == gated_.end()) return;
    const bool was_open = click_gate_.looks_open();
    click_gate_.press(steady_seconds(), press_button(e.value));
    if (click_gate_.looks_open() != was_open) show_gate();
}

void InstallerUI::on_gate_tick() {
    if (click_gate_.tick(steady_seconds())) show_gate();
}

void InstallerUI::show_page(std::uint32_t n) {
    if (n >= page::count) return;
    if (n == page::installing) build_installing_page();
    close_gate();
    const PageControls c = page_controls(n);
    set_state(back_button_, c.back);
    set_state(cancel_button_, c.cancel);
    set_state(next_button_, c.next);
    set_state(footer_license_link_, c.license_link);
    set_button_text(cancel_button_, c.cancel_text);
    set_button_text(next_button_, c.next_text);
    get_root_widget().redraw(false);
    if (n == page::installing) start_install();
    pages_[pages_shown_.current].set_visible(false);
    pages_[n].set_visible(true);
    pages_shown_.show(n);
    update_install_button();
}

void InstallerUI::update_install_button() {
    if (pages_shown_.current == page::select) set_usable(next_button_, has_install_target(host_entries_));
}

void InstallerUI::on_button_clicked(const event_info& e) {
    if (e.phase != click_phase) return;
    FooterControl control;
    if (e.source == &back_button_)
        control = FooterControl::back;
    else if (e.source == &next_button_)
        control = FooterControl::next;
    else if (e.source == &cancel_button_)
        control = FooterControl::cancel;
    else if (e.source == &footer_license_link_)
        control = FooterControl::footer_license_link;
    else if (e.source == &welcome_license_link_)
        control = FooterControl::welcome_license_link;
    else
        return;
    if (control != FooterControl::cancel && !click_gate_.take_click(steady_seconds())) {
        // A refusal may have closed the gate again.
        show_gate();
        return;
    }

    const ClickAction action = route_click(control, pages_shown_, finished_, has_install_target(host_entries_));
    switch (action.kind) {
    case ClickKind::show_page:
        show_page(action.page);
        break;
    case ClickKind::finish:
        end_modal(1);
        break;
    case ClickKind::ask_cancel:
        ask_cancel();
        break;
    case ClickKind::none:
        break;
    }
}

bool InstallerUI::run_in_progress() const { return timer_connection_.has_value(); }

void InstallerUI::ask_cancel() {
    // A run waits before its next target while the user is asked; YES stops it there, and the page then
    // says what was installed. Without a run, YES ends the installer.
    const bool running = run_in_progress();
    if (running) system_.hold_run();
    NotificationPopup popup;
    style& s = popup.get_root_widget().get_style();
    s.set_alias("message_popup_window_margins", "notifications_window_margins");
    s.set_alias("message_popup_component_margins", "notifications_component_margins");
    // The default answer keeps the installer going.
    popup.setup(this, std::string(cancel_title), cancel_question(), NotificationPopup::no);
    const int32_t result = with_popup([&] { return popup.show_modal(); });
    if (result == NotificationPopup::no) {
        if (running) system_.resume_run();
    } else if (running) {
        system_.stop_run();
        cancelled_ = true;
    } else {
        end_modal(result);
    }
}

void InstallerUI::choose_custom_folder() {
    host_entry* custom = host_entries_.empty() ? nullptr : &host_entries_.back();
    if (!custom || custom->id != System::custom_slot) return;
    std::wstring folder;
    try {
        folder = with_popup([&] { return select_folder(native_handle(), L"Custom Folder", custom->plugin_path); });
    } catch (const qs_exception& error) {
        // The selection stays as it was.
        with_popup([&] {
            return MessageBoxW(native_handle(),
                               qssdk::utf8_to_utf16(std::string("The folder dialog could not be opened: ") +
                                                    error.what())
                                   .c_str(),
                               L"Custom Folder", MB_OK | MB_ICONERROR);
        });
        return;
    }
    if (folder.empty()) return;
    custom->plugin_path = folder;
    custom_path_label_.set_text(custom_path_text(folder), false, true);
}

void InstallerUI::on_selection_event(const event_info& e) {
    const host_entry* custom = custom_entry(host_entries_);
    if (e.source == &custom_plugin_button_) {
        if (e.phase != click_phase) return;
        choose_custom_folder();
    } else if (custom && !host_check_boxes_.empty() && e.source == host_check_boxes_.front().get()) {
        custom_plugin_button_.set_enabled(custom->checked);
        custom_path_label_.set_visible(custom->checked);
    } else if (e.source == &select_flow_ && e.id == static_cast<uint32_t>(event_id::resized)) {
        const rect& r = pages_[page::select].get_rect();
        const rect& flow = select_flow_.get_rect();
        pages_[page::select].set_layout_rect({r.x, r.y, r.width, flow.y + flow.height + 15});
    }
    if (disk_space_label_.is_created())
        disk_space_label_.set_text(disk_space_text(host_entries_, plugin_size_mb_), false, true);
    update_install_button();
}

void InstallerUI::on_license_mouse_up(const event_info& e) {
    if (e.source != &license_label_ || e.value != static_cast<uint64_t>(mouse_button::right)) return;
    popup_menu menu;
    menu.add_item(copy_item, top_level, "Copy");
    if (with_popup([&] { return menu.show(*this); }) == copy_item)
        copy_to_clipboard(native_handle(), license_label_.text());
}

void InstallerUI::start_install() {
    cancel_button_.set_enabled(true);
    set_usable(back_button_, false);
    cancel_button_.set_visible(true);
    back_button_.set_visible(true);
    set_usable(next_button_, false);
    set_button_text(next_button_, "INSTALLING...");

    totals_ = run_totals(host_entries_, plugin_size_mb_);
    widget& panel = pages_[page::installing];
    add_timer(&panel);
    if (!timer_connection_) timer_connection_ = bind_handler(&panel, event_id::timer, std::bind(&InstallerUI::on_tick, this), this);
    // Refused only while a worker still runs; its own run's tick carries on.
    start_install_run(system_, worker_, host_entries_);
}

void InstallerUI::end_run() {
    if (timer_connection_) event_manager::instance().disconnect(*timer_connection_);
    timer_connection_.reset();
    remove_timer(&pages_[page::installing], install_timer_kind);
    if (worker_.joinable()) worker_.join();
}

void InstallerUI::show_finished(std::string_view intro) {
    installing_intro_.set_text(intro, false, false);
    cancel_button_.set_enabled(false);
    set_usable(back_button_, false);
    cancel_button_.set_visible(true);
    back_button_.set_visible(true);
    set_button_text(next_button_, "FINISH");
    finished_ = true;
    // FINISH stands where INSTALL was pressed: it shows disabled until the gate opens.
    close_gate();
    set_usable(next_button_, true);
}

void InstallerUI::on_tick() {
    // The question popups run nested loops of this thread: the run is decided once they are closed.
    if (open_popups_ != 0) return;
    const TickOutcome outcome = decide_tick(system_.progress(), host_entries_);
    if (outcome.kind == TickKind::writing) {
        update_summary();
        return;
    }
    end_run();
    switch (run_ending(outcome.kind, cancelled_)) {
    case RunEnding::success:
        show_finished(success_intro);
        break;
    case RunEnding::cancelled:
        show_finished(cancelled_intro(host_entries_));
        break;
    case RunEnding::failure_question:
        ask_retry(outcome.failures);
        break;
    }
    update_summary();
}

void InstallerUI::ask_retry(const std::vector<TargetFailure>& failures) {
    update_summary();
    std::vector<FailedTarget> failed;
    for (const TargetFailure& f : failures) {
        const host_entry& entry = host_entries_[f.entry];
        failed.push_back({system_.host_names()[entry.id], System::plugin_folder(entry.plugin_path),
                          static_cast<int32_t>(f.code), f.system_error});
    }
    // A run with no target has nothing to retry (INSTALL is not offered without one).
    if (failed.empty()) {
        show_finished(partial_intro);
        return;
    }
    NotificationPopup popup;
    style& s = popup.get_root_widget().get_style();
    s.set_alias("message_popup_window_margins", "notifications_error_window_margins");
    s.set_alias("message_popup_component_margins", "notifications_error_component_margins");
    popup.setup(this, std::string(failure_title), failure_question(failed), NotificationPopup::yes);
    if (with_popup([&] { return popup.show_modal(); }) == NotificationPopup::yes)
        start_install();
    else
        show_finished(partial_intro);
}

std::string InstallerUI::served_versions(std::size_t writer) const {
    std::vector<std::string> names;
    for (const std::size_t i : served_entries(host_entries_, writer)) names.push_back(system_.host_names()[host_entries_[i].id]);
    return joined_names(names);
}

void InstallerUI::update_summary() {
    const ProgressSummary summary = summarize(host_entries_, totals_);
    progress_bar_.set_progress(summary.fraction);
    progress_bar_.redraw(true);

    progress_label_.set_html_mode(true);
    progress_label_.set_auto_size(false, false);
    progress_label_.set_html(summary.html);
    progress_label_.fit_to_text();
    progress_label_.update_link_areas();
    progress_label_.redraw(false);
    progress_label_.redraw(true);

    const std::vector<std::size_t> rows = result_row_entries(host_entries_);
    for (std::size_t k = 0; k < rows.size() && k < result_rows_.size(); ++k) {
        const host_entry& entry = host_entries_[rows[k]];
        const std::optional<ResultRow> row = result_row(entry, served_versions(rows[k]));
        if (!row) continue;
        InstalledCheckbox& box = *result_rows_[k];
        box.set_text(row->text);
        box.set_checked(row->installed);
        box.redraw(false);
        box.set_visible(true);
    }

    if (!finished_) return;
    installing_status_.set_visible(false);
    finish_label_.set_visible(true);
    if (every_target_installed(host_entries_)) {
        installing_title_.set_text(success_title, false, false);
        installing_title_.fit_to_text();
        installing_title_.redraw(false);
    }
}

}  // namespace installer
