#include "ParamStore.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

#include "suites/HostSuites.h"

namespace hostsim {

namespace {

std::string describe(const host_param& param) {
    return "parameter " + std::to_string(param.def.uu.id) + " \"" + param.def.name + "\"";
}

}  // namespace

std::string paramTypeName(PF_ParamType type) {
    switch (type) {
    case PF_Param_LAYER: return "layer";
    case PF_Param_FLOAT_SLIDER: return "float";
    case PF_Param_POPUP: return "popup";
    case PF_Param_ANGLE: return "angle";
    case PF_Param_CHECKBOX: return "checkbox";
    case PF_Param_COLOR: return "color";
    case PF_Param_POINT_3D: return "point3d";
    case PF_Param_GROUP_START: return "group-start";
    case PF_Param_GROUP_END: return "group-end";
    case PF_Param_NO_DATA: return "no-data";
    default: return "type " + std::to_string(type);
    }
}

ParamStore::ParamStore() {
    beginSetup();
    endSetup(std::nullopt);
}

void ParamStore::beginSetup() {
    params_.clear();
    host_param input;
    input.def.param_type = PF_Param_LAYER;
    input.def.u.ld.dephault = PF_LayerDefault_MYSELF;
    params_.push_back(std::move(input));
    inSetup_ = true;
    groupDepth_ = 0;
    customUi_.reset();
}

void ParamStore::endSetup(std::optional<A_long> num_params) {
    inSetup_ = false;
    if (!num_params) return;
    if (*num_params != static_cast<A_long>(params_.size()))
        fault("PARAMS_SETUP reported " + std::to_string(*num_params) + " parameters, the host holds " +
              std::to_string(params_.size()));
    if (groupDepth_ != 0) fault(std::to_string(groupDepth_) + " parameter group(s) left open");
}

PF_Err ParamStore::add(PF_ParamIndex index, const PF_ParamDef* def) {
    if (!def) return PF_Err_BAD_CALLBACK_PARAM;
    if (!inSetup_) {
        fault("add_param outside PARAMS_SETUP");
        return PF_Err_INVALID_CALLBACK;
    }
    if (index != -1 && index != static_cast<PF_ParamIndex>(params_.size())) {
        fault("add_param at index " + std::to_string(index) + " with " + std::to_string(params_.size()) +
              " parameters");
        return PF_Err_INVALID_INDEX;
    }
    switch (def->param_type) {
    case PF_Param_LAYER:
    case PF_Param_FLOAT_SLIDER:
    case PF_Param_POPUP:
    case PF_Param_ANGLE:
    case PF_Param_CHECKBOX:
    case PF_Param_COLOR:
    case PF_Param_POINT_3D:
    case PF_Param_GROUP_START:
    case PF_Param_GROUP_END:
    case PF_Param_NO_DATA:
        break;
    default:
        fault("add_param of unknown type " + std::to_string(def->param_type));
        return PF_Err_UNRECOGNIZED_PARAM_TYPE;
    }

    // Copy everything now: the effect's definition and the texts it points at are its own.
    host_param param;
    param.def = *def;
    if (strnlen(def->name, sizeof def->name) == sizeof def->name) {
        fault("parameter " + std::to_string(def->uu.id) + ": name not terminated");
        param.def.name[sizeof param.def.name - 1] = '\0';
    }
    if (def->param_type == PF_Param_POPUP && def->u.pd.u.namesptr) param.choices = def->u.pd.u.namesptr;
    if (def->param_type == PF_Param_CHECKBOX && def->u.bd.u.nameptr) param.label = def->u.bd.u.nameptr;
    validate(param);

    params_.push_back(std::move(param));
    host_param& kept = params_.back();
    if (kept.def.param_type == PF_Param_POPUP) kept.def.u.pd.u.namesptr = kept.choices.c_str();
    if (kept.def.param_type == PF_Param_CHECKBOX) kept.def.u.bd.u.nameptr = kept.label.c_str();
    return PF_Err_NONE;
}

void ParamStore::validate(const host_param& param) {
    const PF_ParamDef& def = param.def;
    for (size_t i = 1; i < params_.size(); ++i)
        if (params_[i].def.uu.id == def.uu.id) fault(describe(param) + ": disk id already used");
    switch (def.param_type) {
    case PF_Param_POPUP: {
        const PF_PopupDef& popup = def.u.pd;
        const auto choices = std::count(param.choices.begin(), param.choices.end(), '|') + 1;
        if (!def.u.pd.u.namesptr || choices != popup.num_choices)
            fault(describe(param) + ": " + std::to_string(popup.num_choices) + " choices declared, text holds " +
                  std::to_string(choices));
        if (popup.dephault < 1 || popup.dephault > popup.num_choices)
            fault(describe(param) + ": default choice out of range");
        break;
    }
    case PF_Param_FLOAT_SLIDER: {
        const PF_FloatSliderDef& slider = def.u.fs_d;
        if (!(slider.valid_min <= slider.slider_min && slider.slider_min < slider.slider_max &&
              slider.slider_max <= slider.valid_max))
            fault(describe(param) + ": slider range outside the valid range");
        if (slider.dephault < slider.valid_min || slider.dephault > slider.valid_max)
            fault(describe(param) + ": default outside the valid range");
        break;
    }
    case PF_Param_GROUP_START:
        ++groupDepth_;
        break;
    case PF_Param_GROUP_END:
        if (--groupDepth_ < 0) {
            fault(describe(param) + ": group end without a start");
            groupDepth_ = 0;
        }
        break;
    default:
        break;
    }
}

PF_Err ParamStore::registerUi(const PF_CustomUIInfo* info) {
    if (!info) return PF_Err_BAD_CALLBACK_PARAM;
    customUi_ = *info;
    return PF_Err_NONE;
}

PF_Err ParamStore::checkout(PF_ParamIndex index, A_long time, A_long time_step, A_u_long time_scale,
                            const layer_ref& effect_layer, PF_ParamDef* out, downsample_factors downsample) {
    checkouts_.push_back({index, time, time_step, time_scale});
    if (forbiddenDuring_) {
        fault("parameter " + std::to_string(index) + " checked out during " + *forbiddenDuring_);
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    if (!out) return PF_Err_BAD_CALLBACK_PARAM;
    if (index < 0 || index >= static_cast<PF_ParamIndex>(params_.size())) return PF_Err_INVALID_INDEX;
    if (refuseCheckout && refuseCheckout(index)) return PF_Err_OUT_OF_MEMORY;
    *out = current(index, effect_layer, time_scale ? static_cast<double>(time) / time_scale : 0.0, downsample);
    ++openCheckouts_;
    return PF_Err_NONE;
}

PF_ParamDef ParamStore::current(PF_ParamIndex index, const layer_ref& effect_layer, double seconds,
                                downsample_factors downsample) const {
    const host_param& param = params_[static_cast<size_t>(index)];
    PF_ParamDef def = param.def;
    // Each axis at its own resolution; depth goes with the width, as the default's does.
    const double scaleX = downsample.x > 1 ? 1.0 / downsample.x : 1.0;
    const double scaleY = downsample.y > 1 ? 1.0 / downsample.y : 1.0;
    switch (def.param_type) {
    case PF_Param_FLOAT_SLIDER: {
        PF_FloatSliderDef& slider = def.u.fs_d;
        if (param.rate != 0)
            slider.value = std::clamp(slider.value + param.rate * seconds, static_cast<double>(slider.valid_min),
                                      static_cast<double>(slider.valid_max));
        break;
    }
    case PF_Param_ANGLE:
        if (param.rate != 0) {
            // 16.16 degrees hold about +-32767 degrees; a long run stops at the end of that range.
            const double fixed = static_cast<double>(def.u.ad.value) + param.rate * seconds * fixedOne;
            def.u.ad.value = static_cast<PF_Fixed>(std::llround(std::clamp(fixed, -2147483648.0, 2147483647.0)));
        }
        break;
    case PF_Param_LAYER: {
        // No pixels yet: the layer's size, and no data.
        const layer_ref layer = layerOf(index, effect_layer);
        PF_LayerDef& world = def.u.ld;
        world.data = nullptr;
        world.rowbytes = 0;
        world.width = layer.id ? downsampledSize(layer.width, downsample.x) : 0;
        world.height = layer.id ? downsampledSize(layer.height, downsample.y) : 0;
        world.extent_hint = PF_LRect{0, 0, world.width, world.height};
        world.pix_aspect_ratio = PF_RationalScale{1, 1};
        break;
    }
    case PF_Param_POINT_3D: {
        // Set points are in layer pixels; the default is in percent of the layer (z: of its width).
        PF_Point3DDef& point = def.u.point3d_d;
        if (param.point) {
            point.x_value = (*param.point)[0] * scaleX;
            point.y_value = (*param.point)[1] * scaleY;
            point.z_value = (*param.point)[2] * scaleX;
        } else {
            point.x_value = point.x_dephault / 100.0 * effect_layer.width * scaleX;
            point.y_value = point.y_dephault / 100.0 * effect_layer.height * scaleY;
            point.z_value = point.z_dephault / 100.0 * effect_layer.width * scaleX;
        }
        break;
    }
    default:
        break;
    }
    return def;
}

std::vector<PF_ParamDef> ParamStore::valuesAt(A_long time, A_u_long time_scale, const layer_ref& effect_layer) const {
    std::vector<PF_ParamDef> values;
    const double seconds = time_scale ? static_cast<double>(time) / time_scale : 0.0;
    for (size_t index = 0; index < params_.size(); ++index)
        values.push_back(current(static_cast<PF_ParamIndex>(index), effect_layer, seconds, {}));
    return values;
}

PF_Err ParamStore::checkin(PF_ParamDef* def) {
    if (!def) return PF_Err_BAD_CALLBACK_PARAM;
    // A check-in after a refused checkout gives nothing back, and is allowed.
    if (openCheckouts_ > 0) --openCheckouts_;
    return PF_Err_NONE;
}

const host_param& ParamStore::at(PF_ParamIndex index) const {
    if (index < 0 || index >= static_cast<PF_ParamIndex>(params_.size()))
        throw std::invalid_argument("no parameter at index " + std::to_string(index));
    return params_[index];
}

PF_ParamIndex ParamStore::indexOf(const param_ref& ref, std::optional<PF_ParamType> type) const {
    if (ref.name.empty()) {
        const host_param& param = at(ref.index);
        if (type && param.def.param_type != *type)
            throw std::invalid_argument(describe(param) + " is a " + paramTypeName(param.def.param_type) +
                                        ", not a " + paramTypeName(*type));
        return ref.index;
    }
    PF_ParamIndex found = -1;
    for (size_t i = 1; i < params_.size(); ++i) {
        const PF_ParamDef& def = params_[i].def;
        if (def.name != ref.name || (type && def.param_type != *type)) continue;
        if (found >= 0) throw std::invalid_argument("several parameters are named \"" + std::string(ref.name) + "\"");
        found = static_cast<PF_ParamIndex>(i);
    }
    if (found < 0)
        throw std::invalid_argument("no " + (type ? paramTypeName(*type) : std::string("parameter")) + " named \"" +
                                    std::string(ref.name) + "\"");
    return found;
}

host_param& ParamStore::entry(const param_ref& ref, PF_ParamType type) {
    const PF_ParamIndex index = indexOf(ref, type);
    if (index == 0) throw std::invalid_argument("the input layer is the host's own");
    return params_[index];
}

template <class Change> void ParamStore::revise(host_param& param, Change change) {
    const PF_ParamDefUnion before = param.def.u;
    const auto point = param.point;
    const std::optional<layer_ref> layer = param.layer;
    const double rate = param.rate;
    change(param);
    if (std::memcmp(&before, &param.def.u, sizeof before) != 0 || point != param.point || !(layer == param.layer) ||
        rate != param.rate)
        ++param.revision;
}

void ParamStore::setFloat(const param_ref& ref, double value) {
    revise(entry(ref, PF_Param_FLOAT_SLIDER), [&](host_param& p) { p.def.u.fs_d.value = value; });
}

void ParamStore::setPopup(const param_ref& ref, A_long choice) {
    host_param& param = entry(ref, PF_Param_POPUP);
    if (choice < 1 || choice > param.def.u.pd.num_choices)
        throw std::invalid_argument(describe(param) + " has no choice " + std::to_string(choice));
    revise(param, [&](host_param& p) { p.def.u.pd.value = choice; });
}

void ParamStore::setCheckbox(const param_ref& ref, bool on) {
    revise(entry(ref, PF_Param_CHECKBOX), [&](host_param& p) { p.def.u.bd.value = on; });
}

void ParamStore::setAngle(const param_ref& ref, double degrees) {
    revise(entry(ref, PF_Param_ANGLE),
           [&](host_param& p) { p.def.u.ad.value = static_cast<PF_Fixed>(std::lround(degrees * fixedOne)); });
}

void ParamStore::setColor(const param_ref& ref, PF_Pixel argb) {
    revise(entry(ref, PF_Param_COLOR), [&](host_param& p) { p.def.u.cd.value = argb; });
}

void ParamStore::setPoint(const param_ref& ref, double x, double y, double z) {
    revise(entry(ref, PF_Param_POINT_3D), [&](host_param& p) { p.point = std::array<double, 3>{x, y, z}; });
}

layer_ref ParamStore::layerOf(PF_ParamIndex index, const layer_ref& effect_layer) const {
    const host_param& param = at(index);
    if (index == 0) return effect_layer;
    if (param.layer) return *param.layer;
    return param.def.u.ld.dephault == PF_LayerDefault_MYSELF ? effect_layer : layer_ref{};
}

void ParamStore::setLayer(const param_ref& ref, layer_ref layer) {
    revise(entry(ref, PF_Param_LAYER), [&](host_param& p) { p.layer = layer; });
}

void ParamStore::setRate(const param_ref& ref, double perSecond) {
    const PF_ParamIndex index = indexOf(ref);
    const PF_ParamType type = at(index).def.param_type;
    if (type != PF_Param_FLOAT_SLIDER && type != PF_Param_ANGLE)
        throw std::invalid_argument(describe(at(index)) + " is a " + paramTypeName(type) + ": only floats and angles move");
    revise(entry(index, type), [&](host_param& p) { p.rate = perSecond; });
}

A_Err ParamStore::streamValue(PF_ParamIndex index, const layer_ref& effect_layer, AEGP_StreamVal* value,
                              double seconds) const {
    if (!value || index < 0 || index >= static_cast<PF_ParamIndex>(params_.size())) return kAegpBadArgument;
    std::memset(value, 0, sizeof *value);
    const PF_ParamDef def = current(index, effect_layer, seconds, 1);
    switch (def.param_type) {
    case PF_Param_LAYER:
        value->layer_id = layerOf(index, effect_layer).id;
        return 0;
    case PF_Param_FLOAT_SLIDER:
        value->one_d = def.u.fs_d.value;
        return 0;
    case PF_Param_POPUP:
        value->one_d = def.u.pd.value;
        return 0;
    case PF_Param_CHECKBOX:
        value->one_d = def.u.bd.value;
        return 0;
    case PF_Param_ANGLE:
        value->one_d = static_cast<double>(def.u.ad.value) / fixedOne;
        return 0;
    case PF_Param_COLOR:
        value->color = AEGP_ColorVal{def.u.cd.value.alpha / 255.0, def.u.cd.value.red / 255.0,
                                     def.u.cd.value.green / 255.0, def.u.cd.value.blue / 255.0};
        return 0;
    case PF_Param_POINT_3D:
        value->three_d = {def.u.point3d_d.x_value, def.u.point3d_d.y_value, def.u.point3d_d.z_value};
        return 0;
    default:
        return kAegpBadArgument;  // groups and the controls area have no value
    }
}

void ParamStore::setHidden(PF_ParamIndex index, bool hidden) { params_.at(static_cast<size_t>(index)).hidden = hidden; }

std::vector<std::string> ParamStore::faults() const {
    std::vector<std::string> result = faults_;
    if (openCheckouts_ > 0) result.push_back(std::to_string(openCheckouts_) + " parameter checkout(s) not checked in");
    return result;
}

}  // namespace hostsim
