#include "ShellRecorder.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "SimulatedHost.h"
#include "utf.h"

namespace hostsim {

namespace {

std::atomic<bool> printing{false};

std::string text(const wchar_t* value) { return value ? qssdk::utf16_to_utf8(value) : std::string(); }

// What the shell answers for a request it carried out: a value above 32.
HINSTANCE WINAPI recordShellExecute(HWND, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                                    const wchar_t*, int show) {
    SimulatedHost::current().shell().record({text(verb), text(file), text(parameters), show});
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
}

// Points the module's import slot of dll!function at `replacement`; nothing when it has no such import.
void redirectImport(HMODULE module, const char* dll, const char* function, void* replacement) {
    auto* base = reinterpret_cast<BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!imports.VirtualAddress) return;
    for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); entry->Name;
         ++entry) {
        if (_stricmp(reinterpret_cast<const char*>(base + entry->Name), dll) != 0) continue;
        const DWORD nameTable = entry->OriginalFirstThunk ? entry->OriginalFirstThunk : entry->FirstThunk;
        const auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + nameTable);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0) continue;
            DWORD previous = 0;
            if (!VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &previous))
                throw std::runtime_error(std::string("cannot redirect the effect's import of ") + function);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, previous, &previous);
            return;
        }
    }
}

}  // namespace

void ShellRecorder::intercept(HMODULE module) {
    redirectImport(module, "shell32.dll", "ShellExecuteW", reinterpret_cast<void*>(&recordShellExecute));
}

std::vector<shell_request> ShellRecorder::requests() const {
    std::lock_guard guard(mutex_);
    return requests_;
}

void ShellRecorder::clear() {
    std::lock_guard guard(mutex_);
    requests_.clear();
}

void ShellRecorder::record(shell_request request) {
    std::lock_guard guard(mutex_);
    if (printing) {
        std::printf("pellux-host: the effect asked the shell to open %s (nothing is opened here)\n",
                    request.target.c_str());
        std::fflush(stdout);
    }
    requests_.push_back(std::move(request));
}

void ShellRecorder::setPrinting(bool on) { printing = on; }

}  // namespace hostsim
