// The simulated host's watcher reads a window the effect opens (title, class, owner, client size and
// what it shows) before it dismisses it.
#include <gtest/gtest.h>

#include <chrono>

#include <windows.h>

#include "ModalWatcher.h"
#include "TestWindow.h"

namespace {

constexpr wchar_t watchedClass[] = L"QsWatchedTestWindow";
constexpr int clientWidth = 120, clientHeight = 80;

// Left half red, right half blue.
LRESULT CALLBACK paintHalves(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message != WM_PAINT) return DefWindowProcW(window, message, wparam, lparam);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0)), blue = CreateSolidBrush(RGB(0, 0, 255));
    const RECT left{0, 0, clientWidth / 2, clientHeight}, right{clientWidth / 2, 0, clientWidth, clientHeight};
    FillRect(dc, &left, red);
    FillRect(dc, &right, blue);
    DeleteObject(red);
    DeleteObject(blue);
    EndPaint(window, &paint);
    return 0;
}

TEST(ModalWatcher, ReadsAnOwnedWindowBeforeItDismissesIt) {
    TestWindow owner(0, TestWindow::free_band_top, 40, 40);
    hostsim::ModalWatcher watcher({owner.handle()});

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = paintHalves;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = watchedClass;
    RegisterClassW(&windowClass);
    RECT frame{0, 0, clientWidth, clientHeight};
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    HWND window = CreateWindowExW(0, watchedClass, L"Watched \u00C4bout", style, 60,
                                  TestWindow::free_band_top, frame.right - frame.left, frame.bottom - frame.top,
                                  owner.handle(), nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOWNOACTIVATE);

    // The window's own loop, as a modal dialog runs it, until the watcher has closed it (at most 20 s).
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (IsWindow(window) && std::chrono::steady_clock::now() < deadline) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
    EXPECT_FALSE(IsWindow(window)) << "the watcher did not dismiss the window";
    if (IsWindow(window)) DestroyWindow(window);
    UnregisterClassW(watchedClass, windowClass.hInstance);

    const std::vector<hostsim::seen_window> seen = watcher.seen();
    ASSERT_EQ(seen.size(), 1u);
    const hostsim::seen_window& shown = seen[0];
    EXPECT_EQ(shown.title, "Watched \xC3\x84" "bout");
    EXPECT_EQ(shown.className, "QsWatchedTestWindow");
    EXPECT_EQ(shown.owner, owner.handle());
    EXPECT_EQ(shown.width, clientWidth);
    EXPECT_EQ(shown.height, clientHeight);
    ASSERT_EQ(shown.pixels.width(), clientWidth);
    ASSERT_EQ(shown.pixels.height(), clientHeight);
    const hostsim::rgba left = shown.pixels.at(clientWidth / 4, clientHeight / 2);
    const hostsim::rgba right = shown.pixels.at(clientWidth * 3 / 4, clientHeight / 2);
    EXPECT_TRUE(left.r == 1 && left.g == 0 && left.b == 0) << left.r << " " << left.g << " " << left.b;
    EXPECT_TRUE(right.r == 0 && right.g == 0 && right.b == 1) << right.r << " " << right.g << " " << right.b;
}

}  // namespace
