// Whole frames through the simulated host and the real plug-in: the motion-blur samples and their weights,
// the layer cache across frames, the stage timings, a layer too large, sequence data too small, the
// gathered values as they show in the picture, the default camera's disc, and reference pictures.
//
// The reference pictures are tests/reference/*.png. After a deliberate change of the look, write them anew
// with
//     PELLUX_REGENERATE_REFERENCES=1 ./pellux test -R SmartRenderReference
// look at every picture, and commit them with the change.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "DebugOutput.h"
#include "HostFixture.h"
#include "ReferencePictures.h"
#include "layer_texture_cache.h"

namespace {

using hostsim::Image;
using hostsim::rgba;

// A quarter of full HD keeps llvmpipe quick; the sphere's radius is scaled with it (200 x 480 / 1920).
constexpr int compWidth = 480, compHeight = 270;
constexpr double scaledRadius = 50;

// The host's default camera: a 50 mm lens on 36 mm film across the comp's width, at the zoom distance in
// front of the comp's centre. A sphere of radius R at the centre shows as the disc its tangent cone cuts.
double defaultZoom(int width) { return width * 50.0 / 36.0; }
double discRadius(double zoom, double radius) { return zoom * radius / std::sqrt(zoom * zoom - radius * radius); }

// The covered area, its centre and its semi-axes across and down (those of the ellipse with the same
// second moments: a quarter of a semi-axis squared), from the alpha of every pixel.
struct disc_measure {
    double area = 0, centerX = 0, centerY = 0, varianceX = 0, varianceY = 0;
    double radius() const { return std::sqrt(area / 3.14159265358979323846); }
    double across() const { return 2 * std::sqrt(varianceX); }
    double down() const { return 2 * std::sqrt(varianceY); }
};

disc_measure measureDisc(const Image& image) {
    disc_measure m;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const double a = image.at(x, y).a;
            m.area += a;
            m.centerX += a * (x + 0.5);
            m.centerY += a * (y + 0.5);
        }
    if (m.area <= 0) return m;
    m.centerX /= m.area;
    m.centerY /= m.area;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const double a = image.at(x, y).a;
            m.varianceX += a * (x + 0.5 - m.centerX) * (x + 0.5 - m.centerX);
            m.varianceY += a * (y + 0.5 - m.centerY) * (y + 0.5 - m.centerY);
        }
    m.varianceX /= m.area;
    m.varianceY /= m.area;
    return m;
}

// A box filter to 1/x across and 1/y down, as the host renders a smaller frame; sizes divide evenly here.
Image boxScaled(const Image& image, int x, int y) {
    Image result(image.width() / x, image.height() / y);
    for (int row = 0; row < result.height(); ++row)
        for (int column = 0; column < result.width(); ++column) {
            rgba sum;
            for (int dy = 0; dy < y; ++dy)
                for (int dx = 0; dx < x; ++dx) {
                    const rgba& p = image.at(column * x + dx, row * y + dy);
                    sum.r += p.r, sum.g += p.g, sum.b += p.b, sum.a += p.a;
                }
            const float n = static_cast<float>(x * y);
            result.at(column, row) = {sum.r / n, sum.g / n, sum.b / n, sum.a / n};
        }
    return result;
}

// Pixels (by their centres' distance from the disc's centre) that break `expected`, as text for a failure.
std::string ringMismatches(const Image& image, double centerX, double centerY,
                           const std::function<bool(double distance, const rgba&)>& expected) {
    std::ostringstream text;
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const double distance = std::hypot(x + 0.5 - centerX, y + 0.5 - centerY);
            const rgba& p = image.at(x, y);
            if (expected(distance, p)) continue;
            if (count++ < 5)
                text << "(" << x << ", " << y << ") at " << distance << ": alpha " << p.a << " red " << p.r << "; ";
        }
    if (count == 0) return {};
    return std::to_string(count) + " pixels, first " + text.str();
}

PF_Pixel argb(A_u_char a, A_u_char r, A_u_char g, A_u_char b) { return PF_Pixel{a, r, g, b}; }

// Checks in two colours, opaque.
Image checker(int width, int height, rgba one, rgba two) {
    Image image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.at(x, y) = ((x / 8 + y / 8) % 2) ? one : two;
    return image;
}

// A frame of the real effect, set up as the host does before the first render; values by name.
class SmartRender : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        host->comp().width = compWidth;
        host->comp().height = compHeight;
        host->comp().effectLayer().motionBlur = true;
        ASSERT_EQ(host->send(PF_Cmd_GLOBAL_SETUP), PF_Err_NONE);
        ASSERT_EQ(host->send(PF_Cmd_PARAMS_SETUP), PF_Err_NONE);
        ASSERT_EQ(host->send(PF_Cmd_SEQUENCE_SETUP), PF_Err_NONE);
        params().setFloat("Radius", scaledRadius);
        // Exact values: no multisampled edges and no output gamma, unless a test asks for them.
        params().setPopup("Multisampling", 1);
        params().setFloat("Gamma", 1);
    }
    void TearDown() override {
        if (host) params().refuseCheckout = nullptr;
        if (host && host->sequenceData()) {
            EXPECT_EQ(host->send(PF_Cmd_SEQUENCE_SETDOWN), PF_Err_NONE);
        }
        HostTest::TearDown();
    }

    hostsim::ParamStore& params() { return host->params(); }
    hostsim::Comp& comp() { return host->comp(); }

    // One frame after the user changed values: UPDATE_PARAMS_UI, then the SmartFX commands. The debugger
    // lines and the parameter checkouts are those of the frame alone.
    hostsim::rendered_frame renderFrame(hostsim::frame_request request) {
        EXPECT_EQ(host->send(PF_Cmd_UPDATE_PARAMS_UI), PF_Err_NONE);
        debug.clear();
        params().clearCheckouts();
        return host->renderFrame(request);
    }
    Image render(hostsim::frame_request request = {0, 32, 1}) {
        hostsim::rendered_frame frame = renderFrame(request);
        EXPECT_EQ(frame.record.preRenderResult, PF_Err_NONE);
        EXPECT_EQ(frame.record.renderResult, PF_Err_NONE);
        return frame.output->toImage();
    }

    // The times of the frame's checkouts of a parameter, in order.
    std::vector<A_long> checkoutTimes(const char* name) {
        const PF_ParamIndex index = params().indexOf(name);
        std::vector<A_long> times;
        for (const hostsim::checkout_record& c : params().checkouts())
            if (c.index == index) times.push_back(c.time);
        return times;
    }
    // The layer ids of the frame's "Load Layer" lines, in order.
    std::vector<int> loadedLayers() {
        std::vector<int> ids;
        const std::regex line("Load Layer ([0-9]+): [0-9]+\\.[0-9]{2} ms");
        std::smatch match;
        for (const std::string& text : debug.lines())
            if (std::regex_match(text, match, line)) ids.push_back(std::stoi(match[1]));
        return ids;
    }
    const layer_texture_cache& cache() { return *static_cast<const layer_texture_cache*>(*host->sequenceData()); }

    A_long hostTime(double seconds) { return static_cast<A_long>(std::lround(seconds * comp().timeScale())); }
    rgba center(const Image& image) { return image.at(image.width() / 2, image.height() / 2); }

    hostsim::DebugOutput debug;
};

// --- Smart render ---------------------------------------------------------------------------------------

TEST_F(SmartRender, MotionBlurSamplesTheShutterAndAveragesTheSamples) {
    // The radius shrinks while the shutter is open, so each sample draws a smaller disc: the picture is
    // their mean, rings whose alpha steps by 1/N, and the radius is read once per sample at its time.
    const double frameSeconds = 1, radiusAtFrame = 60, shrink = 1500;  // world units per second
    params().setRate("Radius", -shrink);
    params().setCheckbox("Unlit Only", true);

    // The shutter opens at the comp's phase (in "On" too, where only the angle is the effect's own); each
    // sample is at the latest host time at or before its own, also before the frame's time and before
    // the comp's start.
    const struct {
        const char* name;
        A_long mode;  // "Motion Blur": 1 Comp Settings, 2 On, 3 Off
        double samples, shutterAngle;
        bool compSwitch;  // the comp's switch; the effect layer's is on
        double compShutterAngle, compShutterPhase;
        double seconds;               // the frame's time
        std::vector<A_long> offsets;  // from the frame's time, in the host's units (one frame is 100)
    } cases[] = {
        {"Off", 3, 6, 180, true, 180, -90, frameSeconds, {0}},
        {"On, 6 samples, 180 degrees", 2, 6, 180, false, 180, 0, frameSeconds, {0, 8, 16, 25, 33, 41}},
        {"On, 6.5 samples", 2, 6.5, 180, false, 180, 0, frameSeconds, {0, 7, 14, 21, 28, 35, 42}},
        {"On, 6.49 samples", 2, 6.49, 180, false, 180, 0, frameSeconds, {0, 8, 16, 25, 33, 41}},
        {"Comp Settings, the comp's switch off", 1, 6, 180, false, 180, -90, frameSeconds, {0}},
        {"Comp Settings, both switches on: the comp's shutter", 1, 6, 180, true, 360, 0, frameSeconds,
         {0, 16, 33, 50, 66, 83}},
        {"On, 8 samples at the comp's phase of -90 degrees", 2, 8, 180, false, 180, -90, frameSeconds,
         {-25, -19, -13, -7, 0, 6, 12, 18}},
        {"Comp Settings at the comp's phase of 45 degrees", 1, 4, 180, true, 90, 45, frameSeconds, {12, 18, 25, 31}},
        {"On at -90 degrees in the comp's first frame: times before its start", 2, 4, 180, false, 180, -90, 0,
         {-25, -13, 0, 12}},
    };
    const double zoom = defaultZoom(compWidth);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        params().setPopup("Motion Blur", c.mode);
        params().setFloat("Motion Blur Samples", c.samples);
        params().setFloat("Shutter Angle", c.shutterAngle);
        comp().motionBlur = c.compSwitch;
        comp().shutterAngle = c.compShutterAngle;
        comp().shutterPhase = c.compShutterPhase;
        params().setFloat("Radius", radiusAtFrame + shrink * c.seconds);
        const Image image = render({c.seconds, 32, 1});

        std::vector<A_long> expectedTimes;
        std::vector<double> radii;  // of the discs the samples draw, in pixels
        for (A_long offset : c.offsets) {
            expectedTimes.push_back(hostTime(c.seconds) + offset);
            const double seconds = static_cast<double>(expectedTimes.back()) / comp().timeScale();
            radii.push_back(discRadius(zoom, radiusAtFrame + shrink * (c.seconds - seconds)));
        }
        EXPECT_EQ(checkoutTimes("Radius"), expectedTimes);
        EXPECT_EQ(host->lastInData().current_time, hostTime(c.seconds)) << "the frame's time is put back";

        // Weights 1, 1/2, ... 1/N make the mean: a pixel inside k of the N discs has alpha k / N.
        const double n = static_cast<double>(radii.size());
        const std::string wrong = ringMismatches(
            image, compWidth / 2.0, compHeight / 2.0, [&](double distance, const rgba& p) {
                for (double r : radii)
                    if (std::abs(distance - r) < 1) return true;  // an edge pixel: not checked
                const double inside = static_cast<double>(std::count_if(
                    radii.begin(), radii.end(), [&](double r) { return distance < r; }));
                return std::abs(p.a - inside / n) < 0.01 && std::abs(p.r - p.a) < 0.01;
            });
        EXPECT_EQ(wrong, "");
    }
}

TEST_F(SmartRender, AnUnchangedLayerIsNotUploadedAgain) {
    hostsim::comp_layer& planet = comp().addImage("Planet", checker(64, 32, {1, 0, 0, 1}, {0, 0, 1, 1}));
    const hostsim::comp_layer& ridges = comp().addImage("Ridges", checker(64, 32, {1, 1, 1, 1}, {0, 0, 0, 1}));
    host->setLayerParam("Diffuse Layer", planet.id);
    host->setLayerParam("Bump Map Layer", ridges.id);
    params().setPopup("Motion Blur", 2);  // six samples: still one upload a layer

    render({1, 8, 1});
    EXPECT_EQ(loadedLayers(), (std::vector<int>{502, 508}));
    const layer_texture_cache first = cache();
    EXPECT_NE(first.entries[0].texture, 0u);
    EXPECT_NE(first.entries[3].texture, 0u);
    EXPECT_EQ(first.entries[3].mode, 1u) << "a height map becomes a normal map";

    for (double seconds : {1.0, 2.0}) {
        SCOPED_TRACE(seconds);
        render({seconds, 8, 1});
        EXPECT_EQ(loadedLayers(), std::vector<int>{}) << "nothing changed";
        for (int i = 0; i < layerCacheEntries; ++i) {
            EXPECT_EQ(cache().entries[i].texture, first.entries[i].texture) << "entry " << i;
            EXPECT_EQ(std::memcmp(&cache().entries[i].state, &first.entries[i].state, sizeof(PF_State)), 0)
                << "the host's state token of entry " << i;
        }
    }

    ++planet.revision;  // the layer's content changed
    render({2, 8, 1});
    EXPECT_EQ(loadedLayers(), std::vector<int>{502});
    EXPECT_NE(std::memcmp(&cache().entries[0].state, &first.entries[0].state, sizeof(PF_State)), 0);

    params().setCheckbox("Use Normal Map", true);  // the same bump layer, read another way
    render({2, 8, 1});
    EXPECT_EQ(loadedLayers(), std::vector<int>{508});
    EXPECT_EQ(cache().entries[3].mode, 0u);

    render({2, 8, 1});
    EXPECT_EQ(loadedLayers(), std::vector<int>{});
    render({2, 8, 2});
    EXPECT_EQ(loadedLayers(), (std::vector<int>{502, 508})) << "at half resolution the layers are smaller";
    EXPECT_EQ(cache().entries[0].width, 32u);
}

TEST_F(SmartRender, EachFrameReportsItsStageTimesOnceInOrder) {
    host->setLayerParam("Diffuse Layer", comp().addImage("Planet", Image(16, 8, {1, 1, 1, 1})).id);
    params().setPopup("Motion Blur", 2);
    params().setFloat("Motion Blur Samples", 3);
    const std::regex timing("(Input Render|Render|Output Render|Full Render|Load Layer 502): [0-9]+\\.[0-9]{2} ms");
    const std::vector<std::vector<std::string>> expected = {
        {"Input Render", "Load Layer 502", "Render", "Output Render", "Full Render"},
        {"Input Render", "Render", "Output Render", "Full Render"},  // the layer is kept
    };
    for (const std::vector<std::string>& stages : expected) {
        render();
        std::vector<std::string> seen;
        std::smatch match;
        for (const std::string& line : debug.lines()) {
            EXPECT_TRUE(std::regex_match(line, match, timing)) << line;
            if (!match.empty()) seen.push_back(match[1]);
        }
        EXPECT_EQ(seen, stages);
    }
}

TEST_F(SmartRender, EachMapLayerIsRenderedAndItsPixelsCheckedOutOnceAFrame) {
    // Five layers of their own, and four motion-blur samples that each read every map. The host refuses a
    // second pixel checkout of a checkout id, and renders a layer for every checkout of its parameter.
    const char* const maps[] = {"Diffuse Layer", "Glossiness Layer", "Illumination Layer", "Bump Map Layer",
                                "Environment Layer"};
    std::map<AEGP_LayerIDVal, int> once;
    for (const char* map : maps) {
        const AEGP_LayerIDVal id = comp().addImage(map, checker(16, 8, {1, 0, 0, 1}, {0, 0, 1, 1})).id;
        host->setLayerParam(map, id);
        once[id] = 1;
    }
    params().setPopup("Motion Blur", 2);
    params().setFloat("Motion Blur Samples", 4);
    for (const char* frame : {"uploading the layers", "reusing their textures"}) {
        SCOPED_TRACE(frame);
        const hostsim::rendered_frame rendered = renderFrame({1, 8, 1});
        EXPECT_EQ(rendered.record.renderResult, PF_Err_NONE);
        EXPECT_EQ(rendered.record.faults, std::vector<std::string>{});
        EXPECT_EQ(checkoutTimes("Radius").size(), 4u) << "four samples";
        const std::vector<A_long> ids = rendered.record.checkoutIds();
        EXPECT_EQ(ids, (std::vector<A_long>{0, 502, 504, 506, 517, 508}));
        for (A_long id : ids) {
            const auto& pixels = rendered.record.pixelCheckouts;
            EXPECT_EQ(std::count(pixels.begin(), pixels.end(), id), 1) << "checkout id " << id;
        }
        EXPECT_EQ(rendered.record.layerRenders, once);
        for (const char* map : maps) EXPECT_EQ(checkoutTimes(map), std::vector<A_long>{}) << map;
    }
}

TEST_F(SmartRender, ALayerTooLargeFailsItsFrameAloneAndTheHostHearsWhy) {
    // A layer wider than any texture the driver makes, read by every sample.
    host->setLayerParam("Diffuse Layer", comp().addImage("Too Wide", Image(40000, 1, {1, 1, 1, 1})).id);
    params().setPopup("Motion Blur", 2);
    params().setCheckbox("Unlit Only", true);
    const hostsim::rendered_frame frame = renderFrame({1, 8, 1});

    EXPECT_EQ(frame.record.renderResult, PF_Err_INTERNAL_STRUCT_DAMAGED);
    EXPECT_EQ(host->lastInData().current_time, hostTime(1));
    EXPECT_EQ(host->handles().lockCount(host->sequenceData()), 0u);
    EXPECT_EQ(loadedLayers(), std::vector<int>{}) << "no upload was tried";
    // The frame ran on the host's render thread, where a modal window would hang the host: the report goes
    // to the debugger alone.
    EXPECT_TRUE(host->dialogs().seen().empty());
    const std::vector<std::string> lines = debug.lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "QS Pellux Exception: layer texture size is over maximum supported size: Diffuse Layer is "
                        "40000 x 1 pixels"),
              lines.end());

    // The renderer lives on: the next frame draws.
    host->setLayerParam("Diffuse Layer", 0);
    const hostsim::rendered_frame next = renderFrame({1, 8, 1});
    EXPECT_EQ(next.record.renderResult, PF_Err_NONE);
    EXPECT_FLOAT_EQ(center(next.output->toImage()).a, 1.0f);
    EXPECT_EQ(host->handles().lockCount(host->sequenceData()), 0u);
}

TEST_F(SmartRender, SequenceDataTooSmallForTheCacheGetsAFrameLocalOneAndNothingWrittenPastIt) {
    // The flat form, handed to SMART_RENDER by a host that never set the instance up again. The host's
    // blocks carry guard bytes: a write past this one's 8 bytes is one of its faults.
    host->setLayerParam("Diffuse Layer", comp().addImage("Planet", Image(16, 8, {0, 0, 1, 1})).id);
    params().setCheckbox("Unlit Only", true);
    const PF_Handle own = host->sequenceData();
    const PF_Handle flat = host->handles().create(8);
    const unsigned char header[8] = {'Q', 'S', 'C', 'H', 'F', 0, 0, 1};
    std::memcpy(*flat, header, sizeof header);
    host->setSequenceData(flat);
    for (int frame = 0; frame < 2; ++frame) {
        SCOPED_TRACE(frame);
        const Image image = render();
        EXPECT_NEAR(center(image).b, 1.0f, 1e-3) << "drawn with the map";
        EXPECT_EQ(loadedLayers(), std::vector<int>{502}) << "a frame-local cache is made anew each frame";
        EXPECT_EQ(std::memcmp(*flat, header, sizeof header), 0);
        EXPECT_EQ(host->handles().lockCount(flat), 0u);
        EXPECT_EQ(host->handles().faults(), std::vector<std::string>{});
    }
    host->setSequenceData(own);
    host->handles().dispose(flat);
    EXPECT_EQ(host->handles().faults(), std::vector<std::string>{});
}

TEST_F(SmartRender, AFailedMapCheckoutIsReturnedWhenTheFrameEnds) {
    params().setCheckbox("Unlit Only", true);
    host->setLayerParam("Diffuse Layer", comp().addImage("Planet", Image(16, 8, {0, 0, 1, 1})).id);
    host->setLayerParam("Bump Map Layer", comp().addImage("Ridges", Image(16, 8, {1, 1, 1, 1})).id);
    host->refuseLayerPixels = [](A_long id) { return id == 502; };
    const hostsim::rendered_frame frame = renderFrame({0, 32, 1});
    host->refuseLayerPixels = nullptr;

    EXPECT_EQ(frame.record.renderResult, PF_Err_OUT_OF_MEMORY) << "the checkouts after it succeeded";
    EXPECT_EQ(loadedLayers(), std::vector<int>{508}) << "the gather goes on";
    const rgba seen = center(frame.output->toImage());
    EXPECT_FLOAT_EQ(seen.a, 1.0f);
    EXPECT_NEAR(seen.r, 1.0f, 1e-3) << "drawn without the diffuse map";
}

TEST_F(SmartRender, APreRenderWithoutItsExtraRecordFailsWithoutReadingThroughIt) {
    host->dialogs().clear();
    EXPECT_EQ(host->send(PF_Cmd_SMART_PRE_RENDER), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_TRUE(host->dialogs().seen().empty()) << "nothing faulted and nothing was reported";
    EXPECT_EQ(render().width(), compWidth) << "the next frame draws";
}

// --- Gather ---------------------------------------------------------------------------------------------

TEST_F(SmartRender, MaterialValuesReachTheUnlitColour) {
    params().setCheckbox("Unlit Only", true);
    const float grey = 128 / 255.0f;
    const struct {
        const char* name;
        PF_Pixel color;
        double opacity;
        PF_Pixel illuminationColor;
        double illumination, gamma;
        rgba expected;  // premultiplied, at the disc's centre
    } cases[] = {
        {"Opacity 0.5 of white", argb(255, 255, 255, 255), 0.5, argb(255, 255, 255, 255), 0, 1, {0.5f, 0.5f, 0.5f, 0.5f}},
        {"Illumination 0 of red on black", argb(255, 0, 0, 0), 1, argb(255, 255, 0, 0), 0, 1, {0, 0, 0, 1}},
        {"Illumination 0.5 of red on black", argb(255, 0, 0, 0), 1, argb(255, 255, 0, 0), 0.5, 1, {0.5f, 0, 0, 1}},
        {"mid grey, Gamma 1", argb(255, 128, 128, 128), 1, argb(255, 255, 255, 255), 0, 1, {grey, grey, grey, 1}},
        {"mid grey, Gamma 2.2", argb(255, 128, 128, 128), 1, argb(255, 255, 255, 255), 0, 2.2,
         {std::pow(grey, 1 / 2.2f), std::pow(grey, 1 / 2.2f), std::pow(grey, 1 / 2.2f), 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        params().setColor("Color", c.color);
        params().setFloat("Opacity", c.opacity);
        params().setColor("Illumination Color", c.illuminationColor);
        params().setFloat("Illumination", c.illumination);
        params().setFloat("Gamma", c.gamma);
        const Image image = render();
        const rgba seen = center(image);
        EXPECT_NEAR(seen.r, c.expected.r, 2e-3);
        EXPECT_NEAR(seen.g, c.expected.g, 2e-3);
        EXPECT_NEAR(seen.b, c.expected.b, 2e-3);
        EXPECT_NEAR(seen.a, c.expected.a, 2e-3);
        EXPECT_EQ(image.at(0, 0).a, 0.0f) << "outside the disc";
    }
}

TEST_F(SmartRender, TheDefaultLightsStandInOnlyWithoutCompLights) {
    const double radius = discRadius(defaultZoom(compWidth), scaledRadius);
    const int cx = compWidth / 2, cy = compHeight / 2;
    const int d = static_cast<int>(radius * 0.5);
    // The parallel light shines from the upper left; the ambient light (0.2) alone lights the far side.
    const Image lit = render();
    const rgba upperLeft = lit.at(cx - d, cy - d), lowerRight = lit.at(cx + d, cy + d);
    EXPECT_GT(upperLeft.r, 0.5f);
    EXPECT_NEAR(lowerRight.r, 0.2f, 0.01f);
    EXPECT_NEAR(lowerRight.g, 0.2f, 0.01f);
    EXPECT_FLOAT_EQ(lowerRight.a, 1.0f);

    params().setCheckbox("Use Default Lights", false);
    const Image dark = render();
    EXPECT_EQ(ringMismatches(dark, compWidth / 2.0, compHeight / 2.0,
                             [&](double distance, const rgba& p) {
                                 if (distance > radius - 1) return true;
                                 return p.a == 1.0f && std::max({p.r, p.g, p.b}) < 0.5f / 255;
                             }),
              "");

    // A comp light takes their place whatever the check box says: an ambient light at 50 % alone.
    hostsim::light_settings ambient;
    ambient.type = AEGP_LightType_AMBIENT;
    ambient.intensity = 50;
    comp().addLight(ambient);
    for (bool defaults : {false, true}) {
        SCOPED_TRACE(defaults ? "Use Default Lights on" : "Use Default Lights off");
        params().setCheckbox("Use Default Lights", defaults);
        const Image even = render();
        for (const rgba& p : {even.at(cx - d, cy - d), even.at(cx + d, cy + d)}) {
            EXPECT_NEAR(p.r, 0.5f, 0.01f);
            EXPECT_FLOAT_EQ(p.a, 1.0f);
        }
    }
}

// --- Images ---------------------------------------------------------------------------------------------

TEST_F(SmartRender, TheDefaultSphereIsTheDiscTheDefaultCameraSees) {
    params().setCheckbox("Unlit Only", true);
    const struct {
        int width, height;
        double radius;
    } comps[] = {{1920, 1080, 200}, {compWidth, compHeight, scaledRadius}};  // full HD with the default radius
    for (const auto& c : comps) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        comp().width = c.width;
        comp().height = c.height;
        params().setFloat("Radius", c.radius);
        const double radius = discRadius(defaultZoom(c.width), c.radius);
        const Image image = render();
        ASSERT_EQ(image.width(), c.width);
        const disc_measure seen = measureDisc(image);
        EXPECT_NEAR(seen.radius(), radius, 1.0);
        EXPECT_NEAR(seen.centerX, c.width / 2.0, 0.5);
        EXPECT_NEAR(seen.centerY, c.height / 2.0, 0.5);
        EXPECT_EQ(ringMismatches(image, c.width / 2.0, c.height / 2.0,
                                 [&](double distance, const rgba& p) {
                                     if (distance > radius + 1) return p.a == 0.0f && p.r == 0.0f;
                                     if (distance < radius - 1) return p.a == 1.0f && p.r == 1.0f;
                                     return true;
                                 }),
                  "");
    }
}

TEST_F(SmartRender, EveryDepthGivesTheSamePicture) {
    params().setFloat("Gamma", 2.2);  // lit, with the output gamma, and multisampled edges
    params().setPopup("Multisampling", 3);
    // A float output keeps what lies above 1 (the specular highlight); the integer depths saturate it,
    // so the float picture is compared with its straight colour clipped to 1.
    Image deep = render({0, 32, 1});
    float brightest = 0;
    for (int y = 0; y < deep.height(); ++y)
        for (int x = 0; x < deep.width(); ++x) {
            rgba& p = deep.at(x, y);
            brightest = std::max({brightest, p.r, p.g, p.b});
            for (float* c : {&p.r, &p.g, &p.b}) *c = std::min(*c, p.a);
        }
    EXPECT_GT(brightest, 1.0f) << "the float output is not clipped";
    for (int bits : {8, 16}) {
        SCOPED_TRACE(bits);
        const reference_pictures::difference d = reference_pictures::compare(render({0, bits, 1}), deep);
        EXPECT_LE(d.max, 1.0f / 255 + 1e-4f);
    }
}

TEST_F(SmartRender, TheHostsRowPaddingIsLeftAsTheHostGaveIt) {
    params().setFloat("Gamma", 2.2);
    for (int bits : {8, 16, 32}) {
        SCOPED_TRACE(bits);
        const hostsim::rendered_frame plain = renderFrame({0, bits, 1});
        const hostsim::rendered_frame padded = renderFrame({0, bits, 1, 28});
        ASSERT_EQ(padded.record.renderResult, PF_Err_NONE);
        EXPECT_EQ(padded.output->def().rowbytes, compWidth * 4 * (bits / 8) + 28);
        EXPECT_EQ(padded.output->changedPaddingBytes(), 0u) << "bytes of the host's padding written";
        const reference_pictures::difference d =
            reference_pictures::compare(padded.output->toImage(), plain.output->toImage());
        EXPECT_EQ(d.max, 0.0f) << "the padded rows hold the same picture";
    }
}

TEST_F(SmartRender, AtHalfResolutionTheDiscIsHalfAsLarge) {
    params().setCheckbox("Unlit Only", true);
    const double radius = discRadius(defaultZoom(compWidth), scaledRadius);
    const Image image = render({0, 32, 2});
    ASSERT_EQ(image.width(), compWidth / 2);
    const disc_measure seen = measureDisc(image);
    EXPECT_NEAR(seen.radius(), radius / 2, 1.0);
    EXPECT_NEAR(seen.centerX, compWidth / 4.0, 0.5);
    EXPECT_NEAR(seen.centerY, compHeight / 4.0, 0.5);
}

TEST_F(SmartRender, TheSphereStaysWhereTheCameraLooksUnderEveryPixelAspectAndDownsampling) {
    // A sphere is round in square units: on the comp's pixels it is 1 / aspect as wide as it is high, and
    // on the output each axis is divided by its own downsample factor. Each camera looks straight down z at
    // the point where the sphere stands, so the disc's centre is the output's centre and its semi-axes
    // follow from the tangent cone (perspective) or from the radius itself (orthographic).
    params().setCheckbox("Unlit Only", true);
    const double zoom = defaultZoom(compWidth);
    const hostsim::vec3 middle{compWidth / 2.0, compHeight / 2.0, 0}, aside{330, 100, 0};
    const double asideDistance = 900;
    hostsim::camera_settings likeTheDefault;  // where the host's default camera is, with its zoom
    likeTheDefault.position = {middle.x, middle.y, -zoom};
    likeTheDefault.pointOfInterest = middle;
    hostsim::comp_layer& sameCamera = comp().addCamera(likeTheDefault);
    hostsim::camera_settings offCentre;
    offCentre.position = {aside.x, aside.y, -asideDistance};
    offCentre.pointOfInterest = aside;
    hostsim::comp_layer& asideCamera = comp().addCamera(offCentre);
    const double perspectiveAside =
        zoom * scaledRadius / std::sqrt(asideDistance * asideDistance - scaledRadius * scaledRadius);
    const struct {
        const char* name;
        hostsim::comp_layer* camera;  // null: no camera layer
        AEGP_CameraType type;
        hostsim::vec3 sphere;
        double radius;  // of the disc on the comp's pixels, down
    } views[] = {
        {"no camera layer", nullptr, AEGP_CameraType_PERSPECTIVE, middle, discRadius(zoom, scaledRadius)},
        {"a camera layer like the default camera", &sameCamera, AEGP_CameraType_PERSPECTIVE, middle,
         discRadius(zoom, scaledRadius)},
        {"a perspective camera aside", &asideCamera, AEGP_CameraType_PERSPECTIVE, aside, perspectiveAside},
        {"an orthographic camera aside", &asideCamera, AEGP_CameraType_ORTHOGRAPHIC, aside, scaledRadius},
    };
    const A_Ratio aspects[] = {{2, 1}, {10, 11}};
    const hostsim::downsample_factors downsamplings[] = {{1, 1}, {2, 1}, {1, 2}, {3, 3}};
    for (const A_Ratio& aspect : aspects) {
        comp().pixelAspect = aspect;
        const double c = static_cast<double>(aspect.num) / aspect.den;
        std::map<std::pair<int, int>, Image> withoutCamera;
        for (const auto& view : views) {
            sameCamera.videoOn = view.camera == &sameCamera;
            asideCamera.videoOn = view.camera == &asideCamera;
            asideCamera.camera.type = view.type;
            params().setPoint("Position", view.sphere.x, view.sphere.y, view.sphere.z);
            for (const hostsim::downsample_factors& ds : downsamplings) {
                SCOPED_TRACE(testing::Message() << view.name << ", pixel aspect " << aspect.num << "/" << aspect.den
                                                << ", downsampled " << ds.x << "," << ds.y);
                const Image image = render({0, 32, ds});
                ASSERT_EQ(image.width(), compWidth / ds.x);
                ASSERT_EQ(image.height(), compHeight / ds.y);
                const disc_measure seen = measureDisc(image);
                EXPECT_NEAR(seen.centerX, compWidth / 2.0 / ds.x, 0.5);
                EXPECT_NEAR(seen.centerY, compHeight / 2.0 / ds.y, 0.5);
                EXPECT_NEAR(seen.across(), view.radius / c / ds.x, 0.75);
                EXPECT_NEAR(seen.down(), view.radius / ds.y, 0.75);
                const std::pair<int, int> key{ds.x, ds.y};
                if (!view.camera) withoutCamera[key] = image;
                if (view.camera == &sameCamera) {
                    EXPECT_EQ(reference_pictures::compare(image, withoutCamera[key]).max, 0.0f)
                        << "the same picture as without a camera layer";
                }
            }
        }
    }
}

TEST_F(SmartRender, ADownsampledFrameIsTheFullFrameScaledOnEachAxis) {
    // Lit, off the centre, so that a wrong factor on either axis moves, squeezes or shades the disc.
    params().setPoint("Position", 300, 100, 0);
    const Image full = render({0, 32, 1});
    const hostsim::downsample_factors downsamplings[] = {{2, 1}, {1, 2}};
    for (const hostsim::downsample_factors& ds : downsamplings) {
        SCOPED_TRACE(testing::Message() << "downsampled " << ds.x << "," << ds.y);
        const Image scaled = boxScaled(full, ds.x, ds.y);
        const Image image = render({0, 32, ds});
        ASSERT_EQ(image.width(), scaled.width());
        ASSERT_EQ(image.height(), scaled.height());
        const disc_measure want = measureDisc(scaled), seen = measureDisc(image);
        EXPECT_NEAR(seen.centerX, want.centerX, 0.25);
        EXPECT_NEAR(seen.centerY, want.centerY, 0.25);
        EXPECT_NEAR(seen.across(), want.across(), 0.25);
        EXPECT_NEAR(seen.down(), want.down(), 0.25);
        EXPECT_NEAR(seen.area, want.area, want.area * 0.01);
        const reference_pictures::difference d = reference_pictures::compare(image, scaled);
        EXPECT_LE(d.mean, 0.004) << "the shading of the full frame";
    }
}

TEST_F(SmartRender, TheSamplesOpenAtTheCompsShutterPhaseAsItsLightsDo) {
    // An ambient light that comes on at the frame's time, and no default lights: a sample before it is
    // black. At 180 degrees the shutter opens a quarter frame early at a phase of -90 degrees, so half of
    // the 8 samples are lit; at a phase of 0 all of them are.
    params().setCheckbox("Use Default Lights", false);
    params().setPopup("Motion Blur", 2);
    params().setFloat("Motion Blur Samples", 8);
    params().setFloat("Shutter Angle", 180);
    const double frameSeconds = 1;
    hostsim::light_settings ambient;
    ambient.type = AEGP_LightType_AMBIENT;
    comp().addLight(ambient).inPoint = frameSeconds;
    const struct {
        double phase, litShare;
    } cases[] = {{0, 1.0}, {-90, 0.5}, {-180, 0.0}};
    float allLit = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "phase " << c.phase);
        comp().shutterPhase = c.phase;
        const rgba seen = center(render({frameSeconds, 32, 1}));
        EXPECT_FLOAT_EQ(seen.a, 1.0f);
        if (c.litShare == 1.0) allLit = seen.r;
        EXPECT_GT(allLit, 0.1f) << "lit by the ambient light";
        EXPECT_NEAR(seen.r, allLit * c.litShare, 1e-3);
    }
}

TEST_F(SmartRender, ALightLateInALongCompLightsTheSphere) {
    // A light from 700000 s for 100000 s: its end lies past the host's 32-bit times (2^31 units are
    // about 715828 s here), though its in-point and duration do not. It is on, so no default light is.
    params().setCheckbox("Unlit Only", false);
    hostsim::light_settings ambient;
    ambient.type = AEGP_LightType_AMBIENT;
    ambient.intensity = 50;
    hostsim::comp_layer& late = comp().addLight(ambient);
    late.inPoint = 700000;
    late.duration = 100000;
    const double frameSeconds = 710000;
    ASSERT_GT((late.inPoint + late.duration) * comp().timeScale(), 2147483647.0);
    const Image image = render({frameSeconds, 32, 1});
    const double radius = discRadius(defaultZoom(compWidth), scaledRadius);
    const int d = static_cast<int>(radius * 0.5);
    const int cx = compWidth / 2, cy = compHeight / 2;
    for (const rgba& p : {image.at(cx - d, cy - d), image.at(cx + d, cy + d)}) {
        EXPECT_NEAR(p.r, 0.5f, 0.01f) << "the late light alone, evenly";
        EXPECT_FLOAT_EQ(p.a, 1.0f);
    }
}

TEST_F(SmartRender, AMapLayerHandedOverTrimmedGivesThePictureOfTheWholeLayer) {
    // Checks with transparent margins of their own sizes, as a text layer has: trimmed to its content, the
    // layer comes with the result rectangle that says where its pixels lie. Every map layer is used so.
    Image margined(96, 48);
    for (int y = 10; y < 40; ++y)
        for (int x = 20; x < 86; ++x)
            margined.at(x, y) = ((x / 6 + y / 6) % 2) ? rgba{1, 0.5f, 0, 1} : rgba{0, 0.2f, 1, 1};
    const AEGP_LayerIDVal id = comp().addImage("Text", margined).id;
    params().setFloat("Gamma", 2.2);
    params().setFloat("Reflectivity", 0.5);
    for (const char* map : {"Diffuse Layer", "Glossiness Layer", "Illumination Layer", "Bump Map Layer",
                            "Environment Layer"})
        host->setLayerParam(map, id);
    const hostsim::downsample_factors downsamplings[] = {{1, 1}, {2, 1}};
    for (const hostsim::downsample_factors& ds : downsamplings) {
        SCOPED_TRACE(testing::Message() << "downsampled " << ds.x << "," << ds.y);
        hostsim::frame_request request{0, 32, ds};
        const Image whole = render(request);
        request.sparseLayers = true;
        const hostsim::rendered_frame trimmed = renderFrame(request);
        ASSERT_EQ(trimmed.record.renderResult, PF_Err_NONE);
        for (const hostsim::frame_record::checkout& c : trimmed.record.layerCheckouts) {
            if (c.id == 0) continue;
            EXPECT_EQ(c.result.left, 20 / ds.x) << "checkout id " << c.id << " handed over trimmed";
            EXPECT_EQ(c.result.top, 10);
            EXPECT_EQ(c.result.right, 86 / ds.x);
            EXPECT_EQ(c.result.bottom, 40);
        }
        EXPECT_EQ(reference_pictures::compare(trimmed.output->toImage(), whole).max, 0.0f);
        EXPECT_GT(center(whole).a, 0.0f);
    }
}

TEST_F(SmartRender, EveryMapLayerAtEveryDownsamplingIsTheFullFrameScaledWholeOrTrimmed) {
    // The host's checkout gives the layer's size at full resolution and its rectangles at the frame's: at a
    // reduced resolution a map handed over whole must still cover the whole layer, and one handed over
    // trimmed must land where the whole one does. Each map alone, on a small comp; the layer's size does
    // not divide by 2 or 3, so the host's rounding of a downsampled layer counts too.
    comp().width = 240;
    comp().height = 132;
    params().setFloat("Radius", 40);
    params().setFloat("Gamma", 2.2);
    params().setFloat("Reflectivity", 0.5);
    Image margined(97, 49);
    for (int y = 7; y < 43; ++y)
        for (int x = 11; x < 89; ++x)
            margined.at(x, y) = {x / 97.0f, 0.3f + y / 98.0f, 1 - x / 120.0f, 1};
    const AEGP_LayerIDVal id = comp().addImage("Margined", margined).id;
    const hostsim::downsample_factors downsamplings[] = {{2, 2}, {3, 1}, {1, 2}};
    for (const char* map : {"No map", "Diffuse Layer", "Glossiness Layer", "Illumination Layer", "Bump Map Layer",
                            "Environment Layer"}) {
        const bool none = std::string(map) == "No map";  // the frame's own scaling, for a failure to be read by
        if (!none) host->setLayerParam(map, id);
        const Image full = render({0, 32, 1});
        hostsim::frame_request fullTrimmed{0, 32, 1};
        fullTrimmed.sparseLayers = true;
        EXPECT_EQ(reference_pictures::compare(render(fullTrimmed), full).max, 0.0f) << map << " trimmed at full size";
        for (const hostsim::downsample_factors& ds : downsamplings) {
            SCOPED_TRACE(testing::Message() << map << ", downsampled " << ds.x << "," << ds.y);
            const Image scaled = boxScaled(full, ds.x, ds.y);
            hostsim::frame_request request{0, 32, ds};
            const Image whole = render(request);
            ASSERT_EQ(whole.width(), scaled.width());
            ASSERT_EQ(whole.height(), scaled.height());
            const disc_measure want = measureDisc(scaled), seen = measureDisc(whole);
            EXPECT_NEAR(seen.centerX, want.centerX, 0.25);
            EXPECT_NEAR(seen.centerY, want.centerY, 0.25);
            EXPECT_NEAR(seen.area, want.area, want.area * 0.01);
            request.sparseLayers = true;
            const hostsim::rendered_frame trimmed = renderFrame(request);
            ASSERT_EQ(trimmed.record.renderResult, PF_Err_NONE);
            for (const hostsim::frame_record::checkout& c : trimmed.record.layerCheckouts) {
                if (c.id == 0) continue;
                if (c.refWidth == 0) continue;  // the maps without a layer
                EXPECT_EQ(c.refWidth, 97) << "the layer's size at full resolution";
                EXPECT_EQ(c.refHeight, 49);
                EXPECT_EQ(c.result.left, 11 / ds.x) << "handed over trimmed, in the frame's pixels";
                EXPECT_EQ(c.result.bottom, (43 + ds.y - 1) / ds.y);
            }
            EXPECT_EQ(reference_pictures::compare(trimmed.output->toImage(), whole).max, 0.0f)
                << "the trimmed map where the whole one is";
        }
        if (!none) host->setLayerParam(map, 0);
    }
}

TEST_F(SmartRender, AnEmptyMapLayerDrawsTheSameHandedOverWholeOrTrimmed) {
    // A layer without one visible pixel: handed over trimmed, the host has nothing to give, and the map
    // must still be the transparent layer it is whole. A transparent diffuse map hides the sphere.
    comp().width = 160;
    comp().height = 90;
    params().setFloat("Radius", 30);
    params().setFloat("Illumination", 0.5);
    const AEGP_LayerIDVal id = comp().addImage("Empty", Image(40, 20)).id;
    const Image none = render({0, 32, 1});
    ASSERT_GT(center(none).a, 0.0f);
    for (const char* map : {"Diffuse Layer", "Illumination Layer"}) {
        host->setLayerParam(map, id);
        for (const hostsim::downsample_factors& ds : {hostsim::downsample_factors{1, 1}, {2, 2}}) {
            SCOPED_TRACE(testing::Message() << map << ", downsampled " << ds.x << "," << ds.y);
            hostsim::frame_request request{0, 32, ds};
            const Image whole = render(request);
            request.sparseLayers = true;
            const hostsim::rendered_frame trimmed = renderFrame(request);
            ASSERT_EQ(trimmed.record.renderResult, PF_Err_NONE);
            EXPECT_EQ(reference_pictures::compare(trimmed.output->toImage(), whole).max, 0.0f);
            if (ds == hostsim::downsample_factors{1, 1}) {
                EXPECT_GT(reference_pictures::compare(whole, none).max, 0.1f) << "the empty map counts";
            }
            if (std::string(map) == "Diffuse Layer") {
                EXPECT_EQ(center(whole).a, 0.0f) << "the sphere hidden";
            }
        }
        host->setLayerParam(map, 0);
    }
}

TEST_F(SmartRender, TheHostsMainWindowAnswersWhileAFrameRenders) {
    // A program's message to the host's main window while the effect renders (sent from the render thread
    // here, where the frame is surely running): the host's interface thread answers it.
    host->setLayerParam("Diffuse Layer", comp().addImage("Planet", Image(16, 8, {1, 1, 1, 1})).id);
    bool asked = false, answered = false;
    host->refuseLayerPixels = [&](A_long) {
        if (!asked) {
            asked = true;
            DWORD_PTR result = 0;
            answered = SendMessageTimeoutW(host->mainWindow(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) != 0;
        }
        return false;
    };
    const hostsim::rendered_frame frame = renderFrame({0, 8, 1});
    host->refuseLayerPixels = nullptr;
    EXPECT_EQ(frame.record.renderResult, PF_Err_NONE);
    EXPECT_TRUE(asked);
    EXPECT_TRUE(answered);
}

// Looks that depend on the lighting model, the mesh and the maps, against pictures kept in the source tree:
// a change of any of them shows here. The renderer is deterministic on one machine; the tolerance leaves
// room for another build of the software rasteriser, not for a change of the look.
class SmartRenderReference : public SmartRender {
protected:
    void SetUp() override {
        SmartRender::SetUp();
        comp().width = 320;
        comp().height = 180;
        params().setFloat("Radius", 60);
        params().setFloat("Gamma", 2.2);     // the defaults: the output gamma and multisampled edges
        params().setPopup("Multisampling", 4);
    }
};

TEST_F(SmartRenderReference, LitSphereHemisphereBackSurfaceAndMap) {
    const hostsim::comp_layer& map = comp().addImage("Checks", checker(64, 32, {0.9f, 0.6f, 0.1f, 1}, {0.1f, 0.3f, 0.8f, 1}));
    const struct {
        const char* file;
        std::function<void()> set;
    } looks[] = {
        {"lit_sphere.png", [] {}},
        {"hemisphere.png",
         [&] {
             params().setPopup("3D Object", 2);
             params().setPopup("Surface", 1);  // All: outside and inside
             params().setAngle("Rotation X", -60);  // tipped away: the inside shows through the cut
         }},
        {"surface_back.png", [&] { params().setPopup("Surface", 3); }},
        {"diffuse_map.png",
         [&] {
             host->setLayerParam("Diffuse Layer", map.id);
             params().setAngle("Rotation Y", 30);
         }},
    };
    for (const auto& look : looks) {
        SCOPED_TRACE(look.file);
        // Each look starts from the fixture's values.
        params().setPopup("3D Object", 1);
        params().setPopup("Surface", 2);
        params().setAngle("Rotation X", 0);
        params().setAngle("Rotation Y", 0);
        host->setLayerParam("Diffuse Layer", 0);
        look.set();
        const Image image = render({0, 8, 1});
        const auto d = reference_pictures::compare_with_reference(image, look.file);
        if (!d) continue;
        // Per channel of the premultiplied 8-bit pixels: a few steps at most anywhere, well under one on average.
        EXPECT_LE(d->max, 4.0f / 255) << d->pictures;
        EXPECT_LE(d->mean, 0.25 / 255) << d->pictures;
    }
    if (reference_pictures::regenerating()) GTEST_SKIP() << "wrote the reference pictures instead of comparing with them";
}

}  // namespace
