// The host's movable memory blocks: the handles it gives the effect for global and sequence data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "ae_types.h"

namespace hostsim {

class HostHandles {
public:
    HostHandles() = default;
    HostHandles(const HostHandles&) = delete;
    HostHandles& operator=(const HostHandles&) = delete;

    // A zero-filled block of the given size.
    PF_Handle create(size_t size);
    void* lock(PF_Handle handle);
    void unlock(PF_Handle handle);
    void dispose(PF_Handle handle);
    size_t size(PF_Handle handle) const;

    bool isLive(PF_Handle handle) const;
    size_t liveCount() const;
    size_t lockCount(PF_Handle handle) const;
    // Misuse the effect committed (unknown handles, unbalanced unlocks), for the tests to check.
    std::vector<std::string> faults() const;

private:
    // Bytes after every block, set to a pattern and checked when the block is unlocked or disposed of, as
    // a debugging allocator does: a write past the end of a block shows as a fault.
    static constexpr size_t guardBytes = 256;
    static constexpr unsigned char guardPattern = 0xA5;

    struct block {
        void* master = nullptr;  // what the handle points at: the block's current address
        std::vector<unsigned char> bytes;  // the block, then the guard bytes
        size_t size = 0;
        size_t locks = 0;
    };
    block* find(PF_Handle handle) const;
    void checkGuard(block& b);
    void fault(std::string what);

    mutable std::mutex mutex_;
    std::map<PF_Handle, std::unique_ptr<block>> blocks_;
    std::vector<std::string> faults_;
};

}  // namespace hostsim
