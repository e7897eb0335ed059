#include "RunControl.h"

namespace installer {

void RunControl::reset() {
    std::lock_guard lock(mutex_);
    held_ = false;
    stopped_ = false;
}

void RunControl::hold() {
    std::lock_guard lock(mutex_);
    held_ = true;
}

void RunControl::resume() {
    {
        std::lock_guard lock(mutex_);
        held_ = false;
    }
    changed_.notify_all();
}

void RunControl::stop() {
    {
        std::lock_guard lock(mutex_);
        stopped_ = true;
    }
    changed_.notify_all();
}

bool RunControl::stopped() {
    std::lock_guard lock(mutex_);
    return stopped_;
}

bool RunControl::may_continue() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !held_ || stopped_; });
    return !stopped_;
}

}  // namespace installer
