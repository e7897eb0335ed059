// The effect object: the one instance per loaded plug-in that the host's global-data handle holds.
#pragma once

#include "AePlugin.h"

class AePluginConnection final : public AePlugin {
public:
    AePluginConnection() = default;
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
};
