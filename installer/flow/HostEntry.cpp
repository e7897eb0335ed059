#include "HostEntry.h"

#include "InstallStatus.h"
#include "HostVersions.h"
#include "file_path.h"

namespace installer {

std::vector<host_entry> make_host_entries(const std::vector<std::wstring>& folders) {
    std::vector<host_entry> entries;
    for (std::size_t slot = 0; slot < folders.size(); ++slot) {
        if (folders[slot].empty()) continue;
        const qssdk::file_path scripts =
            qssdk::file_path::from_wide(folders[slot]).parent().join(qssdk::file_path("Scripts"));
        entries.push_back({static_cast<std::uint32_t>(slot), folders[slot], scripts.wstring(), true,
                           install_status::untouched});
    }
    entries.push_back({static_cast<std::uint32_t>(host_slot::custom), {}, {}, false, install_status::untouched});
    return entries;
}

const host_entry* custom_entry(const std::vector<host_entry>& entries) {
    if (entries.empty() || entries.back().id != host_slot::custom) return nullptr;
    return &entries.back();
}

bool is_install_target(const host_entry& entry) {
    return entry.checked && !(entry.id == host_slot::custom && entry.plugin_path.empty());
}

bool is_installable(const host_entry& entry) {
    return is_install_target(entry) && entry.state != install_status::installed;
}

}  // namespace installer
