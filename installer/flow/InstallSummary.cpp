#include "InstallSummary.h"

#include <algorithm>
#include <cmath>

#include "InstallStatus.h"
#include "InstallerTexts.h"

namespace installer {

namespace {

bool installed_target(const host_entry& entry) {
    return is_install_target(entry) && entry.state == install_status::installed;
}

}  // namespace

float progress_fraction(std::uint32_t installed, std::uint32_t target_count) {
    if (target_count == 0) return 0.0f;
    return std::clamp(static_cast<float>(installed) / static_cast<float>(target_count), 0.0f, 1.0f);
}

std::string summary_html(float fraction, float total_size_mb, float remaining_size_mb) {
    const long percent = std::lround(fraction * 100.0f);
    return "<html><body><font color = \"#1b6936\">" + std::to_string(percent) + "% </font> Complete (" +
           format_number(total_size_mb - remaining_size_mb) + "MB of " + format_number(total_size_mb) + "MB)" +
           "</body></html>";
}

ProgressSummary summarize(const std::vector<host_entry>& entries, const RunTotals& totals) {
    const auto installed = std::count_if(entries.begin(), entries.end(), installed_target);
    ProgressSummary summary;
    summary.fraction = progress_fraction(static_cast<std::uint32_t>(installed), totals.target_count);
    summary.html =
        summary_html(summary.fraction, totals.total_size_mb, remaining_size_mb(entries, totals.plugin_size_mb));
    return summary;
}

bool every_target_installed(const std::vector<host_entry>& entries) {
    return std::any_of(entries.begin(), entries.end(), is_install_target) &&
           std::none_of(entries.begin(), entries.end(), is_installable);
}

std::string_view cancelled_intro(const std::vector<host_entry>& entries) {
    return std::any_of(entries.begin(), entries.end(), installed_target) ? cancelled_some_intro
                                                                         : cancelled_none_intro;
}

std::vector<std::size_t> result_row_entries(const std::vector<host_entry>& entries) {
    const std::vector<std::size_t> writers = folder_writers(entries);
    std::vector<std::size_t> rows;
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (is_install_target(entries[i]) && !is_written_by_another(writers, i)) rows.push_back(i);
    return rows;
}

std::vector<std::size_t> served_entries(const std::vector<host_entry>& entries, std::size_t writer) {
    const std::vector<std::size_t> writers = folder_writers(entries);
    std::vector<std::size_t> served;
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (writers[i] == writer && is_install_target(entries[i])) served.push_back(i);
    return served;
}

std::string joined_names(const std::vector<std::string>& names) {
    std::string joined;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) joined += i + 1 == names.size() ? " and " : ", ";
        joined += names[i];
    }
    return joined;
}

std::optional<ResultRow> result_row(const host_entry& entry, std::string_view versions) {
    if (entry.state < install_status::installed) return std::nullopt;
    const bool installed = entry.state == install_status::installed;
    return ResultRow{std::string(product_for_host) + " " + std::string(versions) +
                         (installed ? " installed." : " not installed."),
                     installed};
}

}  // namespace installer
