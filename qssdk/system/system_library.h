// A library of the system folder, loaded at run time from that folder only. A program started from a
// downloads folder must never take a library someone placed beside it, in the current folder or on the
// PATH: every library the installer, the kit or the effect loads by name goes through this class.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace qssdk {

class system_library {
public:
    // Loads the file (a bare name such as L"d2d1.dll") from the system folder. `role` names the library
    // in messages. Throws qs_exception "unable to load the <role> <file> (error <code>)".
    system_library(const wchar_t* file, std::string_view role);
    ~system_library();
    system_library(const system_library&) = delete;
    system_library& operator=(const system_library&) = delete;

    // The named entry point as a pointer of type Function. Throws qs_exception "the <role> has no entry
    // point <name>".
    template <class Function>
    Function entry_point(const char* name) const {
        // Through a plain function pointer: the entry point's real type is unrelated to FARPROC's.
        return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address(name)));
    }

private:
    FARPROC address(const char* name) const;

    std::string role_;
    HMODULE module_;
};

}  // namespace qssdk
