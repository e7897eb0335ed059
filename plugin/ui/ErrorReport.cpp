#include "ErrorReport.h"

#include <windows.h>

#include <string>

#include "ProductInfo.h"
#include "format_string.h"
#include "message_popup.h"
#include "window.h"

namespace {

constexpr qssdk::ui::size popupSize{500, 200};

HWND hostMainWindow(PF_InData* in_data) {
    HWND window = nullptr;
    if (in_data && in_data->utils && in_data->utils->get_platform_data)
        in_data->utils->get_platform_data(in_data->effect_ref, PF_PlatData_MAIN_WND, &window);
    return window;
}

// A modal window needs someone at the screen and the thread that runs the host's windows: made on another
// thread it would disable the main window from outside and wait on a loop the host never pumps. Without a
// main window that thread is the host's user-interface thread.
bool popupCanShow(const report_place& place, HWND mainWindow) {
    if (place.renderEngine) return false;
    const DWORD uiThread = mainWindow ? GetWindowThreadProcessId(mainWindow, nullptr) : place.uiThread;
    return uiThread != 0 && uiThread == GetCurrentThreadId();
}

// Owned by the host's main window when there is one, else a window of its own.
void showPopup(HWND mainWindow, const std::string& title, std::string text) {
    // Stands for the host's window as the popup's owner; it leaves that window as it found it.
    qssdk::ui::window owner;
    if (mainWindow) owner.stand_for(mainWindow);
    qssdk::ui::message_popup popup(popupSize);
    popup.setup(mainWindow ? &owner : nullptr, title, std::move(text));
    popup.show_modal();
}

}  // namespace

void reportException(const std::exception* error, PF_InData* in_data, const report_place& place) noexcept {
    try {
        const std::string title = qssdk::format_string("%s Exception", product::displayName);
        const std::string text =
            error ? std::string(error->what())
                  : qssdk::format_string("%s has encountered an unrecoverable error.", product::displayName);
        // The debugger always gets the report: a popup's text cannot be read back by a log or a render
        // queue, and where no popup can show it is the only report there is.
        OutputDebugStringA((title + ": " + text + "\n").c_str());
        try {
            const HWND mainWindow = hostMainWindow(in_data);
            if (popupCanShow(place, mainWindow)) showPopup(mainWindow, title, text);
        } catch (...) {
            // The host's callback or the popup itself failed: the debugger has the report already.
        }
    } catch (...) {
        // Not even the text could be made: there is nothing left to report with.
    }
}
