#include "ErrorReport.h"

#include <windows.h>

#include "ProductInfo.h"
#include "format_string.h"
#include "utf.h"

void reportException(const std::exception* error, PF_InData* in_data) {
    HWND owner = nullptr;
    if (in_data && in_data->utils)
        in_data->utils->get_platform_data(in_data->effect_ref, PF_PlatData_MAIN_WND, &owner);
    const std::string title = qssdk::format_string("%s Exception", product::displayName);
    const std::string text =
        error ? std::string(error->what())
              : qssdk::format_string("%s has encountered an unrecoverable error.", product::displayName);
    MessageBoxW(owner, qssdk::utf8_to_utf16(text).c_str(), qssdk::utf8_to_utf16(title).c_str(),
                MB_OK | MB_ICONERROR);
}
