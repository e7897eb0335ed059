// The host's render thread: the host sends its render commands from a thread of its own, not from the
// thread that runs its windows, and waits for each to end while that thread goes on taking its windows'
// messages (the host's interface never blocks on a render).
#pragma once

#include <windows.h>

#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace hostsim {

class HostRenderThread {
public:
    HostRenderThread();
    // Lets the thread end and waits for it.
    ~HostRenderThread();
    HostRenderThread(const HostRenderThread&) = delete;
    HostRenderThread& operator=(const HostRenderThread&) = delete;

    // Runs `work` on the render thread and waits until it has run, dispatching the calling thread's
    // messages meanwhile; what it throws is thrown here.
    void run(const std::function<void()>& work);
    DWORD id() const { return id_; }

private:
    void main();

    std::mutex mutex_;
    std::condition_variable changed_;
    const std::function<void()>* work_ = nullptr;  // handed over; null once it has run
    std::exception_ptr failure_;
    bool quit_ = false;
    DWORD id_ = 0;
    const std::unique_ptr<void, decltype(&CloseHandle)> done_;  // set once the work has run
    std::thread thread_;  // last: starts once the rest is ready
};

}  // namespace hostsim
