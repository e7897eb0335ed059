#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "ClickGate.h"
#include "HostEntry.h"
#include "HostVersions.h"
#include "InstallProgress.h"
#include "InstallPlan.h"
#include "InstallStatus.h"
#include "InstallerLayout.h"
#include "InstallSummary.h"
#include "PageFlow.h"
#include "RunControl.h"
#include "TickDecision.h"

namespace {

using namespace installer;
namespace status = installer::install_status;
using Entries = std::vector<host_entry>;

constexpr std::uint32_t custom = host_slot::custom;

host_entry host(std::uint32_t id, bool checked = true, std::uint32_t state = status::untouched) {
    return {id, L"C:\\Hosts\\" + std::to_wstring(id), L"", checked, state};
}
host_entry custom_row(bool checked, std::wstring folder = L"", std::uint32_t state = status::untouched) {
    return {custom, std::move(folder), L"", checked, state};
}

// ---- The host list and the one rule of what a run writes ----

TEST(HostEntries, EveryFoundFolderThenTheCustomRow) {
    std::vector<std::wstring> folders(host_slot::count);
    folders[4] = L"C:\\Program Files\\AE CS6\\Support Files\\Plug-ins";
    folders[host_slot::first_newer] = L"D:\\AE16\\Plug-ins";
    const Entries entries = make_host_entries(folders);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].id, 4u);
    EXPECT_EQ(entries[0].plugin_path, folders[4]);
    EXPECT_EQ(entries[0].scripts_path, L"C:\\Program Files\\AE CS6\\Support Files\\Scripts");
    EXPECT_EQ(entries[1].id, host_slot::first_newer);
    EXPECT_EQ(entries[1].scripts_path, L"D:\\AE16\\Scripts");
    for (const host_entry& e : {entries[0], entries[1]}) {
        EXPECT_TRUE(e.checked);
        EXPECT_EQ(e.state, status::untouched);
    }
    EXPECT_EQ(custom_entry(entries), &entries[2]);
    EXPECT_EQ(entries[2].id, custom);
    EXPECT_TRUE(entries[2].plugin_path.empty());
    EXPECT_FALSE(entries[2].checked);

    const Entries none = make_host_entries(std::vector<std::wstring>(host_slot::count));
    ASSERT_EQ(none.size(), 1u);
    EXPECT_EQ(none[0].id, custom);
    EXPECT_EQ(custom_entry(Entries{host(4)}), nullptr);
}

TEST(HostEntries, OneRuleDecidesWhatARunWrites) {
    const struct {
        host_entry entry;
        bool target, installable;
    } cases[] = {
        {host(5), true, true},
        {host(5, false), false, false},
        {host(5, true, status::installed), true, false},
        {host(5, true, status::file_not_created), true, true},
        {host(5, true, status::writing), true, true},
        {custom_row(true), false, false},
        {custom_row(true, L"E:\\Mine"), true, true},
        {custom_row(false, L"E:\\Mine"), false, false},
        {custom_row(true, L"E:\\Mine", status::installed), true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "id " << c.entry.id << " checked " << c.entry.checked << " folder "
                                        << !c.entry.plugin_path.empty() << " state " << c.entry.state);
        EXPECT_EQ(is_install_target(c.entry), c.target);
        EXPECT_EQ(is_installable(c.entry), c.installable);
    }

    // The same rule gives the folder list, the totals, what is left and the success test.
    const Entries entries = {host(4, true, status::installed), host(7), host(9, false), host(10, true, 40),
                             custom_row(true)};
    EXPECT_EQ(install_folders(entries),
              (std::vector<std::wstring>{L"", L"C:\\Hosts\\7", L"", L"C:\\Hosts\\10", L""}));
    const RunTotals totals = run_totals(entries, 1.5f);
    EXPECT_EQ(totals.target_count, 3u) << "the Custom row without a folder is no target";
    EXPECT_EQ(totals.total_size_mb, 4.5f);
    EXPECT_EQ(remaining_size_mb(entries, 1.5f), 3.0f);
    EXPECT_FALSE(every_target_installed(entries));
    EXPECT_TRUE(has_install_target(entries));
    EXPECT_EQ(result_row_entries(entries), (std::vector<std::size_t>{0, 1, 3}));
    const Entries done = {host(4, true, status::installed), host(9, false), custom_row(true)};
    EXPECT_TRUE(every_target_installed(done)) << "an unchecked host and a Custom row without a folder are no targets";
    EXPECT_FALSE(has_install_target(done)) << "nothing left to install";
    // Nothing chosen at all: no run can be a success, and there is nothing to install.
    for (const Entries& nothing : {Entries{custom_row(false)}, Entries{host(4, false), custom_row(true)}}) {
        EXPECT_FALSE(every_target_installed(nothing));
        EXPECT_FALSE(has_install_target(nothing));
    }
}

// ---- Disk space and summary ----

TEST(InstallPlan, DiskSpaceLine) {
    const std::string none;
    const struct {
        const char* name;
        Entries entries;
        std::string text;
    } cases[] = {
        {"no host", {custom_row(false)}, none},
        {"one host", {host(4), custom_row(false)}, "At least 2.9 MB of free disk space is required."},
        {"two hosts", {host(4), host(9), custom_row(false)}, "At least 5.9 MB of free disk space is required."},
        {"three hosts", {host(4), host(9), host(10), custom_row(false)},
         "At least 8.8 MB of free disk space is required."},
        {"three found, one unchecked", {host(4), host(9, false), host(10), custom_row(false)},
         "At least 5.9 MB of free disk space is required."},
        {"Custom checked without a folder", {custom_row(true)}, none},
        {"Custom with a folder", {custom_row(true, L"E:\\Mine")}, "At least 2.9 MB of free disk space is required."},
        {"one installed already", {host(4, true, status::installed), host(9), custom_row(true)},
         "At least 2.9 MB of free disk space is required."},
    };
    const float plugin_mb = size_in_mb(3070976);
    for (const auto& c : cases) EXPECT_EQ(disk_space_text(c.entries, plugin_mb), c.text) << c.name;
    EXPECT_EQ(format_number(plugin_mb), "2.9");
    // The figure follows the size of the plug-in the installer carries.
    EXPECT_EQ(disk_space_text({host(4), host(9), custom_row(false)}, size_in_mb(10 * 1024 * 1024)),
              "At least 20.0 MB of free disk space is required.");
    EXPECT_EQ(size_in_mb(1536 * 1024), 1.5f);
    EXPECT_EQ(format_number(0.0), "0.0");
    EXPECT_EQ(format_number(0.05), "0.1");
}

TEST(InstallSummary, FractionStaysWithinZeroAndOne) {
    const struct {
        std::uint32_t installed, targets;
        float fraction;
    } cases[] = {
        {0, 0, 0.0f}, {0, 2, 0.0f}, {1, 2, 0.5f}, {2, 2, 1.0f}, {1, 3, 1.0f / 3.0f}, {3, 2, 1.0f},
    };
    for (const auto& c : cases) {
        const float f = progress_fraction(c.installed, c.targets);
        EXPECT_FALSE(std::isnan(f));
        EXPECT_FLOAT_EQ(f, c.fraction) << c.installed << " of " << c.targets;
    }
}

TEST(InstallSummary, PercentageLineOfARun) {
    const auto line = [](const char* inner) {
        return std::string("<html><body><font color = \"#1b6936\">") + inner + "</body></html>";
    };
    const struct {
        const char* name;
        Entries entries;
        float fraction;
        std::string html;
    } cases[] = {
        {"nothing written yet", {host(4, true, status::writing), host(9)}, 0.0f,
         line("0% </font> Complete (0.0MB of 5.9MB)")},
        {"one of two", {host(4, true, status::installed), host(9, true, status::writing)}, 0.5f,
         line("50% </font> Complete (2.9MB of 5.9MB)")},
        {"one of three", {host(4, true, status::installed), host(9), host(10)}, 1.0f / 3.0f,
         line("33% </font> Complete (2.9MB of 8.8MB)")},
        {"two of three", {host(4, true, status::installed), host(9, true, status::installed), host(10)},
         2.0f / 3.0f, line("67% </font> Complete (5.9MB of 8.8MB)")},
        {"no targets", {custom_row(true)}, 0.0f, line("0% </font> Complete (0.0MB of 0.0MB)")},
        // Over: what was written, not 100 %.
        {"ended with a failure", {host(4, true, status::installed), host(9, true, 50)}, 0.5f,
         line("50% </font> Complete (2.9MB of 5.9MB)")},
        {"ended with every target failed", {host(4, true, 40), host(9, true, 50)}, 0.0f,
         line("0% </font> Complete (0.0MB of 5.9MB)")},
        {"a retry counts the earlier install",
         {host(4, true, status::installed), host(9, true, status::writing), custom_row(true, L"E:\\Mine", 40)},
         1.0f / 3.0f, line("33% </font> Complete (2.9MB of 8.8MB)")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ProgressSummary summary = summarize(c.entries, run_totals(c.entries, size_in_mb(3070976)));
        EXPECT_FLOAT_EQ(summary.fraction, c.fraction);
        EXPECT_EQ(summary.html, c.html);
    }
}

TEST(InstallSummary, ResultRows) {
    EXPECT_FALSE(result_row(host(4), "CS6"));
    EXPECT_FALSE(result_row(host(4, true, status::writing), "CS6"));
    const auto installed = result_row(host(4, true, status::installed), "CS6");
    ASSERT_TRUE(installed);
    EXPECT_EQ(installed->text, "QS Pellux for After Effects CS6 installed.");
    EXPECT_TRUE(installed->installed);
    const auto failed = result_row(host(11, true, status::write_failed), "16.0");
    ASSERT_TRUE(failed);
    EXPECT_EQ(failed->text, "QS Pellux for After Effects 16.0 not installed.");
    EXPECT_FALSE(failed->installed);
}

// ---- The tick ----

TEST(TickDecision, DecidesFromOneSnapshot) {
    const auto snapshot = [](bool done, std::vector<std::uint32_t> codes, std::vector<std::uint32_t> errors = {}) {
        errors.resize(codes.size(), 0);
        return install_progress{done, codes, errors};
    };
    using F = std::vector<TargetFailure>;
    const Entries list = {host(4), host(9), host(10), custom_row(false)};
    const struct {
        const char* name;
        install_progress snapshot;
        TickKind kind;
        F failures;
        std::vector<std::uint32_t> states;
    } cases[] = {
        {"still writing", snapshot(false, {2, 1, 0, 0}), TickKind::writing, {}, {2, 1, 0, 0}},
        {"still writing after a failure", snapshot(false, {40, 1, 0, 0}, {5}), TickKind::writing, {}, {40, 1, 0, 0}},
        {"success", snapshot(true, {2, 2, 2, 0}), TickKind::succeeded, {}, {2, 2, 2, 0}},
        {"one failure", snapshot(true, {2, 50, 2, 0}, {0, 32}), TickKind::failed, F{{1, 50, 32}}, {2, 50, 2, 0}},
        {"several failures: every one", snapshot(true, {20, 2, 40, 0}, {1813, 0, 5}), TickKind::failed,
         F{{0, 20, 1813}, {2, 40, 5}}, {20, 2, 40, 0}},
        {"no worker", snapshot(true, {10, 10, 10, 0}), TickKind::failed,
         F{{0, status::worker_not_started, 0}, {1, status::worker_not_started, 0}, {2, status::worker_not_started, 0}},
         {10, 10, 10, 0}},
        {"a target left untouched is no success", snapshot(true, {2, 0, 2, 0}), TickKind::failed, F{{1, 0, 0}},
         {2, 0, 2, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Entries entries = list;
        const TickOutcome outcome = decide_tick(c.snapshot, entries);
        EXPECT_EQ(outcome.kind, c.kind);
        EXPECT_EQ(outcome.failures, c.failures);
        for (size_t i = 0; i < entries.size(); ++i) EXPECT_EQ(entries[i].state, c.states[i]) << "entry " << i;
    }

    // A retry's snapshot keeps the earlier states of the targets it skips (their codes stay in the list).
    Entries retried = {host(4, true, status::installed), host(9, true, status::file_not_created)};
    EXPECT_EQ(decide_tick(snapshot(true, {0, 2}), retried).kind, TickKind::succeeded);
    EXPECT_EQ(retried[0].state, status::installed);
    // A run that had nothing to write is never a success.
    Entries nothing = {custom_row(true)};
    const TickOutcome none = decide_tick(snapshot(true, {0}), nothing);
    EXPECT_EQ(none.kind, TickKind::failed);
    EXPECT_TRUE(none.failures.empty());
}

// A stop that came when nothing was left to stop is no cancel: the run's result stands.
TEST(TickDecision, ARunEndsAsWhatItDid) {
    const struct {
        TickKind over;
        bool stop_asked;
        RunEnding ending;
    } cases[] = {
        {TickKind::succeeded, false, RunEnding::success},
        {TickKind::succeeded, true, RunEnding::success},
        {TickKind::failed, true, RunEnding::cancelled},
        {TickKind::failed, false, RunEnding::failure_question},
    };
    for (const auto& c : cases)
        EXPECT_EQ(run_ending(c.over, c.stop_asked), c.ending) << static_cast<int>(c.over) << " " << c.stop_asked;
}

// ---- Pages ----

TEST(PageFlow, FooterOfEveryPage) {
    const ControlState on{true, true}, off{false, false}, unchanged{};
    const struct {
        std::uint32_t page;
        PageControls controls;
    } cases[] = {
        {page::welcome, {{false, true}, on, unchanged, on, "CANCEL", "I AGREE"}},
        {page::select, {on, on, unchanged, off, "CANCEL", "INSTALL"}},
        {page::installing, {{false, std::nullopt}, unchanged, {false, std::nullopt}, off, "CANCEL", "INSTALL"}},
        {page::license, {on, on, unchanged, off, "CANCEL", "I AGREE"}},
    };
    for (const auto& c : cases) EXPECT_EQ(page_controls(c.page), c.controls) << "page " << c.page;
}

TEST(PageFlow, ClickRoutingOnEveryPage) {
    using C = FooterControl;
    const ClickAction none{}, finish{ClickKind::finish}, ask{ClickKind::ask_cancel};
    const auto to = [](std::uint32_t n) { return ClickAction{ClickKind::show_page, n}; };
    const struct {
        C control;
        std::uint32_t current, previous;
        bool finished;
        ClickAction action;
    } cases[] = {
        {C::back, page::welcome, page::welcome, false, none},
        {C::next, page::welcome, page::welcome, false, to(page::select)},
        {C::cancel, page::welcome, page::welcome, false, ask},
        {C::footer_license_link, page::welcome, page::welcome, false, to(page::license)},
        {C::welcome_license_link, page::welcome, page::select, false, to(page::license)},
        {C::back, page::select, page::welcome, false, to(page::welcome)},
        {C::next, page::select, page::welcome, false, to(page::installing)},
        {C::cancel, page::select, page::welcome, false, ask},
        {C::footer_license_link, page::select, page::welcome, false, to(page::license)},
        {C::back, page::installing, page::select, false, none},
        {C::next, page::installing, page::select, false, none},
        {C::cancel, page::installing, page::select, false, ask},
        {C::next, page::installing, page::select, true, finish},
        {C::back, page::installing, page::select, true, none},
        {C::back, page::license, page::welcome, false, to(page::welcome)},
        {C::next, page::license, page::welcome, false, to(page::welcome)},
        {C::next, page::license, page::select, false, to(page::select)},
        {C::back, page::license, page::select, false, to(page::select)},
        {C::cancel, page::license, page::welcome, false, ask},
        {C::footer_license_link, page::license, page::welcome, false, none},
        {C::welcome_license_link, page::license, page::welcome, false, none},
        {C::next, page::license, page::license, false, none},
    };
    for (const auto& c : cases)
        EXPECT_EQ(route_click(c.control, {c.current, c.previous}, c.finished, true), c.action)
            << "control " << static_cast<int>(c.control) << " on page " << c.current << " from " << c.previous
            << (c.finished ? ", finished" : "");
    // Nothing chosen: INSTALL leads nowhere; every other move is as above.
    EXPECT_EQ(route_click(C::next, {page::select, page::welcome}, false, false), none);
    EXPECT_EQ(route_click(C::next, {page::welcome, page::welcome}, false, false), to(page::select));
    EXPECT_EQ(route_click(C::back, {page::select, page::welcome}, false, false), to(page::welcome));
}

TEST(PageFlow, EveryWalkStaysWithinTheFourPages) {
    // Click sequences as a person might make them, each followed through the history.
    using C = FooterControl;
    const struct {
        std::vector<C> clicks;
        std::uint32_t page;
    } walks[] = {
        {{C::footer_license_link, C::next}, page::welcome},
        {{C::welcome_license_link, C::back, C::next}, page::select},
        {{C::footer_license_link, C::footer_license_link, C::back}, page::welcome},
        {{C::back, C::back, C::next, C::back, C::back}, page::welcome},
        {{C::next, C::next, C::next, C::back, C::next}, page::installing},
        {{C::next, C::footer_license_link, C::next, C::back}, page::welcome},
    };
    for (const auto& walk : walks) {
        PageHistory pages;
        for (const C click : walk.clicks) {
            const ClickAction action = route_click(click, pages, false, true);
            if (action.kind == ClickKind::show_page) pages.show(action.page);
            ASSERT_LT(pages.current, page::count);
            ASSERT_LT(pages.previous, page::count);
        }
        EXPECT_EQ(pages.current, walk.page);
    }
    PageHistory pages{page::select, page::welcome};
    pages.show(page::count);
    EXPECT_EQ(pages.current, page::select) << "no page beyond the four";
    EXPECT_EQ(pages.previous, page::welcome);
}

// ---- Layout ----

TEST(InstallerLayout, FramePagesAndFooterOfTheThemedWindow) {
    using qssdk::ui::rect;
    const layout::FrameSizes sizes{64, 50, 450, 500, 1024, 610};
    const layout::Frame frame = layout::frame(sizes);
    EXPECT_EQ(frame.header, rect(0, 0, 1024, 64));
    EXPECT_EQ(frame.header_text, rect(764, 0, 260, 64));
    EXPECT_EQ(frame.banner, rect(0, 64, 450, 500));
    EXPECT_EQ(frame.background, rect(450, 64, 574, 496));
    EXPECT_EQ(frame.footer, rect(0, 560, 1024, 50));
    EXPECT_EQ(frame.footer_text, rect(28, 560, 180, 50));
    EXPECT_EQ(layout::logo(sizes, 118, 36), rect(28, 14, 118, 36));
    EXPECT_EQ(layout::logo(sizes, 118, 37), rect(28, 13, 118, 37)) << "halves round toward zero";

    const rect area = layout::page_area(sizes);
    EXPECT_EQ(area, rect(450, 64, 574, 496));
    EXPECT_EQ(layout::centred(area, 424, 301), rect(525, 161, 424, 301));

    const layout::Footer footer = layout::footer(sizes);
    EXPECT_EQ(footer.license_link, rect(180, 577, 210, 15));
    EXPECT_EQ(footer.cancel, rect(504, 570, 110, 30));
    EXPECT_EQ(footer.back, rect(644, 570, 110, 30));
    EXPECT_EQ(footer.next, rect(814, 570, 170, 30));
}

TEST(InstallerLayout, HostRowsNewestFirstWithTheCustomRowBesideThem) {
    using qssdk::ui::rect;
    const Entries entries = {host(4), host(6), host(7), host(10), host(11), custom_row(false)};
    EXPECT_EQ(layout::host_rows(entries, 120), (std::vector<rect>{
                                                   {0, 160, 85, 14},   // CS6, last of the walk
                                                   {95, 140, 85, 14},  // CC2014
                                                   {0, 140, 85, 14},   // CC2015
                                                   {95, 120, 85, 14},  // CC2018
                                                   {0, 120, 85, 14},   // the other version, first
                                                   {190, 120, 85, 14}, // Custom
                                               }));
    EXPECT_EQ(layout::host_rows({custom_row(false)}, 120), std::vector<rect>{rect(190, 120, 85, 14)});
    EXPECT_EQ(layout::custom_folder_button(120), rect(285, 115, 110, 25));

    // Every slot found: the table's seven and the newer versions fill the grid two by two, newest first,
    // in rows of 20 below the Custom row's.
    std::vector<std::wstring> folders(host_slot::count);
    for (std::size_t slot = 4; slot < host_slot::custom; ++slot) folders[slot] = L"C:\\Hosts\\" + std::to_wstring(slot);
    const Entries all = make_host_entries(folders);
    ASSERT_EQ(all.size(), 7 + host_slot::newer_count + 1);
    const std::vector<rect> rows = layout::host_rows(all, 0);
    EXPECT_EQ(rows[all.size() - 2], rect(0, 0, 85, 14)) << "the newest version first";
    EXPECT_EQ(rows[0], rect(0, 180, 85, 14)) << "CS6 last, in the tenth row";
}

// ---- Versions that name one folder ----

TEST(SharedFolders, AFolderIsWrittenOnceCountedOnceAndNamesEveryVersionItServes) {
    const auto at = [](std::uint32_t id, std::wstring folder, std::uint32_t state = status::untouched) {
        return host_entry{id, std::move(folder), L"", true, state};
    };
    // 13.5, 14.0 and 15.0 name one folder (written differently), 16.0 one of its own.
    const Entries entries = {at(7, L"C:\\AE\\Plug-ins"), at(9, L"c:\\ae\\plug-ins\\"), at(10, L"C:\\AE\\Plug-ins"),
                             at(11, L"D:\\AE16"), custom_row(false)};
    EXPECT_TRUE(same_folder(L"C:\\AE\\Plug-ins", L"c:\\ae\\PLUG-INS\\\\"));
    EXPECT_FALSE(same_folder(L"C:\\AE\\Plug-ins", L"C:\\AE\\Plug-ins2"));
    EXPECT_EQ(folder_writers(entries), (std::vector<std::size_t>{0, 0, 0, 3, 4}));
    EXPECT_EQ(install_folders(entries), (std::vector<std::wstring>{L"C:\\AE\\Plug-ins", L"", L"", L"D:\\AE16", L""}));
    const float plugin_mb = size_in_mb(3070976);
    EXPECT_EQ(disk_space_text(entries, plugin_mb), "At least 5.9 MB of free disk space is required.");
    EXPECT_EQ(run_totals(entries, plugin_mb).total_size_mb, 2 * plugin_mb);
    EXPECT_EQ(result_row_entries(entries), (std::vector<std::size_t>{0, 3}));
    EXPECT_EQ(served_entries(entries, 0), (std::vector<std::size_t>{0, 1, 2}));
    EXPECT_EQ(joined_names({"CC2015", "CC2017", "CC2018"}), "CC2015, CC2017 and CC2018");
    EXPECT_EQ(joined_names({"CC2015", "CC2017"}), "CC2015 and CC2017");
    EXPECT_EQ(joined_names({"CC2015"}), "CC2015");

    // The one write's result is every version's; a failed folder is reported once, by its writer.
    Entries after = entries;
    const TickOutcome done = decide_tick({true, {2, 0, 0, 2, 0}, {0, 0, 0, 0, 0}}, after);
    EXPECT_EQ(done.kind, TickKind::succeeded);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(after[i].state, status::installed) << i;
    Entries failed = entries;
    const TickOutcome failure = decide_tick({true, {50, 0, 0, 2, 0}, {32, 0, 0, 0, 0}}, failed);
    EXPECT_EQ(failure.failures, (std::vector<TargetFailure>{{0, 50, 32}}));
    EXPECT_EQ(failed[2].state, status::write_failed);
    // A version left unchecked shares nothing: the next one with the folder writes it.
    Entries unchecked = entries;
    unchecked[0].checked = false;
    EXPECT_EQ(install_folders(unchecked)[1], L"c:\\ae\\plug-ins\\");
}

// ---- Values written by hand ----

TEST(HostVersions, AValueWrittenByHandNamesItsFolder) {
    const struct {
        const wchar_t* value;
        const wchar_t* folder;
    } cases[] = {
        {L"C:\\AE\\Plug-ins", L"C:\\AE\\Plug-ins"},
        {L"\"C:\\AE\\Plug-ins\"", L"C:\\AE\\Plug-ins"},
        {L"  C:\\AE\\Plug-ins \t", L"C:\\AE\\Plug-ins"},
        {L" \" C:/AE/Plug-ins \" ", L"C:\\AE\\Plug-ins"},
        {L"C:\\AE Files\\Plug-ins", L"C:\\AE Files\\Plug-ins"},  // blanks inside stay
        {L"\"", L"\""},                                           // a lone quote is no pair
        {L"\"\"", L""},
        {L"   ", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(cleaned_folder(c.value), c.folder) << std::wstring(c.value).size();

    const HostSlots slots = assign_host_slots({{L"13.5", L"\"D:\\AE 2015\\Plug-ins\""}, {L"16.0", L"  E:/AE16  "},
                                               {L"14.0", L"\" \""}});
    EXPECT_EQ(slots.folders[7], L"D:\\AE 2015\\Plug-ins");
    EXPECT_EQ(slots.folders[host_slot::first_newer], L"E:\\AE16");
    EXPECT_EQ(slots.folders[9], L"") << "quotes around nothing name no folder";
}

// ---- Which clicks of the footer count ----

// The window's side of the gate: a tick every 200 ms (the kit's timer), the page drawn again whenever the
// look of its gated controls changed, and a click that walks on showing the next page, drawn at once.
struct GatedFooter {
    static constexpr double tick_period = 0.2;
    static constexpr double press_to_release = 0.03;

    explicit GatedFooter(double shown) : next_tick(shown) { show(shown); }
    void show(double t) {
        gate.page_shown(t);
        gate.page_drawn();
    }
    void run_until(double t) {
        for (; next_tick <= t; next_tick += tick_period)
            if (gate.tick(next_tick)) gate.page_drawn();
    }
    // A press and its release: true when the click acted (and the next page shows).
    bool click(double t, PressButton button = PressButton::left) {
        run_until(t);
        const bool was_open = gate.looks_open();
        gate.press(t, button);
        if (gate.looks_open() != was_open) gate.page_drawn();
        if (button != PressButton::left) {
            gate.release();
            return false;
        }
        if (!gate.take_click(t + press_to_release)) return false;
        show(t + press_to_release);
        return true;
    }

    ClickGate gate;
    double next_tick;
};

TEST(ClickGate, APageOpensOnceDrawnQuietAndDrawnOpen) {
    const double q = ClickGate::quiet_seconds;
    ClickGate gate;
    gate.page_shown(10.0);
    EXPECT_FALSE(gate.looks_open());
    EXPECT_FALSE(gate.tick(10.0 + 2 * q)) << "the page was not drawn yet";
    gate.page_drawn();
    EXPECT_FALSE(gate.tick(10.0 + q / 2)) << "the page has not stood for its quiet span";
    EXPECT_TRUE(gate.tick(10.0 + 2 * q));
    EXPECT_TRUE(gate.looks_open());
    EXPECT_FALSE(gate.tick(10.0 + 2 * q + 0.1)) << "the look changes once";

    // Open, but the enabled look is not on the screen yet: a key on the control is refused.
    EXPECT_FALSE(gate.take_click(10.0 + 2 * q));
    EXPECT_FALSE(gate.looks_open()) << "the refusal closed the gate again";

    ClickGate drawn;
    drawn.page_shown(0.0);
    drawn.page_drawn();
    ASSERT_TRUE(drawn.tick(q));
    drawn.page_drawn();
    EXPECT_TRUE(drawn.press(q + 0.01, PressButton::left));
    EXPECT_TRUE(drawn.take_click(q + 0.05));
    EXPECT_TRUE(drawn.take_click(q + 0.1)) << "Enter on the open page";
    drawn.page_shown(q + 0.1);
    drawn.page_drawn();
    EXPECT_FALSE(drawn.take_click(q + 0.2)) << "Enter on a page just shown";
}

// Hurried series walk on once; a refused press delays the page once, so clicking on and on walks on as
// soon as the control looks enabled, and so does the first click after a pause.
TEST(ClickGate, AHurriedSeriesWalksOnOnceAndARefusalDelaysOnce) {
    const double q = ClickGate::quiet_seconds, hold = ClickGate::refused_hold_seconds;
    // The clicks that act: the first, and in the long series the first after the one refusal's hold ran
    // out (the press at 1.41 holds the page until 2.91, the tick at 3.0 opens it, the click at 3.01 acts).
    const struct {
        int clicks;
        double gap;
        std::vector<int> acting;
    } series[] = {{2, 0.1, {0}}, {3, 0.08, {0}}, {6, 0.25, {0}}, {8, 0.4, {0, 5}}};
    for (const auto& c : series) {
        GatedFooter footer(0.0);
        std::vector<int> acted;
        for (int i = 0; i < c.clicks; ++i)
            if (footer.click(1.01 + i * c.gap)) acted.push_back(i);
        EXPECT_EQ(acted, c.acting) << c.clicks << " clicks " << c.gap << " s apart";
    }

    // Refused presses after the first delay nothing: the control opens when the first refusal's hold
    // ends, and the next click acts.
    GatedFooter footer(0.0);
    footer.run_until(1.0);
    ASSERT_TRUE(footer.click(1.0));
    EXPECT_FALSE(footer.click(1.1));
    EXPECT_FALSE(footer.click(1.1 + hold - 0.1));
    footer.run_until(1.1 + hold + GatedFooter::tick_period);
    EXPECT_TRUE(footer.gate.looks_open()) << "a later refusal delayed the page again";
    EXPECT_TRUE(footer.click(1.1 + hold + GatedFooter::tick_period));

    // Right and middle presses neither act nor delay.
    GatedFooter other(0.0);
    EXPECT_FALSE(other.click(0.1, PressButton::right));
    EXPECT_FALSE(other.click(0.2, PressButton::middle));
    other.run_until(q + GatedFooter::tick_period);
    EXPECT_TRUE(other.gate.looks_open()) << "a right or middle press delayed the page";
    EXPECT_FALSE(other.click(q + GatedFooter::tick_period, PressButton::right));
    EXPECT_TRUE(other.click(q + 2 * GatedFooter::tick_period));
}

TEST(ClickGate, APressBelongsToThePageItBeganOn) {
    GatedFooter footer(0.0);
    footer.run_until(1.0);
    ClickGate& gate = footer.gate;
    EXPECT_TRUE(gate.press(1.0, PressButton::left));
    // Another page appears (a key walked on) before the press is released.
    footer.show(1.1);
    footer.run_until(2.0);
    ASSERT_TRUE(gate.looks_open());
    EXPECT_FALSE(gate.take_click(2.0)) << "a press of the page before";

    // A release elsewhere ends the press: a later Enter is judged at its click.
    EXPECT_TRUE(gate.press(3.0, PressButton::left));
    gate.release();
    EXPECT_TRUE(gate.take_click(3.1));
}

// ---- Steering a run ----

TEST(RunControl, AHeldRunWaitsAndAStopEndsItBeforeItsNextTarget) {
    RunControl control;
    EXPECT_TRUE(control.may_continue());
    control.hold();
    std::atomic<int> asked{0}, answered{0};
    std::atomic<bool> answer{true};
    std::thread worker([&] {
        ++asked;
        answer = control.may_continue();
        ++answered;
    });
    // The worker has asked; a hold that does not hold lets it through at once (it would answer within
    // the bound). Resumed, it goes on.
    while (asked == 0) std::this_thread::yield();
    const auto bound = std::chrono::steady_clock::now() + std::chrono::milliseconds(300);
    while (answered == 0 && std::chrono::steady_clock::now() < bound) std::this_thread::yield();
    EXPECT_EQ(answered, 0) << "a held run went on";
    control.resume();
    worker.join();
    EXPECT_EQ(answered, 1);
    EXPECT_TRUE(answer);

    control.hold();
    std::thread stopped([&] { answer = control.may_continue(); });
    control.stop();
    stopped.join();
    EXPECT_FALSE(answer) << "a held run that is stopped ends";
    EXPECT_FALSE(control.may_continue());
    EXPECT_TRUE(control.stopped());
    control.reset();
    EXPECT_FALSE(control.stopped());
    EXPECT_TRUE(control.may_continue()) << "a new run starts free";
}

TEST(InstallSummary, ACancelledRunSaysWhetherAnyVersionHoldsThePlugin) {
    EXPECT_EQ(cancelled_intro({host(7, true, status::untouched), host(9, true, status::untouched)}),
              "Installation cancelled. QS Pellux was not installed.");
    EXPECT_EQ(cancelled_intro({host(7, true, status::installed), host(9, true, status::untouched)}),
              "Installation cancelled. QS Pellux is installed for the versions listed below.");
    EXPECT_EQ(cancelled_intro({host(7, false, status::installed)}), "Installation cancelled. QS Pellux was not installed.")
        << "an entry left out of the run is no result of it";
}

}  // namespace
