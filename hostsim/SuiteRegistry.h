// The host's basic suite: hands out suites by name and version and counts every acquire and release.
#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "ae_suites.h"

namespace hostsim {

class SuiteRegistry {
public:
    using key = std::pair<std::string, A_long>;
    struct counts {
        int acquired = 0;
        int released = 0;
    };

    SuiteRegistry() = default;
    SuiteRegistry(const SuiteRegistry&) = delete;
    SuiteRegistry& operator=(const SuiteRegistry&) = delete;

    // Makes a suite available; the table must outlive the registry.
    void provide(const std::string& name, A_long version, const void* table);
    // Takes a suite back, as a host without it would behave.
    void withdraw(const std::string& name, A_long version);

    std::map<key, counts> usage() const;
    // Pairs acquired and released a different number of times, and releases of suites never acquired.
    std::vector<std::string> imbalances() const;
    std::vector<key> refused() const;
    void resetUsage();

    // Runs before every acquire; a test uses it to make the host fail in ways the effect must survive.
    std::function<void(const std::string& name, A_long version)> beforeAcquire;

    // The basic suite's AcquireSuite and ReleaseSuite.
    SPErr acquire(const char* name, A_long version, const void** suite);
    SPErr release(const char* name, A_long version);

private:
    mutable std::mutex mutex_;
    std::map<key, const void*> tables_;
    std::map<key, counts> usage_;
    std::vector<key> refused_;
};

// Error the basic suite returns for a suite it does not have.
constexpr SPErr kSPSuiteNotFoundError = 0x53214e46;

}  // namespace hostsim
