#include "AePlugin.h"

#include <iostream>

#include "AboutDialog.h"
#include "EffectFlags.h"
#include "ProductInfo.h"
#include "SmartRender.h"
#include "SuiteHandler.h"

PF_Err AePlugin::dispatchCommand(PF_Cmd command, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef** params,
                                 void* extra) {
    command_context context{in_data, out_data, params, extra, PF_Err_NONE};
    switch (command) {
    case PF_Cmd_ABOUT:
        showAboutDialog(hostMainWindow_);
        break;
    case PF_Cmd_GLOBAL_SETUP:
        commonGlobalSetup(context);
        break;
    case PF_Cmd_GLOBAL_SETDOWN:
        globalSetdown(context);
        break;
    case PF_Cmd_PARAMS_SETUP:
        out_data->num_params = 0;
        paramsSetup(context);
        out_data->num_params += 1;  // the input layer, index 0, counts as a parameter
        break;
    case PF_Cmd_SEQUENCE_SETUP:
        out_data->sequence_data = in_data->sequence_data = sequenceSetup(context);
        break;
    case PF_Cmd_SEQUENCE_RESETUP:
        out_data->sequence_data = in_data->sequence_data = sequenceResetup(context, in_data->sequence_data);
        break;
    case PF_Cmd_SEQUENCE_FLATTEN:
        out_data->sequence_data = in_data->sequence_data = sequenceFlatten(context, in_data->sequence_data);
        break;
    case PF_Cmd_SEQUENCE_SETDOWN:
        sequenceSetdown(context, in_data->sequence_data);
        out_data->sequence_data = in_data->sequence_data = nullptr;
        break;
    case PF_Cmd_DO_DIALOG:
        doDialog(context);
        break;
    case PF_Cmd_USER_CHANGED_PARAM:
        userChangedParam(context);
        break;
    case PF_Cmd_UPDATE_PARAMS_UI:
        updateParamsUi(context);
        break;
    case PF_Cmd_EVENT:
        handleEvent(context);
        break;
    case PF_Cmd_COMPLETELY_GENERAL:
        completelyGeneral(context);
        break;
    case PF_Cmd_ARBITRARY_CALLBACK:
        arbitraryCallback(context);
        break;
    case PF_Cmd_SMART_PRE_RENDER:
        // The request and the checkout callbacks live in the extra record: without it there is nothing
        // to answer, and reading through it would fault.
        if (!extra) {
            context.err = PF_Err_BAD_CALLBACK_PARAM;
            break;
        }
        smartPreRenderGlue(context);
        smartPreRender(context);
        break;
    case PF_Cmd_SMART_RENDER:
        if (smartRenderGlue(context, frame_)) smartRender(context);
        break;
    default:
        break;
    }
    return context.err;
}

void AePlugin::commonGlobalSetup(command_context& context) {
    PF_OutData* out = context.out_data;
    out->my_version = product::hostVersion;
    out->out_flags = product::outFlags;
    out->out_flags2 = product::outFlags2;

    // No newline: the host's console keeps the line open.
    std::cerr << "## " << product::displayName << " " << product::versionMajor << "." << product::versionMinor
              << "." << product::versionFix << " (" << product::buildNumber << ")";

    SuiteHandler suites(context.in_data->pica_basicP);
    if (auto utility = suites.get<AEGP_UtilitySuite4>())
        utility->AEGP_RegisterWithAEGP(nullptr, product::displayName, &pluginId_);

    hostMainWindow_ = nullptr;
    context.in_data->utils->get_platform_data(context.in_data->effect_ref, PF_PlatData_MAIN_WND, &hostMainWindow_);

    if (auto app = suites.get<PFAppSuite4>()) {
        PF_Boolean renderEngine = 0;
        app->PF_IsRenderEngine(&renderEngine);
        isRenderEngine_ = renderEngine != 0;
    }

    globalSetup(context);
}
