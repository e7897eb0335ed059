// The effect's strip in the host's controls panel (parameter 1): a banner drawn through the host's
// DRAWBOT suites, its hover frame and a pointing hand over the web address, which a click opens.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "SuiteHandler.h"
#include "ae_effect.h"
#include "ae_suites.h"
#include "command_context.h"

// Both frames of the decoded banner, 32-bit premultiplied BGRA, rows of frameWidth x 4 bytes: the normal
// frame first, the hover frame after it.
struct banner_pixels {
    std::vector<unsigned char> bytes;
    int32_t frameWidth = 0;
    int32_t frameHeight = 0;
};

class ControlPanelBanner {
public:
    // `png`: the encoded banner, both frames stacked (the embedded one unless a test hands another).
    explicit ControlPanelBanner(std::span<const unsigned char> png);
    ControlPanelBanner();
    ControlPanelBanner(const ControlPanelBanner&) = delete;
    ControlPanelBanner& operator=(const ControlPanelBanner&) = delete;

    // PF_Cmd_EVENT: draws, follows the cursor, opens the product page on a click in the hot rectangle.
    void handleEvent(command_context& context);
    // Gives both host images back to the host (global set-down).
    void releaseHostImages(SuiteHandler& suites);

    // The frames, decoded on first use. A banner that cannot be decoded gives null and leaves the strip
    // empty; the first try writes one line to the debugger, later ones are silent. A failure to lock the
    // decoded pixels throws qs_exception once.
    const banner_pixels* pixels();

private:
    enum class decode_state { not_tried, decoded, failed };

    void click(PF_EventExtra& event, bool isBanner);
    void draw(PF_EventExtra& event, bool isBanner);
    void drawBanner(SuiteHandler& suites, DRAWBOT_SupplierRef supplier, DRAWBOT_SurfaceRef surface,
                    const PF_LRect& frame);
    void adjustCursor(PF_EventExtra& event, bool isBanner);

    std::span<const unsigned char> png_;
    decode_state state_ = decode_state::not_tried;
    banner_pixels pixels_;
    DRAWBOT_ImageRef normalImage_ = nullptr;  // host images made on first use, kept until set-down
    DRAWBOT_ImageRef hoverImage_ = nullptr;
    bool linkHovered_ = false;  // the cursor is over the hot rectangle, as of the last cursor event
};
