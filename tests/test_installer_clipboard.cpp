#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <thread>

#include <windows.h>

#include "Clipboard.h"
#include "StartGate.h"

namespace {

// A plain hidden window of the test's thread to own the clipboard.
class OwnerWindow {
public:
    OwnerWindow()
        : window_(CreateWindowExW(0, L"STATIC", L"clipboard owner", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                  nullptr)) {}
    ~OwnerWindow() {
        if (window_) DestroyWindow(window_);
    }
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;
    HWND get() const { return window_; }

private:
    HWND window_;
};

std::optional<std::wstring> clipboard_text() {
    if (!OpenClipboard(nullptr)) return std::nullopt;
    std::optional<std::wstring> text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        const SIZE_T size = GlobalSize(data);
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = std::wstring(chars, size / sizeof(wchar_t));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

TEST(InstallerClipboard, CopiesTheTextWithItsWindowAsOwner) {
    const OwnerWindow owner;
    ASSERT_NE(owner.get(), nullptr);
    const std::string licence = "\nLicence\n* one \xE2\x80\x94 two\n";
    ASSERT_TRUE(installer::copy_to_clipboard(owner.get(), licence));
    EXPECT_EQ(GetClipboardOwner(), owner.get());
    const std::optional<std::wstring> copied = clipboard_text();
    ASSERT_TRUE(copied);
    const std::wstring expected = L"\nLicence\n* one \u2014 two\n";
    ASSERT_GE(copied->size(), expected.size() + 1);
    EXPECT_EQ(copied->substr(0, expected.size()), expected);
    EXPECT_EQ((*copied)[expected.size()], L'\0') << "NUL-terminated";
}

TEST(InstallerClipboard, AClipboardHeldOpenElsewhereIsReportedAndKeepsItsText) {
    const OwnerWindow owner;
    ASSERT_TRUE(installer::copy_to_clipboard(owner.get(), "before"));
    // Another thread's window holds the clipboard open while the copy is tried.
    StartGate opened(2), release(2);
    bool held = false;
    std::thread holder([&] {
        const OwnerWindow other;
        held = OpenClipboard(other.get()) != 0;
        opened.arrive_and_wait();
        release.arrive_and_wait();
        if (held) CloseClipboard();
    });
    opened.arrive_and_wait();
    const bool copied = installer::copy_to_clipboard(owner.get(), "after");
    release.arrive_and_wait();
    holder.join();
    ASSERT_TRUE(held);
    EXPECT_FALSE(copied);
    const std::optional<std::wstring> text = clipboard_text();
    ASSERT_TRUE(text);
    EXPECT_EQ(std::wstring(text->c_str()), L"before");
}

}  // namespace
