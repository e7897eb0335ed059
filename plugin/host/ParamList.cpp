// The effect's parameter list and the rules that hide the controls that have no effect. The disk ids are
// stored in the host's projects: they, the types and the defaults never change.
#include <cstring>

#include "AePluginConnection.h"
#include "MapLayers.h"
#include "ParamIds.h"
#include "ParamRegistry.h"
#include "SuiteHandler.h"

namespace {

// The controls-panel area drawn by the custom UI.
void addControlsPanel(command_context& context) {
    PF_ParamDef def;
    std::memset(&def, 0, sizeof def);
    def.uu.id = param::controlsPanel;
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
    def.uu.id = param::position;
    def.param_type = PF_Param_POINT_3D;
    context.in_data->utils->ansi.strcpy(def.name, "Position");
    PF_Point3DDef& point = def.u.point3d_d;
    point.x_value = point.x_dephault = 50;
    point.y_value = point.y_dephault = 50;
    point.z_value = point.z_dephault = 0;
    appendParam(context, def);
}

void addMaterialGroup(command_context& c) {
    beginParamGroup(c, param::materialGroup, "Material", false);
    addColor(c, param::color, "Color", qssdk::ui::color(1.0f));
    addFloatSlider(c, param::diffuse, "Diffuse", 0, 10, 1, 2, 0.1f);
    addFloatSlider(c, param::glossiness, "Glossiness", 0, 1, 1, 2, 1);
    addFloatSlider(c, param::specular, "Specular", 0, 10, 1, 2, 0.1f);
    addFloatSlider(c, param::reflectivity, "Reflectivity", 0, 10, 0, 2, 0.1f);
    addColor(c, param::illuminationColor, "Illumination Color", qssdk::ui::color(1.0f));
    addFloatSlider(c, param::illumination, "Illumination", 0, 100, 0, 2, 0.01f);

    beginParamGroup(c, param::illuminationOptionsGroup, "Illumination Options", true);
    addFloatSlider(c, param::fresnel, "Fresnel", -1, 1, 0, 2, 0.5f);
    addFloatSlider(c, param::fresnelBias, "Fresnel Bias", 0, 10, 1, 2, 0.2f);
    addFloatSlider(c, param::shadowLight, "Shadow/Light", -1, 1, 0, 2, 0.6f);
    addFloatSlider(c, param::shadowLightContrast, "Shadow/Light Contrast", 0.01f, 10, 3, 2, 1);
    addFloatSlider(c, param::shadowLightExpansion, "Shadow/Light Expansion", -1, 1, 0, 2, 0.2f);
    addFloatSlider(c, param::bumpInfluence, "Bump Influence", 0, 1, 1, 2, 1);
    endParamGroup(c, param::illuminationOptionsGroupEnd);

    addFloatSlider(c, param::ambient, "Ambient", 0, 10, 1, 2, 0.1f);
    addFloatSlider(c, param::opacity, "Opacity", 0, 1, 1, 2, 1);

    beginParamGroup(c, param::advancedOptionsGroup, "Advanced Options", true);
    addFloatSlider(c, param::edgeFeather, "Edge Feather", 0, 1, 0, 2, 0.2f);
    addFloatSlider(c, param::edgeShrink, "Edge Shrink", 0, 1, 0, 2, 0.2f);
    addCheckbox(c, param::unlitOnly, "Unlit Only", false, true);
    endParamGroup(c, param::advancedOptionsGroupEnd);
    endParamGroup(c, param::materialGroupEnd);
}

void addMapsGroup(command_context& c) {
    beginParamGroup(c, param::mapsGroup, "Maps", true);
    addLayerParam(c, param::diffuseLayer, mapLayer(param::diffuseLayer).name);
    addFloatSlider(c, param::diffuseGamma, "Diffuse Gamma", 0.01f, 10, 2.2f, 2, 0.2f);
    addFloatSlider(c, param::diffuseBrightness, "Diffuse Brightness", 0, 10, 1, 2, 0.2f);
    addFloatSlider(c, param::diffuseBlend, "Diffuse Blend", 0, 1, 1, 2, 1);

    addLayerParam(c, param::glossinessLayer, mapLayer(param::glossinessLayer).name);
    addFloatSlider(c, param::glossinessGamma, "Glossiness Gamma", 0.01f, 10, 1, 2, 0.2f);
    addFloatSlider(c, param::glossinessBrightness, "Glossiness Brightness", 0, 10, 1, 2, 0.2f);

    addLayerParam(c, param::illuminationLayer, mapLayer(param::illuminationLayer).name);
    addFloatSlider(c, param::illuminationGamma, "Illumination Gamma", 0.01f, 10, 2.2f, 2, 0.2f);
    addFloatSlider(c, param::illuminationBrightness, "Illumination Brightness", 0, 10, 1, 2, 0.2f);

    addLayerParam(c, param::bumpLayer, mapLayer(param::bumpLayer).name);
    addFloatSlider(c, param::bumpIntensity, "Bump Map Intensity", -10, 10, 1, 2, 0.05f);
    addCheckbox(c, param::useNormalMap, "Use Normal Map", false, false);
    addCheckbox(c, param::flipNormalChannels, "Flip Normal Channels", false, false);
    addFloatSlider(c, param::bumpFalloff, "Bump Falloff", 0, 1, 0.8f, 2, 1);
    endParamGroup(c, param::mapsGroupEnd);
}

void addUvGroup(command_context& c) {
    beginParamGroup(c, param::uvGroup, "UV", true);
    addPopup(c, param::uvType, "UV Type", "Spherical|Box|Plane XY|Plane XZ|Plane ZY", 1, false);
    addPopup(c, param::uvMode, "UV Mode", "Repeat|Mirror", 1, false);
    addFloatSlider(c, param::uvRepeatX, "UV Repeat X", -100, 100, 1, 2, 0.01f);
    addFloatSlider(c, param::uvRepeatY, "UV Repeat Y", -100, 100, 1, 2, 0.01f);
    addFloatSlider(c, param::uvOffsetX, "UV Offset X", -100, 100, 0, 2, 0.005f);
    addFloatSlider(c, param::uvOffsetY, "UV Offset Y", -100, 100, 0, 2, 0.005f);
    addAngle(c, param::uvRotation, "UV Rotation");
    addFloatSlider(c, param::boxUvFeathering, "Box UV Feathering", 0, 1, 0.2f, 2, 1);
    endParamGroup(c, param::uvGroupEnd);
}

void addRenderGroup(command_context& c) {
    beginParamGroup(c, param::renderGroup, "Render", true);

    // The environment group closes after its rotation group, with an id of its own.
    beginParamGroup(c, param::environmentGroup, "Environment", true);
    addLayerParam(c, param::environmentLayer, mapLayer(param::environmentLayer).name);
    addFloatSlider(c, param::environmentGamma, "Environment Gamma", 0.01f, 10, 2.2f, 2, 0.2f);
    addFloatSlider(c, param::environmentBrightness, "Environment Brightness", 0, 10, 1, 2, 0.2f);
    beginParamGroup(c, param::rotateEnvironmentGroup, "Rotate Environment", true);
    addAngle(c, param::environmentRotationX, "Env. Rotation X");
    addAngle(c, param::environmentRotationY, "Env. Rotation Y");
    addAngle(c, param::environmentRotationZ, "Env. Rotation Z");
    endParamGroup(c, param::rotateEnvironmentGroupEnd);
    endParamGroup(c, param::environmentGroupEnd);

    beginParamGroup(c, param::motionBlurGroup, "Motion Blur", true);
    addPopup(c, param::motionBlur, "Motion Blur", "Comp Settings|On|Off", 1, false);
    addFloatSlider(c, param::motionBlurSamples, "Motion Blur Samples", 3, 200, 6, 0, 1);
    addFloatSlider(c, param::shutterAngle, "Shutter Angle", 1, 10000, 180, 0, 0.1f);
    endParamGroup(c, param::motionBlurGroupEnd);

    addCheckbox(c, param::useDefaultLights, "Use Default Lights", true, false);
    addFloatSlider(c, param::gamma, "Gamma", 0.01f, 10, 2.2f, 2, 0.2f);
    addPopup(c, param::multisampling, "Multisampling", "0|2|4|8|16", 4, true);
    endParamGroup(c, param::renderGroupEnd);
}

// Each map layer and the controls that act only when a layer is chosen.
struct map_companions {
    param::id layer;
    int companions[4];  // 0 ends a shorter list
};
constexpr map_companions mapCompanions[] = {
    {param::diffuseLayer, {param::diffuseGamma, param::diffuseBrightness, param::diffuseBlend}},       // Diffuse: gamma, brightness, blend
    {param::glossinessLayer, {param::glossinessGamma, param::glossinessBrightness}},            // Glossiness: gamma, brightness
    {param::illuminationLayer, {param::illuminationGamma, param::illuminationBrightness}},            // Illumination: gamma, brightness
    {param::bumpLayer, {param::bumpIntensity, param::useNormalMap, param::flipNormalChannels, param::bumpFalloff}},  // Bump map: intensity, normal map, flip channels, falloff
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
    addPopup(c, param::objectType, "3D Object", "Sphere|Hemisphere", 1, false);
    addFloatSlider(c, param::radius, "Radius", 0, 100000, 200, 1, 0.00015f);
    addPosition(c);
    addAngle(c, param::rotationX, "Rotation X");
    addAngle(c, param::rotationY, "Rotation Y");
    addAngle(c, param::rotationZ, "Rotation Z");
    addPopup(c, param::surface, "Surface", "All|Front|Back", 2, false);
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

    // A checkout here would recurse into the host: the value comes with the command. Without it the
    // control stays as it is.
    if (const PF_ParamDef* motionBlur = passedParam(context, param::motionBlur))
        streams.setParamHidden(param::shutterAngle, motionBlur->u.pd.value != param::motionBlurOn);
    for (const map_companions& map : mapCompanions) {
        const bool hidden = !streams.isLayerParamSet(map.layer);
        for (int companion : map.companions)
            if (companion) streams.setParamHidden(companion, hidden);
    }

    effects->AEGP_DisposeEffect(effect);
}
