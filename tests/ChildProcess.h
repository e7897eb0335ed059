// Runs a program of the build as a child process and collects its standard output and error (merged, or
// the output alone), its exit code, and whether it had to be stopped for running too long.
//
// The child is handed only its standard handles. What it writes is read until the child has ended and the
// pipe holds nothing more, not until the pipe's end of file: a process the child started may have inherited
// the write end and live on (Wine starts its desktop process from the first program that opens a window),
// and it must not hold the test.
#pragma once

#include <algorithm>
#include <atomic>
#include <functional>
#include <string>

#include <windows.h>

struct child_result {
    DWORD exitCode = 0;
    std::string output;
    bool timedOut = false;
};

namespace child_process_detail {

// Closes a handle when it goes out of scope.
struct owned_handle {
    HANDLE h = nullptr;
    owned_handle() = default;
    explicit owned_handle(HANDLE handle) : h(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
    owned_handle(const owned_handle&) = delete;
    owned_handle& operator=(const owned_handle&) = delete;
    owned_handle(owned_handle&& other) noexcept : h(other.h) { other.h = nullptr; }
    owned_handle& operator=(owned_handle&& other) noexcept {
        reset();
        h = other.h;
        other.h = nullptr;
        return *this;
    }
    ~owned_handle() {
        if (h) CloseHandle(h);
    }
    void reset() {
        if (h) CloseHandle(h);
        h = nullptr;
    }
};

// The read end of the child's output: overlapped, so that the wait for data can also wait for the child.
class output_reader {
public:
    output_reader(HANDLE pipe) : pipe_(pipe), event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    output_reader(const output_reader&) = delete;
    output_reader& operator=(const output_reader&) = delete;

    // Issues one read unless one is pending or the pipe has ended; a read that completes at once is taken.
    void readOnce() {
        if (pending_ || ended_) return;
        overlapped_ = OVERLAPPED{};
        overlapped_.hEvent = event_.h;
        DWORD count = 0;
        if (ReadFile(pipe_, buffer_, sizeof buffer_, &count, &overlapped_)) {
            pending_ = true;
            finish(false);
        } else if (GetLastError() == ERROR_IO_PENDING) {
            pending_ = true;
        } else {
            ended_ = true;  // every writer has closed the pipe
        }
    }

    // While the child runs: reads until one has to wait for data.
    void start() {
        while (!pending_ && !ended_) readOnce();
    }

    // Takes the pending read's data once it has completed; `wait` waits for its completion.
    void finish(bool wait) {
        DWORD count = 0;
        if (GetOverlappedResult(pipe_, &overlapped_, &count, wait ? TRUE : FALSE)) {
            text.append(buffer_, count);
        } else if (GetLastError() == ERROR_IO_INCOMPLETE) {
            return;
        } else if (GetLastError() != ERROR_OPERATION_ABORTED) {
            ended_ = true;
        }
        pending_ = false;
    }

    // After the child's end everything it wrote is in the pipe or in the pending read. A pending read is
    // cancelled (it keeps what it already received), and what the pipe still holds is read one read at a
    // time, never waiting for more: a process the child started may hold the pipe open forever.
    void drain() {
        for (;;) {
            if (pending_) {
                CancelIo(pipe_);
                finish(true);
            }
            DWORD available = 0;
            if (ended_ || !PeekNamedPipe(pipe_, nullptr, 0, nullptr, &available, nullptr) || available == 0) return;
            readOnce();
        }
    }

    enum class stop { enough, child_ended, deadline };

    // Reads what comes while the child runs, until `enough` holds for what was read, the child has ended
    // or the deadline (GetTickCount64) has passed; says which came first.
    stop readWhileRunning(HANDLE child, ULONGLONG deadline, const std::function<bool()>& enough = {}) {
        start();
        for (;;) {
            if (enough && enough()) return stop::enough;
            const ULONGLONG now = GetTickCount64();
            const DWORD left = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
            HANDLE waits[2] = {child, event_.h};
            const DWORD woken = WaitForMultipleObjects(ended_ ? 1 : 2, waits, FALSE, left);
            if (woken == WAIT_OBJECT_0) return stop::child_ended;
            if (woken == WAIT_TIMEOUT) return stop::deadline;
            finish(false);
            start();
        }
    }

    std::string text;

private:
    HANDLE pipe_;
    owned_handle event_;
    OVERLAPPED overlapped_{};
    bool pending_ = false;
    bool ended_ = false;
    char buffer_[4096];
};

// A name no other pipe of this machine has.
inline std::wstring uniquePipeName() {
    static std::atomic<unsigned> counter{0};
    return L"\\\\.\\pipe\\pellux-test-child-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(counter++) + L"-" + std::to_wstring(GetTickCount64());
}

// The child's output: a read end that stays with this process (not inheritable, overlapped) and an
// inheritable write end for the child.
struct child_pipe {
    owned_handle readEnd, writeEnd;
};

inline child_pipe makeChildPipe() {
    const std::wstring name = uniquePipeName();
    child_pipe pipe;
    pipe.readEnd = owned_handle(CreateNamedPipeW(name.c_str(),
                                                 PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
                                                 PIPE_TYPE_BYTE | PIPE_WAIT, 1, 0, 65536, 0, nullptr));
    if (!pipe.readEnd.h) return pipe;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    pipe.writeEnd = owned_handle(
        CreateFileW(name.c_str(), GENERIC_WRITE, 0, &inherit, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return pipe;
}

}  // namespace child_process_detail

// A started child's process and main thread.
struct started_child {
    child_process_detail::owned_handle process, thread;
};

// Starts a child that inherits exactly its three standard handles, whatever else of this process is
// inheritable (the handles must be inheritable), on the named desktop when one is given. Null handles when
// it cannot start.
inline started_child startChild(std::wstring commandLine, HANDLE input, HANDLE output, HANDLE errors,
                                const wchar_t* desktop = nullptr) {
    HANDLE inherited[3] = {input, output, errors};
    DWORD count = 0;
    for (HANDLE handle : {input, output, errors})
        if (std::find(inherited, inherited + count, handle) == inherited + count) inherited[count++] = handle;
    SIZE_T attributeBytes = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &attributeBytes);
    std::string attributeBuffer(attributeBytes, '\0');
    auto* attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(attributeBuffer.data());
    if (!InitializeProcThreadAttributeList(attributes, 1, 0, &attributeBytes)) return {};
    const bool listed = UpdateProcThreadAttribute(attributes, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, inherited,
                                                  count * sizeof(HANDLE), nullptr, nullptr);
    std::wstring desktopName = desktop ? desktop : L"";
    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    startup.StartupInfo.hStdInput = input;
    startup.StartupInfo.hStdOutput = output;
    startup.StartupInfo.hStdError = errors;
    startup.StartupInfo.lpDesktop = desktop ? desktopName.data() : nullptr;
    startup.lpAttributeList = attributes;
    PROCESS_INFORMATION process{};
    const BOOL started = listed && CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                                                  EXTENDED_STARTUPINFO_PRESENT, nullptr, nullptr,
                                                  &startup.StartupInfo, &process);
    DeleteProcThreadAttributeList(attributes);
    if (!started) return {};
    using child_process_detail::owned_handle;
    return {owned_handle(process.hProcess), owned_handle(process.hThread)};
}

inline child_result runChild(std::wstring commandLine, DWORD timeoutMs = 60000, bool withErrors = true) {
    using namespace child_process_detail;
    child_result result;
    child_pipe pipe = makeChildPipe();
    if (!pipe.readEnd.h || !pipe.writeEnd.h) return {~0u, "cannot make a pipe", false};
    owned_handle& readEnd = pipe.readEnd;
    owned_handle& writeEnd = pipe.writeEnd;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    owned_handle nul(CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                 OPEN_EXISTING, 0, nullptr));
    if (!nul.h) return {~0u, "cannot open NUL", false};
    started_child started = startChild(std::move(commandLine), nul.h, writeEnd.h, withErrors ? writeEnd.h : nul.h);
    writeEnd.reset();
    nul.reset();
    if (!started.process.h) return {~0u, "cannot start the program", false};
    const owned_handle child = std::move(started.process);

    // Data is read as it comes, so that a child that fills the pipe never stalls, until the child ends or
    // runs out of time.
    output_reader reader(readEnd.h);
    if (reader.readWhileRunning(child.h, GetTickCount64() + timeoutMs) == output_reader::stop::deadline) {
        result.timedOut = true;
        TerminateProcess(child.h, 99);  // only this child, by its own handle
        WaitForSingleObject(child.h, INFINITE);
    }
    reader.drain();
    GetExitCodeProcess(child.h, &result.exitCode);
    result.output = std::move(reader.text);
    return result;
}
