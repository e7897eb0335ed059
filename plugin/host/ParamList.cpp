// The effect's parameter list and the rules that hide the controls that have no effect. The disk ids are
// stored in the host's projects: they, the types and the defaults never change.
#include <cstring>

#include "AePluginConnection.h"
#include "LayerParamNames.h"
#include "ParamRegistry.h"
#include "SuiteHandler.h"

namespace {

// The controls-panel area drawn by the custom UI.
void addControlsPanel(command_context& context) {
    PF_ParamDef def;
    std::memset(&def, 0, sizeof def);
    def.uu.id = 1;
    def.param_type = PF_Param_NO_DATA;
    def.ui_flags = PF_PUI_CONTROL;
    def.ui_width = 558;
    def.ui_height = 84;
    def.flags = PF_ParamFlag_SUPERVISE;
    appendParam(context, def);

    PF_CustomUIInfo info;
    std::memset(&info, 0, sizeof info);
    info.events = PF_CustomEFlag_EFFECT;
    context.in_data->inter.register_ui(context.in_data->effect_ref, &info);
}

// Position, in the host's percent-of-layer convention: the middle of the layer, on its plane.
void addPosition(command_context& context) {
    PF_ParamDef def;
    std::memset(&def, 0, sizeof def);
    def.uu.id = 11;
    def.param_type = PF_Param_POINT_3D;
    context.in_data->utils->ansi.strcpy(def.name, "Position");
    PF_Point3DDef& point = def.u.point3d_d;
    point.x_value = point.x_dephault = 50;
    point.y_value = point.y_dephault = 50;
    point.z_value = point.z_dephault = 0;
    appendParam(context, def);
}

void addMaterialGroup(command_context& c) {
    beginParamGroup(c, 200, "Material", false);
    addColor(c, 202, "Color", qssdk::ui::color(1.0f));
    addFloatSlider(c, 203, "Diffuse", 0, 10, 1, 2, 0.1f);
    addFloatSlider(c, 204, "Glossiness", 0, 1, 1, 2, 1);
    addFloatSlider(c, 205, "Specular", 0, 10, 1, 2, 0.1f);
    addFloatSlider(c, 218, "Reflectivity", 0, 10, 0, 2, 0.1f);
    addColor(c, 209, "Illumination Color", qssdk::ui::color(1.0f));
    addFloatSlider(c, 206, "Illumination", 0, 100, 0, 2, 0.01f);

    beginParamGroup(c, 215, "Illumination Options", true);
    addFloatSlider(c, 207, "Fresnel", -1, 1, 0, 2, 0.5f);
    addFloatSlider(c, 208, "Fresnel Bias", 0, 10, 1, 2, 0.2f);
    addFloatSlider(c, 211, "Shadow/Light", -1, 1, 0, 2, 0.6f);
    addFloatSlider(c, 213, "Shadow/Light Contrast", 0.01f, 10, 3, 2, 1);
    addFloatSlider(c, 220, "Shadow/Light Expansion", -1, 1, 0, 2, 0.2f);
    addFloatSlider(c, 214, "Bump Influence", 0, 1, 1, 2, 1);
    endParamGroup(c, 216);

    addFloatSlider(c, 212, "Ambient", 0, 10, 1, 2, 0.1f);
    addFloatSlider(c, 210, "Opacity", 0, 1, 1, 2, 1);

    beginParamGroup(c, 223, "Advanced Options", true);
    addFloatSlider(c, 221, "Edge Feather", 0, 1, 0, 2, 0.2f);
    addFloatSlider(c, 222, "Edge Shrink", 0, 1, 0, 2, 0.2f);
    addCheckbox(c, 2003, "Unlit Only", false, true);
    endParamGroup(c, 224);
    endParamGroup(c, 201);
}

void addMapsGroup(command_context& c) {
    beginParamGroup(c, 500, "Maps", true);
    addLayerParam(c, 502, layerParamName(502));
    addFloatSlider(c, 503, "Diffuse Gamma", 0.01f, 10, 2.2f, 2, 0.2f);
    addFloatSlider(c, 513, "Diffuse Brightness", 0, 10, 1, 2, 0.2f);
    addFloatSlider(c, 217, "Diffuse Blend", 0, 1, 1, 2, 1);

    addLayerParam(c, 504, layerParamName(504));
    addFloatSlider(c, 505, "Glossiness Gamma", 0.01f, 10, 1, 2, 0.2f);
    addFloatSlider(c, 514, "Glossiness Brightness", 0, 10, 1, 2, 0.2f);

    addLayerParam(c, 506, layerParamName(506));
    addFloatSlider(c, 507, "Illumination Gamma", 0.01f, 10, 2.2f, 2, 0.2f);
    addFloatSlider(c, 515, "Illumination Brightness", 0, 10, 1, 2, 0.2f);

    addLayerParam(c, 508, layerParamName(508));
    addFloatSlider(c, 512, "Bump Map Intensity", -10, 10, 1, 2, 0.05f);
    addCheckbox(c, 511, "Use Normal Map", false, false);
    addCheckbox(c, 516, "Flip Normal Channels", false, false);
    addFloatSlider(c, 219, "Bump Falloff", 0, 1, 0.8f, 2, 1);
    endParamGroup(c, 501);
}

void addUvGroup(command_context& c) {
    beginParamGroup(c, 700, "UV", true);
    addPopup(c, 702, "UV Type", "Spherical|Box|Plane XY|Plane XZ|Plane ZY", 1, false);
    addPopup(c, 708, "UV Mode", "Repeat|Mirror", 1, false);
    addFloatSlider(c, 703, "UV Repeat X", -100, 100, 1, 2, 0.01f);
    addFloatSlider(c, 704, "UV Repeat Y", -100, 100, 1, 2, 0.01f);
    addFloatSlider(c, 705, "UV Offset X", -100, 100, 0, 2, 0.005f);
    addFloatSlider(c, 706, "UV Offset Y", -100, 100, 0, 2, 0.005f);
    addAngle(c, 709, "UV Rotation");
    addFloatSlider(c, 707, "Box UV Feathering", 0, 1, 0.2f, 2, 1);
    endParamGroup(c, 701);
}

void addRenderGroup(command_context& c) {
    beginParamGroup(c, 2000, "Render", true);

    // The environment group closes after its rotation group, with an id of its own.
    beginParamGroup(c, 525, "Environment", true);
    addLayerParam(c, 517, layerParamName(517));
    addFloatSlider(c, 518, "Environment Gamma", 0.01f, 10, 2.2f, 2, 0.2f);
    addFloatSlider(c, 519, "Environment Brightness", 0, 10, 1, 2, 0.2f);
    beginParamGroup(c, 520, "Rotate Environment", true);
    addAngle(c, 522, "Env. Rotation X");
    addAngle(c, 523, "Env. Rotation Y");
    addAngle(c, 524, "Env. Rotation Z");
    endParamGroup(c, 521);
    endParamGroup(c, 526);

    beginParamGroup(c, 2100, "Motion Blur", true);
    addPopup(c, 2102, "Motion Blur", "Comp Settings|On|Off", 1, false);
    addFloatSlider(c, 2103, "Motion Blur Samples", 3, 200, 6, 0, 1);
    addFloatSlider(c, 2104, "Shutter Angle", 1, 10000, 180, 0, 0.1f);
    endParamGroup(c, 2101);

    addCheckbox(c, 2005, "Use Default Lights", true, false);
    addFloatSlider(c, 2004, "Gamma", 0.01f, 10, 2.2f, 2, 0.2f);
    addPopup(c, 2002, "Multisampling", "0|2|4|8|16", 4, true);
    endParamGroup(c, 2001);
}

// "Motion Blur" choices.
constexpr A_long motionBlurOn = 2;

// Each map layer and the controls that act only when a layer is chosen.
struct map_companions {
    int layer;
    int companions[4];  // 0 ends a shorter list
};
constexpr map_companions mapCompanions[] = {
    {502, {503, 513, 217}},       // Diffuse: gamma, brightness, blend
    {504, {505, 514}},            // Glossiness: gamma, brightness
    {506, {507, 515}},            // Illumination: gamma, brightness
    {508, {512, 511, 516, 219}},  // Bump map: intensity, normal map, flip channels, falloff
};

// The streams of this effect instance's parameters, reached through its AEGP effect handle.
class ParamStreams {
public:
    ParamStreams(command_context& context, AEGP_PluginID plugin, SuiteHandler& suites,
                 AEGP_EffectRefH effect)
        : context_(context), plugin_(plugin), pfInterface_(suites.get<AEGP_PFInterfaceSuite1>()),
          streams_(suites.get<AEGP_StreamSuite2>()), dynamic_(suites.get<AEGP_DynamicStreamSuite2>()),
          effect_(effect) {}

    void setParamHidden(int id, bool hidden) {
        AEGP_StreamRefH stream = nullptr;
        streams_->AEGP_GetNewEffectStreamByIndex(plugin_, effect_, paramIndexOf(id), &stream);
        dynamic_->AEGP_SetDynamicStreamFlag(stream, AEGP_DynStreamFlag_HIDDEN, false, hidden);
        streams_->AEGP_DisposeStream(stream);
    }

    // Whether the layer parameter names a layer at the current time.
    bool isLayerParamSet(int id) {
        PF_InData* in = context_.in_data;
        A_Time compTime{0, 1};
        pfInterface_->AEGP_ConvertEffectToCompTime(in->effect_ref, in->current_time, in->time_scale, &compTime);
        AEGP_StreamRefH stream = nullptr;
        streams_->AEGP_GetNewEffectStreamByIndex(plugin_, effect_, paramIndexOf(id), &stream);
        AEGP_StreamValue value;
        std::memset(&value, 0, sizeof value);
        streams_->AEGP_GetNewStreamValue(plugin_, stream, AEGP_LTimeMode_CompTime, &compTime, true, &value);
        const bool set = value.val.layer_id != 0;
        streams_->AEGP_DisposeStreamValue(&value);
        streams_->AEGP_DisposeStream(stream);
        return set;
    }

private:
    command_context& context_;
    AEGP_PluginID plugin_;
    const AEGP_PFInterfaceSuite1* pfInterface_;
    const AEGP_StreamSuite2* streams_;
    const AEGP_DynamicStreamSuite2* dynamic_;
    AEGP_EffectRefH effect_;
};

}  // namespace

void AePluginConnection::paramsSetup(command_context& context) {
    reserveParamTables();
    command_context& c = context;
    addControlsPanel(c);
    addPopup(c, 10, "3D Object", "Sphere|Hemisphere", 1, false);
    addFloatSlider(c, 16, "Radius", 0, 100000, 200, 1, 0.00015f);
    addPosition(c);
    addAngle(c, 12, "Rotation X");
    addAngle(c, 13, "Rotation Y");
    addAngle(c, 14, "Rotation Z");
    addPopup(c, 50, "Surface", "All|Front|Back", 2, false);
    addMaterialGroup(c);
    addMapsGroup(c);
    addUvGroup(c);
    addRenderGroup(c);
}

void AePluginConnection::updateParamsUi(command_context& context) {
    reserveParamTables();
    SuiteHandler suites(context.in_data->pica_basicP);
    const auto* pfInterface = suites.get<AEGP_PFInterfaceSuite1>();
    const auto* effects = suites.get<AEGP_EffectSuite2>();
    // Without any one of these there is nothing to hide with, or no way to give the effect handle back.
    if (!pfInterface || !effects || !suites.get<AEGP_StreamSuite2>() || !suites.get<AEGP_DynamicStreamSuite2>())
        return;

    AEGP_EffectRefH effect = nullptr;
    pfInterface->AEGP_GetNewEffectForEffect(pluginId(), context.in_data->effect_ref, &effect);
    ParamStreams streams(context, pluginId(), suites, effect);

    streams.setParamHidden(2104, readIntParam(context, 2102) != motionBlurOn);  // "Shutter Angle"
    for (const map_companions& map : mapCompanions) {
        const bool hidden = !streams.isLayerParamSet(map.layer);
        for (int companion : map.companions)
            if (companion) streams.setParamHidden(companion, hidden);
    }

    effects->AEGP_DisposeEffect(effect);
}
