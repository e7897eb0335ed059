// The host's drawing objects for an effect's custom controls: the canvas of a control area the effect
// draws into during a DRAW event, the drawing reference, supplier and surface that reach it, and the
// images the effect makes from its own pixel buffers, each made and released counted.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "Image.h"
#include "ae_effect.h"
#include "ae_suites.h"

namespace hostsim {

struct bgra8 {
    uint8_t b = 0, g = 0, r = 0, a = 0;
    bool operator==(const bgra8&) const = default;
};

// A control area as the panel shows it: 8-bit premultiplied BGRA, opaque where the panel is.
class Canvas {
public:
    Canvas(int width, int height, bgra8 fill);
    int width() const { return width_; }
    int height() const { return height_; }
    const bgra8& at(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    // Composites premultiplied BGRA rows over the canvas with their top-left at (x, y), scaled by
    // `alpha`; what falls outside is clipped.
    void composite(const std::vector<bgra8>& pixels, int width, int height, int x, int y, float alpha);
    Image toImage() const;

private:
    int width_;
    int height_;
    std::vector<bgra8> pixels_;
};

class Drawbot;

// One drawing reference: valid while the host draws one control, with its supplier and surface.
struct drawing_ref;
struct drawbot_supplier {
    drawing_ref* drawing;
};
struct drawbot_surface {
    drawing_ref* drawing;
};
struct drawing_ref {
    PF_ContextH context;  // the custom context of the event being drawn
    Canvas* canvas;
    int originX, originY;  // the canvas's top-left in panel coordinates
    drawbot_supplier supplier{this};
    drawbot_surface surface{this};
};

class Drawbot {
public:
    Drawbot() = default;
    Drawbot(const Drawbot&) = delete;
    Drawbot& operator=(const Drawbot&) = delete;

    // While a draw is active the suites reach `canvas` through `drawing`; afterwards its references are
    // stale and refused.
    void beginDraw(drawing_ref& drawing);
    void endDraw();
    // The drawing of the custom context being drawn now; null outside a draw or for another context.
    DRAWBOT_DrawRef drawingFor(PF_ContextH context) const;

    // The suites' calls.
    SPErr supplierOf(DRAWBOT_DrawRef drawing, DRAWBOT_SupplierRef* supplier);
    SPErr surfaceOf(DRAWBOT_DrawRef drawing, DRAWBOT_SurfaceRef* surface);
    SPErr newImageFromBuffer(DRAWBOT_SupplierRef supplier, int width, int height, int rowBytes,
                             DRAWBOT_PixelLayout layout, const void* data, DRAWBOT_ImageRef* image);
    SPErr drawImage(DRAWBOT_SurfaceRef surface, DRAWBOT_ImageRef image, const DRAWBOT_PointF32* origin, float alpha);
    SPErr releaseObject(DRAWBOT_ObjectRef object);

    int imagesMade() const;
    int imagesReleased() const;
    int imagesDrawn() const;
    // Images made and never released.
    std::vector<std::string> leaks() const;
    // Calls with stale or unknown references, layouts the host does not take, releases of released images.
    std::vector<std::string> faults() const;

private:
    struct image {
        int width = 0;
        int height = 0;
        std::vector<bgra8> pixels;  // copied from the effect's buffer when made
    };
    void fault(std::string what) { faults_.push_back(std::move(what)); }

    mutable std::mutex mutex_;
    drawing_ref* active_ = nullptr;
    std::map<DRAWBOT_ImageRef, std::unique_ptr<image>> images_;
    int made_ = 0;
    int released_ = 0;
    int drawn_ = 0;
    std::vector<std::string> faults_;
};

// The error the simulated host's DRAWBOT calls return for a reference they do not know.
constexpr SPErr kDrawbotBadReference = 0x42414452;

}  // namespace hostsim
