#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AePlugin.h"
#include "ae_smartfx.h"

namespace {

// Records which operation each command reached.
class RecordingPlugin : public AePlugin {
public:
    std::vector<std::string> calls;
    PF_Handle handed_in = nullptr;
    PF_Handle to_return = reinterpret_cast<PF_Handle>(0x1234);
    int params_to_add = 0;

protected:
    void globalSetup(command_context&) override { calls.push_back("globalSetup"); }
    void globalSetdown(command_context&) override { calls.push_back("globalSetdown"); }
    void paramsSetup(command_context& c) override {
        calls.push_back("paramsSetup");
        c.out_data->num_params += params_to_add;
    }
    void updateParamsUi(command_context&) override { calls.push_back("updateParamsUi"); }
    PF_Handle sequenceSetup(command_context&) override {
        calls.push_back("sequenceSetup");
        return to_return;
    }
    void sequenceSetdown(command_context&, PF_Handle h) override {
        calls.push_back("sequenceSetdown");
        handed_in = h;
    }
    PF_Handle sequenceFlatten(command_context&, PF_Handle h) override {
        calls.push_back("sequenceFlatten");
        handed_in = h;
        return to_return;
    }
    PF_Handle sequenceResetup(command_context&, PF_Handle h) override {
        calls.push_back("sequenceResetup");
        handed_in = h;
        return to_return;
    }
    void userChangedParam(command_context&) override { calls.push_back("userChangedParam"); }
    void smartRender(command_context& c) override {
        calls.push_back("smartRender");
        c.err = 77;
    }
    void smartPreRender(command_context&) override { calls.push_back("smartPreRender"); }
    void doDialog(command_context&) override { calls.push_back("doDialog"); }
    void handleEvent(command_context&) override { calls.push_back("handleEvent"); }
    void arbitraryCallback(command_context&) override { calls.push_back("arbitraryCallback"); }
    void completelyGeneral(command_context&) override { calls.push_back("completelyGeneral"); }
};

// The SmartFX records a host hands with commands 23 and 24: a 4 x 2 frame whose checkouts succeed.
struct FakeSmartFx {
    static PF_Err checkoutLayer(PF_ProgPtr, PF_ParamIndex, A_long, const PF_RenderRequest*, A_long, A_long, A_u_long,
                                PF_CheckoutResult* result) {
        *result = PF_CheckoutResult{};
        result->result_rect = result->max_result_rect = PF_LRect{0, 0, 4, 2};
        return PF_Err_NONE;
    }
    static PF_Err checkoutPixels(PF_ProgPtr, A_long, PF_EffectWorld** world) {
        *world = &self->world;
        return PF_Err_NONE;
    }
    static PF_Err checkin(PF_ProgPtr, A_long) { return PF_Err_NONE; }
    static PF_Err checkoutOutput(PF_ProgPtr, PF_EffectWorld** world) {
        *world = &self->world;
        return PF_Err_NONE;
    }

    FakeSmartFx() { self = this; }
    static PF_EffectWorld makeWorld(unsigned char* data, A_long width, A_long height) {
        PF_EffectWorld w{};
        w.data = reinterpret_cast<PF_Pixel*>(data);
        w.rowbytes = 4 * width;
        w.width = width;
        w.height = height;
        w.extent_hint = PF_LRect{0, 0, width, height};
        w.pix_aspect_ratio = PF_RationalScale{1, 1};
        return w;
    }
    static PF_PreRenderCallbacks makePreRenderCallbacks() {
        PF_PreRenderCallbacks callbacks{};
        callbacks.checkout_layer = checkoutLayer;
        return callbacks;
    }
    static PF_SmartRenderInput makeRenderInput() {
        PF_SmartRenderInput input{};
        input.bitdepth = 8;
        return input;
    }
    void* extraFor(PF_Cmd command) {
        if (command == PF_Cmd_SMART_PRE_RENDER) return &preExtra;
        if (command == PF_Cmd_SMART_RENDER) return &renderExtra;
        return nullptr;
    }

    static FakeSmartFx* self;
    unsigned char pixels[4 * 2 * 4] = {};
    PF_EffectWorld world = makeWorld(pixels, 4, 2);
    PF_PreRenderInput preInput{};
    PF_PreRenderOutput preOutput{};
    PF_PreRenderCallbacks preCallbacks = makePreRenderCallbacks();
    PF_PreRenderExtra preExtra{&preInput, &preOutput, &preCallbacks};
    PF_SmartRenderInput renderInput = makeRenderInput();
    PF_SmartRenderCallbacks renderCallbacks{checkoutPixels, checkin, checkoutOutput};
    PF_SmartRenderExtra renderExtra{&renderInput, &renderCallbacks};
};
FakeSmartFx* FakeSmartFx::self = nullptr;

TEST(Dispatch, EachCommandReachesItsOperation) {
    const struct {
        PF_Cmd command;
        const char* operation;  // empty: nothing runs
    } cases[] = {
        {PF_Cmd_UNUSED_0, ""},
        {PF_Cmd_GLOBAL_SETDOWN, "globalSetdown"},
        {PF_Cmd_PARAMS_SETUP, "paramsSetup"},
        {PF_Cmd_SEQUENCE_SETUP, "sequenceSetup"},
        {PF_Cmd_SEQUENCE_RESETUP, "sequenceResetup"},
        {PF_Cmd_SEQUENCE_FLATTEN, "sequenceFlatten"},
        {PF_Cmd_SEQUENCE_SETDOWN, "sequenceSetdown"},
        {PF_Cmd_DO_DIALOG, "doDialog"},
        {PF_Cmd_FRAME_SETUP, ""},
        {PF_Cmd_RENDER, ""},
        {PF_Cmd_FRAME_SETDOWN, ""},
        {PF_Cmd_USER_CHANGED_PARAM, "userChangedParam"},
        {PF_Cmd_UPDATE_PARAMS_UI, "updateParamsUi"},
        {PF_Cmd_EVENT, "handleEvent"},
        {PF_Cmd_GET_EXTERNAL_DEPENDENCIES, ""},
        {PF_Cmd_COMPLETELY_GENERAL, "completelyGeneral"},
        {18, ""},
        {19, ""},
        {20, ""},
        {21, ""},
        {PF_Cmd_ARBITRARY_CALLBACK, "arbitraryCallback"},
        {PF_Cmd_SMART_PRE_RENDER, "smartPreRender"},
        {PF_Cmd_SMART_RENDER, "smartRender"},
        {25, ""},
        {9999, ""},
        {10000, ""},
        {-1, ""},
    };
    for (const auto& c : cases) {
        RecordingPlugin plugin;
        FakeSmartFx smartFx;
        PF_InData in{};
        in.downsample_x = in.downsample_y = in.pixel_aspect_ratio = PF_RationalScale{1, 1};
        PF_OutData out{};
        plugin.dispatchCommand(c.command, &in, &out, nullptr, smartFx.extraFor(c.command));
        const std::vector<std::string> expected =
            *c.operation ? std::vector<std::string>{c.operation} : std::vector<std::string>{};
        EXPECT_EQ(plugin.calls, expected) << "command " << c.command;
    }
}

TEST(Dispatch, ReturnsTheContextError) {
    RecordingPlugin plugin;
    FakeSmartFx smartFx;
    PF_InData in{};
    in.downsample_x = in.downsample_y = in.pixel_aspect_ratio = PF_RationalScale{1, 1};
    PF_OutData out{};
    EXPECT_EQ(plugin.dispatchCommand(PF_Cmd_SMART_RENDER, &in, &out, nullptr, smartFx.extraFor(PF_Cmd_SMART_RENDER)),
              77);
    // A pre-render without its extra record has no request to answer and nothing to read it through.
    EXPECT_EQ(plugin.dispatchCommand(PF_Cmd_SMART_PRE_RENDER, &in, &out, nullptr, nullptr), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(plugin.calls, std::vector<std::string>{"smartRender"}) << "the effect's pre-render is not reached";
}

TEST(Dispatch, ParamsSetupCountsTheInputLayer) {
    RecordingPlugin plugin;
    plugin.params_to_add = 5;
    PF_InData in{};
    PF_OutData out{};
    out.num_params = 42;  // whatever the host left there is reset first
    plugin.dispatchCommand(PF_Cmd_PARAMS_SETUP, &in, &out, nullptr, nullptr);
    EXPECT_EQ(out.num_params, 6);
}

TEST(Dispatch, SequenceCommandsStoreTheHandleInBothRecords) {
    const auto old_handle = reinterpret_cast<PF_Handle>(0x5678);
    for (PF_Cmd command : {PF_Cmd_SEQUENCE_SETUP, PF_Cmd_SEQUENCE_RESETUP, PF_Cmd_SEQUENCE_FLATTEN}) {
        RecordingPlugin plugin;
        PF_InData in{};
        PF_OutData out{};
        in.sequence_data = old_handle;
        plugin.dispatchCommand(command, &in, &out, nullptr, nullptr);
        EXPECT_EQ(in.sequence_data, plugin.to_return) << command;
        EXPECT_EQ(out.sequence_data, plugin.to_return) << command;
        if (command != PF_Cmd_SEQUENCE_SETUP) {
            EXPECT_EQ(plugin.handed_in, old_handle) << command;
        }
    }
    RecordingPlugin plugin;
    PF_InData in{};
    PF_OutData out{};
    in.sequence_data = out.sequence_data = old_handle;
    plugin.dispatchCommand(PF_Cmd_SEQUENCE_SETDOWN, &in, &out, nullptr, nullptr);
    EXPECT_EQ(plugin.handed_in, old_handle);
    EXPECT_EQ(in.sequence_data, nullptr);
    EXPECT_EQ(out.sequence_data, nullptr);
}

}  // namespace
