// The OLE drop target of a kit window: files dropped on it reach a drop_receiver (for a kit window, the
// widget under the cursor as event 41). It offers to copy where the source allows it and never to move,
// which would tell the source to delete its files. It lives inside its window, which initialises OLE and
// registers it: Release never frees it.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include <windows.h>
#include <ole2.h>
#include <shellapi.h>

#include "file_path.h"
#include "non_copyable_non_moveable.h"

namespace qssdk::ui {

class window;

class drop_receiver {
public:
    virtual ~drop_receiver() = default;
    // Whether a drop at the cursor would reach a widget that handles event 41.
    virtual bool accepts_files() const = 0;
    // The list lives until the call returns; keep a copy of what is needed later.
    virtual void files_dropped(const std::vector<qssdk::file_path>& files) = 0;
};

// Every name of a dropped file list, each read whole whatever its length.
std::vector<std::wstring> read_drop_names(HDROP drop);

class native_drop_target final : public IDropTarget, non_copyable_non_moveable {
public:
    explicit native_drop_target(drop_receiver& receiver);
    // Files go to the window's widget under the cursor as event 41 (files_dropped), whose value is the
    // address of the list; a drop is taken where that widget has a handler for it.
    explicit native_drop_target(window& owner);
    ~native_drop_target();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD key_state, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD key_state, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD key_state, POINTL point, DWORD* effect) override;

private:
    // COPY when the receiver takes files and the source allows copying, else NONE.
    DWORD offered_effect(DWORD allowed) const;

    std::unique_ptr<drop_receiver> own_receiver_;  // the window's, when made for one
    drop_receiver& receiver_;
    std::atomic<ULONG> references_{1};
};

}  // namespace qssdk::ui
