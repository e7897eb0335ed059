#include "OpenClLibrary.h"

OpenClLibrary::OpenClLibrary(const wchar_t* file) : library_(file, "OpenCL library") {
#define QS_OPENCL_LOAD(name) name = library_.entry_point<decltype(name)>(#name);
    QS_OPENCL_ENTRY_POINTS(QS_OPENCL_LOAD)
#undef QS_OPENCL_LOAD
}
