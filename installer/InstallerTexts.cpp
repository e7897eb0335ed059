#include "InstallerTexts.h"

#include "InstallStatus.h"
#include "utf.h"

namespace installer {

std::string install_error_message(std::int32_t code) {
    const std::string number = std::to_string(code);
    switch (static_cast<std::uint32_t>(code)) {
    case install_status::resource_not_found:
    case install_status::resource_not_loaded:
        return "Could not load the plugin file from the installer (Error code: " + number +
               ").\n - The installer file may be corrupt.";
    case install_status::file_not_created:
    case install_status::write_failed:
        return "Could not create the plugin file (Error code: " + number +
               ").\n - Make sure that After Effects is closed\n - Make sure you have enough disk space.\n - Make sure "
               "you have administrative privileges.";
    default:
        return "Unkown error (" + number + ").";
    }
}

std::string cancel_question() {
    return "Are you sure you want to cancel " + std::string(product_for_host) + " installation?";
}

std::string failure_question(std::string_view host_name, std::int32_t code) {
    return "The installation of " + std::string(product_for_host) + " " + std::string(host_name) + " failed!\n\n" +
           install_error_message(code) +
           "\n\nPlease contact support if you continue to have trouble.\n\nDo you want to retry?";
}

std::string custom_path_text(std::wstring_view folder) {
    return "\nCustom Plugin Path: " + qssdk::utf16_to_utf8(folder);
}

std::string footer_notice() { return qssdk::utf16_to_utf8(L"\u00A9") + " 2024-2026 Quillstone"; }

}  // namespace installer
