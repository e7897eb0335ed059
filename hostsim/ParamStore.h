// The effect instance's parameters as the host keeps them: the definitions the effect added at
// PARAMS_SETUP (with their texts copied), the current values, the streams' hidden flags, and the
// checkouts the effect makes.
#pragma once

#include <array>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "LayerRef.h"
#include "ae_effect.h"
#include "ae_suites.h"

namespace hostsim {

// 1 in the host's 16.16 fixed point, in which angles are given.
constexpr PF_Fixed fixedOne = 1 << 16;

// One parameter. The definition's text pointers point at this record's own copies.
struct host_param {
    PF_ParamDef def{};
    std::string choices;  // a popup's choice texts, '|'-separated
    std::string label;    // a check box's label
    std::optional<layer_ref> layer;  // a layer parameter's chosen layer; unset: its default
    std::optional<std::array<double, 3>> point;  // a 3-D point set in layer pixels; unset: the default
    double rate = 0;      // a float's or angle's change per second of comp time (angles in degrees)
    A_u_long revision = 0;  // counts the changes of the value
    bool hidden = false;  // the parameter stream's dynamic hidden flag
};

struct checkout_record {
    PF_ParamIndex index = 0;
    A_long time = 0;
    A_long time_step = 0;
    A_u_long time_scale = 0;
};

// A parameter named by host index or by display name. Names repeat ("Motion Blur" is a group and a
// popup); a setter looks only at parameters of its own kind.
struct param_ref {
    param_ref(PF_ParamIndex index) : index(index) {}
    param_ref(const char* name) : name(name) {}
    param_ref(std::string_view name) : name(name) {}
    param_ref(const std::string& name) : name(name) {}
    PF_ParamIndex index = -1;
    std::string_view name;
};

class ParamStore {
public:
    ParamStore();
    ParamStore(const ParamStore&) = delete;
    ParamStore& operator=(const ParamStore&) = delete;

    // PARAMS_SETUP: the list starts again with the input layer alone and accepts additions until
    // endSetup, which checks the count the effect reports (the input layer included); nullopt when the
    // command failed and reported nothing.
    void beginSetup();
    void endSetup(std::optional<A_long> num_params);

    // The interaction callbacks.
    PF_Err add(PF_ParamIndex index, const PF_ParamDef* def);
    PF_Err registerUi(const PF_CustomUIInfo* info);
    // The definition with its value at that time; index 0 is the input layer, the effect's own layer.
    // At a downsample factor above 1 layer sizes and points are those of the reduced resolution.
    PF_Err checkout(PF_ParamIndex index, A_long time, A_long time_step, A_u_long time_scale,
                    const layer_ref& effect_layer, PF_ParamDef* out, downsample_factors downsample = {});
    PF_Err checkin(PF_ParamDef* def);
    // The parameter array a command carries: every definition with its value at that time, as a checkout
    // would give it (layer parameters without pixels), the input layer first.
    std::vector<PF_ParamDef> valuesAt(A_long time, A_u_long time_scale, const layer_ref& effect_layer) const;
    // While forbidden, every checkout is refused and counted as a fault, naming the command.
    void forbidCheckouts(std::string command) { forbiddenDuring_ = std::move(command); }
    void allowCheckouts() { forbiddenDuring_.reset(); }

    // Parameters, the input layer at index 0 included.
    size_t count() const { return params_.size(); }
    const host_param& at(PF_ParamIndex index) const;
    // The index of `ref`; with a kind, only parameters of that kind count. Throws std::invalid_argument
    // when none or (by name, without a kind) several match.
    PF_ParamIndex indexOf(const param_ref& ref, std::optional<PF_ParamType> type = std::nullopt) const;

    // Values a test or the user sets; each throws std::invalid_argument for a parameter of another kind.
    void setFloat(const param_ref& ref, double value);
    void setPopup(const param_ref& ref, A_long choice);  // counts from 1
    void setCheckbox(const param_ref& ref, bool on);
    void setAngle(const param_ref& ref, double degrees);
    void setColor(const param_ref& ref, PF_Pixel argb);
    void setPoint(const param_ref& ref, double x, double y, double z);  // layer pixels
    void setLayer(const param_ref& ref, layer_ref layer);               // id 0 chooses none
    // The layer a layer parameter shows: the input is the effect's own layer, and a parameter nobody chose a
    // layer for shows its default (PF_LayerDefault_MYSELF: the effect's own layer; otherwise none).
    layer_ref layerOf(PF_ParamIndex index, const layer_ref& effect_layer) const;
    // Moves a float or an angle steadily: its value at t seconds is the set value + perSecond x t
    // (a float stays within its valid range). 0 stops it.
    void setRate(const param_ref& ref, double perSecond);

    // The value as the parameter's stream gives it at that comp time; an error for kinds without a value.
    A_Err streamValue(PF_ParamIndex index, const layer_ref& effect_layer, AEGP_StreamVal* value,
                      double seconds = 0) const;
    void setHidden(PF_ParamIndex index, bool hidden);
    bool isHidden(const param_ref& ref) const { return at(indexOf(ref)).hidden; }

    const std::optional<PF_CustomUIInfo>& customUi() const { return customUi_; }
    const std::vector<checkout_record>& checkouts() const { return checkouts_; }
    void clearCheckouts() { checkouts_.clear(); }
    int openCheckouts() const { return openCheckouts_; }

    // Runs before every checkout; returning true refuses it, as a host short of memory would.
    std::function<bool(PF_ParamIndex index)> refuseCheckout;

    // What the effect did wrong: malformed definitions, additions outside set-up, a wrong count,
    // checkouts not checked in.
    std::vector<std::string> faults() const;

private:
    host_param& entry(const param_ref& ref, PF_ParamType type);
    // Applies `change` to the parameter and counts a revision when its value changed.
    template <class Change> void revise(host_param& param, Change change);
    // The definition with its value at that time filled in for the layer the effect is applied to.
    PF_ParamDef current(PF_ParamIndex index, const layer_ref& effect_layer, double seconds,
                        downsample_factors downsample) const;
    void validate(const host_param& param);
    void fault(std::string what) { faults_.push_back(std::move(what)); }

    std::deque<host_param> params_;  // a deque: a record never moves, so its text pointers stay valid
    bool inSetup_ = false;
    int groupDepth_ = 0;
    std::optional<PF_CustomUIInfo> customUi_;
    std::vector<checkout_record> checkouts_;
    int openCheckouts_ = 0;
    std::optional<std::string> forbiddenDuring_;
    std::vector<std::string> faults_;
};

// The name of a parameter kind as listings show it ("float", "group-start", ...); "type N" for others.
std::string paramTypeName(PF_ParamType type);

}  // namespace hostsim
