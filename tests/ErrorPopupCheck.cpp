#include "ErrorPopupCheck.h"

#include <windows.h>

#include <stdexcept>

#include "ErrorReport.h"
#include "ReferencePictures.h"

namespace {

// Two copies of the kit draw the same popup the same way; a different text moves whole glyphs.
constexpr float pixelTolerance = 2.0f / 255.0f;
constexpr char kitClassPrefix[] = "QSSDK_WINDOW_CLASS";

// The programs that check popups read them off the screen, which they have to themselves: the cursor
// rests away from where the host's dialogs open, so that no button of theirs shows hovered.
class CursorAway : public testing::Environment {
public:
    void SetUp() override { SetCursorPos(0, GetSystemMetrics(SM_CYSCREEN) - 1); }
};
testing::Environment* const cursorAway = testing::AddGlobalTestEnvironment(new CursorAway);

}  // namespace

testing::AssertionResult isErrorPopupShowing(hostsim::SimulatedHost& host, const hostsim::seen_window& seen,
                                            const std::string& text) {
    if (seen.title != "QS Pellux Exception") return testing::AssertionFailure() << "the title is " << seen.title;
    if (seen.className.rfind(kitClassPrefix, 0) != 0)
        return testing::AssertionFailure() << "not a kit window: class " << seen.className;
    // Owned by the host's main window, or by none where the host names none.
    const HWND owner = host.noMainWindow ? nullptr : host.mainWindow();
    if (seen.owner != owner) return testing::AssertionFailure() << "not owned by " << owner << " but " << seen.owner;

    const std::runtime_error error(text);
    PF_InData in = host.lastInData();
    reportException(&error, &in, report_place{false, GetCurrentThreadId()});
    const hostsim::seen_window reference = host.dialogs().takeLast();
    if (reference.width != seen.width || reference.height != seen.height)
        return testing::AssertionFailure() << "a popup of " << seen.width << " x " << seen.height << ", with this text "
                                           << reference.width << " x " << reference.height;
    const reference_pictures::difference difference = reference_pictures::compare(seen.pixels, reference.pixels);
    if (difference.max > pixelTolerance) {
        // Both pictures stay beside the test program for a look.
        seen.pixels.save(L"error_popup_seen.png");
        reference.pixels.save(L"error_popup_expected.png");
        return testing::AssertionFailure() << "the popup does not show \"" << text << "\" (difference " << difference.max
                                           << ", mean " << difference.mean << "; error_popup_seen.png and "
                                           << "error_popup_expected.png show both)";
    }
    return testing::AssertionSuccess();
}
