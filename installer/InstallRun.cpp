#include "InstallRun.h"

#include "InstallPlan.h"

namespace installer {

bool start_install_run(System& system, std::thread& worker, const std::vector<host_entry>& entries) {
    if (worker.joinable()) {
        // Done is the worker's last step, so a done worker ends at once.
        if (!system.progress().done) return false;
        worker.join();
    }
    worker = system.start_install(install_folders(entries));
    return true;
}

}  // namespace installer
