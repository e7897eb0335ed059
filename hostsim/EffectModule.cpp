#include "EffectModule.h"

#include <stdexcept>

#include "ae_pipl.h"
#include "utf.h"

namespace hostsim {

namespace {

// Through void(*)(), the one function type every exported function may be cast from.
template <class Function> Function exported(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace

EffectModule::EffectModule(const std::wstring& path) : path_(path) {
    module_ = LoadLibraryW(path.c_str());
    if (!module_)
        throw std::runtime_error("cannot load the effect module " + qssdk::utf16_to_utf8(path) + " (error " +
                                 std::to_string(GetLastError()) + ")");
    try {
        pipl_ = readPipl(module_);
        if (pipl_.u32("kind").value_or(0) != PiPL_FourCharCode("eFKT"))
            throw std::runtime_error("the module is not an effect");
        const auto entryName = pipl_.cString("8664");
        if (!entryName) throw std::runtime_error("the PiPL names no x64 entry point");
        entry_ = exported<PF_EntryPointFunc>(module_, entryName->c_str());
        version_ = exported<uint32_t* (*)(uint32_t*)>(module_, "GetPluginVersion");
        if (!entry_) throw std::runtime_error("the module does not export " + *entryName);
    } catch (...) {
        FreeLibrary(module_);
        throw;
    }
}

EffectModule::~EffectModule() { FreeLibrary(module_); }

void EffectModule::version(uint32_t out[4]) const {
    if (!version_) throw std::runtime_error("the module does not export GetPluginVersion");
    version_(out);
}

std::wstring defaultEffectPath() {
    wchar_t self[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self, length);
    return path.substr(0, path.find_last_of(L"\\/") + 1) + L"QSPellux.aex";
}

}  // namespace hostsim
