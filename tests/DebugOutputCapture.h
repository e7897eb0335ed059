// Collects what the process writes to the debugger (OutputDebugStringA) while the object lives, by
// watching for the exception through which the system hands such text to a debugger.
#pragma once

#include <mutex>
#include <string>

class DebugOutputCapture {
public:
    DebugOutputCapture();
    ~DebugOutputCapture();
    DebugOutputCapture(const DebugOutputCapture&) = delete;
    DebugOutputCapture& operator=(const DebugOutputCapture&) = delete;

    std::string text() const;

private:
    void* handler_ = nullptr;
};
