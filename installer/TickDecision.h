// What one tick of the install timer decides, from one snapshot of the worker: still writing, every target
// installed, or a failure to report with the failed host and its code.
#pragma once

#include <cstdint>
#include <vector>

#include "HostEntry.h"
#include "System.h"

namespace installer {

enum class TickKind { writing, succeeded, failed };

struct TickOutcome {
    TickKind kind = TickKind::writing;
    std::uint32_t failed_slot = 0;   // host slot of the failed entry (the last one when several failed)
    std::uint32_t failure_code = 0;  // its status code
};

// Copies the snapshot's codes into the entries' states, then decides. The snapshot must be one
// System::progress(): its statuses were read after its done flag, so once done they are final. Success
// means no target is left to install.
TickOutcome decide_tick(const System::Progress& snapshot, std::vector<host_entry>& entries);

}  // namespace installer
