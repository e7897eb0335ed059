// The plug-in's exports: the host's entry point and the version query.
#include <cstdint>

#include "AePluginConnection.h"
#include "CrashDumpTranslator.h"
#include "ErrorReport.h"
#include "ProductInfo.h"

namespace {

AePlugin*& effectObject(PF_Handle global_data) { return *static_cast<AePlugin**>(*global_data); }

const AePlugin* effectOf(const PF_InData* in_data) {
    return in_data && in_data->global_data ? effectObject(in_data->global_data) : nullptr;
}

// Where a report may show a popup: the host's answer at set-up and its user-interface thread; not a
// render engine, and no thread known, while there is no effect object.
report_place reportPlace(const PF_InData* in_data) {
    const AePlugin* plugin = effectOf(in_data);
    return plugin ? report_place{plugin->isRenderEngine(), plugin->setUpThread()} : report_place{};
}

// The host enters the effect on several threads (render commands on its render threads, interface
// commands on its interface thread): each turns the crash-dump translator on the first time it comes in.
void translateFaultsOnThisThread() {
    thread_local bool translating = false;
    if (translating) return;
    installCrashDumpTranslator();
    translating = true;
}

}  // namespace

extern "C" __declspec(dllexport) PF_Err PluginMain(PF_Cmd command, PF_InData* in_data, PF_OutData* out_data,
                                                   PF_ParamDef* params[], PF_LayerDef* /*output*/, void* extra) {
    if (command > 10000) return PF_Err_NONE;
    translateFaultsOnThisThread();
    try {
        if (command == PF_Cmd_GLOBAL_SETUP) {
            // A host short of memory gives no handle: the effect is not set up, and the host hears why.
            PF_Handle handle = in_data->utils->host_new_handle(sizeof(AePlugin*));
            if (!handle) return PF_Err_OUT_OF_MEMORY;
            in_data->global_data = out_data->global_data = handle;
            effectObject(handle) = nullptr;
            effectObject(handle) = new AePluginConnection();
        }
        if (!in_data->global_data || !effectObject(in_data->global_data)) return PF_Err_NONE;

        AePlugin* plugin = effectObject(in_data->global_data);
        const PF_Err result = plugin->dispatchCommand(command, in_data, out_data, params, extra);

        if (command == PF_Cmd_GLOBAL_SETDOWN) {
            delete plugin;
            in_data->utils->host_dispose_handle(in_data->global_data);
            out_data->global_data = in_data->global_data = nullptr;
        }
        return result;
    } catch (const std::exception& error) {
        reportException(&error, in_data, reportPlace(in_data));
    } catch (...) {
        reportException(nullptr, in_data, reportPlace(in_data));
    }
    return PF_Err_INTERNAL_STRUCT_DAMAGED;
}

extern "C" __declspec(dllexport) uint32_t* GetPluginVersion(uint32_t* out) {
    out[0] = product::versionMajor;
    out[1] = product::versionMinor;
    out[2] = product::versionFix;
    out[3] = product::buildNumber;
    return out;
}
