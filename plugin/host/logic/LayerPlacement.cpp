#include "LayerPlacement.h"

#include <algorithm>
#include <cstring>

namespace {

bool isEmpty(const PF_LRect& r) { return r.left >= r.right || r.top >= r.bottom; }

// The exact length divided, rounded down: the smallest world a host rounding the other way would give.
uint32_t downsampledLengthDown(A_long full, const PF_RationalScale& downsample) {
    if (full <= 0 || downsample.num == 0 || downsample.den == 0) return 0;
    return static_cast<uint32_t>(static_cast<uint64_t>(full) * downsample.num / downsample.den);
}

}  // namespace

uint32_t downsampledLength(A_long full, const PF_RationalScale& downsample) {
    if (full <= 0 || downsample.num == 0 || downsample.den == 0) return 0;
    // Up: the host keeps the last, partly covered block of pixels, so no column of the layer is lost.
    const uint64_t scaled = (static_cast<uint64_t>(full) * downsample.num + downsample.den - 1) / downsample.den;
    return static_cast<uint32_t>(std::max<uint64_t>(scaled, 1));
}

layer_extent extentOf(const PF_CheckoutResult& result, const PF_RationalScale& downsampleX,
                      const PF_RationalScale& downsampleY) {
    layer_extent extent;
    extent.where = result.result_rect;
    const uint32_t width = downsampledLength(result.ref_width, downsampleX);
    const uint32_t height = downsampledLength(result.ref_height, downsampleY);
    if (width == 0 || height == 0) return extent;  // not known
    extent.width = width;
    extent.height = height;
    extent.wholeWidth = std::max(downsampledLengthDown(result.ref_width, downsampleX), 1u);
    extent.wholeHeight = std::max(downsampledLengthDown(result.ref_height, downsampleY), 1u);
    return extent;
}

pixel_buffer placedInLayer(const pixel_buffer& part, const layer_extent& extent, uint32_t bytesPerChannel,
                           std::vector<uint8_t>& storage) {
    const PF_LRect& at = extent.where;
    if (extent.width == 0 || extent.height == 0) return part;
    const bool empty = !part.data && isEmpty(at);
    if (!part.data && !empty) return part;  // no pixels where the layer has some: the checkout failed
    const bool whole = part.data && at.left == 0 && at.top == 0 && part.width >= extent.wholeWidth &&
                       part.width <= extent.width && part.height >= extent.wholeHeight && part.height <= extent.height;
    if (whole) return part;

    const uint32_t channelBytes = part.data ? part.bytes_per_channel : bytesPerChannel;
    const size_t pixelBytes = 4 * static_cast<size_t>(channelBytes);
    const size_t rowBytes = pixelBytes * extent.width;
    storage.assign(rowBytes * extent.height, 0);
    pixel_buffer placed{static_cast<uint32_t>(rowBytes), channelBytes, extent.width, extent.height, storage.data()};
    if (empty) return placed;
    // The part's columns and rows that fall inside the layer.
    const int64_t left = std::max<int64_t>(at.left, 0), top = std::max<int64_t>(at.top, 0);
    const int64_t right = std::min<int64_t>(static_cast<int64_t>(at.left) + part.width, extent.width);
    const int64_t bottom = std::min<int64_t>(static_cast<int64_t>(at.top) + part.height, extent.height);
    for (int64_t y = top; y < bottom; ++y) {
        if (left >= right) break;
        const uint8_t* from = part.data + static_cast<size_t>(y - at.top) * part.row_bytes +
                              static_cast<size_t>(left - at.left) * pixelBytes;
        std::memcpy(storage.data() + static_cast<size_t>(y) * rowBytes + static_cast<size_t>(left) * pixelBytes, from,
                    static_cast<size_t>(right - left) * pixelBytes);
    }
    return placed;
}
