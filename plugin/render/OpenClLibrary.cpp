#include "OpenClLibrary.h"

#include "format_string.h"
#include "qs_exception.h"
#include "utf.h"

OpenClLibrary::OpenClLibrary(const wchar_t* file) {
    module_ = LoadLibraryW(file);
    if (!module_) {
        throw qs_exception(qssdk::format_string("unable to load the OpenCL library %s (error %lu)",
                                                qssdk::utf16_to_utf8(file).c_str(), GetLastError()));
    }
    const char* missing = nullptr;
    // Through void* because the entry points' types are unrelated to FARPROC.
#define QS_OPENCL_LOAD(name)                                                                   \
    name = reinterpret_cast<decltype(name)>(reinterpret_cast<void*>(GetProcAddress(module_, #name))); \
    if (!name && !missing) missing = #name;
    QS_OPENCL_ENTRY_POINTS(QS_OPENCL_LOAD)
#undef QS_OPENCL_LOAD
    if (missing) {
        FreeLibrary(module_);
        throw qs_exception(qssdk::format_string("the OpenCL library has no entry point %s", missing));
    }
}

OpenClLibrary::~OpenClLibrary() { FreeLibrary(module_); }
