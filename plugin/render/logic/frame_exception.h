// The failure of one frame's work on the renderer thread that leaves the renderer whole: the job's caller
// gets it like any other exception, and the thread goes on to take the next job.
#pragma once

#include <stdexcept>
#include <string>

class frame_exception : public std::runtime_error {
public:
    explicit frame_exception(const std::string& message) : std::runtime_error(message) {}
};
