#include "TestGlContext.h"

#include <stdexcept>

TestGlContext::TestGlContext() {
    window_ = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 10, 10, nullptr, nullptr, GetModuleHandleW(nullptr),
                              nullptr);
    if (!window_) throw std::runtime_error("no window for GL");
    dc_ = GetDC(window_);
    PIXELFORMATDESCRIPTOR pfd{};
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 32;
    const int format = ChoosePixelFormat(dc_, &pfd);
    if (format && SetPixelFormat(dc_, format, &pfd)) context_ = wglCreateContext(dc_);
    if (!context_ || !wglMakeCurrent(dc_, context_)) {
        destroy();
        throw std::runtime_error("no GL context");
    }
}

TestGlContext::~TestGlContext() { destroy(); }

void TestGlContext::destroy() {
    wglMakeCurrent(nullptr, nullptr);
    if (context_) wglDeleteContext(context_);
    if (dc_) ReleaseDC(window_, dc_);
    DestroyWindow(window_);
}
