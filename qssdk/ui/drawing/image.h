// One picture decoded from an encoded PNG or JPEG block in memory, converted once to 32-bit premultiplied
// BGRA, and turned into a Direct2D bitmap for each render context that draws it. Its imaging and Direct2D
// objects are declared in image.cpp alone: this header, and a widget's that holds an image, includes no
// header of the window system.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "image_data.h"
#include "non_copyable_non_moveable.h"
#include "size.h"

struct ID2D1Bitmap;

namespace qssdk::ui {

class render_context;

// A locked view of an image's pixels (lock_pixels fills it): 32-bit premultiplied BGRA rows.
struct pixel_lock {
    uint32_t size = 0;            // bytes of the locked buffer
    uint32_t stride = 0;          // bytes per row
    uint32_t bits_per_pixel = 0;  // always 32
    unsigned char* data = nullptr;
    uint32_t width = 0;
    uint32_t height = 0;
};

class image : non_copyable_non_moveable {
public:
    // COM for the thread (multithreaded), then the imaging factory; throws qs_exception "unable to create
    // the imaging factory".
    static std::unique_ptr<image> create();
    // Drops its bitmaps in every context, releases everything, uninitialises COM where it initialised it.
    ~image();

    // load_from_memory with the record's bytes, size and scale.
    bool load(const image_data& data);
    // True when the block decoded. Any failure of the decode (stream, header, frame, converter, pixels)
    // returns false and leaves the image as it was. A successful load drops the bitmaps of the previous
    // picture. Throws only when the imaging objects themselves cannot be made.
    bool load_from_memory(const unsigned char* bytes, size_t count, float scale);

    bool is_loaded() const { return loaded_; }
    // Pixel size x (1 / scale), truncated.
    qssdk::ui::size get_size() const;
    uint32_t pixel_width() const { return pixel_width_; }
    uint32_t pixel_height() const { return pixel_height_; }
    float scale() const { return scale_; }

    // The bitmap made for the context's render target, made on first use and cached. Throws qs_exception
    // "unable to create a bitmap from a WIC bitmap" / "unable to create a shared bitmap".
    ID2D1Bitmap* get_bitmap(render_context& context);
    // Releases and forgets the bitmap of that context; the context forgets the image.
    void release_bitmap(render_context& context);
    // Releases every bitmap, forgets every context, and clears the loaded flag.
    void reset();

    // How many contexts hold a bitmap of this image.
    size_t bitmap_count() const;

    // Locks the decoded pixels for writing and describes them in `record`; a lock still held is released
    // first. Throws qs_exception "unable to lock the bitmap data" / "unable to retrieve the bitmap data",
    // and com_error (E_POINTER) when nothing was decoded.
    void lock_pixels(pixel_lock& record);
    // Copies the locked pixels into every bitmap made for a context, then unlocks. Throws qs_exception
    // "unable to update the bitmap data" (the lock is released first) and "the bitmap data is not locked".
    void update_bitmaps(const pixel_lock& record);
    bool is_locked() const;

private:
    // COM for the thread, the imaging factory, the decoded bitmap, the bitmap of each render target, the lock.
    struct native;

    image();
    void drop_bitmaps();

    bool loaded_ = false;
    std::unique_ptr<native> native_;
    uint32_t pixel_width_ = 0;
    uint32_t pixel_height_ = 0;
    float scale_ = 1.0f;
    std::vector<render_context*> contexts_;
};

}  // namespace qssdk::ui
