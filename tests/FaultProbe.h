// Deliberate faults for the tests of the crash-dump translator, and a handler that sees what the
// translator lets through.
#pragma once

#include <windows.h>

#include <cstdint>
#include <mutex>
#include <vector>

// Leaf functions without unwind information, so that a fault in them is exactly where the test puts it.
extern "C" int qs_test_read_int(const volatile int* address);
extern "C" int qs_test_divide(int dividend, int divisor);

// An address no thread can read; computed at run time, so the compiler does not warn about the read.
const volatile int* unmappedAddress();

// Registered after the translator's handler, it sees only what that handler let through, and resumes the
// thread: a fault of qs_test_read_int reads as -1, an exception raised with `marker` as its one
// parameter continues after the raise. One at a time.
class PassedThrough {
public:
    static constexpr ULONG_PTR marker = 0x51510000;

    PassedThrough();
    ~PassedThrough();
    PassedThrough(const PassedThrough&) = delete;
    PassedThrough& operator=(const PassedThrough&) = delete;

    std::vector<DWORD> codes();

private:
    static LONG CALLBACK onException(EXCEPTION_POINTERS* pointers);

    static inline PassedThrough* current_ = nullptr;
    void* handler_ = nullptr;
    std::mutex mutex_;
    std::vector<DWORD> codes_;
};
