// The simulated host's composition: its size and timing, the effect's layer, and optional camera and
// light layers, with the transforms and stream values the host reports for them.
#pragma once

#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Image.h"
#include "ae_suites.h"

namespace hostsim {

struct vec3 {
    double x = 0, y = 0, z = 0;
};

// Film size the host uses without another setting: 36 mm at 72 dpi.
constexpr double defaultFilmSize = 102.0472;

struct camera_settings {
    vec3 position;
    std::optional<vec3> pointOfInterest;  // when absent, `orientation` turns the camera
    vec3 orientation;                     // degrees about x, y, z
    double zoom = 0;                      // pixels; 0: the 50 mm lens of the comp's width
    double filmSize = defaultFilmSize;
    AEGP_FilmSizeUnits filmUnits = AEGP_FilmSizeUnits_HORIZONTAL;
    AEGP_CameraType type = AEGP_CameraType_PERSPECTIVE;
    bool depthOfField = false;
    double focusDistance = 0;  // 0: the zoom
    double aperture = 0;
    double blurLevel = 100;
};

struct light_settings {
    AEGP_LightType type = AEGP_LightType_POINT;
    vec3 position;
    vec3 pointOfInterest;  // where parallel and spot lights point
    AEGP_ColorVal color{1, 1, 1, 1};
    double intensity = 100;  // percent
    double coneAngle = 90;   // degrees
    double coneFeather = 50; // percent
    bool castsShadows = false;
    double falloff = 0;
};

struct comp_layer {
    AEGP_ObjectType type = AEGP_ObjectType_AV;
    AEGP_LayerIDVal id = 0;
    std::string name;
    bool videoOn = true;
    bool motionBlur = false;
    double inPoint = 0;      // seconds, comp time; the effect's layer starts at 0 unless a test moves it
    double duration = 3600;  // seconds
    camera_settings camera;
    light_settings light;
    std::shared_ptr<const Image> image;  // the pixels of an image layer
    // Counts changes of the layer's content; a test bumps it to make the layer read as changed.
    A_u_long revision = 0;

    bool activeAt(double seconds) const { return videoOn && seconds >= inPoint && seconds < inPoint + duration; }
    // The simulated host trims no layer, so a layer's own time starts at its in-point. Between the layer's
    // time and the comp's in 64 bits: a late in-point lies beyond 32 bits in a fine scale.
    // The comp time of a layer time in `scale`, as the host hands it (see hostTime).
    A_Time compTimeOf(A_long layerTime, A_u_long scale) const;
    // The layer time of a comp time, in the comp time's scale.
    int64_t layerTimeOf(const A_Time& compTime) const;
    int64_t inPointIn(A_u_long scale) const { return std::llround(inPoint * scale); }
};

// A time as the host hands it: in `scale` while its value fits the host's 32 bits, else in the finest
// coarser scale it fits (exactly where the value allows: 720000 s at scale 3000 comes as 720000 at scale 1).
A_Time hostTime(int64_t value, A_u_long scale);

class Comp {
public:
    Comp();

    int width = 1920;
    int height = 1080;
    A_Ratio pixelAspect{1, 1};
    double frameRate = 30;
    double duration = 30;  // seconds
    bool motionBlur = false;
    double shutterAngle = 180;  // degrees
    double shutterPhase = -90;  // degrees

    // Time values of the comp: scale per second and one frame's step in it.
    A_u_long timeScale() const { return static_cast<A_u_long>(frameRate * 100 + 0.5); }
    A_long frameStep() const { return 100; }

    comp_layer& effectLayer() { return *layers_.front(); }
    AEGP_LayerIDVal effectLayerId() const { return layers_.front()->id; }
    comp_layer& addCamera(const camera_settings& settings);
    comp_layer& addLight(const light_settings& settings);
    comp_layer& addImage(const std::string& name, Image image);
    comp_layer* layerById(AEGP_LayerIDVal id) const;
    const std::vector<std::unique_ptr<comp_layer>>& layers() const { return layers_; }
    comp_layer* layer(A_long index) const;

    // The top-most camera layer that is on at that time, if any.
    const comp_layer* activeCamera(double seconds) const;
    // The camera's transform (rows: x, y, z axes, then position), the host's default camera when null.
    A_Matrix4 cameraMatrix(const comp_layer* camera) const;
    double cameraZoom(const comp_layer* camera) const;
    A_Matrix4 layerToWorld(const comp_layer& layer) const;
    // A stream of a layer; false when the layer has no such stream.
    bool streamValue(const comp_layer& layer, AEGP_LayerStream which, AEGP_StreamVal& value,
                     AEGP_StreamType& type) const;

private:
    comp_layer& add(std::unique_ptr<comp_layer> layer);
    std::vector<std::unique_ptr<comp_layer>> layers_;
    AEGP_LayerIDVal nextId_ = 1;
};

}  // namespace hostsim
