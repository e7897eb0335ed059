#include "CameraAlgebra.h"

#include <cmath>

vec2 outputScale(float downsampleX, float downsampleY, float pixelAspect, float compAspect) {
    // A layer with the comp's pixels (the usual case) takes the downsample factor alone, unrounded.
    const float across = pixelAspect == compAspect ? downsampleX : downsampleX * pixelAspect / compAspect;
    return {across, downsampleY};
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

qssdk::mat4 viewMatrixOf(const qssdk::mat4& cameraToWorld, float compAspect) {
    qssdk::mat4 view = qssdk::inverse(cameraToWorld);
    for (int i = 0; i < 4; ++i) view[i] *= 1.0f / compAspect;
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
        placement.direction = {layerToWorld.at(2, 0), layerToWorld.at(2, 1), layerToWorld.at(2, 2), 0.0f};
        placement.transform = layerToWorld;
    } else {
        placement.transform = qssdk::mat4::identity();
        placement.transform.at(3, 0) = placement.position.x;
        placement.transform.at(3, 1) = placement.position.y;
        placement.transform.at(3, 2) = placement.position.z;
    }
    placement.inverse = qssdk::inverse(placement.transform);
    return placement;
}
