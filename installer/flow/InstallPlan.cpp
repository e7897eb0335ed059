#include "InstallPlan.h"

#include <algorithm>
#include <sstream>

namespace installer {

namespace {

// Summed one entry at a time, in list order, as the figures shown have always been; a folder that several
// versions name is counted once.
template <class Rule>
float size_of(const std::vector<host_entry>& entries, float plugin_size_mb, Rule rule) {
    const std::vector<std::size_t> writers = folder_writers(entries);
    float total = 0.0f;
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (rule(entries[i]) && !is_written_by_another(writers, i)) total += plugin_size_mb;
    return total;
}

constexpr double bytes_per_mb = 1024.0 * 1024.0;

}  // namespace

float size_in_mb(std::uint64_t bytes) { return static_cast<float>(static_cast<double>(bytes) / bytes_per_mb); }

std::string format_number(double value) {
    std::ostringstream out;
    out.setf(std::ios::fixed);
    out.precision(1);
    out << value;
    return out.str();
}

std::vector<std::wstring> install_folders(const std::vector<host_entry>& entries) {
    const std::vector<std::size_t> writers = folder_writers(entries);
    std::vector<std::wstring> folders;
    folders.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i)
        folders.push_back(is_installable(entries[i]) && !is_written_by_another(writers, i) ? entries[i].plugin_path
                                                                                          : std::wstring());
    return folders;
}

bool has_install_target(const std::vector<host_entry>& entries) {
    return std::any_of(entries.begin(), entries.end(), is_installable);
}

RunTotals run_totals(const std::vector<host_entry>& entries, float plugin_size_mb) {
    RunTotals totals;
    for (const host_entry& entry : entries)
        if (is_install_target(entry)) ++totals.target_count;
    totals.total_size_mb = size_of(entries, plugin_size_mb, is_install_target);
    totals.plugin_size_mb = plugin_size_mb;
    return totals;
}

float remaining_size_mb(const std::vector<host_entry>& entries, float plugin_size_mb) {
    return size_of(entries, plugin_size_mb, is_installable);
}

std::string disk_space_text(const std::vector<host_entry>& entries, float plugin_size_mb) {
    if (!has_install_target(entries)) return {};
    const float size = remaining_size_mb(entries, plugin_size_mb);
    return "At least " + format_number(size) + " MB of free disk space is required.";
}

}  // namespace installer
