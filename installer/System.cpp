#include "System.h"

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <utility>

#include <shlobj.h>
#include <shlwapi.h>

#include "InstallStatus.h"
#include "PluginFile.h"
#include "file_path.h"
#include "utf.h"

namespace installer {

namespace {

// The table's display names and the Custom row's; the newer versions' slots are named when found.
constexpr std::pair<std::size_t, const char*> initial_host_names[] = {
    {0, "CS3"},   {1, "CS4"},          {2, "CS5"},     {3, "CS55"},    {4, "CS6"},    {5, "CC"},
    {6, "CC2014"}, {7, "CC2015"},      {8, "CC2015.3"}, {9, "CC2017"}, {10, "CC2018"}, {System::custom_slot, "Custom"}};

void to_backslashes(std::wstring& path) { std::replace(path.begin(), path.end(), L'/', L'\\'); }

// A string value of a sub-key, whatever its length: the size is asked first, and again should the value
// grow between the two reads. None when the value is missing or not a string.
std::optional<std::wstring> read_string(HKEY key, const wchar_t* sub_key, const wchar_t* value) {
    DWORD bytes = 0;
    if (SHRegGetValueW(key, sub_key, value, SRRF_RT_REG_SZ, nullptr, nullptr, &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    for (;;) {
        std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
        DWORD size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        const LSTATUS status = SHRegGetValueW(key, sub_key, value, SRRF_RT_REG_SZ, nullptr, text.data(), &size);
        if (status == ERROR_MORE_DATA) {
            bytes = size;
            continue;
        }
        if (status != ERROR_SUCCESS) return std::nullopt;
        text.resize(std::min(text.size(), size / sizeof(wchar_t)));
        if (const std::size_t end = text.find(L'\0'); end != std::wstring::npos) text.resize(end);
        return text;
    }
}

}  // namespace

System::System() : System(Places{}) {}

System::System(Places places) : places_(std::move(places)) {
    for (const auto& [slot, name] : initial_host_names) host_names_[slot] = name;
}

std::wstring System::plugin_folder(const std::wstring& folder) {
    std::wstring result;
    result.reserve(folder.size() + 13);
    result += folder;
    result += L"\\Quillstone";
    return result;
}

std::wstring System::shell_common_data_folder() {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, 0, path))) return {};
    return path;
}

std::thread System::new_thread(std::function<void()> work) { return std::thread(std::move(work)); }

std::vector<std::wstring> System::find_hosts() {
    std::vector<HostKey> keys;
    read_hosts(KEY_READ, keys);
    BOOL wow64 = FALSE;
    // A 32-bit build on a 64-bit system reads the 64-bit view too; its finds win.
    if (IsWow64Process(GetCurrentProcess(), &wow64) && wow64) read_hosts(KEY_READ | KEY_WOW64_64KEY, keys);
    const HostSlots slots = assign_host_slots(keys);
    for (std::size_t slot = host_slot::first_newer; slot < host_slot::custom; ++slot)
        host_names_[slot] = slots.names[slot];
    return {slots.folders.begin(), slots.folders.end()};
}

void System::read_hosts(REGSAM access, std::vector<HostKey>& keys) const {
    HKEY hosts = nullptr;
    if (RegOpenKeyExW(places_.registry_root, places_.hosts_key.c_str(), 0, access, &hosts) != ERROR_SUCCESS) return;
    DWORD count = 0;
    if (RegQueryInfoKeyW(hosts, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS)
        count = 0;
    for (DWORD index = 0; index < count; ++index) {
        // Key names hold at most 255 characters, plus the terminator.
        wchar_t name[256];
        DWORD length = 256;
        if (RegEnumKeyExW(hosts, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) continue;
        std::optional<std::wstring> folder = read_string(hosts, name, L"PluginInstallPath");
        if (folder) keys.push_back({std::wstring(name, length), std::move(*folder)});
    }
    RegCloseKey(hosts);
}

std::thread System::start_install(std::vector<std::wstring> folders) {
    if (folders.size() > slot_count) throw std::length_error("more install targets than host slots");
    done_.store(false, std::memory_order_release);
    control_.reset();
    // Entries that exist keep their codes; new ones are zeroed before the count lets a reader see them.
    const std::size_t count = status_count_.load(std::memory_order_relaxed);
    for (std::size_t i = count; i < folders.size(); ++i) {
        plugin_status_[i].store(0, std::memory_order_relaxed);
        system_error_[i].store(0, std::memory_order_relaxed);
    }
    status_count_.store(folders.size(), std::memory_order_release);
    try {
        return places_.start_thread([this, folders] { install(folders); });
    } catch (const std::exception&) {
        // No worker: its targets fail now and the run is over, rather than waiting for ever.
        for (std::size_t i = 0; i < folders.size(); ++i)
            if (!folders[i].empty())
                plugin_status_[i].store(install_status::worker_not_started, std::memory_order_release);
        done_.store(true, std::memory_order_release);
        return {};
    }
}

System::Progress System::progress() const {
    Progress result;
    result.done = done_.load(std::memory_order_acquire);
    const std::size_t count = status_count_.load(std::memory_order_acquire);
    result.plugin_status.reserve(count);
    result.system_error.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        result.plugin_status.push_back(plugin_status_[i].load(std::memory_order_acquire));
        result.system_error.push_back(system_error_[i].load(std::memory_order_acquire));
    }
    return result;
}

std::uint64_t System::plugin_size() const {
    HRSRC resource = FindResourceW(places_.plugin_module, MAKEINTRESOURCEW(plugin_resource_id), RT_RCDATA);
    return resource ? SizeofResource(places_.plugin_module, resource) : 0;
}

void System::install(const std::vector<std::wstring>& folders) {
    for (std::size_t i = 0; i < folders.size(); ++i) {
        if (folders[i].empty()) continue;
        // A stopped run leaves its remaining targets untouched.
        if (!control_.may_continue()) break;
        plugin_status_[i].store(install_status::writing, std::memory_order_release);
        const PluginWrite result = install_one(folders[i]);
        // The error before the status: a reader that sees the status sees its error.
        system_error_[i].store(result.system_error, std::memory_order_release);
        plugin_status_[i].store(result.status, std::memory_order_release);
    }
    // A stopped run writes only the targets its page names.
    if (!control_.stopped()) make_common_folder();
    // Last: a reader that sees done sees every status above.
    done_.store(true, std::memory_order_release);
}

PluginWrite System::install_one(const std::wstring& folder) const {
    std::wstring target = plugin_folder(folder);
    // It may exist already; any other failure is the target's real cause (a folder without write
    // access, say), which the file's creation below would only report as a missing path.
    if (!CreateDirectoryW(target.c_str(), nullptr)) {
        const DWORD error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS) return {install_status::file_not_created, error};
        // What exists may be a file, which the file's creation inside it would only call a missing path.
        const DWORD attributes = GetFileAttributesW(target.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            return {install_status::folder_taken_by_file, error};
    }
    target += L"\\QSPellux.aex";
    HRSRC resource = FindResourceW(places_.plugin_module, MAKEINTRESOURCEW(plugin_resource_id), RT_RCDATA);
    if (!resource) return {install_status::resource_not_found, GetLastError()};
    HGLOBAL loaded = LoadResource(places_.plugin_module, resource);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return {install_status::resource_not_loaded, GetLastError()};
    const DWORD size = SizeofResource(places_.plugin_module, resource);
    return replace_plugin_file(target, {static_cast<const unsigned char*>(bytes), size});
}

void System::make_common_folder() const {
    std::wstring base = places_.common_data_folder();
    if (base.empty()) return;
    to_backslashes(base);
    qssdk::file_path::from_wide(std::move(base)).join(qssdk::file_path("Quillstone")).create_directories();
}

}  // namespace installer
