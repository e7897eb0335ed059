// The plain records the host layer hands the renderer: one host image, the frame, the camera of a
// motion-blur sample, the surface settings, one comp light and an uploaded mesh.
#pragma once

#include <cstddef>
#include <cstdint>

#include "mat4.h"
#include "quaternion.h"

struct vec2 {
    float x = 0, y = 0;
};

struct alignas(16) vec4 {
    float x = 0, y = 0, z = 0, w = 0;
};

// A mesh in GPU memory.
struct model_ref {
    uint32_t vertex_array = 0;
    uint32_t vertex_buffer = 0;
    uint32_t index_buffer = 0;
    uint32_t index_count = 0;
};

// One host image: rows top to bottom, channels alpha, red, green, blue; 16-bit channels span 0..32768.
struct pixel_buffer {
    uint32_t row_bytes = 0;
    uint32_t bytes_per_channel = 0;  // 1, 2 or 4 (float)
    uint32_t width = 0;
    uint32_t height = 0;
    uint8_t* data = nullptr;  // null: no image
};

struct render_data {
    pixel_buffer input;
    pixel_buffer output;  // sizes the frame's targets and receives the result
    float downsample_x = 0;
    float downsample_y = 0;
    int32_t full_width = 0;
    int32_t full_height = 0;
    int32_t origin_x = 0;
    int32_t origin_y = 0;
    float pixel_aspect = 0;
    int32_t bytes_per_channel = 0;
};

// What the scene capture records of the comp camera at one time.
struct alignas(16) camera_record {
    vec2 viewSize;
    uint32_t reserved[2] = {};
    qssdk::mat4 viewMatrix;
    qssdk::mat4 projMatrix;
    vec4 eyePosition;
    uint8_t orthographic = 0;
    float imagePlaneDistance = 0;
    float filmSize = 0;
    float blurLevel = 0;
    float aperture = 0;
    float focusDistance = 0;
    float zoomRatio = 0;
    uint8_t depthOfField = 0;
};

// The camera of one motion-blur sample.
struct render_properties : camera_record {
    float time = 0;  // seconds
};

// Light kinds, with the host's values.
enum light_type : int32_t { lightParallel = 0, lightSpot = 1, lightPoint = 2, lightAmbient = 3 };
// Which faces of the sphere are drawn ("Surface"'s choices).
enum surface_side : uint32_t { surfaceAll = 1, surfaceFront = 2, surfaceBack = 3 };
// Texture wrapping ("UV Mode"'s choices); any other value mirrors.
enum uv_mode : int32_t { uvRepeat = 1, uvMirror = 2 };

struct light_properties {
    uint32_t layerId = 0;
    uint32_t reserved[3] = {};
    vec4 position;
    vec4 direction;
    vec4 color;  // colour times intensity
    // Carried for completeness; the renderer does not read them.
    qssdk::mat4 lightTransform;
    qssdk::mat4 lightInverse;
    uint32_t castsShadows = 0;
    int32_t lightType = 0;  // a light_type
    int32_t falloffType = 0;
    float falloff = 0;
    float coneAngle = 0;    // full angle, degrees
    float coneFeather = 0;  // 0..1
};

struct material_properties {
    uint32_t surface = 0;  // a surface_side
    uint8_t flattenBottom = 0;
    uint8_t unlitMode = 0;
    uint32_t diffuseTexture = 0;
    uint32_t glossinessTexture = 0;
    uint32_t illuminationTexture = 0;
    uint32_t environmentTexture = 0;
    uint32_t normalTexture = 0;
    float diffuseBlend = 0;
    float edgeFeather = 0;
    float edgeShrink = 0;
    float diffuseGamma = 0;
    float glossinessGamma = 0;
    float illuminationGamma = 0;
    float environmentGamma = 0;
    float diffuseBrightness = 0;
    float glossinessBrightness = 0;
    float illuminationBrightness = 0;
    float environmentBrightness = 0;
    float normalAmount = 0;
    float clipLighting = 0;
    uint8_t bumpIsHeight = 0;
    uint8_t invertGreen = 0;
    uint32_t bumpLayerInfo[2] = {};
    float illuminationFresnel = 0;
    float illuminationFresnelBias = 0;
    float illuminationShadowLight = 0;
    float shadowLightContrast = 0;
    float illuminationShadowLightExpand = 0;
    float illuminationBumpInfluence = 0;
    vec4 modelColor;
    vec4 illuminationColor;
    float reflectivityAmount = 0;
    float ambientAmount = 0;
    float diffuseAmount = 0;
    float glossinessAmount = 0;
    float specularAmount = 0;
    qssdk::quaternion environmentRotation{0, 0, 0, 0};
    int32_t uvType = 0;  // "UV Type"'s choice: 1 spherical, 2 box, 3 plane XY, 4 plane XZ, else plane ZY
    int32_t uvMode = 0;  // a uv_mode
    vec2 uvRepeat;
    vec2 uvOffset;
    float uvFeathering = 0;
    float uvRotation = 0;  // radians
};

static_assert(sizeof(model_ref) == 16);
static_assert(sizeof(pixel_buffer) == 24);
static_assert(sizeof(render_data) == 80);
static_assert(sizeof(camera_record) == 192);
static_assert(sizeof(render_properties) == 208);  // time right after the 192-byte camera record
static_assert(sizeof(material_properties) == 240);
static_assert(sizeof(light_properties) == 224);
static_assert(offsetof(camera_record, viewMatrix) == 16 && offsetof(camera_record, eyePosition) == 144);
static_assert(offsetof(light_properties, position) == 16 && offsetof(light_properties, lightType) == 196);
static_assert(offsetof(material_properties, modelColor) == 128 &&
              offsetof(material_properties, environmentRotation) == 192 &&
              offsetof(material_properties, uvRotation) == 236);
