#include "HostVersions.h"

#include <algorithm>
#include <cwctype>
#include <map>
#include <utility>

#include "utf.h"

namespace installer {

namespace {

constexpr std::size_t skipped = host_slot::count;
// Registry version keys with the slot they fill; the oldest versions are listed to be skipped.
constexpr std::pair<std::wstring_view, std::size_t> version_slots[] = {
    {L"8.0", skipped}, {L"9.0", skipped}, {L"10.0", skipped}, {L"10.5", skipped}, {L"11", 4},    {L"12", 5},
    {L"13", 6},        {L"13.5", 7},      {L"13.8", 8},       {L"14.0", 9},       {L"15.0", 10},
};
constexpr std::wstring_view table_last = L"15.0";

bool all_digits(std::wstring_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

// Two digit strings by value, of any length.
int compare_numbers(std::wstring_view a, std::wstring_view b) {
    const auto trim = [](std::wstring_view s) {
        while (s.size() > 1 && s.front() == L'0') s.remove_prefix(1);
        return s;
    };
    a = trim(a);
    b = trim(b);
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}

std::pair<std::wstring_view, std::wstring_view> parts(std::wstring_view version) {
    const std::size_t dot = version.find(L'.');
    if (dot == std::wstring_view::npos) return {version, L"0"};
    return {version.substr(0, dot), version.substr(dot + 1)};
}

// Newer versions in order, then by their spelling ("16" before "16.0").
struct version_order {
    bool operator()(const std::wstring& a, const std::wstring& b) const {
        const int c = compare_versions(a, b);
        return c != 0 ? c < 0 : a < b;
    }
};

}  // namespace

bool is_version_number(std::wstring_view key) {
    const auto [major, minor] = parts(key);
    return all_digits(major) && all_digits(minor) && (key.find(L'.') == std::wstring_view::npos || !minor.empty());
}

int compare_versions(std::wstring_view a, std::wstring_view b) {
    const auto [a_major, a_minor] = parts(a);
    const auto [b_major, b_minor] = parts(b);
    const int major = compare_numbers(a_major, b_major);
    return major != 0 ? major : compare_numbers(a_minor, b_minor);
}

bool is_absolute_folder(std::wstring_view f) {
    const bool drive = f.size() >= 3 && std::iswalpha(f[0]) && f[0] < 0x80 && f[1] == L':' && f[2] == L'\\';
    const bool share = f.size() >= 3 && f[0] == L'\\' && f[1] == L'\\' && f[2] != L'\\';
    return drive || share;
}

std::wstring cleaned_folder(std::wstring_view value) {
    const auto trim = [](std::wstring_view v) {
        constexpr std::wstring_view blanks = L" \t";
        const std::size_t first = v.find_first_not_of(blanks);
        if (first == std::wstring_view::npos) return std::wstring_view{};
        return v.substr(first, v.find_last_not_of(blanks) - first + 1);
    };
    std::wstring_view v = trim(value);
    if (v.size() >= 2 && v.front() == L'"' && v.back() == L'"') v = trim(v.substr(1, v.size() - 2));
    std::wstring folder(v);
    std::replace(folder.begin(), folder.end(), L'/', L'\\');
    return folder;
}

HostSlots assign_host_slots(const std::vector<HostKey>& keys) {
    HostSlots slots;
    std::map<std::wstring, std::wstring, version_order> newer;
    for (const HostKey& key : keys) {
        std::wstring folder = cleaned_folder(key.folder);
        if (!is_absolute_folder(folder)) continue;
        const auto listed = std::find_if(std::begin(version_slots), std::end(version_slots),
                                         [&](const auto& v) { return v.first == key.version; });
        if (listed != std::end(version_slots)) {
            if (listed->second != skipped) slots.folders[listed->second] = std::move(folder);
        } else if (is_version_number(key.version) && compare_versions(key.version, table_last) > 0) {
            newer[key.version] = std::move(folder);
        }
    }
    // The newest fill the slots, oldest first.
    auto first = newer.begin();
    if (newer.size() > host_slot::newer_count) std::advance(first, newer.size() - host_slot::newer_count);
    std::size_t slot = host_slot::first_newer;
    for (auto it = first; it != newer.end(); ++it, ++slot) {
        slots.folders[slot] = it->second;
        slots.names[slot] = qssdk::utf16_to_utf8(it->first);
    }
    return slots;
}

}  // namespace installer
