// One row of the host list: a discovered host version, or the Custom row with the user's own folder. The
// one rule of what an install run writes lives here, so that the counts, the sizes, the folder list and
// the success test all agree.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace installer {

struct host_entry {
    std::uint32_t id = 0;      // host slot of System; the Custom row is System::custom_slot
    std::wstring plugin_path;  // empty for the Custom row until a folder is chosen
    std::wstring scripts_path;
    bool checked = false;
    std::uint32_t state = 0;  // the entry's install status code
};

// One entry per non-empty folder, in slot order, checked; then the Custom row, unchecked.
std::vector<host_entry> make_host_entries(const std::vector<std::wstring>& folders);

// The Custom row stands last in the list.
const host_entry* custom_entry(const std::vector<host_entry>& entries);

// Chosen by the user and able to take the plug-in: checked, and not the Custom row without a folder.
bool is_install_target(const host_entry& entry);
// A target not installed yet: what a run writes and what is left to do.
bool is_installable(const host_entry& entry);

// Whether two plug-in folders are one: compared without regard to letter case or trailing backslashes.
bool same_folder(const std::wstring& a, const std::wstring& b);
// Versions may name one plug-in folder. For each entry, the index of the install target that writes for
// it: the first target in list order with the same folder, itself for every other entry.
std::vector<std::size_t> folder_writers(const std::vector<host_entry>& entries);
// A target whose folder an earlier target writes: it is written once, not again.
bool is_written_by_another(const std::vector<std::size_t>& writers, std::size_t entry);

}  // namespace installer
