// The options of `pellux-host render`, read from its command line without touching the effect: what
// needs the effect's parameter list (names, choices) is checked when the values are set.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "Comp.h"
#include "LayerRef.h"

namespace hostsim {

// A mistake on the command line; the program ends with its message and exit code 2.
class usage_error : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

struct camera_option {
    camera_settings settings;
    std::optional<vec3> position;  // unset: in front of the comp's centre at the zoom's distance
    std::optional<vec3> pointOfInterest;  // unset: the comp's centre
};

struct light_option {
    light_settings settings;
    std::optional<vec3> position;         // unset: before the comp's upper left corner
    std::optional<vec3> pointOfInterest;  // unset: the comp's centre
    std::optional<double> inPoint, duration;  // comp seconds; unset: the layer's defaults
};

struct layer_option {
    std::string param;  // the layer parameter's display name
    std::string file;
};

struct render_options {
    bool help = false;
    int width = 1920, height = 1080;
    int depth = 8;  // bits per channel of the frames the host renders
    downsample_factors downsample;
    A_Ratio pixelAspect{1, 1};                   // the comp's and its layers'
    double shutterAngle = Comp().shutterAngle;   // degrees, the comp's
    double shutterPhase = Comp().shutterPhase;
    bool sparseLayers = false;  // map layers handed over trimmed to their content, as text and shapes are
    double time = 0;                             // comp seconds, when no frame range is given
    double layerStart = 0;                       // the effect layer's in-point, comp seconds
    std::optional<std::pair<int, int>> frames;  // first and last frame
    std::string out;
    std::vector<std::pair<std::string, std::string>> settings;  // display name, value text
    std::vector<layer_option> layers;
    std::optional<camera_option> camera;
    std::vector<light_option> lights;
    bool compMotionBlur = false;
    bool hostReport = false;  // print what the host did for each frame: pixel checkouts, layer renders
};

// The host's time values are 32 bits wide: the last frame it renders, and the latest time, leave room for
// the frame's motion-blur samples, up to one frame step later.
int lastFrameNumber();
double latestSeconds();

// Throws usage_error.
render_options parseRenderOptions(const std::vector<std::string>& args);
const char* renderHelp();

// The render's bits per channel for an output file: `depth` when given, else 8 for a .png and 32 for a
// .pfm. Throws usage_error for another extension, or 32 bits for a PNG.
int outputDepth(const std::string& out, std::optional<int> depth);

// The file of one frame of a sequence: the frame number, four digits, before the extension.
std::string frameFileName(const std::string& out, int frame);

}  // namespace hostsim
