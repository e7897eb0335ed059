// `pellux-host demo`: a built-in scene that shows the effect at work: a banded planet with a ridged bump
// map, lit by a key light and a little ambient light, reflecting a sky with a bright sun, turning a
// little during the shutter so the comp's motion blur shows. Its pictures are made here at run time.
#pragma once

#include <string>
#include <vector>

#include "Image.h"
#include "RenderCommand.h"

namespace hostsim {

// Equirectangular pictures, opaque: a planet's surface for "Diffuse Layer", a sky over the ground with a
// sun for "Environment Layer", and a ridged grey height map for "Bump Map Layer".
Image bandedPlanet(int width, int height);
Image skyWithSun(int width, int height);
Image ridgeHeightMap(int width, int height);

// Where the sun of skyWithSun stands, in the picture's coordinates (0..1 across and down).
constexpr double sunAcross = 0.3, sunDown = 0.5 - 35.0 / 180.0;

render_plan demoPlan(const std::string& out);

// pellux-host demo --out FILE: prints the loaded effect, renders the scene's frame and writes it.
int demoCommand(const std::vector<std::string>& args);

}  // namespace hostsim
