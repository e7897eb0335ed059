#include "ParameterGather.h"

#include <cmath>
#include <cstring>
#include <stdexcept>
#include <string>

#include <xmmintrin.h>

#include "ParamRegistry.h"
#include "FloatRange.h"
#include "LayerParamNames.h"
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
    PF_ParamDef def{};
    in.inter.checkout_param(in.effect_ref, paramIndexOf(id), in.current_time, in.time_step, in.time_scale, &def);
    const float x = static_cast<float>(def.u.point3d_d.x_value), y = static_cast<float>(def.u.point3d_d.y_value),
                z = static_cast<float>(def.u.point3d_d.z_value);
    in.inter.checkin_param(in.effect_ref, &def);
    const float p = numOverDen(in.pixel_aspect_ratio);
    const float d = denOverNum(in.downsample_x);
    return vec4{x * p * d, y * d, z * d, 0};
}

// The two lights the effect uses when the comp has none.
void appendDefaultLights(std::vector<light_properties>& lights) {
    light_properties parallel{};
    parallel.lightType = 0;
    parallel.color = {1, 1, 1, 1};
    parallel.position = {-10000, -10000, 0, 0};
    const float length2 = parallel.position.x * parallel.position.x + parallel.position.y * parallel.position.y;
    const float inverseLength = _mm_cvtss_f32(_mm_rsqrt_ss(_mm_set_ss(length2)));
    parallel.direction = {-parallel.position.x * inverseLength, -parallel.position.y * inverseLength, 0, 0};
    lights.push_back(parallel);

    light_properties ambient{};
    ambient.lightType = 3;
    ambient.color = {0.2f, 0.2f, 0.2f, 0.2f};
    lights.push_back(ambient);
}

}  // namespace

void gatherParameters(AePlugin& effect, SceneRenderer& renderer, gathered_parameters& result,
                      command_context& context, layer_texture_cache& cache) {
    reserveParamTables();
    SuiteHandler suites(context.in_data->pica_basicP);
    const PF_InData& in = *context.in_data;

    captureLights(effect, result.lights, context);
    if (result.lights.empty() && readIntParam(context, 2005)) appendDefaultLights(result.lights);

    A_Time compTime{in.current_time, in.time_scale};
    if (const auto* pf = suites.get<AEGP_PFInterfaceSuite1>())
        pf->AEGP_ConvertEffectToCompTime(in.effect_ref, in.current_time, in.time_scale, &compTime);

    material_properties& m = result.material;
    const bool normalMap = readIntParam(context, 511) != 0;
    m.diffuseTexture = loadLayer(effect, renderer, context, suites, 502, cache.entries[0], 0, compTime);
    m.glossinessTexture = loadLayer(effect, renderer, context, suites, 504, cache.entries[1], 0, compTime);
    m.illuminationTexture = loadLayer(effect, renderer, context, suites, 506, cache.entries[2], 0, compTime);
    m.normalTexture = loadLayer(effect, renderer, context, suites, 508, cache.entries[3], normalMap ? 0 : 1, compTime);
    m.environmentTexture = loadLayer(effect, renderer, context, suites, 517, cache.entries[4], 2, compTime);
    m.bumpLayerInfo[0] = cache.entries[3].width;
    m.bumpLayerInfo[1] = cache.entries[3].height;

    m.bumpIsHeight = !normalMap;
    m.surface = static_cast<uint32_t>(readIntParam(context, 50));
    m.diffuseGamma = readFloatParam(context, 503);
    m.glossinessGamma = readFloatParam(context, 505);
    m.illuminationGamma = readFloatParam(context, 507);
    m.environmentGamma = readFloatParam(context, 518);
    m.diffuseBlend = readFloatParam(context, 217);
    m.edgeFeather = readFloatParam(context, 221);
    m.edgeShrink = readFloatParam(context, 222);
    m.diffuseBrightness = readFloatParam(context, 513);
    m.glossinessBrightness = readFloatParam(context, 514);
    m.illuminationBrightness = readFloatParam(context, 515);
    m.environmentBrightness = readFloatParam(context, 519);
    m.illuminationFresnel = readFloatParam(context, 207);
    m.illuminationFresnelBias = readFloatParam(context, 208);
    m.illuminationShadowLight = readFloatParam(context, 211);
    m.shadowLightContrast = readFloatParam(context, 213);
    m.illuminationShadowLightExpand = readFloatParam(context, 220);
    m.illuminationBumpInfluence = readFloatParam(context, 214);
    m.environmentRotation = rotationParams(context, 522, 523, 524);
    m.modelColor = colorParam(context, 202);
    m.modelColor.w = readFloatParam(context, 210);
    const vec4 illumination = colorParam(context, 209);
    const float illuminationAmount = readFloatParam(context, 206);
    m.illuminationColor = {illumination.x * illuminationAmount, illumination.y * illuminationAmount,
                           illumination.z * illuminationAmount, illumination.w * illuminationAmount};
    m.ambientAmount = readFloatParam(context, 212);
    m.diffuseAmount = readFloatParam(context, 203);
    m.glossinessAmount = readFloatParam(context, 204);
    m.specularAmount = readFloatParam(context, 205);
    m.reflectivityAmount = readFloatParam(context, 218);
    m.normalAmount = readFloatParam(context, 512);
    m.invertGreen = normalMap ? readIntParam(context, 516) != 0 : false;
    m.clipLighting = readFloatParam(context, 219);
    m.uvType = readIntParam(context, 702);
    m.uvFeathering = readFloatParam(context, 707);
    m.uvRepeat = {readFloatParam(context, 703), readFloatParam(context, 704)};
    m.uvOffset = {readFloatParam(context, 705), readFloatParam(context, 706)};
    m.uvMode = readIntParam(context, 708);
    m.uvRotation = angleParam(context, 709);
    m.unlitMode = readIntParam(context, 2003) != 0;

    result.objectType = readIntParam(context, 10);
    result.position = positionParam(context, 11);
    result.rotation = rotationParams(context, 12, 13, 14);
    result.scale = readFloatParam(context, 16);
    // A gamma of 0 (a refused checkout reads as 0) would make the exponent infinite.
    result.outputGamma = toFloatRange(1.0 / readFloatParam(context, 2004));
    m.flattenBottom = result.objectType == 2;
}

uint32_t loadLayer(AePlugin& effect, SceneRenderer& renderer, command_context& context, SuiteHandler& suites,
                   int layerId, layer_cache_entry& entry, uint32_t mode, const A_Time& compTime) {
    pixel_buffer pixels{};
    checkoutWorld(effect, context, layerId, pixels);

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
    if (entry.texture != 0 && mode != 0) {
        uint32_t built = 0;
        if (mode == 1)
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
