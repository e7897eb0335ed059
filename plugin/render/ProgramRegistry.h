// The renderer's GPU programs: compiles and links GLSL programs and deletes every one it made when it
// is released (with the GL context current).
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

class ProgramRegistry {
public:
    ProgramRegistry() = default;
    ~ProgramRegistry();
    ProgramRegistry(const ProgramRegistry&) = delete;
    ProgramRegistry& operator=(const ProgramRegistry&) = delete;

    // Vertex and fragment sources are required, the geometry source is optional (empty: none). A failed
    // compile shows its log in a "Shader Log" message box; failures throw shader_compile_exception.
    uint32_t compileProgram(std::string_view vertexSource, std::string_view fragmentSource,
                            std::string_view geometrySource = {});

    const std::vector<uint32_t>& programs() const { return programs_; }

private:
    std::vector<uint32_t> programs_;
};
