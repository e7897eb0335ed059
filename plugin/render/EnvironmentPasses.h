// The off-screen passes that prepare the maps the surface shader samples: the environment cube map
// with its roughness levels, and the normal map of a height map. Each pass draws the full-screen quad
// into a framebuffer of its own, deletes it, and leaves framebuffer 0, program 0 and vertex array 0
// bound. The GL context must be current.
#pragma once

#include <cstdint>

class TextureStore;

namespace environment_passes {

inline constexpr int cubeSize = 512;
inline constexpr int roughnessLevels = 6;  // cube levels 1..6, each rougher than the one before

// The Renderer's objects the passes draw with.
struct pass_objects {
    uint32_t quadVertexArray = 0;
    uint32_t heightToNormalProgram = 0;
    uint32_t equirectProgram = 0;
    uint32_t prefilterProgram = 0;
    uint32_t samplePointTexture = 0;
};

// The prefilter's sample table as a GL_RGBA16F texture, one row per roughness level.
uint32_t createSamplePointTexture();

// A cube map of the equirectangular image: level 0 the image itself, levels 1..6 prefiltered; 0 (and
// nothing made) for no image.
uint32_t buildEnvironmentMap(const pass_objects& objects, uint32_t equirectTexture);
// Fills levels 1..6 of the cube from level 0, each level from those made before it.
void prefilterEnvironmentMap(const pass_objects& objects, uint32_t cube, const int size[2]);
// A mipmapped normal map of the height texture; slopes across are scaled by 1 / downsampleX and slopes
// down by 1 / downsampleY, so that a downsampled frame shows the bumps of the full-size one.
uint32_t buildNormalMap(const pass_objects& objects, const TextureStore& store, uint32_t heightTexture,
                        const int size[2], float downsampleX, float downsampleY);

}  // namespace environment_passes
