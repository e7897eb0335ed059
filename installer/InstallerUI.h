// The installer's one window: the painted frame, the four pages (welcome, host selection, installing and
// finish, licence), the footer controls, the back end and its worker thread. InstallerUI.cpp builds it;
// InstallerFlow.cpp is what it does afterwards: pages, selection, the install run and its results. The
// decisions themselves come from the window-free flow files (PageFlow, InstallPlan, InstallSummary,
// TickDecision, InstallerTexts, InstallerLayout).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "BreakLine.h"
#include "ClickGate.h"
#include "HostEntry.h"
#include "InstallPlan.h"
#include "InstallerLayout.h"
#include "InstalledCheckbox.h"
#include "LinkButton.h"
#include "PageFlow.h"
#include "ProgressBar.h"
#include "RoundedButton.h"
#include "System.h"
#include "TickDecision.h"
#include "check_box.h"
#include "event_info.h"
#include "flow_panel.h"
#include "generic_button.h"
#include "generic_panel.h"
#include "image.h"
#include "scroll_bar.h"
#include "text_label.h"
#include "window.h"

namespace installer {

class InstallerUI : public qssdk::ui::window {
public:
    static constexpr const char* title = "QS Pellux for After Effects Installer";

    // Builds and shows the first page. Throws what window, painter and image creation throw.
    InstallerUI();
    // Waits for a running install worker first.
    ~InstallerUI() override;

private:
    layout::FrameSizes frame_sizes();
    // A page over the page area, transparent and hidden; then re-placed centred on its content.
    void place_page(std::uint32_t n);
    void centre_page(std::uint32_t n, std::int32_t content_width, std::int32_t content_height);
    void build_host_entries();
    void build_welcome_page();
    void build_selection_page();
    void build_license_page();
    void build_installing_page();
    void build_footer();

    void paint_frame();
    void show_page(std::uint32_t n);
    // A control's enabled and visible flags as the page wants them; a gated control is enabled only while
    // the gate looks open as well.
    void set_state(qssdk::ui::widget& w, const ControlState& state);
    void set_usable(qssdk::ui::widget& w, bool usable);
    // The gate of the footer's clicks (ClickGate): a new page closes it, a press is judged where it lands,
    // the tick opens it, and the gated controls are drawn as it says.
    void close_gate();
    void on_press(const qssdk::ui::event_info& e);
    void on_gate_tick();
    void show_gate();
    void on_button_clicked(const qssdk::ui::event_info& e);
    void on_selection_event(const qssdk::ui::event_info& e);
    void choose_custom_folder();
    void on_license_mouse_up(const qssdk::ui::event_info& e);
    void start_install();
    void on_tick();
    // The CANCEL question; during a run it also stands for the title bar's X and Alt+F4.
    void ask_cancel();
    bool run_in_progress() const;
    void ask_retry(const std::vector<TargetFailure>& failures);
    void end_run();
    void show_finished(std::string_view intro);
    void update_summary();
    // The names of the versions whose folder the entry writes, joined.
    std::string served_versions(std::size_t writer) const;
    // INSTALL is usable exactly while something is chosen to install.
    void update_install_button();
    // Runs a popup of this window; the install tick waits while one is open.
    template <class F>
    auto with_popup(F show);

    System system_;
    // The plug-in this installer carries, measured once.
    float plugin_size_mb_ = size_in_mb(system_.plugin_size());
    std::thread worker_;
    std::unique_ptr<qssdk::ui::image> banner_image_ = qssdk::ui::image::create();
    std::unique_ptr<qssdk::ui::image> background_image_ = qssdk::ui::image::create();
    std::unique_ptr<qssdk::ui::image> logo_image_ = qssdk::ui::image::create();
    std::string license_text_;
    std::string footer_text_;
    std::array<qssdk::ui::generic_panel, page::count> pages_;
    qssdk::ui::text_label welcome_title_, select_title_, installing_title_;
    qssdk::ui::text_label welcome_intro_, welcome_agree_label_, version_label_;
    qssdk::ui::text_label license_label_;
    qssdk::ui::text_label installing_intro_, finish_label_;
    qssdk::ui::text_label disk_space_label_;
    qssdk::ui::flow_panel select_flow_{qssdk::ui::flow_direction::vertical, true};
    BreakLine select_break_, installing_break_;
    ProgressBar progress_bar_;
    qssdk::ui::generic_panel license_frame_;
    qssdk::ui::scroll_bar license_scroll_;
    RoundedButton back_button_, next_button_, cancel_button_;
    // Page 2's result rows stand in a list that scrolls in its frame when they are more than the page holds.
    qssdk::ui::generic_panel result_frame_, result_list_;
    qssdk::ui::scroll_bar result_scroll_;
    // The Custom row's box first: the boxes are made from the last entry to the first.
    std::vector<std::unique_ptr<qssdk::ui::check_box>> host_check_boxes_;
    std::vector<std::unique_ptr<InstalledCheckbox>> result_rows_;
    qssdk::ui::text_label installing_status_, progress_label_;
    qssdk::ui::generic_button custom_plugin_button_;
    LinkButton footer_license_link_, welcome_license_link_;
    qssdk::ui::text_label custom_path_label_;
    qssdk::ui::text_label select_intro_;
    // Built once; the boxes hold pointers to the entries' checked flags, so it never grows afterwards.
    std::vector<host_entry> host_entries_;
    PageHistory pages_shown_;
    ClickGate click_gate_;
    // The controls the gate holds, each with whether its page offers it.
    struct gated_control {
        qssdk::ui::widget* control;
        bool usable;
    };
    std::array<gated_control, 4> gated_{{{&back_button_, false},
                                         {&next_button_, true},
                                         {&footer_license_link_, false},
                                         {&welcome_license_link_, true}}};
    bool finished_ = false;
    // YES to the CANCEL question during a run: a stop was asked for, and the end is reported as cancelled
    // unless the run installed every target all the same (run_ending).
    bool cancelled_ = false;
    bool installing_page_built_ = false;
    RunTotals totals_;
    std::optional<std::uint32_t> timer_connection_;
    std::uint32_t open_popups_ = 0;
};

}  // namespace installer
