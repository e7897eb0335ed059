// The camera and light algebra of the scene capture as plain functions of values: the capture reads the
// host and hands these what it read. Matrices are for row vectors, as the renderer applies them.
#pragma once

#include "ae_suites.h"
#include "mat4.h"
#include "render_records.h"

// The output's rectangle on the image plane, in comp pixels from the view's centre; y grows downwards,
// so `top` is the smaller value.
struct view_window {
    float left = 0, right = 0, bottom = 0, top = 0;
};

// Comp pixels per output pixel, across and down: the host's downsample factors of each axis, and across
// also the layer's pixel width in comp pixels (`pixelAspect` / `compAspect`), since the view the
// camera sees is measured in comp pixels, with or without a camera layer.
vec2 outputScale(float downsampleX, float downsampleY, float pixelAspect, float compAspect);

// Where an output of `width` x `height` pixels at (`originX`, `originY`) lies in a view of `viewSize`
// (the host's image plane, in comp pixels), with `scale` comp pixels per output pixel.
view_window viewWindow(vec2 viewSize, vec2 scale, float originX, float originY, float width, float height);

// A frustum through the window at the image plane's distance, its near plane at 0.01, its far plane at
// infinity.
qssdk::mat4 perspectiveProjection(const view_window& window, float imagePlaneDistance);
// A parallel projection of the window.
qssdk::mat4 orthographicProjection(const view_window& window);

// The comp-to-camera matrix of the host's camera-to-world matrix, the x axis divided by the comp's pixel
// aspect and z turned to point away from the scene, as GL looks down -z.
qssdk::mat4 viewMatrixOf(const qssdk::mat4& cameraToWorld, float compAspect);

// A film size in the host's `units` as the horizontal film size of a view of `viewSize`.
float horizontalFilmSize(AEGP_FilmSizeUnits units, float filmSize, vec2 viewSize);

// Where a light is and where it points.
struct light_placement {
    vec4 position;   // x widened by the pixel aspect
    vec4 direction;  // the transform's z axis for aimed lights, else zero
    qssdk::mat4 transform;
    qssdk::mat4 inverse;
};

// The placement of a light layer with the host's layer-to-world matrix. Aimed lights (parallel and spot)
// keep the layer's whole transform; the others only its position.
light_placement lightPlacement(const qssdk::mat4& layerToWorld, float pixelAspect, bool aimed);
