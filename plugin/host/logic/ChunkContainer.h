// Reads, writes or measures the flat form of the sequence data: an 8-byte header ("QSCHF", two zero
// bytes, version 1) followed by chunks (none are written or read in this version).
#pragma once

#include <cstdint>

class ChunkContainer {
public:
    enum class Mode : uint32_t { read = 0, write = 1, measure = 2 };

    // Null data gives size 0.
    ChunkContainer(void* data, uint64_t size, Mode mode = Mode::read);

    // Writes the header (write), checks it (read) or counts it (measure). The first call decides; later
    // calls return the same answer without looking again. Never touches bytes beyond `size`.
    bool header();

    uint64_t size() const { return size_; }  // in measure mode, the bytes needed
    uint64_t position() const { return position_; }
    bool valid() const { return valid_; }

private:
    Mode mode_;
    bool valid_ = false;
    bool validated_ = false;
    unsigned char* data_;
    uint64_t size_;
    uint64_t position_ = 0;
};
