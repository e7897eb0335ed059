#include "StderrCapture.h"

#include <io.h>
#include <stdexcept>

namespace hostsim {

StderrCapture::StderrCapture() {
    std::fflush(stderr);
    file_ = std::tmpfile();
    if (!file_) throw std::runtime_error("cannot make a file to capture the error stream");
    saved_ = _dup(2);
    _dup2(_fileno(file_), 2);
}

StderrCapture::~StderrCapture() { finish(); }

std::string StderrCapture::finish() {
    if (saved_ < 0) return {};
    std::fflush(stderr);
    _dup2(saved_, 2);
    _close(saved_);
    saved_ = -1;
    std::string text;
    std::rewind(file_);
    char buffer[4096];
    size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, file_)) > 0) text.append(buffer, count);
    std::fclose(file_);
    file_ = nullptr;
    return text;
}

}  // namespace hostsim
