#include "HostRenderThread.h"

#include <stdexcept>

namespace hostsim {

namespace {

// Dispatches the calling thread's messages until `done` is set, as the host's interface thread goes on
// running its windows while a frame renders: a program's broadcast is answered at once. A quit message
// met on the way is posted again for the loop that waits for it.
void dispatchUntil(HANDLE done) {
    bool quit = false;
    WPARAM quitCode = 0;
    for (;;) {
        const DWORD woken = MsgWaitForMultipleObjectsEx(1, &done, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woken == WAIT_OBJECT_0) break;
        if (woken != WAIT_OBJECT_0 + 1) throw std::runtime_error("the host's wait for its render thread failed");
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quit = true;
                quitCode = message.wParam;
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    if (quit) PostQuitMessage(static_cast<int>(quitCode));
}

}  // namespace

HostRenderThread::HostRenderThread()
    : done_(CreateEventW(nullptr, FALSE, FALSE, nullptr), &CloseHandle), thread_([this] { main(); }) {
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
    if (!done_) throw std::runtime_error("the host's render thread has no event to say it is done");
    {
        std::lock_guard lock(mutex_);
        work_ = &work;
        failure_ = nullptr;
    }
    changed_.notify_all();
    dispatchUntil(done_.get());
    std::lock_guard lock(mutex_);
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
        SetEvent(done_.get());
    }
}

}  // namespace hostsim
