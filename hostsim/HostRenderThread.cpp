#include "HostRenderThread.h"

namespace hostsim {

HostRenderThread::HostRenderThread() : thread_([this] { main(); }) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return id_ != 0; });
}

HostRenderThread::~HostRenderThread() {
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void HostRenderThread::run(const std::function<void()>& work) {
    std::unique_lock lock(mutex_);
    work_ = &work;
    failure_ = nullptr;
    changed_.notify_all();
    changed_.wait(lock, [this] { return work_ == nullptr; });
    if (failure_) std::rethrow_exception(failure_);
}

void HostRenderThread::main() {
    std::unique_lock lock(mutex_);
    id_ = GetCurrentThreadId();
    changed_.notify_all();
    for (;;) {
        changed_.wait(lock, [this] { return quit_ || work_; });
        if (!work_) return;
        lock.unlock();
        std::exception_ptr failure;
        try {
            (*work_)();
        } catch (...) {
            failure = std::current_exception();
        }
        lock.lock();
        failure_ = failure;
        work_ = nullptr;
        changed_.notify_all();
    }
}

}  // namespace hostsim
