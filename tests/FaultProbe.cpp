#include "FaultProbe.h"

extern "C" const char qs_test_read_int_end[];
asm(R"(
    .text
    .globl qs_test_read_int
    .globl qs_test_read_int_end
qs_test_read_int:
    movl (%rcx), %eax
qs_test_read_int_end:
    ret
    .globl qs_test_divide
qs_test_divide:
    movl %edx, %r8d
    movl %ecx, %eax
    cltd
    idivl %r8d
    ret
)");

namespace {

volatile uintptr_t unmapped = 16;

}  // namespace

const volatile int* unmappedAddress() { return reinterpret_cast<const volatile int*>(unmapped); }

PassedThrough::PassedThrough() {
    current_ = this;
    handler_ = AddVectoredExceptionHandler(0, &onException);
}

PassedThrough::~PassedThrough() {
    RemoveVectoredExceptionHandler(handler_);
    current_ = nullptr;
}

std::vector<DWORD> PassedThrough::codes() {
    std::lock_guard lock(mutex_);
    return codes_;
}

LONG CALLBACK PassedThrough::onException(EXCEPTION_POINTERS* pointers) {
    const EXCEPTION_RECORD& record = *pointers->ExceptionRecord;
    const bool probe = record.ExceptionCode == EXCEPTION_ACCESS_VIOLATION &&
                       record.ExceptionAddress == reinterpret_cast<void*>(&qs_test_read_int);
    const bool raised = record.NumberParameters == 1 && record.ExceptionInformation[0] == marker;
    if (!current_ || !(probe || raised)) return EXCEPTION_CONTINUE_SEARCH;
    {
        std::lock_guard lock(current_->mutex_);
        current_->codes_.push_back(record.ExceptionCode);
    }
    if (probe) {
        pointers->ContextRecord->Rip = reinterpret_cast<DWORD64>(qs_test_read_int_end);
        pointers->ContextRecord->Rax = 0xFFFFFFFF;
    }
    return EXCEPTION_CONTINUE_EXECUTION;
}
