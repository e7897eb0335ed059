// The host's effect interface: commands, in/out records, parameters, worlds, callbacks and UI events.
#pragma once

#include "ae_types.h"

struct SPBasicSuite;

// --- Commands -----------------------------------------------------------------------------------------
typedef A_long PF_Cmd;
enum : PF_Cmd {
    PF_Cmd_ABOUT = 0,
    PF_Cmd_GLOBAL_SETUP = 1,
    PF_Cmd_UNUSED_0 = 2,
    PF_Cmd_GLOBAL_SETDOWN = 3,
    PF_Cmd_PARAMS_SETUP = 4,
    PF_Cmd_SEQUENCE_SETUP = 5,
    PF_Cmd_SEQUENCE_RESETUP = 6,
    PF_Cmd_SEQUENCE_FLATTEN = 7,
    PF_Cmd_SEQUENCE_SETDOWN = 8,
    PF_Cmd_DO_DIALOG = 9,
    PF_Cmd_FRAME_SETUP = 10,
    PF_Cmd_RENDER = 11,
    PF_Cmd_FRAME_SETDOWN = 12,
    PF_Cmd_USER_CHANGED_PARAM = 13,
    PF_Cmd_UPDATE_PARAMS_UI = 14,
    PF_Cmd_EVENT = 15,
    PF_Cmd_GET_EXTERNAL_DEPENDENCIES = 16,
    PF_Cmd_COMPLETELY_GENERAL = 17,
    PF_Cmd_QUERY_DYNAMIC_FLAGS = 18,
    PF_Cmd_AUDIO_RENDER = 19,
    PF_Cmd_AUDIO_SETUP = 20,
    PF_Cmd_AUDIO_SETDOWN = 21,
    PF_Cmd_ARBITRARY_CALLBACK = 22,
    PF_Cmd_SMART_PRE_RENDER = 23,
    PF_Cmd_SMART_RENDER = 24,
};

// --- Out flags ----------------------------------------------------------------------------------------
enum : A_long {
    PF_OutFlag_CUSTOM_UI = 1 << 15,
    PF_OutFlag_DEEP_COLOR_AWARE = 1 << 25,
    PF_OutFlag_SEND_UPDATE_PARAMS_UI = 1 << 26,
};
enum : A_long {
    PF_OutFlag2_I_USE_3D_CAMERA = 1 << 1,
    PF_OutFlag2_I_USE_3D_LIGHTS = 1 << 2,
    PF_OutFlag2_PARAM_GROUP_START_COLLAPSED_FLAG = 1 << 3,
    PF_OutFlag2_SUPPORTS_SMART_RENDER = 1 << 10,
    PF_OutFlag2_FLOAT_COLOR_AWARE = 1 << 12,
};

// --- Pixels and worlds --------------------------------------------------------------------------------
struct PF_Pixel {
    A_u_char alpha, red, green, blue;
};
typedef PF_Pixel PF_Pixel8;
struct PF_Pixel16 {
    A_u_short alpha, red, green, blue;
};
struct PF_PixelFloat {
    PF_FpShort alpha, red, green, blue;
};

enum : A_long {
    PF_WorldFlag_DEEP = 1 << 0,
    PF_WorldFlag_WRITEABLE = 1 << 1,
};

// A host image: an input, an output or a layer parameter's pixels. The reserved words belong to the host.
struct PF_LayerDef {
    void* reserved0;
    void* reserved1;
    A_long world_flags;
    PF_Pixel* data;
    A_long rowbytes;
    A_long width;
    A_long height;
    PF_LRect extent_hint;
    A_long reserved_long1;
    A_u_longlong : 64;
    void* reserved_long2;
    A_u_longlong : 64;
    PF_RationalScale pix_aspect_ratio;
    A_u_longlong : 64;
    A_long origin_x;
    A_long origin_y;
    A_long reserved_long3;
    A_long dephault;  // a layer parameter's default: PF_LayerDefault_*
};
typedef PF_LayerDef PF_EffectWorld;

enum : A_long {
    PF_LayerDefault_MYSELF = -1,
    PF_LayerDefault_NONE = 0,
};

// --- Parameters ---------------------------------------------------------------------------------------
typedef A_long PF_ParamType;
enum : PF_ParamType {
    PF_Param_LAYER = 0,
    PF_Param_SLIDER = 1,
    PF_Param_FIX_SLIDER = 2,
    PF_Param_ANGLE = 3,
    PF_Param_CHECKBOX = 4,
    PF_Param_COLOR = 5,
    PF_Param_POINT = 6,
    PF_Param_POPUP = 7,
    PF_Param_CUSTOM = 8,
    PF_Param_NO_DATA = 9,
    PF_Param_FLOAT_SLIDER = 10,
    PF_Param_ARBITRARY_DATA = 11,
    PF_Param_PATH = 12,
    PF_Param_GROUP_START = 13,
    PF_Param_GROUP_END = 14,
    PF_Param_BUTTON = 15,
    PF_Param_POINT_3D = 18,
};

typedef A_long PF_ParamFlags;
enum : PF_ParamFlags {
    PF_ParamFlag_COLLAPSE_TWIRLY = 1 << 5,
    PF_ParamFlag_START_COLLAPSED = 1 << 5,
    PF_ParamFlag_SUPERVISE = 1 << 6,
    PF_ParamFlag_EXCLUDE_FROM_HAVE_INPUTS_CHANGED = 1 << 8,
};

typedef A_long PF_ParamUIFlags;
enum : PF_ParamUIFlags {
    PF_PUI_NONE = 0,
    PF_PUI_TOPIC = 1 << 0,
    PF_PUI_CONTROL = 1 << 1,
};

constexpr int PF_MAX_EFFECT_PARAM_NAME_LEN = 31;

struct PF_FloatSliderDef {
    PF_FpLong value;
    PF_FpLong phase;
    A_u_longlong : 64;
    A_u_longlong : 64;
    A_u_longlong : 64;
    A_u_longlong : 64;
    PF_FpShort valid_min, valid_max;
    PF_FpShort slider_min, slider_max;
    PF_FpShort dephault;
    A_short precision;
    A_short display_flags;
    A_long : 32;
    A_long : 32;
    A_long : 32;
    A_long : 32;
};

struct PF_PopupDef {
    A_long value;
    A_short num_choices;
    A_short dephault;
    union {
        const A_char* namesptr;  // choices separated by '|'
    } u;
};

struct PF_AngleDef {
    PF_Fixed value;  // degrees, 16.16
    PF_Fixed dephault;
    A_long : 32;
    A_long : 32;
};

struct PF_CheckBoxDef {
    A_long value;
    PF_Boolean dephault;
    A_char reserved;
    A_short reserved1;
    union {
        const A_char* nameptr;  // the label beside the box
    } u;
};

struct PF_ColorDef {
    PF_Pixel value;
    PF_Pixel dephault;
};

struct PF_Point3DDef {
    PF_FpLong x_value, y_value, z_value;
    PF_FpLong x_dephault, y_dephault, z_dephault;  // percent of the layer's size (z: of its width)
    A_char reserved[16];
};

union PF_ParamDefUnion {
    PF_LayerDef ld;
    PF_FloatSliderDef fs_d;
    PF_PopupDef pd;
    PF_AngleDef ad;
    PF_CheckBoxDef bd;
    PF_ColorDef cd;
    PF_Point3DDef point3d_d;
};

struct PF_ParamDef {
    union {
        A_long id;  // the disk id, stored by the host in projects
        A_long change_flags;
    } uu;
    PF_ParamUIFlags ui_flags;
    A_short ui_width;
    A_short ui_height;
    PF_ParamType param_type;
    A_char name[PF_MAX_EFFECT_PARAM_NAME_LEN + 1];
    PF_ParamFlags flags;
    A_long unused;
    PF_ParamDefUnion u;
};
typedef PF_ParamDef* PF_ParamDefPtr;
typedef PF_ParamDef** PF_ParamList;

// --- Custom UI ----------------------------------------------------------------------------------------
enum : A_long {
    PF_CustomEFlag_NONE = 0,
    PF_CustomEFlag_COMP = 1 << 0,
    PF_CustomEFlag_LAYER = 1 << 1,
    PF_CustomEFlag_EFFECT = 1 << 2,
};

typedef struct _PF_CustomUIInfo {
    A_long reserved;
    A_long events;
    A_long comp_ui_width, comp_ui_height;
    A_long comp_ui_alignment;
    A_long layer_ui_width, layer_ui_height;
    A_long layer_ui_alignment;
    A_long preview_ui_width, preview_ui_height;
    A_long preview_ui_alignment;
} PF_CustomUIInfo;

// --- Callbacks ----------------------------------------------------------------------------------------
typedef A_long PF_PlatDataID;
enum : PF_PlatDataID {
    PF_PlatData_MAIN_WND = 0,
};

// The C library functions the host lends; of these the effect uses strcpy only.
struct PF_ANSICallbacks {
    AE_UnusedSlot math[16];
    A_char* (*strcpy)(A_char* dst, const A_char* src);
    AE_UnusedSlot more[3];
};

struct PF_ColorCallbacks {
    AE_UnusedSlot conversions[8];
};

// The host's utility table, whole: image operations the effect does not use, memory handles, the C
// library and platform data.
typedef struct _PF_UtilCallbacks {
    AE_UnusedSlot begin_sampling;
    AE_UnusedSlot subpixel_sample;
    AE_UnusedSlot area_sample;
    AE_UnusedSlot get_batch_func_is_deprecated;
    AE_UnusedSlot end_sampling;
    AE_UnusedSlot composite_rect;
    AE_UnusedSlot blend;
    AE_UnusedSlot convolve;
    AE_UnusedSlot copy;
    AE_UnusedSlot fill;
    AE_UnusedSlot gaussian_kernel;
    AE_UnusedSlot iterate;
    AE_UnusedSlot premultiply;
    AE_UnusedSlot premultiply_color;
    AE_UnusedSlot new_world;
    AE_UnusedSlot dispose_world;
    AE_UnusedSlot iterate_origin;
    AE_UnusedSlot iterate_lut;
    AE_UnusedSlot transfer_rect;
    AE_UnusedSlot transform_world;
    PF_Handle (*host_new_handle)(A_u_longlong size);
    void* (*host_lock_handle)(PF_Handle handle);
    void (*host_unlock_handle)(PF_Handle handle);
    void (*host_dispose_handle)(PF_Handle handle);
    AE_UnusedSlot get_callback_addr;
    AE_UnusedSlot app;
    PF_ANSICallbacks ansi;
    PF_ColorCallbacks colorCB;
    PF_Err (*get_platform_data)(PF_ProgPtr effect_ref, PF_PlatDataID which, void* data);
    A_u_longlong (*host_get_handle_size)(PF_Handle handle);
    AE_UnusedSlot iterate_origin_non_clip_src;
    AE_UnusedSlot iterate_generic;
    AE_UnusedSlot host_resize_handle;
    AE_UnusedSlot subpixel_sample16;
    AE_UnusedSlot area_sample16;
    AE_UnusedSlot fill16;
    AE_UnusedSlot premultiply_color16;
    AE_UnusedSlot iterate16;
    AE_UnusedSlot iterate_origin16;
    AE_UnusedSlot iterate_origin_non_clip_src16;
    AE_UnusedSlot get_pixel_data8;
    AE_UnusedSlot get_pixel_data16;
    AE_UnusedSlot reserved;
} PF_UtilCallbacks;

struct PF_InteractCallbacks {
    PF_Err (*checkout_param)(PF_ProgPtr effect_ref, PF_ParamIndex index, A_long what_time, A_long time_step,
                             A_u_long time_scale, PF_ParamDef* param);
    PF_Err (*checkin_param)(PF_ProgPtr effect_ref, PF_ParamDef* param);
    PF_Err (*add_param)(PF_ProgPtr effect_ref, PF_ParamIndex index, PF_ParamDefPtr def);
    AE_UnusedSlot abort;
    AE_UnusedSlot progress;
    PF_Err (*register_ui)(PF_ProgPtr effect_ref, PF_CustomUIInfo* info);
    AE_UnusedSlot checkout_layer_audio;
    AE_UnusedSlot checkin_layer_audio;
    AE_UnusedSlot get_audio_data;
    AE_UnusedSlot reserved_str[3];
    AE_UnusedSlot reserved[10];
};

// --- Command records ----------------------------------------------------------------------------------
typedef A_long PF_Field;
enum : PF_Field {
    PF_Field_FRAME = 0,
    PF_Field_UPPER = 1,
    PF_Field_LOWER = 2,
};

// The version of the interface the host speaks.
struct PF_SpecVersion {
    A_short major;
    A_short minor;
};

struct PF_InData {
    PF_InteractCallbacks inter;
    PF_UtilCallbacks* utils;
    PF_ProgPtr effect_ref;
    A_long quality;
    PF_SpecVersion version;
    A_long : 32;
    A_long appl_id;
    A_long num_params;
    A_long : 32;
    A_long : 32;
    A_long : 32;
    A_long current_time;
    A_long time_step;
    A_long total_time;
    A_long local_time_step;
    A_u_long time_scale;
    PF_Field field;
    PF_Fixed shutter_angle;
    A_long width;
    A_long height;
    PF_LRect extent_hint;
    A_long output_origin_x;
    A_long output_origin_y;
    PF_RationalScale downsample_x;
    PF_RationalScale downsample_y;
    PF_RationalScale pixel_aspect_ratio;
    A_long in_flags;
    PF_Handle global_data;
    PF_Handle sequence_data;
    PF_Handle frame_data;
    A_long : 32;  // the host's audio words, which this effect does not handle
    A_long : 32;
    A_long : 32;
    A_u_longlong : 64;
    A_u_longlong : 64;
    A_u_longlong : 64;
    A_u_longlong : 64;
    SPBasicSuite* pica_basicP;
    A_long : 32;
    A_long : 32;
    PF_Fixed shutter_phase;
};

struct PF_OutData {
    A_u_long my_version;
    A_char name[32];
    PF_Handle global_data;
    A_long num_params;
    PF_Handle sequence_data;
    A_long flat_sdata_size;
    PF_Handle frame_data;
    A_long width;
    A_long height;
    PF_Point origin;
    A_long out_flags;
    A_char return_msg[256];
    A_long : 32;  // the host's audio words, which this effect does not handle
    A_long : 32;
    A_u_longlong : 64;
    A_u_longlong : 64;
    A_u_longlong : 64;
    A_u_longlong : 64;
    A_long out_flags2;
};

// --- UI events ----------------------------------------------------------------------------------------
typedef A_long PF_EventType;
enum : PF_EventType {
    PF_Event_NEW_CONTEXT = 0,
    PF_Event_ACTIVATE = 1,
    PF_Event_DO_CLICK = 2,
    PF_Event_DRAG = 3,
    PF_Event_DRAW = 4,
    PF_Event_DEACTIVATE = 5,
    PF_Event_CLOSE_CONTEXT = 6,
    PF_Event_IDLE = 7,
    PF_Event_ADJUST_CURSOR = 9,
    PF_Event_KEYDOWN = 10,
};

typedef A_long PF_EffectArea;
enum : PF_EffectArea {
    PF_EA_NONE = 0,
    PF_EA_PARAM_TITLE = 1,
    PF_EA_CONTROL = 2,
};

typedef A_long PF_CursorType;
enum : PF_CursorType {
    PF_Cursor_NONE = 0,
    PF_Cursor_CUSTOM = 1,
    PF_Cursor_ARROW = 2,
    PF_Cursor_FINGER_POINTER = 23,
};

enum : A_long {
    PF_EI_NONE = 0,
    PF_EI_DONT_DRAW = 1 << 0,
};
enum : A_long {
    PF_EO_NONE = 0,
    PF_EO_HANDLED_EVENT = 1 << 0,
    PF_EO_ALWAYS_UPDATE = 1 << 1,
};

struct PF_DoClickEventInfo {
    A_u_long when;
    PF_Point screen_point;
    A_long num_clicks;
    A_long modifiers;
    intptr_t continue_refcon[4];  // kept by the host between a click and its drags
    PF_Boolean send_drag;
};

struct PF_DrawEventInfo {
    PF_LRect update_rect;
    A_long depth;
};

struct PF_AdjustCursorEventInfo {
    PF_Point screen_point;
    A_long modifiers;
    PF_CursorType set_cursor;
};

union PF_EventUnion {
    PF_DoClickEventInfo do_click;
    PF_DrawEventInfo draw;
    PF_AdjustCursorEventInfo adjust_cursor;
};

struct PF_EffectWindowInfo {
    PF_ParamIndex index;
    PF_EffectArea area;
    PF_LRect current_frame;
    PF_LRect param_title_frame;
    A_long horiz_offset;
};

// Coordinate conversions and drawing helpers the host offers during an event; unused here.
struct PF_EventCallbacks {
    void* refcon;
    AE_UnusedSlot functions[8];
};

struct PF_EventExtra {
    PF_ContextH contextH;
    PF_EventType e_type;
    PF_EventUnion u;
    PF_EffectWindowInfo effect_win;
    PF_EventCallbacks cbs;
    A_long evt_in_flags;
    A_long evt_out_flags;
};

// --- Entry point --------------------------------------------------------------------------------------
extern "C" {
typedef PF_Err (*PF_EntryPointFunc)(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                                    PF_LayerDef* output, void* extra);
}
