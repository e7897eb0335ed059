#include "AegpHandles.h"

namespace hostsim {

AEGP_EffectRefH AegpHandles::newEffect() {
    auto object = std::make_unique<effect_object>();
    auto handle = reinterpret_cast<AEGP_EffectRefH>(object.get());
    effects_.emplace(handle, std::move(object));
    return handle;
}

AEGP_StreamRefH AegpHandles::newParamStream(PF_ParamIndex index) {
    auto object = std::make_unique<stream_object>(stream_object{index});
    auto handle = reinterpret_cast<AEGP_StreamRefH>(object.get());
    streams_.emplace(handle, std::move(object));
    return handle;
}

PF_ParamIndex AegpHandles::paramOfStream(AEGP_StreamRefH stream) const {
    auto it = streams_.find(stream);
    return it == streams_.end() ? -1 : it->second->index;
}

bool AegpHandles::disposeValue(AEGP_StreamRefH stream) {
    auto it = values_.find(stream);
    if (it == values_.end()) return false;
    if (--it->second == 0) values_.erase(it);
    return true;
}

std::vector<std::string> AegpHandles::leaks() const {
    std::vector<std::string> result;
    if (!effects_.empty()) result.push_back(std::to_string(effects_.size()) + " effect handle(s) not disposed of");
    if (!streams_.empty()) result.push_back(std::to_string(streams_.size()) + " stream(s) not disposed of");
    int values = 0;
    for (const auto& [stream, count] : values_) values += count;
    if (values) result.push_back(std::to_string(values) + " stream value(s) not disposed of");
    return result;
}

}  // namespace hostsim
