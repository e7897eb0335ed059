// The camera and light algebra against cases worked out by hand, without a host.
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "CameraAlgebra.h"

namespace {

// The matrix with only the listed elements set.
qssdk::mat4 withElements(std::initializer_list<std::pair<std::pair<int, int>, float>> elements) {
    qssdk::mat4 m;
    for (const auto& [at, value] : elements) m.at(at.first, at.second) = value;
    return m;
}

void expectNear(const qssdk::mat4& actual, const qssdk::mat4& expected, float tolerance) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_NEAR(actual.at(r, c), expected.at(r, c), tolerance) << "row " << r << ", column " << c;
}

TEST(CameraAlgebra, TheViewWindowIsTheOutputsPlaceInTheView) {
    const struct {
        const char* name;
        vec2 scale;  // comp pixels per output pixel
        float originX, originY, width, height;
        view_window expected;
    } cases[] = {
        {"the whole view", {1, 1}, 0, 0, 1920, 1080, {-960, 960, 540, -540}},
        {"the whole view at half resolution", {2, 2}, 0, 0, 960, 540, {-960, 960, 540, -540}},
        {"the upper right quarter at half resolution", {2, 2}, 480, 0, 480, 270, {0, 960, 0, -540}},
        {"a strip below the centre", {1, 1}, 0, 540, 1920, 100, {-960, 960, 100, 0}},
        {"the whole view at half resolution across", {2, 1}, 0, 0, 960, 1080, {-960, 960, 540, -540}},
        {"the lower half at half resolution down", {1, 2}, 0, 270, 1920, 270, {-960, 960, 540, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const view_window w = viewWindow({1920, 1080}, c.scale, c.originX, c.originY, c.width, c.height);
        EXPECT_FLOAT_EQ(w.left, c.expected.left);
        EXPECT_FLOAT_EQ(w.right, c.expected.right);
        EXPECT_FLOAT_EQ(w.bottom, c.expected.bottom);
        EXPECT_FLOAT_EQ(w.top, c.expected.top);
    }
}

TEST(CameraAlgebra, AnOutputPixelIsItsDownsamplingAndItsLayersPixelWidthInCompPixels) {
    // A layer pixel is `pixelAspect` square units wide, a comp pixel `compAspect`.
    const struct {
        float downsampleX, downsampleY, pixelAspect, compAspect;
        vec2 scale;
    } cases[] = {
        {1, 1, 1, 1, {1, 1}},     {2, 1, 1, 1, {2, 1}},       {1, 3, 1, 1, {1, 3}}, {2, 2, 2, 2, {2, 2}},
        {1, 1, 10.0f / 11, 10.0f / 11, {1, 1}}, {1, 1, 2, 1, {2, 1}}, {2, 1, 1, 2, {1, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.downsampleX << "," << c.downsampleY << " aspects " << c.pixelAspect
                                        << " in " << c.compAspect);
        const vec2 scale = outputScale(c.downsampleX, c.downsampleY, c.pixelAspect, c.compAspect);
        EXPECT_FLOAT_EQ(scale.x, c.scale.x);
        EXPECT_FLOAT_EQ(scale.y, c.scale.y);
    }
}

TEST(CameraAlgebra, ThePerspectiveProjectionHasItsNearPlaneAt001AndNoFarPlane) {
    // A window 1920 x 1080 wide at an image plane 1000 away: 2 d / width, 2 d / height on the diagonal.
    expectNear(perspectiveProjection({-960, 960, 540, -540}, 1000),
               withElements({{{0, 0}, 2000.0f / 1920}, {{1, 1}, 2000.0f / 1080}, {{2, 2}, -1}, {{2, 3}, -1},
                             {{3, 2}, -0.02f}}),
               1e-5f);
    // The upper right quarter: the window's centre lies off the axis by half its size in each direction.
    expectNear(perspectiveProjection({0, 960, 0, -540}, 1000),
               withElements({{{0, 0}, 2000.0f / 960}, {{1, 1}, 2000.0f / 540}, {{2, 0}, 1}, {{2, 1}, -1},
                             {{2, 2}, -1}, {{2, 3}, -1}, {{3, 2}, -0.02f}}),
               1e-5f);
}

TEST(CameraAlgebra, TheOrthographicProjectionMapsTheWindowOntoTheOutput) {
    expectNear(orthographicProjection({-960, 960, 540, -540}),
               withElements({{{0, 0}, 2.0f / 1920}, {{1, 1}, 2.0f / 1080}, {{2, 2}, -4e-6f},
                             {{3, 2}, -0.99999994f}, {{3, 3}, 1}}),
               1e-9f);
    expectNear(orthographicProjection({0, 960, 0, -540}),
               withElements({{{0, 0}, 2.0f / 960}, {{1, 1}, 2.0f / 540}, {{2, 2}, -4e-6f}, {{3, 0}, -1},
                             {{3, 1}, 1}, {{3, 2}, -0.99999994f}, {{3, 3}, 1}}),
               1e-9f);
}

TEST(CameraAlgebra, TheViewMatrixPutsTheCameraAtTheOriginLookingDownMinusZ) {
    // A camera at (960, 540, -2000) looking along +z, as the host's default camera.
    qssdk::mat4 cameraToWorld = qssdk::mat4::identity();
    cameraToWorld.at(3, 0) = 960;
    cameraToWorld.at(3, 1) = 540;
    cameraToWorld.at(3, 2) = -2000;
    expectNear(viewMatrixOf(cameraToWorld, 1),
               withElements({{{0, 0}, 1}, {{1, 1}, 1}, {{2, 2}, -1}, {{3, 0}, -960}, {{3, 1}, -540},
                             {{3, 2}, -2000}, {{3, 3}, 1}}),
               1e-3f);
}

TEST(CameraAlgebra, FilmSizesBecomeHorizontal) {
    // A 400 x 300 view has a 500 diagonal.
    const struct {
        AEGP_FilmSizeUnits units;
        float horizontal;
    } cases[] = {
        {AEGP_FilmSizeUnits_NONE, 50},
        {AEGP_FilmSizeUnits_HORIZONTAL, 50},
        {AEGP_FilmSizeUnits_VERTICAL, 50.0f * 400 / 300},
        {AEGP_FilmSizeUnits_DIAGONAL, 40},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("units " + std::to_string(c.units));
        EXPECT_FLOAT_EQ(horizontalFilmSize(c.units, 50, {400, 300}), c.horizontal);
    }
}

TEST(CameraAlgebra, AimedLightsKeepTheirTransformOthersOnlyTheirPosition) {
    // Turned a quarter about y: the layer's z axis points along world +x.
    const qssdk::mat4 layerToWorld = withElements({{{0, 2}, -1}, {{1, 1}, 1}, {{2, 0}, 1}, {{3, 0}, 10},
                                                   {{3, 1}, 20}, {{3, 2}, 30}, {{3, 3}, 1}});
    for (bool aimed : {true, false}) {
        SCOPED_TRACE(aimed ? "aimed" : "not aimed");
        const light_placement p = lightPlacement(layerToWorld, 1.5f, aimed);
        EXPECT_FLOAT_EQ(p.position.x, 15) << "x times the pixel aspect";
        EXPECT_FLOAT_EQ(p.position.y, 20);
        EXPECT_FLOAT_EQ(p.position.z, 30);
        EXPECT_EQ(p.position.w, 0);
        EXPECT_FLOAT_EQ(p.direction.x, aimed ? 1.0f : 0.0f);
        EXPECT_EQ(p.direction.y, 0);
        EXPECT_EQ(p.direction.z, 0);
        const qssdk::mat4 moved = withElements({{{0, 0}, 1}, {{1, 1}, 1}, {{2, 2}, 1}, {{3, 0}, 15}, {{3, 1}, 20},
                                                {{3, 2}, 30}, {{3, 3}, 1}});
        EXPECT_EQ(p.transform, aimed ? layerToWorld : moved);
        expectNear(p.transform * p.inverse, qssdk::mat4::identity(), 1e-5f);
    }
}

}  // namespace
