// What an install run is to write, worked out from the host list: the folder list handed to the worker,
// the run's totals and the selection page's disk-space line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "HostEntry.h"

namespace installer {

// Megabytes one plug-in file takes.
inline constexpr float plugin_size_mb = 2.92871f;

// Fixed notation with one digit after the point: 2.92871 gives "2.9".
std::string format_number(double value);

// One folder per entry, in list order: the plug-in folder of each installable entry, empty for the rest.
std::vector<std::wstring> install_folders(const std::vector<host_entry>& entries);

// Fixed when a run starts: its targets, those installed by earlier runs included, so that a retry's
// percentage counts them.
struct RunTotals {
    std::uint32_t target_count = 0;
    float total_size_mb = 0.0f;
};
RunTotals run_totals(const std::vector<host_entry>& entries);

// Megabytes still to write.
float remaining_size_mb(const std::vector<host_entry>& entries);

// "At least N MB of free disk space is required.", or empty when nothing is left to install.
std::string disk_space_text(const std::vector<host_entry>& entries);

}  // namespace installer
