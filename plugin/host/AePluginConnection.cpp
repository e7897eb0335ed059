#include "AePluginConnection.h"

#include <string>

#include "ProductInfo.h"
#include "SceneRenderer.h"
#include "SuiteHandler.h"
#include "qs_exception.h"

AePluginConnection::AePluginConnection() = default;
AePluginConnection::~AePluginConnection() = default;

void AePluginConnection::globalSetup(command_context&) {
    try {
        // Waits until the renderer thread has made its Renderer, so a GL start-up failure surfaces here.
        auto renderer = std::make_unique<SceneRenderer>();
        // To come with the sphere mesh: renderer->sphereModel = renderer->loadSphereModel();
        renderer_ = std::move(renderer);  // a front end of an earlier set-up is destroyed
    } catch (const std::exception& error) {
        throw qs_exception(std::string(product::displayName) + " failed to initialize with error:\n\n" +
                           error.what());
    }
}

void AePluginConnection::globalSetdown(command_context& context) {
    SuiteHandler suites(context.in_data->pica_basicP);
    // Asks the renderer thread to quit and waits until it has ended.
    renderer_.reset();
}

void AePluginConnection::paramsSetup(command_context&) {}

void AePluginConnection::updateParamsUi(command_context&) {}

void AePluginConnection::smartPreRender(command_context&) {}

void AePluginConnection::smartRender(command_context&) {}

void AePluginConnection::handleEvent(command_context&) {}
