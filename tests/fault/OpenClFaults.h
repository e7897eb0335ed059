// The OpenCL seam of the effect's test builds: the linker wraps OpenClLibrary's constructor
// (--wrap=_ZN13OpenClLibraryC1EPKw), which then sends a few entry points through stand-ins that can fail a
// chosen call with a chosen error, and that count the memory objects made and released. Unarmed, every
// call goes on to the platform's library unchanged. QSPellux.aex has no such seam.
#pragma once

// The calls that can be made to fail.
enum class opencl_call : int {
    createBuffer = 1,
    createImage = 2,
    setKernelArg = 3,
    runKernel = 4,       // clEnqueueNDRangeKernel
    writeBuffer = 5,
    readBufferRect = 6,
    writeImage = 7,
    readImage = 8,
    finish = 9,
};

extern "C" {
// The `call`-th call of that kind from now (1: the next) fails with `error`, and then no more.
__declspec(dllexport) void qs_test_arm_opencl_fault(int kind, int call, int error);
// Memory objects (buffers and images) made and not yet released.
__declspec(dllexport) int qs_test_live_opencl_memory();
}
