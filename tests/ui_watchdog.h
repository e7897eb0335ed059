// Bounds a UI test's waiting: ends any modal loop of the test thread with a WM_QUIT if the test has not
// finished in time, and the process if even that does not end it.
#pragma once

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>

namespace ui_test {

class watchdog {
public:
    watchdog() : thread_id_(GetCurrentThreadId()), thread_([this] {
        std::unique_lock lock(mutex_);
        if (done_.wait_for(lock, std::chrono::seconds(20), [this] { return finished_; })) return;
        PostThreadMessageW(thread_id_, WM_QUIT, 0, 0);
        if (done_.wait_for(lock, std::chrono::seconds(20), [this] { return finished_; })) return;
        std::fputs("watchdog: the test thread did not return from its loop\n", stderr);
        TerminateProcess(GetCurrentProcess(), 3);
    }) {}
    ~watchdog() {
        {
            std::lock_guard lock(mutex_);
            finished_ = true;
        }
        done_.notify_one();
        thread_.join();
    }

private:
    DWORD thread_id_;
    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
    std::thread thread_;
};

}  // namespace ui_test
