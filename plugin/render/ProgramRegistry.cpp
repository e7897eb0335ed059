#include "ProgramRegistry.h"

#include <GL/glew.h>
#include <windows.h>

#include <string>

#include "shader_compile_exception.h"

namespace {

std::string shaderLog(GLuint shader) {
    GLint length = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
    std::string log(static_cast<size_t>(length > 0 ? length : 1), '\0');
    glGetShaderInfoLog(shader, static_cast<GLsizei>(log.size()), nullptr, log.data());
    return log;
}

std::string programLog(GLuint program) {
    GLint length = 0;
    glGetProgramiv(program, GL_INFO_LOG_LENGTH, &length);
    std::string log(static_cast<size_t>(length > 0 ? length : 1), '\0');
    glGetProgramInfoLog(program, static_cast<GLsizei>(log.size()), nullptr, log.data());
    return log;
}

// Compiles one stage and attaches it; the shader object is deleted either way (the program keeps it).
void compileStage(GLuint program, GLenum stage, std::string_view source) {
    const GLuint shader = glCreateShader(stage);
    const GLchar* text = source.data();
    const GLint length = static_cast<GLint>(source.size());
    glShaderSource(shader, 1, &text, &length);
    glCompileShader(shader);
    GLint status = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &status);
    if (status != GL_TRUE) {
        const std::string log = shaderLog(shader);
        glDeleteShader(shader);
        OutputDebugStringA(log.c_str());
        MessageBoxA(nullptr, log.c_str(), "Shader Log", MB_OK);
        throw shader_compile_exception("failed to compile shader source");
    }
    glAttachShader(program, shader);
    glDeleteShader(shader);
}

}  // namespace

ProgramRegistry::~ProgramRegistry() {
    for (uint32_t program : programs_) glDeleteProgram(program);
}

uint32_t ProgramRegistry::compileProgram(std::string_view vertexSource, std::string_view fragmentSource,
                                         std::string_view geometrySource) {
    if (vertexSource.empty() || fragmentSource.empty()) throw shader_compile_exception("invalid shader code");

    const GLuint program = glCreateProgram();
    programs_.push_back(program);
    compileStage(program, GL_VERTEX_SHADER, vertexSource);
    if (!geometrySource.empty()) compileStage(program, GL_GEOMETRY_SHADER, geometrySource);
    compileStage(program, GL_FRAGMENT_SHADER, fragmentSource);

    glBindFragDataLocation(program, 0, "outColor");
    glLinkProgram(program);
    GLint status = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &status);
    if (status != GL_TRUE) {
        OutputDebugStringA(programLog(program).c_str());
        throw shader_compile_exception("failed to link shader program");
    }
    return program;
}
