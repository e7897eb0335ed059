// Collects the effect's debugger output (OutputDebugString lines) in the host process while it lives:
// the host plays the debugger, so tests and the command line can read the timing lines.
#pragma once

#include <mutex>
#include <string>
#include <vector>

namespace hostsim {

class DebugOutput {
public:
    DebugOutput();
    ~DebugOutput();
    DebugOutput(const DebugOutput&) = delete;
    DebugOutput& operator=(const DebugOutput&) = delete;

    // Every line so far, without its line end.
    std::vector<std::string> lines() const;
    void clear();

    void append(const char* text, size_t length);

private:
    void* handler_ = nullptr;
    mutable std::mutex mutex_;
    std::string pending_;
    std::vector<std::string> lines_;
};

}  // namespace hostsim
