// The effect object: the one instance per loaded plug-in that the host's global-data handle holds.
#pragma once

#include <memory>

#include "AePlugin.h"
#include "ControlPanelBanner.h"

class RendererThread;
class SceneRenderer;

class AePluginConnection final : public AePlugin {
public:
    AePluginConnection();
    ~AePluginConnection() override;

protected:
    void globalSetup(command_context& context) override;
    void globalSetdown(command_context& context) override;
    void paramsSetup(command_context& context) override;
    void updateParamsUi(command_context& context) override;
    PF_Handle sequenceSetup(command_context& context) override;
    void sequenceSetdown(command_context& context, PF_Handle handle) override;
    PF_Handle sequenceFlatten(command_context& context, PF_Handle handle) override;
    PF_Handle sequenceResetup(command_context& context, PF_Handle handle) override;
    void userChangedParam(command_context&) override {}
    void smartRender(command_context& context) override;
    void smartPreRender(command_context& context) override;
    void doDialog(command_context&) override {}
    void handleEvent(command_context& context) override;
    void arbitraryCallback(command_context&) override {}

private:
    // The renderer thread, or null when global set-up could not start it.
    RendererThread* rendererThread() const;
    // The clear, draw and composite of one motion-blur sample.
    void drawSampleJobs();

    float compositeCounter_ = 0;  // smart render's running sample count; 1 / it weights the next sample
    std::unique_ptr<SceneRenderer> renderer_;  // from global set-up to set-down
    ControlPanelBanner banner_;
};
