#include "native_drop_target.h"

#include "dropped_files.h"
#include "window.h"

namespace qssdk::ui {

namespace {

struct system_files : file_query {
    path_kind kind_of(const std::wstring& path) const override {
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) return path_kind::missing;
        return attributes & FILE_ATTRIBUTE_DIRECTORY ? path_kind::folder : path_kind::file;
    }
};

class window_receiver : public drop_receiver {
public:
    explicit window_receiver(window& owner) : owner_(owner) {}
    bool accepts_files() const override { return owner_.cursor_widget_has_handler(event_id::files_dropped); }
    void files_dropped(const std::vector<qssdk::file_path>& files) override {
        owner_.dispatch_event({&owner_, static_cast<uint32_t>(event_id::files_dropped), 2, 1,
                               reinterpret_cast<uintptr_t>(&files)});
    }

private:
    window& owner_;
};

// The storage medium of a GetData, released on every path.
struct storage_medium : STGMEDIUM {
    storage_medium() : STGMEDIUM{} {}
    ~storage_medium() { ReleaseStgMedium(this); }
};

}  // namespace

std::vector<std::wstring> read_drop_names(HDROP drop) {
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    std::vector<std::wstring> names;
    names.reserve(count);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring name(length + 1, L'\0');
        const UINT copied = DragQueryFileW(drop, i, name.data(), length + 1);
        name.resize(copied);
        names.push_back(std::move(name));
    }
    return names;
}

native_drop_target::native_drop_target(drop_receiver& receiver) : receiver_(receiver) {}

native_drop_target::native_drop_target(window& owner)
    : own_receiver_(std::make_unique<window_receiver>(owner)), receiver_(*own_receiver_) {}

native_drop_target::~native_drop_target() = default;

HRESULT native_drop_target::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
        *out = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG native_drop_target::AddRef() { return ++references_; }

ULONG native_drop_target::Release() { return --references_; }

DWORD native_drop_target::offered_effect(DWORD allowed) const {
    return (allowed & DROPEFFECT_COPY) && receiver_.accepts_files() ? DROPEFFECT_COPY : DROPEFFECT_NONE;
}

HRESULT native_drop_target::DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    *effect = offered_effect(*effect);
    return S_OK;
}

HRESULT native_drop_target::DragOver(DWORD, POINTL, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    *effect = offered_effect(*effect);
    return S_OK;
}

HRESULT native_drop_target::DragLeave() { return S_OK; }

HRESULT native_drop_target::Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    const DWORD performed = offered_effect(*effect);
    *effect = DROPEFFECT_NONE;
    if (performed == DROPEFFECT_NONE) return S_OK;
    if (!data) return E_INVALIDARG;
    FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    storage_medium medium;
    if (FAILED(data->GetData(&format, &medium))) return E_FAIL;
    const std::vector<qssdk::file_path> files =
        dropped_files(read_drop_names(static_cast<HDROP>(medium.hGlobal)), system_files());
    receiver_.files_dropped(files);
    *effect = performed;
    return S_OK;
}

}  // namespace qssdk::ui
