// The simulated host's watcher reads a kit window the effect opens (title, class, owner, client size and
// what it shows) before it dismisses it.
#include <gtest/gtest.h>

#include <windows.h>

#include "ModalWatcher.h"
#include "PaintTestSupport.h"
#include "TestWindow.h"
#include "event_manager.h"
#include "painter.h"
#include "window.h"

namespace {

using namespace qssdk::ui;

constexpr int clientWidth = 120, clientHeight = 80;

// Ends a modal loop the watcher failed to end, so that the test cannot hang on it.
window* stuckDialog = nullptr;
void CALLBACK giveUp(HWND, UINT, UINT_PTR, DWORD) {
    if (stuckDialog) stuckDialog->close(true);
}

TEST(ModalWatcher, ReadsAKitWindowBeforeItDismissesIt) {
    window owner;
    owner.create("Watched Owner", {0, 0, 40, 40});
    hostsim::ModalWatcher watcher({owner.native_handle()});

    window dialog;
    dialog.set_owner(&owner);
    dialog.create("Watched \xC3\x84" "bout", {0, 0, clientWidth, clientHeight});
    // Left half red, right half blue.
    event_manager::instance().connect(&dialog.get_root_widget(), &dialog, event_id::paint, [&](const event_info&) {
        painter& p = *dialog.get_painter();
        p.set_fill_color(paint_test::red);
        p.fill_rect({0, 0, clientWidth / 2, clientHeight});
        p.set_fill_color(paint_test::blue);
        p.fill_rect({clientWidth / 2, 0, clientWidth / 2, clientHeight});
    });
    // Below the simulated host's window, which tests running alongside show at the top-left.
    SetWindowPos(dialog.native_handle(), nullptr, 60, TestWindow::free_band_top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    stuckDialog = &dialog;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20000, giveUp);
    dialog.show_modal();
    KillTimer(nullptr, timer);
    stuckDialog = nullptr;

    const std::vector<hostsim::seen_window> seen = watcher.seen();
    ASSERT_EQ(seen.size(), 1u);
    const hostsim::seen_window& shown = seen[0];
    EXPECT_EQ(shown.title, "Watched \xC3\x84" "bout");
    EXPECT_EQ(shown.className.rfind("QSSDK_WINDOW_CLASS", 0), 0u) << shown.className;
    EXPECT_EQ(shown.owner, owner.native_handle());
    EXPECT_EQ(shown.width, MulDiv(clientWidth, static_cast<int>(dialog.dpi_x()), 96));
    EXPECT_EQ(shown.height, MulDiv(clientHeight, static_cast<int>(dialog.dpi_y()), 96));
    ASSERT_EQ(shown.pixels.width(), shown.width);
    const hostsim::rgba left = shown.pixels.at(shown.width / 4, shown.height / 2);
    const hostsim::rgba right = shown.pixels.at(shown.width * 3 / 4, shown.height / 2);
    EXPECT_TRUE(paint_test::shows(left, paint_test::red)) << paint_test::describe(left);
    EXPECT_TRUE(paint_test::shows(right, paint_test::blue)) << paint_test::describe(right);
}

}  // namespace
