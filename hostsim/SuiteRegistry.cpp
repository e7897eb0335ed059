#include "SuiteRegistry.h"

namespace hostsim {

void SuiteRegistry::provide(const std::string& name, A_long version, const void* table) {
    std::lock_guard guard(mutex_);
    tables_[{name, version}] = table;
}

void SuiteRegistry::withdraw(const std::string& name, A_long version) {
    std::lock_guard guard(mutex_);
    tables_.erase({name, version});
}

SPErr SuiteRegistry::acquire(const char* name, A_long version, const void** suite) {
    if (beforeAcquire) beforeAcquire(name, version);
    std::lock_guard guard(mutex_);
    const key k{name, version};
    auto it = tables_.find(k);
    if (it == tables_.end()) {
        refused_.push_back(k);
        *suite = nullptr;
        return kSPSuiteNotFoundError;
    }
    ++usage_[k].acquired;
    *suite = it->second;
    return 0;
}

SPErr SuiteRegistry::release(const char* name, A_long version) {
    std::lock_guard guard(mutex_);
    ++usage_[{name, version}].released;
    return 0;
}

std::map<SuiteRegistry::key, SuiteRegistry::counts> SuiteRegistry::usage() const {
    std::lock_guard guard(mutex_);
    return usage_;
}

std::vector<std::string> SuiteRegistry::imbalances() const {
    std::lock_guard guard(mutex_);
    std::vector<std::string> result;
    for (const auto& [k, c] : usage_)
        if (c.acquired != c.released)
            result.push_back("\"" + k.first + "\" " + std::to_string(k.second) + ": acquired " +
                             std::to_string(c.acquired) + ", released " + std::to_string(c.released));
    return result;
}

std::vector<SuiteRegistry::key> SuiteRegistry::refused() const {
    std::lock_guard guard(mutex_);
    return refused_;
}

void SuiteRegistry::resetUsage() {
    std::lock_guard guard(mutex_);
    usage_.clear();
    refused_.clear();
}

}  // namespace hostsim
