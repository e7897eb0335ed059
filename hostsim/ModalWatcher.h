// Plays the user at the screen: notices every window the effect opens on its own, notes its title, text,
// class, owner, client size and what it shows, and dismisses it, so that no run ever waits on a modal
// window.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <windows.h>

#include "Image.h"

namespace hostsim {

struct seen_window {
    std::string title;
    std::string text;       // the message of a standard message box; empty for other windows
    std::string className;
    HWND owner = nullptr;
    int width = 0;   // client area, device pixels
    int height = 0;
    Image pixels;    // the client area as shown before it was dismissed (opaque)
};

class ModalWatcher {
public:
    // Windows in `ignored` (the host's own) are left alone.
    explicit ModalWatcher(std::vector<HWND> ignored);
    ~ModalWatcher();
    ModalWatcher(const ModalWatcher&) = delete;
    ModalWatcher& operator=(const ModalWatcher&) = delete;

    std::vector<seen_window> seen() const;
    void clear();
    // Removes the latest record and returns it; throws std::logic_error when there is none.
    seen_window takeLast();

    // What the watcher does with a window once it has noted it: by default it dismisses it (OK for a
    // message box, a close request otherwise). A responder set here acts in its place, on the watcher's
    // thread; null brings the default back.
    using responder = std::function<void(HWND window, const seen_window& record)>;
    void setResponder(responder respond);

private:
    void run();
    void inspect(HWND window);

    std::vector<HWND> ignored_;
    std::set<HWND> handled_;
    mutable std::mutex mutex_;
    std::vector<seen_window> seen_;
    responder respond_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace hostsim
