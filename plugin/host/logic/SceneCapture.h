// Reads the comp camera and the comp lights at the effect's current time into the render records.
#pragma once

#include <vector>

#include "command_context.h"
#include "render_records.h"

// Film size of the host's default camera (36 mm at 72 dpi), and the one assumed without a camera layer.
constexpr float defaultFilmSize = 102.0472f;

// The camera that frames the frame's output rectangle; returns `camera`.
camera_record* captureCamera(const render_data& frame, camera_record& camera, command_context& context);
// Appends the comp's lights that are on at the current time; returns `lights`.
std::vector<light_properties>& captureLights(std::vector<light_properties>& lights, command_context& context);
