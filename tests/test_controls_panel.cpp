// The effect's controls-panel banner through the simulated host with the real plug-in: where a click opens
// the product page and the hand shows, clicks and drags, draws with and without a drawing reference, the
// frames on the canvas pixel for pixel, the host images made once and released at set-down, and the strip
// `pellux-host panel` writes.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "ChildProcess.h"
#include "ControlsPanel.h"
#include "HostFixture.h"
#include "Image.h"
#include "TempFolder.h"
#include "utf.h"

namespace {

using hostsim::bgra8;
using hostsim::Canvas;
using hostsim::ControlsPanel;

constexpr const char* productPage = "https://www.quillstone.example/pellux/?v=1.0.2.66";
// A point well inside the web address.
constexpr A_long linkX = 215, linkY = 42;

class ControlsPanelTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        ASSERT_EQ(host->send(PF_Cmd_GLOBAL_SETUP), PF_Err_NONE);
        ASSERT_EQ(host->send(PF_Cmd_PARAMS_SETUP), PF_Err_NONE);
        panel = std::make_unique<ControlsPanel>(*host);
        for (PF_ParamIndex index = 1; static_cast<size_t>(index) < host->params().count(); ++index) {
            const A_long id = host->params().at(index).def.uu.id;
            if (id == 1) banner = index;
            if (id != 1 && other == 0) other = index;
        }
        ASSERT_GT(banner, 0) << "no parameter with id 1";
        ASSERT_GT(other, 0);
    }
    void TearDown() override {
        panel.reset();
        HostTest::TearDown();
    }

    // Frame `index` (0 normal, 1 hover) of the banner file as 8-bit colours.
    static bgra8 bannerPixel(const hostsim::Image& file, int frame, int x, int y) {
        const hostsim::rgba& p = file.at(x, y + frame * file.height() / 2);
        auto byte = [](float v) { return static_cast<uint8_t>(std::lround(v * 255)); };
        return bgra8{byte(p.b), byte(p.g), byte(p.r), byte(p.a)};
    }
    static int mismatches(const Canvas& canvas, const hostsim::Image& file, int frame) {
        int count = 0;
        for (int y = 0; y < canvas.height(); ++y)
            for (int x = 0; x < canvas.width(); ++x) count += !(canvas.at(x, y) == bannerPixel(file, frame, x, y));
        return count;
    }
    static bool untouched(const Canvas& canvas) {
        for (int y = 0; y < canvas.height(); ++y)
            for (int x = 0; x < canvas.width(); ++x)
                if (!(canvas.at(x, y) == ControlsPanel::background)) return false;
        return true;
    }

    std::unique_ptr<ControlsPanel> panel;
    PF_ParamIndex banner = 0;
    PF_ParamIndex other = 0;
};

TEST_F(ControlsPanelTest, ClicksAndTheCursorFollowTheHotRectangleOfTheBannerOnly) {
    struct point_case {
        const char* where;
        bool onBanner;  // else another control
        A_long x, y;    // relative to the control's top-left corner
        bool onLink;
        bool belowTitle;
    };
    const point_case cases[] = {
        {"top-left corner", true, 150, 20, true, true},
        {"top-right corner", true, 280, 20, true, true},
        {"bottom-left corner", true, 150, 64, true, true},
        {"bottom-right corner", true, 280, 64, true, true},
        {"middle", true, linkX, linkY, true, true},
        {"one left of the left edge", true, 149, linkY, false, true},
        {"one right of the right edge", true, 281, linkY, false, true},
        {"one above the top edge", true, linkX, 19, false, true},
        {"one below the bottom edge", true, linkX, 65, false, true},
        {"elsewhere on the banner", true, 20, 70, false, true},
        {"the title row", true, linkX, -3, false, false},
        {"the title row's bottom line", true, linkX, -2, false, false},
        // Inside the other control and inside the hot rectangle's place relative to it.
        {"another control", false, 160, 25, false, true},
    };
    for (const point_case& c : cases) {
        SCOPED_TRACE(c.where);
        const PF_ParamIndex index = c.onBanner ? banner : other;
        const PF_Point point = panel->controlPoint(index, c.x, c.y);
        host->shell().clear();

        const hostsim::event_result clicked = panel->send(panel->click(index, point));
        EXPECT_EQ(clicked.err, PF_Err_NONE);
        EXPECT_EQ(clicked.event.evt_out_flags, PF_EO_HANDLED_EVENT);
        EXPECT_EQ(clicked.event.u.do_click.send_drag, c.belowTitle ? 1 : 0);
        EXPECT_EQ(clicked.event.u.do_click.continue_refcon[0], c.belowTitle ? 1 : 0);
        const auto opened = host->shell().requests();
        if (c.onLink) {
            ASSERT_EQ(opened.size(), 1u);
            EXPECT_EQ(opened[0].verb, "open");
            EXPECT_EQ(opened[0].target, productPage);
            EXPECT_EQ(opened[0].show, SW_SHOWNORMAL);
        } else {
            EXPECT_TRUE(opened.empty()) << opened.front().target;
        }

        const hostsim::event_result cursor = panel->send(panel->adjustCursor(index, point));
        EXPECT_EQ(cursor.err, PF_Err_NONE);
        EXPECT_EQ(cursor.event.evt_out_flags, PF_EO_HANDLED_EVENT);
        EXPECT_EQ(cursor.event.u.adjust_cursor.set_cursor, c.onLink ? PF_Cursor_FINGER_POINTER : PF_Cursor_ARROW);
    }
}

TEST_F(ControlsPanelTest, ADragAfterAClickEndsTheDragOnce) {
    const hostsim::event_result clicked = panel->send(panel->click(banner, panel->controlPoint(banner, 10, 10)));
    ASSERT_EQ(clicked.event.u.do_click.send_drag, 1);
    const hostsim::event_result dragged = panel->send(panel->drag(clicked.event));
    EXPECT_EQ(dragged.err, PF_Err_NONE);
    EXPECT_EQ(dragged.event.u.do_click.send_drag, 0);
    EXPECT_EQ(dragged.event.u.do_click.continue_refcon[0], 0);
    EXPECT_EQ(dragged.event.evt_out_flags, PF_EO_HANDLED_EVENT | PF_EO_ALWAYS_UPDATE);

    // Once: a drag that carries no mark of a click leaves the host's drag request alone.
    PF_EventExtra again = panel->drag(dragged.event);
    again.u.do_click.send_drag = 1;
    const hostsim::event_result later = panel->send(again);
    EXPECT_EQ(later.event.u.do_click.send_drag, 1);
    EXPECT_EQ(later.event.evt_out_flags, PF_EO_HANDLED_EVENT | PF_EO_ALWAYS_UPDATE);
    EXPECT_TRUE(host->shell().requests().empty());
}

TEST_F(ControlsPanelTest, OtherEventsAreLeftAlone) {
    for (const PF_EventType type : {PF_Event_NEW_CONTEXT, PF_Event_ACTIVATE, PF_Event_DEACTIVATE, PF_Event_IDLE,
                                    PF_Event_KEYDOWN, PF_Event_CLOSE_CONTEXT}) {
        SCOPED_TRACE(type);
        PF_EventExtra event = panel->click(banner, panel->controlPoint(banner, linkX, linkY));
        event.e_type = type;
        const hostsim::event_result result = panel->send(event);
        EXPECT_EQ(result.err, PF_Err_NONE);
        EXPECT_EQ(result.event.evt_out_flags, PF_EO_NONE);
        EXPECT_EQ(result.event.u.do_click.send_drag, 0);
    }
    EXPECT_TRUE(host->shell().requests().empty());
}

TEST_F(ControlsPanelTest, DrawsThatDrawNothing) {
    struct draw_case {
        const char* what;
        bool onBanner;
        A_long inFlags;
        bool offerDrawing;
    };
    const draw_case cases[] = {
        {"the host asks for no drawing", true, PF_EI_DONT_DRAW, true},
        {"no drawing reference", true, PF_EI_NONE, false},
        {"another control", false, PF_EI_NONE, true},
    };
    for (const draw_case& c : cases) {
        SCOPED_TRACE(c.what);
        const hostsim::draw_result drawn = panel->draw(c.onBanner ? banner : other, c.inFlags, c.offerDrawing);
        EXPECT_EQ(drawn.err, PF_Err_NONE);
        EXPECT_EQ(drawn.event.evt_out_flags, PF_EO_HANDLED_EVENT);
        EXPECT_TRUE(untouched(drawn.canvas));
    }
    EXPECT_EQ(host->drawbot().imagesMade(), 0);
    EXPECT_TRUE(host->dialogs().seen().empty());
}

TEST_F(ControlsPanelTest, TheCanvasShowsTheNormalAndTheHoverFramePixelForPixel) {
    const hostsim::Image file = hostsim::Image::load(qssdk::utf8_to_utf16(PELLUX_BANNER_PNG));
    ASSERT_EQ(file.width(), 559);
    ASSERT_EQ(file.height(), 168);

    const hostsim::draw_result normal = panel->draw(banner);
    ASSERT_EQ(normal.err, PF_Err_NONE);
    EXPECT_EQ(normal.event.evt_out_flags, PF_EO_HANDLED_EVENT);
    ASSERT_EQ(normal.canvas.width(), 558);
    ASSERT_EQ(normal.canvas.height(), 84);
    EXPECT_EQ(mismatches(normal.canvas, file, 0), 0);

    panel->send(panel->adjustCursor(banner, panel->controlPoint(banner, linkX, linkY)));
    const hostsim::draw_result hovered = panel->draw(banner);
    ASSERT_EQ(hovered.err, PF_Err_NONE);
    EXPECT_EQ(mismatches(hovered.canvas, file, 1), 0);
    // The frames do differ, so the hover frame is not the normal one again.
    EXPECT_GT(mismatches(hovered.canvas, file, 0), 0);

    // The hover frame stays while no cursor event comes, and goes with the cursor.
    EXPECT_EQ(mismatches(panel->draw(banner).canvas, file, 1), 0);
    panel->send(panel->adjustCursor(banner, panel->controlPoint(banner, 149, linkY)));
    EXPECT_EQ(mismatches(panel->draw(banner).canvas, file, 0), 0);
}

TEST_F(ControlsPanelTest, TwentyRedrawsMakeTwoHostImagesAndSetDownReleasesBoth) {
    const PF_Point away = panel->controlPoint(banner, 5, 5);
    const PF_Point onLink = panel->controlPoint(banner, linkX, linkY);
    for (int round = 0; round < 10; ++round) {
        panel->send(panel->adjustCursor(banner, round % 2 ? onLink : away));
        ASSERT_EQ(panel->draw(banner).err, PF_Err_NONE);
        panel->send(panel->adjustCursor(banner, round % 2 ? away : onLink));
        ASSERT_EQ(panel->draw(banner).err, PF_Err_NONE);
    }
    EXPECT_EQ(host->drawbot().imagesDrawn(), 20);
    EXPECT_EQ(host->drawbot().imagesMade(), 2);
    EXPECT_EQ(host->drawbot().imagesReleased(), 0);

    ASSERT_EQ(host->send(PF_Cmd_GLOBAL_SETDOWN), PF_Err_NONE);
    EXPECT_EQ(host->drawbot().imagesReleased(), 2);
    EXPECT_TRUE(host->drawbot().leaks().empty());
}

TEST(PanelCommand, WritesTheStripNormalAboveHovered) {
    TempFolder folder;
    const std::wstring out = folder / L"strip.png";
    const child_result child = runChild(L"pellux-host.exe panel --out \"" + out + L"\"");
    ASSERT_EQ(child.exitCode, 0u) << child.output;
    const hostsim::Image strip = hostsim::Image::load(out);
    const hostsim::Image file = hostsim::Image::load(qssdk::utf8_to_utf16(PELLUX_BANNER_PNG));
    ASSERT_EQ(strip.width(), 558);
    ASSERT_EQ(strip.height(), 168);
    int differing = 0;
    for (int y = 0; y < strip.height(); ++y)
        for (int x = 0; x < strip.width(); ++x) {
            const hostsim::rgba &shown = strip.at(x, y), &drawn = file.at(x, y);
            differing += std::lround(shown.r * 255) != std::lround(drawn.r * 255) ||
                         std::lround(shown.g * 255) != std::lround(drawn.g * 255) ||
                         std::lround(shown.b * 255) != std::lround(drawn.b * 255);
        }
    EXPECT_EQ(differing, 0);

    const child_result noOut = runChild(L"pellux-host.exe panel");
    EXPECT_EQ(noOut.exitCode, 2u);
    EXPECT_NE(noOut.output.find("pellux-host: panel needs --out FILE"), std::string::npos) << noOut.output;
}

}  // namespace
