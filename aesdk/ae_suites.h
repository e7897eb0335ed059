// The host's suites: the basic suite that hands out every other one by name and version, and the
// AEGP, PF and DRAWBOT suites with the functions this effect calls.
#pragma once

#include <cstddef>

#include "ae_effect.h"

// --- Basic suite --------------------------------------------------------------------------------------
typedef A_long SPErr;
typedef A_long SPBoolean;

struct SPBasicSuite {
    SPErr (*AcquireSuite)(const char* name, A_long version, const void** suite);
    SPErr (*ReleaseSuite)(const char* name, A_long version);
    SPBoolean (*IsEqual)(const char* token1, const char* token2);
    SPErr (*AllocateBlock)(size_t size, void** block);
    SPErr (*FreeBlock)(void* block);
    SPErr (*ReallocateBlock)(void* block, size_t new_size, void** new_block);
    SPErr (*Undefined)();
};

// --- AEGP types ---------------------------------------------------------------------------------------
typedef A_long AEGP_PluginID;
typedef void* AEGP_GlobalRefcon;
typedef struct _AEGP_Layer* AEGP_LayerH;
typedef struct _AEGP_Comp* AEGP_CompH;
typedef struct _AEGP_Item* AEGP_ItemH;
typedef struct _AEGP_EffectRef* AEGP_EffectRefH;
typedef struct _AEGP_StreamRef* AEGP_StreamRefH;
typedef A_long AEGP_LayerIDVal;

typedef A_long AEGP_LayerFlags;
enum : AEGP_LayerFlags {
    AEGP_LayerFlag_VIDEO_ACTIVE = 1 << 0,
    AEGP_LayerFlag_AUDIO_ACTIVE = 1 << 1,
    AEGP_LayerFlag_EFFECTS_ACTIVE = 1 << 2,
    AEGP_LayerFlag_MOTION_BLUR = 1 << 3,
};

typedef A_long AEGP_CompFlags;
enum : AEGP_CompFlags {
    AEGP_CompFlag_SHOW_ALL_SHY = 1 << 0,
    AEGP_CompFlag_ENABLE_MOTION_BLUR = 1 << 3,
};

typedef A_long AEGP_ObjectType;
enum : AEGP_ObjectType {
    AEGP_ObjectType_AV = 0,
    AEGP_ObjectType_LIGHT = 1,
    AEGP_ObjectType_CAMERA = 2,
    AEGP_ObjectType_TEXT = 3,
};

typedef A_long AEGP_LightType;
enum : AEGP_LightType {
    AEGP_LightType_PARALLEL = 0,
    AEGP_LightType_SPOT = 1,
    AEGP_LightType_POINT = 2,
    AEGP_LightType_AMBIENT = 3,
};

typedef A_long AEGP_CameraType;
enum : AEGP_CameraType {
    AEGP_CameraType_PERSPECTIVE = 0,
    AEGP_CameraType_ORTHOGRAPHIC = 1,
};

typedef A_long AEGP_FilmSizeUnits;
enum : AEGP_FilmSizeUnits {
    AEGP_FilmSizeUnits_NONE = 0,
    AEGP_FilmSizeUnits_HORIZONTAL = 1,
    AEGP_FilmSizeUnits_VERTICAL = 2,
    AEGP_FilmSizeUnits_DIAGONAL = 3,
};

typedef A_long AEGP_LTimeMode;
enum : AEGP_LTimeMode {
    AEGP_LTimeMode_LayerTime = 0,
    AEGP_LTimeMode_CompTime = 1,
};

// Layer streams read by the effect; the host numbers its streams, 42 being the light falloff.
typedef A_long AEGP_LayerStream;
enum : AEGP_LayerStream {
    AEGP_LayerStream_ZOOM = 11,
    AEGP_LayerStream_DEPTH_OF_FIELD = 12,
    AEGP_LayerStream_FOCUS_DISTANCE = 13,
    AEGP_LayerStream_APERTURE = 14,
    AEGP_LayerStream_BLUR_LEVEL = 15,
    AEGP_LayerStream_INTENSITY = 16,
    AEGP_LayerStream_COLOR = 17,
    AEGP_LayerStream_CONE_ANGLE = 18,
    AEGP_LayerStream_CONE_FEATHER = 19,
    AEGP_LayerStream_CASTS_SHADOWS = 28,
    AEGP_LayerStream_LIGHT_FALLOFF_TYPE = 42,
};

typedef A_long AEGP_StreamType;
enum : AEGP_StreamType {
    AEGP_StreamType_NO_DATA = 0,
    AEGP_StreamType_ThreeD_SPATIAL = 1,
    AEGP_StreamType_ThreeD = 2,
    AEGP_StreamType_TwoD_SPATIAL = 3,
    AEGP_StreamType_TwoD = 4,
    AEGP_StreamType_OneD = 5,
    AEGP_StreamType_COLOR = 6,
    AEGP_StreamType_LAYER_ID = 10,
};

typedef A_long AEGP_DynStreamFlags;
enum : AEGP_DynStreamFlags {
    AEGP_DynStreamFlag_ACTIVE_EYEBALL = 1 << 0,
    AEGP_DynStreamFlag_HIDDEN = 1 << 1,
    AEGP_DynStreamFlag_DISABLED = 1 << 4,
};

struct AEGP_ColorVal {
    A_FpLong alpha, red, green, blue;
};

union AEGP_StreamVal2 {
    A_FpLong four_d[4];
    struct {
        A_FpLong x, y, z;
    } three_d;
    struct {
        A_FpLong x, y;
    } two_d;
    A_FpLong one_d;
    AEGP_ColorVal color;
    AEGP_LayerIDVal layer_id;
};

struct AEGP_StreamValue2 {
    AEGP_StreamRefH streamH;
    AEGP_StreamVal2 val;
};

// The host's token for the state of a parameter's inputs; equal tokens mean unchanged content.
struct PF_State {
    A_long reserved[4];
};

// --- AEGP suites --------------------------------------------------------------------------------------
#define kAEGPUtilitySuite "AEGP Utility Suite"
#define kAEGPUtilitySuiteVersion10 10
struct AEGP_UtilitySuite10 {
    A_Err (*AEGP_RegisterWithAEGP)(AEGP_GlobalRefcon global_refcon, const A_char* plugin_name,
                                   AEGP_PluginID* plugin_id);
};

#define kPFAppSuite "PF AE App Suite"
#define kPFAppSuiteVersion6 6
struct PFAppSuite6 {
    PF_Err (*PF_IsRenderEngine)(PF_Boolean* render_engine);
};

#define kAEGPPFInterfaceSuite "AEGP PF Interface Suite"
#define kAEGPPFInterfaceSuiteVersion1 1
struct AEGP_PFInterfaceSuite1 {
    A_Err (*AEGP_GetEffectLayer)(PF_ProgPtr effect_ref, AEGP_LayerH* layer);
    A_Err (*AEGP_GetNewEffectForEffect)(AEGP_PluginID plugin_id, PF_ProgPtr effect_ref, AEGP_EffectRefH* effect);
    A_Err (*AEGP_ConvertEffectToCompTime)(PF_ProgPtr effect_ref, A_long what_time, A_u_long time_scale,
                                          A_Time* comp_time);
    A_Err (*AEGP_GetEffectCamera)(PF_ProgPtr effect_ref, const A_Time* comp_time, AEGP_LayerH* camera_layer);
    A_Err (*AEGP_GetEffectCameraMatrix)(PF_ProgPtr effect_ref, const A_Time* comp_time, A_Matrix4* camera_matrix,
                                        A_FpLong* dist_to_image_plane, A_short* image_plane_width,
                                        A_short* image_plane_height);
};

#define kAEGPLayerSuite "AEGP Layer Suite"
#define kAEGPLayerSuiteVersion11 11
struct AEGP_LayerSuite11 {
    A_Err (*AEGP_GetLayerParentComp)(AEGP_LayerH layer, AEGP_CompH* comp);
    A_Err (*AEGP_GetLayerFlags)(AEGP_LayerH layer, AEGP_LayerFlags* flags);
    A_Err (*AEGP_GetCompNumLayers)(AEGP_CompH comp, A_long* num_layers);
    A_Err (*AEGP_GetCompLayerByIndex)(AEGP_CompH comp, A_long index, AEGP_LayerH* layer);
    A_Err (*AEGP_GetLayerObjectType)(AEGP_LayerH layer, AEGP_ObjectType* type);
    A_Err (*AEGP_GetLayerInPoint)(AEGP_LayerH layer, AEGP_LTimeMode mode, A_Time* in_point);
    A_Err (*AEGP_GetLayerDuration)(AEGP_LayerH layer, AEGP_LTimeMode mode, A_Time* duration);
    A_Err (*AEGP_IsLayerVideoReallyOn)(AEGP_LayerH layer, A_Boolean* on);
    A_Err (*AEGP_GetLayerID)(AEGP_LayerH layer, AEGP_LayerIDVal* id);
    A_Err (*AEGP_GetLayerToWorldXform)(AEGP_LayerH layer, const A_Time* comp_time, A_Matrix4* transform);
};

#define kAEGPCompSuite "AEGP Comp Suite"
#define kAEGPCompSuiteVersion11 11
struct AEGP_CompSuite11 {
    A_Err (*AEGP_GetItemFromComp)(AEGP_CompH comp, AEGP_ItemH* item);
    A_Err (*AEGP_GetCompFlags)(AEGP_CompH comp, AEGP_CompFlags* flags);
    A_Err (*AEGP_GetCompShutterAnglePhase)(AEGP_CompH comp, A_Ratio* angle, A_Ratio* phase);
};

#define kAEGPItemSuite "AEGP Item Suite"
#define kAEGPItemSuiteVersion10 10
struct AEGP_ItemSuite10 {
    A_Err (*AEGP_GetItemDimensions)(AEGP_ItemH item, A_long* width, A_long* height);
    A_Err (*AEGP_GetItemPixelAspectRatio)(AEGP_ItemH item, A_Ratio* pixel_aspect);
};

#define kAEGPCameraSuite "AEGP Camera Suite"
#define kAEGPCameraSuiteVersion2 2
struct AEGP_CameraSuite2 {
    A_Err (*AEGP_GetCameraType)(AEGP_LayerH camera_layer, AEGP_CameraType* type);
    A_Err (*AEGP_GetCameraFilmSize)(AEGP_LayerH camera_layer, AEGP_FilmSizeUnits* units, A_FpLong* film_size);
};

#define kAEGPLightSuite "AEGP Light Suite"
#define kAEGPLightSuiteVersion2 2
struct AEGP_LightSuite2 {
    A_Err (*AEGP_GetLightType)(AEGP_LayerH light_layer, AEGP_LightType* type);
};

#define kAEGPStreamSuite "AEGP Stream Suite"
#define kAEGPStreamSuiteVersion7 7
struct AEGP_StreamSuite7 {
    A_Err (*AEGP_GetNewEffectStreamByIndex)(AEGP_PluginID plugin_id, AEGP_EffectRefH effect, PF_ParamIndex index,
                                            AEGP_StreamRefH* stream);
    A_Err (*AEGP_DisposeStream)(AEGP_StreamRefH stream);
    A_Err (*AEGP_GetNewStreamValue)(AEGP_PluginID plugin_id, AEGP_StreamRefH stream, AEGP_LTimeMode mode,
                                    const A_Time* time, A_Boolean pre_expression, AEGP_StreamValue2* value);
    A_Err (*AEGP_DisposeStreamValue)(AEGP_StreamValue2* value);
    A_Err (*AEGP_GetLayerStreamValue)(AEGP_LayerH layer, AEGP_LayerStream which, AEGP_LTimeMode mode,
                                      const A_Time* time, A_Boolean pre_expression, AEGP_StreamVal2* value,
                                      AEGP_StreamType* type);
};

#define kAEGPDynamicStreamSuite "AEGP Dynamic Stream Suite"
#define kAEGPDynamicStreamSuiteVersion2 2
struct AEGP_DynamicStreamSuite2 {
    A_Err (*AEGP_SetDynamicStreamFlag)(AEGP_StreamRefH stream, AEGP_DynStreamFlags flag, A_Boolean undoable,
                                       A_Boolean set);
    A_Err (*AEGP_GetDynamicStreamFlags)(AEGP_StreamRefH stream, AEGP_DynStreamFlags* flags);
};

#define kAEGPEffectSuite "AEGP Effect Suite"
#define kAEGPEffectSuiteVersion2 2
struct AEGP_EffectSuite2 {
    A_Err (*AEGP_DisposeEffect)(AEGP_EffectRefH effect);
};

// --- PF suites ----------------------------------------------------------------------------------------
#define kPFParamUtilsSuite "PF Param Utils Suite"
#define kPFParamUtilsSuiteVersion3 3
struct PF_ParamUtilsSuite3 {
    PF_Err (*PF_GetCurrentState)(PF_ProgPtr effect_ref, PF_ParamIndex index, const A_Time* start,
                                 const A_Time* duration, PF_State* state);
    PF_Err (*PF_AreStatesIdentical)(PF_ProgPtr effect_ref, const PF_State* state1, const PF_State* state2,
                                    A_Boolean* same);
};

// --- DRAWBOT suites -----------------------------------------------------------------------------------
typedef struct _DRAWBOT_Draw* DRAWBOT_DrawRef;
typedef struct _DRAWBOT_Supplier* DRAWBOT_SupplierRef;
typedef struct _DRAWBOT_Surface* DRAWBOT_SurfaceRef;
typedef struct _DRAWBOT_Object* DRAWBOT_ObjectRef;
typedef DRAWBOT_ObjectRef DRAWBOT_ImageRef;

struct DRAWBOT_PointF32 {
    float x, y;
};

typedef A_long DRAWBOT_PixelLayout;
enum : DRAWBOT_PixelLayout {
    kDRAWBOT_PixelLayout_24RGB = 0,
    kDRAWBOT_PixelLayout_24BGR = 1,
    kDRAWBOT_PixelLayout_32RGB = 2,
    kDRAWBOT_PixelLayout_32BGR = 3,  // bytes B, G, R, A
};

#define kPFEffectCustomUISuite "PF Effect Custom UI Suite"
#define kPFEffectCustomUISuiteVersion1 1
struct PF_EffectCustomUISuite1 {
    PF_Err (*PF_GetDrawingReference)(PF_ContextH context, DRAWBOT_DrawRef* drawing_ref);
};

#define kDRAWBOT_DrawSuite "DRAWBOT Draw Suite"
#define kDRAWBOT_DrawSuite_Version1 1
struct DRAWBOT_DrawbotSuite1 {
    SPErr (*GetSupplier)(DRAWBOT_DrawRef drawing_ref, DRAWBOT_SupplierRef* supplier);
    SPErr (*GetSurface)(DRAWBOT_DrawRef drawing_ref, DRAWBOT_SurfaceRef* surface);
};

#define kDRAWBOT_SupplierSuite "DRAWBOT Supplier Suite"
#define kDRAWBOT_SupplierSuite_Version1 1
struct DRAWBOT_SupplierSuite1 {
    SPErr (*NewImageFromBuffer)(DRAWBOT_SupplierRef supplier, int width, int height, int row_bytes,
                                DRAWBOT_PixelLayout layout, const void* data, DRAWBOT_ImageRef* image);
    SPErr (*ReleaseObject)(DRAWBOT_ObjectRef object);
};

#define kDRAWBOT_SurfaceSuite "DRAWBOT Surface Suite"
#define kDRAWBOT_SurfaceSuite_Version1 1
struct DRAWBOT_SurfaceSuite1 {
    SPErr (*DrawImage)(DRAWBOT_SurfaceRef surface, DRAWBOT_ImageRef image, const DRAWBOT_PointF32* origin,
                       float alpha);
};
