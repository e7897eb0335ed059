#include "select_folder.h"

#include <shobjidl.h>

#include "com_ptr.h"
#include "qs_exception.h"

namespace qssdk::ui {

namespace {

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
    com_ptr<IFileOpenDialog> dialog;
    check(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IFileOpenDialog,
                           reinterpret_cast<void**>(dialog.put())),
          "unable to create the folder \"select\" dialog box");

    const char* const setup_failed = "unable to setup the folder \"select\" dialog box";
    FILEOPENDIALOGOPTIONS options = 0;
    check(dialog->GetOptions(&options), setup_failed);
    check(dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM), setup_failed);
    const std::wstring title_text(title);
    check(dialog->SetTitle(title_text.c_str()), setup_failed);

    if (!start_folder.empty()) {
        const std::wstring folder_text(start_folder);
        com_ptr<IShellItem> folder;
        if (SUCCEEDED(SHCreateItemFromParsingName(folder_text.c_str(), nullptr, IID_IShellItem,
                                                  reinterpret_cast<void**>(folder.put()))))
            dialog->SetFolder(folder.get());
    }

    const HRESULT shown = dialog->Show(owner);
    if (shown == HRESULT_FROM_WIN32(ERROR_CANCELLED)) return {};
    check(shown, "unable to display the folder \"select\" dialog box");

    com_ptr<IShellItem> result;
    check(dialog->GetResult(result.put()), "unable to retrieve the selection from the folder \"select\" dialog box");
    shell_text path;
    check(result->GetDisplayName(SIGDN_FILESYSPATH, &path.text),
          "unable to retrieve a result from the folder \"select\" dialog box");
    return path.text ? std::wstring(path.text) : std::wstring();
}

}  // namespace qssdk::ui
