// The effect's parameters as the host knows them: the tables between disk id and host index, the adders
// that declare each kind of parameter, and the readers that check a value out at the current time.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "ae_effect.h"
#include "color.h"
#include "command_context.h"

// Disk id -> host index (0 where an id was never added: index 0 is the host's input layer).
extern std::vector<int> paramIndexById;
// Host index -> disk id.
extern std::vector<int> paramIdByIndex;
// The popups' choice texts; the host may keep pointers into them until the plug-in is unloaded.
extern std::vector<std::string> paramChoiceTexts;

// The room the tables get before the list is built.
void reserveParamTables();

// The host index of a disk id; -1 (an index every host refuses) for an id that was never added.
PF_ParamIndex paramIndexOf(int id);

// A parameter name the host's fixed-size name field can hold, checked when the program is compiled.
class param_name {
public:
    consteval param_name(const char* text) : text_(text) {
        int length = 0;
        while (text[length]) ++length;
        if (length > PF_MAX_EFFECT_PARAM_NAME_LEN) throw "parameter name too long for the host";
    }
    const char* c_str() const { return text_; }

private:
    const char* text_;
};

// Hands a filled definition to the host (appended) and records its id and index.
void appendParam(command_context& context, PF_ParamDef& def);

void addLayerParam(command_context& context, int id, param_name name);
void addFloatSlider(command_context& context, int id, param_name name, float valid_min, float valid_max,
                    float dephault, int precision, float slider_factor);
// `choices` separated by '|'; `dephault` counts from 1.
void addPopup(command_context& context, int id, param_name name, const char* choices, int dephault,
              bool exclude_from_have_inputs_changed);
void addAngle(command_context& context, int id, param_name name);
void addCheckbox(command_context& context, int id, param_name name, bool dephault, bool label_is_name);
void addColor(command_context& context, int id, param_name name, qssdk::ui::color rgba);
void beginParamGroup(command_context& context, int id, param_name name, bool collapsed);
void endParamGroup(command_context& context, int id);

// Checks the parameter out at the current time, returns what `read` takes from the definition and checks
// it in. A refused checkout leaves the definition zeroed, so what is read from it is 0.
template <class Read> auto readParam(command_context& context, int id, Read read) {
    PF_InData* in = context.in_data;
    PF_ParamDef def;
    std::memset(&def, 0, sizeof def);
    in->inter.checkout_param(in->effect_ref, paramIndexOf(id), in->current_time, in->time_step, in->time_scale,
                             &def);
    const auto value = read(static_cast<const PF_ParamDef&>(def));
    in->inter.checkin_param(in->effect_ref, &def);
    return value;
}

// The parameter in the array the host passed with the command, or null when the command carries none
// or the array has no such parameter. Commands that carry the array are read from it, not checked out.
const PF_ParamDef* passedParam(const command_context& context, int id);

// The value at the current time; 0 when the host refuses the checkout.
float readFloatParam(command_context& context, int id);
// The first 32-bit word of the value (popup choice, check box state); 0 when the checkout fails.
A_long readIntParam(command_context& context, int id);
