// The real qsinstaller.exe on the display, with host versions seeded in the registry, walked by a driver
// that clicks and types as a user would: every page against its reference picture, the licence link and
// back, Copy on the licence, the Custom row and its folder, INSTALL into every chosen folder, a locked
// targets' failure popup naming both, YES retrying once the locks are gone, NO ending with the partial
// result, and FINISH; every host version newer than the table on a row of its own; INSTALL refused while
// nothing is chosen; a double click acting once; the CANCEL question. Every wait has a time bound; a
// stuck installer is ended by its own handle.
//
// The references are tests/reference/installer_*.png; after a deliberate change of the look, run with
// PELLUX_REGENERATE_REFERENCES=1 to write them anew (and look at them). A picture may differ from its
// reference by at most 24 steps of 255 in any channel of any pixel (text and curve edges) and by at most
// half a step on average. The lines whose figures follow the size of the plug-in the installer carries
// (the disk-space and percentage lines) are blanked in the picture and its reference alike; those
// figures are checked without the window.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <windows.h>

#include "ClickGate.h"
#include "Image.h"
#include "License.h"
#include "ReferencePictures.h"
#include "SeededHosts.h"
#include "FileBytes.h"
#include "InstallerTheme.h"
#include "TempFolder.h"
#include "html_subset.h"
#include "utf.h"
#include "window_capture.h"

namespace {

using namespace std::chrono_literals;

constexpr const wchar_t* installer_title = L"QS Pellux for After Effects Installer";
constexpr auto step_bound = 15s;

// Client positions (DIPs = pixels at 96 DPI) of the footer controls; the page positions follow the layout.
constexpr POINT footer_license_link{200, 584};
constexpr POINT back_button{699, 585};
constexpr POINT next_button{899, 585};
constexpr POINT resting_place{1000, 20};  // over the header, where no widget reacts
constexpr POINT license_text{600, 300};
constexpr int select_page_x = 525;  // the selection page is 424 wide, centred right of the banner
constexpr int custom_box_x = select_page_x + 190 + 7;
constexpr int folder_button_x = select_page_x + 285 + 55;

std::wstring bin_folder() {
    wchar_t own[MAX_PATH];
    GetModuleFileNameW(nullptr, own, MAX_PATH);
    const std::wstring path(own);
    return path.substr(0, path.rfind(L'\\'));
}

std::wstring plugin_file(const std::wstring& folder) { return folder + L"\\Quillstone\\QSPellux.aex"; }

bool wait_until(const std::function<bool()>& done, std::chrono::milliseconds bound = step_bound) {
    const auto end = std::chrono::steady_clock::now() + bound;
    while (std::chrono::steady_clock::now() < end) {
        if (done()) return true;
        std::this_thread::sleep_for(20ms);
    }
    return done();
}

struct window_search {
    DWORD process;
    const wchar_t* title;      // or null
    const wchar_t* class_name; // or null
    HWND found = nullptr;
};

HWND find_window(DWORD process, const wchar_t* title, const wchar_t* class_name) {
    window_search s{process, title, class_name};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<window_search*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != s->process || !IsWindowVisible(window)) return TRUE;
            wchar_t text[128] = {};
            if (s->title) {
                GetWindowTextW(window, text, 128);
                if (std::wstring(text) != s->title) return TRUE;
            }
            if (s->class_name) {
                GetClassNameW(window, text, 128);
                if (std::wstring(text) != s->class_name) return TRUE;
            }
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND wait_for_window(DWORD process, const wchar_t* title, const wchar_t* class_name = nullptr) {
    HWND found = nullptr;
    wait_until([&] { return (found = find_window(process, title, class_name)) != nullptr; });
    return found;
}

void move_to(HWND window, POINT client) {
    ClientToScreen(window, &client);
    SetCursorPos(client.x, client.y);
    INPUT move{};
    move.type = INPUT_MOUSE;
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    move.mi.dx = client.x * 65535 / (width - 1);
    move.mi.dy = client.y * 65535 / (height - 1);
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &move, sizeof move);
    std::this_thread::sleep_for(60ms);
}

void click(HWND window, POINT client, bool right = false) {
    move_to(window, client);
    INPUT press[2] = {};
    press[0].type = press[1].type = INPUT_MOUSE;
    press[0].mi.dwFlags = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    press[1].mi.dwFlags = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    SendInput(1, &press[0], sizeof(INPUT));
    std::this_thread::sleep_for(40ms);
    SendInput(1, &press[1], sizeof(INPUT));
    std::this_thread::sleep_for(100ms);
}

void post_key(HWND window, WPARAM key) {
    PostMessageW(window, WM_KEYDOWN, key, 1);
    PostMessageW(window, WM_KEYUP, key, 0xC0000001);
}

// What the screen shows of the window now.
hostsim::Image picture(HWND window) { return gallery::capture_client_area_on_screen(window); }

bool changed_from(HWND window, const hostsim::Image& before) {
    const auto d = reference_pictures::compare(picture(window), before);
    return d.mean > 0.5 / 255;
}

bool same_colour(const hostsim::rgba& a, const hostsim::rgba& b) {
    return std::abs(a.r - b.r) < 0.03f && std::abs(a.g - b.g) < 0.03f && std::abs(a.b - b.b) < 0.03f;
}

// Inside the pills, left of their texts.
constexpr POINT back_fill{660, 585};
constexpr POINT next_fill{830, 585};

// The fill of a pill drawn disabled, from the theme.
hostsim::rgba disabled_pill() {
    for (const qssdk::ui::style_entry& e : installer::theme_entries())
        if (e.key == "rounded_button_back_color_disabled") return {e.value.color.r, e.value.color.g, e.value.color.b, 1};
    ADD_FAILURE() << "the theme has no colour of a disabled pill";
    return {};
}

bool drawn_enabled(const hostsim::Image& shot, POINT fill) { return !same_colour(shot.at(fill.x, fill.y), disabled_pill()); }

// A page's footer controls act once they are drawn enabled; one gate opens them together, so BACK or
// NEXT (whichever the page offers) shows it. A deliberate click waits for that look.
bool footer_open(HWND window) {
    const hostsim::Image shot = picture(window);
    return drawn_enabled(shot, back_fill) || drawn_enabled(shot, next_fill);
}

bool wait_for_open_footer(HWND window) {
    const bool open = wait_until([&] { return footer_open(window); });
    EXPECT_TRUE(open) << "the footer's controls were not drawn enabled within the bound";
    return open;
}

// A deliberate click on a footer control of the page shown.
void footer_click(HWND window, POINT client) {
    wait_for_open_footer(window);
    click(window, client);
}

constexpr POINT cancel_button{559, 585};

constexpr POINT cancel_fill{516, 585};
constexpr RECT next_text{850, 575, 950, 595};

// Whether two pictures show the same inside the rectangle.
bool same_spot(const hostsim::Image& a, const hostsim::Image& b, const RECT& r) {
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (!same_colour(a.at(x, y), b.at(x, y))) return false;
    return true;
}

// Waits until the window has taken every input sent before: the pointer moved onto CANCEL lights it
// (input is taken in order), and off it again. The page shown must offer CANCEL.
bool input_taken(HWND window) {
    const hostsim::rgba resting = picture(window).at(cancel_fill.x, cancel_fill.y);
    move_to(window, cancel_button);
    const bool lit = wait_until([&] { return !same_colour(picture(window).at(cancel_fill.x, cancel_fill.y), resting); });
    move_to(window, resting_place);
    return lit && wait_until([&] { return same_colour(picture(window).at(cancel_fill.x, cancel_fill.y), resting); });
}

// A deliberate click on a footer control that shows another page (CANCEL offered on both): true once the
// window took it, drew something else and opened the new page's footer.
bool walk(HWND window, POINT control) {
    if (!wait_for_open_footer(window)) return false;
    move_to(window, resting_place);
    const hostsim::Image before = picture(window);
    click(window, control);
    return input_taken(window) && wait_for_open_footer(window) && changed_from(window, before);
}

// The installer as a child process, ended by its own handle if a test leaves it running.
class InstallerProcess {
public:
    // The elevated copy, or with launching the copy a user starts, which asks for elevation.
    explicit InstallerProcess(bool launching = false) {
        // The window opens in the middle of the screen, away from the pointer: nothing starts hovered.
        SetCursorPos(0, 0);
        std::wstring command = L"\"" + bin_folder() + L"\\qsinstaller.exe\"" + (launching ? L"" : L" /UAC");
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        started_ = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                  &process_) != 0;
    }
    ~InstallerProcess() {
        if (!started_) return;
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.hProcess, 99);
            WaitForSingleObject(process_.hProcess, 10000);
        }
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
    InstallerProcess(const InstallerProcess&) = delete;
    InstallerProcess& operator=(const InstallerProcess&) = delete;

    bool started() const { return started_; }
    DWORD id() const { return process_.dwProcessId; }
    // The exit code once it ended within the bound.
    std::optional<DWORD> exit_code(DWORD bound_ms = 15000) const {
        if (WaitForSingleObject(process_.hProcess, bound_ms) != WAIT_OBJECT_0) return std::nullopt;
        DWORD code = 0;
        GetExitCodeProcess(process_.hProcess, &code);
        return code;
    }

private:
    bool started_ = false;
    PROCESS_INFORMATION process_{};
};

// Host folders in a folder of fixed name (the failure popup shows them), seeded as three host versions
// (one written with '/').
struct SeededInstall {
    SeededInstall() {
        for (const std::wstring* f : {&cc2015, &cc2017, &cc2018, &custom}) CreateDirectoryW(f->c_str(), nullptr);
        std::wstring with_slashes = cc2017;
        for (wchar_t& c : with_slashes)
            if (c == L'\\') c = L'/';
        seeded = hosts.add(L"13.5", cc2015) && hosts.add(L"14.0", with_slashes) && hosts.add(L"15.0", cc2018);
    }

    TempFolder temp{L"C:\\PelluxWalk"};
    std::wstring cc2015 = temp / L"AE 2015", cc2017 = temp / L"AE 2017", cc2018 = temp / L"AE 2018",
                 custom = temp / L"custom";
    SeededHosts hosts;
    bool seeded = false;
};

// Holds the target file open, so that the installer cannot replace it.
class LockedFile {
public:
    explicit LockedFile(const std::wstring& folder) {
        CreateDirectoryW((folder + L"\\Quillstone").c_str(), nullptr);
        file_ = CreateFileW(plugin_file(folder).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                            CREATE_ALWAYS, 0, nullptr);
    }
    ~LockedFile() { release(); }
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;
    bool locked() const { return file_ != INVALID_HANDLE_VALUE; }
    void release() {
        if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
        file_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE file_ = INVALID_HANDLE_VALUE;
};

using masking = std::function<void(hostsim::Image&)>;

// The window's picture against its reference once it stopped changing, with the cursor out of the way.
void expect_picture(HWND window, const char* name, const masking& mask = {}) {
    move_to(window, resting_place);
    hostsim::Image shot = gallery::settled_on_screen(window);
    if (mask) mask(shot);
    const auto d = reference_pictures::compare_with_reference(shot, name);
    if (!d) return;  // written anew
    EXPECT_LE(d->max, 24.0f / 255) << d->pictures;
    EXPECT_LE(d->mean, 0.5 / 255) << d->pictures;
}

// A picture with no fixed reference (what it shows varies from run to run), written for a person to look
// at into the folder PELLUX_PICTURES_OUT names, when it names one.
void picture_for_look(HWND window, const wchar_t* name) {
    wchar_t folder[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"PELLUX_PICTURES_OUT", folder, MAX_PATH)) return;
    move_to(window, resting_place);
    gallery::settled_on_screen(window).save(std::wstring(folder) + L"\\" + name);
}

// Page 2 shows FINISH once its run is over and the footer's gate opened: BACK stays disabled there, and
// NEXT leaves that look.
bool finish_shown(HWND window) {
    return wait_until([&] { return drawn_enabled(picture(window), next_fill); });
}

// The row the selection page's separator line is drawn on: a long run of its colour.
std::optional<int> separator_row(const hostsim::Image& shot) {
    const float line = 0.204f;
    for (int y = 64; y < shot.height() - 50; ++y) {
        bool run = true;
        for (int x = select_page_x + 10; x < select_page_x + 400 && run; x += 7)
            run = std::abs(shot.at(x, y).r - line) < 0.02f;
        if (run) return y;
    }
    return std::nullopt;
}

constexpr int page_width = 424;
constexpr int footer_top = 560;

float brightness(const hostsim::rgba& p) { return (p.r + p.g + p.b) / 3.0f; }

void blank_band(hostsim::Image& shot, int top, int bottom) {
    for (int y = std::max(top, 0); y < std::min(bottom, shot.height()); ++y)
        for (int x = select_page_x; x < select_page_x + page_width && x < shot.width(); ++x) shot.at(x, y) = {0, 0, 0, 1};
}

// The selection page's last line, the disk-space line: the lowest row of text above the footer.
void blank_disk_space_line(hostsim::Image& shot) {
    for (int y = footer_top - 5; y > 64; --y)
        for (int x = select_page_x; x < select_page_x + page_width; ++x)
            if (brightness(shot.at(x, y)) > 0.3f) {
                blank_band(shot, y - 12, y + 3);
                return;
            }
}

// Page 2's percentage line, 15 below the progress bar (found by its green along a run of pixels that no
// letter of the green title fills; the pictures show bars at least a quarter done).
void blank_percentage_line(hostsim::Image& shot) {
    const auto bar = [&](int y) {
        for (int x = select_page_x + 2; x <= select_page_x + 100; ++x)
            if (!(shot.at(x, y).g - shot.at(x, y).r > 0.15f)) return false;
        return true;
    };
    int y = 64;
    while (y < footer_top && !bar(y)) ++y;
    while (y < footer_top && bar(y)) ++y;
    if (y < footer_top) blank_band(shot, y + 10, y + 40);
}

std::optional<std::wstring> clipboard_text() {
    if (!OpenClipboard(nullptr)) return std::nullopt;
    std::optional<std::wstring> text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void empty_clipboard() {
    if (!OpenClipboard(nullptr)) return;
    EmptyClipboard();
    CloseClipboard();
}

std::wstring widen(const std::string& utf8) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

// Brings the window above every other on the screen, so that its pictures show it alone.
void on_top(HWND window) { SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE); }

// The started installer's window, on top of the others and drawn; null when it did not show.
HWND shown_window(const InstallerProcess& installer) {
    if (!installer.started()) return nullptr;
    const HWND window = wait_for_window(installer.id(), installer_title);
    if (!window) return nullptr;
    on_top(window);
    gallery::settled_on_screen(window);
    // The page's footer opens a moment after it appears.
    wait_for_open_footer(window);
    return window;
}

}  // namespace

TEST(InstallerWindow, AWalkThroughEveryPageInstallsIntoEveryChosenFolder) {
    SeededInstall setup;
    ASSERT_TRUE(setup.seeded);
    const std::optional<Bytes> plugin = read_file(bin_folder() + L"\\QSPellux.aex");
    ASSERT_TRUE(plugin);
    LockedFile lock(setup.cc2018), lock2017(setup.cc2017);
    ASSERT_TRUE(lock.locked() && lock2017.locked());

    InstallerProcess installer;
    const HWND window = shown_window(installer);
    ASSERT_NE(window, nullptr) << "the installer window did not show";
    expect_picture(window, "installer_welcome.png");

    // The footer link opens the licence; its text goes to the clipboard through the right-click menu.
    ASSERT_TRUE(walk(window, footer_license_link));
    expect_picture(window, "installer_license.png");
    empty_clipboard();
    click(window, license_text, true);
    const HWND menu = wait_for_window(installer.id(), nullptr, L"#32768");
    ASSERT_NE(menu, nullptr) << "no Copy menu";
    post_key(menu, VK_DOWN);
    post_key(menu, VK_RETURN);
    std::optional<std::wstring> copied;
    EXPECT_TRUE(wait_until([&] { return (copied = clipboard_text()).has_value(); }));
    EXPECT_EQ(copied, widen(qssdk::ui::parse_html_subset(installer::license_html(), "", 0.0f).text));

    // BACK returns to the welcome page, where the licence was opened.
    ASSERT_TRUE(walk(window, back_button));
    expect_picture(window, "installer_welcome.png");

    ASSERT_TRUE(walk(window, next_button));
    expect_picture(window, "installer_select.png", blank_disk_space_line);

    // The Custom row enables its folder button; the folder dialog takes the custom folder.
    const std::optional<int> separator = separator_row(picture(window));
    ASSERT_TRUE(separator) << "no separator line on the selection page";
    const int first_row = *separator + 25;
    click(window, {custom_box_x, first_row + 7});
    expect_picture(window, "installer_select_custom.png", blank_disk_space_line);
    click(window, {folder_button_x, first_row + 7});
    const HWND dialog = wait_for_window(installer.id(), nullptr, L"#32770");
    ASSERT_NE(dialog, nullptr) << "no folder dialog";
    const HWND edit = GetDlgItem(dialog, 1152);
    ASSERT_NE(edit, nullptr);
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(setup.custom.c_str()));
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(wait_until([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }));
    // The chosen folder shows under the Custom row: a line two levels under the page, which was hidden
    // when the line was made.
    expect_picture(window, "installer_select_custom_path.png", blank_disk_space_line);

    // INSTALL: the locked targets fail with code 50, the popup names both, and the others are written.
    footer_click(window, next_button);
    const HWND failure = wait_for_window(installer.id(), L"Failed to install");
    ASSERT_NE(failure, nullptr) << "no failure popup";
    on_top(failure);
    expect_picture(failure, "installer_failure_popup.png");
    for (const std::wstring* folder : {&setup.cc2015, &setup.custom})
        EXPECT_EQ(read_file(plugin_file(*folder)), plugin) << "not written byte for byte into the folder";

    // YES once the locks are gone writes the last targets and finishes.
    lock.release();
    lock2017.release();
    post_key(failure, VK_RETURN);
    for (const std::wstring* folder : {&setup.cc2017, &setup.cc2018})
        EXPECT_TRUE(wait_until([&] { return read_file(plugin_file(*folder)) == plugin; }))
            << "not written on the retry into " << qssdk::utf16_to_utf8(*folder) << "; a failure popup is "
            << (find_window(installer.id(), L"Failed to install", nullptr) ? "open again" : "not open");
    EXPECT_TRUE(wait_until([&] { return !IsWindow(failure); }));
    EXPECT_TRUE(finish_shown(window));
    expect_picture(window, "installer_finished.png", blank_percentage_line);

    footer_click(window, next_button);
    EXPECT_EQ(installer.exit_code(), std::optional<DWORD>(0));
}

TEST(InstallerWindow, NoAfterAFailureEndsWithThePartialResult) {
    SeededInstall setup;
    ASSERT_TRUE(setup.seeded);
    LockedFile lock(setup.cc2018);
    ASSERT_TRUE(lock.locked());

    InstallerProcess installer;
    const HWND window = shown_window(installer);
    ASSERT_NE(window, nullptr) << "the installer window did not show";
    ASSERT_TRUE(walk(window, next_button));
    footer_click(window, next_button);
    const HWND failure = wait_for_window(installer.id(), L"Failed to install");
    ASSERT_NE(failure, nullptr);
    post_key(failure, VK_ESCAPE);
    EXPECT_TRUE(wait_until([&] { return !IsWindow(failure); }));
    EXPECT_TRUE(finish_shown(window));
    // The bar shows the two of three written, not a full bar.
    expect_picture(window, "installer_partial.png", blank_percentage_line);
    EXPECT_EQ(read_file(plugin_file(setup.cc2018)), Bytes{}) << "the locked file is left as it was";

    footer_click(window, next_button);
    EXPECT_EQ(installer.exit_code(), std::optional<DWORD>(0));
}

namespace {

void double_click(HWND window, POINT client) {
    move_to(window, client);
    INPUT presses[4] = {};
    for (int i = 0; i < 4; ++i) {
        presses[i].type = INPUT_MOUSE;
        presses[i].mi.dwFlags = i % 2 == 0 ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    }
    for (INPUT& press : presses) {
        SendInput(1, &press, sizeof(INPUT));
        std::this_thread::sleep_for(30ms);
    }
    std::this_thread::sleep_for(100ms);
}

void wheel(HWND window, POINT client, int delta) {
    move_to(window, client);
    INPUT turn{};
    turn.type = INPUT_MOUSE;
    turn.mi.dwFlags = MOUSEEVENTF_WHEEL;
    turn.mi.mouseData = static_cast<DWORD>(delta);
    SendInput(1, &turn, sizeof turn);
    std::this_thread::sleep_for(150ms);
}

// One pixel of the window as the screen shows it, with the pointer away from every control.
hostsim::rgba pixel(HWND window, POINT client) {
    move_to(window, resting_place);
    std::this_thread::sleep_for(200ms);
    return picture(window).at(client.x, client.y);
}

// Clicks at one spot, the gap apart from press to press.
void quick_clicks(HWND window, POINT client, int count, std::chrono::milliseconds gap) {
    move_to(window, client);
    constexpr auto held = 20ms;
    for (int i = 0; i < count; ++i) {
        INPUT press[2] = {};
        press[0].type = press[1].type = INPUT_MOUSE;
        press[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        press[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(1, &press[0], sizeof(INPUT));
        std::this_thread::sleep_for(held);
        SendInput(1, &press[1], sizeof(INPUT));
        std::this_thread::sleep_for(gap - held);
    }
}

// Shows the selection page and returns the y of its first row of hosts.
std::optional<int> to_selection_page(HWND window) {
    if (!walk(window, next_button)) return std::nullopt;
    const std::optional<int> separator = separator_row(gallery::settled_on_screen(window));
    if (!separator) return std::nullopt;
    return *separator + 25;
}

}  // namespace

// Today's hosts: every version newer than the table on a row of its own, after the table's, newest first
// on the page; a key that is no version, a version older than the table's last and folders that are not
// absolute are left out. INSTALL writes into each; page 2 lists them all, scrolling.
TEST(InstallerWindow, EveryVersionNewerThanTheTableHasARowOfItsOwn) {
    TempFolder temp{L"C:\\PelluxWalk"};
    SeededHosts hosts;
    std::vector<std::wstring> written, left_alone;
    const auto seed = [&](const std::wstring& version, bool offered) {
        const std::wstring folder = temp / (L"AE " + version);
        CreateDirectoryW(folder.c_str(), nullptr);
        (offered ? written : left_alone).push_back(folder);
        return hosts.add(version, folder);
    };
    bool seeded = true;
    for (const wchar_t* v : {L"11", L"12", L"13", L"13.5", L"13.8", L"14.0", L"15.0"}) seeded = seeded && seed(v, true);
    for (int v = 16; v < 28; ++v) seeded = seeded && seed(std::to_wstring(v) + L".0", true);
    seeded = seeded && seed(L"Beta", false) && seed(L"14", false) && hosts.add(L"28.0", L"AE 28\\Plug-ins");
    ASSERT_TRUE(seeded);

    InstallerProcess installer;
    const HWND window = shown_window(installer);
    ASSERT_NE(window, nullptr) << "the installer window did not show";
    ASSERT_TRUE(to_selection_page(window));
    expect_picture(window, "installer_select_many.png", blank_disk_space_line);

    footer_click(window, next_button);
    EXPECT_TRUE(wait_until([&] {
        return std::all_of(written.begin(), written.end(), [](const std::wstring& f) { return read_file(plugin_file(f)).has_value(); });
    }));
    for (const std::wstring& folder : left_alone) EXPECT_FALSE(read_file(plugin_file(folder))) << "written into a left-out version";
    EXPECT_TRUE(finish_shown(window));
    expect_picture(window, "installer_finished_many.png", blank_percentage_line);
    // The rows that do not fit scroll into view with the wheel.
    const hostsim::Image before = picture(window);
    wheel(window, {700, 420}, -WHEEL_DELTA * 3);
    EXPECT_TRUE(wait_until([&] { return changed_from(window, before); }, 3s)) << "the result rows did not scroll";

    footer_click(window, next_button);
    EXPECT_EQ(installer.exit_code(), std::optional<DWORD>(0));
}

// With nothing chosen INSTALL is drawn disabled, as BACK is on the welcome page, and a click on it does
// nothing; choosing a host again enables it.
TEST(InstallerWindow, NothingChosenLeavesInstallDisabled) {
    SeededInstall setup;
    ASSERT_TRUE(setup.seeded);
    InstallerProcess installer;
    const HWND window = shown_window(installer);
    ASSERT_NE(window, nullptr) << "the installer window did not show";
    const hostsim::rgba disabled = pixel(window, back_fill);
    const std::optional<int> first_row = to_selection_page(window);
    ASSERT_TRUE(first_row);
    const hostsim::rgba enabled = pixel(window, next_fill);
    ASSERT_FALSE(same_colour(enabled, disabled));

    for (const POINT box : {POINT{select_page_x + 7, *first_row + 7}, POINT{select_page_x + 95 + 7, *first_row + 7},
                            POINT{select_page_x + 7, *first_row + 27}})
        click(window, box);
    EXPECT_TRUE(same_colour(pixel(window, next_fill), disabled)) << "INSTALL is not drawn disabled";
    const hostsim::Image before = picture(window);
    footer_click(window, next_button);
    // Once the window took the click (and the pointer is back at rest), it shows what it showed.
    ASSERT_TRUE(input_taken(window));
    EXPECT_FALSE(changed_from(window, before)) << "INSTALL with nothing chosen moved on";

    click(window, {custom_box_x, *first_row + 7});
    EXPECT_TRUE(same_colour(pixel(window, next_fill), disabled)) << "the Custom row without a folder is nothing to install";
    click(window, {select_page_x + 7, *first_row + 27});
    EXPECT_TRUE(same_colour(pixel(window, next_fill), enabled));
    for (const std::wstring* folder : {&setup.cc2015, &setup.cc2017, &setup.cc2018})
        EXPECT_FALSE(read_file(plugin_file(*folder)));
}

// The kit makes the second click of a double click a press; on "I AGREE" it must not go on to INSTALL.
// The page shows why: INSTALL is drawn disabled while the gate holds it and turns enabled by itself, with
// no input, once it acts; the first click after that installs.
TEST(InstallerWindow, ADoubleClickOnIAgreeShowsTheHostsWithInstallHeldAndInstallsNothing) {
    SeededInstall setup;
    ASSERT_TRUE(setup.seeded);
    InstallerProcess installer;
    const HWND window = shown_window(installer);
    ASSERT_NE(window, nullptr) << "the installer window did not show";
    double_click(window, next_button);
    ASSERT_TRUE(wait_until([&] { return separator_row(picture(window)).has_value(); })) << "no hosts shown";
    // The refused second press holds INSTALL for ClickGate::refused_hold_seconds: time for the picture.
    expect_picture(window, "installer_select_gated.png", blank_disk_space_line);
    EXPECT_TRUE(wait_until([&] { return drawn_enabled(picture(window), next_fill); }))
        << "INSTALL was not drawn enabled within the bound";
    ASSERT_TRUE(input_taken(window));
    expect_picture(window, "installer_select.png", blank_disk_space_line);
    for (const std::wstring* folder : {&setup.cc2015, &setup.cc2017, &setup.cc2018})
        EXPECT_FALSE(read_file(plugin_file(*folder))) << "a double click installed";

    click(window, next_button);
    EXPECT_TRUE(wait_until([&] {
        return read_file(plugin_file(setup.cc2015)) && read_file(plugin_file(setup.cc2017)) &&
               read_file(plugin_file(setup.cc2018));
    })) << "the first click on INSTALL drawn enabled did not install";
}

// I AGREE, INSTALL and FINISH stand at one spot. Clicks there faster than anyone reads walk on once: they
// show the hosts and write nothing, the window stays; a click there once INSTALL is drawn enabled installs.
TEST(InstallerWindow, QuickClicksOnTheFooterSpotWalkOnOnce) {
    const struct {
        int clicks;
        std::chrono::milliseconds gap;
    } cases[] = {{3, 80ms}, {6, 250ms}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.clicks);
        SeededInstall setup;
        ASSERT_TRUE(setup.seeded);
        InstallerProcess installer;
        const HWND window = shown_window(installer);
        ASSERT_NE(window, nullptr) << "the installer window did not show";
        wait_for_open_footer(window);
        quick_clicks(window, next_button, c.clicks, c.gap);
        ASSERT_TRUE(input_taken(window));
        wait_for_open_footer(window);
        expect_picture(window, "installer_select.png", blank_disk_space_line);
        for (const std::wstring* folder : {&setup.cc2015, &setup.cc2017, &setup.cc2018})
            EXPECT_FALSE(read_file(plugin_file(*folder))) << "quick clicks installed";

        click(window, next_button);
        EXPECT_TRUE(wait_until([&] {
            return read_file(plugin_file(setup.cc2015)) && read_file(plugin_file(setup.cc2017)) &&
                   read_file(plugin_file(setup.cc2018));
        })) << "a click once INSTALL was drawn enabled did not install";
    }
}

namespace {

// Whether the installer still runs its window: a message sent to it is answered (so the handler of what
// came before it has returned), and the window is still shown.
bool still_running(HWND window) {
    DWORD_PTR answer = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 15000, &answer) != 0 && IsWindowVisible(window);
}

// INSTALL and CANCEL by keys, queued together once the selection page is quiet: the question opens right
// after the run started.
// YES in a question, by keys: NO has the focus at first, Tab moves it to YES.
void answer_yes(HWND question) {
    PostMessageW(question, WM_CHAR, L'\t', 1);
    post_key(question, VK_RETURN);
}

void install_then_cancel(HWND window) {
    wait_for_open_footer(window);
    post_key(window, VK_RETURN);
    PostMessageW(window, WM_CHAR, L'\t', 1);  // Tab moves the focus on its character: to CANCEL
    post_key(window, VK_RETURN);
}

}  // namespace

// CANCEL asks first: NO keeps the installer, and so does Enter, the default answer; asked during a run,
// the run waits, and NO lets it go on to its result; YES ends the installer when no run is going.
TEST(InstallerWindow, CancelAsksAndOnlyYesEnds) {
    SeededInstall setup;
    ASSERT_TRUE(setup.seeded);
    LockedFile lock(setup.cc2018);
    ASSERT_TRUE(lock.locked());
    {
        InstallerProcess installer;
        const HWND window = shown_window(installer);
        ASSERT_NE(window, nullptr) << "the installer window did not show";
        click(window, cancel_button);
        HWND question = wait_for_window(installer.id(), L"Exit Installer");
        ASSERT_NE(question, nullptr) << "no question";
        post_key(question, VK_ESCAPE);
        ASSERT_TRUE(wait_until([&] { return !IsWindow(question); }));
        EXPECT_TRUE(still_running(window)) << "NO ended the installer";

        ASSERT_TRUE(to_selection_page(window));  // the click leaves the focus on NEXT
        install_then_cancel(window);
        question = wait_for_window(installer.id(), L"Exit Installer");
        ASSERT_NE(question, nullptr) << "no question during the run";
        post_key(question, VK_ESCAPE);
        const HWND failure = wait_for_window(installer.id(), L"Failed to install");
        EXPECT_NE(failure, nullptr) << "the run did not go on to its result once the question was answered NO";
        if (failure) post_key(failure, VK_ESCAPE);
        EXPECT_TRUE(wait_until([&] { return !IsWindow(failure); }));
        EXPECT_TRUE(still_running(window));
        for (const std::wstring* folder : {&setup.cc2015, &setup.cc2017})
            EXPECT_TRUE(read_file(plugin_file(*folder)).has_value()) << "the run did not go on after NO";
    }
    InstallerProcess installer;
    ASSERT_TRUE(installer.started());
    const HWND window = wait_for_window(installer.id(), installer_title);
    ASSERT_NE(window, nullptr);
    gallery::settled_on_screen(window);
    click(window, cancel_button);
    HWND question = wait_for_window(installer.id(), L"Exit Installer");
    ASSERT_NE(question, nullptr);
    post_key(question, VK_RETURN);
    ASSERT_TRUE(wait_until([&] { return !IsWindow(question); }));
    EXPECT_TRUE(still_running(window)) << "Enter, the default answer, ended the installer";
    click(window, cancel_button);
    question = wait_for_window(installer.id(), L"Exit Installer");
    ASSERT_NE(question, nullptr);
    answer_yes(question);
    EXPECT_TRUE(installer.exit_code().has_value()) << "YES did not end the installer";
}

namespace {

// Many host versions, each with a folder of its own: a run long enough to be cancelled in the middle.
struct ManyHosts {
    ManyHosts() {
        for (int v = 16; v < 28; ++v) add(std::to_wstring(v) + L".0");
        for (const wchar_t* v : {L"11", L"12", L"13", L"13.5", L"13.8", L"14.0", L"15.0"}) add(v);
    }
    void add(const std::wstring& version) {
        const std::wstring folder = temp / (L"AE " + version);
        CreateDirectoryW(folder.c_str(), nullptr);
        folders.push_back(folder);
        seeded = seeded && hosts.add(version, folder);
    }
    std::size_t written() const {
        return static_cast<std::size_t>(std::count_if(folders.begin(), folders.end(), [](const std::wstring& f) {
            return read_file(plugin_file(f)).has_value();
        }));
    }
    // Whatever a run did not write is left without a trace: no file, no temporary file.
    bool nothing_half_written() const {
        for (const std::wstring& f : folders) {
            WIN32_FIND_DATAW found;
            const HANDLE find = FindFirstFileW((f + L"\\Quillstone\\*.tmp").c_str(), &found);
            if (find != INVALID_HANDLE_VALUE) {
                FindClose(find);
                return false;
            }
        }
        return true;
    }

    TempFolder temp{L"C:\\PelluxWalk"};
    SeededHosts hosts;
    std::vector<std::wstring> folders;
    bool seeded = true;
};

}  // namespace

// YES to CANCEL during a copy of many targets stops the run before its next target: the window stays and
// says what was installed (the rows name the versions written), FINISH closes it. The title bar's X during
// a run asks the same question; Enter, its default answer NO, lets the run write every target.
TEST(InstallerWindow, CancelDuringTheCopyStopsTheRunAndSaysWhatWasInstalled) {
    ManyHosts many;
    ASSERT_TRUE(many.seeded);
    {
        InstallerProcess installer;
        const HWND window = shown_window(installer);
        ASSERT_NE(window, nullptr) << "the installer window did not show";
        const hostsim::rgba disabled = pixel(window, back_fill);
        ASSERT_TRUE(to_selection_page(window));
        move_to(window, resting_place);
        const hostsim::Image install = gallery::settled_on_screen(window);
        install_then_cancel(window);
        const HWND question = wait_for_window(installer.id(), L"Exit Installer");
        ASSERT_NE(question, nullptr) << "no question during the run";
        const std::size_t written_when_asked = many.written();
        answer_yes(question);
        // The run's end shows FINISH: NEXT enabled again, with another text than INSTALL's.
        EXPECT_TRUE(wait_until([&] {
            const hostsim::Image now = picture(window);
            return !same_colour(now.at(next_fill.x, next_fill.y), disabled) && !same_spot(now, install, next_text);
        })) << "no FINISH after the cancelled run";
        EXPECT_TRUE(still_running(window)) << "YES during the run closed the window";
        const std::size_t written = many.written();
        EXPECT_LT(written, many.folders.size()) << "the run wrote every target after YES";
        EXPECT_LE(written, written_when_asked + 1) << "the run went on past its next target";
        EXPECT_TRUE(many.nothing_half_written());
        picture_for_look(window, L"installer_cancelled.png");
        footer_click(window, next_button);
        EXPECT_EQ(installer.exit_code(), std::optional<DWORD>(0));
        EXPECT_EQ(many.written(), written) << "FINISH wrote more";
    }

    InstallerProcess installer;
    const HWND window = shown_window(installer);
    ASSERT_NE(window, nullptr) << "the installer window did not show";
    ASSERT_TRUE(to_selection_page(window));
    wait_for_open_footer(window);
    post_key(window, VK_RETURN);
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);  // the title bar's X
    const HWND question = wait_for_window(installer.id(), L"Exit Installer");
    ASSERT_NE(question, nullptr) << "the X during the run did not ask";
    post_key(question, VK_RETURN);  // the default answer: go on
    EXPECT_TRUE(wait_until([&] { return many.written() == many.folders.size(); })) << "NO did not let the run go on";
    EXPECT_TRUE(still_running(window));
}

namespace {

// Keys as the keyboard sends them, to the window that has the focus.
void send_keys(std::initializer_list<std::pair<WORD, bool>> keys) {
    for (const auto& [key, down] : keys) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
        SendInput(1, &input, sizeof input);
        std::this_thread::sleep_for(30ms);
    }
}

void alt_and(WORD key) { send_keys({{VK_MENU, true}, {key, true}, {key, false}, {VK_MENU, false}}); }

// The window in front with the keyboard's focus on its thread, so that keys sent next reach it.
bool focus_on(HWND window) {
    SetForegroundWindow(window);
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    return wait_until([&] {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return GetForegroundWindow() == window && GetGUIThreadInfo(thread, &info) && info.hwndFocus == window;
    }, 5s);
}

}  // namespace

// The system keys reach the system: Alt+Space opens the window's system menu, Alt+F4 closes a question as
// NO does and the installer as its title bar's X does.
TEST(InstallerWindow, AltSpaceOpensTheSystemMenuAndAltF4Closes) {
    SeededInstall setup;
    ASSERT_TRUE(setup.seeded);
    InstallerProcess installer;
    const HWND window = shown_window(installer);
    ASSERT_NE(window, nullptr) << "the installer window did not show";
    ASSERT_TRUE(focus_on(window));
    alt_and(VK_SPACE);
    const HWND menu = wait_for_window(installer.id(), nullptr, L"#32768");
    ASSERT_NE(menu, nullptr) << "Alt+Space opened no system menu";
    post_key(menu, VK_ESCAPE);
    ASSERT_TRUE(wait_until([&] { return !IsWindowVisible(menu); }));

    click(window, cancel_button);
    const HWND question = wait_for_window(installer.id(), L"Exit Installer");
    ASSERT_NE(question, nullptr);
    ASSERT_TRUE(focus_on(question));
    alt_and(VK_F4);
    EXPECT_TRUE(wait_until([&] { return !IsWindow(question); })) << "Alt+F4 left the question open";
    EXPECT_TRUE(still_running(window)) << "Alt+F4 on the question ended the installer";

    // The question went at F4's press: the installer saw Alt released alone, which may put it in the
    // system's menu mode; Escape leaves that.
    ASSERT_TRUE(focus_on(window));
    send_keys({{VK_ESCAPE, true}, {VK_ESCAPE, false}});
    alt_and(VK_F4);
    EXPECT_EQ(installer.exit_code(), std::optional<DWORD>(0)) << "Alt+F4 did not close the installer";
}

namespace {

// Two pictures differ beyond the drawing's own noise.
bool differ(const hostsim::Image& a, const hostsim::Image& b) { return reference_pictures::compare(a, b).max > 24.0f / 255; }

}  // namespace

// Every control that takes the focus shows it: each Tab on the welcome page, round its whole Tab order,
// changes what is drawn. Space presses the focused button: NO in the question (its default answer, which
// keeps the installer), then I AGREE.
TEST(InstallerWindow, EveryTabStopShowsTheFocusAndSpacePressesTheFocusedButton) {
    SeededInstall setup;
    ASSERT_TRUE(setup.seeded);
    InstallerProcess installer;
    const HWND window = shown_window(installer);
    ASSERT_NE(window, nullptr) << "the installer window did not show";
    move_to(window, resting_place);
    const auto tab = [&] {
        PostMessageW(window, WM_CHAR, L'\t', 1);
        return gallery::settled_on_screen(window);
    };
    hostsim::Image previous = gallery::settled_on_screen(window);
    const hostsim::Image first = tab();
    EXPECT_TRUE(differ(first, previous)) << "the first Tab stop shows no focus";
    previous = first;
    bool round = false;
    for (int stop = 2; stop <= 12 && !round; ++stop) {
        const hostsim::Image now = tab();
        round = !differ(now, first);
        if (!round) {
            EXPECT_TRUE(differ(now, previous)) << "Tab stop " << stop << " shows no focus";
        }
        previous = now;
    }
    EXPECT_TRUE(round) << "Tab never came back to the first stop";

    click(window, cancel_button);
    const HWND question = wait_for_window(installer.id(), L"Exit Installer");
    ASSERT_NE(question, nullptr);
    post_key(question, VK_SPACE);
    EXPECT_TRUE(wait_until([&] { return !IsWindow(question); })) << "Space did not answer the question";
    EXPECT_TRUE(still_running(window)) << "Space on the default answer ended the installer";
    // The click left the focus on CANCEL; Tab moves it to I AGREE (BACK is disabled).
    PostMessageW(window, WM_CHAR, L'\t', 1);
    post_key(window, VK_SPACE);
    EXPECT_TRUE(wait_until([&] { return separator_row(picture(window)).has_value(); }))
        << "Space on I AGREE did not show the hosts";
}

// Minimised and restored, the installer draws its page again, on every page it shows.
TEST(InstallerWindow, MinimisedAndRestoredItDrawsItsPageAgain) {
    SeededInstall setup;
    ASSERT_TRUE(setup.seeded);
    InstallerProcess installer;
    const HWND window = shown_window(installer);
    ASSERT_NE(window, nullptr) << "the installer window did not show";
    const auto minimise_and_restore = [&] {
        ShowWindow(window, SW_MINIMIZE);
        EXPECT_TRUE(wait_until([&] { return IsIconic(window) != 0; }));
        ShowWindow(window, SW_RESTORE);
        EXPECT_TRUE(wait_until([&] { return IsIconic(window) == 0; }));
        on_top(window);
    };
    minimise_and_restore();
    expect_picture(window, "installer_welcome.png");
    ASSERT_TRUE(to_selection_page(window));
    minimise_and_restore();
    expect_picture(window, "installer_select.png", blank_disk_space_line);

    // The question over it, minimised and restored alone.
    click(window, cancel_button);
    const HWND question = wait_for_window(installer.id(), L"Exit Installer");
    ASSERT_NE(question, nullptr);
    on_top(question);
    const hostsim::Image asked = gallery::settled_on_screen(question);
    ShowWindow(question, SW_MINIMIZE);
    EXPECT_TRUE(wait_until([&] { return IsIconic(question) != 0; }));
    ShowWindow(question, SW_RESTORE);
    EXPECT_TRUE(wait_until([&] { return IsIconic(question) == 0; }));
    on_top(question);
    const auto d = reference_pictures::compare(gallery::settled_on_screen(question), asked);
    EXPECT_LE(d.max, 24.0f / 255) << "the question drew otherwise after it was restored";
    EXPECT_LE(d.mean, 0.5 / 255);
    post_key(question, VK_ESCAPE);
    EXPECT_TRUE(wait_until([&] { return !IsWindow(question); }));
}

namespace {

// A shown installer window of another process than the given one.
HWND find_other_installer(DWORD process) {
    HWND found = nullptr;
    for (HWND w = FindWindowW(nullptr, installer_title); w && !found; w = FindWindowExW(nullptr, w, nullptr, installer_title)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner != process && IsWindowVisible(w)) found = w;
    }
    return found;
}

}  // namespace

// One installer at a time: a copy started while one runs, elevated or not, brings the running one's
// window forward and ends; it writes nothing. Two started together end with one window.
TEST(InstallerWindow, ASecondCopyBringsTheFirstForwardAndEnds) {
    SeededInstall setup;
    ASSERT_TRUE(setup.seeded);
    InstallerProcess first;
    ASSERT_TRUE(first.started());
    const HWND window = wait_for_window(first.id(), installer_title);
    ASSERT_NE(window, nullptr);
    for (const bool launching : {false, true}) {
        SCOPED_TRACE(launching ? "the copy a user starts" : "an elevated copy");
        ShowWindow(window, SW_MINIMIZE);
        ASSERT_TRUE(wait_until([&] { return IsIconic(window) != 0; }));
        InstallerProcess second(launching);
        ASSERT_TRUE(second.started());
        EXPECT_EQ(second.exit_code(), std::optional<DWORD>(0));
        EXPECT_TRUE(wait_until([&] { return IsIconic(window) == 0; })) << "the running copy was not brought forward";
    }
    EXPECT_TRUE(still_running(window));
    for (const std::wstring* folder : {&setup.cc2015, &setup.cc2017, &setup.cc2018})
        EXPECT_FALSE(read_file(plugin_file(*folder)));
    // A copy that did not give way (one the launching copy started has no handle here) is ended.
    while (const HWND other = find_other_installer(first.id())) {
        ADD_FAILURE() << "a second installer window runs";
        DWORD id = 0;
        GetWindowThreadProcessId(other, &id);
        if (const HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id)) {
            TerminateProcess(process, 99);
            WaitForSingleObject(process, 10000);
            CloseHandle(process);
        }
    }
}

TEST(InstallerWindow, TwoCopiesStartedTogetherShowOneWindow) {
    SeededInstall setup;
    ASSERT_TRUE(setup.seeded);
    InstallerProcess a, b;
    ASSERT_TRUE(a.started() && b.started());
    // One of them ends by itself; the other shows the only window.
    std::optional<DWORD> ended;
    InstallerProcess* remaining = nullptr;
    EXPECT_TRUE(wait_until([&] {
        if (a.exit_code(0)) ended = a.exit_code(0), remaining = &b;
        else if (b.exit_code(0)) ended = b.exit_code(0), remaining = &a;
        return ended.has_value();
    })) << "both copies run";
    EXPECT_EQ(ended, std::optional<DWORD>(0));
    ASSERT_NE(remaining, nullptr);
    EXPECT_NE(wait_for_window(remaining->id(), installer_title), nullptr);
    EXPECT_EQ(remaining->exit_code(0), std::nullopt) << "neither copy runs";
}
