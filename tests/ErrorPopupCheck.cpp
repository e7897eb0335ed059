#include "ErrorPopupCheck.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
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

// The reference picture of the popup with this text: its words (up to 40 characters of letters and digits)
// and a hash of the whole text.
std::string referenceName(const std::string& text) {
    std::string words;
    for (const char c : text) {
        const bool kept = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (kept) words += static_cast<char>(c | 0x20);
        else if (!words.empty() && words.back() != '_') words += '_';
        if (words.size() == 40) break;
    }
    uint32_t hash = 2166136261u;  // FNV-1a
    for (const char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(hash));
    return "error_popup_" + words + (words.empty() || words.back() == '_' ? "" : "_") + suffix + ".png";
}

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
    // A popup drawn wrong by the popup's own code draws its reference wrong too: the picture must also
    // match the one kept for this text, looked at when it was written (PELLUX_REGENERATE_REFERENCES=1).
    const std::string name = referenceName(text);
    const std::optional<reference_pictures::difference> kept =
        reference_pictures::compare_with_reference(seen.pixels, name.c_str());
    if (kept && kept->max > pixelTolerance)
        return testing::AssertionFailure() << "the popup for \"" << text << "\" is not the picture kept in tests/reference/"
                                           << name << " (difference " << kept->max << ", mean " << kept->mean << "; "
                                           << kept->pictures << ")";
    return testing::AssertionSuccess();
}
