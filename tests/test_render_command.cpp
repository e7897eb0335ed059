// `pellux-host render` and `pellux-host demo`: the options, parameter values typed as text, and the
// program itself run as a child process.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "ChildProcess.h"
#include "DemoScene.h"
#include "HostFixture.h"
#include "ParamText.h"
#include "RenderCommand.h"
#include "RenderOptions.h"
#include "TempFolder.h"
#include "utf.h"

namespace {

using hostsim::parseRenderOptions;
using hostsim::render_options;

TEST(RenderOptions, EveryOptionIsRead) {
    const render_options o = parseRenderOptions(
        {"--size", "640x360", "--depth", "16", "--downsample", "3", "--frames", "2-5", "--set", "Radius=10",
         "--set", "Color=#FF0000", "--layer", "Diffuse Layer=a.png", "--camera",
         "pos=1,2,3;poi=4,5,6;zoom=900;type=orthographic;film=50;units=diagonal", "--light",
         "type=spot;pos=7,8,9;color=#0080FF;intensity=50;cone=30;feather=20;in=1.5;duration=4", "--light",
         "type=ambient", "--comp-motion-blur", "1", "--layer-start", "0.05", "--host-report", "--pixel-aspect",
         "10/11", "--shutter-angle", "90", "--shutter-phase", "-45", "--sparse-layers", "--out", "shot.png"});
    EXPECT_EQ(o.width, 640);
    EXPECT_EQ(o.height, 360);
    EXPECT_EQ(o.depth, 16);
    EXPECT_EQ(o.downsample, (hostsim::downsample_factors{3, 3}));
    EXPECT_EQ(parseRenderOptions({"--downsample", "2,1", "--out", "a.png"}).downsample,
              (hostsim::downsample_factors{2, 1}));
    EXPECT_EQ(o.pixelAspect.num, 10);
    EXPECT_EQ(o.pixelAspect.den, 11u);
    EXPECT_EQ(parseRenderOptions({"--pixel-aspect", "2", "--out", "a.png"}).pixelAspect.den, 1u);
    EXPECT_EQ(o.shutterAngle, 90);
    EXPECT_EQ(o.shutterPhase, -45);
    EXPECT_TRUE(o.sparseLayers);
    ASSERT_TRUE(o.frames.has_value());
    EXPECT_EQ(*o.frames, std::make_pair(2, 5));
    EXPECT_EQ(o.settings, (std::vector<std::pair<std::string, std::string>>{{"Radius", "10"}, {"Color", "#FF0000"}}));
    ASSERT_EQ(o.layers.size(), 1u);
    EXPECT_EQ(o.layers[0].param, "Diffuse Layer");
    EXPECT_EQ(o.layers[0].file, "a.png");
    ASSERT_TRUE(o.camera.has_value());
    EXPECT_EQ(o.camera->position->z, 3);
    EXPECT_EQ(o.camera->pointOfInterest->x, 4);
    EXPECT_EQ(o.camera->settings.zoom, 900);
    EXPECT_EQ(o.camera->settings.type, AEGP_CameraType_ORTHOGRAPHIC);
    EXPECT_EQ(o.camera->settings.filmSize, 50);
    EXPECT_EQ(o.camera->settings.filmUnits, AEGP_FilmSizeUnits_DIAGONAL);
    ASSERT_EQ(o.lights.size(), 2u);
    const hostsim::light_settings& spot = o.lights[0].settings;
    EXPECT_EQ(spot.type, AEGP_LightType_SPOT);
    EXPECT_EQ(o.lights[0].position->y, 8);
    EXPECT_FALSE(o.lights[0].pointOfInterest.has_value());
    EXPECT_DOUBLE_EQ(spot.color.greenF, 128 / 255.0);
    EXPECT_DOUBLE_EQ(spot.color.blueF, 1.0);
    EXPECT_EQ(spot.intensity, 50);
    EXPECT_EQ(spot.coneAngle, 30);
    EXPECT_EQ(spot.coneFeather, 20);
    EXPECT_EQ(o.lights[0].inPoint, 1.5);
    EXPECT_EQ(o.lights[0].duration, 4);
    EXPECT_EQ(o.lights[1].settings.type, AEGP_LightType_AMBIENT);
    EXPECT_FALSE(o.lights[1].inPoint.has_value());
    EXPECT_FALSE(o.lights[1].duration.has_value());
    EXPECT_TRUE(o.compMotionBlur);
    EXPECT_EQ(o.layerStart, 0.05) << "frame 2 at 30 per second lies after it";
    EXPECT_TRUE(o.hostReport);
    const render_options defaults = parseRenderOptions({"--out", "a.png"});
    EXPECT_FALSE(defaults.hostReport);
    EXPECT_FALSE(defaults.sparseLayers);
    EXPECT_EQ(defaults.downsample, (hostsim::downsample_factors{1, 1}));
    EXPECT_EQ(defaults.pixelAspect.num, 1);
    EXPECT_EQ(defaults.shutterAngle, 180) << "the comp's own";
    EXPECT_EQ(defaults.shutterPhase, -90);
    EXPECT_EQ(o.out, "shot.png");
}

TEST(RenderOptions, TheFileChoosesTheFormatAndFramesAreNumbered) {
    EXPECT_EQ(parseRenderOptions({"--out", "a.png"}).depth, 8);
    EXPECT_EQ(parseRenderOptions({"--out", "a.PFM"}).depth, 32);
    EXPECT_EQ(parseRenderOptions({"--depth", "8", "--out", "a.pfm"}).depth, 8);
    EXPECT_EQ(parseRenderOptions({"--time", "1.5", "--out", "a.png"}).time, 1.5);
    EXPECT_TRUE(parseRenderOptions({"--out", "a.png", "--help"}).help);
    EXPECT_EQ(hostsim::frameFileName("out.png", 3), "out_0003.png");
    EXPECT_EQ(hostsim::frameFileName("C:\\a.b\\shot.pfm", 12345), "C:\\a.b\\shot_12345.pfm");
}

TEST(RenderOptions, FramesAreMadeOneAtATimeUpToTheLastTheHostsTimeHolds) {
    // The last frame's time and one frame step after it still fit the host's 32-bit time.
    EXPECT_EQ(hostsim::lastFrameNumber(), 21474835);
    EXPECT_LE((hostsim::lastFrameNumber() + 1) * int64_t{100}, int64_t{INT32_MAX});
    EXPECT_EQ(parseRenderOptions({"--time", "715827.833", "--out", "a.png"}).time, 715827.833);

    const render_options whole = parseRenderOptions({"--frames", "0-21474835", "--out", "a.png"});
    const hostsim::render_plan plan = hostsim::renderPlan(whole);
    ASSERT_TRUE(plan.frame(21474835).has_value());
    EXPECT_EQ(plan.frame(21474835)->frame, 21474835);
    EXPECT_EQ(plan.frame(21474835)->file, "a_21474835.png");
    EXPECT_FALSE(plan.frame(21474836).has_value()) << "the range ends at its last frame";

    const render_options tail = parseRenderOptions({"--frames", "21474834-21474835", "--out", "a.png"});
    const hostsim::render_plan last = hostsim::renderPlan(tail);
    EXPECT_EQ(last.frame(0)->frame, 21474834);
    EXPECT_EQ(last.frame(1)->frame, 21474835);
    EXPECT_FALSE(last.frame(2).has_value());
}

TEST(RenderOptions, MistakesAreReportedByName) {
    const struct {
        std::vector<std::string> args;
        const char* message;  // a part of the error's text
    } cases[] = {
        {{"--out", "a.png", "--bogus"}, "unknown option --bogus"},
        {{"stray", "--out", "a.png"}, "unexpected argument \"stray\""},
        {{"--size"}, "--size needs a value"},
        {{"--size", "640"}, "give WxH"},
        {{"--size", "0x10", "--out", "a.png"}, "\"0\" is not 1 or more"},
        {{"--size", "40000x10", "--out", "a.png"}, "at most 30000"},
        {{"--depth", "12", "--out", "a.png"}, "give 8, 16 or 32"},
        {{"--depth", "32", "--out", "a.png"}, "give --out a .pfm file"},
        {{"--out", "a.bmp"}, "must end in .png or .pfm"},
        {{"--size", "64x64"}, "--out FILE is required"},
        {{"--downsample", "0", "--out", "a.png"}, "is not 1 or more"},
        {{"--downsample", "2,0", "--out", "a.png"}, "is not 1 or more"},
        {{"--downsample", "1,2,3", "--out", "a.png"}, "give N or X,Y"},
        {{"--pixel-aspect", "0/1", "--out", "a.png"}, "is not 1 or more"},
        {{"--pixel-aspect", "2/x", "--out", "a.png"}, "--pixel-aspect"},
        {{"--shutter-angle", "800", "--out", "a.png"}, "0 to 720 degrees"},
        {{"--shutter-phase", "-400", "--out", "a.png"}, "-360 to 360 degrees"},
        {{"--time", "-1", "--out", "a.png"}, "below 0"},
        {{"--time", "soon", "--out", "a.png"}, "is not a number"},
        {{"--frames", "5-2", "--out", "a.png"}, "0 <= A <= B"},
        {{"--frames", "0-2147483647", "--out", "a.png"}, "frames go up to 21474835"},
        {{"--time", "1e9", "--out", "a.png"}, "the latest time is 715827.833"},
        {{"--frames", "1-2", "--time", "1", "--out", "a.png"}, "exclude each other"},
        {{"--set", "Radius", "--out", "a.png"}, "Parameter Name=value"},
        {{"--layer", "Diffuse Layer=", "--out", "a.png"}, "Layer Parameter=FILE"},
        {{"--camera", "zoom=-5", "--out", "a.png"}, "must be above 0"},
        {{"--camera", "type=fisheye", "--out", "a.png"}, "perspective or orthographic"},
        {{"--camera", "tilt=4", "--out", "a.png"}, "unknown key \"tilt\""},
        {{"--camera", "", "--camera", "", "--out", "a.png"}, "give --camera once"},
        {{"--light", "type=laser", "--out", "a.png"}, "parallel, spot, point or ambient"},
        {{"--light", "pos=1,2", "--out", "a.png"}, "give x,y,z"},
        {{"--light", "color=red", "--out", "a.png"}, "give #RRGGBB"},
        {{"--light", "cone=200", "--out", "a.png"}, "up to 180"},
        {{"--comp-motion-blur", "yes", "--out", "a.png"}, "give 0 or 1"},
        {{"--light", "in=-1", "--out", "a.png"}, "below 0"},
        {{"--light", "duration=0", "--out", "a.png"}, "duration takes seconds above 0"},
        {{"--layer-start", "-2", "--out", "a.png"}, "below 0"},
        {{"--layer-start", "10", "--time", "9.5", "--out", "a.png"}, "lies before --layer-start"},
        {{"--layer-start", "10", "--frames", "299-300", "--out", "a.png"}, "lies before --layer-start"},
    };
    for (const auto& c : cases) {
        std::string joined;
        for (const std::string& a : c.args) joined += a + " ";
        SCOPED_TRACE(joined);
        try {
            parseRenderOptions(c.args);
            ADD_FAILURE() << "accepted";
        } catch (const hostsim::usage_error& error) {
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
        }
    }
}

// Values typed by parameter name, with the real effect's parameter list.
class ParamText : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        ASSERT_EQ(host->send(PF_Cmd_GLOBAL_SETUP), PF_Err_NONE);
        ASSERT_EQ(host->send(PF_Cmd_PARAMS_SETUP), PF_Err_NONE);
    }
    const PF_ParamDef& def(const char* name, PF_ParamType type) {
        return host->params().at(host->params().indexOf(name, type)).def;
    }
    void set(const char* name, const char* text) { hostsim::setParamFromText(host->params(), name, text); }
};

TEST_F(ParamText, EachKindReadsItsOwnNotation) {
    set("Radius", "123.5");
    EXPECT_EQ(def("Radius", PF_Param_FLOAT_SLIDER).u.fs_d.value, 123.5);
    set("Rotation Y", "-45.5");
    EXPECT_EQ(def("Rotation Y", PF_Param_ANGLE).u.ad.value, -45 * 65536 - 32768);
    set("Use Default Lights", "0");
    EXPECT_EQ(def("Use Default Lights", PF_Param_CHECKBOX).u.bd.value, 0);
    set("Illumination Color", "#10A0fF");
    const PF_Pixel c = def("Illumination Color", PF_Param_COLOR).u.cd.value;
    EXPECT_EQ(c.alpha, 255);
    EXPECT_EQ(c.red, 0x10);
    EXPECT_EQ(c.green, 0xA0);
    EXPECT_EQ(c.blue, 0xFF);
    set("Position", "10,-20,30.5");
    EXPECT_EQ(*host->params().at(host->params().indexOf("Position")).point, (std::array<double, 3>{10, -20, 30.5}));
    // Popups by choice text or by number; "Motion Blur" is also a group's name, and that is no obstacle.
    set("Motion Blur", "Off");
    EXPECT_EQ(def("Motion Blur", PF_Param_POPUP).u.pd.value, 3);
    set("Motion Blur", "2");
    EXPECT_EQ(def("Motion Blur", PF_Param_POPUP).u.pd.value, 2);
    set("Multisampling", "4");  // the choice "4", not the fourth choice
    EXPECT_EQ(def("Multisampling", PF_Param_POPUP).u.pd.value, 3);
    set("Multisampling", "5");  // no choice reads "5": the fifth
    EXPECT_EQ(def("Multisampling", PF_Param_POPUP).u.pd.value, 5);
}

TEST_F(ParamText, MistakesNameTheParameter) {
    const struct {
        const char *name, *text, *message;
    } cases[] = {
        {"Radiance", "1", "no parameter named \"Radiance\""},
        {"Diffuse Layer", "x.png", "choose its layer with --layer"},
        {"Material", "1", "no parameter named \"Material\""},  // a group has no value
        {"Radius", "wide", "\"wide\" is not a number"},
        {"Radius", "100001", "\"Radius\" takes values from 0 to 100000"},
        {"Opacity", "-0.5", "from 0 to 1"},
        {"Unlit Only", "yes", "give 0 or 1"},
        {"Color", "#12345", "give #RRGGBB"},
        {"Surface", "Sideways", "give one of All|Front|Back or its number"},
        {"Surface", "4", "give one of All|Front|Back"},
        {"Position", "1,2", "give x,y,z"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + "=" + c.text);
        try {
            set(c.name, c.text);
            ADD_FAILURE() << "accepted";
        } catch (const std::invalid_argument& error) {
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
        }
    }
    EXPECT_EQ(def("Radius", PF_Param_FLOAT_SLIDER).u.fs_d.value, 200) << "a refused value changes nothing";
}

// The scene a command line stages: defaults that depend on the comp, then the values after PARAMS_SETUP.
using RenderStaging = ParamText;
TEST_F(RenderStaging, TheCommandLinesSceneReachesTheComp) {
    TempFolder folder;
    hostsim::Image(6, 3, {0, 0, 1, 1}).save(folder / L"blue.png");
    const std::string blue = qssdk::utf16_to_utf8(folder / L"blue.png");
    const render_options options = parseRenderOptions(
        {"--size", "800x400", "--camera", "zoom=1000", "--light", "type=parallel", "--light",
         "pos=1,2,3;poi=4,5,6;in=2;duration=5", "--layer", "Bump Map Layer=" + blue, "--set", "Radius=55",
         "--comp-motion-blur", "1", "--layer-start", "1", "--time", "3", "--pixel-aspect", "2",
         "--shutter-angle", "270", "--shutter-phase", "0", "--downsample", "1,3", "--sparse-layers", "--out", "x.png"});
    const hostsim::render_plan plan = hostsim::renderPlan(options);
    EXPECT_EQ(plan.downsample, (hostsim::downsample_factors{1, 3}));
    EXPECT_TRUE(plan.sparseLayers);
    ASSERT_TRUE(plan.frame(0).has_value());
    EXPECT_EQ(plan.frame(0)->file, "x.png");
    EXPECT_FALSE(plan.frame(1).has_value());

    hostsim::Comp& comp = host->comp();
    plan.stageComp(*host);
    EXPECT_EQ(comp.width, 800);
    EXPECT_EQ(comp.pixelAspect.num, 2);
    EXPECT_EQ(comp.pixelAspect.den, 1u);
    EXPECT_EQ(comp.shutterAngle, 270);
    EXPECT_EQ(comp.shutterPhase, 0);
    EXPECT_TRUE(comp.motionBlur);
    EXPECT_TRUE(comp.effectLayer().motionBlur);
    EXPECT_EQ(comp.effectLayer().inPoint, 1);
    const hostsim::comp_layer* camera = comp.activeCamera(0);
    ASSERT_NE(camera, nullptr);
    EXPECT_EQ(camera->camera.position.x, 400);
    EXPECT_EQ(camera->camera.position.z, -1000) << "the zoom's distance in front of the centre";
    ASSERT_TRUE(camera->camera.pointOfInterest.has_value());
    EXPECT_EQ(camera->camera.pointOfInterest->y, 200);
    std::vector<const hostsim::comp_layer*> lights, pictures;
    for (const auto& layer : comp.layers()) {
        if (layer->type == AEGP_ObjectType_LIGHT) lights.push_back(layer.get());
        if (layer->image) pictures.push_back(layer.get());
    }
    ASSERT_EQ(lights.size(), 2u);
    EXPECT_EQ(lights[0]->light.type, AEGP_LightType_PARALLEL);
    EXPECT_EQ(lights[0]->light.position.z, -400);
    EXPECT_EQ(lights[0]->light.pointOfInterest.x, 400);
    EXPECT_EQ(lights[1]->light.position.y, 2);
    EXPECT_EQ(lights[1]->light.pointOfInterest.z, 6);
    EXPECT_EQ(lights[0]->inPoint, 0);
    EXPECT_EQ(lights[0]->duration, 3600);
    EXPECT_EQ(lights[1]->inPoint, 2);
    EXPECT_EQ(lights[1]->duration, 5);
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictures[0]->image->width(), 6);

    plan.setValues(*host);
    EXPECT_EQ(def("Radius", PF_Param_FLOAT_SLIDER).u.fs_d.value, 55);
    const hostsim::host_param& bump = host->params().at(host->params().indexOf("Bump Map Layer"));
    EXPECT_EQ(bump.layer, (hostsim::layer_ref{pictures[0]->id, 6, 3}));
}

// The demo's pictures are made here; they must at least be what their names say.
TEST(DemoPictures, ThePlanetTheSkyAndTheRidges) {
    const hostsim::Image planet = hostsim::bandedPlanet(256, 128), sky = hostsim::skyWithSun(256, 128),
                         ridges = hostsim::ridgeHeightMap(128, 64);
    for (const hostsim::Image* image : {&planet, &sky, &ridges})
        for (int y = 0; y < image->height(); ++y)
            for (int x = 0; x < image->width(); ++x) ASSERT_EQ(image->at(x, y).a, 1.0f);

    // The planet is banded: colour changes more down a column than along a row.
    double across = 0, down = 0;
    for (int i = 1; i < 128; ++i) {
        across += std::abs(planet.at(i, 64).g - planet.at(i - 1, 64).g);
        down += std::abs(planet.at(64, i).g - planet.at(64, i - 1).g);
    }
    EXPECT_GT(down, 2 * across);

    // The sun is the sky's brightest spot; the sky above is bluer and brighter than the ground below.
    int brightX = 0, brightY = 0;
    float brightest = 0;
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 256; ++x) {
            const hostsim::rgba& p = sky.at(x, y);
            if (p.r + p.g + p.b > brightest) brightest = p.r + p.g + p.b, brightX = x, brightY = y;
        }
    EXPECT_NEAR(brightX, hostsim::sunAcross * 256, 4);
    EXPECT_NEAR(brightY, hostsim::sunDown * 128, 4);
    const hostsim::rgba above = sky.at(200, 10), below = sky.at(200, 118);
    EXPECT_GT(above.b, above.r);
    EXPECT_GT(above.r + above.g + above.b, below.r + below.g + below.b);

    // The height map is grey and spans most of the range.
    float low = 1, high = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 128; ++x) {
            const hostsim::rgba& p = ridges.at(x, y);
            ASSERT_EQ(p.r, p.g);
            low = std::min(low, p.r);
            high = std::max(high, p.r);
        }
    EXPECT_LT(low, 0.2f);
    EXPECT_GT(high, 0.8f);
}

// The program as ./pellux runs it.
class HostProgram : public ::testing::Test {
protected:
    child_result run(const std::string& args, DWORD boundMs = 60000) {
        return runChild(L"pellux-host.exe " + qssdk::utf8_to_utf16(args), boundMs);
    }
    std::string path(const std::wstring& name) const { return qssdk::utf16_to_utf8(folder / name); }
    static bool exists(const std::string& file) {
        return GetFileAttributesW(qssdk::utf8_to_utf16(file).c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    // The program's lines that start with "pellux-host:".
    static std::vector<std::string> errorLines(const std::string& output) {
        std::vector<std::string> lines;
        std::istringstream in(output);
        for (std::string line; std::getline(in, line);)
            if (line.rfind("pellux-host:", 0) == 0) lines.push_back(line);
        return lines;
    }

    TempFolder folder;
};

TEST_F(HostProgram, ASequenceMayEndAtTheLastFrameTheHostsTimeHolds) {
    const std::string sequence = path(L"late.png");
    const child_result r = run("render --size 8x8 --frames 21474834-21474835 --out \"" + sequence + "\"");
    ASSERT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 0u) << r.output;
    EXPECT_NE(r.output.find("frame 21474835 at 715827.833 s: 8x8, 8 bits"), std::string::npos) << r.output;
    EXPECT_TRUE(exists(path(L"late_21474835.png")));
}

TEST_F(HostProgram, RendersOneFrameOrASequence) {
    const std::string one = path(L"one.png");
    child_result r = run("render --size 320x180 --set \"Radius=80\" --set \"Motion Blur=On\" --light "
                         "\"type=spot;cone=40\" --camera \"zoom=500\" --comp-motion-blur 1 --out \"" + one + "\"");
    ASSERT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 0u) << r.output;
    EXPECT_NE(r.output.find("the frame at 0.000 s: 320x180, 8 bits -> " + one), std::string::npos) << r.output;
    EXPECT_EQ(hostsim::Image::load(qssdk::utf8_to_utf16(one)).width(), 320);

    const std::string sequence = path(L"seq.png");
    r = run("render --size 64x32 --downsample 2 --depth 16 --frames 2-4 --out \"" + sequence + "\"");
    EXPECT_EQ(r.exitCode, 0u) << r.output;
    for (const wchar_t* name : {L"seq_0002.png", L"seq_0003.png", L"seq_0004.png"}) {
        SCOPED_TRACE(qssdk::utf16_to_utf8(name));
        const hostsim::Image frame = hostsim::Image::load(folder / name);
        EXPECT_EQ(frame.width(), 32);
        EXPECT_EQ(frame.height(), 16);
    }
    EXPECT_FALSE(exists(sequence));
    EXPECT_FALSE(exists(path(L"seq_0005.png")));
    EXPECT_NE(r.output.find("frame 3 at 0.100 s: 32x16, 16 bits"), std::string::npos) << r.output;

    const std::string floats = path(L"float.pfm");
    r = run("render --size 16x8 --out \"" + floats + "\"");
    EXPECT_EQ(r.exitCode, 0u) << r.output;
    std::ifstream file(std::filesystem::path(qssdk::utf8_to_utf16(floats)), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes.rfind("PF\n16 8\n-1.0\n", 0), 0u);
    EXPECT_EQ(bytes.size(), 13 + 16 * 8 * 12u);
}

TEST_F(HostProgram, MistakesEndWithOneLineAndAFailingExit) {
    hostsim::Image(4, 4, {1, 1, 1, 1}).save(folder / L"white.png");
    std::ofstream(std::filesystem::path(folder / L"text.png")) << "not a picture";
    const std::string out = path(L"never.png"), missing = path(L"missing.png"), white = path(L"white.png"),
                      text = path(L"text.png");
    const struct {
        std::string args;
        DWORD exitCode;
        std::string message;
    } cases[] = {
        {"render --frobnicate 1 --out \"" + out + "\"", 2, "pellux-host: unknown option --frobnicate"},
        {"render --size 10", 2, "pellux-host: --size \"10\": give WxH"},
        {"render --layer \"Diffuse Layer=" + missing + "\" --out \"" + out + "\"", 1, "no file " + missing},
        {"render --layer \"Diffuse Layer=" + text + "\" --out \"" + out + "\"", 1,
         "opening " + text + " failed: it is not a picture of a kind this host reads (PNG, JPEG)"},
        // A frame the renderer refuses: from the host's render thread the effect shows no window, its report
        // to the debugger follows the code.
        {"render --size 1x16385 --out \"" + out + "\"", 1,
         "pellux-host: the frame: SMART_RENDER failed with 512\n  the effect wrote to the debugger:\n"},
        {"render --size 1x16385 --out \"" + out + "\"", 1,
         "    QS Pellux Exception: render texture size is over maximum supported size\n"},
        {"render --layer \"Shiny Layer=" + white + "\" --out \"" + out + "\"", 1, "no layer named \"Shiny Layer\""},
        {"render --set \"Radiance=3\" --out \"" + out + "\"", 1,
         "pellux-host: --set \"Radiance=3\": the effect has no parameter named \"Radiance\""},
        {"render --set \"Surface=Inside\" --out \"" + out + "\"", 1, "is not a choice of \"Surface\""},
        {"render --out \"" + path(L"no folder\\x.png") + "\"", 1, "cannot write"},
        {"demo", 2, "pellux-host: --out FILE is required"},
        {"frobnicate", 2, "usage: pellux-host COMMAND"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        const child_result r = run(c.args);
        ASSERT_FALSE(r.timedOut);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.output;
        EXPECT_NE(r.output.find(c.message), std::string::npos) << r.output;
        if (c.message.rfind("usage", 0) != 0) {
            EXPECT_EQ(errorLines(r.output).size(), 1u) << r.output;
        }
    }
    EXPECT_FALSE(exists(out));
}

TEST_F(HostProgram, TheHostReportShowsEachFramesPixelCheckoutsAndLayerRenders) {
    hostsim::Image(8, 4, {1, 0, 0, 1}).save(folder / L"red.png");
    hostsim::Image(8, 4, {0, 0, 1, 1}).save(folder / L"blue.png");
    const std::string red = path(L"red.png"), blue = path(L"blue.png");
    // Three motion-blur samples read every map in each of the two frames.
    const child_result r = run("render --size 64x32 --frames 0-1 --set \"Motion Blur=On\" --set \"Motion Blur "
                               "Samples=3\" --layer \"Diffuse Layer=" + red + "\" --layer \"Bump Map Layer=" + blue +
                               "\" --host-report --out \"" + path(L"report.png") + "\"");
    ASSERT_FALSE(r.timedOut);
    ASSERT_EQ(r.exitCode, 0u) << r.output;
    const auto count = [&](const std::string& line) {
        size_t n = 0;
        for (size_t at = r.output.find(line); at != std::string::npos; at = r.output.find(line, at + 1)) ++n;
        return n;
    };
    for (int id : {0, 502, 504, 506, 517, 508})
        EXPECT_EQ(count("\n  checkout " + std::to_string(id) + ": 1 pixel checkouts\n"), 2u) << id << "\n" << r.output;
    for (const std::string& file : {red, blue})
        EXPECT_EQ(count("\n  layer " + file + ": 1 renders\n"), 2u) << file << "\n" << r.output;
    EXPECT_EQ(count("\n  layer "), 4u) << "no other layer was rendered\n" << r.output;
}

TEST_F(HostProgram, TheHostReportGivesEachCheckoutsResultInTheFramesPixelsOfTheFullSizeReference) {
    hostsim::Image(8, 5, {1, 0, 0, 1}).save(folder / L"red.png");
    const child_result r = run("render --size 64x33 --downsample 2 --layer \"Diffuse Layer=" + path(L"red.png") +
                               "\" --host-report --out \"" + path(L"report.png") + "\"");
    ASSERT_FALSE(r.timedOut);
    ASSERT_EQ(r.exitCode, 0u) << r.output;
    for (const char* line : {"\n  checkout 0: result 0,0-32,17 of reference 64x33\n",
                             "\n  checkout 502: result 0,0-4,3 of reference 8x5\n",
                             "\n  checkout 504: result 0,0-0,0 of reference 0x0\n"})
        EXPECT_NE(r.output.find(line), std::string::npos) << line << r.output;
}

TEST_F(HostProgram, HelpListsEveryOption) {
    const child_result r = run("render --help");
    EXPECT_EQ(r.exitCode, 0u);
    for (const char* option : {"--out", "--frames", "--time", "--size", "--depth", "--downsample", "--set", "--layer",
                               "--camera", "--light", "--comp-motion-blur", "--host-report", "--pixel-aspect",
                               "--shutter-angle", "--shutter-phase", "--sparse-layers", "X,Y", ".pfm"})
        EXPECT_NE(r.output.find(option), std::string::npos) << option;
}

// A bound on a run of pellux-host that renders this many pixel samples (pixels times motion-blur samples),
// far above what the work takes: the program's start (the effect's and the renderer's set-up, its shaders)
// takes about 3 s on an idle machine and the demo's frame about 4 s, and a machine busy with a test on every
// core was seen to take more than eight times as long.
DWORD renderBoundMs(int64_t pixelSamples) {
    constexpr DWORD startBoundMs = 60000;
    constexpr double boundMsPerMillionSamples = 20000;
    return startBoundMs + static_cast<DWORD>(boundMsPerMillionSamples * static_cast<double>(pixelSamples) / 1e6);
}

TEST_F(HostProgram, TheDemoRendersItsScene) {
    const std::string out = path(L"demo.png");
    // The demo's frame: 1280x720 with 8 motion-blur samples (hostsim/DemoScene.cpp).
    const DWORD boundMs = renderBoundMs(int64_t{1280} * 720 * 8);
    const child_result r = run("demo --out \"" + out + "\"", boundMs);
    ASSERT_FALSE(r.timedOut) << "the demo's frame of 1280x720 pixels with 8 motion-blur samples was not written within "
                             << boundMs / 1000 << " s; the program said:\n" << r.output;
    EXPECT_EQ(r.exitCode, 0u) << r.output;
    EXPECT_NE(r.output.find("loaded QSPellux.aex: QS Pellux "), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("## QS Pellux "), std::string::npos) << "the banner of global set-up";
    EXPECT_NE(r.output.find("the frame at 1.000 s: 1280x720, 8 bits -> " + out), std::string::npos) << r.output;
    const hostsim::Image picture = hostsim::Image::load(qssdk::utf8_to_utf16(out));
    EXPECT_EQ(picture.width(), 1280);
    EXPECT_EQ(picture.height(), 720);
}

}  // namespace
