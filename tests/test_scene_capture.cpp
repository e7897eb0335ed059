// The scene capture of the comp camera and lights, read through the simulated host's suites with the
// in_data the host sends for a frame.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "AePluginConnection.h"
#include "HostFixture.h"
#include "SceneCapture.h"
#include "SuiteHandler.h"

namespace {

struct point4 {
    double x = 0, y = 0, z = 0, w = 1;
};

// A row vector times the matrix, as the renderer applies the view and projection.
point4 operator*(const point4& p, const qssdk::mat4& m) {
    const double v[4] = {p.x, p.y, p.z, p.w};
    double r[4] = {};
    for (int c = 0; c < 4; ++c)
        for (int k = 0; k < 4; ++k) r[c] += v[k] * m.at(k, c);
    return {r[0], r[1], r[2], r[3]};
}

// Where a comp point lands on the output, in normalised device coordinates.
point4 project(const camera_record& camera, point4 world) {
    const point4 clip = world * camera.viewMatrix * camera.projMatrix;
    return {clip.x / clip.w, clip.y / clip.w, clip.z / clip.w, clip.w};
}

class SceneCapture : public HostTest {
protected:
    // The records the effect captures for a frame the host renders with this request.
    camera_record camera(const hostsim::frame_request& request = {}) {
        PF_InData in = host->renderInData(request);
        prepareFrame(in);
        command_context context{&in, nullptr, nullptr, nullptr, PF_Err_NONE};
        camera_record record;
        EXPECT_EQ(captureCamera(effect.frame(), record, context), &record);
        return record;
    }
    std::vector<light_properties> lights(const hostsim::frame_request& request = {}) {
        PF_InData in = host->renderInData(request);
        prepareFrame(in);
        command_context context{&in, nullptr, nullptr, nullptr, PF_Err_NONE};
        std::vector<light_properties> result;
        EXPECT_EQ(&captureLights(result, context), &result);
        return result;
    }

    // The output is the whole layer at the frame's resolution, as the render glue records it, unless a
    // test chose a part of it.
    void prepareFrame(const PF_InData& in) {
        if (outputPart) return;
        effect.frame().output.width = static_cast<uint32_t>(in.width);
        effect.frame().output.height = static_cast<uint32_t>(in.height);
    }
    void chooseOutputPart(int x, int y, int width, int height) {
        outputPart = true;
        effect.frame().origin_x = x;
        effect.frame().origin_y = y;
        effect.frame().output.width = static_cast<uint32_t>(width);
        effect.frame().output.height = static_cast<uint32_t>(height);
    }
    bool outputPart = false;

    hostsim::camera_settings lookingAtTheCentre() const {
        hostsim::camera_settings settings;
        const hostsim::Comp& comp = host->comp();
        settings.position = {comp.width / 2.0, comp.height / 2.0, -2000};
        settings.pointOfInterest = hostsim::vec3{comp.width / 2.0, comp.height / 2.0, 0};
        return settings;
    }

    AePluginConnection effect;
};

TEST_F(SceneCapture, WithoutACameraLayerTheDefaultsHold) {
    const camera_record record = camera();
    const double W = host->comp().width, H = host->comp().height, zoom = W * 50 / 36;
    EXPECT_FLOAT_EQ(record.filmSize, 102.0472f);
    EXPECT_FLOAT_EQ(record.zoomRatio, 1);
    EXPECT_FLOAT_EQ(record.focusDistance, 1);
    EXPECT_FLOAT_EQ(record.aperture, 0);
    EXPECT_FLOAT_EQ(record.blurLevel, 0);
    EXPECT_EQ(record.depthOfField, 0);
    EXPECT_EQ(record.orthographic, 0);
    EXPECT_FLOAT_EQ(record.imagePlaneDistance, static_cast<float>(zoom));
    EXPECT_FLOAT_EQ(record.viewSize.x, static_cast<float>(W));
    EXPECT_FLOAT_EQ(record.viewSize.y, static_cast<float>(H));
    EXPECT_FLOAT_EQ(record.eyePosition.x, static_cast<float>(W / 2));
    EXPECT_FLOAT_EQ(record.eyePosition.y, static_cast<float>(H / 2));
    EXPECT_FLOAT_EQ(record.eyePosition.z, static_cast<float>(-zoom));
    EXPECT_EQ(record.eyePosition.w, 0);
    // A perspective frustum: w takes the depth in front of the camera, the far plane is at infinity.
    EXPECT_EQ(record.projMatrix.at(2, 2), -1.0f);
    EXPECT_EQ(record.projMatrix.at(2, 3), -1.0f);
    EXPECT_FLOAT_EQ(record.projMatrix.at(3, 2), -0.02f);
    EXPECT_EQ(record.projMatrix.at(3, 3), 0.0f);
}

TEST_F(SceneCapture, TheDefaultViewFillsTheOutputWithTheComp) {
    const struct {
        int width, height, downsample;
    } cases[] = {{1920, 1080, 1}, {1920, 1080, 2}, {1920, 1080, 3}, {1000, 600, 4}, {640, 480, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + " at 1/" +
                     std::to_string(c.downsample));
        host->comp().width = c.width;
        host->comp().height = c.height;
        const camera_record record = camera({0, 8, c.downsample});
        const double W = c.width, H = c.height;
        const point4 centre = project(record, {W / 2, H / 2, 0});
        EXPECT_NEAR(centre.x, 0, 1e-5);
        EXPECT_NEAR(centre.y, 0, 1e-5);
        EXPECT_GT(centre.w, 0) << "in front of the camera";
        // The comp's corners are the output's: its top-left pixel is GL's lower left.
        const point4 topLeft = project(record, {0, 0, 0}), bottomRight = project(record, {W, H, 0});
        EXPECT_NEAR(topLeft.x, -1, 1e-4);
        EXPECT_NEAR(topLeft.y, -1, 1e-4);
        EXPECT_NEAR(bottomRight.x, 1, 1e-4);
        EXPECT_NEAR(bottomRight.y, 1, 1e-4);
        // A point nearer the camera lies nearer in depth.
        EXPECT_LT(project(record, {W / 2, H / 2, -500}).z, centre.z);
    }
}

TEST_F(SceneCapture, AnOutputThatCoversPartOfTheLayerShowsThatPart) {
    // At half resolution, an output of 480 x 270 pixels from (480, 0): the comp's upper right quarter.
    chooseOutputPart(480, 0, 480, 270);
    hostsim::camera_settings settings;
    settings.position = {960, 540, -host->comp().cameraZoom(nullptr)};
    hostsim::comp_layer& layer = host->comp().addCamera(settings);
    for (AEGP_CameraType type : {AEGP_CameraType_PERSPECTIVE, AEGP_CameraType_ORTHOGRAPHIC}) {
        SCOPED_TRACE(type == AEGP_CameraType_PERSPECTIVE ? "perspective" : "orthographic");
        layer.camera.type = type;
        const camera_record record = camera({0, 8, 2});
        const point4 upperLeft = project(record, {960, 0, 0}), lowerRight = project(record, {1920, 540, 0});
        EXPECT_NEAR(upperLeft.x, -1, 1e-4);
        EXPECT_NEAR(upperLeft.y, -1, 1e-4);
        EXPECT_NEAR(lowerRight.x, 1, 1e-4);
        EXPECT_NEAR(lowerRight.y, 1, 1e-4);
    }
}

TEST_F(SceneCapture, ACameraLayerThatFacesTheCompCentreProjectsItToTheOutputCentre) {
    hostsim::camera_settings settings = lookingAtTheCentre();
    settings.position = {300, 200, -1500};  // off to the upper left, still looking at the centre
    host->comp().addCamera(settings);
    const camera_record record = camera();
    const point4 centre = project(record, {960, 540, 0});
    EXPECT_NEAR(centre.x, 0, 1e-5);
    EXPECT_NEAR(centre.y, 0, 1e-5);
    EXPECT_FLOAT_EQ(record.eyePosition.x, 300);
    EXPECT_FLOAT_EQ(record.eyePosition.z, -1500);
}

// Comp 800 x 450, a camera at (-300, 200, 0) looking along +x at a sphere of radius 80 at (300, 200, 0),
// the positions in comp pixels. In square units the comp's x is widened by the pixel aspect c, so the sphere
// stands 600 c away; seen from the side, its outline is the circle its tangent cone cuts on the image plane
// (half size zoom x tan(asin(r / distance))), which the output's pixels, c square units wide, show c times
// narrower than high: about 67 x 134 pixels at aspect 2.
TEST_F(SceneCapture, ACameraFromTheSideSeesTheSphereRoundUnderEveryPixelAspect) {
    hostsim::Comp& comp = host->comp();
    comp.width = 800;
    comp.height = 450;
    const double zoom = 1000, radius = 80;
    hostsim::camera_settings side;
    side.position = {-300, 200, 0};
    side.pointOfInterest = hostsim::vec3{300, 200, 0};
    side.zoom = zoom;
    comp.addCamera(side);
    const A_Ratio aspects[] = {{1, 1}, {2, 1}, {10, 11}};
    for (const A_Ratio& aspect : aspects) {
        SCOPED_TRACE(testing::Message() << "pixel aspect " << aspect.num << "/" << aspect.den);
        comp.pixelAspect = aspect;
        const double c = static_cast<double>(aspect.num) / aspect.den;
        const camera_record record = camera();
        const point4 centre{300 * c, 200, 0};
        // The outline in output pixels: the extremes of points all over the sphere.
        double left = 1e9, right = -1e9, top = 1e9, bottom = -1e9;
        constexpr double pi = 3.14159265358979323846;
        for (int i = 0; i <= 360; ++i)
            for (int j = 0; j <= 720; ++j) {
                const double polar = pi * i / 360, around = pi * j / 360;
                const point4 surface{centre.x + radius * std::sin(polar) * std::cos(around),
                                     centre.y + radius * std::cos(polar),
                                     centre.z + radius * std::sin(polar) * std::sin(around)};
                const point4 seen = project(record, surface);
                ASSERT_GT(seen.w, 0) << "in front of the camera";
                const double x = (seen.x + 1) / 2 * comp.width, y = (seen.y + 1) / 2 * comp.height;
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
        const double distance = 600 * c, half = zoom * std::tan(std::asin(radius / distance));
        EXPECT_NEAR(bottom - top, 2 * half, 0.05);
        EXPECT_NEAR(right - left, 2 * half / c, 0.05);
        EXPECT_NEAR((left + right) / 2, comp.width / 2.0, 0.05) << "where the camera looks";
        EXPECT_NEAR((top + bottom) / 2, comp.height / 2.0, 0.05);
    }
}

// Lighting sees from where the camera is, in the square units the lights stand in: a light at the
// camera's own place is where the eye is.
TEST_F(SceneCapture, TheEyeStandsWhereALightAtTheCamerasPlaceStands) {
    hostsim::Comp& comp = host->comp();
    hostsim::camera_settings aside = lookingAtTheCentre();
    aside.position = {300, 200, -1500};
    hostsim::comp_layer& cameraLayer = comp.addCamera(aside);
    hostsim::light_settings headlight;
    headlight.position = aside.position;
    hostsim::comp_layer& atTheCamera = comp.addLight(headlight);
    headlight.position = {comp.width / 2.0, comp.height / 2.0, -comp.cameraZoom(nullptr)};
    hostsim::comp_layer& atTheDefaultCamera = comp.addLight(headlight);
    const A_Ratio aspects[] = {{1, 1}, {2, 1}, {10, 11}};
    for (const bool withCamera : {false, true}) {
        cameraLayer.videoOn = withCamera;
        atTheCamera.videoOn = withCamera;
        atTheDefaultCamera.videoOn = !withCamera;
        const hostsim::vec3 place = (withCamera ? atTheCamera : atTheDefaultCamera).light.position;
        for (const A_Ratio& aspect : aspects) {
            SCOPED_TRACE(testing::Message() << (withCamera ? "a camera layer" : "no camera layer")
                                            << ", pixel aspect " << aspect.num << "/" << aspect.den);
            comp.pixelAspect = aspect;
            const vec4 eye = camera().eyePosition;
            const std::vector<light_properties> captured = lights();
            ASSERT_EQ(captured.size(), 1u);
            EXPECT_FLOAT_EQ(eye.x, captured[0].position.x);
            EXPECT_FLOAT_EQ(eye.y, captured[0].position.y);
            EXPECT_FLOAT_EQ(eye.z, captured[0].position.z);
            EXPECT_FLOAT_EQ(eye.x, static_cast<float>(place.x * aspect.num / aspect.den));
        }
    }
}

TEST_F(SceneCapture, AnOrthographicCameraHasAParallelProjection) {
    hostsim::camera_settings settings = lookingAtTheCentre();
    settings.type = AEGP_CameraType_ORTHOGRAPHIC;
    host->comp().addCamera(settings);
    const camera_record record = camera();
    EXPECT_EQ(record.orthographic, 1);
    EXPECT_EQ(record.projMatrix.at(2, 0), 0.0f);
    EXPECT_EQ(record.projMatrix.at(2, 1), 0.0f);
    EXPECT_FLOAT_EQ(record.projMatrix.at(2, 2), -4e-6f);
    EXPECT_EQ(record.projMatrix.at(2, 3), 0.0f);
    EXPECT_FLOAT_EQ(record.projMatrix.at(3, 2), -0.99999994f);
    EXPECT_EQ(record.projMatrix.at(3, 3), 1.0f);
    EXPECT_FLOAT_EQ(record.projMatrix.at(0, 0), 2.0f / 1920);
    const point4 centre = project(record, {960, 540, 0});
    EXPECT_NEAR(centre.x, 0, 1e-5);
    EXPECT_NEAR(centre.y, 0, 1e-5);
    EXPECT_FLOAT_EQ(centre.w, 1);
}

TEST_F(SceneCapture, ANegativeTimeIsCapturedAtCompTimeZero) {
    // A camera only during the first frame: seen at time 0, not at -1 s, not at 1 s.
    hostsim::comp_layer& layer = host->comp().addCamera(lookingAtTheCentre());
    layer.duration = 1.0 / 30;
    EXPECT_NE(camera({-1.0}).zoomRatio, 1.0f);
    EXPECT_FLOAT_EQ(camera({-1.0}).eyePosition.z, -2000);
    EXPECT_FLOAT_EQ(camera({1.0}).zoomRatio, 1.0f);
}

TEST_F(SceneCapture, FilmSizesAreConvertedToHorizontal) {
    const double W = 1920, H = 1080, film = 100, zoom = 2000;
    const struct {
        AEGP_FilmSizeUnits units;
        double horizontal;
    } cases[] = {
        {AEGP_FilmSizeUnits_NONE, film},
        {AEGP_FilmSizeUnits_HORIZONTAL, film},
        {AEGP_FilmSizeUnits_VERTICAL, film * W / H},
        {AEGP_FilmSizeUnits_DIAGONAL, film * W / std::sqrt(W * W + H * H)},
    };
    hostsim::camera_settings settings = lookingAtTheCentre();
    settings.filmSize = film;
    settings.zoom = zoom;
    hostsim::comp_layer& layer = host->comp().addCamera(settings);
    for (const auto& c : cases) {
        SCOPED_TRACE("units " + std::to_string(c.units));
        layer.camera.filmUnits = c.units;
        const camera_record record = camera();
        EXPECT_FLOAT_EQ(record.filmSize, static_cast<float>(c.horizontal));
        EXPECT_FLOAT_EQ(record.zoomRatio, static_cast<float>(zoom * c.horizontal / W));
        EXPECT_FLOAT_EQ(record.imagePlaneDistance, static_cast<float>(zoom));
    }
}

TEST_F(SceneCapture, TheCameraLayersStreamsFillTheRecord) {
    hostsim::camera_settings settings = lookingAtTheCentre();
    settings.depthOfField = true;
    settings.blurLevel = 50;
    settings.aperture = 25;
    settings.focusDistance = 1500;
    hostsim::comp_layer& layer = host->comp().addCamera(settings);
    camera_record record = camera();
    EXPECT_EQ(record.depthOfField, 1);
    EXPECT_FLOAT_EQ(record.blurLevel, 0.5f);
    EXPECT_FLOAT_EQ(record.aperture, 25);
    EXPECT_FLOAT_EQ(record.focusDistance, 1500);
    layer.camera.depthOfField = false;
    record = camera();
    EXPECT_EQ(record.depthOfField, 0);
    EXPECT_FLOAT_EQ(record.blurLevel, 0) << "no blur without depth of field";
}

TEST_F(SceneCapture, OnlyLightLayersThatAreOnAtTheTimeAreCaptured) {
    hostsim::Comp& comp = host->comp();
    const AEGP_LayerIDVal on = comp.addLight({}).id;
    comp.addLight({}).videoOn = false;
    comp.addLight({}).inPoint = 1.5;                  // starts later
    hostsim::comp_layer& ended = comp.addLight({});  // ends exactly at the frame: out of range
    ended.duration = 1.0;
    hostsim::comp_layer& starting = comp.addLight({});  // starts exactly at the frame: in range
    starting.inPoint = 1.0;
    comp.addImage("Picture", hostsim::Image(4, 4));
    comp.addCamera(lookingAtTheCentre());

    std::vector<uint32_t> ids;
    for (const light_properties& light : lights({1.0})) ids.push_back(light.layerId);
    EXPECT_EQ(ids, (std::vector<uint32_t>{static_cast<uint32_t>(on), static_cast<uint32_t>(starting.id)}));
    // A negative time is captured at comp time 0, as the camera is: the lights that start at 0 are on.
    ids.clear();
    for (const light_properties& light : lights({-0.5})) ids.push_back(light.layerId);
    EXPECT_EQ(ids, (std::vector<uint32_t>{static_cast<uint32_t>(on), static_cast<uint32_t>(ended.id)}));
}

// The host hands the effect its layer's time; the lights' in-points and durations are comp times. With the
// effect's layer starting at comp 10 s, a light from comp 10 s to 20 s is on at comp 12 s (layer time 2 s).
TEST_F(SceneCapture, LightsAreSwitchedByCompTimeWhereTheEffectsLayerStartsLater) {
    hostsim::Comp& comp = host->comp();
    comp.effectLayer().inPoint = 10;
    hostsim::comp_layer& tenToTwenty = comp.addLight({});
    tenToTwenty.inPoint = 10;
    tenToTwenty.duration = 10;
    hostsim::comp_layer& early = comp.addLight({});  // comp 0 s to 5 s: on at layer time 2 s, not at comp 12 s
    early.duration = 5;
    const double frame = 1.0 / comp.frameRate;
    const struct {
        double compSeconds;
        bool tenToTwentyOn;
    } cases[] = {{10, true}, {12, true}, {20 - frame, true}, {20, false}, {25, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE("comp time " + std::to_string(c.compSeconds));
        const std::vector<light_properties> captured = lights({c.compSeconds});
        ASSERT_EQ(captured.size(), c.tenToTwentyOn ? 1u : 0u);
        if (c.tenToTwentyOn) {
            EXPECT_EQ(captured[0].layerId, static_cast<uint32_t>(tenToTwenty.id));
        }
    }
}

// The simulated host converts between the effect layer's time and the comp's as the host does: in 64 bits,
// a comp time beyond 32 bits of the effect's scale (2^31 units are about 715828 s here) coming in a coarser
// scale.
TEST_F(SceneCapture, TheHostHandsTheEffectItsLayersTimeAndConvertsItToCompTime) {
    hostsim::Comp& comp = host->comp();
    const A_u_long scale = comp.timeScale();
    const struct {
        double layerStart, compSeconds;
    } cases[] = {{10, 12}, {719990, 720005}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "layer from " << c.layerStart << " s, comp time " << c.compSeconds << " s");
        comp.effectLayer().inPoint = c.layerStart;
        const PF_InData in = host->renderInData({c.compSeconds});
        EXPECT_EQ(in.current_time, static_cast<A_long>((c.compSeconds - c.layerStart) * scale))
            << "the layer's own time";

        SuiteHandler suites(in.pica_basicP);
        const auto* pf = suites.get<AEGP_PFInterfaceSuite1>();
        const auto* layers = suites.get<AEGP_LayerSuite5>();
        ASSERT_TRUE(pf && layers);
        A_Time compTime{};
        ASSERT_EQ(pf->AEGP_ConvertEffectToCompTime(in.effect_ref, in.current_time, in.time_scale, &compTime),
                  A_Err{0});
        EXPECT_EQ(static_cast<double>(compTime.value) / compTime.scale, c.compSeconds);

        AEGP_LayerH effectLayer = nullptr;
        pf->AEGP_GetEffectLayer(in.effect_ref, &effectLayer);
        A_Time inPoint{};
        layers->AEGP_GetLayerInPoint(effectLayer, AEGP_LTimeMode_CompTime, &inPoint);
        EXPECT_EQ(static_cast<double>(inPoint.value) / inPoint.scale, c.layerStart);
        layers->AEGP_GetLayerInPoint(effectLayer, AEGP_LTimeMode_LayerTime, &inPoint);
        EXPECT_EQ(inPoint.value, 0) << "in its own time a layer starts at 0";
    }
}

TEST(HostTime, ATimeBeyond32BitsOfItsScaleComesInACoarserOne) {
    const struct {
        int64_t value;
        A_u_long scale;
        A_Time expected;
    } cases[] = {
        {2147483647, 3000, {2147483647, 3000}},          // fits
        {-2147483648LL, 3000, {-2147483647 - 1, 3000}},  // fits
        {2160000000LL, 3000, {720000, 1}},               // 720000 s
        {-2160015000LL, 3000, {-720005, 1}},
        {2160000100LL, 3000, {21600001, 30}},  // 720000 s and 1/30
        // 720000 s and 1/3000: no exact coarser scale; the finest that holds it, rounded.
        {2160000001LL, 3000, {2147040001, 2982}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << " at scale " << c.scale);
        const A_Time t = hostsim::hostTime(c.value, c.scale);
        EXPECT_EQ(t.value, c.expected.value);
        EXPECT_EQ(t.scale, c.expected.scale);
    }
    // A layer starting at 719990 s: a comp time before it, in the comp's scale, lies 6656.7 s before its
    // start, which its in-point beyond 32 bits of that scale must not turn around.
    hostsim::comp_layer late;
    late.inPoint = 719990;
    EXPECT_EQ(late.layerTimeOf(A_Time{2140000000, 3000}), 2140000000LL - 2159970000LL);
    EXPECT_EQ(late.layerTimeOf(A_Time{0, 3000}), -2159970000LL) << "beyond 32 bits of the comp time's scale";
    const A_Time comp = late.compTimeOf(15 * 3000, 3000);
    EXPECT_EQ(comp.value, 720005);
    EXPECT_EQ(comp.scale, 1u);
    EXPECT_EQ(late.layerTimeOf(comp), 15) << "in the comp time's scale";
}

// Lights switch at comp times beyond 32 bits of the effect's time scale: a light's in-point of 720000 s comes
// at scale 1, and the comp time of a frame of a layer that starts late comes in a coarser scale too.
TEST_F(SceneCapture, LightsAreSwitchedByCompTimesBeyond32BitsOfTheEffectsScale) {
    hostsim::Comp& comp = host->comp();
    comp.effectLayer().inPoint = 719990;
    hostsim::comp_layer& late = comp.addLight({});
    late.inPoint = 720000;
    late.duration = 60;
    hostsim::comp_layer& early = comp.addLight({});  // comp 0 s to 3600 s
    early.duration = 3600;
    const struct {
        double compSeconds;
        bool lateOn;
    } cases[] = {{719995, false}, {720000, true}, {720005, true}, {720060, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE("comp time " + std::to_string(c.compSeconds));
        const std::vector<light_properties> captured = lights({c.compSeconds});
        ASSERT_EQ(captured.size(), c.lateOn ? 1u : 0u) << "the early light is off";
        if (c.lateOn) {
            EXPECT_EQ(captured[0].layerId, static_cast<uint32_t>(late.id));
        }
    }
}

TEST_F(SceneCapture, LightColourIsIntensityTimesColourAndNeverNegative) {
    hostsim::light_settings dim;
    dim.color = {1, 1, 0.5, 0.25};
    dim.intensity = 50;
    hostsim::light_settings negative;
    negative.intensity = -80;
    host->comp().addLight(dim);
    host->comp().addLight(negative);
    const std::vector<light_properties> captured = lights();
    ASSERT_EQ(captured.size(), 2u);
    EXPECT_FLOAT_EQ(captured[0].color.x, 0.5f);
    EXPECT_FLOAT_EQ(captured[0].color.y, 0.25f);
    EXPECT_FLOAT_EQ(captured[0].color.z, 0.125f);
    EXPECT_EQ(captured[0].color.w, 1.0f);
    EXPECT_EQ(captured[1].color.x, 0.0f);
    EXPECT_EQ(captured[1].color.y, 0.0f);
    EXPECT_EQ(captured[1].color.z, 0.0f);
    EXPECT_EQ(captured[1].color.w, 1.0f);
}

TEST_F(SceneCapture, EachLightTypeKeepsItsOwnFields) {
    host->comp().pixelAspect = A_Ratio{3, 2};
    const hostsim::vec3 position{100, 200, -300}, target{100, 200, 100};  // pointing along +z
    auto light = [&](AEGP_LightType type) {
        hostsim::light_settings settings;
        settings.type = type;
        settings.position = position;
        settings.pointOfInterest = target;
        settings.coneAngle = 60;
        settings.coneFeather = 40;
        settings.castsShadows = true;
        settings.falloff = 2;
        return settings;
    };
    for (AEGP_LightType type : {AEGP_LightType_PARALLEL, AEGP_LightType_SPOT, AEGP_LightType_POINT,
                                AEGP_LightType_AMBIENT})
        host->comp().addLight(light(type));
    const std::vector<light_properties> captured = lights();
    ASSERT_EQ(captured.size(), 4u);
    for (const light_properties& l : captured) {
        SCOPED_TRACE("light type " + std::to_string(l.lightType));
        EXPECT_FLOAT_EQ(l.position.x, 150) << "x times the pixel aspect";
        EXPECT_FLOAT_EQ(l.position.y, 200);
        EXPECT_FLOAT_EQ(l.position.z, -300);
        EXPECT_EQ(l.position.w, 0);
        EXPECT_FLOAT_EQ(l.falloff, 2);
        const bool aimed = l.lightType == AEGP_LightType_PARALLEL || l.lightType == AEGP_LightType_SPOT;
        EXPECT_FLOAT_EQ(l.direction.z, aimed ? 1.0f : 0.0f) << "the transform's third row";
        EXPECT_EQ(l.direction.x, 0);
        EXPECT_EQ(l.castsShadows, aimed ? 1u : 0u);
        const bool spot = l.lightType == AEGP_LightType_SPOT;
        EXPECT_FLOAT_EQ(l.coneAngle, spot ? 60 : 0);
        EXPECT_FLOAT_EQ(l.coneFeather, spot ? 0.4f : 0);
        if (!aimed) {
            qssdk::mat4 expected = qssdk::mat4::identity();
            expected.at(3, 0) = 150;
            expected.at(3, 1) = 200;
            expected.at(3, 2) = -300;
            EXPECT_EQ(l.lightTransform, expected);
        }
    }
    EXPECT_EQ(captured[0].lightType, AEGP_LightType_PARALLEL);
    EXPECT_EQ(captured[3].lightType, AEGP_LightType_AMBIENT);
}

}  // namespace
