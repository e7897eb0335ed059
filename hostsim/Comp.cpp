#include "Comp.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace hostsim {

namespace {

constexpr double degrees = 3.14159265358979323846 / 180.0;

vec3 sub(vec3 a, vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
vec3 cross(vec3 a, vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
vec3 normalize(vec3 v) {
    const double length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return length > 0 ? vec3{v.x / length, v.y / length, v.z / length} : vec3{0, 0, 1};
}

A_Matrix4 fromAxes(vec3 x, vec3 y, vec3 z, vec3 position) {
    return A_Matrix4{{{x.x, x.y, x.z, 0}, {y.x, y.y, y.z, 0}, {z.x, z.y, z.z, 0}, {position.x, position.y, position.z, 1}}};
}

// Axes that look from `from` towards `to`, with the comp's y pointing down the screen.
A_Matrix4 lookAt(vec3 from, vec3 to) {
    const vec3 z = normalize(sub(to, from));
    vec3 x = cross({0, 1, 0}, z);
    if (x.x * x.x + x.y * x.y + x.z * x.z < 1e-12) x = {1, 0, 0};
    x = normalize(x);
    return fromAxes(x, cross(z, x), z, from);
}

A_Matrix4 rotated(vec3 orientation, vec3 position) {
    const double ax = orientation.x * degrees, ay = orientation.y * degrees, az = orientation.z * degrees;
    // Rows of Rx * Ry * Rz in the row-vector convention.
    const double cx = std::cos(ax), sx = std::sin(ax), cy = std::cos(ay), sy = std::sin(ay), cz = std::cos(az),
                 sz = std::sin(az);
    const vec3 x{cy * cz, cy * sz, -sy};
    const vec3 y{sx * sy * cz - cx * sz, sx * sy * sz + cx * cz, sx * cy};
    const vec3 z{cx * sy * cz + sx * sz, cx * sy * sz - sx * cz, cx * cy};
    return fromAxes(x, y, z, position);
}

}  // namespace

A_Time comp_layer::compTimeOf(A_long layerTime, A_u_long scale) const {
    return hostTime(static_cast<int64_t>(layerTime) + inPointIn(scale), scale);
}

int64_t comp_layer::layerTimeOf(const A_Time& compTime) const {
    return static_cast<int64_t>(compTime.value) - inPointIn(compTime.scale);
}

A_Time hostTime(int64_t value, A_u_long scale) {
    constexpr int64_t largest = std::numeric_limits<A_long>::max(), smallest = std::numeric_limits<A_long>::min();
    const auto fits = [&](int64_t v) { return v >= smallest && v <= largest; };
    if (fits(value) || scale == 0) return A_Time{static_cast<A_long>(std::clamp(value, smallest, largest)), scale};
    // The same time in fewer units where the value and the scale share a factor.
    const int64_t common = std::gcd(value, static_cast<int64_t>(scale));
    const int64_t exact = value / common, coarser = static_cast<int64_t>(scale) / common;
    if (fits(exact)) return A_Time{static_cast<A_long>(exact), static_cast<A_u_long>(coarser)};
    // Else the finest scale that holds it, the value rounded to it; beyond 2^31 seconds, the nearest end.
    const long double seconds = static_cast<long double>(value) / scale;
    const int64_t fitting = std::max<int64_t>(1, static_cast<int64_t>(largest / std::fabs(seconds)));
    const int64_t rounded = std::llround(seconds * fitting);
    return A_Time{static_cast<A_long>(std::clamp(rounded, smallest, largest)), static_cast<A_u_long>(fitting)};
}

Comp::Comp() {
    auto effect = std::make_unique<comp_layer>();
    effect->name = "Effect Layer";
    add(std::move(effect));
}

comp_layer& Comp::add(std::unique_ptr<comp_layer> layer) {
    layer->id = nextId_++;
    layers_.push_back(std::move(layer));
    return *layers_.back();
}

comp_layer& Comp::addCamera(const camera_settings& settings) {
    auto layer = std::make_unique<comp_layer>();
    layer->type = AEGP_ObjectType_CAMERA;
    layer->name = "Camera";
    layer->camera = settings;
    return add(std::move(layer));
}

comp_layer& Comp::addLight(const light_settings& settings) {
    auto layer = std::make_unique<comp_layer>();
    layer->type = AEGP_ObjectType_LIGHT;
    layer->name = "Light";
    layer->light = settings;
    return add(std::move(layer));
}

comp_layer& Comp::addImage(const std::string& name, Image image) {
    auto layer = std::make_unique<comp_layer>();
    layer->name = name;
    layer->image = std::make_shared<const Image>(std::move(image));
    return add(std::move(layer));
}

comp_layer* Comp::layerById(AEGP_LayerIDVal id) const {
    for (const auto& layer : layers_)
        if (layer->id == id) return layer.get();
    return nullptr;
}

comp_layer* Comp::layer(A_long index) const {
    if (index < 0 || static_cast<size_t>(index) >= layers_.size()) return nullptr;
    return layers_[static_cast<size_t>(index)].get();
}

const comp_layer* Comp::activeCamera(double seconds) const {
    for (const auto& layer : layers_)
        if (layer->type == AEGP_ObjectType_CAMERA && layer->activeAt(seconds)) return layer.get();
    return nullptr;
}

double Comp::cameraZoom(const comp_layer* camera) const {
    if (camera && camera->camera.zoom > 0) return camera->camera.zoom;
    return width * 50.0 / 36.0;  // a 50 mm lens on 36 mm film spanning the comp's width
}

A_Matrix4 Comp::cameraMatrix(const comp_layer* camera) const {
    const vec3 centre{width / 2.0, height / 2.0, 0};
    if (!camera) return lookAt({centre.x, centre.y, -cameraZoom(nullptr)}, centre);
    const camera_settings& c = camera->camera;
    return c.pointOfInterest ? lookAt(c.position, *c.pointOfInterest) : rotated(c.orientation, c.position);
}

A_Matrix4 Comp::layerToWorld(const comp_layer& layer) const {
    if (layer.type == AEGP_ObjectType_CAMERA) return cameraMatrix(&layer);
    if (layer.type == AEGP_ObjectType_LIGHT) return lookAt(layer.light.position, layer.light.pointOfInterest);
    return A_Matrix4{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
}

bool Comp::streamValue(const comp_layer& layer, AEGP_LayerStream which, AEGP_StreamVal& value,
                       AEGP_StreamType& type) const {
    value = {};
    type = AEGP_StreamType_OneD;
    if (layer.type == AEGP_ObjectType_CAMERA) {
        const camera_settings& c = layer.camera;
        switch (which) {
        case AEGP_LayerStream_ZOOM: value.one_d = cameraZoom(&layer); return true;
        case AEGP_LayerStream_DEPTH_OF_FIELD: value.one_d = c.depthOfField ? 1 : 0; return true;
        case AEGP_LayerStream_FOCUS_DISTANCE:
            value.one_d = c.focusDistance > 0 ? c.focusDistance : cameraZoom(&layer);
            return true;
        case AEGP_LayerStream_APERTURE: value.one_d = c.aperture; return true;
        case AEGP_LayerStream_BLUR_LEVEL: value.one_d = c.blurLevel; return true;
        default: break;
        }
    } else if (layer.type == AEGP_ObjectType_LIGHT) {
        const light_settings& l = layer.light;
        switch (which) {
        case AEGP_LayerStream_INTENSITY: value.one_d = l.intensity; return true;
        case AEGP_LayerStream_COLOR:
            type = AEGP_StreamType_COLOR;
            value.color = l.color;
            return true;
        case AEGP_LayerStream_CONE_ANGLE: value.one_d = l.coneAngle; return true;
        case AEGP_LayerStream_CONE_FEATHER: value.one_d = l.coneFeather; return true;
        case AEGP_LayerStream_CASTS_SHADOWS: value.one_d = l.castsShadows ? 1 : 0; return true;
        case AEGP_LayerStream_LIGHT_FALLOFF_DISTANCE: value.one_d = l.falloff; return true;
        default: break;
        }
    }
    type = AEGP_StreamType_NO_DATA;
    return false;
}

}  // namespace hostsim
