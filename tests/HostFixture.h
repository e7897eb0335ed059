// A fresh simulated host with the real plug-in loaded, for one test.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "SimulatedHost.h"

class HostTest : public ::testing::Test {
protected:
    void SetUp() override { host = std::make_unique<hostsim::SimulatedHost>(); }
    void TearDown() override {
        if (host && host->isSetUp()) {
            EXPECT_EQ(host->send(PF_Cmd_GLOBAL_SETDOWN), PF_Err_NONE);
        }
        if (host) {
            EXPECT_TRUE(host->suites().imbalances().empty()) << host->suites().imbalances().front();
            EXPECT_TRUE(host->handles().faults().empty()) << host->handles().faults().front();
            EXPECT_TRUE(host->params().faults().empty()) << host->params().faults().front();
            EXPECT_TRUE(host->aegp().leaks().empty()) << host->aegp().leaks().front();
            EXPECT_TRUE(host->drawbot().leaks().empty()) << host->drawbot().leaks().front();
            EXPECT_TRUE(host->drawbot().faults().empty()) << host->drawbot().faults().front();
        }
        host.reset();
    }

    std::unique_ptr<hostsim::SimulatedHost> host;
};
