// What an install run is to write, worked out from the host list: the folder list handed to the worker,
// the run's totals and the selection page's disk-space line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "HostEntry.h"

namespace installer {

// Megabytes (of 2^20 bytes) a file of the given size takes: the plug-in the installer carries is measured
// so, and every figure shown is a multiple of it.
float size_in_mb(std::uint64_t bytes);

// Fixed notation with one digit after the point: 2.92871 gives "2.9".
std::string format_number(double value);

// One folder per entry, in list order: the plug-in folder of each installable entry, empty for the rest
// and for a folder an earlier entry writes.
std::vector<std::wstring> install_folders(const std::vector<host_entry>& entries);

// Whether the entries hold anything to install: what INSTALL needs.
bool has_install_target(const std::vector<host_entry>& entries);

// Fixed when a run starts: its targets, those installed by earlier runs included, so that a retry's
// percentage counts them; and the size of one plug-in file.
struct RunTotals {
    std::uint32_t target_count = 0;
    float total_size_mb = 0.0f;
    float plugin_size_mb = 0.0f;
};
RunTotals run_totals(const std::vector<host_entry>& entries, float plugin_size_mb);

// Megabytes still to write.
float remaining_size_mb(const std::vector<host_entry>& entries, float plugin_size_mb);

// "At least N MB of free disk space is required.", or empty when nothing is left to install.
std::string disk_space_text(const std::vector<host_entry>& entries, float plugin_size_mb);

}  // namespace installer
