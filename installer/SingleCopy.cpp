#include "SingleCopy.h"

#include <chrono>
#include <thread>

#include <windows.h>

namespace installer {

namespace {

constexpr const wchar_t* mutex_name = L"Local\\QSPellux.Installer.6b1f0c2e";
constexpr const wchar_t* window_title = L"QS Pellux for After Effects Installer";
// Two copies started together: the first one's window may take a moment to open.
constexpr auto window_wait = std::chrono::seconds(5);
constexpr auto window_poll = std::chrono::milliseconds(50);

// Held until the process ends, when the system releases it.
class held_mutex {
public:
    bool claim() {
        if (handle_) return true;
        handle_ = CreateMutexW(nullptr, FALSE, mutex_name);
        if (handle_ && GetLastError() != ERROR_ALREADY_EXISTS) return true;
        if (handle_) CloseHandle(handle_);
        handle_ = nullptr;
        return false;
    }
    ~held_mutex() {
        if (handle_) CloseHandle(handle_);
    }

private:
    HANDLE handle_ = nullptr;
};

bool held_elsewhere() {
    const HANDLE other = OpenMutexW(SYNCHRONIZE, FALSE, mutex_name);
    if (other) {
        CloseHandle(other);
        return true;
    }
    // An elevated copy's mutex may refuse an unelevated opener: it exists all the same.
    return GetLastError() == ERROR_ACCESS_DENIED;
}

void bring_forward() {
    const auto end = std::chrono::steady_clock::now() + window_wait;
    HWND window = nullptr;
    while (!(window = FindWindowW(nullptr, window_title)) && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(window_poll);
    if (!window) return;
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(window);
}

}  // namespace

SingleCopy session_single_copy() {
    static held_mutex mutex;
    return {[] { return mutex.claim(); }, held_elsewhere, bring_forward};
}

}  // namespace installer
