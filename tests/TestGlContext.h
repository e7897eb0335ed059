// A GL context current on the calling thread, on a hidden window, for tests that need real textures.
#pragma once

#include <windows.h>

class TestGlContext {
public:
    TestGlContext();  // throws std::runtime_error
    ~TestGlContext();
    TestGlContext(const TestGlContext&) = delete;
    TestGlContext& operator=(const TestGlContext&) = delete;

private:
    void destroy();

    HWND window_ = nullptr;
    HDC dc_ = nullptr;
    HGLRC context_ = nullptr;
};
