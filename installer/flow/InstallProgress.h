// What the window's tick reads of a run: the done flag first, then the statuses it covers, each with the
// system's error code of a failure (0 otherwise). Window-free, so the tick's decisions can be tested alone.
#pragma once

#include <cstdint>
#include <vector>

namespace installer {

struct install_progress {
    bool done = false;
    std::vector<std::uint32_t> plugin_status;
    std::vector<std::uint32_t> system_error;
};

}  // namespace installer
