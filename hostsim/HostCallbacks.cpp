#include "HostCallbacks.h"

#include <cstdlib>
#include <cstring>

#include "SimulatedHost.h"
#include "suites/HostSuites.h"

namespace hostsim::callbacks {

namespace {

SimulatedHost& host() { return SimulatedHost::current(); }

SPErr acquireSuite(const char* name, A_long version, const void** suite) {
    return host().suites().acquire(name, version, suite);
}
SPErr releaseSuite(const char* name, A_long version) { return host().suites().release(name, version); }
SPBoolean isEqual(const char* a, const char* b) { return std::strcmp(a, b) == 0; }
SPErr allocateBlock(size_t size, void** block) {
    *block = std::malloc(size);
    return *block ? 0 : PF_Err_OUT_OF_MEMORY;
}
SPErr freeBlock(void* block) {
    std::free(block);
    return 0;
}
SPErr reallocateBlock(void* block, size_t size, void** moved) {
    *moved = std::realloc(block, size);
    return *moved ? 0 : PF_Err_OUT_OF_MEMORY;
}
SPErr undefined() { return 0; }

A_char* ansiStrcpy(A_char* dst, const A_char* src) { return std::strcpy(dst, src); }
PF_Handle newHandle(A_u_longlong size) { return host().newHandle(static_cast<size_t>(size)); }
void* lockHandle(PF_Handle handle) { return host().handles().lock(handle); }
void unlockHandle(PF_Handle handle) { host().handles().unlock(handle); }
void disposeHandle(PF_Handle handle) { host().handles().dispose(handle); }
A_u_longlong handleSize(PF_Handle handle) { return host().handles().size(handle); }
PF_Err platformData(PF_ProgPtr, PF_PlatDataID which, void* data) { return host().platformData(which, data); }

PF_Err checkoutParam(PF_ProgPtr effect_ref, PF_ParamIndex index, A_long what_time, A_long time_step,
                     A_u_long time_scale, PF_ParamDef* param) {
    if (effect_ref != host().effectRef()) return PF_Err_BAD_CALLBACK_PARAM;
    const PF_Err result = host().params().checkout(index, what_time, time_step, time_scale, host().effectLayer(),
                                                   param, host().renderDownsample());
    if (result == PF_Err_NONE) host().paramCheckedOut(index);
    return result;
}
PF_Err checkinParam(PF_ProgPtr effect_ref, PF_ParamDef* param) {
    if (effect_ref != host().effectRef()) return PF_Err_BAD_CALLBACK_PARAM;
    return host().params().checkin(param);
}
PF_Err addParam(PF_ProgPtr effect_ref, PF_ParamIndex index, PF_ParamDefPtr def) {
    if (effect_ref != host().effectRef()) return PF_Err_BAD_CALLBACK_PARAM;
    return host().params().add(index, def);
}
PF_Err registerUi(PF_ProgPtr effect_ref, PF_CustomUIInfo* info) {
    if (effect_ref != host().effectRef()) return PF_Err_BAD_CALLBACK_PARAM;
    return host().params().registerUi(info);
}

}  // namespace

void install(SimulatedHost& host, SPBasicSuite& basic, PF_UtilCallbacks& utils) {
    basic = SPBasicSuite{acquireSuite, releaseSuite, isEqual, allocateBlock, freeBlock, reallocateBlock, undefined};
    // Utilities the simulated host does not offer stay null.
    utils = PF_UtilCallbacks{};
    utils.ansi.strcpy = ansiStrcpy;
    utils.host_new_handle = newHandle;
    utils.host_lock_handle = lockHandle;
    utils.host_unlock_handle = unlockHandle;
    utils.host_dispose_handle = disposeHandle;
    utils.host_get_handle_size = handleSize;
    utils.get_platform_data = platformData;
    provideHostSuites(host.suites());
}

void installInteract(PF_InteractCallbacks& inter) {
    inter = PF_InteractCallbacks{};
    inter.checkout_param = checkoutParam;
    inter.checkin_param = checkinParam;
    inter.add_param = addParam;
    inter.register_ui = registerUi;
}

}  // namespace hostsim::callbacks
