#include "SceneSuites.h"

#include <cmath>

#include "../Comp.h"
#include "../SimulatedHost.h"

namespace hostsim {

namespace {

Comp& comp() { return SimulatedHost::current().comp(); }
comp_layer& layerOf(AEGP_LayerH layer) { return *reinterpret_cast<comp_layer*>(layer); }
AEGP_LayerH handleOf(const comp_layer* layer) {
    return reinterpret_cast<AEGP_LayerH>(const_cast<comp_layer*>(layer));
}
AEGP_CompH compHandle() { return reinterpret_cast<AEGP_CompH>(&comp()); }
double seconds(const A_Time* t) { return t && t->scale ? static_cast<double>(t->value) / t->scale : 0.0; }
A_Time compTime(double s) { return hostTime(std::llround(s * comp().timeScale()), comp().timeScale()); }

// Layer suite
A_Err getLayerParentComp(AEGP_LayerH, AEGP_CompH* c) {
    *c = compHandle();
    return 0;
}
A_Err getLayerFlags(AEGP_LayerH layer, AEGP_LayerFlags* flags) {
    const comp_layer& l = layerOf(layer);
    *flags = (l.videoOn ? AEGP_LayerFlag_VIDEO_ACTIVE : 0) | (l.motionBlur ? AEGP_LayerFlag_MOTION_BLUR : 0) |
             AEGP_LayerFlag_EFFECTS_ACTIVE;
    return 0;
}
A_Err getCompNumLayers(AEGP_CompH, A_long* count) {
    *count = static_cast<A_long>(comp().layers().size());
    return 0;
}
A_Err getCompLayerByIndex(AEGP_CompH, A_long index, AEGP_LayerH* layer) {
    comp_layer* l = comp().layer(index);
    *layer = handleOf(l);
    return l ? 0 : PF_Err_INVALID_INDEX;
}
A_Err getLayerObjectType(AEGP_LayerH layer, AEGP_ObjectType* type) {
    *type = layerOf(layer).type;
    return 0;
}
// In the layer's own time the in-point is its time 0 (no layer is trimmed here).
A_Err getLayerInPoint(AEGP_LayerH layer, AEGP_LTimeMode mode, A_Time* t) {
    *t = compTime(mode == AEGP_LTimeMode_CompTime ? layerOf(layer).inPoint : 0.0);
    return 0;
}
A_Err getLayerDuration(AEGP_LayerH layer, AEGP_LTimeMode, A_Time* t) {
    *t = compTime(layerOf(layer).duration);
    return 0;
}
A_Err isLayerVideoReallyOn(AEGP_LayerH layer, A_Boolean* on) {
    *on = layerOf(layer).videoOn;
    return 0;
}
A_Err getLayerId(AEGP_LayerH layer, AEGP_LayerIDVal* id) {
    *id = layerOf(layer).id;
    return 0;
}
A_Err getLayerToWorldXform(AEGP_LayerH layer, const A_Time*, A_Matrix4* transform) {
    *transform = comp().layerToWorld(layerOf(layer));
    return 0;
}

// Comp suite
A_Err getItemFromComp(AEGP_CompH c, AEGP_ItemH* item) {
    *item = reinterpret_cast<AEGP_ItemH>(c);
    return 0;
}
A_Err getCompFlags(AEGP_CompH, AEGP_CompFlags* flags) {
    *flags = comp().motionBlur ? AEGP_CompFlag_ENABLE_MOTION_BLUR : 0;
    return 0;
}
A_Err getCompShutterAnglePhase(AEGP_CompH, A_Ratio* angle, A_Ratio* phase) {
    // In turns of the shutter: 180 degrees is half a frame.
    if (angle) *angle = A_Ratio{static_cast<A_long>(comp().shutterAngle), 360};
    if (phase) *phase = A_Ratio{static_cast<A_long>(comp().shutterPhase), 360};
    return 0;
}

// Item suite
A_Err getItemDimensions(AEGP_ItemH, A_long* width, A_long* height) {
    *width = comp().width;
    *height = comp().height;
    return 0;
}
A_Err getItemPixelAspectRatio(AEGP_ItemH, A_Ratio* aspect) {
    *aspect = comp().pixelAspect;
    return 0;
}

// Camera and light suites
A_Err getCameraType(AEGP_LayerH layer, AEGP_CameraType* type) {
    *type = layerOf(layer).camera.type;
    return 0;
}
A_Err getCameraFilmSize(AEGP_LayerH layer, AEGP_FilmSizeUnits* units, A_FpLong* size) {
    *units = layerOf(layer).camera.filmUnits;
    *size = layerOf(layer).camera.filmSize;
    return 0;
}
A_Err getLightType(AEGP_LayerH layer, AEGP_LightType* type) {
    *type = layerOf(layer).light.type;
    return 0;
}

// Slots the simulated host does not offer stay null.
AEGP_LayerSuite5 makeLayerSuite() {
    AEGP_LayerSuite5 suite{};
    suite.AEGP_GetCompNumLayers = getCompNumLayers;
    suite.AEGP_GetCompLayerByIndex = getCompLayerByIndex;
    suite.AEGP_GetLayerParentComp = getLayerParentComp;
    suite.AEGP_GetLayerFlags = getLayerFlags;
    suite.AEGP_IsLayerVideoReallyOn = isLayerVideoReallyOn;
    suite.AEGP_GetLayerInPoint = getLayerInPoint;
    suite.AEGP_GetLayerDuration = getLayerDuration;
    suite.AEGP_GetLayerObjectType = getLayerObjectType;
    suite.AEGP_GetLayerID = getLayerId;
    suite.AEGP_GetLayerToWorldXform = getLayerToWorldXform;
    return suite;
}
AEGP_CompSuite5 makeCompSuite() {
    AEGP_CompSuite5 suite{};
    suite.AEGP_GetItemFromComp = getItemFromComp;
    suite.AEGP_GetCompFlags = getCompFlags;
    suite.AEGP_GetCompShutterAnglePhase = getCompShutterAnglePhase;
    return suite;
}
AEGP_ItemSuite6 makeItemSuite() {
    AEGP_ItemSuite6 suite{};
    suite.AEGP_GetItemDimensions = getItemDimensions;
    suite.AEGP_GetItemPixelAspectRatio = getItemPixelAspectRatio;
    return suite;
}
AEGP_CameraSuite2 makeCameraSuite() {
    AEGP_CameraSuite2 suite{};
    suite.AEGP_GetCameraType = getCameraType;
    suite.AEGP_GetCameraFilmSize = getCameraFilmSize;
    return suite;
}
AEGP_LightSuite2 makeLightSuite() {
    AEGP_LightSuite2 suite{};
    suite.AEGP_GetLightType = getLightType;
    return suite;
}
const AEGP_LayerSuite5 layerSuite = makeLayerSuite();
const AEGP_CompSuite5 compSuite = makeCompSuite();
const AEGP_ItemSuite6 itemSuite = makeItemSuite();
const AEGP_CameraSuite2 cameraSuite = makeCameraSuite();
const AEGP_LightSuite2 lightSuite = makeLightSuite();

}  // namespace

namespace scene {

A_Err getEffectLayer(PF_ProgPtr, AEGP_LayerH* layer) {
    *layer = handleOf(&comp().effectLayer());
    return 0;
}

A_Err getEffectCamera(PF_ProgPtr, const A_Time* comp_time, AEGP_LayerH* camera_layer) {
    *camera_layer = handleOf(comp().activeCamera(seconds(comp_time)));
    return 0;
}

A_Err getEffectCameraMatrix(PF_ProgPtr, const A_Time* comp_time, A_Matrix4* camera_matrix,
                            A_FpLong* dist_to_image_plane, A_short* image_plane_width, A_short* image_plane_height) {
    const comp_layer* camera = comp().activeCamera(seconds(comp_time));
    if (camera_matrix) *camera_matrix = comp().cameraMatrix(camera);
    if (dist_to_image_plane) *dist_to_image_plane = comp().cameraZoom(camera);
    if (image_plane_width) *image_plane_width = static_cast<A_short>(comp().width);
    if (image_plane_height) *image_plane_height = static_cast<A_short>(comp().height);
    return 0;
}

A_Err getLayerStreamValue(AEGP_LayerH layer, AEGP_LayerStream which, AEGP_LTimeMode, const A_Time*, A_Boolean,
                          AEGP_StreamVal* value, AEGP_StreamType* type) {
    AEGP_StreamVal v{};
    AEGP_StreamType t = AEGP_StreamType_NO_DATA;
    const bool known = layer && comp().streamValue(layerOf(layer), which, v, t);
    if (value) *value = v;
    if (type) *type = t;
    return known ? 0 : PF_Err_BAD_CALLBACK_PARAM;
}

}  // namespace scene

void provideSceneSuites(SuiteRegistry& registry) {
    registry.provide(kAEGPLayerSuite, kAEGPLayerSuiteVersion5, &layerSuite);
    registry.provide(kAEGPCompSuite, kAEGPCompSuiteVersion5, &compSuite);
    registry.provide(kAEGPItemSuite, kAEGPItemSuiteVersion6, &itemSuite);
    registry.provide(kAEGPCameraSuite, kAEGPCameraSuiteVersion2, &cameraSuite);
    registry.provide(kAEGPLightSuite, kAEGPLightSuiteVersion2, &lightSuite);
}

}  // namespace hostsim
