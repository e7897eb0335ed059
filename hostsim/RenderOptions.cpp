#include "RenderOptions.h"

#include <algorithm>
#include <cctype>
#include <limits>

#include "TextValues.h"
#include "format_string.h"

namespace hostsim {

namespace {

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && lower(text.substr(text.size() - tail.size())) == tail;
}

// "a=b": the name and the value; the name must not be empty.
std::pair<std::string, std::string> assignment(const std::string& text, const char* form) {
    const size_t equals = text.find('=');
    if (equals == std::string::npos || equals == 0) throw std::invalid_argument(std::string("give ") + form);
    return {text.substr(0, equals), text.substr(equals + 1)};
}

int positive(std::string_view text) {
    const int value = parseInteger(text);
    if (value < 1) throw std::invalid_argument("\"" + std::string(text) + "\" is not 1 or more");
    return value;
}

double atLeastZero(std::string_view text) {
    const double value = parseNumber(text);
    if (value < 0) throw std::invalid_argument("\"" + std::string(text) + "\" is below 0");
    return value;
}

double above(std::string_view text, double limit) {
    const double value = parseNumber(text);
    if (value <= limit) throw std::invalid_argument(qssdk::format_string("\"%s\" must be above %g", std::string(text).c_str(), limit));
    return value;
}

// Runs `parse` on each "key=value" of a ';'-separated description.
template <class Parse> void eachKey(const std::string& text, Parse parse) {
    for (std::string_view part : split(text, ';')) {
        if (part.empty()) continue;
        const auto [key, value] = assignment(std::string(part), "key=value pairs separated by ';'");
        parse(key, value);
    }
}

camera_option parseCamera(const std::string& text) {
    camera_option camera;
    camera_settings& c = camera.settings;
    eachKey(text, [&](const std::string& key, const std::string& value) {
        if (key == "pos")
            camera.position = parseTriple(value);
        else if (key == "poi")
            camera.pointOfInterest = parseTriple(value);
        else if (key == "zoom")
            c.zoom = above(value, 0);
        else if (key == "film")
            c.filmSize = above(value, 0);
        else if (key == "type" && value == "perspective")
            c.type = AEGP_CameraType_PERSPECTIVE;
        else if (key == "type" && value == "orthographic")
            c.type = AEGP_CameraType_ORTHOGRAPHIC;
        else if (key == "type")
            throw std::invalid_argument("type is perspective or orthographic, not \"" + value + "\"");
        else if (key == "units" && value == "horizontal")
            c.filmUnits = AEGP_FilmSizeUnits_HORIZONTAL;
        else if (key == "units" && value == "vertical")
            c.filmUnits = AEGP_FilmSizeUnits_VERTICAL;
        else if (key == "units" && value == "diagonal")
            c.filmUnits = AEGP_FilmSizeUnits_DIAGONAL;
        else if (key == "units")
            throw std::invalid_argument("units are horizontal, vertical or diagonal, not \"" + value + "\"");
        else
            throw std::invalid_argument("unknown key \"" + key + "\" (pos, poi, zoom, type, film, units)");
    });
    return camera;
}

light_option parseLight(const std::string& text) {
    light_option light;
    light_settings& l = light.settings;
    const std::pair<const char*, AEGP_LightType> types[] = {{"parallel", AEGP_LightType_PARALLEL},
                                                            {"spot", AEGP_LightType_SPOT},
                                                            {"point", AEGP_LightType_POINT},
                                                            {"ambient", AEGP_LightType_AMBIENT}};
    eachKey(text, [&](const std::string& key, const std::string& value) {
        if (key == "type") {
            const auto* type = std::find_if(std::begin(types), std::end(types), [&](auto& t) { return value == t.first; });
            if (type == std::end(types))
                throw std::invalid_argument("type is parallel, spot, point or ambient, not \"" + value + "\"");
            l.type = type->second;
        } else if (key == "pos") {
            light.position = parseTriple(value);
        } else if (key == "poi") {
            light.pointOfInterest = parseTriple(value);
        } else if (key == "color") {
            const PF_Pixel c = parseColor(value);
            l.color = AEGP_ColorVal{1, c.red / 255.0, c.green / 255.0, c.blue / 255.0};
        } else if (key == "intensity") {
            l.intensity = parseNumber(value);
        } else if (key == "cone") {
            l.coneAngle = parseNumber(value);
            if (l.coneAngle <= 0 || l.coneAngle > 180)
                throw std::invalid_argument("cone takes degrees above 0, up to 180");
        } else if (key == "feather") {
            l.coneFeather = atLeastZero(value);
            if (l.coneFeather > 100) throw std::invalid_argument("feather takes 0 to 100 percent");
        } else if (key == "in") {
            light.inPoint = atLeastZero(value);
        } else if (key == "duration") {
            light.duration = parseNumber(value);
            if (*light.duration <= 0) throw std::invalid_argument("duration takes seconds above 0");
        } else {
            throw std::invalid_argument(
                "unknown key \"" + key + "\" (type, pos, poi, color, intensity, cone, feather, in, duration)");
        }
    });
    return light;
}

std::pair<int, int> parseFrames(const std::string& text) {
    const size_t dash = text.find('-', 1);
    if (dash == std::string::npos) throw std::invalid_argument("give A-B");
    const int first = parseInteger(text.substr(0, dash)), last = parseInteger(text.substr(dash + 1));
    if (first < 0 || last < first) throw std::invalid_argument("give A-B with 0 <= A <= B");
    if (last > lastFrameNumber())
        throw std::invalid_argument(qssdk::format_string("frames go up to %d", lastFrameNumber()));
    return {first, last};
}

// "N" for both axes or "X,Y".
downsample_factors parseDownsample(const std::string& text) {
    const std::vector<std::string_view> parts = split(text, ',');
    if (parts.size() == 1) return downsample_factors{positive(parts[0])};
    if (parts.size() != 2) throw std::invalid_argument("give N or X,Y");
    return downsample_factors{positive(parts[0]), positive(parts[1])};
}

// "N/D" or "N".
A_Ratio parseRatio(const std::string& text) {
    const size_t slash = text.find('/');
    const int num = positive(text.substr(0, slash));
    const int den = slash == std::string::npos ? 1 : positive(text.substr(slash + 1));
    return A_Ratio{num, static_cast<A_u_long>(den)};
}

double withinDegrees(std::string_view text, double low, double high) {
    const double value = parseNumber(text);
    if (value < low || value > high)
        throw std::invalid_argument(qssdk::format_string("give %g to %g degrees", low, high));
    return value;
}

std::pair<int, int> parseSize(const std::string& text) {
    const size_t x = text.find('x');
    if (x == std::string::npos) throw std::invalid_argument("give WxH");
    const int width = positive(text.substr(0, x)), height = positive(text.substr(x + 1));
    if (width > 30000 || height > 30000) throw std::invalid_argument("a comp is at most 30000 pixels each way");
    return {width, height};
}

}  // namespace

int lastFrameNumber() {
    const Comp comp;
    return static_cast<int>(std::numeric_limits<A_long>::max() / comp.frameStep() - 1);
}

double latestSeconds() {
    const Comp comp;
    return static_cast<double>(lastFrameNumber()) * comp.frameStep() / comp.timeScale();
}

render_options parseRenderOptions(const std::vector<std::string>& args) {
    render_options options;
    bool depthGiven = false, timeGiven = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option == "--help" || option == "-h") {
            options.help = true;
            return options;
        }
        if (option.rfind("--", 0) != 0) throw usage_error("unexpected argument \"" + option + "\" (see --help)");
        if (option == "--host-report" || option == "--sparse-layers") {  // the options without a value
            (option == "--host-report" ? options.hostReport : options.sparseLayers) = true;
            continue;
        }
        static const char* const known[] = {"--out",   "--size",   "--depth", "--downsample", "--time",
                                            "--frames", "--set",   "--layer", "--camera",     "--light",
                                            "--comp-motion-blur", "--layer-start", "--pixel-aspect",
                                            "--shutter-angle", "--shutter-phase"};
        if (std::find_if(std::begin(known), std::end(known), [&](const char* k) { return option == k; }) ==
            std::end(known))
            throw usage_error("unknown option " + option + " (see --help)");
        if (i + 1 >= args.size()) throw usage_error(option + " needs a value (see --help)");
        const std::string& value = args[++i];
        try {
            if (option == "--out") {
                options.out = value;
            } else if (option == "--size") {
                std::tie(options.width, options.height) = parseSize(value);
            } else if (option == "--depth") {
                options.depth = parseInteger(value);
                if (options.depth != 8 && options.depth != 16 && options.depth != 32)
                    throw std::invalid_argument("give 8, 16 or 32");
                depthGiven = true;
            } else if (option == "--downsample") {
                options.downsample = parseDownsample(value);
            } else if (option == "--pixel-aspect") {
                options.pixelAspect = parseRatio(value);
            } else if (option == "--shutter-angle") {
                options.shutterAngle = withinDegrees(value, 0, 720);
            } else if (option == "--shutter-phase") {
                options.shutterPhase = withinDegrees(value, -360, 360);
            } else if (option == "--time") {
                options.time = atLeastZero(value);
                if (options.time > latestSeconds())
                    throw std::invalid_argument(qssdk::format_string("the latest time is %.3f", latestSeconds()));
                timeGiven = true;
            } else if (option == "--frames") {
                options.frames = parseFrames(value);
            } else if (option == "--set") {
                options.settings.push_back(assignment(value, "\"Parameter Name=value\""));
            } else if (option == "--layer") {
                const auto [param, file] = assignment(value, "\"Layer Parameter=FILE\"");
                if (file.empty()) throw std::invalid_argument("give \"Layer Parameter=FILE\"");
                options.layers.push_back({param, file});
            } else if (option == "--camera") {
                if (options.camera) throw std::invalid_argument("the comp has one camera here: give --camera once");
                options.camera = parseCamera(value);
            } else if (option == "--light") {
                options.lights.push_back(parseLight(value));
            } else if (option == "--layer-start") {
                options.layerStart = atLeastZero(value);
                if (options.layerStart > latestSeconds())
                    throw std::invalid_argument(qssdk::format_string("the latest time is %.3f", latestSeconds()));
            } else if (option == "--comp-motion-blur") {
                if (value != "0" && value != "1") throw std::invalid_argument("give 0 or 1");
                options.compMotionBlur = value == "1";
            }
        } catch (const std::invalid_argument& error) {
            throw usage_error(option + " \"" + value + "\": " + error.what());
        }
    }
    if (options.out.empty()) throw usage_error("--out FILE is required (see --help)");
    options.depth = outputDepth(options.out, depthGiven ? std::optional<int>(options.depth) : std::nullopt);
    if (timeGiven && options.frames) throw usage_error("--time and --frames exclude each other");
    // The host renders an effect only where its layer is.
    const double first = options.frames ? options.frames->first / Comp().frameRate : options.time;
    if (first < options.layerStart)
        throw usage_error(qssdk::format_string("the first frame (%.3f s) lies before --layer-start (%.3f s)", first,
                                               options.layerStart));
    return options;
}

int outputDepth(const std::string& out, std::optional<int> depth) {
    const bool pfm = endsWith(out, ".pfm");
    if (!pfm && !endsWith(out, ".png")) throw usage_error("--out \"" + out + "\": the file must end in .png or .pfm");
    if (!pfm && depth == 32) throw usage_error("--depth 32 is written as a float map: give --out a .pfm file");
    return depth.value_or(pfm ? 32 : 8);
}

std::string frameFileName(const std::string& out, int frame) {
    const size_t dot = out.find_last_of('.');
    return out.substr(0, dot) + qssdk::format_string("_%04d", frame) + out.substr(dot);
}

const char* renderHelp() {
    return "usage: pellux-host render [OPTIONS] --out FILE\n"
           "Renders frames of a comp through the effect, as the host would, and writes them.\n"
           "\n"
           "  --out FILE            the picture to write: FILE.png (8 or 16 bits) or FILE.pfm (a float map)\n"
           "  --frames A-B          frames A to B (30 per second, up to 21474835); each file gets its number\n"
           "                        before the extension: out.png -> out_0003.png\n"
           "  --time SECONDS        the one frame's comp time (default 0, up to 715827.833); not with --frames\n"
           "  --size WxH            the comp's size in pixels (default 1920x1080)\n"
           "  --depth 8|16|32       bits per channel of the render (default 8 for .png, 32 for .pfm); a PNG\n"
           "                        is written at 8 or 16 bits, so 32 needs a .pfm\n"
           "  --downsample N|X,Y    render at 1/N of the comp's size, or at 1/X across and 1/Y down (default 1)\n"
           "  --pixel-aspect N/D    the pixel aspect of the comp and its layers, e.g. 2 or 10/11 (default 1)\n"
           "  --shutter-angle DEG   the comp's shutter angle, 0 to 720 (default 180)\n"
           "  --shutter-phase DEG   the comp's shutter phase, -360 to 360 (default -90): where the shutter\n"
           "                        opens, from the frame's time\n"
           "  --sparse-layers       hand every map layer over trimmed to its content (the bounding box of\n"
           "                        its pixels that are not transparent), as the host does for text and\n"
           "                        shape layers\n"
           "  --set \"Name=value\"    a parameter by its name in the effect's controls (repeatable): numbers,\n"
           "                        angles in degrees, colours #RRGGBB, check boxes 0/1, popups by choice\n"
           "                        text or number from 1, points x,y,z in layer pixels\n"
           "  --layer \"Name=FILE\"   a PNG or JPEG as a comp layer, chosen for that layer parameter (Diffuse\n"
           "                        Layer, Glossiness Layer, Illumination Layer, Bump Map Layer or\n"
           "                        Environment Layer; repeatable)\n"
           "  --camera \"KEY=V;...\"  the comp camera (once): pos=x,y,z poi=x,y,z zoom=PIXELS\n"
           "                        type=perspective|orthographic film=SIZE units=horizontal|vertical|diagonal\n"
           "                        (defaults: in front of the comp's centre at the zoom's distance, looking\n"
           "                        at the centre; the 50 mm zoom; perspective; film 102.0472 horizontal)\n"
           "  --light \"KEY=V;...\"   a comp light (repeatable): type=parallel|spot|point|ambient pos=x,y,z\n"
           "                        poi=x,y,z color=#RRGGBB intensity=PERCENT cone=DEGREES feather=PERCENT\n"
           "                        in=SECONDS duration=SECONDS (the light layer's comp-time in-point and\n"
           "                        length; defaults: point, at (0, 0, -width/2), aimed at the comp's centre,\n"
           "                        white, 100, 90, 50, 0, 3600)\n"
           "  --comp-motion-blur 0|1  the comp's motion-blur switch (the effect layer's own is on)\n"
           "  --layer-start SECONDS the effect layer's in-point in comp time (default 0): the effect is\n"
           "                        handed its layer's time; --time and --frames stay comp time\n"
           "  --host-report         after each frame, what the host did for it: each checkout's result\n"
           "                        rectangle (in the frame's pixels) and reference size (the layer's at full\n"
           "                        resolution), the pixel checkouts of each checkout id, and how often it\n"
           "                        rendered each layer for the effect\n"
           "  --help                this text\n";
}

}  // namespace hostsim
