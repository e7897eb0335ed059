// The texts the installer's flow shows: the product's names, the result messages by status code and the
// questions of the cancel and failure popups.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace installer {

inline constexpr std::string_view product_name = "QS Pellux";
inline constexpr std::string_view product_for_host = "QS Pellux for After Effects";

inline constexpr std::string_view cancel_title = "Exit Installer";
inline constexpr std::string_view failure_title = "Failed to install";
inline constexpr std::string_view success_intro = "QS Pellux successfully installed.";
inline constexpr std::string_view partial_intro = "Some components of QS Pellux not correctly installed.";
inline constexpr std::string_view success_title = "Mission Success!";

// What went wrong for one status code, with the code in decimal.
std::string install_error_message(std::int32_t code);

// "Are you sure you want to cancel ... installation?"
std::string cancel_question();

// The retry question after a failed run: the failed host's display name and its status code.
std::string failure_question(std::string_view host_name, std::int32_t code);

// The selection page's line under the Custom row once a folder was chosen.
std::string custom_path_text(std::wstring_view folder);

// The maker's notice at the top right of the header.
std::string footer_notice();

}  // namespace installer
