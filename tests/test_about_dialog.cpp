// The About dialog through the host's ABOUT command with the real plug-in: its texts and link, a click
// on the link hands the product page to the shell (which opens nothing here), OK ends it and the main
// window takes input again.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <utility>

#include "AboutDialog.h"
#include "ChildProcess.h"
#include "ClientClick.h"
#include "HostFixture.h"
#include "ModalWatcher.h"
#include "event_manager.h"
#include "ReferencePictures.h"

namespace {

constexpr char productPage[] = "https://www.quillstone.example/pellux/?v=1.0.2.66";
// Client points (96 DPI) of the link label's and the OK button's middles.
constexpr POINT linkMiddle{80, 60};
constexpr POINT okMiddle{105, 125};
constexpr auto closeLimit = std::chrono::seconds(5);

bool hidesWithin(HWND window, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (IsWindowVisible(window) && std::chrono::steady_clock::now() < deadline) Sleep(10);
    return !IsWindowVisible(window);
}

using AboutCommand = HostTest;

TEST_F(AboutCommand, ShowsTheDialogOnTheMainWindowALinkClickRecordsTheProductPageAndOkEndsIt) {
    ASSERT_EQ(host->send(PF_Cmd_GLOBAL_SETUP), PF_Err_NONE);
    std::atomic<bool> ownerDisabled{false}, endedByOk{false}, openAfterLinkClick{false}, responded{false};
    host->dialogs().setResponder([&](HWND dialog, const hostsim::seen_window&) {
        ownerDisabled = !IsWindowEnabled(GetWindow(dialog, GW_OWNER));
        hostsim::clickAt(dialog, linkMiddle.x, linkMiddle.y);
        openAfterLinkClick = IsWindowVisible(dialog) != FALSE;
        hostsim::clickAt(dialog, okMiddle.x, okMiddle.y);
        endedByOk = hidesWithin(dialog, closeLimit);
        // Never leave the host waiting on the dialog.
        if (!endedByOk) PostMessageW(dialog, WM_CLOSE, 0, 0);
        responded = true;
    });
    EXPECT_EQ(host->send(PF_Cmd_ABOUT), PF_Err_NONE);
    // The command returns as soon as OK ends the dialog; the watcher's thread notes that a moment later.
    const auto deadline = std::chrono::steady_clock::now() + closeLimit;
    while (!responded && std::chrono::steady_clock::now() < deadline) Sleep(10);
    ASSERT_TRUE(responded);
    host->dialogs().setResponder(nullptr);

    const auto windows = host->dialogs().seen();
    ASSERT_EQ(windows.size(), 1u);
    const hostsim::seen_window& about = windows[0];
    EXPECT_EQ(about.title, "QS Pellux");
    EXPECT_EQ(about.className.rfind("QSSDK_WINDOW_CLASS", 0), 0u) << about.className;
    EXPECT_EQ(about.owner, host->mainWindow());
    EXPECT_EQ(about.width, 160);
    EXPECT_EQ(about.height, 150);
    EXPECT_TRUE(ownerDisabled) << "the main window waits while the dialog is open";
    EXPECT_TRUE(openAfterLinkClick) << "a link click leaves the dialog open";
    EXPECT_TRUE(endedByOk);
    EXPECT_TRUE(IsWindowEnabled(host->mainWindow()));
    EXPECT_TRUE(IsWindow(host->mainWindow()));

    const auto requests = host->shell().requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].verb, "open");
    EXPECT_EQ(requests[0].target, productPage);
    EXPECT_EQ(requests[0].show, SW_SHOWNORMAL);

    // The dialog the effect showed looks as this program's build of it does, whose texts are read here.
    {
        qssdk::ui::window owner;
        owner.stand_for(host->mainWindow());
        AboutDialog dialog(&owner);
        EXPECT_EQ(dialog.versionLabel().text(), "QS Pellux v1.0.2 (66)");
        EXPECT_EQ(dialog.linkLabel().text(), AboutDialog::linkText);
        EXPECT_EQ(dialog.noticeLabel().text(), AboutDialog::noticeText);
        EXPECT_TRUE(dialog.noticeLabel().is_visible(true)) << "the notice label is built and shown";
        EXPECT_EQ(dialog.noticeLabel().get_rect(), (qssdk::ui::rect{0, 85, 160, 20}));
        EXPECT_EQ(dialog.okButton().get_text(), "OK");
        EXPECT_EQ(dialog.productLink(), productPage);
        // A caption with a close box and nothing to resize, minimise or maximise with.
        const LONG_PTR style = GetWindowLongPtrW(dialog.native_handle(), GWL_STYLE);
        EXPECT_EQ(style & (WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
                  WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU);

        // Entering the link underlines it and shows the hand; leaving gives the plain text and the arrow back.
        qssdk::ui::text_label& link = dialog.linkLabel();
        const auto hover = [&](qssdk::ui::event_id id) {
            qssdk::ui::event_manager::instance().fire(&link, id, 2, 1, 0);
            return std::make_pair(link.get_style().get("label_text_underlined").as_flag(), GetCursor());
        };
        EXPECT_EQ(hover(qssdk::ui::event_id::mouse_enter), std::make_pair(true, LoadCursorW(nullptr, IDC_HAND)));
        EXPECT_EQ(hover(qssdk::ui::event_id::mouse_leave), std::make_pair(false, LoadCursorW(nullptr, IDC_ARROW)));
        EXPECT_EQ(link.text(), AboutDialog::linkText) << "only the underline changes";
        dialog.show_modal();  // the watcher notes it and closes it
    }
    const hostsim::seen_window reference = host->dialogs().takeLast();
    ASSERT_EQ(reference.width, about.width);
    ASSERT_EQ(reference.height, about.height);
    EXPECT_LE(reference_pictures::compare(reference.pixels, about.pixels).max, 2.0f / 255.0f);
}

// Enter ends the dialog as OK does, Escape dismisses it; no owner is needed for that.
TEST(AboutDialogKeys, EnterEndsItWith1AndEscapeWith0) {
    const struct {
        const char* key;
        WPARAM code;
        int32_t result;
    } rows[] = {{"Enter", VK_RETURN, 1}, {"Escape", VK_ESCAPE, 0}};
    for (const auto& r : rows) {
        AboutDialog dialog(nullptr);
        hostsim::ModalWatcher watcher({});
        std::atomic<bool> acted{false}, ended{false};
        watcher.setResponder([&](HWND window, const hostsim::seen_window&) {
            PostMessageW(window, WM_KEYDOWN, r.code, 1);
            ended = hidesWithin(window, closeLimit);
            if (!ended) PostMessageW(window, WM_CLOSE, 0, 0);  // never leave the test waiting
            acted = true;
        });
        const int32_t result = dialog.show_modal();
        const auto deadline = std::chrono::steady_clock::now() + closeLimit;
        while (!acted && std::chrono::steady_clock::now() < deadline) Sleep(10);
        EXPECT_TRUE(ended) << r.key << " did not end the dialog";
        EXPECT_EQ(result, r.result) << r.key;
    }
}

// A top-level window of another process with this title, or null.
HWND otherProcessWindow(const wchar_t* title) {
    struct search {
        const wchar_t* title;
        HWND found = nullptr;
    } s{title};
    EnumWindows(
        [](HWND window, LPARAM p) -> BOOL {
            auto& s = *reinterpret_cast<search*>(p);
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            wchar_t text[64] = {};
            GetWindowTextW(window, text, 64);
            if (process == GetCurrentProcessId() || !IsWindowVisible(window) || std::wstring(text) != s.title)
                return TRUE;
            s.found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&s));
    return s.found;
}

// A click on a window of another process, each message handled before the next is sent (at most a few
// seconds each): the window routes by the cursor's place, which must not move on before it is read.
void sendClick(HWND window, POINT client) {
    POINT screen = client;
    ClientToScreen(window, &screen);
    SetCursorPos(screen.x, screen.y);
    const LPARAM at = MAKELPARAM(client.x, client.y);
    const std::pair<UINT, WPARAM> steps[] = {
        {WM_MOUSEMOVE, 0}, {WM_MOUSEMOVE, 0}, {WM_LBUTTONDOWN, MK_LBUTTON}, {WM_LBUTTONUP, 0}};
    for (const auto& [message, keys] : steps) {
        DWORD_PTR answer = 0;
        SendMessageTimeoutW(window, message, keys, at, SMTO_ABORTIFHUNG, 5000, &answer);
    }
}

// `pellux-host about`, as ./pellux about runs it: a click on the link prints the address the effect hands
// the shell, and OK ends the program.
TEST(AboutProgram, ALinkClickPrintsTheAddressAndOpensNothing) {
    child_result result;
    std::thread program([&] { result = runChild(L"pellux-host.exe about", 60000, false); });
    HWND dialog = nullptr;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!dialog && std::chrono::steady_clock::now() < deadline) {
        Sleep(50);
        dialog = otherProcessWindow(L"QS Pellux");
    }
    if (dialog) {
        Sleep(200);  // the dialog's first paint
        sendClick(dialog, linkMiddle);
        sendClick(dialog, okMiddle);
    }
    program.join();  // runChild ends the program itself after a minute
    ASSERT_NE(dialog, nullptr) << "no About dialog appeared: " << result.output;
    EXPECT_FALSE(result.timedOut) << result.output;
    EXPECT_EQ(result.exitCode, 0u) << result.output;
    EXPECT_NE(result.output.find(std::string("pellux-host: the effect asked the shell to open ") + productPage +
                                 " (nothing is opened here)\n"),
              std::string::npos)
        << result.output;
}

}  // namespace
