// How the window steers a running install between two targets: it holds the run while it asks whether
// to cancel, lets it go on, or stops it before its next target. The worker asks before each target.
// Window-free and thread-safe.
#pragma once

#include <condition_variable>
#include <mutex>

namespace installer {

class RunControl {
public:
    // A new run: neither held nor stopped.
    void reset();
    // The worker waits before its next target until resume or stop.
    void hold();
    void resume();
    // The run ends before its next target; a held worker is let go.
    void stop();
    // The worker's question before each target: waits while held; false once stopped.
    bool may_continue();
    // Whether a stop was asked for, without waiting.
    bool stopped();

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool held_ = false;
    bool stopped_ = false;
};

}  // namespace installer
