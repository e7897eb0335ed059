#include "system_library.h"

#include "format_string.h"
#include "qs_exception.h"
#include "utf.h"

namespace qssdk {

system_library::system_library(const wchar_t* file, std::string_view role)
    : role_(role), module_(LoadLibraryExW(file, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
    if (module_) return;
    const DWORD error = GetLastError();
    throw qs_exception(
        format_string("unable to load the %s %s (error %lu)", role_.c_str(), utf16_to_utf8(file).c_str(), error));
}

system_library::~system_library() { FreeLibrary(module_); }

FARPROC system_library::address(const char* name) const {
    const FARPROC found = GetProcAddress(module_, name);
    if (!found) throw qs_exception(format_string("the %s has no entry point %s", role_.c_str(), name));
    return found;
}

}  // namespace qssdk
