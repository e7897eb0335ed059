#include "HostEntry.h"

#include <algorithm>
#include <cwctype>
#include <string_view>

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

bool same_folder(const std::wstring& a, const std::wstring& b) {
    const auto trimmed = [](const std::wstring& f) {
        std::size_t n = f.size();
        while (n > 0 && f[n - 1] == L'\\') --n;
        return std::wstring_view(f.data(), n);
    };
    const std::wstring_view x = trimmed(a), y = trimmed(b);
    return x.size() == y.size() && std::equal(x.begin(), x.end(), y.begin(), [](wchar_t p, wchar_t q) {
               return std::towlower(p) == std::towlower(q);
           });
}

std::vector<std::size_t> folder_writers(const std::vector<host_entry>& entries) {
    std::vector<std::size_t> writers(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        writers[i] = i;
        if (!is_install_target(entries[i])) continue;
        for (std::size_t j = 0; j < i; ++j)
            if (is_install_target(entries[j]) && same_folder(entries[j].plugin_path, entries[i].plugin_path)) {
                writers[i] = j;
                break;
            }
    }
    return writers;
}

bool is_written_by_another(const std::vector<std::size_t>& writers, std::size_t entry) {
    return entry < writers.size() && writers[entry] != entry;
}

}  // namespace installer
