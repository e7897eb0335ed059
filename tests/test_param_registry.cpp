// The effect's parameter registry in this process, against the simulated host's parameter store: the
// id and index tables, the choice texts the host may point at, and the value readers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "AePluginConnection.h"
#include "ParamRegistry.h"
#include "ParamStore.h"

namespace {

class ParamRegistry : public ::testing::Test {
protected:
    static inline hostsim::ParamStore* store = nullptr;
    static inline std::vector<const char*> choicePointers;  // every popup text the effect pointed the host at
    static constexpr hostsim::layer_ref effectLayer{1, 1920, 1080};

    static PF_Err checkout(PF_ProgPtr, PF_ParamIndex index, A_long time, A_long step, A_u_long scale,
                           PF_ParamDef* def) {
        return store->checkout(index, time, step, scale, effectLayer, def);
    }
    static PF_Err checkin(PF_ProgPtr, PF_ParamDef* def) { return store->checkin(def); }
    static PF_Err add(PF_ProgPtr, PF_ParamIndex index, PF_ParamDefPtr def) {
        if (def->param_type == PF_Param_POPUP) choicePointers.push_back(def->u.pd.u.namesptr);
        return store->add(index, def);
    }
    static PF_Err registerUi(PF_ProgPtr, PF_CustomUIInfo* info) { return store->registerUi(info); }
    static A_char* copy(A_char* dst, const A_char* src) { return std::strcpy(dst, src); }

    void SetUp() override {
        store = &params;
        choicePointers.clear();
        paramIndexById.clear();
        paramIdByIndex.clear();
        paramChoiceTexts.clear();
        in.inter.checkout_param = checkout;
        in.inter.checkin_param = checkin;
        in.inter.add_param = add;
        in.inter.register_ui = registerUi;
        utils.ansi.strcpy = copy;
        in.utils = &utils;
        in.current_time = 45;
        in.time_step = 2;
        in.time_scale = 30;
    }
    void TearDown() override {
        EXPECT_TRUE(params.faults().empty()) << params.faults().front();
        store = nullptr;
    }

    // PARAMS_SETUP as the host sends it.
    void paramsSetup() {
        params.beginSetup();
        ASSERT_EQ(plugin.dispatchCommand(PF_Cmd_PARAMS_SETUP, &in, &out, nullptr, nullptr), PF_Err_NONE);
        params.endSetup(out.num_params);
    }

    hostsim::ParamStore params;
    AePluginConnection plugin;
    PF_UtilCallbacks utils{};
    PF_InData in{};
    PF_OutData out{};
    command_context context{&in, &out, nullptr, nullptr, PF_Err_NONE};
};

TEST_F(ParamRegistry, TablesMapEveryIdToItsIndexAndBack) {
    paramsSetup();
    ASSERT_EQ(out.num_params, 80);
    EXPECT_EQ(paramIndexById[1], 1) << "the controls-panel area";
    EXPECT_EQ(paramIndexById[10], 2);
    EXPECT_EQ(paramIndexById[16], 3);
    EXPECT_EQ(paramIndexById[11], 4);
    for (int index = 1; index < 80; ++index) {
        const int id = paramIdByIndex[index];
        EXPECT_EQ(id, params.at(index).def.uu.id) << "index " << index;
        EXPECT_EQ(paramIndexById[id], index) << "id " << id;
    }

    // A second set-up records the same ids at the same indices.
    const auto byId = paramIndexById;
    const auto byIndex = paramIdByIndex;
    paramsSetup();
    EXPECT_EQ(paramIndexById, byId);
    EXPECT_EQ(paramIdByIndex, byIndex);
}

TEST_F(ParamRegistry, ChoiceTextsNeverMoveUnderRepeatedSetups) {
    paramsSetup();
    ASSERT_EQ(choicePointers.size(), 6u);
    const std::string* stored = paramChoiceTexts.data();
    // Enough set-ups that one new copy per popup and set-up would pass the reserved room of 100.
    for (int i = 0; i < 20; ++i) paramsSetup();
    EXPECT_EQ(paramChoiceTexts.data(), stored) << "the texts were moved";
    for (const char* pointer : choicePointers) {
        const bool stillStored = std::any_of(paramChoiceTexts.begin(), paramChoiceTexts.end(),
                                             [&](const std::string& text) { return text.c_str() == pointer; });
        EXPECT_TRUE(stillStored) << "a pointer the host was given no longer points at a stored text";
    }
}

TEST_F(ParamRegistry, ReadersReturnTheHostsValueAtTheCurrentTime) {
    paramsSetup();
    EXPECT_FLOAT_EQ(readFloatParam(context, 16), 200.0f) << "Radius default";
    EXPECT_EQ(readIntParam(context, 2002), 4) << "Multisampling default";
    EXPECT_EQ(readIntParam(context, 2005), 1) << "Use Default Lights default";

    params.setFloat("Radius", 350.25);
    params.setPopup("Multisampling", 2);
    params.setCheckbox("Use Default Lights", false);
    params.clearCheckouts();
    EXPECT_FLOAT_EQ(readFloatParam(context, 16), 350.25f);
    EXPECT_EQ(readIntParam(context, 2002), 2);
    EXPECT_EQ(readIntParam(context, 2005), 0);

    ASSERT_EQ(params.checkouts().size(), 3u);
    const hostsim::checkout_record& last = params.checkouts().back();
    EXPECT_EQ(last.index, paramIndexById[2005]);
    EXPECT_EQ(last.time, 45);
    EXPECT_EQ(last.time_step, 2);
    EXPECT_EQ(last.time_scale, 30u);
    EXPECT_EQ(params.openCheckouts(), 0) << "every checkout is checked in";
}

TEST_F(ParamRegistry, AFailedCheckoutReadsZero) {
    paramsSetup();
    params.setFloat("Radius", 350.25);
    params.refuseCheckout = [](PF_ParamIndex) { return true; };
    EXPECT_EQ(readFloatParam(context, 16), 0.0f);
    EXPECT_EQ(readIntParam(context, 2002), 0);
    params.refuseCheckout = nullptr;

    // Ids never added, inside and past the table, are refused by the host and read 0.
    params.clearCheckouts();
    EXPECT_EQ(readFloatParam(context, 17), 0.0f);
    EXPECT_EQ(readIntParam(context, 100000), 0);
    ASSERT_EQ(params.checkouts().size(), 2u);
    EXPECT_LT(params.checkouts()[0].index, 0);
    EXPECT_LT(params.checkouts()[1].index, 0);
}

TEST_F(ParamRegistry, TheColorAdderTruncatesAndIgnoresAlpha) {
    params.beginSetup();
    addColor(context, 900, "Half", qssdk::ui::color(0.5f, 1.0f, 0.0f, 0.25f));
    params.endSetup(out.num_params + 1);
    for (const PF_Pixel& pixel : {params.at(1).def.u.cd.value, params.at(1).def.u.cd.dephault}) {
        EXPECT_EQ(pixel.alpha, 255);
        EXPECT_EQ(pixel.red, 127);
        EXPECT_EQ(pixel.green, 255);
        EXPECT_EQ(pixel.blue, 0);
    }
    EXPECT_EQ(paramIndexById[900], 1);
}

}  // namespace
