// The texts the installer's flow shows: the product's names, the result messages by status code and the
// questions of the cancel and failure popups.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace installer {

inline constexpr std::string_view product_name = "QS Pellux";
inline constexpr std::string_view product_for_host = "QS Pellux for After Effects";

inline constexpr std::string_view cancel_title = "Exit Installer";
inline constexpr std::string_view failure_title = "Failed to install";
inline constexpr std::string_view success_intro = "QS Pellux successfully installed.";
inline constexpr std::string_view partial_intro = "Some components of QS Pellux not correctly installed.";
inline constexpr std::string_view success_title = "Mission Success!";
inline constexpr std::string_view cancelled_some_intro =
    "Installation cancelled. QS Pellux is installed for the versions listed below.";
inline constexpr std::string_view cancelled_none_intro = "Installation cancelled. QS Pellux was not installed.";

// What went wrong for one status code, with the code in decimal.
std::string install_error_message(std::int32_t code);

// "Are you sure you want to cancel ... installation?"
std::string cancel_question();

// The system's own words for one of its error codes ("Access denied." and the like), or "system error N"
// where it has none.
std::string system_error_text(std::uint32_t error);

// One target of a run that was not installed: the host's display name, the folder the plug-in was to go
// to, its status code and the system's error code (0: none given).
struct FailedTarget {
    std::string host_name;
    std::wstring folder;
    std::int32_t code = 0;
    std::uint32_t system_error = 0;
};

// The retry question after a failed run. It names every failed target with its folder; targets that
// failed alike (same code, same system error) share the explanation of their code and the system's
// words. One failure reads "The installation of ... <host> failed!".
std::string failure_question(const std::vector<FailedTarget>& failed);

// The selection page's line under the Custom row once a folder was chosen.
std::string custom_path_text(std::wstring_view folder);

// The maker's notice at the top right of the header.
std::string footer_notice();

}  // namespace installer
