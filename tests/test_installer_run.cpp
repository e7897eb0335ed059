#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <stdexcept>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "HostEntry.h"
#include "InstallRun.h"
#include "InstallStatus.h"
#include "StartGate.h"
#include "System.h"
#include "TempFolder.h"
#include "TickDecision.h"

namespace {

using namespace installer;
namespace status = installer::install_status;
using Entries = std::vector<host_entry>;

class InstallRun : public ::testing::Test {
protected:
    System::Places places() const {
        System::Places result;
        result.hosts_key = L"SOFTWARE\\QSPelluxTests\\none";
        result.common_data_folder = [base = temp_.path()] { return base + L"\\common"; };
        return result;
    }
    host_entry target(std::uint32_t id, const std::wstring& name) const {
        const std::wstring folder = temp_ / name;
        CreateDirectoryW(folder.c_str(), nullptr);
        return {id, folder, L"", true, status::untouched};
    }
    // Polls the way the window's tick does until the run is decided; a run that never ends is a failure
    // rather than a hung test.
    static TickOutcome poll_until_decided(System& system, Entries& entries) {
        const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (std::chrono::steady_clock::now() < give_up) {
            const TickOutcome outcome = decide_tick(system.progress(), entries);
            if (outcome.kind != TickKind::writing) return outcome;
            std::this_thread::yield();
        }
        ADD_FAILURE() << "the run never ended";
        return {};
    }

    TempFolder temp_;
};

TEST_F(InstallRun, ARunningWorkerIsNeverReplaced) {
    // The first worker waits at the gate until the test has tried its second start.
    StartGate gate(2);
    bool first_start = true;
    System::Places held = places();
    held.start_thread = [&gate, &first_start](std::function<void()> work) {
        const bool wait = std::exchange(first_start, false);
        return std::thread([&gate, wait, work = std::move(work)] {
            if (wait) gate.arrive_and_wait();
            work();
        });
    };
    System system(std::move(held));
    Entries entries = {target(4, L"a"), target(9, L"b")};
    std::thread worker;
    ASSERT_TRUE(start_install_run(system, worker, entries));
    const std::thread::id first = worker.get_id();

    entries.push_back(target(10, L"c"));
    EXPECT_FALSE(start_install_run(system, worker, entries)) << "a retry while the worker writes is refused";
    EXPECT_EQ(worker.get_id(), first);
    EXPECT_FALSE(system.progress().done);
    EXPECT_EQ(system.progress().plugin_status.size(), 2u) << "the running run's list is left alone";

    gate.arrive_and_wait();
    EXPECT_EQ(poll_until_decided(system, entries).kind, TickKind::failed) << "the third entry was not in the run";
    EXPECT_EQ(entries[0].state, status::installed);
    EXPECT_EQ(entries[1].state, status::installed);
    // The finished worker has not been joined: the next start joins it and runs the entry left over.
    ASSERT_TRUE(worker.joinable());
    ASSERT_TRUE(start_install_run(system, worker, entries));
    EXPECT_NE(worker.get_id(), first);
    EXPECT_EQ(poll_until_decided(system, entries).kind, TickKind::succeeded);
    worker.join();
    EXPECT_EQ(entries[2].state, status::installed);
}

TEST_F(InstallRun, AWorkerThatCannotStartIsAFailedRunThatCanBeRetried) {
    int starts = 0;
    System::Places flaky = places();
    flaky.start_thread = [&starts](std::function<void()> work) {
        if (starts++ == 0) throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
        return std::thread(std::move(work));
    };
    System system(std::move(flaky));
    Entries entries = {target(5, L"a"), {System::custom_slot, L"", L"", true, status::untouched}};
    std::thread worker;
    ASSERT_TRUE(start_install_run(system, worker, entries));
    EXPECT_FALSE(worker.joinable());
    const TickOutcome outcome = poll_until_decided(system, entries);
    EXPECT_EQ(outcome.kind, TickKind::failed);
    EXPECT_EQ(outcome.failures, (std::vector<TargetFailure>{{0, status::worker_not_started, 0}}));
    EXPECT_EQ(system.progress().plugin_status, (std::vector<std::uint32_t>{status::worker_not_started, 0}));

    ASSERT_TRUE(start_install_run(system, worker, entries));
    EXPECT_EQ(poll_until_decided(system, entries).kind, TickKind::succeeded);
    worker.join();
}

// The tick decides from one snapshot whose statuses were read after its done flag. With the failing target
// written last, a tick that read the statuses first could see it still being written, then see done, and
// report a success.
TEST_F(InstallRun, ATickNeverSeesSuccessWhileATargetFails) {
    System system(places());
    const Entries fresh = {target(4, L"a"), target(6, L"b"), target(9, L"c"),
                           {10, temp_ / L"bad|name", L"", true, status::untouched}};
    for (int run = 0; run < 300 && !HasFailure(); ++run) {
        Entries entries = fresh;
        std::thread worker;
        ASSERT_TRUE(start_install_run(system, worker, entries));
        const TickOutcome outcome = poll_until_decided(system, entries);
        worker.join();
        EXPECT_EQ(outcome.kind, TickKind::failed) << "run " << run;
        ASSERT_EQ(outcome.failures.size(), 1u) << "run " << run;
        EXPECT_EQ(outcome.failures[0].entry, 3u) << "run " << run;
        EXPECT_EQ(outcome.failures[0].code, status::file_not_created) << "run " << run;
        EXPECT_NE(outcome.failures[0].system_error, 0u) << "run " << run;
    }
}

}  // namespace
