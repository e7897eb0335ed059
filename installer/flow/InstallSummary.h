// What page 2 shows of a run: the progress fraction, the percentage line, the result rows and whether
// every target ended installed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "HostEntry.h"
#include "InstallPlan.h"

namespace installer {

// Installed over targets, within [0, 1], also once the run is over (failed targets stay undone); 0 when
// there are no targets.
float progress_fraction(std::uint32_t installed, std::uint32_t target_count);

// The percentage line in the label's HTML subset: "<N>% Complete (<done>MB of <total>MB)".
std::string summary_html(float fraction, float total_size_mb, float remaining_size_mb);

struct ProgressSummary {
    float fraction = 0.0f;
    std::string html;
};
ProgressSummary summarize(const std::vector<host_entry>& entries, const RunTotals& totals);

// At least one target, and none left to install: the only result that is a success.
bool every_target_installed(const std::vector<host_entry>& entries);

// The line over the results of a run the user cancelled: whether any version holds the plug-in now (the
// rows below name them).
std::string_view cancelled_intro(const std::vector<host_entry>& entries);

// The entries that own a result row, in row order: row k belongs to the k-th folder written, and names
// every version that folder serves.
std::vector<std::size_t> result_row_entries(const std::vector<host_entry>& entries);
// The entries a row's folder serves: its writer first, then the versions that name the same folder.
std::vector<std::size_t> served_entries(const std::vector<host_entry>& entries, std::size_t writer);
// "A", "A and B", "A, B and C".
std::string joined_names(const std::vector<std::string>& names);

struct ResultRow {
    std::string text;
    bool installed = false;
};
// The row of a target once its run has ended for it; none while it is untouched or being written. The
// versions are the names of the versions its folder serves, joined.
std::optional<ResultRow> result_row(const host_entry& entry, std::string_view versions);

}  // namespace installer
