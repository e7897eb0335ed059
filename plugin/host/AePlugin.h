// The effect object's interface: one virtual operation per host command, and the dispatcher that
// runs them for PluginMain.
#pragma once

#include <windows.h>

#include "ae_suites.h"
#include "command_context.h"
#include "render_records.h"

class AePlugin {
public:
    virtual ~AePlugin() = default;

    PF_Err dispatchCommand(PF_Cmd command, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef** params,
                           void* extra);

    AEGP_PluginID pluginId() const { return pluginId_; }
    HWND hostMainWindow() const { return hostMainWindow_; }
    bool isRenderEngine() const { return isRenderEngine_; }
    // The thread the host made the effect on (global set-up): the host's own user-interface thread.
    DWORD setUpThread() const { return setUpThread_; }
    // The frame being rendered: filled before every smart render.
    render_data& frame() { return frame_; }
    const render_data& frame() const { return frame_; }

protected:
    virtual void globalSetup(command_context& context) = 0;
    virtual void globalSetdown(command_context& context) = 0;
    virtual void paramsSetup(command_context& context) = 0;
    virtual void updateParamsUi(command_context& context) = 0;
    virtual PF_Handle sequenceSetup(command_context&) { return nullptr; }
    virtual void sequenceSetdown(command_context&, PF_Handle) {}
    virtual PF_Handle sequenceFlatten(command_context&, PF_Handle) { return nullptr; }
    virtual PF_Handle sequenceResetup(command_context&, PF_Handle) { return nullptr; }
    virtual void userChangedParam(command_context& context) = 0;
    virtual void smartRender(command_context& context) = 0;
    virtual void smartPreRender(command_context& context) = 0;
    virtual void doDialog(command_context& context) = 0;
    virtual void handleEvent(command_context& context) = 0;
    virtual void arbitraryCallback(command_context& context) = 0;
    virtual void completelyGeneral(command_context&) {}

private:
    void commonGlobalSetup(command_context& context);

    AEGP_PluginID pluginId_ = 0;
    render_data frame_;
    HWND hostMainWindow_ = nullptr;
    bool isRenderEngine_ = false;  // the host's answer at set-up
    const DWORD setUpThread_ = GetCurrentThreadId();
};
