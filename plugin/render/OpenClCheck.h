// The results of the OpenCL calls of a frame's work: a failure fails the frame with a message that names
// the step and the OpenCL error.
#pragma once

#include <CL/cl.h>

#include <string>

// The error's name as the OpenCL headers spell it ("CL_OUT_OF_RESOURCES"); "an unknown error" otherwise.
const char* openClErrorName(cl_int error);
// The message of a failed step: "failed to <step>: OpenCL error <name> (<code>)".
std::string openClFailure(const char* step, cl_int error);
// Throws frame_exception with that message unless error is CL_SUCCESS.
void checkOpenCl(cl_int error, const char* step);
