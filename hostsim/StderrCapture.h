// Collects what is written to the process's standard error stream while the object lives.
#pragma once

#include <cstdio>
#include <string>

namespace hostsim {

class StderrCapture {
public:
    StderrCapture();
    ~StderrCapture();
    StderrCapture(const StderrCapture&) = delete;
    StderrCapture& operator=(const StderrCapture&) = delete;

    // Everything written so far; ends the capture.
    std::string finish();

private:
    std::FILE* file_ = nullptr;
    int saved_ = -1;
};

}  // namespace hostsim
