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

struct point3 {
    double x = 0, y = 0, z = 0;
};
point3 operator-(point3 a, point3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
point3 operator+(point3 a, point3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
point3 operator*(point3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
double dot(point3 a, point3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
point3 cross(point3 a, point3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
point3 unit(point3 v) { return v * (1 / std::sqrt(dot(v, v))); }
point3 widened(point3 p, double aspect) { return {p.x * aspect, p.y, p.z}; }
point3 row(const qssdk::mat4& m, int r) { return {m.at(r, 0), m.at(r, 1), m.at(r, 2)}; }

// The frame the host gives a layer at `eye` that looks at `aim`, in comp pixels, unrolled (x level).
qssdk::mat4 lookingAt(point3 eye, point3 aim) {
    const point3 z = unit(aim - eye), x = unit(cross({0, 1, 0}, z)), y = cross(z, x);
    qssdk::mat4 m;
    const point3 rows[] = {x, y, z, eye};
    for (int r = 0; r < 4; ++r) {
        m.at(r, 0) = static_cast<float>(rows[r].x);
        m.at(r, 1) = static_cast<float>(rows[r].y);
        m.at(r, 2) = static_cast<float>(rows[r].z);
    }
    m.at(3, 3) = 1;
    return m;
}

// The pixel aspects of square, anamorphic 2:1 and D1/DV pixels.
constexpr double aspects[] = {1, 2, 10.0 / 11};

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

TEST(CameraAlgebra, AnOutputPixelIsItsDownsamplingAndItsLayersPixelWidthInSquareUnits) {
    // A layer pixel is `pixelAspect` square units wide; the image plane is the comp's pixels widened.
    const struct {
        float downsampleX, downsampleY, pixelAspect;
        vec2 scale;
    } cases[] = {
        {1, 1, 1, {1, 1}}, {2, 1, 1, {2, 1}}, {1, 3, 1, {1, 3}}, {2, 2, 2, {4, 2}}, {1, 1, 10.0f / 11, {10.0f / 11, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.downsampleX << "," << c.downsampleY << " aspect " << c.pixelAspect);
        const vec2 scale = outputScale(c.downsampleX, c.downsampleY, c.pixelAspect);
        EXPECT_FLOAT_EQ(scale.x, c.scale.x);
        EXPECT_FLOAT_EQ(scale.y, c.scale.y);
    }
    const vec2 plane = squareViewSize(800, 450, 2);
    EXPECT_FLOAT_EQ(plane.x, 1600);
    EXPECT_FLOAT_EQ(plane.y, 450);
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
        qssdk::mat4 turned = layerToWorld;
        turned.at(3, 0) = 15;
        expectNear(p.transform, aimed ? turned : moved, 1e-6f);
        expectNear(p.transform * p.inverse, qssdk::mat4::identity(), 1e-5f);
    }
}

TEST(CameraAlgebra, AFrameInSquareUnitsAimsWhereTheWidenedAimIsAndStaysARotation) {
    const struct {
        const char* name;
        point3 eye, aim;
    } frames[] = {
        {"the side camera", {-300, 200, 0}, {300, 200, 0}},
        {"looking down z", {400, 225, -1000}, {400, 225, 0}},
        {"oblique", {100, -50, -700}, {450, 300, 200}},
    };
    for (const double aspect : aspects)
        for (const auto& f : frames) {
            SCOPED_TRACE(testing::Message() << f.name << ", pixel aspect " << aspect);
            const qssdk::mat4 host = lookingAt(f.eye, f.aim);
            const qssdk::mat4 square = squareFrame(host, static_cast<float>(aspect));
            const point3 x = row(square, 0), y = row(square, 1), z = row(square, 2), at = row(square, 3);
            const point3 eye = widened(f.eye, aspect), aim = widened(f.aim, aspect);
            EXPECT_NEAR(at.x, eye.x, 1e-3);
            EXPECT_NEAR(at.y, eye.y, 1e-3);
            EXPECT_NEAR(at.z, eye.z, 1e-3);
            const point3 toAim = unit(aim - eye);
            EXPECT_NEAR(dot(z, toAim), 1, 1e-6) << "z points from the widened eye to the widened aim";
            EXPECT_NEAR(dot(x, x), 1, 1e-6);
            EXPECT_NEAR(dot(y, y), 1, 1e-6);
            EXPECT_NEAR(dot(x, y), 0, 1e-6);
            EXPECT_NEAR(dot(y, z), 0, 1e-6);
            EXPECT_NEAR(dot(x, z), 0, 1e-6);
            EXPECT_NEAR(dot(cross(y, z), x), 1, 1e-6) << "right-handed, as the host's frame";
            // Widening tilts no unrolled camera: its x axis stays level and its y axis points down the comp.
            EXPECT_NEAR(x.y, 0, 1e-6);
            EXPECT_GT(y.y, 0);
            if (aspect == 1) expectNear(square, host, 1e-6f);
            EXPECT_EQ(square.at(0, 3), 0);
            EXPECT_EQ(square.at(3, 3), 1);
        }
}

TEST(CameraAlgebra, AParallelLightShinesAsAPointLightFarBackAlongItsLine) {
    // A parallel light at `from` aiming at `to`, and a point light far back on the same line beyond `from`
    // (comp pixels): at a point of the sphere both light it from the same direction, in square units.
    const point3 from{-200, 0, -600}, to{400, 225, 0}, surface{700, 150, -60};
    const double farBack = 1e4;
    for (const double aspect : aspects) {
        SCOPED_TRACE(testing::Message() << "pixel aspect " << aspect);
        const light_placement parallel = lightPlacement(lookingAt(from, to), static_cast<float>(aspect), true);
        const point3 back = from + (from - to) * farBack;
        const light_placement point = lightPlacement(lookingAt(back, to), static_cast<float>(aspect), false);
        const point3 direction{parallel.direction.x, parallel.direction.y, parallel.direction.z};
        const point3 toPoint = unit(point3{point.position.x, point.position.y, point.position.z} -
                                    widened(surface, aspect));
        EXPECT_NEAR(dot(direction, direction), 1, 1e-6) << "a unit direction";
        EXPECT_NEAR(dot(toPoint, direction * -1), 1, 1e-6);
        EXPECT_EQ(parallel.direction.w, 0);
    }
}

}  // namespace
