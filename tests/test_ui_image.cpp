// Images: sizes at scales, decode failures that leave the image as it was, one bitmap per render
// context, bitmaps dropped by load and reset, balanced COM start-up, no leaked intermediate bitmap.
#include <gtest/gtest.h>

#include <objbase.h>

#include <memory>
#include <thread>
#include <vector>

#include "PaintTestSupport.h"
#include "TestWindow.h"
#include "image.h"
#include "painter.h"
#include "render_context.h"
#include "widget.h"

namespace {

using namespace qssdk::ui;
using namespace paint_test;

constexpr int window_size = 64;

std::vector<uint8_t> solid_png(int width, int height, rgb8 c) {
    return make_png(width, height, [c](int, int) { return c; });
}

// A window with a painter whose page is grey with the image at (0, 0).
struct image_window {
    explicit image_window(int x)
        : window(x, TestWindow::free_band_top, window_size, window_size), paint_tool(window.handle()) {
        root.initialize({0, 0, window_size, window_size});
    }
    void paint(image& img) {
        picture_shown = paint_test::paint(window, paint_tool.context(), root, [&] {
            paint_tool.set_fill_color(grey);
            paint_tool.fill_rect({0, 0, window_size, window_size});
            paint_tool.draw_image({0, 0}, img);
        });
    }
    // The colour near the picture's top-left corner (inside the smallest picture drawn here).
    hostsim::rgba shown() const { return picture_shown.at(2, 2); }

    widget root;
    TestWindow window;
    painter paint_tool;
    hostsim::Image picture_shown;
};

class UiImage : public testing::Test {
protected:
    const std::vector<uint8_t> red_png = solid_png(10, 10, {255, 0, 0});
    const std::vector<uint8_t> blue_png = solid_png(12, 12, {0, 0, 255});
};

TEST_F(UiImage, SizesInDipsFollowTheScale) {
    struct size_case {
        int w, h;
        float scale;
        size expected;
    };
    const size_case cases[] = {{56, 112, 4.0f, {14, 28}}, {100, 50, 2.0f, {50, 25}}, {7, 5, 1.0f, {7, 5}}};
    for (const size_case& c : cases) {
        const std::vector<uint8_t> png = solid_png(c.w, c.h, {10, 20, 30});
        std::unique_ptr<image> img = image::create();
        EXPECT_FALSE(img->is_loaded());
        EXPECT_EQ(img->get_size(), (size{0, 0}));
        ASSERT_TRUE(img->load({png.data(), png.size(), 1, c.scale}));
        EXPECT_TRUE(img->is_loaded());
        EXPECT_EQ(img->pixel_width(), static_cast<uint32_t>(c.w));
        EXPECT_EQ(img->pixel_height(), static_cast<uint32_t>(c.h));
        EXPECT_EQ(img->get_size(), c.expected) << c.w << "x" << c.h << " at " << c.scale;
    }
}

TEST_F(UiImage, AFailedDecodeLeavesTheImageAsItWas) {
    // Damaged pixel data: the compressed stream of the only IDAT chunk is overwritten past its header.
    std::vector<uint8_t> bad_pixels = solid_png(40, 40, {1, 2, 3});
    const size_t idat = std::search(bad_pixels.begin(), bad_pixels.end(), std::begin("IDAT"), std::end("IDAT") - 1) -
                        bad_pixels.begin();
    ASSERT_LT(idat, bad_pixels.size());
    for (size_t i = idat + 6; i < idat + 14; ++i) bad_pixels[i] = 0xFF;
    const std::vector<uint8_t> truncated(red_png.begin(), red_png.begin() + red_png.size() / 2);
    const std::vector<uint8_t> header_only(red_png.begin(), red_png.begin() + 33);  // signature and IHDR
    const std::vector<uint8_t> not_a_picture = {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'};
    const struct {
        const char* what;
        const std::vector<uint8_t>& bytes;
    } blocks[] = {{"truncated", truncated},
                  {"header only", header_only},
                  {"not a picture", not_a_picture},
                  {"damaged pixels", bad_pixels}};

    image_window shown(0);
    for (const auto& block : blocks) {
        SCOPED_TRACE(block.what);
        std::unique_ptr<image> fresh = image::create();
        EXPECT_FALSE(fresh->load({block.bytes.data(), block.bytes.size(), 1, 1.0f}));
        EXPECT_FALSE(fresh->is_loaded());

        std::unique_ptr<image> img = image::create();
        ASSERT_TRUE(img->load({red_png.data(), red_png.size(), 1, 2.0f}));
        shown.paint(*img);
        ASSERT_EQ(img->bitmap_count(), 1u);
        EXPECT_FALSE(img->load({block.bytes.data(), block.bytes.size(), 1, 4.0f}));
        EXPECT_TRUE(img->is_loaded());
        EXPECT_EQ(img->get_size(), (size{5, 5}));
        EXPECT_EQ(img->scale(), 2.0f);
        EXPECT_EQ(img->bitmap_count(), 1u);
        shown.paint(*img);
        EXPECT_TRUE(shows(shown.shown(), red)) << describe(shown.shown());
    }
    std::unique_ptr<image> img = image::create();
    EXPECT_FALSE(img->load({nullptr, 0, 1, 1.0f}));
    EXPECT_FALSE(img->is_loaded());
}

TEST_F(UiImage, EachContextKeepsItsOwnBitmapAndReleasesOnlyItsOwn) {
    std::unique_ptr<image> img = image::create();
    ASSERT_TRUE(img->load({red_png.data(), red_png.size(), 1, 1.0f}));
    image_window first(0);
    auto second = std::make_unique<image_window>(100);
    first.paint(*img);
    second->paint(*img);
    EXPECT_EQ(img->bitmap_count(), 2u);
    EXPECT_EQ(first.paint_tool.context().image_count(), 1u);
    EXPECT_EQ(second->paint_tool.context().image_count(), 1u);
    EXPECT_TRUE(shows(second->shown(), red)) << describe(second->shown());

    second.reset();
    EXPECT_EQ(img->bitmap_count(), 1u);
    EXPECT_EQ(first.paint_tool.context().image_count(), 1u);
    first.paint(*img);
    EXPECT_EQ(img->bitmap_count(), 1u);
    EXPECT_TRUE(shows(first.shown(), red)) << describe(first.shown());

    // An image that goes first leaves no trace in the context.
    img.reset();
    EXPECT_EQ(first.paint_tool.context().image_count(), 0u);
}

TEST_F(UiImage, LoadAndResetDropTheBitmapsOfThePreviousPicture) {
    std::unique_ptr<image> img = image::create();
    ASSERT_TRUE(img->load({red_png.data(), red_png.size(), 1, 1.0f}));
    image_window shown(0);
    shown.paint(*img);
    ASSERT_TRUE(shows(shown.shown(), red)) << describe(shown.shown());

    ASSERT_TRUE(img->load({blue_png.data(), blue_png.size(), 1, 1.0f}));
    EXPECT_EQ(img->bitmap_count(), 0u);
    EXPECT_EQ(shown.paint_tool.context().image_count(), 0u);
    shown.paint(*img);
    EXPECT_EQ(img->bitmap_count(), 1u);
    EXPECT_TRUE(shows(shown.shown(), blue)) << describe(shown.shown());

    img->reset();
    EXPECT_FALSE(img->is_loaded());
    EXPECT_EQ(img->bitmap_count(), 0u);
    EXPECT_EQ(shown.paint_tool.context().image_count(), 0u);
    shown.paint(*img);  // not loaded: nothing drawn
    EXPECT_EQ(img->bitmap_count(), 0u);
    EXPECT_TRUE(shows(shown.shown(), grey)) << describe(shown.shown());

    ASSERT_TRUE(img->load({red_png.data(), red_png.size(), 1, 1.0f}));
    shown.paint(*img);
    EXPECT_EQ(img->bitmap_count(), 1u);
    EXPECT_TRUE(shows(shown.shown(), red)) << describe(shown.shown());
}

// What CoInitializeEx says on a thread after an image was made and destroyed there, with the thread's
// apartment set up beforehand as `before` (or not at all).
HRESULT apartment_after_image(bool single_threaded_before) {
    HRESULT after = E_FAIL;
    std::thread([&] {
        if (single_threaded_before) CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        image::create().reset();
        after = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        if (SUCCEEDED(after)) CoUninitialize();
        if (single_threaded_before) CoUninitialize();
    }).join();
    return after;
}

TEST_F(UiImage, ComIsUninitialisedOnlyWhereTheImageInitialisedIt) {
    // On a thread whose apartment is single-threaded the image's own start-up fails; it must leave the
    // thread's apartment standing (a second start-up there counts up: S_FALSE).
    EXPECT_EQ(apartment_after_image(true), S_FALSE);
    // On a bare thread the image starts the multithreaded apartment and ends it: the thread is bare again.
    EXPECT_EQ(apartment_after_image(false), S_OK);
}

// Direct2D resources hold a reference to their factory, so the factory's count tells how many live.
ULONG factory_references(ID2D1RenderTarget& target) {
    ID2D1Factory* factory = nullptr;
    target.GetFactory(&factory);
    factory->AddRef();
    const ULONG count = factory->Release() - 1;
    factory->Release();
    return count;
}

TEST_F(UiImage, OnlyTheSharedBitmapOutlivesItsMaking) {
    std::unique_ptr<image> img = image::create();
    ASSERT_TRUE(img->load({red_png.data(), red_png.size(), 1, 1.0f}));
    image_window shown(0);
    render_context& context = shown.paint_tool.context();
    const ULONG before = factory_references(*context.target());
    ASSERT_NE(img->get_bitmap(context), nullptr);
    const ULONG with_bitmap = factory_references(*context.target());
    img->release_bitmap(context);
    EXPECT_EQ(factory_references(*context.target()), before);
    EXPECT_EQ(with_bitmap, before + 1);
}

}  // namespace
