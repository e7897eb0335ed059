// The camera and light algebra of the scene capture as plain functions of values: the capture reads the
// host and hands these what it read. Matrices are for row vectors, as the renderer applies them.
//
// The scene is built in square units: the host's comp pixels with x widened by the pixel aspect, so that
// the sphere is round and a turned camera or light sees it as it stands; only the projection goes back
// to the output's pixels.
#pragma once

#include "ae_suites.h"
#include "mat4.h"
#include "render_records.h"

// The output's rectangle on the image plane, in square units from the view's centre; y grows downwards,
// so `top` is the smaller value.
struct view_window {
    float left = 0, right = 0, bottom = 0, top = 0;
};

// Square units per output pixel, across and down: the host's downsample factors of each axis, and across
// also the width of the layer's pixel.
vec2 outputScale(float downsampleX, float downsampleY, float pixelAspect);

// The host's image plane of `planeWidth` x `planeHeight` comp pixels in square units.
vec2 squareViewSize(float planeWidth, float planeHeight, float compAspect);

// Where an output of `width` x `height` pixels at (`originX`, `originY`) lies in a view of `viewSize`
// (square units), with `scale` square units per output pixel.
view_window viewWindow(vec2 viewSize, vec2 scale, float originX, float originY, float width, float height);

// A frustum through the window at the image plane's distance, its near plane at 0.01, its far plane at
// infinity.
qssdk::mat4 perspectiveProjection(const view_window& window, float imagePlaneDistance);
// A parallel projection of the window.
qssdk::mat4 orthographicProjection(const view_window& window);

// A host frame (rows: the x, y and z axes, then the position, in comp pixels) in square units: the
// position and the z axis (where the frame aims) widened by `aspect`, the y axis kept in the plane of its
// widened self and the z axis, x square to both. A frame stays a rotation and a translation, so what it
// sees keeps its shape; at aspect 1 it is the frame itself.
qssdk::mat4 squareFrame(const qssdk::mat4& frame, float aspect);

// The square-to-camera matrix of the host's camera-to-world matrix: the camera's frame in square units,
// inverted, with z turned to point away from the scene, as GL looks down -z.
qssdk::mat4 viewMatrixOf(const qssdk::mat4& cameraToWorld, float compAspect);

// A film size in the host's `units` as the horizontal film size of a view of `viewSize`.
float horizontalFilmSize(AEGP_FilmSizeUnits units, float filmSize, vec2 viewSize);

// Where a light is and where it points, in square units.
struct light_placement {
    vec4 position;   // x widened by the pixel aspect
    vec4 direction;  // the widened z axis for aimed lights, unit length, else zero
    qssdk::mat4 transform;
    qssdk::mat4 inverse;
};

// The placement of a light layer with the host's layer-to-world matrix. Aimed lights (parallel and spot)
// keep the layer's whole frame in square units; the others only its position.
light_placement lightPlacement(const qssdk::mat4& layerToWorld, float pixelAspect, bool aimed);
