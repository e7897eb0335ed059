#include "DebugOutputCapture.h"

#include <windows.h>

namespace {

std::mutex captureMutex;
bool capturing = false;  // one capture at a time
std::string captured;

LONG CALLBACK onException(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD& record = *info->ExceptionRecord;
    if (record.ExceptionCode == DBG_PRINTEXCEPTION_C && record.NumberParameters >= 2) {
        std::lock_guard lock(captureMutex);
        if (capturing) {
            const auto* text = reinterpret_cast<const char*>(record.ExceptionInformation[1]);
            const size_t length = static_cast<size_t>(record.ExceptionInformation[0]);
            captured.append(text, length > 0 ? length - 1 : 0);  // the length counts the NUL
        }
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

DebugOutputCapture::DebugOutputCapture() {
    std::lock_guard lock(captureMutex);
    captured.clear();
    capturing = true;
    handler_ = AddVectoredExceptionHandler(1, onException);
}

DebugOutputCapture::~DebugOutputCapture() {
    RemoveVectoredExceptionHandler(handler_);
    std::lock_guard lock(captureMutex);
    capturing = false;
}

std::string DebugOutputCapture::text() const {
    std::lock_guard lock(captureMutex);
    return captured;
}
