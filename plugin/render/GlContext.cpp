#include "GlContext.h"

#include <GL/glew.h>
#include <GL/wglew.h>

#include <stdexcept>

GlContext::GlContext() {
    try {
        create();
    } catch (...) {
        destroy();
        throw;
    }
}

GlContext::~GlContext() { destroy(); }

void GlContext::create() {
    // Message-only: a top-level window of a thread that takes no messages would hold up every program's
    // broadcast (SendMessage to HWND_BROADCAST) for as long as the renderer lives.
    window_ = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                              nullptr);
    if (!window_) throw std::runtime_error("failed to create window");
    deviceContext_ = GetDC(window_);
    if (!deviceContext_) throw std::runtime_error("failed to get device context");
    deviceContextWindow_ = window_;

    PIXELFORMATDESCRIPTOR format{};
    format.nSize = sizeof format;
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = 32;
    format.iLayerType = PFD_MAIN_PLANE;
    const int formatIndex = ChoosePixelFormat(deviceContext_, &format);
    if (formatIndex == 0 || !SetPixelFormat(deviceContext_, formatIndex, &format))
        throw std::runtime_error("failed to set pixel format");

    // A legacy context first: only a current context can hand out the entry point of the modern one.
    HGLRC legacy = wglCreateContext(deviceContext_);
    if (!legacy) throw std::runtime_error("failed to create context");
    context_ = legacy;
    if (!wglMakeCurrent(deviceContext_, legacy)) throw std::runtime_error("failed to create context");

    const auto createContextAttribs = reinterpret_cast<PFNWGLCREATECONTEXTATTRIBSARBPROC>(
        reinterpret_cast<void (*)()>(wglGetProcAddress("wglCreateContextAttribsARB")));
    if (!createContextAttribs) throw std::runtime_error("wglCreateContext not available");

    const int attributes[] = {WGL_CONTEXT_MAJOR_VERSION_ARB,
                              4,
                              WGL_CONTEXT_MINOR_VERSION_ARB,
                              1,
                              WGL_CONTEXT_FLAGS_ARB,
                              WGL_CONTEXT_FORWARD_COMPATIBLE_BIT_ARB,
                              WGL_CONTEXT_PROFILE_MASK_ARB,
                              WGL_CONTEXT_CORE_PROFILE_BIT_ARB,
                              0};
    HGLRC modern = createContextAttribs(deviceContext_, nullptr, attributes);
    if (!modern) throw std::runtime_error("failed to create OpenGL 4.1 context");

    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(legacy);
    context_ = modern;
    if (!wglMakeCurrent(deviceContext_, modern)) throw std::runtime_error("failed to set OpenGL context");

    GLint major = 0, minor = 0;
    glGetIntegerv(GL_MAJOR_VERSION, &major);
    glGetIntegerv(GL_MINOR_VERSION, &minor);
    if (!meetsRequiredGlVersion(major, minor)) throw std::runtime_error("OpenGL context version below required 4.1");

    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK) throw std::runtime_error("failed to initialize glew");
    // glewInit asks for the extension string the old way, which a core context answers with an error.
    glGetError();
}

void GlContext::destroy() {
    if (context_) {
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(context_);
        context_ = nullptr;
    }
    if (deviceContext_) {
        ReleaseDC(deviceContextWindow_, deviceContext_);
        deviceContext_ = nullptr;
        deviceContextWindow_ = nullptr;
    }
    if (window_) {
        DestroyWindow(window_);
        window_ = nullptr;
    }
}

void GlContext::makeCurrent() const { wglMakeCurrent(deviceContext_, context_); }

bool meetsRequiredGlVersion(int major, int minor) { return major > 4 || (major == 4 && minor >= 1); }
