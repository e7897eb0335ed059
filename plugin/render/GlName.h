// One GL object name owned by a scope or a member and deleted with it (with the GL context current);
// name 0 deletes nothing.
#pragma once

#include <GL/glew.h>

#include <utility>

class GlName {
public:
    using Deleter = void (*)(GLuint);

    GlName() = default;
    GlName(GLuint name, Deleter deleter) : name_(name), deleter_(deleter) {}
    ~GlName() { reset(); }
    GlName(GlName&& other) noexcept
        : name_(std::exchange(other.name_, 0u)), deleter_(other.deleter_) {}
    GlName& operator=(GlName&& other) noexcept {
        if (this != &other) {
            reset();
            name_ = std::exchange(other.name_, 0u);
            deleter_ = other.deleter_;
        }
        return *this;
    }
    GlName(const GlName&) = delete;
    GlName& operator=(const GlName&) = delete;

    GLuint get() const { return name_; }
    // Hands the name over to the caller, who deletes it.
    GLuint release() { return std::exchange(name_, 0u); }
    void reset() {
        if (name_ != 0) deleter_(name_);
        name_ = 0;
    }

private:
    GLuint name_ = 0;
    Deleter deleter_ = nullptr;
};

namespace gl_names {

inline void deleteBuffer(GLuint name) { glDeleteBuffers(1, &name); }
inline void deleteVertexArray(GLuint name) { glDeleteVertexArrays(1, &name); }
inline void deleteTexture(GLuint name) { glDeleteTextures(1, &name); }
inline void deleteFramebuffer(GLuint name) { glDeleteFramebuffers(1, &name); }

inline GlName newBuffer() {
    GLuint name = 0;
    glGenBuffers(1, &name);
    return {name, deleteBuffer};
}
inline GlName newVertexArray() {
    GLuint name = 0;
    glGenVertexArrays(1, &name);
    return {name, deleteVertexArray};
}
inline GlName newTexture() {
    GLuint name = 0;
    glGenTextures(1, &name);
    return {name, deleteTexture};
}
inline GlName newFramebuffer() {
    GLuint name = 0;
    glGenFramebuffers(1, &name);
    return {name, deleteFramebuffer};
}
// Takes over a texture made elsewhere.
inline GlName ownTexture(GLuint name) { return {name, deleteTexture}; }

}  // namespace gl_names
