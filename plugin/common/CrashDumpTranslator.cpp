#include "CrashDumpTranslator.h"

#include <dbghelp.h>
#include <shlobj.h>

#include <cstdint>
#include <memory>
#include <new>
#include <stdexcept>

#include "ProductInfo.h"
#include "file_path.h"
#include "utf.h"

// How it works. The compiler offers no way to turn a structured exception into a C++ one, so a vectored
// exception handler does it: it sees every exception of the process first, and for a hardware fault on a
// thread that installed the translator it makes the faulting thread "call" crashDumpTranslator from the
// faulting instruction. The throw then unwinds from there like any other (the plug-in is built with
// -fnon-call-exceptions, so faulting instructions have unwind entries). The handler only acts when the
// first handler the system would run for the fault is a C++ frame of this module: a fault that code of
// another kind guards against (the system's own probing of pointers, say) is left to that code.

// The personality routine the compiler attaches to this module's C++ frames.
extern "C" EXCEPTION_DISPOSITION __gxx_personality_seh0(PEXCEPTION_RECORD, void*, PCONTEXT, PDISPATCHER_CONTEXT);

namespace {

// The fault as the handler saw it; its own copies outlive the handler's stack, which the thrower reuses.
struct fault_record {
    EXCEPTION_RECORD record;
    CONTEXT context;
};

// A thread's state lives in a Win32 TLS slot: the handler must read it without allocating, which this
// toolchain's emulated thread_local cannot promise on a thread that never touched it.
enum class ThreadState : uintptr_t { off = 0, on = 1, translating = 2 };

LONG CALLBACK onException(EXCEPTION_POINTERS* pointers);

// The handler stays registered while the module is loaded; a handler left behind by an unloaded module
// would be called by every later exception of the process.
class FaultHandlerRegistration {
public:
    FaultHandlerRegistration() : slot_(TlsAlloc()), handler_(AddVectoredExceptionHandler(1, &onException)) {}
    ~FaultHandlerRegistration() {
        RemoveVectoredExceptionHandler(handler_);
        TlsFree(slot_);
    }
    FaultHandlerRegistration(const FaultHandlerRegistration&) = delete;
    FaultHandlerRegistration& operator=(const FaultHandlerRegistration&) = delete;

    ThreadState state() const { return static_cast<ThreadState>(reinterpret_cast<uintptr_t>(TlsGetValue(slot_))); }
    void setState(ThreadState state) const {
        TlsSetValue(slot_, reinterpret_cast<void*>(static_cast<uintptr_t>(state)));
    }

private:
    DWORD slot_;
    void* handler_;
};

const FaultHandlerRegistration& registration() {
    static const FaultHandlerRegistration instance;
    return instance;
}

constexpr size_t folderBound = 512;
constexpr size_t programNameBound = 64;
constexpr size_t pathBound = 512;
constexpr size_t messageBound = 1024;

// Each text has a buffer of a fixed size in characters, the terminator included; longer text is cut.
std::wstring bounded(std::wstring text, size_t bound) {
    if (text.size() >= bound) text.resize(bound - 1);
    return text;
}

std::wstring zeroPadded(unsigned value, size_t width) {
    std::wstring digits = std::to_wstring(value);
    if (digits.size() < width) digits.insert(0, width - digits.size(), L'0');
    return digits;
}

std::wstring programName() {
    return bounded(qssdk::utf8_to_utf16(product::displayName) + L"_v" + std::to_wstring(product::versionMajor) +
                       L"." + std::to_wstring(product::versionMinor) + L"." +
                       std::to_wstring(product::buildNumber),
                   programNameBound);
}

void writeMinidump(const std::wstring& path, EXCEPTION_POINTERS* pointers) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, CREATE_ALWAYS, 0, nullptr);
    // Not being able to write the dump is not reported: the message names the path all the same.
    if (file == INVALID_HANDLE_VALUE) return;
    const std::unique_ptr<void, decltype(&CloseHandle)> closer(file, &CloseHandle);
    MINIDUMP_EXCEPTION_INFORMATION fault{GetCurrentThreadId(), pointers, TRUE};
    MiniDumpWriteDump(GetCurrentProcess(), GetCurrentProcessId(), file, MiniDumpWithDataSegs,
                      pointers ? &fault : nullptr, nullptr, nullptr);
}

// The calling thread's block (NtCurrentTeb's inline read trips the compiler's array-bounds check).
const NT_TIB* threadBlock() {
    const NT_TIB* self;
    asm("movq %%gs:0x30, %0" : "=r"(self));
    return self;
}

// Walks the faulting thread's frames as the system's dispatcher will and tells whether the first
// handler it would run is a C++ frame of this module.
bool reachesCppFrameFirst(CONTEXT context) {
    const NT_TIB* tib = threadBlock();
    const auto stackLow = reinterpret_cast<DWORD64>(tib->StackLimit);
    const auto stackHigh = reinterpret_cast<DWORD64>(tib->StackBase);
    // Wine keeps the guards of its own code in the thread block's frame list instead of unwind tables
    // (the list is unused on Windows); the dispatcher runs one as soon as the walk passes it.
    DWORD64 lowestGuard = stackHigh;
    const EXCEPTION_REGISTRATION_RECORD* guard = tib->ExceptionList;
    for (int i = 0; i < 64 && guard; ++i, guard = guard->Next) {
        const auto address = reinterpret_cast<DWORD64>(guard);
        if (address >= stackHigh) break;  // the end of the list, or not a frame of this stack
        if (address >= context.Rsp) {     // innermost first: frames below the fault are the dispatcher's
            lowestGuard = address;
            break;
        }
    }

    for (int depth = 0; depth < 256; ++depth) {
        if (context.Rip == 0 || context.Rsp < stackLow || context.Rsp + sizeof(DWORD64) > stackHigh) return false;
        DWORD64 imageBase = 0;
        PRUNTIME_FUNCTION function = RtlLookupFunctionEntry(context.Rip, &imageBase, nullptr);
        PEXCEPTION_ROUTINE handler = nullptr;
        if (function) {
            void* handlerData = nullptr;
            DWORD64 establisher = 0;
            handler = RtlVirtualUnwind(UNW_FLAG_EHANDLER, imageBase, context.Rip, function, &context, &handlerData,
                                       &establisher, nullptr);
        } else {  // a leaf function: its return address is on top of the stack
            context.Rip = *reinterpret_cast<const DWORD64*>(context.Rsp);
            context.Rsp += sizeof(DWORD64);
        }
        if (handler)
            return reinterpret_cast<void*>(handler) == reinterpret_cast<void*>(&__gxx_personality_seh0);
        if (lowestGuard < context.Rsp) return false;
    }
    return false;
}

}  // namespace

// The faulting thread resumes here, as if the faulting instruction had called it: it realigns the stack
// (a fault may happen at any stack alignment) behind a frame pointer the unwinder can follow, then calls
// qs_crash_dump_throw with the fault record the handler left in rcx.
extern "C" void qs_crash_dump_trampoline();
asm(R"(
    .text
    .p2align 4
    .def qs_crash_dump_trampoline; .scl 2; .type 32; .endef
    .globl qs_crash_dump_trampoline
    .seh_proc qs_crash_dump_trampoline
qs_crash_dump_trampoline:
    pushq %rbp
    .seh_pushreg %rbp
    movq %rsp, %rbp
    .seh_setframe %rbp, 0
    .seh_endprologue
    andq $-16, %rsp
    subq $32, %rsp
    call qs_crash_dump_throw
    int3
    .seh_endproc
)");

extern "C" [[noreturn]] void qs_crash_dump_throw(fault_record* raw) {
    const std::unique_ptr<fault_record> fault(raw);
    // A fault while the dump is written is not translated again; once the exception leaves, the next one is.
    struct translation_end {
        ~translation_end() { registration().setState(ThreadState::on); }
    } end;
    EXCEPTION_POINTERS pointers{&fault->record, &fault->context};
    crashDumpTranslator(fault->record.ExceptionCode, &pointers);
}

namespace {

LONG CALLBACK onException(EXCEPTION_POINTERS* pointers) {
    if (!isHardwareFault(pointers->ExceptionRecord->ExceptionCode)) return EXCEPTION_CONTINUE_SEARCH;
    // The faulting code's last-error value is its own (TlsGetValue resets it).
    const DWORD lastError = GetLastError();
    const bool translating = registration().state() == ThreadState::on && reachesCppFrameFirst(*pointers->ContextRecord);
    SetLastError(lastError);
    if (!translating) return EXCEPTION_CONTINUE_SEARCH;

    auto* fault = new (std::nothrow) fault_record{*pointers->ExceptionRecord, *pointers->ContextRecord};
    if (!fault) return EXCEPTION_CONTINUE_SEARCH;
    fault->record.ExceptionRecord = nullptr;  // a chained record would live on the stack about to be reused
    registration().setState(ThreadState::translating);

    // Push a return address just past the faulting instruction's start, so that the unwinder finds the
    // faulting frame (and the handlers covering that instruction) above the trampoline.
    CONTEXT& context = *pointers->ContextRecord;
    context.Rsp -= sizeof(DWORD64);
    *reinterpret_cast<DWORD64*>(context.Rsp) = context.Rip + 1;
    context.Rip = reinterpret_cast<DWORD64>(&qs_crash_dump_trampoline);
    context.Rcx = reinterpret_cast<DWORD64>(fault);
    return EXCEPTION_CONTINUE_EXECUTION;
}

}  // namespace

void installCrashDumpTranslator() { registration().setState(ThreadState::on); }

void crashDumpTranslator(unsigned int, EXCEPTION_POINTERS* pointers) {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    const std::wstring base = crashDumpBaseFolder(documentsFolder());
    qssdk::file_path::from_wide(crashDumpFolder(base)).create_directories();
    const std::wstring path = crashDumpFilePath(base, now, GetCurrentProcessId(), GetCurrentThreadId());
    writeMinidump(path, pointers);
    throw std::runtime_error(crashDumpMessage(path));
}

bool isHardwareFault(DWORD code) {
    switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_IN_PAGE_ERROR:
    case EXCEPTION_DATATYPE_MISALIGNMENT:
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_PRIV_INSTRUCTION:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_INT_OVERFLOW:
    case EXCEPTION_FLT_DENORMAL_OPERAND:
    case EXCEPTION_FLT_DIVIDE_BY_ZERO:
    case EXCEPTION_FLT_INEXACT_RESULT:
    case EXCEPTION_FLT_INVALID_OPERATION:
    case EXCEPTION_FLT_OVERFLOW:
    case EXCEPTION_FLT_STACK_CHECK:
    case EXCEPTION_FLT_UNDERFLOW:
    case STATUS_FLOAT_MULTIPLE_FAULTS:
    case STATUS_FLOAT_MULTIPLE_TRAPS:
        return true;
    // A stack overflow leaves no stack to write a dump or throw from; guard pages are the system's own.
    default:
        return false;
    }
}

std::wstring documentsFolder() {
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, folder))) return {};
    return folder;
}

std::wstring crashDumpBaseFolder(std::wstring_view documents) {
    if (!documents.empty()) return std::wstring(documents);
    wchar_t temp[MAX_PATH] = {};
    const DWORD length = GetTempPathW(MAX_PATH, temp);
    return length < MAX_PATH ? std::wstring(temp, length) : std::wstring();
}

std::wstring crashDumpFolder(std::wstring_view base) {
    // The temporary folder comes with a trailing separator; the path gets a single one all the same.
    if (!base.empty() && base.back() == L'\\') base.remove_suffix(1);
    return bounded(std::wstring(base) + L"\\Quillstone\\Error Logs", folderBound);
}

std::wstring crashDumpFilePath(std::wstring_view base, const SYSTEMTIME& time, DWORD processId, DWORD threadId) {
    return bounded(crashDumpFolder(base) + L"\\" + programName() + L"-" + zeroPadded(time.wYear, 4) +
                       zeroPadded(time.wMonth, 2) + zeroPadded(time.wDay, 2) + L"-" + zeroPadded(time.wHour, 2) +
                       zeroPadded(time.wMinute, 2) + zeroPadded(time.wSecond, 2) + L"-" +
                       std::to_wstring(processId) + L"-" + std::to_wstring(threadId) + L".dmp",
                   pathBound);
}

std::string crashDumpMessage(std::wstring_view dumpPath) {
    const std::wstring text = L"Please compress the following file and contact support (" +
                              qssdk::utf8_to_utf16(product::supportEmail) + L"):\n\n" + std::wstring(dumpPath);
    return qssdk::utf16_to_utf8(bounded(text, messageBound));
}
