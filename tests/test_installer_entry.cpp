#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "EntryPoint.h"
#include "qs_exception.h"

namespace {

struct Launch {
    UINT size;
    ULONG mask;
    HWND window;
    std::wstring verb, file, parameters;
    const wchar_t* directory;
    int show;
};

struct Outcome {
    int exit_code;
    bool window_ran;
    std::optional<Launch> launch;
};

// Another copy of the installer, as the entry point sees it.
struct OtherCopy {
    bool running = false;
    int brought_forward = 0;
    installer::SingleCopy seam() {
        return {[this] { return !running; }, [this] { return running; }, [this] { ++brought_forward; }};
    }
};

Outcome start(const wchar_t* command_line, bool launch_accepted = true, OtherCopy* other = nullptr) {
    Outcome outcome{-1, false, std::nullopt};
    OtherCopy none;
    outcome.exit_code = installer::run_entry(
        command_line, [&] { outcome.window_ran = true; },
        [&](SHELLEXECUTEINFOW& request) {
            EXPECT_FALSE(outcome.launch) << "one request only";
            outcome.launch = Launch{request.cbSize,   request.fMask,        request.hwnd,      request.lpVerb,
                                    request.lpFile,   request.lpParameters, request.lpDirectory, request.nShow};
            return launch_accepted;
        },
        installer::show_error, (other ? other : &none)->seam());
    return outcome;
}

TEST(InstallerEntry, TheMarkedCopyRunsTheWindowAndAnyOtherRelaunches) {
    const struct {
        const wchar_t* command_line;
        bool marked;
    } cases[] = {
        {L"", false},           {L"/UAC", true},   {L"--log /UAC", true}, {L"x/UACy", true},
        {L"/uac", false},       {L"/ UAC", false}, {L"UAC", false},       {L"\"C:\\a b\\/UAC\"", true},
    };
    for (const auto& c : cases) {
        const Outcome outcome = start(c.command_line);
        EXPECT_EQ(outcome.exit_code, 0) << c.command_line;
        EXPECT_EQ(outcome.window_ran, c.marked) << c.command_line;
        EXPECT_EQ(outcome.launch.has_value(), !c.marked) << c.command_line;
    }
}

TEST(InstallerEntry, TheRelaunchAsksForThisProgramElevatedWithTheMarker) {
    const Outcome outcome = start(L"");
    ASSERT_TRUE(outcome.launch);
    wchar_t own[MAX_PATH];
    GetModuleFileNameW(nullptr, own, MAX_PATH);
    EXPECT_EQ(outcome.launch->size, 112u);
    EXPECT_EQ(outcome.launch->mask, 0u) << "no process handle is asked for: the copy is not waited for";
    EXPECT_EQ(outcome.launch->window, nullptr);
    EXPECT_EQ(outcome.launch->verb, L"runas");
    EXPECT_EQ(outcome.launch->file, own);
    EXPECT_EQ(outcome.launch->parameters, L"/UAC");
    EXPECT_EQ(outcome.launch->directory, nullptr);
    EXPECT_EQ(outcome.launch->show, SW_SHOWDEFAULT);
}

TEST(InstallerEntry, ARefusedLaunchEndsWithExitCode1) {
    const Outcome outcome = start(L"", false);
    EXPECT_EQ(outcome.exit_code, 1);
    EXPECT_FALSE(outcome.window_ran);
}

// While a copy runs, a copy started next, launching or elevated, brings that one forward and ends: no
// elevation is asked for, no window shown.
TEST(InstallerEntry, ACopyStartedWhileOneRunsBringsThatOneForwardAndEnds) {
    for (const wchar_t* command_line : {L"", L"/UAC"}) {
        OtherCopy other{true};
        const Outcome outcome = start(command_line, true, &other);
        EXPECT_EQ(outcome.exit_code, installer::exit_ok) << command_line;
        EXPECT_FALSE(outcome.window_ran) << command_line;
        EXPECT_FALSE(outcome.launch) << command_line;
        EXPECT_EQ(other.brought_forward, 1) << command_line;
    }
    OtherCopy none;
    EXPECT_TRUE(start(L"/UAC", true, &none).window_ran);
    EXPECT_EQ(none.brought_forward, 0);
}

TEST(InstallerEntry, AnErrorOfTheWindowIsShownAndEndsWithItsOwnExitCode) {
    const struct {
        std::function<void()> window;
        std::string message;
    } cases[] = {
        {[] { throw qs_exception("unable to create a d2d render target"); },
         "The installer stopped because of an error:\n\nunable to create a d2d render target"},
        {[] { throw 42; }, "The installer stopped because of an unknown error."},
    };
    for (const auto& c : cases) {
        std::vector<std::string> shown;
        OtherCopy none;
        const int exit_code = installer::run_entry(
            L"/UAC", c.window, [](SHELLEXECUTEINFOW&) { return true; },
            [&](const std::string& message) { shown.push_back(message); }, none.seam());
        EXPECT_EQ(exit_code, installer::exit_window_failed);
        EXPECT_EQ(shown, std::vector<std::string>{c.message});
    }
}

}  // namespace
