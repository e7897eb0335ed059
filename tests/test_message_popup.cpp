// The message popup in a real window: its layout with the plug-in's defaults, how Enter, Escape and OK
// end it, and an image key set to nothing giving the text the image's room.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>

#include "ClientClick.h"
#include "ModalWatcher.h"
#include "message_popup.h"

namespace {

using qssdk::ui::message_popup;
using qssdk::ui::rect;

constexpr auto closeLimit = std::chrono::seconds(5);

struct ended_by {
    std::atomic<bool> acted{false}, fellBack{false};
};

// Shows the popup modally; the watcher's thread plays the user with `act`, and closes the popup itself if
// that did not end it in time (marking the run as fallen back).
int32_t runWith(message_popup& popup, const std::function<void(HWND)>& act, ended_by& end) {
    hostsim::ModalWatcher watcher({});
    watcher.setResponder([&](HWND window, const hostsim::seen_window&) {
        act(window);
        const auto deadline = std::chrono::steady_clock::now() + closeLimit;
        while (IsWindowVisible(window) && std::chrono::steady_clock::now() < deadline) Sleep(10);
        if (IsWindowVisible(window)) {
            end.fellBack = true;
            PostMessageW(window, WM_CLOSE, 0, 0);
        }
        end.acted = true;
    });
    const int32_t result = popup.show_modal();
    while (!end.acted) Sleep(10);  // the responder ends within closeLimit
    return result;
}

TEST(MessagePopup, WithTheDefaultsTheTextStartsRightOfTheImageAndTheButtonIsCentredAboveTheMargin) {
    message_popup popup({500, 200});
    popup.setup(nullptr, "Title", "A short message.");
    EXPECT_EQ(popup.image_size(), (qssdk::ui::size{28, 24}));
    EXPECT_EQ(popup.text_rect().x, 20 + 28 + 20);
    EXPECT_EQ(popup.text_rect().y, 20);
    const rect client = popup.get_root_widget().get_rect();
    EXPECT_EQ(client.width, 500);
    const rect ok = popup.ok_button().get_rect();
    EXPECT_EQ(ok, (rect{(500 - 100) / 2, client.height - 30 - 20, 100, 30}));
    EXPECT_FALSE(popup.dont_show_check_box().is_visible(false));
    EXPECT_FALSE(popup.dont_show_again());

    // An image key set to a value without an image unloads it: the text takes the image's room.
    popup.get_root_widget().get_style().set_color("message_popup_image", {0, 0, 0, 0});
    EXPECT_EQ(popup.image_size(), (qssdk::ui::size{0, 0}));
    EXPECT_EQ(popup.text_rect().x, 20);
}

TEST(MessagePopup, EnterAndEscapeEndItWith0AndOkWith1) {
    struct row {
        const char* what;
        std::function<void(HWND)> act;
        int32_t result;
    };
    const auto key = [](WPARAM code) { return [code](HWND w) { PostMessageW(w, WM_KEYDOWN, code, 1); }; };
    const row rows[] = {
        {"Enter", key(VK_RETURN), message_popup::result_dismissed},
        {"Escape", key(VK_ESCAPE), message_popup::result_dismissed},
        {"OK", nullptr, message_popup::result_ok},
    };
    for (const row& r : rows) {
        message_popup popup({500, 200});
        popup.setup(nullptr, "Title", "A short message.");
        const rect ok = popup.ok_button().get_rect();
        const std::function<void(HWND)> act =
            r.act ? r.act : [ok](HWND w) { hostsim::clickAt(w, ok.x + ok.width / 2, ok.y + ok.height / 2); };
        ended_by end;
        EXPECT_EQ(runWith(popup, act, end), r.result) << r.what;
        EXPECT_FALSE(end.fellBack) << r.what << " did not end the popup";
        EXPECT_FALSE(popup.dont_show_again()) << r.what;
    }
}

// A report far taller than the screen: the window fits the work area, the text is cut, and OK is on the
// screen where a click ends the popup.
TEST(MessagePopup, ALongTextIsCutSoTheWindowFitsTheScreenAndOkIsReachable) {
    std::string text;
    for (int line = 1; line <= 300; ++line) text += "Line " + std::to_string(line) + " of a long report.\n";
    message_popup popup({500, 200});
    popup.setup(nullptr, "Title", text);

    RECT outer{};
    GetWindowRect(popup.native_handle(), &outer);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(popup.native_handle(), MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    EXPECT_GE(outer.top, work.top);
    EXPECT_LE(outer.bottom, work.bottom) << "the window ends inside the work area";

    const rect client = popup.get_root_widget().get_rect();
    const rect ok = popup.ok_button().get_rect();
    EXPECT_EQ(ok.y + ok.height + 20, client.height) << "OK keeps its place above the bottom margin";
    EXPECT_LE(popup.text_rect().y + popup.text_rect().height, ok.y) << "the shown text ends above OK";
    EXPECT_GT(popup.text_rect().height, 14 * 10) << "many lines still show";

    ended_by end;
    EXPECT_EQ(runWith(popup, [ok](HWND w) { hostsim::clickAt(w, ok.x + ok.width / 2, ok.y + ok.height / 2); }, end),
              message_popup::result_ok);
    EXPECT_FALSE(end.fellBack) << "OK did not end the popup";
}

}  // namespace
