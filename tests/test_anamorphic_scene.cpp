// Whole frames through the simulated host and the real plug-in in comps whose pixels are not square: the
// scene stands in square units (the comp's pixels widened by the pixel aspect), so a camera from the side
// sees a round sphere, a parallel light lights it as a point light far along its line does, and a light at
// the camera's place puts its highlight where the camera looks.
#include <algorithm>
#include <cmath>
#include <string>

#include "HostFixture.h"
#include "ReferencePictures.h"

namespace {

using hostsim::Image;

// Square, anamorphic 2:1 and D1/DV pixels.
constexpr A_Ratio aspects[] = {{1, 1}, {2, 1}, {10, 11}};

double valueOf(const A_Ratio& r) { return static_cast<double>(r.num) / r.den; }

// The bounding box of the pixels the sphere covers more than half.
struct extent {
    int left = 1 << 30, right = -1, top = 1 << 30, bottom = -1;
    int across() const { return right - left + 1; }
    int down() const { return bottom - top + 1; }
};

extent coveredExtent(const Image& image) {
    extent e;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.at(x, y).a > 0.5f) {
                e.left = std::min(e.left, x), e.right = std::max(e.right, x);
                e.top = std::min(e.top, y), e.bottom = std::max(e.bottom, y);
            }
    return e;
}

// Where the picture is brightest: the centroid of the pixels within 10% of the brightest red, in the
// host's pixel coordinates (pixel centres at .5).
struct spot {
    double x = 0, y = 0;
};

spot brightestSpot(const Image& image) {
    float peak = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) peak = std::max(peak, image.at(x, y).r);
    spot s;
    double weight = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const float r = image.at(x, y).r;
            if (r < 0.9f * peak) continue;
            s.x += r * (x + 0.5), s.y += r * (y + 0.5);
            weight += r;
        }
    if (weight > 0) s.x /= weight, s.y /= weight;
    return s;
}

// A frame of the real effect in a small comp, set up as the host does before the first render.
class AnamorphicScene : public HostTest {
protected:
    void setUpComp(int width, int height) {
        host->comp().width = width;
        host->comp().height = height;
        ASSERT_EQ(host->send(PF_Cmd_GLOBAL_SETUP), PF_Err_NONE);
        ASSERT_EQ(host->send(PF_Cmd_PARAMS_SETUP), PF_Err_NONE);
        ASSERT_EQ(host->send(PF_Cmd_SEQUENCE_SETUP), PF_Err_NONE);
        // Exact values: no multisampled edges and no output gamma.
        params().setPopup("Multisampling", 1);
        params().setFloat("Gamma", 1);
    }
    void TearDown() override {
        if (host && host->sequenceData()) {
            EXPECT_EQ(host->send(PF_Cmd_SEQUENCE_SETDOWN), PF_Err_NONE);
        }
        HostTest::TearDown();
    }

    hostsim::ParamStore& params() { return host->params(); }
    hostsim::Comp& comp() { return host->comp(); }

    // A 32-bit frame at time 0 after the user changed values.
    Image render() {
        EXPECT_EQ(host->send(PF_Cmd_UPDATE_PARAMS_UI), PF_Err_NONE);
        hostsim::rendered_frame frame = host->renderFrame({0, 32, {1, 1}});
        EXPECT_EQ(frame.record.preRenderResult, PF_Err_NONE);
        EXPECT_EQ(frame.record.renderResult, PF_Err_NONE);
        return frame.output->toImage();
    }
};

// Comp 800 x 450, a camera at (-300, 200, 0) looking along +x at a sphere of radius 80 at (300, 200, 0), in
// comp pixels: in square units the sphere stands 600 c away (c the pixel aspect), its outline the circle
// its tangent cone cuts on the image plane at the zoom, shown c times narrower than high on the output's
// pixels: about 67 x 134 pixels at aspect 2, where the comp's pixels taken as square would show 267 x 267.
TEST_F(AnamorphicScene, ACameraFromTheSideSeesTheSphereRound) {
    setUpComp(800, 450);
    params().setCheckbox("Unlit Only", true);
    const double zoom = 1000, radius = 80;
    params().setFloat("Radius", radius);
    params().setPoint("Position", 300, 200, 0);
    hostsim::camera_settings side;
    side.position = {-300, 200, 0};
    side.pointOfInterest = hostsim::vec3{300, 200, 0};
    side.zoom = zoom;
    comp().addCamera(side);
    for (const A_Ratio& aspect : aspects) {
        SCOPED_TRACE(testing::Message() << "pixel aspect " << aspect.num << "/" << aspect.den);
        comp().pixelAspect = aspect;
        const double c = valueOf(aspect);
        const double half = zoom * std::tan(std::asin(radius / (600 * c)));
        const extent seen = coveredExtent(render());
        // Whole pixels whose centres lie inside: the count is the exact size give or take one.
        EXPECT_NEAR(seen.down(), 2 * half, 1.0);
        EXPECT_NEAR(seen.across(), 2 * half / c, 1.0);
        EXPECT_NEAR((seen.left + seen.right + 1) / 2.0, 400, 1.0) << "where the camera looks";
        EXPECT_NEAR((seen.top + seen.bottom + 1) / 2.0, 225, 1.0);
    }
}

// A parallel light at `from` aiming at the sphere, and a point light far back on the same line (comp
// pixels): in square units both light the sphere from one direction, so the pictures agree. Built from the
// comp's pixels as they stand, the parallel light's lit side would move some pixels at aspect 2.
TEST_F(AnamorphicScene, AParallelLightLightsAsAPointLightFarBackAlongItsLine) {
    setUpComp(320, 180);
    params().setFloat("Radius", 60);
    params().setPoint("Position", 160, 90, 0);
    params().setFloat("Specular", 0);
    params().setFloat("Ambient", 0);
    const hostsim::vec3 from{-40, -60, -250}, to{160, 90, 0};
    const double farBack = 100;
    hostsim::light_settings parallel;
    parallel.type = AEGP_LightType_PARALLEL;
    parallel.position = from;
    parallel.pointOfInterest = to;
    hostsim::light_settings point;
    point.position = {from.x + (from.x - to.x) * farBack, from.y + (from.y - to.y) * farBack,
                      from.z + (from.z - to.z) * farBack};
    hostsim::comp_layer& parallelLayer = comp().addLight(parallel);
    hostsim::comp_layer& pointLayer = comp().addLight(point);
    for (const A_Ratio& aspect : {A_Ratio{2, 1}, A_Ratio{10, 11}}) {
        SCOPED_TRACE(testing::Message() << "pixel aspect " << aspect.num << "/" << aspect.den);
        comp().pixelAspect = aspect;
        parallelLayer.videoOn = true;
        pointLayer.videoOn = false;
        const Image byParallel = render();
        parallelLayer.videoOn = false;
        pointLayer.videoOn = true;
        const Image byPoint = render();
        // The point light's rays spread by at most radius / distance (under 0.002): a difference of a few
        // thousandths at the most.
        const reference_pictures::difference d = reference_pictures::compare(byParallel, byPoint);
        EXPECT_LT(d.max, 0.01f);
        const spot lit = brightestSpot(byParallel);
        EXPECT_LT(lit.x, 160) << "lit from the left";
        EXPECT_LT(lit.y, 90) << "lit from above";
    }
}

// A point light at the camera's own place: its highlight is the point of the sphere nearest the camera,
// which a camera looking at the sphere's centre shows at the output's centre.
TEST_F(AnamorphicScene, ALightAtTheCamerasPlaceHasItsHighlightWhereTheCameraLooks) {
    setUpComp(320, 180);
    params().setFloat("Radius", 60);
    params().setFloat("Diffuse", 0);
    params().setFloat("Ambient", 0);
    params().setFloat("Specular", 1);
    params().setFloat("Glossiness", 0.9f);
    const hostsim::vec3 centre{200, 70, 0}, eye{120, 30, -500};
    params().setPoint("Position", centre.x, centre.y, centre.z);
    hostsim::camera_settings camera;
    camera.position = eye;
    camera.pointOfInterest = centre;
    comp().addCamera(camera);
    hostsim::light_settings headlight;
    headlight.position = eye;
    comp().addLight(headlight);
    for (const A_Ratio& aspect : aspects) {
        SCOPED_TRACE(testing::Message() << "pixel aspect " << aspect.num << "/" << aspect.den);
        comp().pixelAspect = aspect;
        const spot highlight = brightestSpot(render());
        EXPECT_NEAR(highlight.x, 160, 0.5);
        EXPECT_NEAR(highlight.y, 90, 0.5);
    }
}

}  // namespace
