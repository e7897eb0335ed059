// Panels, buttons and check boxes in their states (the gallery's section) painted on a real window and
// compared with a reference picture. After a deliberate change of the look, write it anew with
//     PELLUX_REGENERATE_REFERENCES=1 ./pellux test -R UiControlsPicture
// look at tests/reference/ui_controls.png, and commit it with the change.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ControlsTestSupport.h"
#include "ReferencePictures.h"
#include "gallery_controls.h"
#include "generic_panel.h"
#include "painter.h"

namespace {

using namespace qssdk::ui;

constexpr color green{0, 1, 0, 1};

// Paints only its own square: the panel's fill and border do not run first.
struct square_panel : generic_panel {
    void paint() override {
        get_window()->get_painter()->set_fill_color(green);
        get_window()->get_painter()->fill_rect({4, 4, 8, 8});
    }
};

TEST(UiControlsPicture, StatesMatchTheirReference) {
    const int32_t width = gallery::control_states_size.width, height = gallery::control_states_size.height;
    controls_test::shown_window w(100, width, height + 24);
    std::vector<std::unique_ptr<widget>> widgets;
    gallery::add_control_states(w.get_root_widget(), {0, 0}, widgets);
    square_panel square;
    square.create(&w.get_root_widget(), {0, height + 4, 16, 16});
    // A panel with no width paints nothing and fails nothing.
    generic_panel empty;
    empty.create(&w.get_root_widget(), {30, height + 4, 0, 16});

    const hostsim::Image shot = w.picture();
    ASSERT_EQ(shot.width(), width);
    EXPECT_TRUE(controls_test::shows(shot, {8, height + 12}, green));
    EXPECT_TRUE(controls_test::shows(shot, {2, height + 6}, controls_test::root_grey)) << "the panel's own fill ran";
    EXPECT_TRUE(controls_test::shows(shot, {30, height + 12}, controls_test::root_grey));

    const auto d = reference_pictures::compare_with_reference(shot, "ui_controls.png");
    if (!d) GTEST_SKIP() << "wrote the reference picture instead of comparing with it";
    // Per channel: a few steps at most anywhere (edges of text), well under one on average.
    EXPECT_LE(d->max, 8.0f / 255) << d->pictures;
    EXPECT_LE(d->mean, 0.5 / 255) << d->pictures;
}

}  // namespace
