#include "ParameterGather.h"

#include <cmath>
#include <cstring>
#include <stdexcept>
#include <string>

#include <xmmintrin.h>

#include "ParamRegistry.h"
#include "FloatRange.h"
#include "MapLayers.h"
#include "ParamIds.h"
#include "RatioValue.h"
#include "SceneCapture.h"
#include "Renderer.h"
#include "SceneRenderer.h"
#include "SmartRender.h"
#include "Timing.h"

namespace {

constexpr float fixedDegreesToRadians = 2.663161e-7f;
constexpr float byteToUnit = 0.003921569f;

float angleParam(command_context& context, int id) {
    return static_cast<float>(readIntParam(context, id)) * fixedDegreesToRadians;
}

// An 8-bit ARGB colour as four floats 0..1 (red, green, blue, alpha).
vec4 colorParam(command_context& context, int id) {
    const uint32_t word = static_cast<uint32_t>(readIntParam(context, id));
    PF_Pixel pixel;
    static_assert(sizeof pixel == sizeof word);
    std::memcpy(&pixel, &word, sizeof pixel);
    return vec4{pixel.red * byteToUnit, pixel.green * byteToUnit, pixel.blue * byteToUnit, pixel.alpha * byteToUnit};
}

qssdk::quaternion rotationParams(command_context& context, int x, int y, int z) {
    return qssdk::quaternion_from_euler({angleParam(context, x), angleParam(context, y), angleParam(context, z), 0});
}

vec4 positionParam(command_context& context, int id) {
    const PF_InData& in = *context.in_data;
    const PF_Point3DDef point = readParam(context, id, [](const PF_ParamDef& def) { return def.u.point3d_d; });
    const float x = static_cast<float>(point.x_value), y = static_cast<float>(point.y_value),
                z = static_cast<float>(point.z_value);
    // The host gives points at the frame's resolution, each axis by its own factor; depth goes with x.
    const float p = numOverDen(in.pixel_aspect_ratio);
    const float dx = denOverNum(in.downsample_x), dy = denOverNum(in.downsample_y);
    return vec4{x * p * dx, y * dy, z * dx, 0};
}

// The two lights the effect uses when the comp has none.
void appendDefaultLights(std::vector<light_properties>& lights) {
    light_properties parallel{};
    parallel.lightType = lightParallel;
    parallel.color = {1, 1, 1, 1};
    parallel.position = {-10000, -10000, 0, 0};
    const float length2 = parallel.position.x * parallel.position.x + parallel.position.y * parallel.position.y;
    const float inverseLength = _mm_cvtss_f32(_mm_rsqrt_ss(_mm_set_ss(length2)));
    parallel.direction = {-parallel.position.x * inverseLength, -parallel.position.y * inverseLength, 0, 0};
    lights.push_back(parallel);

    light_properties ambient{};
    ambient.lightType = lightAmbient;
    ambient.color = {0.2f, 0.2f, 0.2f, 0.2f};
    lights.push_back(ambient);
}

}  // namespace

const pixel_buffer& frame_layer_pixels::of(const render_data& frame, command_context& context,
                                           const map_layer& layer) {
    const int slot = layer.cacheSlot;
    if (!checkedOut_[slot]) {
        pixel_buffer world;
        checkoutWorld(context, layer.id, frame.bytes_per_channel, world);
        const uint32_t bytesPerChannel = static_cast<uint32_t>(frame.bytes_per_channel);
        pixels_[slot] = extents_ ? placedInLayer(world, extents_->of[slot], bytesPerChannel, placed_[slot]) : world;
        checkedOut_[slot] = true;
    }
    return pixels_[slot];
}

void gatherParameters(const render_data& frame, SceneRenderer& renderer, gathered_parameters& result,
                      command_context& context, layer_texture_cache& cache, frame_layer_pixels& layers) {
    reserveParamTables();
    SuiteHandler suites(context.in_data->pica_basicP);
    const PF_InData& in = *context.in_data;

    captureLights(result.lights, context);
    if (result.lights.empty() && readIntParam(context, param::useDefaultLights)) appendDefaultLights(result.lights);

    A_Time compTime{in.current_time, in.time_scale};
    if (const auto* pf = suites.get<AEGP_PFInterfaceSuite1>())
        pf->AEGP_ConvertEffectToCompTime(in.effect_ref, in.current_time, in.time_scale, &compTime);

    material_properties& m = result.material;
    const bool normalMap = readIntParam(context, param::useNormalMap) != 0;
    const auto load = [&](param::id id, uint32_t mode) {
        const map_layer& layer = mapLayer(id);
        return loadLayer(renderer, context, suites, layer.id, layers.of(frame, context, layer),
                         cache.entries[layer.cacheSlot], mode, compTime);
    };
    const map_layer& bump = mapLayer(param::bumpLayer);
    m.diffuseTexture = load(param::diffuseLayer, mapLayer(param::diffuseLayer).mode);
    m.glossinessTexture = load(param::glossinessLayer, mapLayer(param::glossinessLayer).mode);
    m.illuminationTexture = load(param::illuminationLayer, mapLayer(param::illuminationLayer).mode);
    m.normalTexture = load(bump.id, normalMap ? layerTexturePlain : bump.mode);
    m.environmentTexture = load(param::environmentLayer, mapLayer(param::environmentLayer).mode);
    m.bumpLayerInfo[0] = cache.entries[bump.cacheSlot].width;
    m.bumpLayerInfo[1] = cache.entries[bump.cacheSlot].height;

    m.bumpIsHeight = !normalMap;
    m.surface = static_cast<uint32_t>(readIntParam(context, param::surface));
    m.diffuseGamma = readFloatParam(context, param::diffuseGamma);
    m.glossinessGamma = readFloatParam(context, param::glossinessGamma);
    m.illuminationGamma = readFloatParam(context, param::illuminationGamma);
    m.environmentGamma = readFloatParam(context, param::environmentGamma);
    m.diffuseBlend = readFloatParam(context, param::diffuseBlend);
    m.edgeFeather = readFloatParam(context, param::edgeFeather);
    m.edgeShrink = readFloatParam(context, param::edgeShrink);
    m.diffuseBrightness = readFloatParam(context, param::diffuseBrightness);
    m.glossinessBrightness = readFloatParam(context, param::glossinessBrightness);
    m.illuminationBrightness = readFloatParam(context, param::illuminationBrightness);
    m.environmentBrightness = readFloatParam(context, param::environmentBrightness);
    m.illuminationFresnel = readFloatParam(context, param::fresnel);
    m.illuminationFresnelBias = readFloatParam(context, param::fresnelBias);
    m.illuminationShadowLight = readFloatParam(context, param::shadowLight);
    m.shadowLightContrast = readFloatParam(context, param::shadowLightContrast);
    m.illuminationShadowLightExpand = readFloatParam(context, param::shadowLightExpansion);
    m.illuminationBumpInfluence = readFloatParam(context, param::bumpInfluence);
    m.environmentRotation = rotationParams(context, param::environmentRotationX, param::environmentRotationY, param::environmentRotationZ);
    m.modelColor = colorParam(context, param::color);
    m.modelColor.w = readFloatParam(context, param::opacity);
    const vec4 illumination = colorParam(context, param::illuminationColor);
    const float illuminationAmount = readFloatParam(context, param::illumination);
    m.illuminationColor = {illumination.x * illuminationAmount, illumination.y * illuminationAmount,
                           illumination.z * illuminationAmount, illumination.w * illuminationAmount};
    m.ambientAmount = readFloatParam(context, param::ambient);
    m.diffuseAmount = readFloatParam(context, param::diffuse);
    m.glossinessAmount = readFloatParam(context, param::glossiness);
    m.specularAmount = readFloatParam(context, param::specular);
    m.reflectivityAmount = readFloatParam(context, param::reflectivity);
    m.normalAmount = readFloatParam(context, param::bumpIntensity);
    m.invertGreen = normalMap ? readIntParam(context, param::flipNormalChannels) != 0 : false;
    m.clipLighting = readFloatParam(context, param::bumpFalloff);
    m.uvType = readIntParam(context, param::uvType);
    m.uvFeathering = readFloatParam(context, param::boxUvFeathering);
    m.uvRepeat = {readFloatParam(context, param::uvRepeatX), readFloatParam(context, param::uvRepeatY)};
    m.uvOffset = {readFloatParam(context, param::uvOffsetX), readFloatParam(context, param::uvOffsetY)};
    m.uvMode = readIntParam(context, param::uvMode);
    m.uvRotation = angleParam(context, param::uvRotation);
    m.unlitMode = readIntParam(context, param::unlitOnly) != 0;

    result.objectType = readIntParam(context, param::objectType);
    result.position = positionParam(context, param::position);
    result.rotation = rotationParams(context, param::rotationX, param::rotationY, param::rotationZ);
    result.scale = readFloatParam(context, param::radius);
    // A gamma of 0 (a refused checkout reads as 0) would make the exponent infinite.
    result.outputGamma = toFloatRange(1.0 / readFloatParam(context, param::gamma));
    m.flattenBottom = result.objectType == param::hemisphere;
}

uint32_t loadLayer(SceneRenderer& renderer, command_context& context, SuiteHandler& suites, int layerId,
                   const pixel_buffer& pixels, layer_cache_entry& entry, uint32_t mode, const A_Time& compTime) {
    if (const auto* paramUtils = suites.get<PF_ParamUtilsSuite3>()) {
        PF_State state{};
        A_Boolean same = 0;
        const A_Time zero{0, compTime.scale};
        paramUtils->PF_GetCurrentState(context.in_data->effect_ref, paramIndexOf(layerId), &compTime, &zero, &state);
        paramUtils->PF_AreStatesIdentical(context.in_data->effect_ref, &state, &entry.state, &same);
        entry.state = state;
        if (same && entry.texture != 0 && pixels.width == entry.width && pixels.height == entry.height &&
            mode == entry.mode)
            return entry.texture;
    }

    const int64_t start = timing::nowNanoseconds();
    entry.mode = mode;
    entry.width = pixels.width;
    entry.height = pixels.height;
    renderer.thread().deleteTexture(entry.texture);
    entry.texture = 0;
    if (!pixels.data) return 0;

    RendererThread& thread = renderer.thread();
    Renderer* target = thread.renderer();
    if (!target) return 0;  // the renderer thread has ended: nothing is drawn any more
    // Refused here, the frame fails alone; the upload job would fail and end the renderer thread.
    const std::string problem =
        layerSizeProblem(target->renderTargets().limits(), layerParamName(layerId), pixels.width, pixels.height);
    if (!problem.empty()) throw std::runtime_error(problem);
    uint32_t texture = 0;
    thread.postAndWait([&] { texture = target->uploadLayerTexture(pixels); });
    entry.texture = texture;
    if (entry.texture != 0 && mode != layerTexturePlain) {
        uint32_t built = 0;
        if (mode == layerTextureHeightToNormal)
            thread.postAndWait([&] { built = target->buildNormalMap(entry.texture, entry.width, entry.height); });
        else
            thread.postAndWait([&] { built = target->buildEnvironmentMap(entry.texture); });
        thread.deleteTexture(entry.texture);
        entry.texture = built;
    }
    OutputDebugStringA(
        qssdk::format_string("Load Layer %d: %.2f ms\n", layerId, timing::elapsedMilliseconds(start)).c_str());
    return entry.texture;
}
