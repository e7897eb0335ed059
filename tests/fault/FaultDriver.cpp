// A stand-in for a GPU driver in the fault tests: a library of its own, with its own runtime and frame
// handlers, whose code faults. One read faults in a frame whose handler declines the fault, one in a frame
// whose handler takes it, and one in a C++ frame that has a destructor to run.
#include <windows.h>

#include <atomic>

#include "FaultDriver.h"

namespace {

std::atomic<int> declined{0};
std::atomic<int> cleanups{0};

struct counted_cleanup {
    ~counted_cleanup() { ++cleanups; }
};

}  // namespace

extern "C" const char qs_driver_read_guarded_end[];

// Passes every exception of its frame on, as a driver's guard for other faults would; counts the access
// violations it saw.
extern "C" EXCEPTION_DISPOSITION qs_driver_declining_handler(PEXCEPTION_RECORD record, void*, PCONTEXT,
                                                             PDISPATCHER_CONTEXT) {
    if (record->ExceptionCode == EXCEPTION_ACCESS_VIOLATION) ++declined;
    return ExceptionContinueSearch;
}

// Takes an access violation of its frame: the read gives -1.
extern "C" EXCEPTION_DISPOSITION qs_driver_guarding_handler(PEXCEPTION_RECORD record, void*, PCONTEXT context,
                                                            PDISPATCHER_CONTEXT) {
    if (record->ExceptionCode != EXCEPTION_ACCESS_VIOLATION) return ExceptionContinueSearch;
    context->Rip = reinterpret_cast<DWORD64>(qs_driver_read_guarded_end);
    context->Rax = 0xFFFFFFFF;
    return ExceptionContinueExecution;
}

// Each read has a frame of its own with the handler attached, as compiled guarded code has.
asm(R"(
    .text
    .p2align 4
    .globl qs_driver_read_declined
    .def qs_driver_read_declined; .scl 2; .type 32; .endef
    .seh_proc qs_driver_read_declined
qs_driver_read_declined:
    subq $40, %rsp
    .seh_stackalloc 40
    .seh_handler qs_driver_declining_handler, @except
    .seh_endprologue
    movl (%rcx), %eax
    addq $40, %rsp
    ret
    .seh_endproc

    .p2align 4
    .globl qs_driver_read_guarded
    .globl qs_driver_read_guarded_end
    .def qs_driver_read_guarded; .scl 2; .type 32; .endef
    .seh_proc qs_driver_read_guarded
qs_driver_read_guarded:
    subq $40, %rsp
    .seh_stackalloc 40
    .seh_handler qs_driver_guarding_handler, @except
    .seh_endprologue
    movl (%rcx), %eax
qs_driver_read_guarded_end:
    addq $40, %rsp
    ret
    .seh_endproc

    .section .drectve
    .ascii " -export:qs_driver_read_declined -export:qs_driver_read_guarded"
    .text
)");

extern "C" __declspec(dllexport) __attribute__((noinline)) int qs_driver_read_in_cpp_frame(
    const volatile int* address) {
    const counted_cleanup cleanup;
    return *address + 1;
}

extern "C" __declspec(dllexport) int qs_driver_declined() { return declined.load(); }
extern "C" __declspec(dllexport) int qs_driver_cleanups() { return cleanups.load(); }
