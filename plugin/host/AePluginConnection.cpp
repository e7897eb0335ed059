#include "AePluginConnection.h"

#include "SuiteHandler.h"

AePluginConnection::~AePluginConnection() = default;

void AePluginConnection::globalSetup(command_context&) {
    // The renderer front end is started here once the renderer exists.
}

void AePluginConnection::globalSetdown(command_context& context) {
    SuiteHandler suites(context.in_data->pica_basicP);
}

void AePluginConnection::smartPreRender(command_context&) {}

void AePluginConnection::smartRender(command_context&) {}

void AePluginConnection::handleEvent(command_context&) {}
