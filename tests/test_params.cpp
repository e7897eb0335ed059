// The effect's parameter list and its visibility rules, as the simulated host receives them from the
// real plug-in file.
#include <cstring>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "HostFixture.h"
#include "ParamListing.h"

namespace {

// One parameter as the effect must declare it. Slider ranges are those the effect's rule gives (the
// valid minimum, scaled by the slider factor only when negative; the valid maximum times the factor).
struct expected_param {
    int id;
    PF_ParamType type;
    const char* name;
    float valid_min = 0, valid_max = 0, slider_min = 0, slider_max = 0;
    double dephault = 0;  // float, popup choice, check box state
    int precision = 0;
    PF_ParamFlags flags = 0;
    const char* choices = nullptr;  // popups
    int num_choices = 0;
    const char* label = nullptr;  // check boxes
};

expected_param slider(int id, const char* name, float valid_min, float valid_max, double dephault, int precision,
                      float slider_min, float slider_max) {
    return {id, PF_Param_FLOAT_SLIDER, name, valid_min, valid_max, slider_min, slider_max, dephault, precision};
}
expected_param popup(int id, const char* name, const char* choices, int num_choices, int dephault,
                     PF_ParamFlags flags = 0) {
    expected_param p{id, PF_Param_POPUP, name};
    p.dephault = dephault;
    p.flags = flags;
    p.choices = choices;
    p.num_choices = num_choices;
    return p;
}
expected_param angle(int id, const char* name) {
    expected_param p{id, PF_Param_ANGLE, name};
    p.flags = 0x20;
    return p;
}
expected_param checkbox(int id, const char* name, bool dephault, const char* label) {
    expected_param p{id, PF_Param_CHECKBOX, name};
    p.dephault = dephault;
    p.label = label;
    return p;
}
expected_param color(int id, const char* name) { return {id, PF_Param_COLOR, name}; }
expected_param layer(int id, const char* name) { return {id, PF_Param_LAYER, name}; }
expected_param group(int id, const char* name, bool collapsed) {
    expected_param p{id, PF_Param_GROUP_START, name};
    p.flags = collapsed ? 0x20 : 0;
    return p;
}
expected_param groupEnd(int id) { return {id, PF_Param_GROUP_END, ""}; }

const std::vector<expected_param>& expectedList() {
    static const std::vector<expected_param> list = [] {
        expected_param panel{1, PF_Param_NO_DATA, ""};
        panel.flags = 0x40;
        return std::vector<expected_param>{
            panel,
            popup(10, "3D Object", "Sphere|Hemisphere", 2, 1),
            slider(16, "Radius", 0, 100000, 200, 1, 0, 15),
            {11, PF_Param_POINT_3D, "Position"},
            angle(12, "Rotation X"),
            angle(13, "Rotation Y"),
            angle(14, "Rotation Z"),
            popup(50, "Surface", "All|Front|Back", 3, 2),
            group(200, "Material", false),
            color(202, "Color"),
            slider(203, "Diffuse", 0, 10, 1, 2, 0, 1),
            slider(204, "Glossiness", 0, 1, 1, 2, 0, 1),
            slider(205, "Specular", 0, 10, 1, 2, 0, 1),
            slider(218, "Reflectivity", 0, 10, 0, 2, 0, 1),
            color(209, "Illumination Color"),
            slider(206, "Illumination", 0, 100, 0, 2, 0, 1),
            group(215, "Illumination Options", true),
            slider(207, "Fresnel", -1, 1, 0, 2, -0.5f, 0.5f),
            slider(208, "Fresnel Bias", 0, 10, 1, 2, 0, 2),
            slider(211, "Shadow/Light", -1, 1, 0, 2, -0.6f, 0.6f),
            slider(213, "Shadow/Light Contrast", 0.01f, 10, 3, 2, 0.01f, 10),
            slider(220, "Shadow/Light Expansion", -1, 1, 0, 2, -0.2f, 0.2f),
            slider(214, "Bump Influence", 0, 1, 1, 2, 0, 1),
            groupEnd(216),
            slider(212, "Ambient", 0, 10, 1, 2, 0, 1),
            slider(210, "Opacity", 0, 1, 1, 2, 0, 1),
            group(223, "Advanced Options", true),
            slider(221, "Edge Feather", 0, 1, 0, 2, 0, 0.2f),
            slider(222, "Edge Shrink", 0, 1, 0, 2, 0, 0.2f),
            checkbox(2003, "Unlit Only", false, "Unlit Only"),
            groupEnd(224),
            groupEnd(201),
            group(500, "Maps", true),
            layer(502, "Diffuse Layer"),
            slider(503, "Diffuse Gamma", 0.01f, 10, 2.2f, 2, 0.01f, 2),
            slider(513, "Diffuse Brightness", 0, 10, 1, 2, 0, 2),
            slider(217, "Diffuse Blend", 0, 1, 1, 2, 0, 1),
            layer(504, "Glossiness Layer"),
            slider(505, "Glossiness Gamma", 0.01f, 10, 1, 2, 0.01f, 2),
            slider(514, "Glossiness Brightness", 0, 10, 1, 2, 0, 2),
            layer(506, "Illumination Layer"),
            slider(507, "Illumination Gamma", 0.01f, 10, 2.2f, 2, 0.01f, 2),
            slider(515, "Illumination Brightness", 0, 10, 1, 2, 0, 2),
            layer(508, "Bump Map Layer"),
            slider(512, "Bump Map Intensity", -10, 10, 1, 2, -0.5f, 0.5f),
            checkbox(511, "Use Normal Map", false, ""),
            checkbox(516, "Flip Normal Channels", false, ""),
            slider(219, "Bump Falloff", 0, 1, 0.8f, 2, 0, 1),
            groupEnd(501),
            group(700, "UV", true),
            popup(702, "UV Type", "Spherical|Box|Plane XY|Plane XZ|Plane ZY", 5, 1),
            popup(708, "UV Mode", "Repeat|Mirror", 2, 1),
            slider(703, "UV Repeat X", -100, 100, 1, 2, -1, 1),
            slider(704, "UV Repeat Y", -100, 100, 1, 2, -1, 1),
            slider(705, "UV Offset X", -100, 100, 0, 2, -0.5f, 0.5f),
            slider(706, "UV Offset Y", -100, 100, 0, 2, -0.5f, 0.5f),
            angle(709, "UV Rotation"),
            slider(707, "Box UV Feathering", 0, 1, 0.2f, 2, 0, 1),
            groupEnd(701),
            group(2000, "Render", true),
            group(525, "Environment", true),
            layer(517, "Environment Layer"),
            slider(518, "Environment Gamma", 0.01f, 10, 2.2f, 2, 0.01f, 2),
            slider(519, "Environment Brightness", 0, 10, 1, 2, 0, 2),
            group(520, "Rotate Environment", true),
            angle(522, "Env. Rotation X"),
            angle(523, "Env. Rotation Y"),
            angle(524, "Env. Rotation Z"),
            groupEnd(521),
            groupEnd(526),
            group(2100, "Motion Blur", true),
            popup(2102, "Motion Blur", "Comp Settings|On|Off", 3, 1),
            slider(2103, "Motion Blur Samples", 3, 200, 6, 0, 3, 200),
            slider(2104, "Shutter Angle", 1, 10000, 180, 0, 1, 1000),
            groupEnd(2101),
            checkbox(2005, "Use Default Lights", true, ""),
            slider(2004, "Gamma", 0.01f, 10, 2.2f, 2, 0.01f, 2),
            popup(2002, "Multisampling", "0|2|4|8|16", 5, 4, 0x100),
            groupEnd(2001),
        };
    }();
    return list;
}

class Params : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        ASSERT_EQ(host->send(PF_Cmd_GLOBAL_SETUP), PF_Err_NONE);
        ASSERT_EQ(host->send(PF_Cmd_PARAMS_SETUP), PF_Err_NONE);
    }

    // The disk ids whose streams are hidden now.
    std::set<int> hiddenIds() const {
        std::set<int> ids;
        for (size_t i = 1; i < host->params().count(); ++i) {
            const hostsim::host_param& param = host->params().at(static_cast<PF_ParamIndex>(i));
            if (param.hidden) ids.insert(param.def.uu.id);
        }
        return ids;
    }
};

TEST_F(Params, TheHostReceivesTheWholeListInOrder) {
    const auto& expected = expectedList();
    ASSERT_EQ(expected.size(), 79u);
    EXPECT_EQ(host->lastOutData().num_params, 80);
    ASSERT_EQ(host->params().count(), 80u);

    for (size_t i = 0; i < expected.size(); ++i) {
        const expected_param& e = expected[i];
        const hostsim::host_param& got = host->params().at(static_cast<PF_ParamIndex>(i + 1));
        const PF_ParamDef& def = got.def;
        SCOPED_TRACE("index " + std::to_string(i + 1) + ", id " + std::to_string(e.id) + " " + e.name);
        EXPECT_EQ(def.uu.id, e.id);
        EXPECT_EQ(def.param_type, e.type);
        EXPECT_STREQ(def.name, e.name);
        EXPECT_EQ(def.flags, e.flags);
        switch (e.type) {
        case PF_Param_FLOAT_SLIDER:
            EXPECT_FLOAT_EQ(def.u.fs_d.valid_min, e.valid_min);
            EXPECT_FLOAT_EQ(def.u.fs_d.valid_max, e.valid_max);
            EXPECT_FLOAT_EQ(def.u.fs_d.slider_min, e.slider_min);
            EXPECT_FLOAT_EQ(def.u.fs_d.slider_max, e.slider_max);
            EXPECT_FLOAT_EQ(def.u.fs_d.dephault, static_cast<float>(e.dephault));
            EXPECT_FLOAT_EQ(static_cast<float>(def.u.fs_d.value), static_cast<float>(e.dephault));
            EXPECT_EQ(def.u.fs_d.precision, e.precision);
            EXPECT_EQ(def.u.fs_d.display_flags, 0);
            break;
        case PF_Param_POPUP:
            EXPECT_EQ(got.choices, e.choices);
            EXPECT_EQ(def.u.pd.num_choices, e.num_choices);
            EXPECT_EQ(def.u.pd.dephault, e.dephault);
            EXPECT_EQ(def.u.pd.value, e.dephault);
            break;
        case PF_Param_CHECKBOX:
            EXPECT_EQ(def.u.bd.dephault, e.dephault);
            EXPECT_EQ(def.u.bd.value, e.dephault);
            EXPECT_EQ(got.label, e.label);
            break;
        case PF_Param_ANGLE:
            EXPECT_EQ(def.u.ad.value, 0);
            EXPECT_EQ(def.u.ad.dephault, 0);
            break;
        case PF_Param_COLOR:  // white, opaque
            for (const PF_Pixel& c : {def.u.cd.value, def.u.cd.dephault}) {
                EXPECT_EQ(c.alpha, 255);
                EXPECT_EQ(c.red, 255);
                EXPECT_EQ(c.green, 255);
                EXPECT_EQ(c.blue, 255);
            }
            break;
        case PF_Param_POINT_3D:  // the middle of the layer, in percent
            EXPECT_EQ(def.u.point3d_d.x_dephault, 50);
            EXPECT_EQ(def.u.point3d_d.y_dephault, 50);
            EXPECT_EQ(def.u.point3d_d.z_dephault, 0);
            break;
        case PF_Param_LAYER:
            EXPECT_EQ(def.u.ld.dephault, PF_LayerDefault_NONE);
            break;
        case PF_Param_NO_DATA:  // the controls-panel area
            EXPECT_EQ(def.ui_flags, PF_PUI_CONTROL);
            EXPECT_EQ(def.ui_width, 558);
            EXPECT_EQ(def.ui_height, 84);
            break;
        default:
            break;
        }
    }

    ASSERT_TRUE(host->params().customUi().has_value());
    PF_CustomUIInfo expectedUi{};
    expectedUi.events = PF_CustomEFlag_EFFECT;
    EXPECT_EQ(std::memcmp(&*host->params().customUi(), &expectedUi, sizeof expectedUi), 0);
}

TEST_F(Params, ASecondSetupDeclaresTheSameList) {
    const std::string first = hostsim::paramListing(host->params());
    ASSERT_EQ(host->send(PF_Cmd_PARAMS_SETUP), PF_Err_NONE);
    EXPECT_EQ(host->lastOutData().num_params, 80);
    EXPECT_EQ(hostsim::paramListing(host->params()), first);
}

TEST_F(Params, UpdateParamsUiHidesWhatHasNoEffect) {
    const std::set<int> diffuse{503, 513, 217}, glossiness{505, 514}, illumination{507, 515},
        bump{512, 511, 516, 219}, shutter{2104};
    auto unite = [](std::initializer_list<std::set<int>> sets) {
        std::set<int> all;
        for (const auto& s : sets) all.insert(s.begin(), s.end());
        return all;
    };
    const hostsim::layer_ref picture{2, 640, 480};
    const hostsim::layer_ref none{};

    // Each step changes the host's values, then sends UPDATE_PARAMS_UI; the hidden set must then be exact,
    // so "Motion Blur Samples" and the environment controls are checked never to be hidden.
    const struct {
        const char* what;
        std::function<void(hostsim::ParamStore&)> change;
        std::set<int> hidden;
    } steps[] = {
        {"defaults", [](auto&) {}, unite({diffuse, glossiness, illumination, bump, shutter})},
        {"motion blur on", [](auto& p) { p.setPopup("Motion Blur", 2); },
         unite({diffuse, glossiness, illumination, bump})},
        {"motion blur off", [](auto& p) { p.setPopup("Motion Blur", 3); },
         unite({diffuse, glossiness, illumination, bump, shutter})},
        {"a diffuse layer", [&](auto& p) { p.setLayer("Diffuse Layer", picture); },
         unite({glossiness, illumination, bump, shutter})},
        {"every map layer",
         [&](auto& p) {
             for (const char* name : {"Glossiness Layer", "Illumination Layer", "Bump Map Layer"})
                 p.setLayer(name, picture);
             p.setLayer("Environment Layer", picture);
         },
         shutter},
        {"the diffuse layer taken away", [&](auto& p) { p.setLayer("Diffuse Layer", none); },
         unite({diffuse, shutter})},
        {"motion blur comp settings", [](auto& p) { p.setPopup("Motion Blur", 1); }, unite({diffuse, shutter})},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        step.change(host->params());
        ASSERT_EQ(host->send(PF_Cmd_UPDATE_PARAMS_UI), PF_Err_NONE);
        EXPECT_EQ(hiddenIds(), step.hidden);
    }
}

TEST_F(Params, UpdateParamsUiReadsTheMotionBlurChoiceFromTheValuesItCarries) {
    // A checkout there would recurse into the host, which refuses it (a fault of the effect's).
    for (A_long choice : {2, 3, 2}) {
        SCOPED_TRACE(choice);
        host->params().setPopup("Motion Blur", choice);
        host->params().clearCheckouts();
        ASSERT_EQ(host->send(PF_Cmd_UPDATE_PARAMS_UI), PF_Err_NONE);
        EXPECT_TRUE(host->params().checkouts().empty());
        EXPECT_EQ(host->params().isHidden("Shutter Angle"), choice != 2);
    }
}

// The host's side: the commands that carry the parameter array, its values, and no checkout while the
// controls are updated.
TEST_F(Params, TheHostPassesTheValuesWithTheCommandsThatCarryThemAndRefusesCheckoutsWhileTheControlsUpdate) {
    for (PF_Cmd command : {PF_Cmd_DO_DIALOG, PF_Cmd_FRAME_SETUP, PF_Cmd_RENDER, PF_Cmd_FRAME_SETDOWN,
                           PF_Cmd_USER_CHANGED_PARAM, PF_Cmd_UPDATE_PARAMS_UI, PF_Cmd_EVENT, PF_Cmd_QUERY_DYNAMIC_FLAGS})
        EXPECT_TRUE(hostsim::carriesParams(command)) << command;
    for (PF_Cmd command : {PF_Cmd_ABOUT, PF_Cmd_GLOBAL_SETUP, PF_Cmd_PARAMS_SETUP, PF_Cmd_SEQUENCE_SETUP,
                           PF_Cmd_SEQUENCE_RESETUP, PF_Cmd_SMART_PRE_RENDER, PF_Cmd_SMART_RENDER})
        EXPECT_FALSE(hostsim::carriesParams(command)) << command;

    hostsim::ParamStore& params = host->params();
    params.setFloat("Radius", 10);
    params.setRate("Radius", 4);  // per second
    const A_u_long scale = host->comp().timeScale();
    const std::vector<PF_ParamDef> values = params.valuesAt(static_cast<A_long>(2 * scale), scale, host->effectLayer());
    ASSERT_EQ(values.size(), params.count());
    EXPECT_EQ(values[static_cast<size_t>(params.indexOf("Radius"))].u.fs_d.value, 18) << "the value at that time";
    EXPECT_EQ(values[0].param_type, PF_Param_LAYER) << "the input layer first";
    EXPECT_TRUE(params.checkouts().empty()) << "handing the values over checks nothing out";


    // A store of its own: the refused checkout is a fault, which the fixture's host must not carry.
    hostsim::ParamStore store;
    store.forbidCheckouts("UPDATE_PARAMS_UI");
    PF_ParamDef def{};
    EXPECT_EQ(store.checkout(0, 0, 1, scale, host->effectLayer(), &def), PF_Err_BAD_CALLBACK_PARAM);
    store.allowCheckouts();
    EXPECT_EQ(store.faults(), std::vector<std::string>{"parameter 0 checked out during UPDATE_PARAMS_UI"});
    EXPECT_EQ(store.checkout(0, 0, 1, scale, host->effectLayer(), &def), PF_Err_NONE);
    EXPECT_EQ(store.checkin(&def), PF_Err_NONE);
}

TEST_F(Params, UpdateParamsUiWithoutTheStreamSuitesChangesNothing) {
    host->suites().withdraw(kAEGPDynamicStreamSuite, kAEGPDynamicStreamSuiteVersion2);
    ASSERT_EQ(host->send(PF_Cmd_UPDATE_PARAMS_UI), PF_Err_NONE);
    EXPECT_TRUE(hiddenIds().empty());
}

// Before PARAMS_SETUP the effect knows no index; nothing may be read out of its tables' bounds.
using ParamsNotSetUp = HostTest;
TEST_F(ParamsNotSetUp, UpdateParamsUiIsHarmless) {
    ASSERT_EQ(host->send(PF_Cmd_GLOBAL_SETUP), PF_Err_NONE);
    // The array the host passes holds the input layer alone: "Motion Blur" is not in it.
    EXPECT_EQ(host->send(PF_Cmd_UPDATE_PARAMS_UI), PF_Err_NONE);
    EXPECT_TRUE(host->params().checkouts().empty());
    EXPECT_FALSE(host->params().at(0).hidden);
}

// The host's side of the values: what a checkout and a stream give for values a test sets.
TEST_F(Params, TheHostHandsOutSetValuesInItsOwnUnits) {
    hostsim::ParamStore& params = host->params();
    host->setEffectLayer({1, 1000, 500});
    auto checkout = [&](const char* name, PF_ParamType type) {
        PF_ParamDef def{};
        EXPECT_EQ(params.checkout(params.indexOf(name, type), 0, 1, 30, host->effectLayer(), &def), PF_Err_NONE);
        params.checkin(&def);
        return def;
    };
    const PF_ParamDef position = checkout("Position", PF_Param_POINT_3D);
    EXPECT_EQ(position.u.point3d_d.x_value, 500);
    EXPECT_EQ(position.u.point3d_d.y_value, 250);
    EXPECT_EQ(position.u.point3d_d.z_value, 0);
    params.setPoint("Position", 10, 20, 30);
    EXPECT_EQ(checkout("Position", PF_Param_POINT_3D).u.point3d_d.z_value, 30);

    params.setAngle("Rotation X", 90.5);
    EXPECT_EQ(checkout("Rotation X", PF_Param_ANGLE).u.ad.value, 90 * 65536 + 32768);

    params.setLayer("Diffuse Layer", {4, 320, 200});
    const PF_ParamDef diffuse = checkout("Diffuse Layer", PF_Param_LAYER);
    EXPECT_EQ(diffuse.u.ld.width, 320);
    EXPECT_EQ(diffuse.u.ld.height, 200);
    // Layers nobody chose show their default, which for every map is none, not the effect's own layer.
    for (const char* map : {"Glossiness Layer", "Illumination Layer", "Bump Map Layer", "Environment Layer"}) {
        EXPECT_EQ(checkout(map, PF_Param_LAYER).u.ld.width, 0) << map;
        AEGP_StreamVal chosen{};
        EXPECT_EQ(params.streamValue(params.indexOf(map, PF_Param_LAYER), host->effectLayer(), &chosen), 0);
        EXPECT_EQ(chosen.layer_id, 0) << map;
    }

    const PF_ParamDef surface = checkout("Surface", PF_Param_POPUP);
    EXPECT_STREQ(surface.u.pd.u.namesptr, "All|Front|Back");

    EXPECT_THROW(params.setPopup("Motion Blur", 4), std::invalid_argument);
    EXPECT_THROW(params.isHidden("Motion Blur"), std::invalid_argument) << "a group and a popup share the name";
    EXPECT_THROW(params.setFloat("Surface", 1), std::invalid_argument);
}

// ./pellux params: the listing of the host's program, one line per parameter, every field present.
TEST_F(Params, ThePelluxHostProgramListsTheParameters) {
    const child_result child = runChild(L"pellux-host.exe params", 60000, false);
    ASSERT_FALSE(child.timedOut);
    const DWORD exitCode = child.exitCode;
    const std::string& output = child.output;
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(output, hostsim::paramListing(host->params()));
    std::istringstream lines(output);
    std::string line;
    std::vector<std::string> all;
    while (std::getline(lines, line)) all.push_back(line);
    ASSERT_EQ(all.size(), 79u);
    EXPECT_EQ(all[0], "1\t1\tno-data\t\t\t\t\t\t\t\t0x40\t");
    EXPECT_EQ(all[1], "2\t10\tpopup\t3D Object\t\t\t\t\t1\t\t0x0\tSphere|Hemisphere");
    EXPECT_EQ(all[2], "3\t16\tfloat\tRadius\t0\t100000\t0\t15\t200\t1\t0x0\t");
    EXPECT_EQ(all[3], "4\t11\tpoint3d\tPosition\t\t\t\t\t50,50,0\t\t0x0\t");
    EXPECT_EQ(all[9], "10\t202\tcolor\tColor\t\t\t\t\t#FFFFFF\t\t0x0\t");
    EXPECT_EQ(all[77], "78\t2002\tpopup\tMultisampling\t\t\t\t\t4\t\t0x100\t0|2|4|8|16");
}

}  // namespace
