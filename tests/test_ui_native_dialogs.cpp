#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <windows.h>
#include <ole2.h>

#include "TempFolder.h"
#include "WindowDriver.h"
#include "cursor_table.h"
#include "popup_menu.h"
#include "select_folder.h"
#include "set_cursor.h"
#include "window.h"
#include "window_capture.h"
#include "window_styles.h"

namespace {

using namespace qssdk::ui;

// The folder picker's file-name field.
constexpr int file_name_field = 1152;

void post_keys(HWND window, const std::vector<WORD>& keys) {
    for (const WORD key : keys) {
        PostMessageW(window, WM_KEYDOWN, key, 0);
        PostMessageW(window, WM_KEYUP, key, 0);
        Sleep(30);
    }
}

// Last resort of a driver: close every visible window of this process but the owner.
void close_own_windows(HWND keep) {
    EnumWindows(
        [](HWND window, LPARAM keep) -> BOOL {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (process == GetCurrentProcessId() && IsWindowVisible(window) && window != reinterpret_cast<HWND>(keep))
                PostMessageW(window, WM_CLOSE, 0, 0);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(keep));
}

class UiNativeDialogs : public testing::Test {
protected:
    UiNativeDialogs() {
        OleInitialize(nullptr);
        owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr, nullptr,
                                nullptr, nullptr);
    }
    ~UiNativeDialogs() override {
        DestroyWindow(owner);
        OleUninitialize();
    }

    HWND owner = nullptr;
};

TEST_F(UiNativeDialogs, TheFolderPickerCancelledByTheUserReturnsAnEmptyText) {
    TempFolder start;
    WindowDriver driver(
        L"#32770", [](HWND dialog) { PostMessageW(dialog, WM_CLOSE, 0, 0); },
        [this](HWND) { close_own_windows(owner); });
    EXPECT_EQ(select_folder(owner, L"Choose a folder", start.path()), L"");
    EXPECT_TRUE(driver.acted());
    EXPECT_FALSE(driver.fell_back());
}

TEST_F(UiNativeDialogs, TheFolderPickerReturnsTheFolderTheUserChose) {
    TempFolder chosen;
    const std::wstring path = chosen.path();
    WindowDriver driver(
        L"#32770",
        [&path](HWND dialog) {
            DWORD_PTR ignored = 0;
            SendMessageTimeoutW(GetDlgItem(dialog, file_name_field), WM_SETTEXT, 0,
                                reinterpret_cast<LPARAM>(path.c_str()), SMTO_ABORTIFHUNG, 2000, &ignored);
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        },
        [this](HWND) { close_own_windows(owner); });
    EXPECT_EQ(select_folder(nullptr, L"Choose a folder", L""), path);
    EXPECT_TRUE(driver.acted());
    EXPECT_FALSE(driver.fell_back());
}

// Shown over a kit window, the menu opens at the cursor.
TEST_F(UiNativeDialogs, ThePopupMenuIsChosenFromAndDismissedByTheUser) {
    window kit;
    kit.create("menu owner", {100, 100, 300, 200}, window_flag::topmost);
    ShowWindow(kit.native_handle(), SW_SHOW);
    SetForegroundWindow(kit.native_handle());  // as the window a user right-clicks is
    // The activation the display reports late would close a menu opened at once.
    gallery::pump_messages_for(300);
    popup_menu menu;
    menu.add_item(1, menu_top_level, "Copy");
    menu.add_item(4, menu_top_level, "Export");
    menu.add_item(5, 4, "PNG");
    menu.add_item(6, 4, "JPEG");
    struct row {
        std::vector<WORD> keys;
        int32_t chosen;
    };
    const row rows[] = {
        {{VK_DOWN, VK_RETURN}, 1},
        {{VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN}, 6},
        {{VK_ESCAPE}, menu_dismissed},
    };
    const POINT cursor{150, 150};  // 96 DPI: DIPs are pixels
    for (const row& r : rows) {
        RECT opened{};
        WindowDriver driver(
            L"#32768",
            [&r, &opened](HWND menu_window) {
                GetWindowRect(menu_window, &opened);
                post_keys(menu_window, r.keys);
            },
            [&kit](HWND) { PostMessageW(kit.native_handle(), WM_CANCELMODE, 0, 0); });
        SetCursorPos(cursor.x, cursor.y);
        gallery::pump_messages_for(30);
        EXPECT_EQ(menu.show(kit), r.chosen);
        EXPECT_TRUE(driver.acted());
        EXPECT_FALSE(driver.fell_back());
        EXPECT_EQ(opened.left, cursor.x);
        EXPECT_EQ(opened.top, cursor.y);
    }
}

TEST(UiNativeMenu, TextsAreUtf8TurnedIntoUtf16AndAParentWithChildrenOpensASubMenu) {
    menu_structure structure;
    structure.add_item(1, menu_top_level, "Kopieren \xE2\x80\x94 \xC3\xBC");
    structure.add_item(2, menu_top_level, "\xE6\x97\xA5\xE6\x9C\xAC");
    structure.add_item(3, 2, "Unterpunkt");
    const menu_handle menu = build_native_menu(structure);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu.get()), 2);

    wchar_t text[64] = {};
    GetMenuStringW(menu.get(), 0, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"Kopieren \x2014 \xFC");
    EXPECT_EQ(GetMenuItemID(menu.get(), 0), 2u);
    EXPECT_EQ(GetSubMenu(menu.get(), 0), nullptr);

    GetMenuStringW(menu.get(), 1, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"\x65E5\x672C");
    const HMENU sub_menu = GetSubMenu(menu.get(), 1);
    ASSERT_NE(sub_menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(sub_menu), 1);
    EXPECT_EQ(GetMenuItemID(sub_menu, 0), 4u);
}

TEST(UiNativeCursor, SetsTheSystemCursorOfAnIndexAndIgnoresIndicesBeyondTheTable) {
    set_cursor(cursor_index::hand);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
    set_cursor(cursor_table::count);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
    set_cursor(cursor_index::size_grip);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_SIZENWSE));
    set_cursor(cursor_index::ibeam);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_IBEAM));
}

}  // namespace
