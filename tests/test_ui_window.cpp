// The kit's window on a real display: class and styles, sizes, the modal loop and closing, posted input
// reaching the right widget, the painted picture against a reference, and teardown. Every wait is bounded:
// a modal loop that does not end by itself is ended by a WM_QUIT from a watchdog, which fails the test.
//
// The reference picture is tests/reference/ui_window_paint.png; after a deliberate change of the look,
// write it anew with
//     PELLUX_REGENERATE_REFERENCES=1 ./pellux test -R UiWindow.Painted
// look at it, and commit it with the change.
#include <gtest/gtest.h>

#include <windows.h>
#include <imm.h>
#include <wtsapi32.h>

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "DebugOutput.h"
#include "ReferencePictures.h"
#include "event_manager.h"
#include "image.h"
#include "ime_state.h"
#include "painter.h"
#include "pair_packing.h"
#include "render_context.h"
#include "style_table.h"
#include "text_codes.h"
#include "timer_table.h"
#include "tooltip.h"
#include "ui_test_support.h"
#include "ui_watchdog.h"
#include "window.h"
#include "window_capture.h"
#include "window_styles.h"

namespace {

using namespace qssdk::ui;
using ui_test::event_log;
using ui_test::logged_event;

// Windows read back are topmost and below the simulated host's 1280 x 800 window, which tests running at
// the same time show at the screen's top-left.
constexpr int32_t read_back_top = 850;

// A window whose WM_USER messages run a test's function.
struct probe_window : window {
    void on_user_message(uint32_t value) override {
        if (on_user) on_user(value);
    }
    std::function<void(uint32_t)> on_user;
};

// The thread's queued messages of one kind, taken out.
std::vector<MSG> take_messages(HWND hwnd, UINT kind) {
    std::vector<MSG> taken;
    MSG msg;
    while (PeekMessageW(&msg, hwnd, kind, kind, PM_REMOVE)) taken.push_back(msg);
    return taken;
}

RECT client_rect(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return r;
}

class UiWindow : public testing::Test {
protected:
    void TearDown() override {
        // A WM_QUIT left by the watchdog would end the next test's loop at once.
        EXPECT_TRUE(take_messages(nullptr, WM_QUIT).empty()) << "the watchdog had to end a modal loop";
    }
    ui_test::watchdog guard;
};

TEST_F(UiWindow, ClassStylesAndClientSizeAt96Dpi) {
    window w;
    w.create("Styles", {100, 120, 300, 200}, resizable | minimize_box);
    const HWND hwnd = w.native_handle();
    ASSERT_NE(hwnd, nullptr);
    ASSERT_EQ(w.dpi_x(), 96u) << "the test prefix's screen has 96 DPI";
    wchar_t name[300] = {};
    GetClassNameW(hwnd, name, 300);
    EXPECT_STREQ(name, L"QSSDK_WINDOW_CLASS");
    wchar_t title[32] = {};
    GetWindowTextW(hwnd, title, 32);
    EXPECT_STREQ(title, L"Styles");
    const DWORD kinds =
        WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CLIPCHILDREN;
    EXPECT_EQ(GetWindowLongW(hwnd, GWL_STYLE) & kinds,
              static_cast<LONG>(WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_CLIPCHILDREN));
    EXPECT_EQ(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(client_rect(hwnd).right, 300);
    EXPECT_EQ(client_rect(hwnd).bottom, 200);
    EXPECT_EQ(w.get_root_widget().get_rect(), (rect{0, 0, 300, 200}));
    EXPECT_EQ(w.get_root_widget().get_name(), "BaseWidget");
    EXPECT_EQ(w.get_widgets(), std::vector<widget*>{&w.get_root_widget()});
    EXPECT_EQ(w.get_focus_widget(), &w.get_root_widget());

    // The rect is the client size at the outer position.
    const rect outer = w.get_rect();
    EXPECT_EQ(outer.x, 100);
    EXPECT_EQ(outer.y, 120);
    w.set_rect({50, 60, 320, 240});
    EXPECT_EQ(client_rect(hwnd).right, 320);
    EXPECT_EQ(client_rect(hwnd).bottom, 240);
    const rect client = w.get_client_rect();
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    EXPECT_EQ(client, (rect{origin.x, origin.y, 320, 240}));
    EXPECT_EQ(w.get_rect().x, 50);

    // With no owner the window is centred on the screen by its client size.
    w.center();
    RECT placed{};
    GetWindowRect(hwnd, &placed);
    EXPECT_EQ(placed.left, (GetSystemMetrics(SM_CXSCREEN) - 320) / 2);
    EXPECT_EQ(placed.top, (GetSystemMetrics(SM_CYSCREEN) - 240) / 2);

    // Flags 66: a topmost popup without caption, its outer size the client size.
    window tip;
    tip.set_owner(&w);
    tip.create("", {0, 0, 400, 200}, popup | topmost);
    EXPECT_EQ(GetWindowLongW(tip.native_handle(), GWL_STYLE) & kinds, static_cast<LONG>(WS_POPUP | WS_CLIPCHILDREN));
    EXPECT_NE(GetWindowLongW(tip.native_handle(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(tip.get_rect().width, 400);
    EXPECT_EQ(GetWindow(tip.native_handle(), GW_OWNER), hwnd);
    // Centred over its owner.
    tip.center();
    RECT tip_placed{};
    GetWindowRect(tip.native_handle(), &tip_placed);
    EXPECT_EQ(tip_placed.left, placed.left + (placed.right - 400 - placed.left) / 2);

    // A borderless, resizable window answers the resize hit test itself: 8 DIPs of each edge resize it.
    window frameless;
    frameless.create("", {100, 100, 200, 100}, borderless | resizable);
    const auto hit = [&](int x, int y) {
        return SendMessageW(frameless.native_handle(), WM_NCHITTEST, 0, MAKELPARAM(100 + x, 100 + y));
    };
    EXPECT_EQ(hit(2, 50), HTLEFT);
    EXPECT_EQ(hit(197, 97), HTBOTTOMRIGHT);
    EXPECT_EQ(hit(100, 3), HTTOP);
    EXPECT_EQ(hit(100, 50), HTCLIENT);
}

// Run in a fresh process, where the kit has registered no class yet: another module of the process holds
// the name, then the name with one "0". Exits with 0 when the kit took the name with two zeros and its own
// procedure serves the window.
void take_the_class_name_with_zeros_and_exit() {
    for (const wchar_t* taken : {L"QSSDK_WINDOW_CLASS", L"QSSDK_WINDOW_CLASS0"}) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = taken;
        if (RegisterClassExW(&wc) == 0) std::exit(2);
    }
    window w;
    w.create("Zeros", {0, 0, 100, 100});
    wchar_t name[300] = {};
    GetClassNameW(w.native_handle(), name, 300);
    if (std::wstring(name) != L"QSSDK_WINDOW_CLASS00") std::exit(3);
    event_log log;
    log.watch(&w, event_id::character);
    SendMessageW(w.native_handle(), WM_CHAR, 'z', 0);
    std::exit(log.events == std::vector<logged_event>{{&w, event_id::character, 'z'}} ? 0 : 4);
}

TEST_F(UiWindow, ClassNameTakesZerosWhileTheNameIsTaken) {
    // The kit registers its class once per process: windows of earlier tests hold it in this one.
    EXPECT_EXIT(take_the_class_name_with_zeros_and_exit(), testing::ExitedWithCode(0), "");
}

// A dialog over an owner window.
class UiModal : public UiWindow {
protected:
    UiModal() {
        owner.create("Owner", {40, 40, 400, 300});
        dialog.set_owner(&owner);
        dialog.create("Dialog", {80, 80, 200, 100});
    }

    window owner;
    probe_window dialog;
};

// Ends the modal loop of the window in `timer_target` from a system timer.
window* timer_target = nullptr;
bool owner_enabled_at_timer = true;

void CALLBACK end_from_timer(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    KillTimer(hwnd, id);
    owner_enabled_at_timer = IsWindowEnabled(GetWindow(hwnd, GW_OWNER)) != FALSE;
    timer_target->end_modal(42);
}

TEST_F(UiModal, ModalLoopEndedFromATimerReturnsItsCodeAndFreesTheOwner) {
    ShowWindow(owner.native_handle(), SW_SHOW);
    event_log log;
    log.watch(&dialog, {event_id::shown, event_id::hidden});
    timer_target = &dialog;
    SetTimer(dialog.native_handle(), 1, 30, end_from_timer);

    EXPECT_EQ(dialog.show_modal(), 42);
    EXPECT_FALSE(owner_enabled_at_timer);
    EXPECT_TRUE(IsWindowEnabled(owner.native_handle()));
    EXPECT_FALSE(IsWindowVisible(dialog.native_handle()));
    EXPECT_EQ(log.ids_of(&dialog), (std::vector<event_id>{event_id::shown, event_id::hidden, event_id::hidden}));
    // It can be shown modally again; the result starts from 0.
    PostMessageW(dialog.native_handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(dialog.show_modal(), 0);
}

TEST_F(UiModal, ModalLoopEndedByAPostedMessageLeavesTheNextOneQueued) {
    std::vector<uint32_t> seen;
    dialog.on_user = [&](uint32_t v) {
        seen.push_back(v);
        dialog.end_modal(static_cast<int32_t>(v));
    };
    PostMessageW(dialog.native_handle(), WM_USER, 0, 7);
    PostMessageW(dialog.native_handle(), WM_USER, 0, 8);
    EXPECT_EQ(dialog.show_modal(), 7);
    EXPECT_EQ(seen, std::vector<uint32_t>{7});
    // The message after the one that ended the loop was not taken and dropped.
    const std::vector<MSG> left = take_messages(dialog.native_handle(), WM_USER);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].lParam, 8);
}

TEST_F(UiModal, QuitEndsTheLoopAndIsPostedAgainForTheLoopOutside) {
    PostQuitMessage(3);
    EXPECT_EQ(dialog.show_modal(), 0);
    EXPECT_TRUE(IsWindowEnabled(owner.native_handle()));
    EXPECT_FALSE(IsWindowVisible(dialog.native_handle()));
    const std::vector<MSG> quit = take_messages(nullptr, WM_QUIT);
    ASSERT_EQ(quit.size(), 1u);
    EXPECT_EQ(quit[0].wParam, 3u);
}

TEST_F(UiWindow, NestedModalWindowsRunNestedLoops) {
    window main_window;
    main_window.create("Main", {40, 40, 500, 400});
    probe_window outer, inner;
    outer.set_owner(&main_window);
    outer.create("Outer", {80, 80, 300, 200});
    inner.set_owner(&outer);
    inner.create("Inner", {120, 120, 150, 100});
    struct {
        bool main_enabled = true, outer_enabled = true, outer_enabled_after = false;
        int32_t inner_result = -1;
    } seen;
    inner.on_user = [&](uint32_t v) {
        seen.main_enabled = IsWindowEnabled(main_window.native_handle()) != FALSE;
        seen.outer_enabled = IsWindowEnabled(outer.native_handle()) != FALSE;
        inner.end_modal(static_cast<int32_t>(v));
    };
    outer.on_user = [&](uint32_t) {
        seen.inner_result = inner.show_modal();
        seen.outer_enabled_after = IsWindowEnabled(outer.native_handle()) != FALSE;
        outer.end_modal(9);
    };
    PostMessageW(outer.native_handle(), WM_USER, 0, 1);
    PostMessageW(inner.native_handle(), WM_USER, 0, 5);
    EXPECT_EQ(outer.show_modal(), 9);
    EXPECT_EQ(seen.inner_result, 5);
    EXPECT_FALSE(seen.main_enabled);
    EXPECT_FALSE(seen.outer_enabled);
    EXPECT_TRUE(seen.outer_enabled_after);
    EXPECT_TRUE(IsWindowEnabled(main_window.native_handle()));
}

TEST_F(UiModal, CloseEndsTheLoopUnlessAHandlerDecides) {

    // No handler: WM_CLOSE hides the window and ends the loop with the result unchanged.
    PostMessageW(dialog.native_handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(dialog.show_modal(), 0);
    EXPECT_FALSE(IsWindowVisible(dialog.native_handle()));
    EXPECT_TRUE(IsWindowEnabled(owner.native_handle()));

    // A handler for close_query vetoes by existing: the window stays up until the handler's owner ends it.
    int queries = 0;
    event_manager::instance().connect(&dialog, &owner, event_id::close_query, [&](const event_info&) { ++queries; });
    bool visible_after_close = false;
    dialog.on_user = [&](uint32_t v) {
        visible_after_close = IsWindowVisible(dialog.native_handle()) != FALSE;
        dialog.end_modal(static_cast<int32_t>(v));
    };
    PostMessageW(dialog.native_handle(), WM_CLOSE, 0, 0);
    PostMessageW(dialog.native_handle(), WM_USER, 0, 4);
    EXPECT_EQ(dialog.show_modal(), 4);
    EXPECT_EQ(queries, 1);
    EXPECT_TRUE(visible_after_close);
    // Forced, the close asks nobody.
    dialog.on_user = [&](uint32_t) { dialog.close(true); };
    PostMessageW(dialog.native_handle(), WM_USER, 0, 0);
    EXPECT_EQ(dialog.show_modal(), 0);
    EXPECT_EQ(queries, 1);
}

// A window with two widgets side by side, placed where nothing else of the test stands.
class UiWindowInput : public UiWindow {
protected:
    void SetUp() override {
        w.create("Input", {300, 300, 300, 200}, topmost);
        a.create(&w.get_root_widget(), {10, 10, 100, 80});
        b.create(&w.get_root_widget(), {150, 10, 100, 80});
        a.set_tab_stop(true);
        b.set_tab_stop(true);
        // Not activated: focus changes of the system (other programs' windows) stay out of the test.
        ShowWindow(w.native_handle(), SW_SHOWNOACTIVATE);
        gallery::pump_messages_for(50);
    }
    // Puts the cursor over a client point (DIPs = pixels at 96 DPI) and lets the moves it causes pass.
    void cursor_to(int32_t x, int32_t y) {
        POINT p{x, y};
        ClientToScreen(w.native_handle(), &p);
        SetCursorPos(p.x, p.y);
        gallery::pump_messages_for(50);
    }
    void post(UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
        PostMessageW(w.native_handle(), message, wparam, lparam);
        gallery::pump_messages_for(10);
    }

    window w;
    widget a, b;
};

TEST_F(UiWindowInput, PostedKeysCharsWheelAndButtonsReachTheRightWidget) {
    event_log log;
    for (event_object* o : std::vector<event_object*>{&a, &b, &w})
        log.watch(o, {event_id::mouse_up, event_id::mouse_down, event_id::mouse_wheel, event_id::key_down,
                      event_id::key_down_raw, event_id::key_up, event_id::character, event_id::focus_gained,
                      event_id::focus_lost, event_id::session_locked, event_id::session_unlocked});
    log.watch(&a, event_id::double_click);  // a takes double clicks, b does not
    log.watch(&w, event_id::double_click);
    const uint64_t notch = std::bit_cast<uint64_t>(60.0);
    const LPARAM key_bits = 0x1E0001;
    const struct {
        const char* what;
        point cursor;
        UINT message;
        WPARAM wparam;
        LPARAM lparam;
        std::vector<logged_event> expected;
    } steps[] = {
        {"press over b", {160, 20}, WM_LBUTTONDOWN, 0, 0,
         {{&b, event_id::focus_gained, 0}, {&b, event_id::mouse_down, 0}, {&w, event_id::mouse_down, 0}}},
        {"release over b", {160, 20}, WM_LBUTTONUP, 0, 0, {{&b, event_id::mouse_up, 0}, {&w, event_id::mouse_up, 0}}},
        {"right press", {160, 20}, WM_RBUTTONDOWN, 0, 0,
         {{&b, event_id::mouse_down, 2}, {&w, event_id::mouse_down, 2}}},
        {"middle release", {160, 20}, WM_MBUTTONUP, 0, 0, {{&b, event_id::mouse_up, 1}, {&w, event_id::mouse_up, 1}}},
        // A key without a character, so that translating the message adds nothing.
        {"key down to the focus", {20, 20}, WM_KEYDOWN, VK_F5, key_bits,
         {{&b, event_id::key_down, VK_F5}, {&w, event_id::key_down, VK_F5},
          {&b, event_id::key_down_raw, pack_pair(VK_F5, key_bits)},
          {&w, event_id::key_down_raw, pack_pair(VK_F5, key_bits)}}},
        {"character", {20, 20}, WM_CHAR, 'a', key_bits,
         {{&b, event_id::character, 'a'}, {&w, event_id::character, 'a'}}},
        {"key up", {20, 20}, WM_KEYUP, VK_F5, key_bits, {{&b, event_id::key_up, VK_F5}, {&w, event_id::key_up, VK_F5}}},
        {"wheel over a", {20, 20}, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0, {{&a, event_id::mouse_wheel, notch}}},
        {"double click over b: a second press", {160, 20}, WM_LBUTTONDBLCLK, 0, 0,
         {{&b, event_id::mouse_down, 0}, {&w, event_id::mouse_down, 0}}},
        {"its release is not eaten", {160, 20}, WM_LBUTTONUP, 0, 0,
         {{&b, event_id::mouse_up, 0}, {&w, event_id::mouse_up, 0}}},
        {"double click over a", {20, 20}, WM_LBUTTONDBLCLK, 0, 0,
         {{&b, event_id::focus_lost, 0}, {&a, event_id::focus_gained, 0}, {&a, event_id::double_click, 0},
          {&w, event_id::double_click, 0}}},
        {"its release is eaten", {20, 20}, WM_LBUTTONUP, 0, 0, {}},
        {"Tab", {20, 20}, WM_CHAR, '\t', 0,
         {{&a, event_id::focus_lost, 1}, {&b, event_id::focus_gained, 1}, {&w, event_id::character, '\t'}}},
        {"the window loses the focus", {20, 20}, WM_KILLFOCUS, 0, 0,
         {{&b, event_id::focus_lost, 0}, {&w, event_id::focus_lost, 0}}},
        {"session locked", {20, 20}, WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, 0, {{&w, event_id::session_locked, 0}}},
        {"session unlocked", {20, 20}, WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 0,
         {{&w, event_id::session_unlocked, 0}}},
        {"another session change", {20, 20}, WM_WTSSESSION_CHANGE, WTS_SESSION_LOGON, 0, {}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        cursor_to(step.cursor.x, step.cursor.y);
        log.clear();
        post(step.message, step.wparam, step.lparam);
        EXPECT_EQ(log.events, step.expected);
    }
}

TEST_F(UiWindowInput, HoverIsSeenAgainAfterTheMouseLeftTheWindow) {
    event_log log;
    log.watch(&a, {event_id::mouse_enter, event_id::mouse_leave});
    cursor_to(20, 20);
    post(WM_MOUSEMOVE);
    post(WM_MOUSEMOVE);
    ASSERT_EQ(w.get_hover_widget(), &a);
    post(WM_MOUSELEAVE);
    EXPECT_EQ(w.get_hover_widget(), nullptr);
    post(WM_MOUSEMOVE);  // arms the leave tracking again
    post(WM_MOUSEMOVE);
    EXPECT_EQ(w.get_hover_widget(), &a);
    // Whatever the system's own moves added, the widget saw its hover end and begin again.
    std::vector<event_id> ids = log.ids_of(&a);
    const std::vector<event_id> leave_then_enter{event_id::mouse_leave, event_id::mouse_enter};
    EXPECT_NE(std::search(ids.begin(), ids.end(), leave_then_enter.begin(), leave_then_enter.end()), ids.end());
    EXPECT_EQ(ids.back(), event_id::mouse_enter);
}

// Handles the thread's messages until the condition holds or the bound has passed; whether it held.
bool pump_until(const std::function<bool()>& condition, DWORD bound_ms) {
    const ULONGLONG end = GetTickCount64() + bound_ms;
    while (!condition()) {
        if (GetTickCount64() >= end) return false;
        gallery::pump_messages_for(20);
    }
    return true;
}

// A busy window takes a click only after the cursor has moved on: the press and release made over a are a's,
// wherever the cursor is when the window gets to them.
TEST_F(UiWindowInput, AClickIsTheWidgetsItWasMadeOverThoughTheCursorMovedOnBeforeTheWindowTookIt) {
    event_log log;
    for (event_object* o : std::vector<event_object*>{&a, &b})
        log.watch(o, {event_id::mouse_down, event_id::mouse_up});
    cursor_to(20, 20);
    log.clear();
    PostMessageW(w.native_handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    PostMessageW(w.native_handle(), WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    POINT over_b{160, 20};  // where the cursor is before the window took either
    ClientToScreen(w.native_handle(), &over_b);
    SetCursorPos(over_b.x, over_b.y);
    gallery::pump_messages_for(50);
    EXPECT_EQ(log.events, (std::vector<logged_event>{{&a, event_id::mouse_down, 0}, {&a, event_id::mouse_up, 0}}));
}

bool tooltip_shown(const window& w) {
    return w.get_tooltip() && w.get_tooltip()->is_shown() && IsWindowVisible(w.get_tooltip()->native_handle());
}

TEST_F(UiWindowInput, ATooltipShowsBesideTheRestingCursorWithoutActivatingAndHidesWhenTheCursorLeaves) {
    const std::string title = "Radius", text = "The sphere's radius in pixels of the layer";
    w.add_tooltip(ui_test::address(&a), {}, title, text);
    ASSERT_NE(w.get_tooltip(), nullptr);
    tooltip& tip = *w.get_tooltip();
    event_log log;
    log.watch(&tip, event_id::hidden);
    const HWND active = GetForegroundWindow();

    cursor_to(40, 40);
    post(WM_MOUSEMOVE);
    post(WM_MOUSEMOVE);
    ASSERT_EQ(w.get_hover_widget(), &a);
    ASSERT_TRUE(pump_until([&] { return tooltip_shown(w); }, 5000)) << "the tooltip did not show";
    EXPECT_EQ(GetForegroundWindow(), active);
    EXPECT_TRUE(log.events.empty());

    // At the cursor plus (5, 20), sized to the two measured lines (96 DPI: DIPs are pixels).
    POINT cursor{40, 40};
    ClientToScreen(w.native_handle(), &cursor);
    const tooltip_layout& l = tip.layout();
    EXPECT_GT(l.title.width, 0);
    EXPECT_GT(l.text.width, l.title.width);
    EXPECT_EQ(l.window, (rect{cursor.x + 5, cursor.y + 20, l.text.width + 16, l.title.height + 2 + l.text.height + 8}));
    EXPECT_EQ(tip.get_rect(), l.window);

    cursor_to(160, 40);
    post(WM_MOUSEMOVE);
    ASSERT_EQ(w.get_hover_widget(), &b);
    ASSERT_TRUE(pump_until([&] { return !tooltip_shown(w); }, 3000)) << "the tooltip did not hide";
    EXPECT_EQ(log.events, (std::vector<logged_event>{{&tip, event_id::hidden, 0}}));
}

// The tooltip window by itself, shown as the registry shows it: a topmost popup owned by its window that
// leaves the activation where it was and paints in the look of the widget it is shown for.
TEST_F(UiWindowInput, TheTooltipWindowShowsWithoutActivatingInTheLookOfItsWidget) {
    const color own_back{0.6f, 0.2f, 0.1f, 1.0f};
    a.get_style().set_color("tooltip_back_color", own_back);
    tooltip tip;
    tip.set_owner(&w);
    tip.create("", {0, 0, 400, 200}, popup | topmost);
    const HWND active = GetForegroundWindow();
    tip.show({320, 420}, "", "Only a text", a);
    EXPECT_TRUE(tip.is_shown());
    EXPECT_TRUE(IsWindowVisible(tip.native_handle()));
    EXPECT_EQ(GetForegroundWindow(), active);
    EXPECT_TRUE(GetWindowLongW(tip.native_handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetWindow(tip.native_handle(), GW_OWNER), w.native_handle());
    const tooltip_layout& l = tip.layout();
    EXPECT_EQ(l.line_gap, 0);
    EXPECT_EQ(tip.get_rect(), (rect{320, 420, l.text.width + 16, l.text.height + 8}));

    // The background inside the double border.
    gallery::repaint_and_settle(tip.native_handle());
    const hostsim::Image shown = gallery::capture_client_area(tip.native_handle());
    const hostsim::rgba back = shown.at(4, shown.height() - 3);
    EXPECT_NEAR(back.r, own_back.r, 0.02f);
    EXPECT_NEAR(back.g, own_back.g, 0.02f);
    EXPECT_NEAR(back.b, own_back.b, 0.02f);

    event_log log;
    log.watch(&tip, event_id::hidden);
    tip.hide();
    tip.hide();
    EXPECT_FALSE(IsWindowVisible(tip.native_handle()));
    EXPECT_EQ(log.events.size(), 1u);  // only the first hides a shown tooltip
}

TEST_F(UiWindowInput, ATimerTicksOnItsWidgetAndGoesWithItSoANewWidgetAtItsAddressGetsNone) {
    event_log log;
    std::optional<widget> slot;
    slot.emplace();
    slot->create(&w.get_root_widget(), {10, 100, 50, 50});
    widget* const first = &*slot;
    log.watch(first, event_id::timer);
    w.add_timer(first);
    ASSERT_TRUE(pump_until([&] { return !log.events.empty(); }, 3000)) << "no timer event";
    EXPECT_EQ(log.events[0], (logged_event{first, event_id::timer, widget_timer_kind}));

    slot.reset();
    slot.emplace();
    ASSERT_EQ(&*slot, first);
    slot->create(&w.get_root_widget(), {10, 100, 50, 50});
    log.clear();
    log.watch(&*slot, event_id::timer);
    // A witness with a timer of the same period, started after the old one: by its third tick the old
    // timer, were it still running, would have ticked at least twice.
    widget witness;
    witness.create(&w.get_root_widget(), {100, 100, 20, 20});
    event_log witnessed;
    witnessed.watch(&witness, event_id::timer);
    w.add_timer(&witness);
    ASSERT_TRUE(pump_until([&] { return witnessed.events.size() >= 3; }, 10000)) << "the witness's timer did not tick";
    EXPECT_TRUE(log.events.empty());
}

TEST_F(UiWindowInput, CompositionMessagesReachTheFocusWidgetAndTheSystemContextIsDetached) {
    EXPECT_EQ(ImmGetContext(w.native_handle()), nullptr);
    w.set_focus_widget(&a, 0);
    event_log log;
    for (event_object* o : std::vector<event_object*>{&a, &b, &w}) log.watch(o, event_id::ime);
    post(WM_IME_STARTCOMPOSITION);
    EXPECT_EQ(log.events, (std::vector<logged_event>{{&a, event_id::ime, ime_step::started}}));
    ASSERT_NE(w.get_ime(), nullptr);
    EXPECT_TRUE(w.get_ime()->composing());
    post(WM_IME_ENDCOMPOSITION, 0, GCS_RESULTSTR);  // no context: no result to read
    EXPECT_FALSE(w.get_ime()->composing());
    EXPECT_EQ(log.events.size(), 1u);
}

// A window painted with shapes, text, an image and a shadowed child.
class painted_window : public window {
public:
    painted_window() {
        create("Painted", {200, read_back_top, 240, 160}, topmost);
        img_->load(default_style_table().at("message_popup_image").as_image());
        connect(&get_root_widget(), [this] {
            painter& p = *get_painter();
            p.set_fill_color(back);
            p.fill_rect({0, 0, 240, 160});
            p.set_pen({0.1f, 0.1f, 0.5f, 1.0f}, 3.0f);
            p.draw_rect({8, 8, 100, 60});
            p.set_pen({0.8f, 0.1f, 0.1f, 1.0f}, 1.0f);
            p.draw_line({8, 80}, {108, 140});
            p.set_fill_color({0.1f, 0.6f, 0.2f, 1.0f});
            p.fill_circle({60, 110}, 20.0f);
            p.context().fill_gradient_rect({120, 110, 110, 40}, {1, 1, 1, 1}, {0.9f, 0.5f, 0.1f, 1});
            p.set_font("Tahoma", 16.0f, weight_code_bold, style_code_normal, false);
            p.set_text_color({0.1f, 0.1f, 0.1f, 1.0f});
            p.set_text_alignment(align_code_leading, valign_code_top);
            p.context().draw_text({16, 16, 90, 24}, "Kit", {});
            p.draw_image({70, 20}, *img_);
        });
        card_.create(&get_root_widget(), {150, 24, 60, 50});
        card_.set_shadow({true, 3, 3, 10});
        connect(&card_, [this] {
            painter& p = *get_painter();
            p.set_fill_color({0.95f, 0.95f, 0.6f, 1.0f});
            p.fill_rect({0, 0, 60, 50});
        });
    }
    static constexpr color back{0.85f, 0.9f, 0.95f, 1.0f};

private:
    void connect(widget* w, std::function<void()> paint) {
        event_manager::instance().connect(w, this, event_id::paint, [paint](const event_info&) { paint(); });
    }

    std::unique_ptr<image> img_ = image::create();
    widget card_;
};

TEST_F(UiWindow, PaintedWindowMatchesItsReference) {
    painted_window w;
    ShowWindow(w.native_handle(), SW_SHOW);
    gallery::repaint_and_settle(w.native_handle());
    const hostsim::Image shot = gallery::capture_client_area(w.native_handle());
    ASSERT_EQ(shot.width(), 240);
    ASSERT_EQ(shot.height(), 160);
    // The background shows where nothing else is drawn: the window painted at all.
    EXPECT_NEAR(shot.at(235, 5).r, painted_window::back.r, 2.0f / 255);
    EXPECT_NEAR(shot.at(235, 5).b, painted_window::back.b, 2.0f / 255);
    const auto d = reference_pictures::compare_with_reference(shot, "ui_window_paint.png");
    if (!d) GTEST_SKIP() << "wrote the reference picture instead of comparing with it";
    // Per channel: a few steps at most anywhere (edges of text and curves), well under one on average.
    EXPECT_LE(d->max, 8.0f / 255) << d->pictures;
    EXPECT_LE(d->mean, 0.5 / 255) << d->pictures;
}

TEST_F(UiWindow, AHiddenChildLeavesNoShadow) {
    window w;
    w.create("Shadow", {500, read_back_top, 120, 100}, topmost);
    event_manager::instance().connect(&w.get_root_widget(), &w, event_id::paint, [&](const event_info&) {
        w.get_painter()->set_fill_color({1, 1, 1, 1});
        w.get_painter()->fill_rect({0, 0, 120, 100});
    });
    widget card;
    card.create(&w.get_root_widget(), {30, 30, 40, 30});
    card.set_shadow({true, 0, 0, 10});
    ShowWindow(w.native_handle(), SW_SHOWNOACTIVATE);
    // Just outside the card's right edge, inside the shadow's reach.
    const auto beside_card = [&] {
        gallery::repaint_and_settle(w.native_handle());
        return gallery::capture_client_area(w.native_handle()).at(72, 45);
    };
    EXPECT_LT(beside_card().r, 0.9f);
    card.set_visible(false);
    EXPECT_GT(beside_card().r, 0.99f);
}

TEST_F(UiWindow, APaintHandlerThatThrowsEndsThePaintAndTheNextPaintWorks) {
    window w;
    w.create("Throws", {200, read_back_top, 100, 80}, topmost);
    widget child;
    child.create(&w.get_root_widget(), {20, 20, 40, 30});
    int paints = 0;
    event_manager::instance().connect(&child, &child, event_id::paint, [&](const event_info&) {
        if (++paints == 1) throw std::runtime_error("first paint fails");
        w.get_painter()->set_fill_color({1, 0, 0, 1});
        w.get_painter()->fill_rect({0, 0, 40, 30});
    });
    hostsim::DebugOutput debug;
    ShowWindow(w.native_handle(), SW_SHOW);
    UpdateWindow(w.native_handle());
    EXPECT_EQ(paints, 1);
    EXPECT_FALSE(w.get_painter()->context().painting());
    const std::vector<std::string> lines = debug.lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "window paint failed: first paint fails"), lines.end());

    child.redraw(true);
    EXPECT_EQ(paints, 2);
    gallery::repaint_and_settle(w.native_handle());
    const hostsim::Image shot = gallery::capture_client_area(w.native_handle());
    EXPECT_GT(shot.at(40, 35).r, 0.9f);
    EXPECT_LT(shot.at(40, 35).g, 0.1f);
}

// Minimised, a window is not painted (drawing into its empty target faults in Wine's drawing library);
// restored, it is painted whole and shows what it showed before.
TEST_F(UiWindow, AMinimisedWindowIsNotPaintedAndRestoredShowsItsPictureAgain) {
    painted_window w;
    int paints = 0;
    event_manager::instance().connect(&w.get_root_widget(), &w, event_id::paint, [&](const event_info&) { ++paints; });
    const HWND hwnd = w.native_handle();
    ShowWindow(hwnd, SW_SHOW);
    gallery::repaint_and_settle(hwnd);
    const hostsim::Image before = gallery::capture_client_area(hwnd);

    ShowWindow(hwnd, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(hwnd));
    const int painted = paints;
    w.get_root_widget().redraw(true);
    EXPECT_EQ(paints, painted) << "a minimised window was painted";
    EXPECT_FALSE(w.get_painter()->context().painting());

    ShowWindow(hwnd, SW_RESTORE);
    ASSERT_FALSE(IsIconic(hwnd));
    UpdateWindow(hwnd);
    EXPECT_GT(paints, painted) << "the restored window was not painted";
    gallery::repaint_and_settle(hwnd);
    const auto d = reference_pictures::compare(gallery::capture_client_area(hwnd), before);
    EXPECT_LE(d.max, 8.0f / 255);
    EXPECT_LE(d.mean, 0.5 / 255);
}

TEST_F(UiWindow, TeardownDetachesTheNativeWindowFirst) {
    event_log log;
    HWND hwnd = nullptr;
    size_t routed_during_teardown = 0;
    {
        window w;
        w.create("Teardown", {200, 200, 100, 80});
        hwnd = w.native_handle();
        log.watch(&w.get_root_widget(), event_id::character);
        log.watch(&w, event_id::character);
        SendMessageW(hwnd, WM_CHAR, 'a', 0);
        ASSERT_EQ(log.events.size(), 2u);
        // Messages the teardown causes (or that arrive during it) reach no part of the window.
        event_manager::instance().connect(&w, &log, event_id::destroyed, [&](const event_info&) {
            const size_t before = log.events.size();
            SendMessageW(hwnd, WM_CHAR, 'b', 0);
            SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(50, 50));
            routed_during_teardown = log.events.size() - before;
        });
    }
    EXPECT_EQ(routed_during_teardown, 0u);
    EXPECT_FALSE(IsWindow(hwnd));
}

// The layout in DIPs at the screen's DPI, whatever it is: ctest runs these tests at 96 DPI with the rest
// and again in a prefix whose screen has 144 DPI (tests/run_at_dpi.sh).
class UiWindowDpi : public UiWindow {
protected:
    void SetUp() override {
        const HDC screen = GetDC(nullptr);
        dpi = GetDeviceCaps(screen, LOGPIXELSX);
        ReleaseDC(nullptr, screen);
        std::printf("screen DPI %d\n", dpi);
        w.create("Dpi", {100, 100, 300, 200}, topmost);
        child.create(&w.get_root_widget(), {41, 31, 99, 49});
        event_manager::instance().connect(&w.get_root_widget(), &w, event_id::paint, [this](const event_info&) {
            w.get_painter()->set_fill_color({1, 1, 1, 1});
            w.get_painter()->fill_rect({0, 0, 400, 400});
        });
        event_manager::instance().connect(&child, &child, event_id::paint, [this](const event_info&) {
            ++child_paints;
            w.get_painter()->set_fill_color({1, 0, 0, 1});
            w.get_painter()->fill_rect({0, 0, 99, 49});
        });
    }
    int px(int dips) const { return MulDiv(dips, dpi, 96); }

    int dpi = 0;
    window w;
    widget child;
    int child_paints = 0;
};

TEST_F(UiWindowDpi, SizesPaintingInvalidationAndRoutingStayInDips) {
    ASSERT_EQ(static_cast<int>(w.dpi_x()), dpi);
    const HWND hwnd = w.native_handle();
    EXPECT_EQ(client_rect(hwnd).right, px(300));
    EXPECT_EQ(client_rect(hwnd).bottom, px(200));
    EXPECT_EQ(w.get_client_rect().width, 300);
    EXPECT_EQ(w.get_client_rect().height, 200);
    EXPECT_EQ(w.get_rect().x, 100);
    w.set_rect({100, 100, 320, 240});
    EXPECT_EQ(client_rect(hwnd).right, px(320));
    EXPECT_EQ(w.get_root_widget().get_rect(), (rect{0, 0, 320, 240}));

    // The child covers its DIP rect scaled to pixels, and no more.
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    gallery::repaint_and_settle(hwnd);
    const hostsim::Image shot = gallery::capture_client_area(hwnd);
    ASSERT_EQ(shot.width(), px(320));
    const struct {
        int x, y;
        bool red;  // else white
    } samples[] = {{px(42), px(32), true},   {px(139) , px(79), true}, {px(40) - 1, px(50), false},
                   {px(140) + 1, px(50), false}, {px(90), px(30) - 1, false}, {px(90), px(80) + 1, false}};
    for (const auto& s : samples) {
        SCOPED_TRACE(testing::Message() << "pixel " << s.x << ", " << s.y);
        EXPECT_GT(shot.at(s.x, s.y).r, 0.9f);
        EXPECT_NEAR(shot.at(s.x, s.y).g, s.red ? 0.0f : 1.0f, 0.1f);
    }

    // A redraw marks every pixel the DIP rect touches, and the paint that follows covers the whole child.
    ValidateRect(hwnd, nullptr);
    child.redraw(false);
    RECT update{};
    ASSERT_TRUE(GetUpdateRect(hwnd, &update, FALSE));
    EXPECT_LE(update.left, 41 * dpi / 96);
    EXPECT_LE(update.top, 31 * dpi / 96);
    EXPECT_GE(update.right, px(140));
    EXPECT_GE(update.bottom, px(80));
    const int before = child_paints;
    UpdateWindow(hwnd);
    EXPECT_EQ(child_paints, before + 1);

    // The cursor, in pixels on the screen, is found over the child in DIPs.
    POINT p{px(120), px(70)};
    ClientToScreen(hwnd, &p);
    SetCursorPos(p.x, p.y);
    gallery::pump_messages_for(50);
    EXPECT_EQ(w.get_cursor_position(&child), (point{120 - 41, 70 - 31}));
    event_log log;
    log.watch(&child, event_id::mouse_down);
    PostMessageW(hwnd, WM_LBUTTONDOWN, 0, 0);
    gallery::pump_messages_for(10);
    EXPECT_EQ(log.events, (std::vector<logged_event>{{&child, event_id::mouse_down, 0}}));
}

// The tooltip stands at the cursor plus (5, 20) DIPs, its measured size in DIPs turned into pixels.
TEST_F(UiWindowDpi, TheTooltipIsPlacedAndSizedInDips) {
    w.add_tooltip(ui_test::address(&child), {}, "Title", "The text of the tooltip");
    const HWND hwnd = w.native_handle();
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    POINT p{px(60), px(50)};
    ClientToScreen(hwnd, &p);
    SetCursorPos(p.x, p.y);
    for (int i = 0; i < 2; ++i) {
        PostMessageW(hwnd, WM_MOUSEMOVE, 0, 0);
        gallery::pump_messages_for(20);
    }
    ASSERT_EQ(w.get_hover_widget(), &child);
    ASSERT_TRUE(pump_until([&] { return tooltip_shown(w); }, 5000)) << "the tooltip did not show";
    const point cursor = w.get_cursor_position(nullptr);
    const rect& placed = w.get_tooltip()->layout().window;
    EXPECT_EQ(placed.x, cursor.x + 5);
    EXPECT_EQ(placed.y, cursor.y + 20);
    RECT outer{};
    GetWindowRect(w.get_tooltip()->native_handle(), &outer);
    EXPECT_EQ(outer.left, px(placed.x));
    EXPECT_EQ(outer.top, px(placed.y));
    EXPECT_EQ(outer.right - outer.left, px(placed.width));
    EXPECT_EQ(outer.bottom - outer.top, px(placed.height));
}

}  // namespace

namespace {

// A window made outside the kit (another program's main window) that a kit window stands for as the
// owner of a dialog: the kit leaves it as it found it, also when the stand-in goes.
TEST_F(UiWindow, AStandInOwnsADialogAndLeavesTheForeignWindowAsItWas) {
    const HWND foreign = CreateWindowExW(0, L"STATIC", L"Foreign", WS_OVERLAPPEDWINDOW, 10, 10, 300, 200, nullptr,
                                         nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(foreign, nullptr);
    ShowWindow(foreign, SW_SHOWNOACTIVATE);
    constexpr LONG_PTR marker = 0x5EED;
    SetWindowLongPtrW(foreign, GWLP_USERDATA, marker);
    {
        window stand_in;
        stand_in.stand_for(foreign);
        EXPECT_EQ(stand_in.native_handle(), foreign);
        probe_window dialog;
        dialog.set_owner(&stand_in);
        dialog.create("Dialog", {80, 80, 200, 100});
        EXPECT_EQ(GetWindow(dialog.native_handle(), GW_OWNER), foreign);
        timer_target = &dialog;
        SetTimer(dialog.native_handle(), 1, 30, end_from_timer);
        EXPECT_EQ(dialog.show_modal(), 42);
        EXPECT_FALSE(owner_enabled_at_timer) << "the foreign owner is disabled while the dialog runs";
    }
    EXPECT_TRUE(IsWindow(foreign));
    EXPECT_TRUE(IsWindowEnabled(foreign));
    EXPECT_EQ(GetWindowLongPtrW(foreign, GWLP_USERDATA), marker);
    wchar_t title[32] = {};
    GetWindowTextW(foreign, title, 32);
    EXPECT_STREQ(title, L"Foreign");
    DestroyWindow(foreign);
}

}  // namespace
