#include "LayerPlacement.h"

#include <algorithm>
#include <cstring>

layer_extent extentOf(const PF_CheckoutResult& result) {
    layer_extent extent;
    extent.where = result.result_rect;
    extent.width = static_cast<uint32_t>(std::max<A_long>(result.ref_width, 0));
    extent.height = static_cast<uint32_t>(std::max<A_long>(result.ref_height, 0));
    return extent;
}

pixel_buffer placedInLayer(const pixel_buffer& part, const layer_extent& extent, std::vector<uint8_t>& storage) {
    const PF_LRect& at = extent.where;
    const bool whole = at.left == 0 && at.top == 0 && part.width == extent.width && part.height == extent.height;
    if (!part.data || extent.width == 0 || extent.height == 0 || whole) return part;

    const size_t pixelBytes = 4 * static_cast<size_t>(part.bytes_per_channel);
    const size_t rowBytes = pixelBytes * extent.width;
    storage.assign(rowBytes * extent.height, 0);
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
    pixel_buffer placed = part;
    placed.row_bytes = static_cast<uint32_t>(rowBytes);
    placed.width = extent.width;
    placed.height = extent.height;
    placed.data = storage.data();
    return placed;
}
