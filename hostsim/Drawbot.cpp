#include "Drawbot.h"

#include <algorithm>
#include <cmath>

namespace hostsim {

Canvas::Canvas(int width, int height, bgra8 fill)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, fill) {}

void Canvas::composite(const std::vector<bgra8>& pixels, int width, int height, int x, int y, float alpha) {
    const float weight = std::clamp(alpha, 0.0f, 1.0f);
    auto over = [weight](uint8_t source, uint8_t destination, float sourceAlpha) {
        const float value = source * weight + destination * (1.0f - sourceAlpha * weight);
        return static_cast<uint8_t>(std::clamp(std::lround(value), 0L, 255L));
    };
    for (int row = std::max(0, -y); row < height && y + row < height_; ++row) {
        for (int column = std::max(0, -x); column < width && x + column < width_; ++column) {
            const bgra8& s = pixels[static_cast<size_t>(row) * width + column];
            bgra8& d = pixels_[static_cast<size_t>(y + row) * width_ + x + column];
            const float sourceAlpha = s.a / 255.0f;
            d = bgra8{over(s.b, d.b, sourceAlpha), over(s.g, d.g, sourceAlpha), over(s.r, d.r, sourceAlpha),
                      over(s.a, d.a, sourceAlpha)};
        }
    }
}

Image Canvas::toImage() const {
    Image out(width_, height_);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            const bgra8& p = at(x, y);
            out.at(x, y) = rgba{p.r / 255.0f, p.g / 255.0f, p.b / 255.0f, p.a / 255.0f};
        }
    return out;
}

void Drawbot::beginDraw(drawing_ref& drawing) {
    std::lock_guard guard(mutex_);
    active_ = &drawing;
}

void Drawbot::endDraw() {
    std::lock_guard guard(mutex_);
    active_ = nullptr;
}

DRAWBOT_DrawRef Drawbot::drawingFor(PF_ContextH context) const {
    std::lock_guard guard(mutex_);
    return active_ && context && active_->context == context ? reinterpret_cast<DRAWBOT_DrawRef>(active_) : nullptr;
}

SPErr Drawbot::supplierOf(DRAWBOT_DrawRef drawing, DRAWBOT_SupplierRef* supplier) {
    std::lock_guard guard(mutex_);
    if (!supplier || !drawing || drawing != reinterpret_cast<DRAWBOT_DrawRef>(active_)) {
        fault("GetSupplier with a drawing reference that is not the one being drawn");
        return kDrawbotBadReference;
    }
    *supplier = reinterpret_cast<DRAWBOT_SupplierRef>(&active_->supplier);
    return 0;
}

SPErr Drawbot::surfaceOf(DRAWBOT_DrawRef drawing, DRAWBOT_SurfaceRef* surface) {
    std::lock_guard guard(mutex_);
    if (!surface || !drawing || drawing != reinterpret_cast<DRAWBOT_DrawRef>(active_)) {
        fault("GetSurface with a drawing reference that is not the one being drawn");
        return kDrawbotBadReference;
    }
    *surface = reinterpret_cast<DRAWBOT_SurfaceRef>(&active_->surface);
    return 0;
}

SPErr Drawbot::newImageFromBuffer(DRAWBOT_SupplierRef supplier, int width, int height, int rowBytes,
                                  DRAWBOT_PixelLayout layout, const void* data, DRAWBOT_ImageRef* result) {
    std::lock_guard guard(mutex_);
    if (!result) return kDrawbotBadReference;
    *result = nullptr;
    if (!active_ || supplier != reinterpret_cast<DRAWBOT_SupplierRef>(&active_->supplier)) {
        fault("NewImageFromBuffer with a supplier of no drawing in progress");
        return kDrawbotBadReference;
    }
    if (layout != kDRAWBOT_PixelLayout_32BGR || width <= 0 || height <= 0 || rowBytes < width * 4 || !data) {
        fault("NewImageFromBuffer with a buffer the host cannot read: layout " + std::to_string(layout) + ", " +
              std::to_string(width) + " x " + std::to_string(height) + ", " + std::to_string(rowBytes) +
              " bytes a row");
        return kDrawbotBadReference;
    }
    auto made = std::make_unique<image>();
    made->width = width;
    made->height = height;
    made->pixels.resize(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        const auto* row = static_cast<const uint8_t*>(data) + static_cast<size_t>(y) * rowBytes;
        for (int x = 0; x < width; ++x)
            made->pixels[static_cast<size_t>(y) * width + x] = bgra8{row[x * 4], row[x * 4 + 1], row[x * 4 + 2],
                                                                     row[x * 4 + 3]};
    }
    const auto ref = reinterpret_cast<DRAWBOT_ImageRef>(made.get());
    images_.emplace(ref, std::move(made));
    ++made_;
    *result = ref;
    return 0;
}

SPErr Drawbot::drawImage(DRAWBOT_SurfaceRef surface, DRAWBOT_ImageRef ref, const DRAWBOT_PointF32* origin,
                         float alpha) {
    std::lock_guard guard(mutex_);
    const auto found = images_.find(ref);
    if (!active_ || surface != reinterpret_cast<DRAWBOT_SurfaceRef>(&active_->surface) || found == images_.end() ||
        !origin) {
        fault("DrawImage with a stale surface, an unknown image or no origin");
        return kDrawbotBadReference;
    }
    const image& picture = *found->second;
    active_->canvas->composite(picture.pixels, picture.width, picture.height,
                               static_cast<int>(std::lround(origin->x)) - active_->originX,
                               static_cast<int>(std::lround(origin->y)) - active_->originY, alpha);
    ++drawn_;
    return 0;
}

SPErr Drawbot::releaseObject(DRAWBOT_ObjectRef object) {
    std::lock_guard guard(mutex_);
    const auto found = images_.find(reinterpret_cast<DRAWBOT_ImageRef>(object));  // images are released as objects
    if (found == images_.end()) {
        fault("ReleaseObject of an object the host did not make or already released");
        return kDrawbotBadReference;
    }
    images_.erase(found);
    ++released_;
    return 0;
}

int Drawbot::imagesMade() const {
    std::lock_guard guard(mutex_);
    return made_;
}

int Drawbot::imagesReleased() const {
    std::lock_guard guard(mutex_);
    return released_;
}

int Drawbot::imagesDrawn() const {
    std::lock_guard guard(mutex_);
    return drawn_;
}

std::vector<std::string> Drawbot::leaks() const {
    std::lock_guard guard(mutex_);
    std::vector<std::string> out;
    for (const auto& [ref, picture] : images_)
        out.push_back("a " + std::to_string(picture->width) + " x " + std::to_string(picture->height) +
                      " DRAWBOT image was never released");
    return out;
}

std::vector<std::string> Drawbot::faults() const {
    std::lock_guard guard(mutex_);
    return faults_;
}

}  // namespace hostsim
