// The renderer's OpenGL 4.1 core context on a hidden message-only window of its own, current on the thread
// that made it.
#pragma once

#include <windows.h>

class GlContext {
public:
    // Makes the window and the context and leaves the context current; throws std::runtime_error.
    GlContext();
    ~GlContext();
    GlContext(const GlContext&) = delete;
    GlContext& operator=(const GlContext&) = delete;

    void makeCurrent() const;

    HWND window() const { return window_; }
    HDC deviceContext() const { return deviceContext_; }
    HGLRC context() const { return context_; }

private:
    void create();
    void destroy();

    HWND window_ = nullptr;
    HWND deviceContextWindow_ = nullptr;  // the window the device context is released with
    HDC deviceContext_ = nullptr;
    HGLRC context_ = nullptr;
};

// Whether a context of this version is new enough for the renderer (4.1 or later).
bool meetsRequiredGlVersion(int major, int minor);
