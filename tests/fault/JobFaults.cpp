// The seam of a test build of the effect module: the plug-in's own code, linked with the linker's --wrap
// of RendererThread::postAndWait, so that a test can have one of the coming jobs throw, or fault as a
// hardware fault would, on the renderer thread. Unarmed, every job runs as in QSPellux.aex.
#include <windows.h>

#include <atomic>
#include <functional>
#include <stdexcept>

#include "FaultProbe.h"
#include "RendererThread.h"

namespace {

// What the armed job does instead of its work.
enum class job_fault { none = 0, exception = 1, hardware = 2 };

std::atomic<int> armedFault{static_cast<int>(job_fault::none)};
std::atomic<int> jobsToGo{0};

std::function<void()> faulty(job_fault fault) {
    if (fault == job_fault::exception) return [] { throw std::runtime_error("injected job failure"); };
    return [] { qs_test_read_int(unmappedAddress()); };
}

}  // namespace

extern "C" void __real__ZN14RendererThread11postAndWaitESt8functionIFvvEE(RendererThread* thread,
                                                                          std::function<void()> job);

extern "C" void __wrap__ZN14RendererThread11postAndWaitESt8functionIFvvEE(RendererThread* thread,
                                                                          std::function<void()> job) {
    if (jobsToGo.load() > 0 && --jobsToGo == 0)
        job = faulty(static_cast<job_fault>(armedFault.exchange(static_cast<int>(job_fault::none))));
    __real__ZN14RendererThread11postAndWaitESt8functionIFvvEE(thread, std::move(job));
}

// The `jobs`-th job posted from now (1: the next) throws (fault 1) or reads an unmapped address (fault 2).
extern "C" __declspec(dllexport) void qs_test_arm_job_fault(int fault, int jobs) {
    armedFault = fault;
    jobsToGo = jobs;
}
