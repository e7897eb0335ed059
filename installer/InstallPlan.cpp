#include "InstallPlan.h"

#include <sstream>

namespace installer {

namespace {

// Summed one entry at a time, in list order, as the figures shown have always been.
template <class Rule>
float size_of(const std::vector<host_entry>& entries, Rule rule) {
    float total = 0.0f;
    for (const host_entry& entry : entries)
        if (rule(entry)) total += plugin_size_mb;
    return total;
}

}  // namespace

std::string format_number(double value) {
    std::ostringstream out;
    out.setf(std::ios::fixed);
    out.precision(1);
    out << value;
    return out.str();
}

std::vector<std::wstring> install_folders(const std::vector<host_entry>& entries) {
    std::vector<std::wstring> folders;
    folders.reserve(entries.size());
    for (const host_entry& entry : entries)
        folders.push_back(is_installable(entry) ? entry.plugin_path : std::wstring());
    return folders;
}

RunTotals run_totals(const std::vector<host_entry>& entries) {
    RunTotals totals;
    for (const host_entry& entry : entries)
        if (is_install_target(entry)) ++totals.target_count;
    totals.total_size_mb = size_of(entries, is_install_target);
    return totals;
}

float remaining_size_mb(const std::vector<host_entry>& entries) { return size_of(entries, is_installable); }

std::string disk_space_text(const std::vector<host_entry>& entries) {
    const float size = remaining_size_mb(entries);
    if (size == 0.0f) return {};
    return "At least " + format_number(size) + " MB of free disk space is required.";
}

}  // namespace installer
