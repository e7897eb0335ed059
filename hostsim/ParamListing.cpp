#include "ParamListing.h"

#include <array>

#include "format_string.h"

namespace hostsim {

namespace {

std::string number(double value) { return qssdk::format_string("%g", value); }

std::string defaultText(const PF_ParamDef& def) {
    switch (def.param_type) {
    case PF_Param_LAYER:
        return def.u.ld.dephault == PF_LayerDefault_MYSELF ? "myself" : "none";
    case PF_Param_FLOAT_SLIDER:
        return number(def.u.fs_d.dephault);
    case PF_Param_POPUP:
        return std::to_string(def.u.pd.dephault);
    case PF_Param_ANGLE:
        return number(static_cast<double>(def.u.ad.dephault) / fixedOne);
    case PF_Param_CHECKBOX:
        return std::to_string(def.u.bd.dephault);
    case PF_Param_COLOR: {
        const PF_Pixel& c = def.u.cd.dephault;
        return qssdk::format_string("#%02X%02X%02X", c.red, c.green, c.blue);
    }
    case PF_Param_POINT_3D: {
        const PF_Point3DDef& p = def.u.point3d_d;
        return number(p.x_dephault) + "," + number(p.y_dephault) + "," + number(p.z_dephault);
    }
    default:
        return {};
    }
}

}  // namespace

std::string paramListing(const ParamStore& params) {
    std::string listing;
    for (size_t index = 1; index < params.count(); ++index) {
        const host_param& param = params.at(static_cast<PF_ParamIndex>(index));
        const PF_ParamDef& def = param.def;
        std::array<std::string, 12> fields;
        fields[0] = std::to_string(index);
        fields[1] = std::to_string(def.uu.id);
        fields[2] = paramTypeName(def.param_type);
        fields[3] = def.name;
        if (def.param_type == PF_Param_FLOAT_SLIDER) {
            const PF_FloatSliderDef& slider = def.u.fs_d;
            fields[4] = number(slider.valid_min);
            fields[5] = number(slider.valid_max);
            fields[6] = number(slider.slider_min);
            fields[7] = number(slider.slider_max);
            fields[9] = std::to_string(slider.precision);
        }
        fields[8] = defaultText(def);
        fields[10] = qssdk::format_string("0x%X", static_cast<unsigned>(def.flags));
        if (def.param_type == PF_Param_POPUP) fields[11] = param.choices;
        for (size_t i = 0; i < fields.size(); ++i) listing += fields[i] + (i + 1 < fields.size() ? "\t" : "\n");
    }
    return listing;
}

}  // namespace hostsim
