#include "SuiteHandler.h"

// The list's names are views of string literals, so their data() is NUL-terminated.

const void* SuiteHandler::acquire(size_t slot) {
    if (!slots_[slot] && basic_)
        basic_->AcquireSuite(suites::releaseList[slot].name.data(), suites::releaseList[slot].version, &slots_[slot]);
    return slots_[slot];
}

void SuiteHandler::releaseAllSuites() {
    for (size_t slot = 0; slot < suites::releaseList.size(); ++slot) {
        if (!slots_[slot]) continue;
        basic_->ReleaseSuite(suites::releaseList[slot].name.data(), suites::releaseList[slot].version);
        slots_[slot] = nullptr;  // a second release pass gives nothing back twice
    }
}
