// Which host slot each version key of the registry fills: the versions the table names have slots of
// their own, versions newer than the table's last get one each in version order, everything else is
// left out. Window-free and registry-free: discovery hands it the keys it read.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace installer {

namespace host_slot {
// Slots 0-10 belong to the versions the table names (0-3 are never filled: their versions are skipped).
inline constexpr std::size_t table_count = 11;
// Then one slot per version newer than the table's last, oldest first. The selection page's two-column
// grid holds these with the table's seven in ten rows; the status list is made this long once, so the
// worker never moves it while the window reads it.
inline constexpr std::size_t first_newer = table_count;
inline constexpr std::size_t newer_count = 12;
// Last the user's own folder, never filled by discovery.
inline constexpr std::size_t custom = first_newer + newer_count;
inline constexpr std::size_t count = custom + 1;
}  // namespace host_slot

// One version key under the hosts' key with its "PluginInstallPath" value, as read.
struct HostKey {
    std::wstring version;
    std::wstring folder;
};

// A version number: digits, optionally a '.' and digits.
bool is_version_number(std::wstring_view key);
// Compares two version numbers by value (major, then minor; a missing minor is 0): <0, 0 or >0.
int compare_versions(std::wstring_view a, std::wstring_view b);
// A drive path ("C:\...") or a share ("\\server\..."), with backslashes.
bool is_absolute_folder(std::wstring_view folder);

// The folder a value names as people write it by hand: surrounding blanks and one pair of surrounding
// double quotes (with blanks inside them) taken off, '/' turned into '\'.
std::wstring cleaned_folder(std::wstring_view value);

struct HostSlots {
    std::array<std::wstring, host_slot::count> folders;  // empty where no version was found
    std::array<std::string, host_slot::count> names;     // the newer versions' keys (UTF-8); others empty
};

// Places the keys in reading order: a later key of the same version replaces an earlier one. A folder
// that is empty or not absolute once cleaned (cleaned_folder) counts as no value. When more versions are newer
// than the table than there are slots, the newest are kept.
HostSlots assign_host_slots(const std::vector<HostKey>& keys);

}  // namespace installer
