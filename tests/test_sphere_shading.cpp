// The sphere's shading, drawn by the renderer through the default camera, against values the test computes
// from the lighting model itself at chosen pixels: where the camera's ray meets the sphere, with the
// sphere's normal, the direction to the eye and the mesh's tangent frame there. Maps are small textures of
// known texels (constant, one colour per quadrant, one colour per cube face), so that each pixel's expected
// value follows from the formula alone, and a wrong sign or direction of any control moves it.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "SphereDrawing.h"

namespace {

using namespace sphere_drawing;

constexpr double pi = std::numbers::pi;

struct v3 {
    double x = 0, y = 0, z = 0;
};
v3 operator+(v3 a, v3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
v3 operator-(v3 a, v3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
v3 operator*(v3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
v3 operator*(v3 a, v3 b) { return {a.x * b.x, a.y * b.y, a.z * b.z}; }
double dot(v3 a, v3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
v3 cross(v3 a, v3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
v3 normalize(v3 a) { return a * (1 / std::sqrt(dot(a, a))); }
v3 mix(v3 a, v3 b, double t) { return a * (1 - t) + b * t; }
v3 pow(v3 a, double e) { return {std::pow(a.x, e), std::pow(a.y, e), std::pow(a.z, e)}; }
double mean(v3 a) { return (a.x + a.y + a.z) / 3; }
v3 rgb(const vec4& c) { return {c.x, c.y, c.z}; }

// Opaque float texels of these colours, in order.
std::vector<float> texelsOf(const std::vector<v3>& colors) {
    std::vector<float> texels;
    texels.reserve(colors.size() * 4);
    for (const v3& c : colors) {
        texels.push_back(static_cast<float>(c.x));
        texels.push_back(static_cast<float>(c.y));
        texels.push_back(static_cast<float>(c.z));
        texels.push_back(1);
    }
    return texels;
}

// The quaternion's rotation of v, q v q*, worked out as two cross products.
v3 rotated(const qssdk::quaternion& q, v3 v) {
    const v3 axis{q.x, q.y, q.z};
    const v3 t = cross(axis, v) * 2;
    return v + t * q.w + cross(axis, t);
}

qssdk::quaternion turn(v3 axis, double degrees) {
    const v3 a = normalize(axis);
    const double h = degrees * pi / 360;
    return {static_cast<float>(a.x * std::sin(h)), static_cast<float>(a.y * std::sin(h)),
            static_cast<float>(a.z * std::sin(h)), static_cast<float>(std::cos(h))};
}

// Brightness scales the HSV value: every channel by the same factor.
v3 brightened(v3 c, double factor) { return c * factor; }

// The scene of every test: the sphere of radius 40 at the comp's centre, seen by the default camera of the
// fixture's 160 x 120 comp, unturned (model and world axes agree: x right, y down, z away from the camera).
constexpr double radius = 40;

struct surface_point {
    v3 model;  // on the unit sphere: the model-space position and the outward normal
    v3 eye;    // unit direction to the eye
};

// Where the ray through the middle of pixel (x, y) meets the sphere.
surface_point pointAt(int x, int y) {
    const double w = SphereDraw::width, h = SphereDraw::height, zoom = w * 50 / 36;
    const v3 eye{w / 2, h / 2, -zoom}, centre{w / 2, h / 2, 0};
    const v3 d = normalize(v3{x + 0.5, y + 0.5, 0} - eye);
    const v3 oc = eye - centre;
    const double b = dot(oc, d), c = dot(oc, oc) - radius * radius;
    const double t = -b - std::sqrt(b * b - c);
    const v3 hit = eye + d * t;
    return {(hit - centre) * (1 / radius), d * -1};
}

// The mesh's tangent frame at a point: the tangent along increasing u of the spherical mapping, the
// bitangent along increasing v (down the image).
struct tangent_frame {
    v3 tangent, bitangent;
};
tangent_frame frameAt(v3 n) {
    const double u = 0.5 - std::atan2(-n.x, -n.z) / (2 * pi);
    const v3 t{-std::cos(2 * pi * u), 0, -std::sin(2 * pi * u)};
    return {t, normalize(cross(n, t) * -1)};
}

// Pixels inside the disc: its middle, points toward the upper left, the right, the bottom and the left.
const std::array<std::array<int, 2>, 6> probes = {{{80, 60}, {62, 42}, {108, 60}, {80, 90}, {52, 66}, {90, 30}}};

// Constant maps (one texel value each) and a cube of one colour per face, for the model below.
struct scene_maps {
    std::optional<v3> glossiness, illumination, normal;  // texel rgb
    std::optional<std::array<v3, 6>> environment;         // +X, -X, +Y, -Y, +Z, -Z
};

// The face a direction reads: that of its largest component.
int faceOf(v3 d) {
    const double a[3] = {std::abs(d.x), std::abs(d.y), std::abs(d.z)};
    const int axis = a[0] >= a[1] && a[0] >= a[2] ? 0 : a[1] >= a[2] ? 1 : 2;
    const double c[3] = {d.x, d.y, d.z};
    return axis * 2 + (c[axis] < 0 ? 1 : 0);
}

// How clearly a direction falls in its face: the gap between its largest and second component.
double faceMargin(v3 d) {
    double a[3] = {std::abs(d.x), std::abs(d.y), std::abs(d.z)};
    std::sort(a, a + 3);
    return a[2] - a[1];
}

double specularTerm(v3 N, double roughness, double nl, v3 H, v3 E) {
    const double nh = std::max(0.0, dot(N, H));
    const double ra = roughness * 0.875 + 0.125;
    const double a = ra * ra * ra;
    const double d = nh * nh * (a * a - 1) + 1;
    const double D = a * a / (pi * d * d);
    const double k = a / 2;
    const double nv = std::max(0.0, dot(N, E));
    return D * (1 / (nv * (1 - k) + k)) * (1 / (nl * (1 - k) + k)) / 4 * nv;
}

// The lighting model for a material without a diffuse map, at one point, with parallel and ambient
// lights; premultiplied rgba. `margin` receives how clearly the environment's directions fall in their faces.
std::array<double, 4> shade(const material_properties& m, const scene_maps& maps,
                            const std::vector<light_properties>& lights, const surface_point& p,
                            double* margin = nullptr) {
    const v3 E = p.eye, F = p.model;
    double gloss = m.glossinessAmount;
    if (maps.glossiness)
        gloss *= std::clamp(mean(brightened(pow(*maps.glossiness, m.glossinessGamma), m.glossinessBrightness)), 0.0, 1.0);
    const v3 illuminationMap =
        maps.illumination ? brightened(pow(*maps.illumination, m.illuminationGamma), m.illuminationBrightness) : v3{1, 1, 1};

    v3 N = F;
    if (maps.normal) {
        v3 t = *maps.normal * 2 - v3{1, 1, 1};
        t.y *= m.invertGreen ? -1 : 1;
        const double c = std::cos(m.uvRotation), s = std::sin(m.uvRotation);
        t = {t.x * c + t.y * s, t.y * c - t.x * s, t.z};
        const v3 n = normalize(mix({0, 0, 1}, t, m.normalAmount));
        const tangent_frame frame = frameAt(F);
        N = normalize(frame.tangent * n.x + frame.bitangent * n.y + F * n.z);
    }

    v3 reflection, environmentDiffuse;
    if (maps.environment) {
        const double mm = std::max(0.0, 1 - std::abs(dot(N, E)));
        const double rf = (1 - (1 - gloss) * 0.6) * (1 - m.reflectivityAmount) + m.reflectivityAmount;
        const double w = m.reflectivityAmount * 0.99 + 0.01;
        const double k = std::pow(mm, 5) * rf * (1 - w) + w;
        const v3 incoming = E * -1;
        const v3 mirrored = normalize(incoming - N * (2 * dot(N, incoming)));
        const v3 toReflection = rotated(m.environmentRotation, mirrored), toDiffuse = rotated(m.environmentRotation, N);
        auto sample = [&](v3 d) {
            return brightened(pow((*maps.environment)[faceOf(d)], m.environmentGamma), m.environmentBrightness);
        };
        reflection = sample(toReflection) * k;
        environmentDiffuse = sample(toDiffuse);
        if (margin) *margin = std::min(faceMargin(toReflection), faceMargin(toDiffuse));
    }

    v3 diffuse{1, 1, 1}, specular;
    double lightAmount = 1;
    if (!m.unlitMode) {
        diffuse = {};
        lightAmount = 0;
        v3 ambient;
        for (const light_properties& light : lights) {
            if (light.lightType == lightAmbient) {
                ambient = ambient + rgb(light.color);
                continue;
            }
            const v3 L = normalize(rgb(light.direction) * -1);
            const v3 H = normalize(L + E);
            const double fl = dot(F, L), nl = dot(N, L);
            const double cut = 1 - std::clamp(fl * -(1 / (1 - m.clipLighting * 0.99)), 0.0, 1.0);
            const double strength = std::clamp(mean(rgb(light.color)), 0.0, 1.0);
            const double influence = m.illuminationBumpInfluence * cut;
            lightAmount += (fl * (1 - influence) + nl * influence) * strength;
            const double lit = std::max(nl, 0.0) * cut;
            specular = specular + rgb(light.color) * (lit * specularTerm(N, 1 - gloss, std::max(nl, 0.0), H, E));
            diffuse = diffuse + rgb(light.color) * lit;
        }
        specular = specular * m.specularAmount;
        diffuse = diffuse * m.diffuseAmount + ambient * m.ambientAmount;
    }

    const v3 bumped = normalize(mix(F, N, m.illuminationBumpInfluence));
    double fresnel = 1;
    if (m.illuminationFresnelBias >= 0.01) {
        double x = std::clamp(dot(bumped, E), 0.0, 1.0);
        if (m.illuminationFresnel > 0) x = 1 - x;
        const double amount = std::abs(m.illuminationFresnel);
        fresnel = std::pow(x, m.illuminationFresnelBias) * amount + 1 - amount;
    }
    const v3 I = illuminationMap * rgb(m.illuminationColor) * fresnel;
    const double e = std::clamp(lightAmount + m.illuminationShadowLightExpand, 0.0, 1.0);
    const double c = m.shadowLightContrast;
    const double contrast = std::min(c, 1.0) * std::exp2(1.5 * std::max(c - 1, 0.0));
    const v3 shadowPart = I * (std::pow(1 - e, contrast) * std::max(0.0, 1 - std::max(0.0, static_cast<double>(m.illuminationShadowLight))));
    const v3 lightPart = I * (std::pow(e, contrast) * std::max(0.0, 1 - std::max(0.0, -static_cast<double>(m.illuminationShadowLight))));

    const v3 color = rgb(m.modelColor) * (environmentDiffuse + diffuse) + specular + shadowPart + lightPart + reflection;
    double alpha = m.modelColor.w;
    if (m.edgeFeather > 0 || m.edgeShrink > 0) {
        const double ef = std::max(0.001, static_cast<double>(m.edgeFeather));
        const double d = 1 - std::acos(std::clamp(dot(E, F), 0.0, 1.0)) / (pi / 2);
        const double s = std::clamp((d - m.edgeShrink) / (1 - m.edgeShrink * 0.999), 0.0, 1.0);
        alpha *= std::clamp(1 - (ef - s) / ef, 0.0, 1.0);
    }
    return {color.x * alpha, color.y * alpha, color.z * alpha, alpha};
}

// Half-float targets and the mesh's flat triangles (128 meridians, 126 bands) put each drawn value within
// this of the model's value at the pixel's middle, for the values of at most a few units used here.
constexpr double tolerance = 0.012;

material_properties litMaterial() {
    material_properties m = plainMaterial(surfaceFront, {1, 1, 1, 1});
    m.unlitMode = 0;
    m.diffuseAmount = 1;
    return m;
}

light_properties parallelLight(v3 towardsLight, v3 color) {
    light_properties l{};
    l.lightType = lightParallel;
    const v3 d = normalize(towardsLight) * -1;
    l.direction = {static_cast<float>(d.x), static_cast<float>(d.y), static_cast<float>(d.z), 0};
    l.color = {static_cast<float>(color.x), static_cast<float>(color.y), static_cast<float>(color.z), 1};
    return l;
}

light_properties ambientLight(v3 color) {
    light_properties l{};
    l.lightType = lightAmbient;
    l.color = {static_cast<float>(color.x), static_cast<float>(color.y), static_cast<float>(color.z), 1};
    return l;
}

// Towards the light: from the upper left, on the camera's side.
const v3 upperLeftFront{-1, -1, -1.2};

class SphereShading : public SphereDraw {
protected:
    // A texture made on the renderer thread, nearest-sampled with no mipmaps, so that a pixel reads one texel.
    uint32_t texture(GLenum target, int width, int height, const std::vector<float>& rgba) {
        uint32_t name = 0;
        onRenderer([&](Renderer&) {
            glGenTextures(1, &name);
            glBindTexture(target, name);
            glTexParameteri(target, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
            glTexParameteri(target, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
            if (target == GL_TEXTURE_CUBE_MAP) {
                for (int face = 0; face < 6; ++face)
                    glTexImage2D(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face, 0, GL_RGBA16F, 1, 1, 0, GL_RGBA, GL_FLOAT,
                                 &rgba[face * 4]);
            } else {
                glTexImage2D(target, 0, GL_RGBA16F, width, height, 0, GL_RGBA, GL_FLOAT, rgba.data());
            }
            glBindTexture(target, 0);
        });
        return name;
    }

    uint32_t constantMap(v3 texel) {
        return texture(GL_TEXTURE_2D, 1, 1, texelsOf({texel}));
    }

    // The material with the scene's maps bound to it.
    material_properties withMaps(material_properties m, const scene_maps& maps) {
        if (maps.glossiness) m.glossinessTexture = constantMap(*maps.glossiness);
        if (maps.illumination) m.illuminationTexture = constantMap(*maps.illumination);
        if (maps.normal) m.normalTexture = constantMap(*maps.normal);
        if (maps.environment)
            m.environmentTexture = texture(GL_TEXTURE_CUBE_MAP, 1, 1,
                                           texelsOf({maps.environment->begin(), maps.environment->end()}));
        return m;
    }

    // Draws the material and compares every probe pixel with the model; returns how many were compared.
    int expectShading(const std::string& what, const material_properties& material, const scene_maps& maps,
                      const std::vector<light_properties>& lights, double minimumFaceMargin = 0) {
        const auto pixels = draw(withMaps(material, maps), static_cast<float>(radius), width / 2.0f, height / 2.0f, 0, 0,
                                 lights);
        int compared = 0;
        for (const auto& [x, y] : probes) {
            double margin = 1;
            const std::array<double, 4> expected = shade(material, maps, lights, pointAt(x, y), &margin);
            if (margin < minimumFaceMargin) continue;  // too near a cube edge to say which face it reads
            ++compared;
            const float* seen = pixelAt(pixels, width, x, y);
            for (int c = 0; c < 4; ++c)
                EXPECT_NEAR(seen[c], expected[c], tolerance) << what << ", pixel " << x << ", " << y << ", channel " << c;
        }
        return compared;
    }
};

TEST_F(SphereShading, DiffuseAmbientAndSpecularFollowTheLight) {
    const std::vector<light_properties> lights = {parallelLight(upperLeftFront, {1, 0.9, 0.8}),
                                                  ambientLight({0.2, 0.25, 0.3})};
    const struct {
        const char* what;
        float diffuse, ambient, specular, glossiness;
        std::optional<v3> glossinessMap;
        float glossinessGamma, glossinessBrightness;
    } cases[] = {
        {"diffuse and ambient", 0.8f, 0.5f, 0, 0.3f, {}, 1, 1},
        {"specular, rough", 0, 0, 0.6f, 0.1f, {}, 1, 1},
        {"specular, glossier", 0.3f, 0, 0.4f, 0.4f, {}, 1, 1},
        // Glossiness 0.9 x mean((0.6, 0.4, 0.8)^2 x 1.2) = 0.9 x 0.464
        {"glossiness map", 0.2f, 0.2f, 0.5f, 0.9f, v3{0.6, 0.4, 0.8}, 2, 1.2f},
    };
    for (const auto& c : cases) {
        material_properties m = litMaterial();
        m.modelColor = {0.9f, 0.6f, 0.3f, 1};
        m.diffuseAmount = c.diffuse;
        m.ambientAmount = c.ambient;
        m.specularAmount = c.specular;
        m.glossinessAmount = c.glossiness;
        m.glossinessGamma = c.glossinessGamma;
        m.glossinessBrightness = c.glossinessBrightness;
        scene_maps maps;
        maps.glossiness = c.glossinessMap;
        expectShading(c.what, m, maps, lights);
    }
}

TEST_F(SphereShading, IlluminationFresnelAndShadowLightSplitAsTheLightFalls) {
    // No colour of the surface's own: what shows is the illumination alone.
    const std::vector<light_properties> lights = {parallelLight(upperLeftFront, {0.9, 0.9, 0.9})};
    const struct {
        const char* what;
        bool unlit;
        float fresnel, bias, shadowLight, contrast, expand;
        std::optional<v3> map;
        float gamma, brightness;
    } cases[] = {
        {"fresnel towards the edge", false, 0.8f, 2, 0, 1, 0, {}, 1, 1},
        {"fresnel towards the middle", false, -0.8f, 2, 0, 1, 0, {}, 1, 1},
        {"fresnel bias", false, 0.6f, 0.5f, 0, 1, 0, {}, 1, 1},
        {"light side kept", false, 0, 0, 0.6f, 2, 0.2f, {}, 1, 1},
        {"shadow side kept", false, 0, 0, -0.6f, 0.5f, -0.1f, {}, 1, 1},
        {"contrast and expansion", false, 0.3f, 1.5f, 0.2f, 3, 0.3f, {}, 1, 1},
        {"illumination map, unlit", true, 0, 0, 0, 1, 0, v3{0.5, 0.25, 0.8}, 2, 1.5f},
    };
    for (const auto& c : cases) {
        material_properties m = litMaterial();
        m.unlitMode = c.unlit ? 1 : 0;
        m.modelColor = {0, 0, 0, 1};
        m.illuminationColor = {0.8f, 0.5f, 0.3f, 1};
        m.illuminationFresnel = c.fresnel;
        m.illuminationFresnelBias = c.bias;
        m.illuminationShadowLight = c.shadowLight;
        m.shadowLightContrast = c.contrast;
        m.illuminationShadowLightExpand = c.expand;
        m.illuminationGamma = c.gamma;
        m.illuminationBrightness = c.brightness;
        scene_maps maps;
        maps.illumination = c.map;
        expectShading(c.what, m, maps, lights);
    }
}

TEST_F(SphereShading, TheEdgeFadesTowardsTheSilhouette) {
    const struct {
        float feather, shrink;
    } cases[] = {{0.6f, 0}, {0.4f, 0.3f}, {0, 0.2f}};
    for (const auto& c : cases) {
        material_properties m = plainMaterial(surfaceFront, {0.8f, 0.6f, 0.4f, 0.9f});
        m.edgeFeather = c.feather;
        m.edgeShrink = c.shrink;
        expectShading("feather " + std::to_string(c.feather) + " shrink " + std::to_string(c.shrink), m, {}, {});
    }
}

TEST_F(SphereShading, TheBumpMapTurnsTheNormalAlongTheMappingsAxes) {
    // The map's normal leans towards +u (red) and +v (green); lights from the right, from below, from the
    // side: a wrong sign of either axis, of the green flip or of the turn moves the lit side.
    const v3 leaning{0.68, 0.74, 0.8};  // (0.36, 0.48, 0.6) in [-1, 1]
    const struct {
        const char* what;
        v3 towardsLight;
        float amount, rotationDegrees, clip, influence;
        bool invertGreen;
    } cases[] = {
        {"light from the right", {1, 0, -1}, 1, 0, 0, 0, false},
        {"light from below", {0, 1, -1}, 1, 0, 0, 0, false},
        {"green flipped", {0, 1, -1}, 1, 0, 0, 0, true},
        {"half the amount", {1, 0.5, -1}, 0.5f, 0, 0, 0, false},
        {"UV turned a quarter", {1, 0, -1}, 1, 90, 0, 0, false},
        {"light from the side, clipped", {1, 0, 0}, 1, 0, 0.5f, 0, false},
        {"bump influence on the illumination", {1, 0.3, -0.5}, 1, 0, 0, 0.7f, false},
    };
    for (const auto& c : cases) {
        material_properties m = litMaterial();
        m.modelColor = {0.9f, 0.9f, 0.9f, 1};
        m.specularAmount = 0;
        m.normalAmount = c.amount;
        m.uvRotation = static_cast<float>(c.rotationDegrees * pi / 180);
        m.clipLighting = c.clip;
        m.invertGreen = c.invertGreen ? 1 : 0;
        m.illuminationBumpInfluence = c.influence;
        if (c.influence > 0) {
            // Lit by the bumped normal's share, and a Fresnel that reads the mix of both normals.
            m.illuminationColor = {0.5f, 0.5f, 0.5f, 1};
            m.shadowLightContrast = 2;
            m.illuminationFresnel = 0.7f;
            m.illuminationFresnelBias = 1.5f;
        }
        scene_maps maps;
        maps.normal = leaning;
        expectShading(c.what, m, maps, {parallelLight(c.towardsLight, {1, 1, 1})});
    }
}

TEST_F(SphereShading, TheEnvironmentIsReadAlongTheTurnedReflectionAndNormal) {
    // One colour per cube face, none a channel-wise match of another.
    const std::array<v3, 6> faces = {v3{0.9, 0.1, 0.1}, {0.1, 0.8, 0.1}, {0.1, 0.2, 0.9},
                                     {0.7, 0.7, 0.1}, {0.1, 0.7, 0.7}, {0.7, 0.1, 0.6}};
    const struct {
        const char* what;
        qssdk::quaternion rotation;
    } turns[] = {
        {"unturned", {0, 0, 0, 1}},
        {"a quarter about y", turn({0, 1, 0}, 90)},
        {"a quarter about x", turn({1, 0, 0}, 90)},
        {"a third about the diagonal", turn({1, 1, 1}, 120)},
        {"a little about z, the other way", turn({0, 0, 1}, -35)},
    };
    for (const auto& t : turns) {
        // The reflection alone (full reflectivity, no colour of its own), then the diffuse light it gives.
        material_properties mirror = plainMaterial(surfaceFront, {0, 0, 0, 1});
        mirror.environmentRotation = t.rotation;
        mirror.reflectivityAmount = 1;
        mirror.environmentGamma = 2;
        material_properties matte = plainMaterial(surfaceFront, {0.5f, 0.8f, 1, 1});
        matte.environmentRotation = t.rotation;
        matte.glossinessAmount = 0.4f;
        matte.environmentBrightness = 1.5f;
        scene_maps maps;
        maps.environment = faces;
        EXPECT_GE(expectShading(std::string("mirror, ") + t.what, mirror, maps, {}, 0.1), 3);
        EXPECT_GE(expectShading(std::string("matte, ") + t.what, matte, maps, {}, 0.1), 3);
    }
}

// The texel a map coordinate reads under the wrap: 2 x 2 texels per repeat.
int texelIndex(double coordinate, int uvMode) {
    const double whole = std::floor(coordinate);
    double f = coordinate - whole;
    if (uvMode != uvRepeat && static_cast<long long>(whole) % 2 != 0) f = 1 - f;
    return std::min(static_cast<int>(f * 2), 1);
}

// How far a coordinate is from a texel border, in texels.
double borderDistance(double coordinate) {
    const double t = coordinate * 2;
    return std::abs(t - std::round(t));
}

TEST_F(SphereShading, EachUvTypeRotationOffsetAndRepeatPutsEachQuadrantWhereTheMappingSays) {
    // A map of one colour per quadrant: red at (0, 0), green at (1, 0), blue at (0, 1), yellow at (1, 1).
    const std::array<v3, 4> quadrants = {v3{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 0}};
    const uint32_t map = texture(GL_TEXTURE_2D, 2, 2, texelsOf({quadrants.begin(), quadrants.end()}));

    const struct {
        const char* what;
        int uvType, uvMode;
        float rotationDegrees;
        vec2 repeat, offset;
    } cases[] = {
        {"plane XY", 3, uvRepeat, 0, {1, 1}, {0, 0}},
        {"plane XY turned a quarter", 3, uvRepeat, 90, {1, 1}, {0, 0}},
        {"plane XY turned and offset", 3, uvRepeat, 30, {1, 1}, {0.15f, -0.2f}},
        {"plane XY repeated", 3, uvRepeat, 0, {3, 2}, {0, 0}},
        {"plane XY mirrored", 3, uvMirror, 0, {3, 2}, {0, 0}},
        {"plane XZ", 4, uvRepeat, 20, {1, 1}, {0.1f, 0}},
        {"plane ZY", 5, uvRepeat, -20, {1, 1}, {0, 0.1f}},
        {"spherical", 1, uvRepeat, 0, {1, 1}, {0, 0}},
        {"spherical turned and repeated", 1, uvRepeat, 60, {4, 2}, {0.1f, 0}},
        {"spherical mirrored", 1, uvMirror, 0, {6, 3}, {0, 0.05f}},
    };
    for (const auto& c : cases) {
        material_properties m = plainMaterial(surfaceFront, {1, 1, 1, 1});
        m.diffuseTexture = map;
        m.uvType = c.uvType;
        m.uvMode = c.uvMode;
        m.uvRotation = static_cast<float>(c.rotationDegrees * pi / 180);
        m.uvRepeat = c.repeat;
        m.uvOffset = c.offset;
        const auto pixels = draw(m, static_cast<float>(radius), width / 2.0f, height / 2.0f, 0);
        const double cr = std::cos(m.uvRotation), sr = std::sin(m.uvRotation);
        auto turned = [&](double x, double y) { return std::array<double, 2>{x * cr - y * sr, y * cr + x * sr}; };
        int compared = 0;
        for (int y = 24; y < 96; y += 4)
            for (int x = 44; x < 116; x += 4) {
                if (std::hypot(x + 0.5 - width / 2.0, y + 0.5 - height / 2.0) > radius * 0.85) continue;
                const v3 p = pointAt(x, y).model;
                std::array<double, 2> uv;
                if (c.uvType == 1) {
                    const double s = 0.5 - std::atan2(-p.x, -p.z) / (2 * pi);
                    const double t = std::atan2(p.y, std::hypot(p.x, p.z)) / pi + 0.5;
                    const auto r = turned(s - 0.5, t - 0.5);
                    uv = {(r[0] + 0.5) * c.repeat.x + c.offset.x, (r[1] + 0.5) * c.repeat.y + c.offset.y};
                } else {
                    const double a = c.uvType == 3 ? p.x : c.uvType == 4 ? p.x : p.z;
                    const double b = c.uvType == 3 ? p.y : c.uvType == 4 ? p.z : p.y;
                    const auto r = turned(0.5 * a, 0.5 * b);
                    uv = {r[0] * c.repeat.x + c.offset.x + 0.5, r[1] * c.repeat.y + c.offset.y + 0.5};
                }
                // A pixel whose footprint could reach a neighbouring texel says nothing.
                if (borderDistance(uv[0]) < 0.12 || borderDistance(uv[1]) < 0.12) continue;
                const v3 expected = quadrants[texelIndex(uv[1], c.uvMode) * 2 + texelIndex(uv[0], c.uvMode)];
                const float* seen = pixelAt(pixels, width, x, y);
                ++compared;
                EXPECT_NEAR(seen[0], expected.x, 0.02) << c.what << " at " << x << ", " << y;
                EXPECT_NEAR(seen[1], expected.y, 0.02) << c.what << " at " << x << ", " << y;
                EXPECT_NEAR(seen[2], expected.z, 0.02) << c.what << " at " << x << ", " << y;
            }
        EXPECT_GE(compared, 40) << c.what;
    }
}

}  // namespace
