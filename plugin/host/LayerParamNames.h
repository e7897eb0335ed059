// The display names of the five map layer parameters by disk id: the parameter list declares them, and a
// message about a layer names it so.
#pragma once

constexpr const char* layerParamName(int id) {
    switch (id) {
        case 502: return "Diffuse Layer";
        case 504: return "Glossiness Layer";
        case 506: return "Illumination Layer";
        case 508: return "Bump Map Layer";
        case 517: return "Environment Layer";
        default: return "a map layer";
    }
}
