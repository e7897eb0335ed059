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

// How it works. The compiler offers no way to turn a structured exception into a C++ one, so the frame
// handler of this module's C++ frames does it: the link wraps the personality routine the compiler attaches
// to them (--wrap=__gxx_personality_seh0). The system dispatches a fault to the frames' handlers from the
// faulting one outwards, so every frame below ours has had its say first: a handler that takes the fault
// (the system's own probing of pointers, a driver's guard) keeps it, one that declines passes it on, as do
// frames without a handler and the C++ frames of other libraries, which never catch a fault. When the fault
// reaches a frame of this module on a thread that installed the translator, the wrapper makes the faulting
// thread "call" crashDumpTranslator from the faulting instruction. The throw then unwinds from there like
// any other, through the frames in between (the plug-in is built with -fnon-call-exceptions, so faulting
// instructions have unwind entries).

extern "C" EXCEPTION_DISPOSITION __real___gxx_personality_seh0(PEXCEPTION_RECORD, void*, PCONTEXT,
                                                                PDISPATCHER_CONTEXT);

namespace {

// The fault as the handler saw it; its own copies outlive the handler's stack, which the thrower reuses.
struct fault_record {
    EXCEPTION_RECORD record;
    CONTEXT context;
};

// A thread's state lives in a Win32 TLS slot: the handler must read it without allocating, which this
// toolchain's emulated thread_local cannot promise on a thread that never touched it.
enum class ThreadState : uintptr_t { off = 0, on = 1, translating = 2 };

// The slot stays allocated while the module is loaded.
class ThreadStateSlot {
public:
    ThreadStateSlot() : slot_(TlsAlloc()) {}
    ~ThreadStateSlot() { TlsFree(slot_); }
    ThreadStateSlot(const ThreadStateSlot&) = delete;
    ThreadStateSlot& operator=(const ThreadStateSlot&) = delete;

    ThreadState state() const { return static_cast<ThreadState>(reinterpret_cast<uintptr_t>(TlsGetValue(slot_))); }
    void setState(ThreadState state) const {
        TlsSetValue(slot_, reinterpret_cast<void*>(static_cast<uintptr_t>(state)));
    }

private:
    DWORD slot_;
};

const ThreadStateSlot& threadState() {
    static const ThreadStateSlot instance;
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
        ~translation_end() { threadState().setState(ThreadState::on); }
    } end;
    EXCEPTION_POINTERS pointers{&fault->record, &fault->context};
    crashDumpTranslator(fault->record.ExceptionCode, &pointers);
}

// The search for a handler: a hardware fault on a translating thread that has come this far is the
// effect's to translate; everything else goes to the compiler's own routine.
extern "C" EXCEPTION_DISPOSITION __wrap___gxx_personality_seh0(PEXCEPTION_RECORD record, void* frame,
                                                               PCONTEXT context, PDISPATCHER_CONTEXT dispatch) {
    constexpr DWORD unwinding = EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND | EXCEPTION_TARGET_UNWIND;
    if (!isHardwareFault(record->ExceptionCode) || (record->ExceptionFlags & (unwinding | EXCEPTION_NONCONTINUABLE)))
        return __real___gxx_personality_seh0(record, frame, context, dispatch);
    // The faulting code's last-error value is its own (TlsGetValue resets it).
    const DWORD lastError = GetLastError();
    const bool translating = threadState().state() == ThreadState::on;
    SetLastError(lastError);
    if (!translating) return __real___gxx_personality_seh0(record, frame, context, dispatch);

    auto* fault = new (std::nothrow) fault_record{*record, *context};
    if (!fault) return __real___gxx_personality_seh0(record, frame, context, dispatch);
    fault->record.ExceptionRecord = nullptr;  // a chained record would live on the stack about to be reused
    threadState().setState(ThreadState::translating);

    // The context is the faulting one, which the thread resumes with. Push a return address just past the
    // faulting instruction's start, so that the unwinder finds the faulting frame (and the handlers
    // covering that instruction) above the trampoline.
    context->Rsp -= sizeof(DWORD64);
    *reinterpret_cast<DWORD64*>(context->Rsp) = context->Rip + 1;
    context->Rip = reinterpret_cast<DWORD64>(&qs_crash_dump_trampoline);
    context->Rcx = reinterpret_cast<DWORD64>(fault);
    return ExceptionContinueExecution;
}

void installCrashDumpTranslator() { threadState().setState(ThreadState::on); }

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
