#include "SceneCapture.h"

#include <algorithm>
#include <cstdint>

#include "CameraAlgebra.h"
#include "FloatRange.h"
#include "RatioValue.h"
#include "SuiteHandler.h"

namespace {

qssdk::mat4 toFloat(const A_Matrix4& m) {
    qssdk::mat4 result;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) result.at(r, c) = static_cast<float>(m.mat[r][c]);
    return result;
}

// A ratio the host may leave unset counts as 1.
template <class Ratio> float ratio(const Ratio& r) { return numOverDenOr(r, 1.0f); }

// The effect's layer, its comp and the comp time of a time in the effect's scale.
struct effect_place {
    AEGP_LayerH layer = nullptr;
    AEGP_CompH comp = nullptr;
    A_Time compTime{0, 1};
};

effect_place locateEffect(SuiteHandler& suites, const PF_InData& in, A_long time) {
    effect_place place;
    const auto* pf = suites.get<AEGP_PFInterfaceSuite1>();
    const auto* layers = suites.get<AEGP_LayerSuite5>();
    if (!pf || !layers) return place;
    pf->AEGP_GetEffectLayer(in.effect_ref, &place.layer);
    layers->AEGP_GetLayerParentComp(place.layer, &place.comp);
    pf->AEGP_ConvertEffectToCompTime(in.effect_ref, time, in.time_scale, &place.compTime);
    return place;
}

AEGP_StreamVal layerStream(const AEGP_StreamSuite2* streams, AEGP_LayerH layer, AEGP_LayerStream which,
                           const A_Time& time) {
    AEGP_StreamVal value{};
    AEGP_StreamType type = AEGP_StreamType_NO_DATA;
    if (streams) streams->AEGP_GetLayerStreamValue(layer, which, AEGP_LTimeMode_CompTime, &time, true, &value, &type);
    return value;
}

// The host's time in another scale, truncated into the effect's time scale. 64 bits wide: a time the host
// holds in its own scale may lie beyond 32 bits in a finer one, and an end (in-point plus duration) may
// lie beyond them in any.
int64_t toEffectTime(const A_Time& t, A_u_long timeScale) {
    if (t.scale == 0) return 0;
    return static_cast<int64_t>(static_cast<double>(timeScale) / t.scale * t.value);
}

}  // namespace

camera_record* captureCamera(const render_data& frame, camera_record& camera, command_context& context) {
    const PF_InData& in = *context.in_data;
    camera.viewSize = {};
    camera.eyePosition = {};
    SuiteHandler suites(in.pica_basicP);
    const effect_place place = locateEffect(suites, in, std::max<A_long>(in.current_time, 0));

    const auto* pf = suites.get<AEGP_PFInterfaceSuite1>();
    AEGP_LayerH cameraLayer = nullptr;
    A_Matrix4 cameraMatrix{};
    A_FpLong imagePlaneDistance = 0;
    A_short planeWidth = 0, planeHeight = 0;
    if (pf) {
        pf->AEGP_GetEffectCamera(in.effect_ref, &place.compTime, &cameraLayer);
        pf->AEGP_GetEffectCameraMatrix(in.effect_ref, &place.compTime, &cameraMatrix, &imagePlaneDistance,
                                       &planeWidth, &planeHeight);
    }
    camera.imagePlaneDistance = static_cast<float>(imagePlaneDistance);

    AEGP_FilmSizeUnits filmUnits = AEGP_FilmSizeUnits_HORIZONTAL;
    A_FpLong filmSize = defaultFilmSize;
    AEGP_CameraType cameraType = AEGP_CameraType_PERSPECTIVE;
    if (cameraLayer) {
        if (const auto* cameras = suites.get<AEGP_CameraSuite2>()) {
            cameras->AEGP_GetCameraFilmSize(cameraLayer, &filmUnits, &filmSize);
            cameras->AEGP_GetCameraType(cameraLayer, &cameraType);
        }
    }

    AEGP_ItemH item = nullptr;
    A_Ratio compAspect{1, 1};
    if (const auto* comps = suites.get<AEGP_CompSuite5>()) comps->AEGP_GetItemFromComp(place.comp, &item);
    if (const auto* items = suites.get<AEGP_ItemSuite6>()) items->AEGP_GetItemPixelAspectRatio(item, &compAspect);
    const float c = ratio(compAspect);
    // The camera stands in square units, with a camera layer as without one; only the projection's window
    // goes back to the output's pixels.
    camera.viewMatrix = viewMatrixOf(toFloat(cameraMatrix), c);
    camera.viewSize = {static_cast<float>(planeWidth), static_cast<float>(planeHeight)};
    camera.orthographic = cameraLayer && cameraType == AEGP_CameraType_ORTHOGRAPHIC;

    const view_window window = viewWindow(
        squareViewSize(camera.viewSize.x, camera.viewSize.y, c),
        outputScale(denOverNum(in.downsample_x), denOverNum(in.downsample_y), ratio(in.pixel_aspect_ratio)),
        static_cast<float>(frame.origin_x), static_cast<float>(frame.origin_y),
        static_cast<float>(frame.output.width), static_cast<float>(frame.output.height));
    camera.projMatrix = camera.orthographic ? orthographicProjection(window)
                                            : perspectiveProjection(window, camera.imagePlaneDistance);
    // Where the lighting sees from: in the square units the sphere and the lights stand in.
    camera.eyePosition = {static_cast<float>(cameraMatrix.mat[3][0]) * c, static_cast<float>(cameraMatrix.mat[3][1]),
                          static_cast<float>(cameraMatrix.mat[3][2]), 0.0f};

    float film = static_cast<float>(filmSize);
    if (cameraLayer) {
        const auto* streams = suites.get<AEGP_StreamSuite2>();
        const float zoom = static_cast<float>(layerStream(streams, cameraLayer, AEGP_LayerStream_ZOOM, place.compTime).one_d);
        camera.depthOfField =
            layerStream(streams, cameraLayer, AEGP_LayerStream_DEPTH_OF_FIELD, place.compTime).one_d != 0;
        const float blur =
            static_cast<float>(layerStream(streams, cameraLayer, AEGP_LayerStream_BLUR_LEVEL, place.compTime).one_d);
        camera.blurLevel = camera.depthOfField ? blur * 0.01f : 0.0f;
        camera.aperture =
            static_cast<float>(layerStream(streams, cameraLayer, AEGP_LayerStream_APERTURE, place.compTime).one_d);
        camera.focusDistance = static_cast<float>(
            layerStream(streams, cameraLayer, AEGP_LayerStream_FOCUS_DISTANCE, place.compTime).one_d);
        film = horizontalFilmSize(filmUnits, film, camera.viewSize);
        camera.zoomRatio = zoom * film / camera.viewSize.x;
    } else {
        camera.depthOfField = 0;
        camera.blurLevel = 0;
        camera.aperture = 0;
        camera.focusDistance = 1.0f;
        camera.zoomRatio = 1.0f;
    }
    camera.filmSize = film;
    return &camera;
}

std::vector<light_properties>& captureLights(std::vector<light_properties>& lights, command_context& context) {
    const PF_InData& in = *context.in_data;
    SuiteHandler suites(in.pica_basicP);
    const effect_place place = locateEffect(suites, in, std::max<A_long>(in.current_time, 0));
    const auto* layers = suites.get<AEGP_LayerSuite5>();
    const auto* lightSuite = suites.get<AEGP_LightSuite2>();
    const auto* streams = suites.get<AEGP_StreamSuite2>();
    if (!layers || !lightSuite) return lights;

    const float p = ratio(in.pixel_aspect_ratio);
    const int64_t now = toEffectTime(place.compTime, in.time_scale);
    A_long count = 0;
    layers->AEGP_GetCompNumLayers(place.comp, &count);
    for (A_long index = 0; index < count; ++index) {
        AEGP_LayerH layer = nullptr;
        layers->AEGP_GetCompLayerByIndex(place.comp, index, &layer);
        AEGP_ObjectType type = AEGP_ObjectType_AV;
        layers->AEGP_GetLayerObjectType(layer, &type);
        if (type != AEGP_ObjectType_LIGHT) continue;
        A_Time inPoint{0, 1}, duration{0, 1};
        layers->AEGP_GetLayerInPoint(layer, AEGP_LTimeMode_CompTime, &inPoint);
        layers->AEGP_GetLayerDuration(layer, AEGP_LTimeMode_CompTime, &duration);
        // In-point and duration are comp times: the frame's comp time is what they hold, not the effect
        // layer's own time, which differs from it wherever that layer does not start at 0.
        const int64_t start = toEffectTime(inPoint, in.time_scale);
        const int64_t length = toEffectTime(duration, in.time_scale);
        if (now < start || now - start >= length) continue;
        A_Boolean on = 0;
        layers->AEGP_IsLayerVideoReallyOn(layer, &on);
        if (!on) continue;

        light_properties light{};
        AEGP_LightType lightType = AEGP_LightType_PARALLEL;
        lightSuite->AEGP_GetLightType(layer, &lightType);
        light.lightType = lightType;
        AEGP_LayerIDVal id = 0;
        layers->AEGP_GetLayerID(layer, &id);
        light.layerId = static_cast<uint32_t>(id);
        A_Matrix4 transform{};
        layers->AEGP_GetLayerToWorldXform(layer, &place.compTime, &transform);
        const bool aimed = lightType == AEGP_LightType_PARALLEL || lightType == AEGP_LightType_SPOT;
        const light_placement placement = lightPlacement(toFloat(transform), p, aimed);
        light.position = placement.position;
        light.direction = placement.direction;
        light.lightTransform = placement.transform;
        light.lightInverse = placement.inverse;

        // The host's intensity is a double: held within float range, a large one stays a large light
        // instead of an infinite one whose product with a colour of 0 is NaN.
        const float intensity =
            toFloatRange(layerStream(streams, layer, AEGP_LayerStream_INTENSITY, place.compTime).one_d * 0.01);
        const AEGP_ColorVal color = layerStream(streams, layer, AEGP_LayerStream_COLOR, place.compTime).color;
        light.color = {std::max(intensity * static_cast<float>(color.redF), 0.0f),
                       std::max(intensity * static_cast<float>(color.greenF), 0.0f),
                       std::max(intensity * static_cast<float>(color.blueF), 0.0f), 1.0f};
        const A_FpLong falloff =
            layerStream(streams, layer, AEGP_LayerStream_LIGHT_FALLOFF_DISTANCE, place.compTime).one_d;
        light.falloff = static_cast<float>(falloff);

        if (lightType == AEGP_LightType_SPOT) {
            light.coneFeather = static_cast<float>(
                                    layerStream(streams, layer, AEGP_LayerStream_CONE_FEATHER, place.compTime).one_d) *
                                0.01f;
            light.coneAngle =
                static_cast<float>(layerStream(streams, layer, AEGP_LayerStream_CONE_ANGLE, place.compTime).one_d);
        }
        if (aimed)
            light.castsShadows =
                layerStream(streams, layer, AEGP_LayerStream_CASTS_SHADOWS, place.compTime).one_d != 0;
        lights.push_back(light);
    }
    return lights;
}
