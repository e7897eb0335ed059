// The effect object: the one instance per loaded plug-in that the host's global-data handle holds.
#pragma once

#include <memory>

#include "AePlugin.h"

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
    void userChangedParam(command_context&) override {}
    void smartRender(command_context& context) override;
    void smartPreRender(command_context& context) override;
    void doDialog(command_context&) override {}
    void handleEvent(command_context& context) override;
    void arbitraryCallback(command_context&) override {}

private:
    std::unique_ptr<SceneRenderer> renderer_;  // from global set-up to set-down
};
