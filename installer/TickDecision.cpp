#include "TickDecision.h"

#include <algorithm>

namespace installer {

TickOutcome decide_tick(const System::Progress& snapshot, std::vector<host_entry>& entries) {
    const std::size_t count = std::min(snapshot.plugin_status.size(), entries.size());
    for (std::size_t i = 0; i < count; ++i)
        if (snapshot.plugin_status[i] != 0) entries[i].state = snapshot.plugin_status[i];
    if (!snapshot.done) return {};
    const auto failed = std::find_if(entries.rbegin(), entries.rend(), is_installable);
    if (failed == entries.rend()) return {TickKind::succeeded};
    return {TickKind::failed, failed->id, failed->state};
}

}  // namespace installer
