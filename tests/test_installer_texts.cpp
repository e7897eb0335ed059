// The installer's texts: messages by status code, and the failure question with the system's own words.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include <windows.h>

#include "InstallStatus.h"
#include "InstallerTexts.h"

namespace {

using namespace installer;
namespace status = installer::install_status;

TEST(InstallerTexts, ErrorMessagesByCode) {
    const std::string load = "\n - The installer file may be corrupt.";
    const std::string create =
        "\n - Make sure that After Effects is closed\n - Make sure you have enough disk space.\n - Make sure you have "
        "administrative privileges.";
    const struct {
        std::int32_t code;
        std::string message;
    } cases[] = {
        {20, "Could not load the plugin file from the installer (Error code: 20)." + load},
        {30, "Could not load the plugin file from the installer (Error code: 30)." + load},
        {40, "Could not create the plugin file (Error code: 40)." + create},
        {50, "Could not create the plugin file (Error code: 50)." + create},
        {41, "Could not create the plugin folder: a file of that name stands where the folder must go (Error code: "
             "41).\n - Move or rename that file, then retry."},
        {60, "Unkown error (60)."},
        {static_cast<std::int32_t>(status::worker_not_started), "Unkown error (10)."},
        {2, "Unkown error (2)."},
        {-20, "Unkown error (-20)."},
    };
    for (const auto& c : cases) EXPECT_EQ(install_error_message(c.code), c.message) << c.code;

    EXPECT_EQ(failure_question({{"CC2015", L"C:\\AE 2015\\Quillstone", 40, 0}}),
              "The installation of QS Pellux for After Effects CC2015 failed!\n\nCC2015: C:\\AE 2015\\Quillstone\n"
              "Could not create the plugin file (Error code: 40)." + create +
                  "\n\nPlease contact support if you continue to have trouble.\n\nDo you want to retry?");
    EXPECT_EQ(cancel_question(), "Are you sure you want to cancel QS Pellux for After Effects installation?");
    EXPECT_EQ(custom_path_text(L"D:\\Caf\u00E9 FX"), "\nCustom Plugin Path: D:\\Caf\xC3\xA9 FX");
    EXPECT_EQ(footer_notice(), "\xC2\xA9 2024-2026 Quillstone");
}

// Every failed target is named with its folder; those that failed alike share their explanation and the
// system's words for the reason, with both codes.
TEST(InstallerTexts, TheFailureQuestionNamesEveryFailedTargetAndWhy) {
    const std::string create_hints =
        "\n - Make sure that After Effects is closed\n - Make sure you have enough disk space.\n - Make sure you have "
        "administrative privileges.";
    const std::string denied = system_error_text(ERROR_ACCESS_DENIED);
    const std::string in_use = system_error_text(ERROR_SHARING_VIOLATION);
    EXPECT_NE(denied, in_use);
    EXPECT_EQ(denied.find("system error"), std::string::npos) << "the system has words for it: " << denied;
    EXPECT_EQ(system_error_text(0x2A5F3B1u), "system error 44430257") << "a code the system does not know";

    const std::string text = failure_question({
        {"CC2017", L"C:\\AE 2017\\Quillstone", 50, ERROR_SHARING_VIOLATION},
        {"2025", L"D:\\Caf\u00E9\\Quillstone", 40, ERROR_ACCESS_DENIED},
        {"CC2018", L"C:\\AE 2018\\Quillstone", 50, ERROR_SHARING_VIOLATION},
        {"Custom", L"E:\\Mine\\Quillstone", 20, 0},
    });
    EXPECT_EQ(text,
              "The installation of QS Pellux for After Effects failed for 4 versions!\n"
              "\nCC2017: C:\\AE 2017\\Quillstone\nCC2018: C:\\AE 2018\\Quillstone"
              "\nCould not create the plugin file (Error code: 50)." + create_hints +
                  "\n - The system said: " + in_use + " (system error 32)\n"
                  "\n2025: D:\\Caf\xC3\xA9\\Quillstone"
                  "\nCould not create the plugin file (Error code: 40)." + create_hints +
                  "\n - The system said: " + denied + " (system error 5)\n"
                  "\nCustom: E:\\Mine\\Quillstone"
                  "\nCould not load the plugin file from the installer (Error code: 20).\n - The installer file may be "
                  "corrupt."
                  "\n\nPlease contact support if you continue to have trouble.\n\nDo you want to retry?");
}

}  // namespace
