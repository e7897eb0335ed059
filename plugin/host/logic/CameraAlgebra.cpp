#include "CameraAlgebra.h"

#include <cmath>

namespace {

struct vec3f {
    float x, y, z;
};

vec3f rowOf(const qssdk::mat4& m, int row) { return {m.at(row, 0), m.at(row, 1), m.at(row, 2)}; }
vec3f widened(vec3f v, float aspect) { return {v.x * aspect, v.y, v.z}; }
float dot(vec3f a, vec3f b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
vec3f cross(vec3f a, vec3f b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
vec3f minus(vec3f a, vec3f b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
vec3f times(vec3f v, float s) { return {v.x * s, v.y * s, v.z * s}; }
// A zero vector (a frame the host left empty) stays zero.
vec3f normalized(vec3f v) {
    const float length = std::sqrt(dot(v, v));
    return length > 0 ? times(v, 1.0f / length) : v;
}

void setRow(qssdk::mat4& m, int row, vec3f v, float w) {
    m.at(row, 0) = v.x;
    m.at(row, 1) = v.y;
    m.at(row, 2) = v.z;
    m.at(row, 3) = w;
}

}  // namespace

vec2 outputScale(float downsampleX, float downsampleY, float pixelAspect) {
    return {downsampleX * pixelAspect, downsampleY};
}

vec2 squareViewSize(float planeWidth, float planeHeight, float compAspect) {
    return {planeWidth * compAspect, planeHeight};
}

view_window viewWindow(vec2 viewSize, vec2 scale, float originX, float originY, float width, float height) {
    const float dx = scale.x, dy = scale.y;
    const float halfW = viewSize.x / 2, halfH = viewSize.y / 2;
    return {originX * dx - halfW, originX * dx + width * dx - halfW, originY * dy + height * dy - halfH,
            originY * dy - halfH};
}

qssdk::mat4 perspectiveProjection(const view_window& window, float imagePlaneDistance) {
    // The window scaled from the image plane to the near plane.
    const float scale = 0.01f / imagePlaneDistance;
    const float l = window.left * scale, r = window.right * scale, b = window.bottom * scale, t = window.top * scale;
    qssdk::mat4 proj;
    proj.at(0, 0) = 0.02f / (r - l);
    proj.at(1, 1) = 0.02f / (b - t);
    proj.at(2, 0) = (l + r) / (r - l);
    proj.at(2, 1) = (b + t) / (b - t);
    proj.at(2, 2) = -1.0f;
    proj.at(2, 3) = -1.0f;
    proj.at(3, 2) = -0.02f;
    return proj;
}

qssdk::mat4 orthographicProjection(const view_window& window) {
    const float l = window.left, r = window.right, b = window.bottom, t = window.top;
    qssdk::mat4 proj;
    proj.at(0, 0) = 2.0f / (r - l);
    proj.at(1, 1) = 2.0f / (b - t);
    proj.at(2, 2) = -4e-6f;
    proj.at(3, 0) = -(l + r) / (r - l);
    proj.at(3, 1) = -(b + t) / (b - t);
    proj.at(3, 2) = -0.99999994f;
    proj.at(3, 3) = 1.0f;
    return proj;
}

qssdk::mat4 squareFrame(const qssdk::mat4& frame, float aspect) {
    const vec3f z = normalized(widened(rowOf(frame, 2), aspect));
    const vec3f up = widened(rowOf(frame, 1), aspect);
    const vec3f y = normalized(minus(up, times(z, dot(up, z))));
    qssdk::mat4 square;
    setRow(square, 0, cross(y, z), 0);
    setRow(square, 1, y, 0);
    setRow(square, 2, z, 0);
    setRow(square, 3, widened(rowOf(frame, 3), aspect), 1);
    return square;
}

qssdk::mat4 viewMatrixOf(const qssdk::mat4& cameraToWorld, float compAspect) {
    qssdk::mat4 view = qssdk::inverse(squareFrame(cameraToWorld, compAspect));
    qssdk::mat4 flipZ = qssdk::mat4::identity();
    flipZ.at(2, 2) = -1.0f;
    view *= flipZ;
    return view;
}

float horizontalFilmSize(AEGP_FilmSizeUnits units, float filmSize, vec2 viewSize) {
    const float w = viewSize.x, h = viewSize.y;
    if (units == AEGP_FilmSizeUnits_VERTICAL) return filmSize * (w / h);
    if (units == AEGP_FilmSizeUnits_DIAGONAL) return filmSize * (w / std::sqrt(w * w + h * h));
    return filmSize;
}

light_placement lightPlacement(const qssdk::mat4& layerToWorld, float pixelAspect, bool aimed) {
    light_placement placement;
    placement.position = {layerToWorld.at(3, 0) * pixelAspect, layerToWorld.at(3, 1), layerToWorld.at(3, 2), 0.0f};
    if (aimed) {
        placement.transform = squareFrame(layerToWorld, pixelAspect);
        placement.direction = {placement.transform.at(2, 0), placement.transform.at(2, 1),
                               placement.transform.at(2, 2), 0.0f};
    } else {
        placement.transform = qssdk::mat4::identity();
        placement.transform.at(3, 0) = placement.position.x;
        placement.transform.at(3, 1) = placement.position.y;
        placement.transform.at(3, 2) = placement.position.z;
    }
    placement.inverse = qssdk::inverse(placement.transform);
    return placement;
}
