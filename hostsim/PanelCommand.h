// pellux-host panel: the effect's controls-panel strip as the host draws it, normal and hovered.
#pragma once

#include <string>
#include <vector>

#include "Image.h"
#include "SimulatedHost.h"

namespace hostsim {

// Draws the custom control of the parameter at `index` twice, with the cursor away from it and then
// over the point (x, y) of the control, and returns both canvases one above the other. The effect must
// be set up with its parameters.
Image panelStrip(SimulatedHost& host, PF_ParamIndex index, PF_Point hoverPoint);

// pellux-host panel --out FILE; throws usage_error for a mistake on the command line.
int panelCommand(const std::vector<std::string>& args);

}  // namespace hostsim
