// Decoding a picture from memory and its per-render-target bitmaps.
#include "image.h"

#include <d2d1.h>
#include <wincodec.h>

#include <algorithm>
#include <unordered_map>

#include "com_initializer.h"
#include "com_ptr.h"
#include "fnv1a_hash.h"
#include "image_geometry.h"
#include "qs_exception.h"
#include "render_context.h"

namespace qssdk::ui {

// COM goes first and is undone last, after every object made through it.
struct image::native {
    com_initializer com{COINIT_MULTITHREADED};
    com_ptr<IWICImagingFactory> factory;
    com_ptr<IWICBitmap> bitmap;
    std::unordered_map<ID2D1RenderTarget*, com_ptr<ID2D1Bitmap>, fnv1a_hash> bitmaps{initial_buckets};
    // After the bitmap, so that it goes first: an image destroyed while locked releases its lock.
    com_ptr<IWICBitmapLock> lock;
};

namespace {

// What one decode produced; nothing of the image changes until all of it succeeded.
struct decoded_picture {
    com_ptr<IWICBitmap> bitmap;
    UINT width = 0;
    UINT height = 0;
};

// The first frame of the decoder as premultiplied BGRA pixels, or no bitmap when the frame, the
// conversion or the pixels fail.
decoded_picture convert_frame(IWICImagingFactory& factory, IWICBitmapDecoder& decoder) {
    decoded_picture out;
    com_ptr<IWICBitmapFrameDecode> frame;
    if (FAILED(decoder.GetFrame(0, frame.put()))) return out;
    com_ptr<IWICFormatConverter> converter;
    if (FAILED(factory.CreateFormatConverter(converter.put())))
        throw qs_exception("unable to create the bitmap format converter");
    if (FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr,
                                     0.0, WICBitmapPaletteTypeCustom)))
        return out;
    UINT width = 0, height = 0;
    if (FAILED(converter->GetSize(&width, &height))) return out;
    // Caching on load decodes every pixel now, so a block whose pixel data is damaged fails here.
    com_ptr<IWICBitmap> bitmap;
    if (FAILED(factory.CreateBitmapFromSource(converter.get(), WICBitmapCacheOnLoad, bitmap.put()))) return out;
    out.bitmap = std::move(bitmap);
    out.width = width;
    out.height = height;
    return out;
}

}  // namespace

image::image() : native_(std::make_unique<native>()) {
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(native_->factory.put()))))
        throw qs_exception("unable to create the imaging factory");
}

std::unique_ptr<image> image::create() { return std::unique_ptr<image>(new image()); }

image::~image() { drop_bitmaps(); }

bool image::load(const image_data& data) { return load_from_memory(data.bytes, data.size, data.scale); }

bool image::load_from_memory(const unsigned char* bytes, size_t count, float scale) {
    if (!bytes || count == 0 || count > UINT32_MAX) return false;
    com_ptr<IWICStream> stream;
    if (FAILED(native_->factory->CreateStream(stream.put()))) return false;
    // The stream only reads the block.
    if (FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(bytes), static_cast<DWORD>(count)))) return false;
    com_ptr<IWICBitmapDecoder> decoder;
    if (FAILED(native_->factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnLoad,
                                                         decoder.put())))
        return false;
    decoded_picture picture = convert_frame(*native_->factory.get(), *decoder.get());
    if (!picture.bitmap) return false;

    // Bitmaps made from the previous picture would draw it still; a lock would hold on to it.
    drop_bitmaps();
    native_->lock.reset();
    native_->bitmap = std::move(picture.bitmap);
    pixel_width_ = picture.width;
    pixel_height_ = picture.height;
    scale_ = scale;
    loaded_ = true;
    return true;
}

size image::get_size() const { return image_size_in_dips(pixel_width_, pixel_height_, scale_); }

size_t image::bitmap_count() const { return native_->bitmaps.size(); }

bool image::is_locked() const { return static_cast<bool>(native_->lock); }

ID2D1Bitmap* image::get_bitmap(render_context& context) {
    ID2D1RenderTarget& target = context.drawing_target();
    if (auto found = native_->bitmaps.find(&target); found != native_->bitmaps.end()) return found->second.get();
    com_ptr<ID2D1Bitmap> own;
    if (FAILED(target.CreateBitmapFromWicBitmap(native_->bitmap.get(), nullptr, own.put())))
        throw qs_exception("unable to create a bitmap from a WIC bitmap");
    com_ptr<ID2D1Bitmap> shared;
    if (FAILED(target.CreateSharedBitmap(__uuidof(ID2D1Bitmap), own.get(), nullptr, shared.put())))
        throw qs_exception("unable to create a shared bitmap");
    // The shared bitmap keeps what it needs; the intermediate one is released with `own`.
    ID2D1Bitmap* result = shared.get();
    native_->bitmaps.emplace(&target, std::move(shared));
    contexts_.push_back(&context);
    context.remember_image(this);
    return result;
}

void image::release_bitmap(render_context& context) {
    if (ID2D1RenderTarget* target = context.target()) native_->bitmaps.erase(target);
    std::erase(contexts_, &context);
    context.forget_image(this);
}

void image::reset() {
    drop_bitmaps();
    loaded_ = false;
}

void image::lock_pixels(pixel_lock& record) {
    record.width = record.height = 0;
    native_->lock.reset();
    com_ptr<IWICBitmapLock> lock;
    if (FAILED(native_->bitmap->Lock(nullptr, WICBitmapLockWrite, lock.put())))
        throw qs_exception("unable to lock the bitmap data");
    UINT size = 0, stride = 0;
    BYTE* data = nullptr;
    WICPixelFormatGUID format{};
    if (FAILED(lock->GetDataPointer(&size, &data)) || FAILED(lock->GetStride(&stride)) ||
        FAILED(lock->GetPixelFormat(&format)))
        throw qs_exception("unable to retrieve the bitmap data");  // `lock` is released on the way out
    native_->lock = std::move(lock);
    record.size = size;
    record.stride = stride;
    record.bits_per_pixel = 32;
    record.data = data;
    record.width = pixel_width_;
    record.height = pixel_height_;
}

void image::update_bitmaps(const pixel_lock& record) {
    if (!native_->lock) throw qs_exception("the bitmap data is not locked");
    const D2D1_RECT_U whole{0, 0, pixel_width_, pixel_height_};
    for (auto& cached : native_->bitmaps) {
        if (FAILED(cached.second->CopyFromMemory(&whole, record.data, record.stride))) {
            native_->lock.reset();
            throw qs_exception("unable to update the bitmap data");
        }
    }
    native_->lock.reset();
}

void image::drop_bitmaps() {
    for (render_context* context : contexts_) context->forget_image(this);
    contexts_.clear();
    native_->bitmaps = decltype(native_->bitmaps)(initial_buckets);
}

}  // namespace qssdk::ui
