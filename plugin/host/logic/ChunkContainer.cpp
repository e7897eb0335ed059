#include "ChunkContainer.h"

#include <cstring>

namespace {

constexpr uint64_t headerSize = 8;
constexpr unsigned char headerBytes[headerSize] = {'Q', 'S', 'C', 'H', 'F', 0, 0, 1};
// Also accepted when reading.
constexpr unsigned char alternateHeaderBytes[headerSize] = {'Q', 'S', 'C', 'F', 'H', 0, 0, 1};

}  // namespace

ChunkContainer::ChunkContainer(void* data, uint64_t size, Mode mode)
    : mode_(mode), data_(static_cast<unsigned char*>(data)), size_(data ? size : 0) {}

bool ChunkContainer::header() {
    if (validated_) return valid_;
    validated_ = true;
    valid_ = false;
    if (mode_ == Mode::measure) {
        valid_ = true;
        size_ = headerSize;
        data_ = nullptr;
        return true;
    }
    if (!data_ || size_ < headerSize) return false;
    if (mode_ == Mode::write) {
        std::memcpy(data_, headerBytes, headerSize);
    } else if (std::memcmp(data_, headerBytes, headerSize) != 0 &&
               std::memcmp(data_, alternateHeaderBytes, headerSize) != 0) {
        return false;
    }
    valid_ = true;
    position_ = headerSize;
    return true;
}
