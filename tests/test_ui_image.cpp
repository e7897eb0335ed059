// Images: sizes at scales, decode failures that leave the image as it was, one bitmap per render
// context, bitmaps dropped by load and reset, balanced COM start-up, no leaked intermediate bitmap, and
// pixel access: lock, write, update the bitmaps, unlock.
#include <gtest/gtest.h>

#include <objbase.h>

#include <array>
#include <memory>
#include <thread>
#include <vector>

#include "PaintTestSupport.h"
#include "TestWindow.h"
#include "com_ptr.h"
#include "image.h"
#include "qs_exception.h"
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

// Paints every locked pixel in one colour, given as premultiplied BGRA bytes.
void fill_locked(const pixel_lock& lock, std::array<uint8_t, 4> bgra) {
    for (uint32_t y = 0; y < lock.height; ++y)
        for (uint32_t x = 0; x < lock.width; ++x)
            std::copy(bgra.begin(), bgra.end(), lock.data + y * lock.stride + x * 4);
}
constexpr std::array<uint8_t, 4> blue_bgra{255, 0, 0, 255};

TEST_F(UiImage, WrittenPixelsReachTheDrawnBitmapsAndLaterOnes) {
    std::unique_ptr<image> img = image::create();
    ASSERT_TRUE(img->load({red_png.data(), red_png.size(), 1, 1.0f}));
    image_window first(0);
    first.paint(*img);
    ASSERT_TRUE(shows(first.shown(), red)) << describe(first.shown());

    pixel_lock lock;
    img->lock_pixels(lock);
    EXPECT_TRUE(img->is_locked());
    EXPECT_EQ(lock.width, 10u);
    EXPECT_EQ(lock.height, 10u);
    EXPECT_EQ(lock.bits_per_pixel, 32u);
    EXPECT_GE(lock.stride, 10u * 4);
    EXPECT_GE(lock.size, lock.stride * 9 + 10 * 4);
    ASSERT_NE(lock.data, nullptr);
    EXPECT_EQ(lock.data[2], 255);  // red as B, G, R, A
    fill_locked(lock, blue_bgra);
    img->update_bitmaps(lock);
    EXPECT_FALSE(img->is_locked());

    // The bitmap cached before, and one made afterwards for another window.
    first.paint(*img);
    EXPECT_EQ(img->bitmap_count(), 1u);
    EXPECT_TRUE(shows(first.shown(), blue)) << describe(first.shown());
    image_window second(100);
    second.paint(*img);
    EXPECT_TRUE(shows(second.shown(), blue)) << describe(second.shown());
}

TEST_F(UiImage, OneLockAtATime) {
    std::unique_ptr<image> img = image::create();
    pixel_lock lock;
    // Nothing decoded: nothing to lock.
    EXPECT_THROW(img->lock_pixels(lock), com_error);
    EXPECT_THROW(img->update_bitmaps(lock), qs_exception);
    ASSERT_TRUE(img->load({red_png.data(), red_png.size(), 1, 1.0f}));

    // A second lock releases the first, so after one update the image is free to be locked again
    // (the imaging component refuses a write lock while another is held).
    img->lock_pixels(lock);
    img->lock_pixels(lock);
    EXPECT_TRUE(img->is_locked());
    img->update_bitmaps(lock);  // never drawn: only unlocks
    EXPECT_FALSE(img->is_locked());
    EXPECT_EQ(img->bitmap_count(), 0u);
    EXPECT_THROW(img->update_bitmaps(lock), qs_exception);
    EXPECT_NO_THROW(img->lock_pixels(lock));
    EXPECT_NO_THROW(img->update_bitmaps(lock));
}

// The process's committed private memory, region by region.
SIZE_T private_bytes() {
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (auto* address = static_cast<char*>(nullptr);
         VirtualQuery(address, &region, sizeof region) == sizeof region; address += region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
        if (region.RegionSize == 0) break;
    }
    return total;
}

TEST_F(UiImage, AnImageDestroyedWhileLockedLeavesNothingBehind) {
    // A lock holds on to the decoded pixels (16 MB here): a lock the image forgot would keep them alive.
    const std::vector<uint8_t> large_png = solid_png(2048, 2048, {9, 9, 9});
    auto locked_and_dropped = [&] {
        std::unique_ptr<image> img = image::create();
        ASSERT_TRUE(img->load({large_png.data(), large_png.size(), 1, 1.0f}));
        pixel_lock lock;
        img->lock_pixels(lock);
    };
    locked_and_dropped();  // the first round's lasting allocations are not a leak
    const SIZE_T before = private_bytes();
    for (int round = 0; round < 8; ++round) locked_and_dropped();
    EXPECT_LT(private_bytes(), before + 32u * 1024 * 1024) << "eight rounds kept 16 MB pictures alive";
}

}  // namespace
