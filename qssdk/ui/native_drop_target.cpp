#include "native_drop_target.h"

#include "window.h"

namespace qssdk::ui {

HRESULT STDMETHODCALLTYPE native_drop_target::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_FAIL;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IDropTarget)) return E_FAIL;
    AddRef();
    *out = static_cast<IDropTarget*>(this);
    return S_OK;
}

ULONG STDMETHODCALLTYPE native_drop_target::AddRef() { return ++references_; }

ULONG STDMETHODCALLTYPE native_drop_target::Release() { return --references_; }

HRESULT STDMETHODCALLTYPE native_drop_target::DragEnter(IDataObject*, DWORD, POINTL, DWORD*) { return S_OK; }

HRESULT STDMETHODCALLTYPE native_drop_target::DragOver(DWORD, POINTL, DWORD* effect) {
    if (effect)
        *effect = owner_.cursor_widget_has_handler(event_id::files_dropped) ? DROPEFFECT_MOVE : DROPEFFECT_NONE;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE native_drop_target::DragLeave() { return S_OK; }

// Dropped files do not reach the widgets yet: the drop is refused rather than reported as done.
HRESULT STDMETHODCALLTYPE native_drop_target::Drop(IDataObject*, DWORD, POINTL, DWORD* effect) {
    if (effect) *effect = DROPEFFECT_NONE;
    return E_NOTIMPL;
}

}  // namespace qssdk::ui
