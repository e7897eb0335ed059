// pellux-host about: the effect's About dialog through the host's ABOUT command, on the host's main window.
#pragma once

#include <string>
#include <vector>

namespace hostsim {

// Without options the dialog stays for a person until it is closed; --shot FILE writes its picture and
// closes it. Throws usage_error for a mistake on the command line.
int aboutCommand(const std::vector<std::string>& args);

}  // namespace hostsim
