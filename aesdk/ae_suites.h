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
typedef struct _AEGP_GlobalRefcon* AEGP_GlobalRefcon;
// Handles: each points at the host's pointer to an object the host alone knows.
typedef struct _AEGP_Layer** AEGP_LayerH;
typedef struct _AEGP_Comp** AEGP_CompH;
typedef struct _AEGP_Item** AEGP_ItemH;
typedef struct _AEGP_Effect** AEGP_EffectRefH;
typedef struct _AEGPp_Stream** AEGP_StreamRefH;
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

typedef A_u_long AEGP_LightType;
enum : AEGP_LightType {
    AEGP_LightType_PARALLEL = 0,
    AEGP_LightType_SPOT = 1,
    AEGP_LightType_POINT = 2,
    AEGP_LightType_AMBIENT = 3,
};

typedef A_u_long AEGP_CameraType;
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

typedef A_short AEGP_LTimeMode;
enum : AEGP_LTimeMode {
    AEGP_LTimeMode_LayerTime = 0,
    AEGP_LTimeMode_CompTime = 1,
};

// Layer streams of cameras and lights, by the host's numbers; a light's falloff distance is stream 42.
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
    AEGP_LayerStream_LIGHT_FALLOFF_TYPE = 40,
    AEGP_LayerStream_LIGHT_FALLOFF_DISTANCE = 42,
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
    AEGP_StreamType_LAYER_ID = 9,
};

typedef A_u_long AEGP_DynStreamFlags;
enum : AEGP_DynStreamFlags {
    AEGP_DynStreamFlag_ACTIVE_EYEBALL = 1 << 0,
    AEGP_DynStreamFlag_HIDDEN = 1 << 1,
    AEGP_DynStreamFlag_DISABLED = 1 << 4,
};

struct AEGP_ColorVal {
    A_FpLong alphaF, redF, greenF, blueF;
};

union AEGP_StreamVal {
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

struct AEGP_StreamValue {
    AEGP_StreamRefH streamH;
    AEGP_StreamVal val;
};

// The host's token for the state of a parameter's inputs; equal tokens mean unchanged content. Its words are
// the host's alone and the effect never reads them, but it keeps tokens and hands them back: unlike unnamed
// space, a member is copied with the record, so this one is named (the host's headers name it otherwise).
struct PF_State {
    A_long token[4];
};

// --- AEGP suites --------------------------------------------------------------------------------------
// Each table is the host's whole table for its (name, version), slot by slot; the effect calls only the
// typed slots.

#define kAEGPUtilitySuite "AEGP Utility Suite"
#define kAEGPUtilitySuiteVersion4 10
struct AEGP_UtilitySuite4 {
    AE_UnusedSlot AEGP_ReportInfo;
    AE_UnusedSlot AEGP_GetDriverPluginInitFuncVersion;
    AE_UnusedSlot AEGP_GetDriverImplementationVersion;
    AE_UnusedSlot AEGP_StartQuietErrors;
    AE_UnusedSlot AEGP_EndQuietErrors;
    AE_UnusedSlot AEGP_GetLastErrorMessage;
    AE_UnusedSlot AEGP_StartUndoGroup;
    AE_UnusedSlot AEGP_EndUndoGroup;
    A_Err (*AEGP_RegisterWithAEGP)(AEGP_GlobalRefcon global_refcon, const A_char* plugin_name,
                                   AEGP_PluginID* plugin_id);
    AE_UnusedSlot AEGP_GetMainHWND;
    AE_UnusedSlot AEGP_ShowHideAllFloaters;
    AE_UnusedSlot AEGP_PaintPalGetForeColor;
    AE_UnusedSlot AEGP_PaintPalGetBackColor;
    AE_UnusedSlot AEGP_PaintPalSetForeColor;
    AE_UnusedSlot AEGP_PaintPalSetBackColor;
    AE_UnusedSlot AEGP_CharPalGetFillColor;
    AE_UnusedSlot AEGP_CharPalGetStrokeColor;
    AE_UnusedSlot AEGP_CharPalSetFillColor;
    AE_UnusedSlot AEGP_CharPalSetStrokeColor;
    AE_UnusedSlot AEGP_CharPalIsFillColorUIFrontmost;
    AE_UnusedSlot AEGP_ConvertFpLongToHSFRatio;
    AE_UnusedSlot AEGP_ConvertHSFRatioToFpLong;
    AE_UnusedSlot AEGP_CauseIdleRoutinesToBeCalled;
    AE_UnusedSlot AEGP_GetSuppressInteractiveUI;
    AE_UnusedSlot AEGP_WriteToOSConsole;
    AE_UnusedSlot AEGP_WriteToDebugLog;
    AE_UnusedSlot AEGP_IsScriptingAvailable;
    AE_UnusedSlot AEGP_ExecuteScript;
    AE_UnusedSlot AEGP_HostIsActivated;
    AE_UnusedSlot AEGP_GetPluginPlatformRef;
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
#define kAEGPLayerSuiteVersion5 11
struct AEGP_LayerSuite5 {
    A_Err (*AEGP_GetCompNumLayers)(AEGP_CompH comp, A_long* num_layers);
    A_Err (*AEGP_GetCompLayerByIndex)(AEGP_CompH comp, A_long index, AEGP_LayerH* layer);
    AE_UnusedSlot AEGP_GetActiveLayer;
    AE_UnusedSlot AEGP_GetLayerIndex;
    AE_UnusedSlot AEGP_GetLayerSourceItem;
    AE_UnusedSlot AEGP_GetLayerSourceItemID;
    A_Err (*AEGP_GetLayerParentComp)(AEGP_LayerH layer, AEGP_CompH* comp);
    AE_UnusedSlot AEGP_GetLayerName;
    AE_UnusedSlot AEGP_GetLayerQuality;
    AE_UnusedSlot AEGP_SetLayerQuality;
    A_Err (*AEGP_GetLayerFlags)(AEGP_LayerH layer, AEGP_LayerFlags* flags);
    AE_UnusedSlot AEGP_SetLayerFlag;
    A_Err (*AEGP_IsLayerVideoReallyOn)(AEGP_LayerH layer, A_Boolean* on);
    AE_UnusedSlot AEGP_IsLayerAudioReallyOn;
    AE_UnusedSlot AEGP_GetLayerCurrentTime;
    A_Err (*AEGP_GetLayerInPoint)(AEGP_LayerH layer, AEGP_LTimeMode mode, A_Time* in_point);
    A_Err (*AEGP_GetLayerDuration)(AEGP_LayerH layer, AEGP_LTimeMode mode, A_Time* duration);
    AE_UnusedSlot AEGP_SetLayerInPointAndDuration;
    AE_UnusedSlot AEGP_GetLayerOffset;
    AE_UnusedSlot AEGP_SetLayerOffset;
    AE_UnusedSlot AEGP_GetLayerStretch;
    AE_UnusedSlot AEGP_SetLayerStretch;
    AE_UnusedSlot AEGP_GetLayerTransferMode;
    AE_UnusedSlot AEGP_SetLayerTransferMode;
    AE_UnusedSlot AEGP_IsAddLayerValid;
    AE_UnusedSlot AEGP_AddLayer;
    AE_UnusedSlot AEGP_ReorderLayer;
    AE_UnusedSlot AEGP_GetLayerMaskedBounds;
    A_Err (*AEGP_GetLayerObjectType)(AEGP_LayerH layer, AEGP_ObjectType* type);
    AE_UnusedSlot AEGP_IsLayer3D;
    AE_UnusedSlot AEGP_IsLayer2D;
    AE_UnusedSlot AEGP_IsVideoActive;
    AE_UnusedSlot AEGP_IsLayerUsedAsTrackMatte;
    AE_UnusedSlot AEGP_DoesLayerHaveTrackMatte;
    AE_UnusedSlot AEGP_ConvertCompToLayerTime;
    AE_UnusedSlot AEGP_ConvertLayerToCompTime;
    AE_UnusedSlot AEGP_GetLayerDancingRandValue;
    A_Err (*AEGP_GetLayerID)(AEGP_LayerH layer, AEGP_LayerIDVal* id);
    A_Err (*AEGP_GetLayerToWorldXform)(AEGP_LayerH layer, const A_Time* comp_time, A_Matrix4* transform);
    AE_UnusedSlot AEGP_GetLayerToWorldXformFromView;
    AE_UnusedSlot AEGP_SetLayerName;
    AE_UnusedSlot AEGP_GetLayerParent;
    AE_UnusedSlot AEGP_SetLayerParent;
    AE_UnusedSlot AEGP_DeleteLayer;
    AE_UnusedSlot AEGP_DuplicateLayer;
    AE_UnusedSlot AEGP_GetLayerFromLayerID;
};

#define kAEGPCompSuite "AEGP Comp Suite"
#define kAEGPCompSuiteVersion5 11
struct AEGP_CompSuite5 {
    AE_UnusedSlot AEGP_GetCompFromItem;
    A_Err (*AEGP_GetItemFromComp)(AEGP_CompH comp, AEGP_ItemH* item);
    AE_UnusedSlot AEGP_GetCompDownsampleFactor;
    AE_UnusedSlot AEGP_SetCompDownsampleFactor;
    AE_UnusedSlot AEGP_GetCompBGColor;
    AE_UnusedSlot AEGP_SetCompBGColor;
    A_Err (*AEGP_GetCompFlags)(AEGP_CompH comp, AEGP_CompFlags* flags);
    AE_UnusedSlot AEGP_GetCompFramerate;
    AE_UnusedSlot AEGP_SetCompFrameRate;
    A_Err (*AEGP_GetCompShutterAnglePhase)(AEGP_CompH comp, A_Ratio* angle, A_Ratio* phase);
    AE_UnusedSlot AEGP_GetCompShutterFrameRange;
    AE_UnusedSlot AEGP_GetCompWorkAreaStart;
    AE_UnusedSlot AEGP_GetCompWorkAreaDuration;
    AE_UnusedSlot AEGP_SetCompWorkAreaStartAndDuration;
    AE_UnusedSlot AEGP_CreateSolidInComp;
    AE_UnusedSlot AEGP_CreateCameraInComp;
    AE_UnusedSlot AEGP_CreateLightInComp;
    AE_UnusedSlot AEGP_CreateComp;
    AE_UnusedSlot AEGP_GetNewCollectionFromCompSelection;
    AE_UnusedSlot AEGP_SetSelection;
    AE_UnusedSlot AEGP_GetCompDisplayStartTime;
    AE_UnusedSlot AEGP_SetCompDisplayStartTime;
    AE_UnusedSlot AEGP_SetCompDuration;
    AE_UnusedSlot AEGP_CreateNullInComp;
    AE_UnusedSlot AEGP_SetCompPixelAspectRatio;
    AE_UnusedSlot AEGP_CreateTextLayerInComp;
    AE_UnusedSlot AEGP_SetCompDimensions;
    AE_UnusedSlot AEGP_DuplicateComp;
    AE_UnusedSlot AEGP_GetCompFrameDuration;
    AE_UnusedSlot AEGP_GetMostRecentlyUsedComp;
};

#define kAEGPItemSuite "AEGP Item Suite"
#define kAEGPItemSuiteVersion6 10
struct AEGP_ItemSuite6 {
    AE_UnusedSlot AEGP_GetFirstProjItem;
    AE_UnusedSlot AEGP_GetNextProjItem;
    AE_UnusedSlot AEGP_GetActiveItem;
    AE_UnusedSlot AEGP_IsItemSelected;
    AE_UnusedSlot AEGP_SelectItem;
    AE_UnusedSlot AEGP_GetItemType;
    AE_UnusedSlot AEGP_GetTypeName;
    AE_UnusedSlot AEGP_GetItemName;
    AE_UnusedSlot AEGP_SetItemName;
    AE_UnusedSlot AEGP_GetItemID;
    AE_UnusedSlot AEGP_GetItemFlags;
    AE_UnusedSlot AEGP_SetItemUseProxy;
    AE_UnusedSlot AEGP_GetItemParentFolder;
    AE_UnusedSlot AEGP_SetItemParentFolder;
    AE_UnusedSlot AEGP_GetItemDuration;
    AE_UnusedSlot AEGP_GetItemCurrentTime;
    A_Err (*AEGP_GetItemDimensions)(AEGP_ItemH item, A_long* width, A_long* height);
    A_Err (*AEGP_GetItemPixelAspectRatio)(AEGP_ItemH item, A_Ratio* pixel_aspect);
    AE_UnusedSlot AEGP_DeleteItem;
    AE_UnusedSlot AEGP_CreateNewFolder;
    AE_UnusedSlot AEGP_SetItemCurrentTime;
    AE_UnusedSlot AEGP_GetItemCommentLength;
    AE_UnusedSlot AEGP_GetItemComment;
    AE_UnusedSlot AEGP_SetItemComment;
    AE_UnusedSlot AEGP_GetItemLabel;
    AE_UnusedSlot AEGP_SetItemLabel;
};

#define kAEGPCameraSuite "AEGP Camera Suite"
#define kAEGPCameraSuiteVersion2 2
struct AEGP_CameraSuite2 {
    AE_UnusedSlot AEGP_GetCamera;
    A_Err (*AEGP_GetCameraType)(AEGP_LayerH camera_layer, AEGP_CameraType* type);
    AE_UnusedSlot AEGP_GetDefaultCameraDistanceToImagePlane;
    A_Err (*AEGP_GetCameraFilmSize)(AEGP_LayerH camera_layer, AEGP_FilmSizeUnits* units, A_FpLong* film_size);
    AE_UnusedSlot AEGP_SetCameraFilmSize;
};

#define kAEGPLightSuite "AEGP Light Suite"
#define kAEGPLightSuiteVersion2 2
struct AEGP_LightSuite2 {
    A_Err (*AEGP_GetLightType)(AEGP_LayerH light_layer, AEGP_LightType* type);
    AE_UnusedSlot AEGP_SetLightType;
};

#define kAEGPStreamSuite "AEGP Stream Suite"
#define kAEGPStreamSuiteVersion2 7
struct AEGP_StreamSuite2 {
    AE_UnusedSlot AEGP_IsStreamLegal;
    AE_UnusedSlot AEGP_CanVaryOverTime;
    AE_UnusedSlot AEGP_GetValidInterpolations;
    AE_UnusedSlot AEGP_GetNewLayerStream;
    AE_UnusedSlot AEGP_GetEffectNumParamStreams;
    A_Err (*AEGP_GetNewEffectStreamByIndex)(AEGP_PluginID plugin_id, AEGP_EffectRefH effect, PF_ParamIndex index,
                                            AEGP_StreamRefH* stream);
    AE_UnusedSlot AEGP_GetNewMaskStream;
    A_Err (*AEGP_DisposeStream)(AEGP_StreamRefH stream);
    AE_UnusedSlot AEGP_GetStreamName;
    AE_UnusedSlot AEGP_GetStreamUnitsText;
    AE_UnusedSlot AEGP_GetStreamProperties;
    AE_UnusedSlot AEGP_IsStreamTimevarying;
    AE_UnusedSlot AEGP_GetStreamType;
    A_Err (*AEGP_GetNewStreamValue)(AEGP_PluginID plugin_id, AEGP_StreamRefH stream, AEGP_LTimeMode mode,
                                    const A_Time* time, A_Boolean pre_expression, AEGP_StreamValue* value);
    A_Err (*AEGP_DisposeStreamValue)(AEGP_StreamValue* value);
    AE_UnusedSlot AEGP_SetStreamValue;
    A_Err (*AEGP_GetLayerStreamValue)(AEGP_LayerH layer, AEGP_LayerStream which, AEGP_LTimeMode mode,
                                      const A_Time* time, A_Boolean pre_expression, AEGP_StreamVal* value,
                                      AEGP_StreamType* type);
    AE_UnusedSlot AEGP_GetExpressionState;
    AE_UnusedSlot AEGP_SetExpressionState;
    AE_UnusedSlot AEGP_GetExpression;
    AE_UnusedSlot AEGP_SetExpression;
    AE_UnusedSlot AEGP_DuplicateStreamRef;
};

#define kAEGPDynamicStreamSuite "AEGP Dynamic Stream Suite"
#define kAEGPDynamicStreamSuiteVersion2 2
struct AEGP_DynamicStreamSuite2 {
    AE_UnusedSlot AEGP_GetNewStreamRefForLayer;
    AE_UnusedSlot AEGP_GetStreamDepth;
    AE_UnusedSlot AEGP_GetStreamGroupingType;
    AE_UnusedSlot AEGP_GetNumStreamsInGroup;
    A_Err (*AEGP_GetDynamicStreamFlags)(AEGP_StreamRefH stream, AEGP_DynStreamFlags* flags);
    A_Err (*AEGP_SetDynamicStreamFlag)(AEGP_StreamRefH stream, AEGP_DynStreamFlags flag, A_Boolean undoable,
                                       A_Boolean set);
    AE_UnusedSlot AEGP_GetNewStreamRefByIndex;
    AE_UnusedSlot AEGP_GetNewStreamRefByMatchname;
    AE_UnusedSlot AEGP_DeleteStream;
    AE_UnusedSlot AEGP_ReorderStream;
    AE_UnusedSlot AEGP_DuplicateStream;
    AE_UnusedSlot AEGP_SetStreamName;
    AE_UnusedSlot AEGP_CanAddStream;
    AE_UnusedSlot AEGP_AddStream;
    AE_UnusedSlot AEGP_GetMatchName;
    AE_UnusedSlot AEGP_GetNewParentStreamRef;
    AE_UnusedSlot AEGP_GetStreamIsModified;
};

#define kAEGPEffectSuite "AEGP Effect Suite"
#define kAEGPEffectSuiteVersion2 2
struct AEGP_EffectSuite2 {
    AE_UnusedSlot AEGP_GetLayerNumEffects;
    AE_UnusedSlot AEGP_GetLayerEffectByIndex;
    AE_UnusedSlot AEGP_GetInstalledKeyFromLayerEffect;
    AE_UnusedSlot AEGP_GetEffectParamUnionByIndex;
    AE_UnusedSlot AEGP_GetEffectFlags;
    AE_UnusedSlot AEGP_SetEffectFlags;
    AE_UnusedSlot AEGP_ReorderEffect;
    AE_UnusedSlot AEGP_EffectCallGeneric;
    A_Err (*AEGP_DisposeEffect)(AEGP_EffectRefH effect);
    AE_UnusedSlot AEGP_ApplyEffect;
    AE_UnusedSlot AEGP_DeleteLayerEffect;
    AE_UnusedSlot AEGP_GetNumInstalledEffects;
    AE_UnusedSlot AEGP_GetNextInstalledEffect;
    AE_UnusedSlot AEGP_GetEffectName;
    AE_UnusedSlot AEGP_GetEffectMatchName;
    AE_UnusedSlot AEGP_GetEffectCategory;
    AE_UnusedSlot AEGP_DuplicateEffect;
};

// --- PF suites ----------------------------------------------------------------------------------------

#define kPFAppSuite "PF AE App Suite"
#define kPFAppSuiteVersion4 6
struct PFAppSuite4 {
    AE_UnusedSlot PF_AppGetBgColor;
    AE_UnusedSlot PF_AppGetColor;
    AE_UnusedSlot PF_GetPersonalInfo;
    AE_UnusedSlot PF_GetFontStyleSheet;
    AE_UnusedSlot PF_SetCursor;
    PF_Err (*PF_IsRenderEngine)(PF_Boolean* render_engine);
    AE_UnusedSlot PF_AppColorPickerDialog;
    AE_UnusedSlot PF_GetMouse;
    AE_UnusedSlot PF_InvalidateRect;
    AE_UnusedSlot PF_ConvertLocalToGlobal;
    AE_UnusedSlot PF_GetColorAtGlobalPoint;
};

#define kPFParamUtilsSuite "PF Param Utils Suite"
#define kPFParamUtilsSuiteVersion3 3
struct PF_ParamUtilsSuite3 {
    AE_UnusedSlot PF_UpdateParamUI;
    PF_Err (*PF_GetCurrentState)(PF_ProgPtr effect_ref, PF_ParamIndex index, const A_Time* start,
                                 const A_Time* duration, PF_State* state);
    PF_Err (*PF_AreStatesIdentical)(PF_ProgPtr effect_ref, const PF_State* state1, const PF_State* state2,
                                    A_Boolean* same);
    AE_UnusedSlot PF_IsIdenticalCheckout;
    AE_UnusedSlot PF_FindKeyframeTime;
    AE_UnusedSlot PF_GetKeyframeCount;
    AE_UnusedSlot PF_CheckoutKeyframe;
    AE_UnusedSlot PF_CheckinKeyframe;
    AE_UnusedSlot PF_KeyIndexToTime;
};

// --- DRAWBOT suites -----------------------------------------------------------------------------------
typedef struct _DRAWBOT_DrawRef* DRAWBOT_DrawRef;
typedef struct _DRAWBOT_SupplierRef* DRAWBOT_SupplierRef;
typedef struct _DRAWBOT_SurfaceRef* DRAWBOT_SurfaceRef;
typedef struct _DRAWBOT_ObjectRef* DRAWBOT_ObjectRef;
// An image is an object of its own type; the suites release it as an object.
typedef struct _DRAWBOT_ImageRef* DRAWBOT_ImageRef;

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
    AE_UnusedSlot NewPen;
    AE_UnusedSlot NewBrush;
    AE_UnusedSlot SupportsText;
    AE_UnusedSlot GetDefaultFontSize;
    AE_UnusedSlot NewDefaultFont;
    SPErr (*NewImageFromBuffer)(DRAWBOT_SupplierRef supplier, int width, int height, int row_bytes,
                                DRAWBOT_PixelLayout layout, const void* data, DRAWBOT_ImageRef* image);
    AE_UnusedSlot NewPath;
    AE_UnusedSlot SupportsPixelLayoutBGRA;
    AE_UnusedSlot PrefersPixelLayoutBGRA;
    AE_UnusedSlot SupportsPixelLayoutARGB;
    AE_UnusedSlot PrefersPixelLayoutARGB;
    AE_UnusedSlot RetainObject;
    SPErr (*ReleaseObject)(DRAWBOT_ObjectRef object);
};

#define kDRAWBOT_SurfaceSuite "DRAWBOT Surface Suite"
#define kDRAWBOT_SurfaceSuite_Version1 1
struct DRAWBOT_SurfaceSuite1 {
    AE_UnusedSlot PushStateStack;
    AE_UnusedSlot PopStateStack;
    AE_UnusedSlot PaintRect;
    AE_UnusedSlot FillPath;
    AE_UnusedSlot StrokePath;
    AE_UnusedSlot Clip;
    AE_UnusedSlot GetClipBounds;
    AE_UnusedSlot IsWithinClipBounds;
    AE_UnusedSlot Transform;
    AE_UnusedSlot DrawString;
    SPErr (*DrawImage)(DRAWBOT_SurfaceRef surface, DRAWBOT_ImageRef image, const DRAWBOT_PointF32* origin,
                       float alpha);
    AE_UnusedSlot SetInterpolationPolicy;
    AE_UnusedSlot GetInterpolationPolicy;
    AE_UnusedSlot SetAntiAliasPolicy;
    AE_UnusedSlot GetAntiAliasPolicy;
    AE_UnusedSlot Flush;
    AE_UnusedSlot GetTransformToScreenScale;
};
