#include "ModalWatcher.h"

#include <algorithm>
#include <stdexcept>

#include "WindowCapture.h"
#include "utf.h"

namespace hostsim {

namespace {

std::string windowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(copied, 0)));
    return qssdk::utf16_to_utf8(text);
}

std::string className(HWND window) {
    wchar_t name[256] = {};
    const int length = GetClassNameW(window, name, 256);
    return qssdk::utf16_to_utf8(std::wstring_view(name, static_cast<size_t>(std::max(length, 0))));
}

// What the window shows once it has painted. The window belongs to another thread, which is in its modal
// loop: it is asked to repaint, and read back until the picture is not all black and the same twice
// running, 50 ms apart, for at most 10 s (a fresh window reads back black for a while under Wine on Xvfb,
// and a loaded machine can take seconds).
Image settledPixels(HWND window) {
    // Windows of other programs on the screen (other hosts' main windows among them) must not hide what is
    // read: the window is put above them first.
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Image last;
    for (int attempt = 0; attempt < 200; ++attempt) {
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
        Sleep(50);
        Image now = captureClientArea(window);
        if (!allBlack(now) && samePixels(now, last)) return now;
        last = std::move(now);
    }
    return last;
}

}  // namespace

ModalWatcher::ModalWatcher(std::vector<HWND> ignored) : ignored_(std::move(ignored)), thread_([this] { run(); }) {}

ModalWatcher::~ModalWatcher() {
    stop_ = true;
    thread_.join();
}

std::vector<seen_window> ModalWatcher::seen() const {
    std::lock_guard guard(mutex_);
    return seen_;
}

void ModalWatcher::clear() {
    std::lock_guard guard(mutex_);
    seen_.clear();
}

seen_window ModalWatcher::takeLast() {
    std::lock_guard guard(mutex_);
    if (seen_.empty()) throw std::logic_error("the watcher has seen no window");
    seen_window last = std::move(seen_.back());
    seen_.pop_back();
    return last;
}

void ModalWatcher::setResponder(responder respond) {
    std::lock_guard guard(mutex_);
    respond_ = std::move(respond);
}

void ModalWatcher::run() {
    const DWORD self = GetCurrentProcessId();
    while (!stop_) {
        std::vector<HWND> windows;
        EnumWindows(
            [](HWND window, LPARAM list) -> BOOL {
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&windows));
        // Forget windows that are gone, so a reused handle value counts as a new window.
        for (auto it = handled_.begin(); it != handled_.end();)
            it = IsWindow(*it) ? std::next(it) : handled_.erase(it);
        for (HWND window : windows) {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (process != self || !IsWindowVisible(window)) continue;
            if (std::find(ignored_.begin(), ignored_.end(), window) != ignored_.end()) continue;
            if (handled_.count(window)) continue;
            inspect(window);
        }
        Sleep(10);
    }
}

void ModalWatcher::inspect(HWND window) {
    seen_window record;
    record.title = windowText(window);
    record.className = className(window);
    record.owner = GetWindow(window, GW_OWNER);
    RECT client{};
    GetClientRect(window, &client);
    record.width = client.right - client.left;
    record.height = client.bottom - client.top;
    record.pixels = settledPixels(window);
    const bool messageBox = record.className == "#32770";
    if (messageBox) {
        // A message box shows its text in the static control with id 0xFFFF.
        if (HWND text = GetDlgItem(window, 0xFFFF)) record.text = windowText(text);
    }
    handled_.insert(window);
    responder respond;
    {
        std::lock_guard guard(mutex_);
        seen_.push_back(record);
        respond = respond_;
    }
    if (respond)
        respond(window, record);
    else if (messageBox)
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    else
        PostMessageW(window, WM_CLOSE, 0, 0);
}

}  // namespace hostsim
