#include "TickDecision.h"

#include <algorithm>

#include "InstallSummary.h"

namespace installer {

RunEnding run_ending(TickKind over, bool stop_asked) {
    if (over == TickKind::succeeded) return RunEnding::success;
    return stop_asked ? RunEnding::cancelled : RunEnding::failure_question;
}

TickOutcome decide_tick(const install_progress& snapshot, std::vector<host_entry>& entries) {
    const std::size_t count = std::min(snapshot.plugin_status.size(), entries.size());
    for (std::size_t i = 0; i < count; ++i)
        if (snapshot.plugin_status[i] != 0) entries[i].state = snapshot.plugin_status[i];
    // A version whose folder another one writes has that write's result.
    const std::vector<std::size_t> writers = folder_writers(entries);
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (is_written_by_another(writers, i)) entries[i].state = entries[writers[i]].state;
    if (!snapshot.done) return {};
    if (every_target_installed(entries)) return {TickKind::succeeded, {}};
    TickOutcome outcome{TickKind::failed, {}};
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!is_installable(entries[i]) || is_written_by_another(writers, i)) continue;
        const std::uint32_t error = i < snapshot.system_error.size() ? snapshot.system_error[i] : 0;
        outcome.failures.push_back({i, entries[i].state, error});
    }
    return outcome;
}

}  // namespace installer
