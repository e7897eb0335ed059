#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "SuiteHandler.h"

namespace {

// A basic suite that logs every call; it refuses the suites named in `refused`.
struct FakeHost {
    std::vector<std::string> log;
    std::set<std::string> refused;
    int table = 0;

    static FakeHost* self;
    static SPErr acquire(const char* name, A_long version, const void** suite) {
        self->log.push_back("acquire " + std::string(name) + " " + std::to_string(version));
        if (self->refused.count(name)) return 1;
        *suite = &self->table;
        return 0;
    }
    static SPErr release(const char* name, A_long version) {
        self->log.push_back("release " + std::string(name) + " " + std::to_string(version));
        return 0;
    }

    SPBasicSuite basic{acquire, release, nullptr, nullptr, nullptr, nullptr, nullptr};
    FakeHost() { self = this; }
};
FakeHost* FakeHost::self = nullptr;

TEST(SuiteHandler, UsingNoSuiteReleasesNothing) {
    FakeHost host;
    { SuiteHandler suites(&host.basic); }
    EXPECT_TRUE(host.log.empty());
}

TEST(SuiteHandler, AcquiresOnFirstUseAndReleasesOnceWithTheSameVersion) {
    FakeHost host;
    {
        SuiteHandler suites(&host.basic);
        EXPECT_NE(suites.get<AEGP_StreamSuite2>(), nullptr);
        EXPECT_NE(suites.get<AEGP_StreamSuite2>(), nullptr);
        EXPECT_NE(suites.get<AEGP_LayerSuite5>(), nullptr);
    }
    // Released in the list's order: Layer Suite 11 stands after Stream Suite 7 there.
    const std::vector<std::string> expected{"acquire AEGP Stream Suite 7", "acquire AEGP Layer Suite 11",
                                            "release AEGP Stream Suite 7", "release AEGP Layer Suite 11"};
    EXPECT_EQ(host.log, expected);
}

TEST(SuiteHandler, ReleasesAlsoWhenTheOperationThrows) {
    FakeHost host;
    try {
        SuiteHandler suites(&host.basic);
        suites.get<PFAppSuite4>();
        throw std::runtime_error("step failed");
    } catch (const std::runtime_error&) {
    }
    const std::vector<std::string> expected{"acquire PF AE App Suite 6", "release PF AE App Suite 6"};
    EXPECT_EQ(host.log, expected);
}

TEST(SuiteHandler, ARefusedSuiteIsNullAndNeverReleased) {
    FakeHost host;
    host.refused = {"AEGP Camera Suite"};
    {
        SuiteHandler suites(&host.basic);
        EXPECT_EQ(suites.get<AEGP_CameraSuite2>(), nullptr);
    }
    const std::vector<std::string> expected{"acquire AEGP Camera Suite 2"};
    EXPECT_EQ(host.log, expected);
}

TEST(SuiteHandler, AnExplicitReleaseIsNotRepeatedAtScopeEnd) {
    FakeHost host;
    {
        SuiteHandler suites(&host.basic);
        suites.get<AEGP_UtilitySuite4>();
        suites.releaseAllSuites();
    }
    const std::vector<std::string> expected{"acquire AEGP Utility Suite 10", "release AEGP Utility Suite 10"};
    EXPECT_EQ(host.log, expected);
}

TEST(SuiteHandler, TheReleaseListIsCompleteAndEndsWithTheSuitesSuite) {
    EXPECT_EQ(suites::releaseList.size(), 125u);
    EXPECT_EQ(suites::releaseList.back().name, "SP Suites Suite");
    EXPECT_EQ(suites::releaseList.back().version, 2);
    std::set<std::pair<std::string_view, A_long>> unique;
    for (const auto& key : suites::releaseList) unique.insert({key.name, key.version});
    EXPECT_EQ(unique.size(), suites::releaseList.size()) << "each pair has one slot";
}

}  // namespace
