// The simulated host: loads the real effect module and drives it through the host's interface, as the
// host application would, recording what the effect does.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "AegpHandles.h"
#include "Comp.h"
#include "Drawbot.h"
#include "EffectModule.h"
#include "HostHandles.h"
#include "HostRenderThread.h"
#include "LayerRef.h"
#include "ModalWatcher.h"
#include "ParamStore.h"
#include "ShellRecorder.h"
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

// The commands the host sends with the parameter array (the others get none).
bool carriesParams(PF_Cmd command);

// One rendered frame: what the host recorded and the output world the effect wrote.
struct rendered_frame {
    frame_record record;
    std::unique_ptr<World> output;
};

class SimulatedHost {
public:
    // One host per process at a time: the interface's callbacks carry no host pointer of their own.
    explicit SimulatedHost(const std::wstring& modulePath = defaultEffectPath());
    ~SimulatedHost();
    SimulatedHost(const SimulatedHost&) = delete;
    SimulatedHost& operator=(const SimulatedHost&) = delete;

    static SimulatedHost& current();

    // Sends one command with the host's current state, on the calling thread; keeps what the effect hands
    // back. The commands that carry the parameter array (carriesParams) get it, with the values at the
    // current time.
    PF_Err send(PF_Cmd command, void* extra = nullptr);
    // Renders one frame through SmartFX: SMART_PRE_RENDER, then (when it succeeded) the checked-out layers'
    // pixels and SMART_RENDER, with the in_data of renderInData. Both commands go from the host's render
    // thread; this one waits for them. The current time becomes the frame's.
    rendered_frame renderFrame(const frame_request& request);
    // The thread the render commands come from.
    DWORD renderThreadId() const { return renderThread_->id(); }
    // The in_data the host sends with a frame's render commands: times in the comp's time scale,
    // downsample 1/N, the comp's pixel aspect, the effect layer's size at that resolution.
    PF_InData renderInData(const frame_request& request);
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
    // The custom controls' drawing objects, and what the effect asked the shell to open (nothing is opened).
    Drawbot& drawbot() { return drawbot_; }
    ShellRecorder& shell() { return shell_; }
    HWND mainWindow() const { return mainWindow_.handle(); }
    Comp& comp() { return comp_; }
    // The frame being rendered; throws std::logic_error outside a render.
    SmartRenderSession& activeSession();
    // The downsample factors of the frame being rendered; 1 outside a render.
    downsample_factors renderDownsample() const {
        return session_ ? session_->request().downsample : downsample_factors{};
    }
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
    // The effect's time (its layer's), in the comp's time scale (Comp::timeScale).
    void setCurrentTime(A_long time) { currentTime_ = time; }
    // Chooses a comp layer for a layer parameter, with the size of its picture; 0 chooses none. Throws
    // std::invalid_argument for a layer the comp does not have.
    void setLayerParam(const param_ref& ref, AEGP_LayerIDVal id);
    // The layer behind a layer parameter now, with its picture (null: none); index 0, the effect's own
    // input, has none.
    layer_source layerParamSource(PF_ParamIndex index) const;
    // A parameter was checked out: a layer parameter's layer is rendered for it.
    void paramCheckedOut(PF_ParamIndex index);

    // The host's answer to PF_IsRenderEngine: true plays a render engine, where no one is at the screen.
    bool renderEngine = false;
    // True plays a host whose main-window lookup gives none (a null window, no error).
    bool noMainWindow = false;

    // Handed to every frame's session: refuses the layer pixel checkouts it returns true for.
    std::function<bool(A_long checkoutId)> refuseLayerPixels;
    // Refuses the effect's new handles it returns true for (a null handle), as a host out of memory does.
    std::function<bool(size_t size)> refuseHandles;
    // The host utility's new handle, as the effect asks for one.
    PF_Handle newHandle(size_t size);

    // Interface callbacks reach the host here.
    PF_Err platformData(PF_PlatDataID which, void* data);
    A_Err registerWithAegp(const A_char* name, AEGP_PluginID* id);

private:
    PF_InData inData(A_long time, downsample_factors downsample);
    PF_Err dispatch(PF_Cmd command, void* extra, const PF_InData& in);

    HostHandles handles_;
    SuiteRegistry suites_;
    Comp comp_;
    ParamStore params_;
    AegpHandles aegp_;
    Drawbot drawbot_;
    ShellRecorder shell_;
    A_long currentTime_ = 0;
    HostMainWindow mainWindow_;
    std::unique_ptr<ModalWatcher> watcher_;
    std::unique_ptr<EffectModule> module_;
    std::unique_ptr<HostRenderThread> renderThread_;

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
