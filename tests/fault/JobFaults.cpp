// The seam of a test build of the effect module: the plug-in's own code, linked with the linker's --wrap
// of RendererThread::postAndWait, so that a test can have one of the coming jobs throw, or fault as a
// hardware fault would on the renderer thread, in the effect's code or in a driver's (the stand-in
// library pellux_fault_driver.dll), or have the thread that posts it fault instead (the host's thread that
// entered the effect). Unarmed, every job runs as in QSPellux.aex.
#include <windows.h>

#include <atomic>
#include <functional>
#include <stdexcept>

#include "FaultDriver.h"
#include "FaultProbe.h"
#include "RendererThread.h"

namespace {

// What the armed job does instead of its work.
enum class job_fault { none = 0, exception = 1, hardware = 2, driverDeclines = 3, driverCppFrame = 4,
                       hardwareWhilePosting = 5 };

std::atomic<int> armedFault{static_cast<int>(job_fault::none)};
std::atomic<int> jobsToGo{0};

std::function<void()> faulty(job_fault fault) {
    switch (fault) {
        case job_fault::exception: return [] { throw std::runtime_error("injected job failure"); };
        case job_fault::driverDeclines: return [] { qs_driver_read_declined(unmappedAddress()); };
        case job_fault::driverCppFrame: return [] { qs_driver_read_in_cpp_frame(unmappedAddress()); };
        default: return [] { qs_test_read_int(unmappedAddress()); };
    }
}

}  // namespace

extern "C" void __real__ZN14RendererThread11postAndWaitESt8functionIFvvEE(RendererThread* thread,
                                                                          std::function<void()> job);

extern "C" void __wrap__ZN14RendererThread11postAndWaitESt8functionIFvvEE(RendererThread* thread,
                                                                          std::function<void()> job) {
    if (jobsToGo.load() > 0 && --jobsToGo == 0) {
        const auto fault = static_cast<job_fault>(armedFault.exchange(static_cast<int>(job_fault::none)));
        if (fault == job_fault::hardwareWhilePosting)
            qs_test_read_int(unmappedAddress());  // leaves as the translated exception
        else
            job = faulty(fault);
    }
    __real__ZN14RendererThread11postAndWaitESt8functionIFvvEE(thread, std::move(job));
}

// The `jobs`-th job posted from now (1: the next) throws (fault 1) or reads an unmapped address: in the
// effect's code (fault 2), in a driver's frame whose handler declines the fault (3), in a driver's C++
// frame (4); or its poster reads one before posting it (5).
extern "C" __declspec(dllexport) void qs_test_arm_job_fault(int fault, int jobs) {
    armedFault = fault;
    jobsToGo = jobs;
}
