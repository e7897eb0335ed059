// Lets a group of threads start together. (std::latch of this toolchain loses wake-ups under Wine:
// a waiter can sleep forever after the count reached zero.)
#pragma once

#include <condition_variable>
#include <mutex>

class StartGate {
public:
    explicit StartGate(int count) : waiting_(count) {}

    void arrive_and_wait() {
        std::unique_lock lock(mutex_);
        if (--waiting_ == 0) {
            condition_.notify_all();
            return;
        }
        condition_.wait(lock, [this] { return waiting_ == 0; });
    }

private:
    std::mutex mutex_;
    std::condition_variable condition_;
    int waiting_;
};
