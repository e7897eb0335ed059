// The AEGP handles the host gives the effect: effect handles, parameter streams and stream values. Each
// is counted until the effect disposes of it, so a test sees what was left behind.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ae_suites.h"

namespace hostsim {

class AegpHandles {
public:
    AegpHandles() = default;
    AegpHandles(const AegpHandles&) = delete;
    AegpHandles& operator=(const AegpHandles&) = delete;

    AEGP_EffectRefH newEffect();
    bool isEffect(AEGP_EffectRefH effect) const { return effects_.count(effect) != 0; }
    bool disposeEffect(AEGP_EffectRefH effect) { return effects_.erase(effect) != 0; }

    // A stream of one of the effect's parameters.
    AEGP_StreamRefH newParamStream(PF_ParamIndex index);
    // The parameter index of a live stream; -1 for anything else.
    PF_ParamIndex paramOfStream(AEGP_StreamRefH stream) const;
    bool disposeStream(AEGP_StreamRefH stream) { return streams_.erase(stream) != 0; }

    // A stream value handed out for a stream, and given back.
    void valueHandedOut(AEGP_StreamRefH stream) { ++values_[stream]; }
    bool disposeValue(AEGP_StreamRefH stream);

    // Handles not yet disposed of.
    std::vector<std::string> leaks() const;

private:
    struct effect_object {};
    struct stream_object {
        PF_ParamIndex index;
    };

    std::map<AEGP_EffectRefH, std::unique_ptr<effect_object>> effects_;
    std::map<AEGP_StreamRefH, std::unique_ptr<stream_object>> streams_;
    std::map<AEGP_StreamRefH, int> values_;  // live values per stream they were read from
};

}  // namespace hostsim
