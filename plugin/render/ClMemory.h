// One OpenCL memory object owned by a scope or a member and released with it; null releases nothing.
#pragma once

#include "OpenClLibrary.h"

class ClMemory {
public:
    explicit ClMemory(const OpenClLibrary& cl, cl_mem memory = nullptr) : cl_(cl), memory_(memory) {}
    ~ClMemory() { reset(); }
    ClMemory(const ClMemory&) = delete;
    ClMemory& operator=(const ClMemory&) = delete;

    cl_mem get() const { return memory_; }
    // Where the handle lives, for a kernel argument.
    const cl_mem* address() const { return &memory_; }
    void reset(cl_mem memory = nullptr) {
        if (memory_) cl_.clReleaseMemObject(memory_);
        memory_ = memory;
    }

private:
    const OpenClLibrary& cl_;
    cl_mem memory_;
};
