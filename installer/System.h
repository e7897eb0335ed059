// The installer's back end: the host versions it knows, their plug-in folders from the registry, and the
// install worker that writes the embedded plug-in into each chosen folder.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <windows.h>

#include "InstallProgress.h"
#include "HostVersions.h"
#include "PluginFile.h"
#include "RunControl.h"

namespace installer {

class System {
public:
    // One slot per host version the installer can show (HostVersions.h); the status list never holds
    // more entries either.
    static constexpr std::size_t slot_count = host_slot::count;
    static constexpr std::size_t custom_slot = host_slot::custom;
    static constexpr int plugin_resource_id = 400;

    // Where discovery reads and the worker reads and writes; the defaults are the machine's own.
    struct Places {
        HKEY registry_root = HKEY_LOCAL_MACHINE;
        std::wstring hosts_key = L"SOFTWARE\\Adobe\\After Effects";
        HMODULE plugin_module = nullptr;  // null: the running executable
        // The common application-data folder; empty when the system has none.
        std::function<std::wstring()> common_data_folder = shell_common_data_folder;
        // Starts the worker thread; throws when the system cannot make one.
        std::function<std::thread(std::function<void()>)> start_thread = new_thread;
    };

    using Progress = install_progress;

    System();
    explicit System(Places places);
    System(const System&) = delete;
    System& operator=(const System&) = delete;

    // The plug-in folder of each host slot, empty where none was found; names the slots of the versions
    // newer than the table after their keys. Called on the window thread, before the host names are shown.
    std::vector<std::wstring> find_hosts();
    const std::array<std::string, slot_count>& host_names() const { return host_names_; }

    // Starts one install run on a new thread, one target per folder (empty folders are skipped and keep
    // their status). The done flag is cleared and the status list sized here, on the calling thread, so
    // that a tick right after the start cannot see the previous run's flag. The caller joins the thread
    // before it starts the next run. Throws std::length_error for more than slot_count folders. When no
    // thread can be made, every target of the run fails with worker_not_started at once and the run is
    // done, so the window reports it like any failed run; the thread returned is then empty.
    std::thread start_install(std::vector<std::wstring> folders);

    Progress progress() const;

    // Steers the running install between two targets (RunControl): held while the window asks whether
    // to cancel, stopped before its next target. A new run starts neither held nor stopped.
    void hold_run() { control_.hold(); }
    void resume_run() { control_.resume(); }
    void stop_run() { control_.stop(); }

    // The size of the plug-in file this installer carries, in bytes; 0 when it carries none.
    std::uint64_t plugin_size() const;

    static std::wstring plugin_folder(const std::wstring& folder);
    static std::wstring shell_common_data_folder();
    static std::thread new_thread(std::function<void()> work);

private:
    void install(const std::vector<std::wstring>& folders);
    PluginWrite install_one(const std::wstring& folder) const;
    void make_common_folder() const;
    void read_hosts(REGSAM access, std::vector<HostKey>& keys) const;

    Places places_;
    RunControl control_;
    // Shared with the worker: statuses are published before done (release), read after it (acquire).
    // The storage never moves; the count only grows over zeroed entries.
    std::atomic<bool> done_{false};
    std::array<std::atomic<std::uint32_t>, slot_count> plugin_status_{};
    std::array<std::atomic<std::uint32_t>, slot_count> system_error_{};
    std::atomic<std::size_t> status_count_{slot_count};
    std::array<std::string, slot_count> host_names_;
};

}  // namespace installer
