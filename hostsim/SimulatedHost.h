// The simulated host: loads the real effect module and drives it through the host's interface, as the
// host application would, recording what the effect does.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "AegpHandles.h"
#include "Comp.h"
#include "EffectModule.h"
#include "HostHandles.h"
#include "LayerRef.h"
#include "ModalWatcher.h"
#include "ParamStore.h"
#include "SmartRender.h"
#include "SuiteRegistry.h"
#include "ae_effect.h"
#include "ae_suites.h"

namespace hostsim {

class HostMainWindow {
public:
    HostMainWindow();
    ~HostMainWindow();
    HostMainWindow(const HostMainWindow&) = delete;
    HostMainWindow& operator=(const HostMainWindow&) = delete;
    HWND handle() const { return window_; }

private:
    HWND window_ = nullptr;
};

class SimulatedHost {
public:
    // One host per process at a time: the interface's callbacks carry no host pointer of their own.
    explicit SimulatedHost(const std::wstring& modulePath = defaultEffectPath());
    ~SimulatedHost();
    SimulatedHost(const SimulatedHost&) = delete;
    SimulatedHost& operator=(const SimulatedHost&) = delete;

    static SimulatedHost& current();

    // Sends one command with the host's current state; keeps what the effect hands back.
    PF_Err send(PF_Cmd command, void* extra = nullptr);
    // The records exactly as the effect saw and left them in the last command.
    const PF_InData& lastInData() const { return in_; }
    const PF_OutData& lastOutData() const { return out_; }

    PF_Handle globalData() const { return globalData_; }
    PF_Handle sequenceData() const { return sequenceData_; }
    void setSequenceData(PF_Handle handle) { sequenceData_ = handle; }
    bool isSetUp() const { return setUp_; }

    EffectModule& module() { return *module_; }
    HostHandles& handles() { return handles_; }
    ParamStore& params() { return params_; }
    AegpHandles& aegp() { return aegp_; }
    SuiteRegistry& suites() { return suites_; }
    ModalWatcher& dialogs() { return *watcher_; }
    HWND mainWindow() const { return mainWindow_.handle(); }
    Comp& comp() { return comp_; }
    // The frame being rendered; throws std::logic_error outside a render.
    SmartRenderSession& activeSession();
    AEGP_PluginID registeredPluginId() const { return pluginId_; }
    const std::string& registeredName() const { return registeredName_; }
    bool isRegisteredPlugin(AEGP_PluginID id) const { return pluginId_ != 0 && id == pluginId_; }

    // The effect instance: its reference in every call, the layer it is applied to, the time it renders.
    PF_ProgPtr effectRef() { return reinterpret_cast<PF_ProgPtr>(this); }
    // The effect's own layer: the comp's first layer, as large as the comp.
    layer_ref effectLayer() const { return {comp_.effectLayerId(), comp_.width, comp_.height}; }
    void setEffectLayer(layer_ref layer) {
        comp_.width = layer.width;
        comp_.height = layer.height;
    }
    void setCurrentTime(A_long time) { currentTime_ = time; }

    // Interface callbacks reach the host here.
    PF_Err platformData(PF_PlatDataID which, void* data);
    A_Err registerWithAegp(const A_char* name, AEGP_PluginID* id);

private:
    void prepareInData();

    HostHandles handles_;
    SuiteRegistry suites_;
    Comp comp_;
    ParamStore params_;
    AegpHandles aegp_;
    A_long currentTime_ = 0;
    HostMainWindow mainWindow_;
    std::unique_ptr<ModalWatcher> watcher_;
    std::unique_ptr<EffectModule> module_;

    SPBasicSuite basic_{};
    PF_UtilCallbacks utils_{};
    PF_InData in_{};
    PF_OutData out_{};
    PF_Handle globalData_ = nullptr;
    PF_Handle sequenceData_ = nullptr;
    bool setUp_ = false;
    SmartRenderSession* session_ = nullptr;
    AEGP_PluginID pluginId_ = 0;
    std::string registeredName_;
};

}  // namespace hostsim
