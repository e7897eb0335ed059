#include "DebugOutput.h"

#include <atomic>
#include <stdexcept>

#include <windows.h>

namespace hostsim {

namespace {

std::atomic<DebugOutput*> activeOutput{nullptr};

// OutputDebugStringA raises this exception with the text's length and address; the system's own
// handler then takes it, so this one only looks.
LONG CALLBACK onException(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD* record = info->ExceptionRecord;
    if (record->ExceptionCode == DBG_PRINTEXCEPTION_C && record->NumberParameters >= 2) {
        if (DebugOutput* output = activeOutput.load()) {
            const auto length = static_cast<size_t>(record->ExceptionInformation[0]);
            const auto* text = reinterpret_cast<const char*>(record->ExceptionInformation[1]);
            // The length counts the terminating NUL.
            if (text && length > 0) output->append(text, text[length - 1] == '\0' ? length - 1 : length);
        }
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

DebugOutput::DebugOutput() {
    DebugOutput* expected = nullptr;
    if (!activeOutput.compare_exchange_strong(expected, this))
        throw std::logic_error("only one debugger output collector at a time");
    handler_ = AddVectoredExceptionHandler(1, onException);
}

DebugOutput::~DebugOutput() {
    RemoveVectoredExceptionHandler(handler_);
    activeOutput = nullptr;
}

void DebugOutput::append(const char* text, size_t length) {
    std::lock_guard guard(mutex_);
    pending_.append(text, length);
    size_t end;
    while ((end = pending_.find('\n')) != std::string::npos) {
        std::string line = pending_.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines_.push_back(std::move(line));
        pending_.erase(0, end + 1);
    }
}

std::vector<std::string> DebugOutput::lines() const {
    std::lock_guard guard(mutex_);
    return lines_;
}

void DebugOutput::clear() {
    std::lock_guard guard(mutex_);
    lines_.clear();
    pending_.clear();
}

}  // namespace hostsim
