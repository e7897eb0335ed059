#include "InstallerTexts.h"

#include <windows.h>

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
    case install_status::folder_taken_by_file:
        return "Could not create the plugin folder: a file of that name stands where the folder must go (Error "
               "code: " + number + ").\n - Move or rename that file, then retry.";
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

std::string system_error_text(std::uint32_t error) {
    wchar_t* words = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<wchar_t*>(&words), 0, nullptr);
    std::wstring text = length && words ? std::wstring(words, length) : std::wstring();
    if (words) LocalFree(words);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    if (text.empty()) return "system error " + std::to_string(error);
    return qssdk::utf16_to_utf8(text);
}

std::string failure_question(const std::vector<FailedTarget>& failed) {
    std::string text = "The installation of " + std::string(product_for_host) + " ";
    text += failed.size() == 1 ? failed.front().host_name + " failed!"
                               : "failed for " + std::to_string(failed.size()) + " versions!";
    // Groups in order of their first target.
    std::vector<bool> told(failed.size(), false);
    for (std::size_t i = 0; i < failed.size(); ++i) {
        if (told[i]) continue;
        text += "\n";
        for (std::size_t j = i; j < failed.size(); ++j) {
            if (told[j] || failed[j].code != failed[i].code || failed[j].system_error != failed[i].system_error)
                continue;
            told[j] = true;
            text.append("\n").append(failed[j].host_name).append(": ").append(qssdk::utf16_to_utf8(failed[j].folder));
        }
        text.append("\n").append(install_error_message(failed[i].code));
        if (failed[i].system_error != 0)
            text.append("\n - The system said: ")
                .append(system_error_text(failed[i].system_error))
                .append(" (system error ")
                .append(std::to_string(failed[i].system_error))
                .append(")");
    }
    return text + "\n\nPlease contact support if you continue to have trouble.\n\nDo you want to retry?";
}

std::string custom_path_text(std::wstring_view folder) {
    return "\nCustom Plugin Path: " + qssdk::utf16_to_utf8(folder);
}

std::string footer_notice() { return qssdk::utf16_to_utf8(L"\u00A9") + " 2024-2026 Quillstone"; }

}  // namespace installer
