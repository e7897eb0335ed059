// The fault tests' stand-in for a driver (pellux_fault_driver.dll): code of another module that faults.
#pragma once

extern "C" {
// Reads the address in a frame whose handler declines the fault (access violations it saw: qs_driver_declined).
int qs_driver_read_declined(const volatile int* address);
// Reads the address in a frame whose handler takes an access violation; the read then gives -1.
int qs_driver_read_guarded(const volatile int* address);
// Reads the address in a C++ frame whose destructor is counted by qs_driver_cleanups.
int qs_driver_read_in_cpp_frame(const volatile int* address);
int qs_driver_declined();
int qs_driver_cleanups();
}
