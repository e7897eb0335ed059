#include <cstring>

#include "FaultProbe.h"
#include "ErrorPopupCheck.h"
#include "HostFixture.h"
#include "StderrCapture.h"

namespace {

using EntryPoint = HostTest;

TEST_F(EntryPoint, ReportsItsVersion) {
    uint32_t version[4] = {};
    host->module().version(version);
    EXPECT_EQ(version[0], 1u);
    EXPECT_EQ(version[1], 0u);
    EXPECT_EQ(version[2], 2u);
    EXPECT_EQ(version[3], 66u);
}

TEST_F(EntryPoint, CommandsAbove10000ReturnAtOnceAndTouchNothing) {
    PF_InData in{};
    PF_OutData out{};
    std::memset(&in, 0xAB, sizeof in);  // any access through these would crash or change them
    std::memset(&out, 0xCD, sizeof out);
    const PF_InData in_before = in;
    const PF_OutData out_before = out;
    for (PF_Cmd command : {10001, 20000, 0x7FFFFFFF})
        EXPECT_EQ(host->module().call(command, &in, &out, nullptr, nullptr, nullptr), PF_Err_NONE);
    EXPECT_EQ(std::memcmp(&in, &in_before, sizeof in), 0);
    EXPECT_EQ(std::memcmp(&out, &out_before, sizeof out), 0);
}

TEST_F(EntryPoint, GlobalSetupAndSetdownManageTheHandleAndTheObject) {
    ASSERT_EQ(host->handles().liveCount(), 0u);
    ASSERT_EQ(host->send(PF_Cmd_GLOBAL_SETUP), PF_Err_NONE);
    const PF_Handle global = host->globalData();
    ASSERT_NE(global, nullptr);
    EXPECT_EQ(host->lastInData().global_data, global);
    EXPECT_EQ(host->handles().size(global), 8u);
    EXPECT_NE(*static_cast<void**>(*global), nullptr) << "the block holds the effect object";
    EXPECT_EQ(host->handles().liveCount(), 1u);

    EXPECT_EQ(host->lastOutData().my_version, 0x00080042u);
    EXPECT_EQ(host->lastOutData().out_flags, 0x06008000);
    EXPECT_EQ(host->lastOutData().out_flags2, 0x0000140E);
    EXPECT_EQ(host->registeredName(), "QS Pellux");

    ASSERT_EQ(host->send(PF_Cmd_GLOBAL_SETDOWN), PF_Err_NONE);
    EXPECT_FALSE(host->handles().isLive(global));
    EXPECT_EQ(host->handles().liveCount(), 0u);
    EXPECT_EQ(host->lastInData().global_data, nullptr);
    EXPECT_EQ(host->lastOutData().global_data, nullptr);
}

TEST_F(EntryPoint, GlobalSetupWritesTheBannerWithoutANewline) {
    std::string banner;
    {
        hostsim::StderrCapture capture;
        ASSERT_EQ(host->send(PF_Cmd_GLOBAL_SETUP), PF_Err_NONE);
        ASSERT_EQ(host->send(PF_Cmd_GLOBAL_SETDOWN), PF_Err_NONE);
        ASSERT_EQ(host->send(PF_Cmd_GLOBAL_SETUP), PF_Err_NONE);
        banner = capture.finish();
    }
    EXPECT_EQ(banner, "## QS Pellux 1.0.2 (66)## QS Pellux 1.0.2 (66)");
}

TEST_F(EntryPoint, ParamsSetupCountsTheInputLayer) {
    ASSERT_EQ(host->send(PF_Cmd_GLOBAL_SETUP), PF_Err_NONE);
    ASSERT_EQ(host->send(PF_Cmd_PARAMS_SETUP), PF_Err_NONE);
    EXPECT_GE(host->lastOutData().num_params, 1);
}

TEST_F(EntryPoint, EverySuiteAcquiredIsReleasedOnceWithItsVersion) {
    ASSERT_EQ(host->send(PF_Cmd_GLOBAL_SETUP), PF_Err_NONE);
    const auto usage = host->suites().usage();
    ASSERT_FALSE(usage.empty());
    for (const auto& [key, counts] : usage) {
        EXPECT_EQ(counts.acquired, 1) << key.first << " " << key.second;
        EXPECT_EQ(counts.released, 1) << key.first << " " << key.second;
    }
    EXPECT_EQ(usage.count({"AEGP Utility Suite", 10}), 1u);
    EXPECT_EQ(usage.count({"PF AE App Suite", 6}), 1u);
}

TEST_F(EntryPoint, AnExceptionOfAForeignTypeReturns512AndIsReported) {
    host->suites().beforeAcquire = [](const std::string&, A_long) { throw 42; };
    EXPECT_EQ(host->send(PF_Cmd_GLOBAL_SETUP), PF_Err_INTERNAL_STRUCT_DAMAGED);
    host->suites().beforeAcquire = nullptr;
    const auto windows = host->dialogs().seen();
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_TRUE(isErrorPopupShowing(*host, windows[0], "QS Pellux has encountered an unrecoverable error."));
    // The object stays in its handle until set-down, as after any failed set-up.
    EXPECT_NE(host->globalData(), nullptr);
}

TEST_F(EntryPoint, AStandardExceptionIsReportedWithItsText) {
    host->suites().beforeAcquire = [](const std::string&, A_long) { throw std::runtime_error("host went away"); };
    EXPECT_EQ(host->send(PF_Cmd_GLOBAL_SETUP), PF_Err_INTERNAL_STRUCT_DAMAGED);
    host->suites().beforeAcquire = nullptr;
    const auto windows = host->dialogs().seen();
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_TRUE(isErrorPopupShowing(*host, windows[0], "host went away"));
}

TEST_F(EntryPoint, CommandsWithoutAnOperationChangeNothing) {
    ASSERT_EQ(host->send(PF_Cmd_GLOBAL_SETUP), PF_Err_NONE);
    const size_t handles = host->handles().liveCount();
    for (PF_Cmd command : {2, 10, 11, 12, 16, 18, 19, 20, 21, 25, 10000}) {
        EXPECT_EQ(host->send(command), PF_Err_NONE) << command;
        EXPECT_EQ(host->lastOutData().num_params, 0) << command;
        EXPECT_EQ(host->lastOutData().sequence_data, nullptr) << command;
    }
    EXPECT_EQ(host->handles().liveCount(), handles);
    EXPECT_TRUE(host->dialogs().seen().empty());
}

TEST_F(EntryPoint, GlobalSetupLeavesTheHostsOwnFaultsToTheHost) {
    ASSERT_EQ(host->send(PF_Cmd_GLOBAL_SETUP), PF_Err_NONE);
    // This thread now has the plug-in's translator, which acts only for faults the plug-in's own frames
    // would see first: a fault in the host's code, or one the system guards itself, stays theirs.
    PassedThrough passed;
    int value = 0;
    EXPECT_NO_THROW(value = qs_test_read_int(unmappedAddress()));
    EXPECT_EQ(value, -1);
    EXPECT_EQ(passed.codes(), std::vector<DWORD>{EXCEPTION_ACCESS_VIOLATION});
    EXPECT_TRUE(IsBadReadPtr(const_cast<const int*>(unmappedAddress()), sizeof(int)));
}

}  // namespace
