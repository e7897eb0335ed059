// Owning pointer to a COM interface: releases it once, when replaced or at scope end. Calling through a
// null one raises com_error with E_POINTER, as the COM support library does.
#pragma once

#include <windows.h>

#include <utility>

#include "qs_exception.h"

namespace qssdk::ui {

class com_error : public qs_exception {
public:
    explicit com_error(HRESULT code);
    HRESULT code() const { return code_; }

private:
    HRESULT code_;
};

template <class T>
class com_ptr {
public:
    com_ptr() = default;
    // Takes over one reference that the caller owns.
    explicit com_ptr(T* owned) : p_(owned) {}
    com_ptr(const com_ptr&) = delete;
    com_ptr& operator=(const com_ptr&) = delete;
    com_ptr(com_ptr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    com_ptr& operator=(com_ptr&& other) noexcept {
        if (this != &other) reset(std::exchange(other.p_, nullptr));
        return *this;
    }
    ~com_ptr() { reset(); }

    void reset(T* owned = nullptr) {
        if (p_) p_->Release();
        p_ = owned;
    }
    // For creation calls that write an interface pointer: releases the current one first.
    T** put() {
        reset();
        return &p_;
    }
    T* get() const { return p_; }
    T* operator->() const {
        if (!p_) throw com_error(E_POINTER);
        return p_;
    }
    explicit operator bool() const { return p_ != nullptr; }

private:
    T* p_ = nullptr;
};

}  // namespace qssdk::ui
