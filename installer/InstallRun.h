// Starting an install run from the host list, for the first run and for every retry.
#pragma once

#include <thread>
#include <vector>

#include "HostEntry.h"
#include "System.h"

namespace installer {

// Starts the worker on the entries' installable folders. A worker that is still running is never
// replaced: the call is refused (false) and neither the worker nor the system is touched. A finished
// worker that was not joined yet is joined first.
bool start_install_run(System& system, std::thread& worker, const std::vector<host_entry>& entries);

}  // namespace installer
