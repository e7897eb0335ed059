#include "ErrorPopupCheck.h"

#include <stdexcept>

#include "ErrorReport.h"
#include "ReferencePictures.h"

namespace {

// Two copies of the kit draw the same popup the same way; a different text moves whole glyphs.
constexpr float pixelTolerance = 2.0f / 255.0f;
constexpr char kitClassPrefix[] = "QSSDK_WINDOW_CLASS";

}  // namespace

testing::AssertionResult isErrorPopupShowing(hostsim::SimulatedHost& host, const hostsim::seen_window& seen,
                                            const std::string& text) {
    if (seen.title != "QS Pellux Exception") return testing::AssertionFailure() << "the title is " << seen.title;
    if (seen.className.rfind(kitClassPrefix, 0) != 0)
        return testing::AssertionFailure() << "not a kit window: class " << seen.className;
    if (seen.owner != host.mainWindow()) return testing::AssertionFailure() << "not owned by the host's main window";

    const std::runtime_error error(text);
    PF_InData in = host.lastInData();
    reportException(&error, &in, false);
    const hostsim::seen_window reference = host.dialogs().takeLast();
    if (reference.width != seen.width || reference.height != seen.height)
        return testing::AssertionFailure() << "a popup of " << seen.width << " x " << seen.height << ", with this text "
                                           << reference.width << " x " << reference.height;
    const float difference = reference_pictures::compare(seen.pixels, reference.pixels).max;
    if (difference > pixelTolerance)
        return testing::AssertionFailure() << "the popup does not show \"" << text << "\" (difference " << difference
                                           << ")";
    return testing::AssertionSuccess();
}
