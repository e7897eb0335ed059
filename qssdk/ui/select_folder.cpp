#include "select_folder.h"

#include <shobjidl.h>
#include <wrl/client.h>

#include "qs_exception.h"

namespace qssdk::ui {

namespace {

using Microsoft::WRL::ComPtr;

void check(HRESULT result, const char* message) {
    if (FAILED(result)) throw qs_exception(message);
}

// The path the shell hands out in its own memory, freed on every path.
struct shell_text {
    ~shell_text() { CoTaskMemFree(text); }
    PWSTR text = nullptr;
};

}  // namespace

std::wstring select_folder(HWND owner, std::wstring_view title, std::wstring_view start_folder) {
    ComPtr<IFileOpenDialog> dialog;
    check(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&dialog)),
          "unable to create the folder \"select\" dialog box");

    const char* const setup_failed = "unable to setup the folder \"select\" dialog box";
    FILEOPENDIALOGOPTIONS options = 0;
    check(dialog->GetOptions(&options), setup_failed);
    check(dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM), setup_failed);
    const std::wstring title_text(title);
    check(dialog->SetTitle(title_text.c_str()), setup_failed);

    if (!start_folder.empty()) {
        const std::wstring folder_text(start_folder);
        ComPtr<IShellItem> folder;
        if (SUCCEEDED(SHCreateItemFromParsingName(folder_text.c_str(), nullptr, IID_PPV_ARGS(&folder))))
            dialog->SetFolder(folder.Get());
    }

    const HRESULT shown = dialog->Show(owner);
    if (shown == HRESULT_FROM_WIN32(ERROR_CANCELLED)) return {};
    check(shown, "unable to display the folder \"select\" dialog box");

    ComPtr<IShellItem> result;
    check(dialog->GetResult(&result), "unable to retrieve the selection from the folder \"select\" dialog box");
    shell_text path;
    check(result->GetDisplayName(SIGDN_FILESYSPATH, &path.text),
          "unable to retrieve a result from the folder \"select\" dialog box");
    return path.text ? std::wstring(path.text) : std::wstring();
}

}  // namespace qssdk::ui
