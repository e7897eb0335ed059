#include "ParamRegistry.h"

#include <algorithm>
#include <cstring>

std::vector<int> paramIndexById;
std::vector<int> paramIdByIndex;
std::vector<std::string> paramChoiceTexts;

namespace {

// A zeroed definition of the given kind, with the id and (when given) the name filled in.
PF_ParamDef newDef(command_context& context, int id, PF_ParamType type, const char* name) {
    PF_ParamDef def;
    std::memset(&def, 0, sizeof def);
    def.uu.id = id;
    def.param_type = type;
    if (name) context.in_data->utils->ansi.strcpy(def.name, name);
    return def;
}

// The stored copy of a choice text. An equal text stored before is handed out again, so repeated
// set-ups never grow the table past its reserved room: a move of the vector would move the characters
// of short strings, which live inside the string objects, away from the host's pointers.
const char* storeChoiceText(const char* choices) {
    auto it = std::find(paramChoiceTexts.begin(), paramChoiceTexts.end(), choices);
    if (it != paramChoiceTexts.end()) return it->c_str();
    paramChoiceTexts.emplace_back(choices);
    return paramChoiceTexts.back().c_str();
}

A_u_char colorByte(float channel) { return static_cast<A_u_char>(static_cast<int>(channel * 255.0f)); }

}  // namespace

void reserveParamTables() {
    paramIndexById.reserve(500);
    paramIdByIndex.reserve(100);
    paramChoiceTexts.reserve(100);
}

PF_ParamIndex paramIndexOf(int id) {
    if (id <= 0 || static_cast<size_t>(id) >= paramIndexById.size() || paramIndexById[id] == 0) return -1;
    return paramIndexById[id];
}

const PF_ParamDef* passedParam(const command_context& context, int id) {
    const PF_ParamIndex index = paramIndexOf(id);
    if (!context.params || index < 0 || index >= context.in_data->num_params) return nullptr;
    return context.params[index];
}

void appendParam(command_context& context, PF_ParamDef& def) {
    const int id = def.uu.id;
    context.in_data->inter.add_param(context.in_data->effect_ref, -1, &def);
    if (paramIndexById.size() <= static_cast<size_t>(id)) paramIndexById.resize(static_cast<size_t>(id) + 1);
    A_long& count = context.out_data->num_params;
    paramIdByIndex.resize(static_cast<size_t>(count) + 2);
    ++count;
    paramIdByIndex[count] = id;
    paramIndexById[id] = count;
}

void addLayerParam(command_context& context, int id, param_name name) {
    PF_ParamDef def = newDef(context, id, PF_Param_LAYER, name.c_str());
    def.u.ld.dephault = PF_LayerDefault_NONE;
    appendParam(context, def);
}

void addFloatSlider(command_context& context, int id, param_name name, float valid_min, float valid_max,
                    float dephault, int precision, float slider_factor) {
    PF_ParamDef def = newDef(context, id, PF_Param_FLOAT_SLIDER, name.c_str());
    PF_FloatSliderDef& slider = def.u.fs_d;
    slider.valid_min = valid_min;
    slider.valid_max = valid_max;
    slider.slider_min = valid_min >= 0 ? valid_min : valid_min * slider_factor;
    slider.slider_max = valid_max * slider_factor;
    slider.dephault = dephault;
    slider.value = dephault;
    slider.precision = static_cast<A_short>(precision);
    slider.display_flags = 0;
    appendParam(context, def);
}

void addPopup(command_context& context, int id, param_name name, const char* choices, int dephault,
              bool exclude_from_have_inputs_changed) {
    PF_ParamDef def = newDef(context, id, PF_Param_POPUP, name.c_str());
    PF_PopupDef& popup = def.u.pd;
    popup.u.namesptr = storeChoiceText(choices);
    popup.num_choices = static_cast<A_short>(std::count(choices, choices + std::strlen(choices), '|') + 1);
    popup.value = dephault;
    popup.dephault = static_cast<A_short>(dephault);
    if (exclude_from_have_inputs_changed) def.flags |= PF_ParamFlag_EXCLUDE_FROM_HAVE_INPUTS_CHANGED;
    appendParam(context, def);
}

void addAngle(command_context& context, int id, param_name name) {
    PF_ParamDef def = newDef(context, id, PF_Param_ANGLE, name.c_str());
    def.flags = PF_ParamFlag_COLLAPSE_TWIRLY;
    appendParam(context, def);
}

void addCheckbox(command_context& context, int id, param_name name, bool dephault, bool label_is_name) {
    PF_ParamDef def = newDef(context, id, PF_Param_CHECKBOX, name.c_str());
    def.u.bd.value = dephault;
    def.u.bd.dephault = dephault;
    def.u.bd.u.nameptr = label_is_name ? name.c_str() : "";  // both live as long as the program
    appendParam(context, def);
}

void addColor(command_context& context, int id, param_name name, qssdk::ui::color rgba) {
    PF_ParamDef def = newDef(context, id, PF_Param_COLOR, name.c_str());
    const PF_Pixel pixel{255, colorByte(rgba.r), colorByte(rgba.g), colorByte(rgba.b)};
    def.u.cd.value = pixel;
    def.u.cd.dephault = pixel;
    appendParam(context, def);
}

void beginParamGroup(command_context& context, int id, param_name name, bool collapsed) {
    PF_ParamDef def = newDef(context, id, PF_Param_GROUP_START, name.c_str());
    def.flags = collapsed ? PF_ParamFlag_START_COLLAPSED : 0;
    appendParam(context, def);
}

void endParamGroup(command_context& context, int id) {
    PF_ParamDef def = newDef(context, id, PF_Param_GROUP_END, nullptr);
    appendParam(context, def);
}

float readFloatParam(command_context& context, int id) {
    return readParam(context, id, [](const PF_ParamDef& def) { return static_cast<float>(def.u.fs_d.value); });
}

A_long readIntParam(command_context& context, int id) {
    return readParam(context, id, [](const PF_ParamDef& def) {
        A_long word;
        std::memcpy(&word, &def.u, sizeof word);
        return word;
    });
}
