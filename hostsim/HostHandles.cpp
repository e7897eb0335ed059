#include "HostHandles.h"

#include <algorithm>

namespace hostsim {

PF_Handle HostHandles::create(size_t size) {
    auto b = std::make_unique<block>();
    b->bytes.assign(size + guardBytes, 0);  // a zero-size block still has an address
    std::fill(b->bytes.begin() + static_cast<std::ptrdiff_t>(size), b->bytes.end(), guardPattern);
    b->size = size;
    b->master = b->bytes.data();
    PF_Handle handle = &b->master;
    std::lock_guard guard(mutex_);
    blocks_.emplace(handle, std::move(b));
    return handle;
}

void* HostHandles::lock(PF_Handle handle) {
    std::lock_guard guard(mutex_);
    block* b = find(handle);
    if (!b) {
        fault("lock of an unknown handle");
        return nullptr;
    }
    ++b->locks;
    return b->master;
}

void HostHandles::unlock(PF_Handle handle) {
    std::lock_guard guard(mutex_);
    block* b = find(handle);
    if (!b)
        fault("unlock of an unknown handle");
    else if (b->locks == 0)
        fault("unlock of a handle that is not locked");
    else
        --b->locks;
    if (b) checkGuard(*b);
}

void HostHandles::dispose(PF_Handle handle) {
    std::lock_guard guard(mutex_);
    if (!handle) return;
    if (block* b = find(handle)) checkGuard(*b);
    if (blocks_.erase(handle) == 0) fault("dispose of an unknown handle");
}

size_t HostHandles::size(PF_Handle handle) const {
    std::lock_guard guard(mutex_);
    block* b = find(handle);
    return b ? b->size : 0;
}

bool HostHandles::isLive(PF_Handle handle) const {
    std::lock_guard guard(mutex_);
    return find(handle) != nullptr;
}

size_t HostHandles::liveCount() const {
    std::lock_guard guard(mutex_);
    return blocks_.size();
}

size_t HostHandles::lockCount(PF_Handle handle) const {
    std::lock_guard guard(mutex_);
    block* b = find(handle);
    return b ? b->locks : 0;
}

std::vector<std::string> HostHandles::faults() const {
    std::lock_guard guard(mutex_);
    return faults_;
}

HostHandles::block* HostHandles::find(PF_Handle handle) const {
    auto it = blocks_.find(handle);
    return it == blocks_.end() ? nullptr : it->second.get();
}

void HostHandles::checkGuard(block& b) {
    const auto past = b.bytes.begin() + static_cast<std::ptrdiff_t>(b.size);
    if (std::any_of(past, b.bytes.end(), [](unsigned char c) { return c != guardPattern; })) {
        fault("a write past the end of a " + std::to_string(b.size) + "-byte block");
        // Reported once: the pattern is laid again.
        std::fill(b.bytes.begin() + static_cast<std::ptrdiff_t>(b.size), b.bytes.end(), guardPattern);
    }
}

void HostHandles::fault(std::string what) { faults_.push_back(std::move(what)); }

}  // namespace hostsim
