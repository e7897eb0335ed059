// The error report through the simulated host with the real plug-in: a kit popup on the host's main
// window where someone can answer it (without an owner where the host names no main window), a line for
// the debugger where a modal window would hang the host; the kit's window class goes with the module.
#include <windows.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "DebugOutput.h"
#include "ErrorPopupCheck.h"
#include "ErrorReport.h"
#include "HostFixture.h"
#include "ReferencePictures.h"
#include "utf.h"

namespace {

constexpr char fallbackLine[] = "QS Pellux has encountered an unrecoverable error.";

class ErrorReport : public HostTest {
protected:
    void setUpEffect() {
        ASSERT_EQ(host->send(PF_Cmd_GLOBAL_SETUP), PF_Err_NONE);
        ASSERT_EQ(host->send(PF_Cmd_PARAMS_SETUP), PF_Err_NONE);
    }
    // UPDATE_PARAMS_UI acquires host suites: a host that throws there makes the command fail once the
    // effect is set up.
    PF_Err failingCommand(const std::function<void()>& fail) {
        host->suites().beforeAcquire = [fail](const std::string&, A_long) { fail(); };
        const PF_Err result = host->send(PF_Cmd_UPDATE_PARAMS_UI);
        host->suites().beforeAcquire = nullptr;
        return result;
    }
};

TEST_F(ErrorReport, AnExceptionInACommandShowsAKitPopupOnTheMainWindowAndTheCommandReturns512) {
    setUpEffect();
    struct row {
        const char* kind;
        std::function<void()> fail;
        std::string text;
    };
    const row rows[] = {
        {"std::exception", [] { throw std::runtime_error("the suite went away"); }, "the suite went away"},
        {"another type", [] { throw 42; }, fallbackLine},
    };
    std::vector<hostsim::Image> pictures;
    for (const row& r : rows) {
        host->dialogs().clear();
        EXPECT_EQ(failingCommand(r.fail), PF_Err_INTERNAL_STRUCT_DAMAGED) << r.kind;
        const auto windows = host->dialogs().seen();
        ASSERT_EQ(windows.size(), 1u) << r.kind;
        EXPECT_TRUE(isErrorPopupShowing(*host, windows[0], r.text)) << r.kind;
        EXPECT_EQ(windows[0].width, 500) << r.kind;
        EXPECT_TRUE(IsWindowEnabled(host->mainWindow())) << "the main window takes input again: " << r.kind;
        pictures.push_back(windows[0].pixels);
    }
    // The check by looks tells the two texts apart.
    ASSERT_EQ(pictures[0].height(), pictures[1].height());
    EXPECT_GT(reference_pictures::compare(pictures[0], pictures[1]).max, 0.5f);
}

TEST_F(ErrorReport, WhereAModalWindowWouldHangTheHostTheReportGoesToTheDebugger) {
    hostsim::DebugOutput debugger;
    struct row {
        const char* where;
        bool renderEngine;
        bool otherThread;
        bool noMainWindow;
    };
    const row rows[] = {{"a render engine", true, false, false},
                        {"a thread without the main window", false, true, false},
                        {"a render engine that names no main window", true, false, true},
                        {"another thread than the host's, which names no main window", false, true, true}};
    for (const row& r : rows) {
        if (host->isSetUp()) {
            ASSERT_EQ(host->send(PF_Cmd_GLOBAL_SETDOWN), PF_Err_NONE);
        }
        host.reset();
        host = std::make_unique<hostsim::SimulatedHost>();
        host->renderEngine = r.renderEngine;
        host->noMainWindow = r.noMainWindow;
        setUpEffect();
        debugger.clear();
        const auto fail = [] { throw std::runtime_error("the suite went away"); };
        PF_Err result = PF_Err_NONE;
        if (r.otherThread)
            std::thread([&] { result = failingCommand(fail); }).join();
        else
            result = failingCommand(fail);
        EXPECT_EQ(result, PF_Err_INTERNAL_STRUCT_DAMAGED) << r.where;
        EXPECT_TRUE(host->dialogs().seen().empty()) << "no window in " << r.where;
        const auto lines = debugger.lines();
        EXPECT_NE(std::find(lines.begin(), lines.end(), "QS Pellux Exception: the suite went away"), lines.end())
            << r.where;
        EXPECT_TRUE(IsWindowEnabled(host->mainWindow())) << r.where;
    }
}

// A host whose main-window lookup gives none: on the thread the host set the effect up on, outside a
// render engine, the popup shows without an owner; the debugger has the report too.
TEST_F(ErrorReport, WithoutAMainWindowThePopupShowsUnownedOnTheHostsThread) {
    hostsim::DebugOutput debugger;
    host->noMainWindow = true;
    setUpEffect();
    host->dialogs().clear();
    EXPECT_EQ(failingCommand([] { throw std::runtime_error("no window to hang it on"); }),
              PF_Err_INTERNAL_STRUCT_DAMAGED);
    const auto windows = host->dialogs().seen();
    ASSERT_EQ(windows.size(), 1u) << "the popup shows";
    EXPECT_EQ(windows[0].owner, nullptr);
    EXPECT_TRUE(isErrorPopupShowing(*host, windows[0], "no window to hang it on"));
    const auto lines = debugger.lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "QS Pellux Exception: no window to hang it on"), lines.end());
    EXPECT_TRUE(IsWindowEnabled(host->mainWindow()));
}

// The kit registers its window class for the host's program with the effect's window procedure; the
// class goes when the effect is unloaded, so the effect loaded again registers a working class under the
// same name.
TEST(ErrorReportModule, TheKitClassGoesWithTheModuleAndTheEffectLoadedAgainShowsItsPopup) {
    std::string firstClass;
    for (int load = 0; load < 2; ++load) {
        std::string className;
        {
            hostsim::SimulatedHost host;
            host.suites().beforeAcquire = [](const std::string&, A_long) { throw std::runtime_error("loaded"); };
            EXPECT_EQ(host.send(PF_Cmd_GLOBAL_SETUP), PF_Err_INTERNAL_STRUCT_DAMAGED);
            host.suites().beforeAcquire = nullptr;
            const auto windows = host.dialogs().seen();
            ASSERT_EQ(windows.size(), 1u) << load;
            EXPECT_TRUE(isErrorPopupShowing(host, windows[0], "loaded")) << load;
            className = windows[0].className;
        }
        WNDCLASSEXW info{};
        info.cbSize = sizeof info;
        EXPECT_FALSE(GetClassInfoExW(GetModuleHandleW(nullptr), qssdk::utf8_to_utf16(className).c_str(), &info))
            << "still registered after unload " << load << ": " << className;
        if (load == 0)
            firstClass = className;
        else
            EXPECT_EQ(className, firstClass) << "the name was free again";
    }
}

}  // namespace

namespace {

// A host callback that throws while the report asks for the main window: the report still reaches the
// debugger and nothing leaves it (an exception would end this program at the noexcept boundary).
TEST(ErrorReportAlone, AHostCallbackThatThrowsLeavesTheReportToTheDebugger) {
    hostsim::DebugOutput debugger;
    PF_UtilCallbacks utils{};
    utils.get_platform_data = [](PF_ProgPtr, PF_PlatDataID, void*) -> PF_Err {
        throw std::runtime_error("the host failed");
    };
    PF_InData in{};
    in.utils = &utils;
    const std::runtime_error error("the first failure");
    reportException(&error, &in, report_place{});
    const auto lines = debugger.lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "QS Pellux Exception: the first failure"), lines.end());
}

}  // namespace
