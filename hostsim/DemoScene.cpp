#include "DemoScene.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>

#include "CommandSteps.h"
#include "ParamText.h"
#include "RenderOptions.h"

namespace hostsim {

namespace {

constexpr double pi = 3.14159265358979323846;

struct colour {
    double r, g, b;
};

colour mix(colour a, colour b, double t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }
colour scaled(colour c, double s) { return {c.r * s, c.g * s, c.b * s}; }
double smoothstep(double edge0, double edge1, double x) {
    const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

rgba opaque(colour c) {
    auto channel = [](double v) { return static_cast<float>(std::clamp(v, 0.0, 1.0)); };
    return {channel(c.r), channel(c.g), channel(c.b), 1.0f};
}

// A repeatable pseudo-random value in [0, 1) for a lattice point.
double lattice(int x, int y, uint32_t seed) {
    uint32_t h = static_cast<uint32_t>(x) * 0x8da6b343u ^ static_cast<uint32_t>(y) * 0xd8163841u ^ seed * 0xcb1ab31fu;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return (h & 0xFFFFFF) / 16777216.0;
}

// Smooth value noise that repeats every `period` units across, so equirectangular pictures close up.
double valueNoise(double x, double y, int period, uint32_t seed) {
    const double fx = std::floor(x), fy = std::floor(y);
    const int x0 = ((static_cast<int>(fx) % period) + period) % period, x1 = (x0 + 1) % period;
    const int y0 = static_cast<int>(fy);
    const double tx = smoothstep(0, 1, x - fx), ty = smoothstep(0, 1, y - fy);
    const double top = lattice(x0, y0, seed) + (lattice(x1, y0, seed) - lattice(x0, y0, seed)) * tx;
    const double bottom = lattice(x0, y0 + 1, seed) + (lattice(x1, y0 + 1, seed) - lattice(x0, y0 + 1, seed)) * tx;
    return top + (bottom - top) * ty;
}

double fbm(double x, double y, int period, int octaves, uint32_t seed) {
    double sum = 0, amplitude = 0.5, total = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * valueNoise(x, y, period, seed + static_cast<uint32_t>(i));
        total += amplitude;
        amplitude *= 0.5;
        x *= 2;
        y *= 2;
        period *= 2;
    }
    return sum / total;
}

template <class Shade> Image paint(int width, int height, Shade shade) {
    Image image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.at(x, y) = opaque(shade((x + 0.5) / width, (y + 0.5) / height));
    return image;
}

}  // namespace

Image bandedPlanet(int width, int height) {
    const colour cream{0.93, 0.86, 0.72}, tan{0.80, 0.60, 0.40}, rust{0.63, 0.33, 0.20}, storm{0.75, 0.30, 0.18};
    return paint(width, height, [&](double u, double v) {
        const double turbulence = fbm(u * 8, v * 4, 8, 5, 11);
        const double bands = std::sin((v * 13 + turbulence * 1.6) * pi);
        colour c = mix(cream, tan, 0.5 + 0.5 * bands);
        c = mix(c, rust, smoothstep(0.62, 0.85, fbm(u * 16, v * 24, 16, 4, 23)) * 0.6);
        // An oval storm south of the equator.
        const double du = (u - 0.62) / 0.06, dv = (v - 0.62) / 0.035;
        const double swirl = std::exp(-(du * du + dv * dv));
        c = mix(c, storm, swirl * (0.6 + 0.4 * std::sin(std::atan2(dv, du) * 3 + (du * du + dv * dv) * 4)));
        return scaled(c, 0.72 + 0.28 * std::sin(v * pi));  // darker towards the poles
    });
}

Image skyWithSun(int width, int height) {
    const colour horizon{0.82, 0.87, 0.95}, zenith{0.16, 0.36, 0.78}, shore{0.44, 0.40, 0.31}, depth{0.13, 0.11, 0.09};
    const colour sunlight{1.0, 0.93, 0.78};
    const double sunAzimuth = sunAcross * 2 * pi, sunElevation = (0.5 - sunDown) * pi;
    const double sx = std::cos(sunElevation) * std::sin(sunAzimuth), sy = std::sin(sunElevation),
                 sz = std::cos(sunElevation) * std::cos(sunAzimuth);
    return paint(width, height, [&](double u, double v) {
        const double elevation = (0.5 - v) * pi, azimuth = u * 2 * pi;
        const double dx = std::cos(elevation) * std::sin(azimuth), dy = std::sin(elevation),
                     dz = std::cos(elevation) * std::cos(azimuth);
        colour c = elevation >= 0
                       ? mix(horizon, zenith, std::pow(std::sin(elevation), 0.6))
                       : scaled(mix(shore, depth, std::pow(-std::sin(elevation), 0.5)), 0.8 + 0.4 * fbm(u * 32, v * 16, 32, 4, 5));
        const double angle = std::acos(std::clamp(dx * sx + dy * sy + dz * sz, -1.0, 1.0));
        const double glow = angle < 0.04 ? 1.0 : 0.7 * std::exp(-angle * 18) + 0.25 * std::exp(-angle * 3);
        return mix(c, sunlight, std::min(glow, 1.0));
    });
}

Image ridgeHeightMap(int width, int height) {
    return paint(width, height, [](double u, double v) {
        double sum = 0, amplitude = 0.5, weight = 1, x = u * 6, y = v * 3;
        int period = 6;
        for (int i = 0; i < 5; ++i) {
            const double ridge = 1 - std::abs(2 * valueNoise(x, y, period, 41 + static_cast<uint32_t>(i)) - 1);
            sum += amplitude * ridge * ridge * weight;
            weight = std::clamp(ridge * 1.5, 0.0, 1.0);
            amplitude *= 0.5;
            x *= 2;
            y *= 2;
            period *= 2;
        }
        const double h = std::clamp(sum * 1.4, 0.0, 1.0);
        return colour{h, h, h};
    });
}

render_plan demoPlan(const std::string& out) {
    render_plan plan;
    plan.depth = outputDepth(out, std::nullopt);
    plan.frame = singleFrame({std::nullopt, 1.0, out});

    struct layers {
        AEGP_LayerIDVal planet = 0, sky = 0, ridges = 0;
    };
    auto ids = std::make_shared<layers>();
    plan.stageComp = [ids](SimulatedHost& host) {
        Comp& comp = host.comp();
        comp.width = 1280;
        comp.height = 720;
        comp.motionBlur = true;  // with the layer's switch: "Comp Settings" blurs
        comp.effectLayer().motionBlur = true;
        camera_settings camera;
        camera.position = {640, 250, -1700};
        camera.pointOfInterest = vec3{640, 360, 0};
        comp.addCamera(camera);
        light_settings key;
        key.type = AEGP_LightType_POINT;
        key.position = {150, 60, -900};
        key.color = AEGP_ColorVal{1, 1.0, 0.95, 0.88};
        key.intensity = 120;
        comp.addLight(key).name = "Key Light";
        light_settings fill;
        fill.type = AEGP_LightType_AMBIENT;
        fill.color = AEGP_ColorVal{1, 0.70, 0.78, 1.0};
        fill.intensity = 12;
        comp.addLight(fill).name = "Ambient Light";
        ids->planet = comp.addImage("Planet", bandedPlanet(1024, 512)).id;
        ids->sky = comp.addImage("Sky", skyWithSun(1024, 512)).id;
        ids->ridges = comp.addImage("Ridges", ridgeHeightMap(512, 256)).id;
    };
    plan.setValues = [ids](SimulatedHost& host) {
        host.setLayerParam("Diffuse Layer", ids->planet);
        host.setLayerParam("Environment Layer", ids->sky);
        host.setLayerParam("Bump Map Layer", ids->ridges);
        const std::pair<const char*, const char*> values[] = {
            {"Radius", "250"},        {"Rotation X", "18"},     {"Rotation Y", "40"},
            {"Specular", "0.4"},      {"Reflectivity", "0.2"},  {"Bump Map Intensity", "0.4"},
            {"Motion Blur Samples", "8"},
        };
        for (const auto& [name, value] : values) setParamFromText(host.params(), name, value);
        // The planet turns 120 degrees a second: 2 degrees during the comp's half-frame shutter.
        host.params().setRate("Rotation Y", 120);
    };
    return plan;
}

int demoCommand(const std::vector<std::string>& args) {
    std::string out;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--help" || args[i] == "-h") {
            std::fputs("usage: pellux-host demo --out FILE\n"
                       "Renders the built-in scene (a lit, textured planet in a sky, turning under motion blur)\n"
                       "at 1280x720 through the effect and writes FILE.png (8 bits) or FILE.pfm (a float map).\n",
                       stdout);
            return 0;
        }
        if (args[i] != "--out") throw usage_error("unknown option " + args[i] + " (see demo --help)");
        if (++i >= args.size()) throw usage_error("--out needs a value");
        out = args[i];
    }
    if (out.empty()) throw usage_error("--out FILE is required (see demo --help)");
    const render_plan plan = demoPlan(out);
    SimulatedHost host;
    printLoaded(host);
    return runPlan(host, plan);
}

}  // namespace hostsim
