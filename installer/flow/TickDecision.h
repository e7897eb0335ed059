// What one tick of the install timer decides, from one snapshot of the worker: still writing, every target
// installed, or failures to report, each with its entry, code and the system's error.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "HostEntry.h"
#include "InstallProgress.h"

namespace installer {

enum class TickKind { writing, succeeded, failed };

struct TargetFailure {
    std::size_t entry = 0;           // index into the host list
    std::uint32_t code = 0;          // its status code
    std::uint32_t system_error = 0;  // the system's error code, 0 when none was given
    bool operator==(const TargetFailure&) const = default;
};

struct TickOutcome {
    TickKind kind = TickKind::writing;
    std::vector<TargetFailure> failures;  // every folder left not installed, in list order, by its writer
};

// How a run that is over is reported. A stop asked for while the run ended stopped nothing when every
// target is installed: that run succeeded. A stopped run otherwise is cancelled (its rows say what was
// written); failures otherwise ask whether to retry.
enum class RunEnding { success, cancelled, failure_question };
RunEnding run_ending(TickKind over, bool stop_asked);

// Copies the snapshot's codes into the entries' states, then decides. The snapshot must be one
// System::progress(): its statuses were read after its done flag, so once done they are final. Success
// means at least one target and none left to install.
TickOutcome decide_tick(const install_progress& snapshot, std::vector<host_entry>& entries);

}  // namespace installer
