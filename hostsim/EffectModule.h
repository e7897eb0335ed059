// A loaded effect module: the library, its PiPL declaration and its two exports.
#pragma once

#include <cstdint>
#include <string>

#include <windows.h>

#include "Pipl.h"
#include "ae_effect.h"

namespace hostsim {

class EffectModule {
public:
    // Loads the module and resolves the entry point the PiPL names; throws std::runtime_error on failure.
    explicit EffectModule(const std::wstring& path);
    ~EffectModule();
    EffectModule(const EffectModule&) = delete;
    EffectModule& operator=(const EffectModule&) = delete;

    PF_Err call(PF_Cmd command, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef** params, PF_LayerDef* output,
                void* extra) const {
        return entry_(command, in_data, out_data, params, output, extra);
    }
    // The four version numbers from GetPluginVersion.
    void version(uint32_t out[4]) const;

    const pipl& declaration() const { return pipl_; }
    HMODULE handle() const { return module_; }
    const std::wstring& path() const { return path_; }

private:
    std::wstring path_;
    HMODULE module_ = nullptr;
    pipl pipl_;
    PF_EntryPointFunc entry_ = nullptr;
    uint32_t* (*version_)(uint32_t*) = nullptr;
};

// QSPellux.aex beside the running program.
std::wstring defaultEffectPath();

}  // namespace hostsim
