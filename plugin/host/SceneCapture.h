// Reads the comp camera and the comp lights at the effect's current time into the render records.
#pragma once

#include <vector>

#include "AePlugin.h"
#include "render_records.h"

// Film size of the host's default camera (36 mm at 72 dpi), and the one assumed without a camera layer.
constexpr float defaultFilmSize = 102.0472f;

camera_record* captureCamera(const AePlugin& effect, camera_record& camera, command_context& context);
std::vector<light_properties>& captureLights(const AePlugin& effect, std::vector<light_properties>& lights,
                                             command_context& context);
