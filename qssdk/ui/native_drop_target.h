// The OLE drop target every kit window registers. It tells the system whether the widget under the cursor
// takes dropped files; it does not deliver files yet and refuses the drop itself.
#pragma once

#include <ole2.h>

#include <atomic>

namespace qssdk::ui {

class window;

class native_drop_target : public IDropTarget {
public:
    explicit native_drop_target(window& owner) : owner_(owner) {}
    virtual ~native_drop_target() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    // The window owns the object: the count never frees it.
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD key_state, POINTL at, DWORD* effect) override;
    // Move when the widget under the cursor has a handler for files_dropped, else none.
    HRESULT STDMETHODCALLTYPE DragOver(DWORD key_state, POINTL at, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD key_state, POINTL at, DWORD* effect) override;

private:
    window& owner_;
    std::atomic<ULONG> references_{1};
};

}  // namespace qssdk::ui
