// Every material, UV, Fresnel, shadow/light, edge and environment-rotation parameter, set by its name in
// the simulated host, reaches the material record the renderer draws with as its own field. Each gets a
// value no other one has, so two parameters whose ids were swapped fail here. The effect is the test
// build of the module (pellux_fault_effect.aex), which shows the record each draw received and the
// multisample count each frame asked for. Every choice of every popup reaches the renderer as its value.
#include <windows.h>

#include <cmath>
#include <functional>
#include <string>

#include "HostFixture.h"
#include "ParamText.h"
#include "quaternion.h"
#include "render_records.h"

namespace {

constexpr double degrees = 3.14159265358979323846 / 180.0;

std::wstring besideThisProgram(const wchar_t* file) {
    const std::wstring effect = hostsim::defaultEffectPath();
    return effect.substr(0, effect.find_last_of(L"\\/") + 1) + file;
}

class ParameterGather : public HostTest {
protected:
    void SetUp() override {
        host = std::make_unique<hostsim::SimulatedHost>(besideThisProgram(L"pellux_fault_effect.aex"));
        takeDrawn = reinterpret_cast<bool (*)(material_properties*)>(
            reinterpret_cast<void*>(GetProcAddress(host->module().handle(), "qs_test_take_drawn_material")));
        ASSERT_NE(takeDrawn, nullptr);
        takeSamples = reinterpret_cast<long long (*)()>(
            reinterpret_cast<void*>(GetProcAddress(host->module().handle(), "qs_test_take_requested_samples")));
        ASSERT_NE(takeSamples, nullptr);
        host->comp().width = 32;
        host->comp().height = 32;
        ASSERT_EQ(host->send(PF_Cmd_GLOBAL_SETUP), PF_Err_NONE);
        ASSERT_EQ(host->send(PF_Cmd_PARAMS_SETUP), PF_Err_NONE);
        ASSERT_EQ(host->send(PF_Cmd_SEQUENCE_SETUP), PF_Err_NONE);
    }
    void TearDown() override {
        if (host && host->sequenceData()) {
            EXPECT_EQ(host->send(PF_Cmd_SEQUENCE_SETDOWN), PF_Err_NONE);
        }
        HostTest::TearDown();
    }

    // The material the renderer drew the frame with.
    material_properties drawnMaterial() {
        EXPECT_EQ(host->send(PF_Cmd_UPDATE_PARAMS_UI), PF_Err_NONE);
        const hostsim::rendered_frame frame = host->renderFrame({0, 32, 1});
        EXPECT_EQ(frame.record.preRenderResult, PF_Err_NONE);
        EXPECT_EQ(frame.record.renderResult, PF_Err_NONE);
        material_properties material{};
        EXPECT_TRUE(takeDrawn(&material)) << "the frame drew nothing";
        return material;
    }

    bool (*takeDrawn)(material_properties*) = nullptr;
    long long (*takeSamples)() = nullptr;
};

struct field_row {
    const char* name;   // the parameter's display name
    const char* value;  // as typed on pellux-host's command line
    std::function<double(const material_properties&)> field;
    double expected;
};

float unit(int byte) { return static_cast<float>(byte) / 255.0f; }

TEST_F(ParameterGather, EachParameterReachesItsOwnFieldOfTheMaterial) {
    // Values unlike each other and unlike every default.
    const field_row rows[] = {
        // Material
        {"Diffuse", "2.5", [](auto& m) { return m.diffuseAmount; }, 2.5},
        {"Glossiness", "0.35", [](auto& m) { return m.glossinessAmount; }, 0.35},
        {"Specular", "3.5", [](auto& m) { return m.specularAmount; }, 3.5},
        {"Reflectivity", "4.5", [](auto& m) { return m.reflectivityAmount; }, 4.5},
        {"Ambient", "5.5", [](auto& m) { return m.ambientAmount; }, 5.5},
        {"Opacity", "0.85", [](auto& m) { return m.modelColor.w; }, 0.85},
        {"Color", "#CC8844", [](auto& m) { return m.modelColor.x; }, unit(0xCC)},
        {"Color", "#CC8844", [](auto& m) { return m.modelColor.y; }, unit(0x88)},
        {"Color", "#CC8844", [](auto& m) { return m.modelColor.z; }, unit(0x44)},
        {"Illumination Color", "#336699", [](auto& m) { return m.illuminationColor.x; }, unit(0x33) * 55.0},
        {"Illumination Color", "#336699", [](auto& m) { return m.illuminationColor.y; }, unit(0x66) * 55.0},
        {"Illumination", "55", [](auto& m) { return m.illuminationColor.z; }, unit(0x99) * 55.0},
        {"Unlit Only", "1", [](auto& m) { return m.unlitMode; }, 1},
        {"Surface", "Back", [](auto& m) { return m.surface; }, 3},
        // Fresnel and shadow/light
        {"Fresnel", "-0.3", [](auto& m) { return m.illuminationFresnel; }, -0.3},
        {"Fresnel Bias", "6.5", [](auto& m) { return m.illuminationFresnelBias; }, 6.5},
        {"Shadow/Light", "0.45", [](auto& m) { return m.illuminationShadowLight; }, 0.45},
        {"Shadow/Light Contrast", "7.25", [](auto& m) { return m.shadowLightContrast; }, 7.25},
        {"Shadow/Light Expansion", "-0.65", [](auto& m) { return m.illuminationShadowLightExpand; }, -0.65},
        {"Bump Influence", "0.15", [](auto& m) { return m.illuminationBumpInfluence; }, 0.15},
        // Edges
        {"Edge Feather", "0.25", [](auto& m) { return m.edgeFeather; }, 0.25},
        {"Edge Shrink", "0.55", [](auto& m) { return m.edgeShrink; }, 0.55},
        // Maps
        {"Diffuse Gamma", "1.5", [](auto& m) { return m.diffuseGamma; }, 1.5},
        {"Diffuse Brightness", "3.25", [](auto& m) { return m.diffuseBrightness; }, 3.25},
        {"Diffuse Blend", "0.4", [](auto& m) { return m.diffuseBlend; }, 0.4},
        {"Glossiness Gamma", "2.75", [](auto& m) { return m.glossinessGamma; }, 2.75},
        {"Glossiness Brightness", "4.25", [](auto& m) { return m.glossinessBrightness; }, 4.25},
        {"Illumination Gamma", "3.75", [](auto& m) { return m.illuminationGamma; }, 3.75},
        {"Illumination Brightness", "5.25", [](auto& m) { return m.illuminationBrightness; }, 5.25},
        {"Environment Gamma", "1.25", [](auto& m) { return m.environmentGamma; }, 1.25},
        {"Environment Brightness", "6.25", [](auto& m) { return m.environmentBrightness; }, 6.25},
        {"Bump Map Intensity", "-2.5", [](auto& m) { return m.normalAmount; }, -2.5},
        {"Bump Falloff", "0.7", [](auto& m) { return m.clipLighting; }, 0.7},
        {"Use Normal Map", "1", [](auto& m) { return m.bumpIsHeight; }, 0},
        {"Flip Normal Channels", "1", [](auto& m) { return m.invertGreen; }, 1},
        // UV
        {"UV Type", "Plane XZ", [](auto& m) { return m.uvType; }, 4},
        {"UV Mode", "Mirror", [](auto& m) { return m.uvMode; }, 2},
        {"UV Repeat X", "8.5", [](auto& m) { return m.uvRepeat.x; }, 8.5},
        {"UV Repeat Y", "-4.5", [](auto& m) { return m.uvRepeat.y; }, -4.5},
        {"UV Offset X", "0.125", [](auto& m) { return m.uvOffset.x; }, 0.125},
        {"UV Offset Y", "-0.375", [](auto& m) { return m.uvOffset.y; }, -0.375},
        {"UV Rotation", "30", [](auto& m) { return m.uvRotation; }, 30 * degrees},
        {"Box UV Feathering", "0.3", [](auto& m) { return m.uvFeathering; }, 0.3},
    };
    for (const field_row& r : rows) hostsim::setParamFromText(host->params(), r.name, r.value);
    // The environment's rotation: three angles about three axes, each its own.
    for (const auto& [name, value] : {std::pair{"Env. Rotation X", "10"}, {"Env. Rotation Y", "20"},
                                      {"Env. Rotation Z", "40"}})
        hostsim::setParamFromText(host->params(), name, value);

    const material_properties m = drawnMaterial();
    for (const field_row& r : rows) EXPECT_NEAR(r.field(m), r.expected, 1e-5) << r.name << " = " << r.value;

    const qssdk::quaternion rotation = qssdk::quaternion_from_euler(
        {static_cast<float>(10 * degrees), static_cast<float>(20 * degrees), static_cast<float>(40 * degrees), 0});
    EXPECT_NEAR(m.environmentRotation.x, rotation.x, 1e-5);
    EXPECT_NEAR(m.environmentRotation.y, rotation.y, 1e-5);
    EXPECT_NEAR(m.environmentRotation.z, rotation.z, 1e-5);
    EXPECT_NEAR(m.environmentRotation.w, rotation.w, 1e-5);
}

TEST_F(ParameterGather, EveryPopupChoiceReachesTheRendererAsItsValue) {
    struct choice_row {
        const char* popup;
        const char* choice;
        std::function<double(const material_properties&)> field;
        double expected;
    };
    const auto surface = [](const material_properties& m) { return m.surface; };
    const auto uvType = [](const material_properties& m) { return m.uvType; };
    const auto uvMode = [](const material_properties& m) { return m.uvMode; };
    const auto hemisphere = [](const material_properties& m) { return m.flattenBottom; };
    const choice_row rows[] = {
        {"Surface", "All", surface, surfaceAll},
        {"Surface", "Front", surface, surfaceFront},
        {"Surface", "Back", surface, surfaceBack},
        {"UV Type", "Spherical", uvType, 1},
        {"UV Type", "Box", uvType, 2},
        {"UV Type", "Plane XY", uvType, 3},
        {"UV Type", "Plane XZ", uvType, 4},
        {"UV Type", "Plane ZY", uvType, 5},
        {"UV Mode", "Repeat", uvMode, uvRepeat},
        {"UV Mode", "Mirror", uvMode, uvMirror},
        {"3D Object", "Sphere", hemisphere, 0},
        {"3D Object", "Hemisphere", hemisphere, 1},
    };
    for (const choice_row& r : rows) {
        hostsim::setParamFromText(host->params(), r.popup, r.choice);
        EXPECT_EQ(r.field(drawnMaterial()), r.expected) << r.popup << " = " << r.choice;
    }

    // Each choice names the samples a pixel the frame asks for ("0": none); what the renderer makes of it
    // depends on the GL (this one stops at 4).
    const std::pair<const char*, long long> multisampling[] = {{"0", 0}, {"2", 2}, {"4", 4}, {"8", 8}, {"16", 16}};
    for (const auto& [choice, samples] : multisampling) {
        hostsim::setParamFromText(host->params(), "Multisampling", choice);
        drawnMaterial();
        EXPECT_EQ(takeSamples(), samples) << "Multisampling = " << choice;
    }
}

}  // namespace
