// The suites that describe the comp: its layers, camera and lights, as the effect reads them.
#pragma once

#include "../SuiteRegistry.h"
#include "ae_suites.h"

namespace hostsim {

void provideSceneSuites(SuiteRegistry& registry);

// Functions of suites that other groups also fill.
namespace scene {
A_Err getEffectLayer(PF_ProgPtr effect_ref, AEGP_LayerH* layer);
A_Err getEffectCamera(PF_ProgPtr effect_ref, const A_Time* comp_time, AEGP_LayerH* camera_layer);
A_Err getEffectCameraMatrix(PF_ProgPtr effect_ref, const A_Time* comp_time, A_Matrix4* camera_matrix,
                            A_FpLong* dist_to_image_plane, A_short* image_plane_width, A_short* image_plane_height);
A_Err getLayerStreamValue(AEGP_LayerH layer, AEGP_LayerStream which, AEGP_LTimeMode mode, const A_Time* time,
                          A_Boolean pre_expression, AEGP_StreamVal* value, AEGP_StreamType* type);
}  // namespace scene

}  // namespace hostsim
