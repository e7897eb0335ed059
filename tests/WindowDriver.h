// Plays the user on a window the test's own thread opens (a dialog or a menu): on a thread of its own it
// waits for a visible window of the given class in this process, hands it to an action, and if the window
// is still there after the time limit (or never turned up: the fallback then gets null) runs a fallback
// that ends it, so no test waits on it for ever.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include <windows.h>

class WindowDriver {
public:
    using action = std::function<void(HWND)>;

    WindowDriver(std::wstring class_name, action act, action fallback,
                 std::chrono::milliseconds limit = std::chrono::seconds(10))
        : class_name_(std::move(class_name)), act_(std::move(act)), fallback_(std::move(fallback)), limit_(limit),
          thread_([this] { run(); }) {}
    ~WindowDriver() {
        stop_ = true;
        thread_.join();
    }
    WindowDriver(const WindowDriver&) = delete;
    WindowDriver& operator=(const WindowDriver&) = delete;

    // Whether the window turned up and the action was started.
    bool acted() const { return acted_; }
    // Whether the window did not turn up or the action did not end it in time, and the fallback ran.
    bool fell_back() const { return fell_back_; }

private:
    struct search {
        const std::wstring* class_name;
        HWND found = nullptr;
    };

    HWND find() const {
        search s{&class_name_};
        EnumWindows(
            [](HWND window, LPARAM param) -> BOOL {
                auto* s = reinterpret_cast<search*>(param);
                DWORD process = 0;
                GetWindowThreadProcessId(window, &process);
                wchar_t name[64] = {};
                GetClassNameW(window, name, 64);
                if (process != GetCurrentProcessId() || !IsWindowVisible(window) || *s->class_name != name)
                    return TRUE;
                s->found = window;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&s));
        return s.found;
    }

    void run() {
        const auto deadline = std::chrono::steady_clock::now() + limit_;
        HWND window = nullptr;
        while (!stop_ && !window && std::chrono::steady_clock::now() < deadline) {
            window = find();
            if (!window) Sleep(10);
        }
        if (!window) {
            if (!stop_) {
                fell_back_ = true;
                fallback_(nullptr);
            }
            return;
        }
        acted_ = true;
        act_(window);
        while (!stop_ && IsWindow(window) && IsWindowVisible(window) && std::chrono::steady_clock::now() < deadline)
            Sleep(10);
        if (!stop_ && IsWindow(window) && IsWindowVisible(window)) {
            fell_back_ = true;
            fallback_(window);
        }
    }

    std::wstring class_name_;
    action act_, fallback_;
    std::chrono::milliseconds limit_;
    std::atomic<bool> stop_{false}, acted_{false}, fell_back_{false};
    std::thread thread_;
};
