#include "ParamText.h"

#include <stdexcept>
#include <string>

#include "TextValues.h"
#include "format_string.h"

namespace hostsim {

namespace {

bool settable(PF_ParamType type) {
    switch (type) {
    case PF_Param_FLOAT_SLIDER:
    case PF_Param_ANGLE:
    case PF_Param_CHECKBOX:
    case PF_Param_COLOR:
    case PF_Param_POPUP:
    case PF_Param_POINT_3D:
        return true;
    default:
        return false;
    }
}

// The one parameter of that name with a value to set; groups and layers of the same name do not count.
PF_ParamIndex settableIndex(const ParamStore& params, std::string_view name) {
    PF_ParamIndex found = -1;
    bool layer = false;
    for (size_t i = 1; i < params.count(); ++i) {
        const PF_ParamDef& def = params.at(static_cast<PF_ParamIndex>(i)).def;
        if (def.name != name) continue;
        if (def.param_type == PF_Param_LAYER) layer = true;
        if (!settable(def.param_type)) continue;
        if (found >= 0) throw std::invalid_argument("several parameters are named \"" + std::string(name) + "\"");
        found = static_cast<PF_ParamIndex>(i);
    }
    if (found < 0 && layer)
        throw std::invalid_argument("\"" + std::string(name) + "\" is a layer parameter: choose its layer with --layer");
    if (found < 0) throw std::invalid_argument("the effect has no parameter named \"" + std::string(name) + "\"");
    return found;
}

A_long popupChoice(const host_param& param, std::string_view text) {
    const std::vector<std::string_view> choices = split(param.choices, '|');
    for (size_t i = 0; i < choices.size(); ++i)
        if (choices[i] == text) return static_cast<A_long>(i + 1);
    const auto fail = [&]() -> A_long {
        throw std::invalid_argument("\"" + std::string(text) + "\" is not a choice of \"" + param.def.name +
                                    "\": give one of " + param.choices + " or its number from 1");
    };
    A_long number = 0;
    try {
        number = parseInteger(text);
    } catch (const std::invalid_argument&) {
        return fail();
    }
    if (number < 1 || number > static_cast<A_long>(choices.size())) return fail();
    return number;
}

}  // namespace

void setParamFromText(ParamStore& params, std::string_view name, std::string_view text) {
    const PF_ParamIndex index = settableIndex(params, name);
    const host_param& param = params.at(index);
    switch (param.def.param_type) {
    case PF_Param_FLOAT_SLIDER: {
        const double value = parseNumber(text);
        const PF_FloatSliderDef& slider = param.def.u.fs_d;
        if (value < slider.valid_min || value > slider.valid_max)
            throw std::invalid_argument(qssdk::format_string("\"%s\" takes values from %g to %g, not %s",
                                                             param.def.name, slider.valid_min, slider.valid_max,
                                                             std::string(text).c_str()));
        params.setFloat(index, value);
        break;
    }
    case PF_Param_ANGLE: {
        const double degrees = parseNumber(text);
        if (degrees < -32000 || degrees > 32000)
            throw std::invalid_argument("\"" + std::string(param.def.name) + "\" takes -32000 to 32000 degrees");
        params.setAngle(index, degrees);
        break;
    }
    case PF_Param_CHECKBOX:
        if (text != "0" && text != "1")
            throw std::invalid_argument("\"" + std::string(param.def.name) + "\" is a check box: give 0 or 1");
        params.setCheckbox(index, text == "1");
        break;
    case PF_Param_COLOR:
        params.setColor(index, parseColor(text));
        break;
    case PF_Param_POPUP:
        params.setPopup(index, popupChoice(param, text));
        break;
    case PF_Param_POINT_3D: {
        const vec3 point = parseTriple(text);
        params.setPoint(index, point.x, point.y, point.z);
        break;
    }
    default:
        break;  // settableIndex finds no other kind
    }
}

}  // namespace hostsim
