// A host memory handle locked for a scope and unlocked however the scope ends; a null handle is never
// locked, and the callbacks are not touched for one.
#pragma once

#include "ae_effect.h"

class HandleLock {
public:
    HandleLock(const PF_UtilCallbacks* utils, PF_Handle handle)
        : utils_(utils), handle_(handle), data_(handle ? utils->host_lock_handle(handle) : nullptr) {}
    ~HandleLock() {
        if (data_) utils_->host_unlock_handle(handle_);
    }
    HandleLock(const HandleLock&) = delete;
    HandleLock& operator=(const HandleLock&) = delete;

    // The handle's memory; null when the handle is null or the host would not lock it.
    void* data() const { return data_; }

private:
    const PF_UtilCallbacks* utils_;
    PF_Handle handle_;
    void* data_;
};
