// The simulated host's side of a frame: the in_data it sends, the SmartFX session it opens, the layers it
// hands out at the render's resolution, the parameter state tokens and parameters that move over time.
#include <cmath>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <vector>

#include "HostFixture.h"
#include "probe/probe_report.h"

namespace {

std::wstring besideProgram(const wchar_t* name) {
    wchar_t self[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self, length);
    return path.substr(0, path.find_last_of(L"\\/") + 1) + name;
}

// A picture whose top-left 2 x 2 block has one red pixel, so a box filter to half size gives red 0.25.
hostsim::Image quarterRedCorner(int width, int height) {
    hostsim::Image image(width, height, hostsim::rgba{0, 0, 0, 1});
    image.at(0, 0) = {1, 0, 0, 1};
    return image;
}

// The probe effect records what the host hands it in a frame; see probe/ProbeEffect.cpp.
class ProbeRender : public HostTest {
protected:
    void SetUp() override {
        host = std::make_unique<hostsim::SimulatedHost>(besideProgram(L"probe_effect.aex"));
        auto reportOf = reinterpret_cast<probe_report* (*)()>(
            reinterpret_cast<void (*)()>(GetProcAddress(host->module().handle(), "ProbeReport")));
        answerPreRender = reinterpret_cast<void (*)(PF_Err)>(
            reinterpret_cast<void (*)()>(GetProcAddress(host->module().handle(), "ProbeAnswerPreRender")));
        ASSERT_TRUE(reportOf && answerPreRender);
        report = reportOf();
        *report = probe_report{};
        answerPreRender(PF_Err_NONE);
        ASSERT_EQ(host->send(PF_Cmd_PARAMS_SETUP), PF_Err_NONE);
        ASSERT_EQ(host->params().count(), 2u);
    }

    probe_report* report = nullptr;
    void (*answerPreRender)(PF_Err) = nullptr;
};

TEST_F(ProbeRender, TheFrameCarriesTheCompsTimesScaleAndSize) {
    hostsim::Comp& comp = host->comp();
    comp.width = 1921;
    comp.height = 1081;
    comp.frameRate = 25;
    comp.duration = 8;
    comp.pixelAspect = A_Ratio{3, 2};
    const hostsim::rendered_frame frame = host->renderFrame({1.2, 16, 2});

    ASSERT_EQ(report->preRenders, 1);
    ASSERT_EQ(report->renders, 1);
    for (const PF_InData* in : {&report->preRenderIn, &report->renderIn}) {
        EXPECT_EQ(in->time_scale, 2500u);
        EXPECT_EQ(in->current_time, 3000);
        EXPECT_EQ(in->time_step, 100);
        EXPECT_EQ(in->local_time_step, 100);
        EXPECT_EQ(in->total_time, 20000);
        EXPECT_EQ(in->downsample_x.num, 1);
        EXPECT_EQ(in->downsample_x.den, 2u);
        EXPECT_EQ(in->downsample_y.num, 1);
        EXPECT_EQ(in->downsample_y.den, 2u);
        EXPECT_EQ(in->pixel_aspect_ratio.num, 3);
        EXPECT_EQ(in->pixel_aspect_ratio.den, 2u);
        EXPECT_EQ(in->width, 961) << "sizes round up at a reduced resolution";
        EXPECT_EQ(in->height, 541);
        EXPECT_EQ(in->effect_ref, host->effectRef());
    }
    EXPECT_EQ(report->preRenderDepth, 16);
    EXPECT_EQ(report->renderDepth, 16);
    EXPECT_EQ(report->outputRequest.rect.right, 961);
    EXPECT_EQ(report->outputRequest.rect.bottom, 541);

    EXPECT_EQ(frame.record.preRenderResult, PF_Err_NONE);
    EXPECT_TRUE(frame.record.renderSent);
    EXPECT_EQ(frame.record.renderResult, PF_Err_NONE);
    ASSERT_NE(frame.output, nullptr);
    EXPECT_EQ(frame.output->def().width, 961);
    EXPECT_EQ(frame.output->def().height, 541);
    EXPECT_EQ(frame.output->bitsPerChannel(), 16);
    EXPECT_EQ(report->output.width, 961);
    EXPECT_EQ(host->lastInData().current_time, 3000) << "the frame's time becomes the host's current time";
    EXPECT_EQ(report->preRenderThread, host->renderThreadId()) << "render commands come from the host's render thread";
    EXPECT_EQ(report->renderThread, host->renderThreadId());
    EXPECT_NE(host->renderThreadId(), GetCurrentThreadId());
    EXPECT_THROW(host->activeSession(), std::logic_error) << "the session ends with the frame";

    host->renderFrame({1.2, 16, {2, 3}});  // a custom resolution: each axis has a factor of its own
    EXPECT_EQ(report->renderIn.downsample_x.den, 2u);
    EXPECT_EQ(report->renderIn.downsample_y.den, 3u);
    EXPECT_EQ(report->renderIn.width, 961);
    EXPECT_EQ(report->renderIn.height, 361);
}

TEST_F(ProbeRender, LayerParametersReachTheEffectAtTheRendersResolution) {
    host->comp().width = 640;
    host->comp().height = 360;
    const hostsim::comp_layer& picture = host->comp().addImage("Picture", quarterRedCorner(101, 50));
    host->setLayerParam(probeMapIndex, picture.id);

    const struct {
        int downsample;
        A_long width, height;
        float red;  // of the map's top-left pixel
    } cases[] = {{1, 101, 50, 1.0f}, {2, 51, 25, 0.25f}};
    for (const auto& c : cases) {
        SCOPED_TRACE("downsample " + std::to_string(c.downsample));
        *report = probe_report{};
        const hostsim::rendered_frame frame = host->renderFrame({0, 8, c.downsample});
        EXPECT_EQ(report->mapParamCheckout, PF_Err_NONE);
        EXPECT_EQ(report->mapParamWidth, c.width);
        EXPECT_EQ(report->mapParamHeight, c.height);
        EXPECT_EQ(report->mapCheckout, PF_Err_NONE);
        EXPECT_EQ(report->map.max_result_rect.right, c.width);
        EXPECT_EQ(report->map.max_result_rect.bottom, c.height);
        EXPECT_EQ(report->mapPixels.err, PF_Err_NONE);
        EXPECT_EQ(report->mapPixels.width, c.width);
        EXPECT_EQ(report->mapPixels.height, c.height);
        EXPECT_NEAR(report->mapPixels.firstPixel[1], c.red, 0.5f / 255);
        EXPECT_FLOAT_EQ(report->mapPixels.firstPixel[0], 1.0f);

        // The input is the effect's own layer: as large as the frame and transparent.
        EXPECT_EQ(report->inputPixels.width, 640 / c.downsample);
        EXPECT_EQ(report->inputPixels.height, 360 / c.downsample);
        EXPECT_EQ(report->inputPixels.firstPixel[0], 0.0f);
        ASSERT_EQ(frame.record.layerCheckouts.size(), 2u);
        EXPECT_EQ(frame.record.layerCheckouts[1].index, probeMapIndex);
        EXPECT_EQ(frame.record.layerCheckouts[1].id, probeMapCheckoutId);
        // The probe checks the parameter out as well: the host renders the layer for that, and once more
        // for the checkout id.
        EXPECT_EQ(frame.record.layerRenders, (std::map<AEGP_LayerIDVal, int>{{picture.id, 2}}));
    }
}

TEST_F(ProbeRender, AnEmptyLayerParameterHasNoPixels) {
    host->renderFrame({});
    EXPECT_EQ(report->mapParamWidth, 0);
    EXPECT_EQ(report->map.max_result_rect.right, 0);
    EXPECT_EQ(report->mapPixels.err, PF_Err_NONE);
    EXPECT_EQ(report->mapPixels.width, 0) << "no world is handed out";
}

TEST_F(ProbeRender, TheHostKeepsWhatTheEffectWroteAndItsRectangles) {
    host->comp().width = 64;
    host->comp().height = 32;
    const hostsim::rendered_frame frame = host->renderFrame({0, 8, 1});
    const hostsim::rgba written = frame.output->pixel(0, 0);
    EXPECT_EQ(written.r, 1.0f);
    EXPECT_EQ(written.a, 1.0f);
    EXPECT_EQ(frame.output->pixel(1, 0).a, 0.0f);
    EXPECT_EQ(frame.record.outputCheckouts, 1);
    EXPECT_EQ(frame.record.resultRect.right, 64) << "the pre-render's result rectangle is the input's";
    EXPECT_EQ(frame.record.maxResultRect.bottom, 32);
}

TEST_F(ProbeRender, AFailedPreRenderIsNotFollowedByARender) {
    answerPreRender(PF_Err_OUT_OF_MEMORY);
    const hostsim::rendered_frame frame = host->renderFrame({});
    EXPECT_EQ(frame.record.preRenderResult, PF_Err_OUT_OF_MEMORY);
    EXPECT_FALSE(frame.record.renderSent);
    EXPECT_EQ(report->renders, 0);
    EXPECT_THROW(host->renderFrame({0, 8, 0}), std::invalid_argument);
}

TEST_F(ProbeRender, ThePreRenderDataReachesTheRenderAndIsGivenBackOnceAfterIt) {
    const struct {
        PF_Err preRender;
        int renders;
    } cases[] = {{PF_Err_NONE, 1}, {PF_Err_OUT_OF_MEMORY, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE("pre-render answers " + std::to_string(c.preRender));
        *report = probe_report{};
        answerPreRender(c.preRender);
        host->renderFrame({});
        EXPECT_EQ(report->renders, c.renders);
        EXPECT_EQ(report->renderPreRenderData, c.renders ? report : nullptr);
        EXPECT_EQ(report->preRenderDataDeletes, 1);
        EXPECT_EQ(report->rendersAtDelete, c.renders);
    }
}

// The session's rules without an effect: each checkout id's pixels are handed out once, and every render
// of a layer's picture is counted.
TEST(FrameSession, EachCheckoutIdsPixelsGoOutOnceAndEveryRenderIsCounted) {
    constexpr AEGP_LayerIDVal planet = 4;
    const auto picture = std::make_shared<const hostsim::Image>(quarterRedCorner(6, 4));
    hostsim::SmartRenderSession session({0, 8, 1}, 16, 8, {1, 1}, [&](PF_ParamIndex index) {
        return index == 1 ? hostsim::layer_source{planet, picture} : hostsim::layer_source{};
    });
    PF_RenderRequest request{};
    request.rect = PF_LRect{0, 0, 1000, 1000};
    PF_CheckoutResult result{};
    ASSERT_EQ(session.checkoutLayer(0, 0, &request, 0, &result), PF_Err_NONE);
    ASSERT_EQ(session.checkoutLayer(1, 502, &request, 0, &result), PF_Err_NONE);
    EXPECT_EQ(result.result_rect.right, 6) << "what the layer has of the request";
    EXPECT_EQ(result.ref_height, 4);
    ASSERT_EQ(session.checkoutLayer(1, 503, &request, 0, &result), PF_Err_NONE);  // the same layer, read twice
    EXPECT_TRUE(session.record().layerRenders.empty()) << "a checkout renders nothing yet";
    session.prepareLayerPixels();
    EXPECT_EQ(session.record().layerRenders, (std::map<AEGP_LayerIDVal, int>{{planet, 2}}));

    PF_EffectWorld* world = nullptr;
    for (A_long id : {0, 502, 503}) {
        SCOPED_TRACE(id);
        ASSERT_EQ(session.checkoutLayerPixels(id, &world), PF_Err_NONE);
        ASSERT_NE(world, nullptr);
        EXPECT_EQ(session.checkoutLayerPixels(id, &world), PF_Err_BAD_CALLBACK_PARAM) << "a second time";
        EXPECT_EQ(world, nullptr);
    }
    EXPECT_EQ(session.record().faults.size(), 3u);
    EXPECT_EQ(session.record().checkoutIds(), (std::vector<A_long>{0, 502, 503}));

    session.layerParamCheckedOut(1);  // a checkout of the layer parameter renders the layer too
    session.layerParamCheckedOut(0);  // the effect's own layer has no picture to render
    EXPECT_EQ(session.record().layerRenders, (std::map<AEGP_LayerIDVal, int>{{planet, 3}}));
}

// The checkout as the host's documentation defines it: the rectangles in the frame's (downsampled) pixels,
// never more than was asked for, empty where nothing was; the reference size the layer's at full
// resolution, whatever the downsampling; the pixel aspect the layer's.
TEST(FrameSession, ACheckoutsRectanglesAreInTheFramesPixelsAndItsReferenceSizeAtFullResolution) {
    hostsim::Image picture(9, 7);  // transparent but for a block at 4,2 to 6,5
    for (int y = 2; y < 5; ++y)
        for (int x = 4; x < 6; ++x) picture.at(x, y) = {1, 1, 1, 1};
    const auto shared = std::make_shared<const hostsim::Image>(picture);
    for (bool sparse : {false, true}) {
        SCOPED_TRACE(sparse ? "trimmed" : "whole");
        hostsim::frame_request frame{0, 8, {2, 3}};
        frame.sparseLayers = sparse;
        hostsim::SmartRenderSession session(frame, 17, 8, {2, 1}, [&](PF_ParamIndex index) {
            return index == 1 ? hostsim::layer_source{4, shared} : hostsim::layer_source{};
        });
        const auto rect = [](A_long l, A_long t, A_long r, A_long b) { return PF_LRect{l, t, r, b}; };
        const auto same = [](const PF_LRect& a, const PF_LRect& b) {
            return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
        };
        const struct {
            const char* name;
            PF_ParamIndex index;
            PF_LRect request, result, maxResult;
            A_long refWidth, refHeight;
        } cases[] = {
            {"the input, all of it", 0, rect(0, 0, 1000, 1000), rect(0, 0, 9, 3), rect(0, 0, 9, 3), 17, 8},
            {"the input, a part", 0, rect(2, 1, 5, 9), rect(2, 1, 5, 3), rect(0, 0, 9, 3), 17, 8},
            {"the input, outside", 0, rect(20, 0, 30, 3), rect(0, 0, 0, 0), rect(0, 0, 9, 3), 17, 8},
            {"a map, all of it", 1, rect(0, 0, 1000, 1000), sparse ? rect(2, 0, 3, 2) : rect(0, 0, 5, 3),
             sparse ? rect(2, 0, 3, 2) : rect(0, 0, 5, 3), 9, 7},
            {"no layer", 2, rect(0, 0, 1000, 1000), rect(0, 0, 0, 0), rect(0, 0, 0, 0), 0, 0},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name);
            PF_RenderRequest request{};
            request.rect = c.request;
            PF_CheckoutResult result{};
            ASSERT_EQ(session.checkoutLayer(c.index, 10 + c.index, &request, 0, &result), PF_Err_NONE);
            EXPECT_TRUE(same(result.result_rect, c.result))
                << result.result_rect.left << "," << result.result_rect.top << "-" << result.result_rect.right << ","
                << result.result_rect.bottom;
            EXPECT_TRUE(same(result.max_result_rect, c.maxResult))
                << result.max_result_rect.left << "," << result.max_result_rect.top << "-"
                << result.max_result_rect.right << "," << result.max_result_rect.bottom;
            EXPECT_EQ(result.ref_width, c.refWidth);
            EXPECT_EQ(result.ref_height, c.refHeight);
            EXPECT_EQ(result.par.num, 2);
            EXPECT_EQ(result.par.den, 1u);
            EXPECT_EQ(session.record().layerCheckouts.back().refWidth, c.refWidth) << "recorded for the report";
        }
        PF_EffectWorld* output = nullptr;
        ASSERT_EQ(session.checkoutOutput(&output), PF_Err_NONE);
        EXPECT_EQ(output->width, 9);
        EXPECT_EQ(output->height, 3);
        EXPECT_EQ(output->origin_x, 0);
        EXPECT_EQ(output->origin_y, 0);
        const PF_LRect& asked = session.preRenderExtra().input->output_request.rect;
        EXPECT_TRUE(same(asked, rect(0, 0, 9, 3))) << "the whole frame asked of the effect";
    }
}

// Parameter state tokens and moving values, with the real effect's parameters.
class HostParams : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        ASSERT_EQ(host->send(PF_Cmd_GLOBAL_SETUP), PF_Err_NONE);
        ASSERT_EQ(host->send(PF_Cmd_PARAMS_SETUP), PF_Err_NONE);
        const void* table = nullptr;
        ASSERT_EQ(host->suites().acquire(kPFParamUtilsSuite, kPFParamUtilsSuiteVersion3, &table), 0);
        utils = static_cast<const PF_ParamUtilsSuite3*>(table);
    }
    void TearDown() override {
        host->suites().release(kPFParamUtilsSuite, kPFParamUtilsSuiteVersion3);
        HostTest::TearDown();
    }

    PF_State state(const char* name, double seconds = 0) {
        const A_u_long scale = host->comp().timeScale();
        const A_Time start{static_cast<A_long>(std::lround(seconds * scale)), scale}, duration{0, scale};
        PF_State token{};
        EXPECT_EQ(utils->PF_GetCurrentState(host->effectRef(), host->params().indexOf(name), &start, &duration, &token),
                  PF_Err_NONE);
        return token;
    }
    bool same(const PF_State& a, const PF_State& b) {
        A_Boolean answer = 2;
        EXPECT_EQ(utils->PF_AreStatesIdentical(host->effectRef(), &a, &b, &answer), PF_Err_NONE);
        return answer == 1;
    }

    const PF_ParamUtilsSuite3* utils = nullptr;
};

TEST_F(HostParams, AStateChangesWithTheValueOrTheLayersContent) {
    hostsim::comp_layer& planet = host->comp().addImage("Planet", hostsim::Image(8, 4));
    const hostsim::comp_layer& moon = host->comp().addImage("Moon", hostsim::Image(8, 4));
    host->setLayerParam("Diffuse Layer", planet.id);

    PF_State before = state("Diffuse Layer");
    EXPECT_TRUE(same(before, state("Diffuse Layer")));
    EXPECT_FALSE(same(before, state("Glossiness Layer")));
    host->setLayerParam("Diffuse Layer", planet.id);
    EXPECT_TRUE(same(before, state("Diffuse Layer"))) << "choosing the same layer again changes nothing";

    const std::function<void()> changes[] = {
        [&] { ++planet.revision; },
        [&] { host->setLayerParam("Diffuse Layer", moon.id); },
        [&] { host->setLayerParam("Diffuse Layer", 0); },
    };
    for (const auto& change : changes) {
        change();
        const PF_State after = state("Diffuse Layer");
        EXPECT_FALSE(same(before, after));
        before = after;
    }

    const PF_State radius = state("Radius");
    host->params().setFloat("Radius", 200);  // its default
    EXPECT_TRUE(same(radius, state("Radius")));
    host->params().setFloat("Radius", 250);
    EXPECT_FALSE(same(radius, state("Radius")));

    const PF_State still = state("Rotation Y", 1);
    host->params().setRate("Rotation Y", 30);
    EXPECT_FALSE(same(still, state("Rotation Y", 1)));
    EXPECT_FALSE(same(state("Rotation Y", 1), state("Rotation Y", 2))) << "a moving value differs at other times";
    EXPECT_TRUE(same(state("Rotation Y", 2), state("Rotation Y", 2)));

    PF_State token{};
    const A_Time zero{0, 3000};
    EXPECT_EQ(utils->PF_GetCurrentState(host->effectRef(), 80, &zero, &zero, &token), PF_Err_INVALID_INDEX);
    EXPECT_EQ(utils->PF_GetCurrentState(host->effectRef(), 1, &zero, &zero, nullptr), PF_Err_BAD_CALLBACK_PARAM);
}

TEST_F(HostParams, MovingFloatsAndAnglesChangeWithCompTime) {
    hostsim::ParamStore& params = host->params();
    const A_u_long scale = host->comp().timeScale();
    auto checkout = [&](const char* name, PF_ParamType type, double seconds) {
        PF_ParamDef def{};
        EXPECT_EQ(params.checkout(params.indexOf(name, type), static_cast<A_long>(seconds * scale), 100, scale,
                                  host->effectLayer(), &def),
                  PF_Err_NONE);
        params.checkin(&def);
        return def;
    };
    params.setAngle("Rotation Y", 10);
    params.setRate("Rotation Y", 90);
    EXPECT_EQ(checkout("Rotation Y", PF_Param_ANGLE, 0).u.ad.value, 10 * hostsim::fixedOne);
    EXPECT_EQ(checkout("Rotation Y", PF_Param_ANGLE, 1.5).u.ad.value, 145 * hostsim::fixedOne);

    params.setRate("Radius", -100);
    EXPECT_DOUBLE_EQ(checkout("Radius", PF_Param_FLOAT_SLIDER, 1).u.fs_d.value, 100);
    EXPECT_DOUBLE_EQ(checkout("Radius", PF_Param_FLOAT_SLIDER, 3).u.fs_d.value, 0) << "held at the valid minimum";
    AEGP_StreamVal value{};
    ASSERT_EQ(params.streamValue(params.indexOf("Radius", PF_Param_FLOAT_SLIDER), host->effectLayer(), &value, 0.5), 0);
    EXPECT_DOUBLE_EQ(value.one_d, 150);

    EXPECT_THROW(params.setRate("Surface", 1), std::invalid_argument);
}

TEST_F(HostParams, PointsAndLayerSizesFollowTheDownsampleFactor) {
    hostsim::ParamStore& params = host->params();
    host->comp().width = 1000;
    host->comp().height = 500;
    auto checkout = [&](const char* name, PF_ParamType type, hostsim::downsample_factors downsample) {
        PF_ParamDef def{};
        EXPECT_EQ(params.checkout(params.indexOf(name, type), 0, 100, 3000, host->effectLayer(), &def, downsample),
                  PF_Err_NONE);
        params.checkin(&def);
        return def;
    };
    const PF_Point3DDef centre = checkout("Position", PF_Param_POINT_3D, 2).u.point3d_d;
    EXPECT_DOUBLE_EQ(centre.x_value, 250);
    EXPECT_DOUBLE_EQ(centre.y_value, 125);
    params.setPoint("Position", 100, 50, 10);
    const PF_Point3DDef set = checkout("Position", PF_Param_POINT_3D, 2).u.point3d_d;
    EXPECT_DOUBLE_EQ(set.x_value, 50);
    EXPECT_DOUBLE_EQ(set.y_value, 25);
    EXPECT_DOUBLE_EQ(set.z_value, 5);
    // Each axis by its own factor; depth with the factor across.
    const PF_Point3DDef apart = checkout("Position", PF_Param_POINT_3D, {2, 4}).u.point3d_d;
    EXPECT_DOUBLE_EQ(apart.x_value, 50);
    EXPECT_DOUBLE_EQ(apart.y_value, 12.5);
    EXPECT_DOUBLE_EQ(apart.z_value, 5);

    const hostsim::comp_layer& picture = host->comp().addImage("Picture", hostsim::Image(301, 100));
    host->setLayerParam("Bump Map Layer", picture.id);
    const PF_LayerDef bump = checkout("Bump Map Layer", PF_Param_LAYER, 3).u.ld;
    EXPECT_EQ(bump.width, 101);
    EXPECT_EQ(bump.height, 34);
    EXPECT_EQ(checkout("Bump Map Layer", PF_Param_LAYER, 1).u.ld.width, 301);
    const PF_LayerDef down = checkout("Bump Map Layer", PF_Param_LAYER, {1, 3}).u.ld;
    EXPECT_EQ(down.width, 301);
    EXPECT_EQ(down.height, 34);
    EXPECT_THROW(host->setLayerParam("Bump Map Layer", 99), std::invalid_argument);
}

}  // namespace
