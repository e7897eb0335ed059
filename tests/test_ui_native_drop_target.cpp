#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include "TempFolder.h"
#include "event_manager.h"
#include "native_drop_target.h"
#include "ui_test_support.h"
#include "widget.h"
#include "window.h"
#include "window_styles.h"

namespace {

using namespace qssdk::ui;

// A CF_HDROP list as a shell drag source makes it: DROPFILES, then the wide names, each NUL-terminated,
// and one more NUL.
HGLOBAL make_hdrop(const std::vector<std::wstring>& names) {
    size_t chars = 1;
    for (const std::wstring& n : names) chars += n.size() + 1;
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    auto* text = reinterpret_cast<wchar_t*>(header + 1);
    for (const std::wstring& n : names) {
        std::memcpy(text, n.c_str(), n.size() * sizeof(wchar_t));
        text += n.size() + 1;
    }
    GlobalUnlock(memory);
    return memory;
}

// QueryInterface of a test object on the stack that has one interface besides IUnknown (it counts no
// references).
template <class Interface>
HRESULT answer_query(Interface* self, REFIID own, REFIID asked, void** out) {
    if (!IsEqualIID(asked, IID_IUnknown) && !IsEqualIID(asked, own)) {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    *out = self;
    return S_OK;
}

// A data object offering a file list (or nothing, for a drag of something else). Lives on the stack.
class file_list_data : public IDataObject {
public:
    explicit file_list_data(std::vector<std::wstring> names, bool offers_files = true)
        : names_(std::move(names)), offers_files_(offers_files) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        return answer_query(this, IID_IDataObject, iid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (!offers_files_ || format->cfFormat != CF_HDROP || !(format->tymed & TYMED_HGLOBAL)) return DV_E_FORMATETC;
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = make_hdrop(names_);
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

private:
    std::vector<std::wstring> names_;
    bool offers_files_;
};

struct recording_receiver : drop_receiver {
    bool accepts_files() const override { return accepts; }
    void files_dropped(const std::vector<qssdk::file_path>& files) override {
        std::vector<std::wstring> paths;
        for (const qssdk::file_path& f : files) paths.push_back(f.wstring());
        drops.push_back(paths);
    }
    bool accepts = true;
    std::vector<std::vector<std::wstring>> drops;
};

void write_file(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
}

std::wstring with_slashes(std::wstring path) {
    for (wchar_t& c : path)
        if (c == L'\\') c = L'/';
    return path;
}

class UiNativeDropTarget : public testing::Test {
protected:
    UiNativeDropTarget() { OleInitialize(nullptr); }
    ~UiNativeDropTarget() override { OleUninitialize(); }

    void SetUp() override {
        write_file(folder / L"diffuse.png");
        write_file(folder / L"bump map.png");
        CreateDirectoryW((folder / L"textures").c_str(), nullptr);
    }

    // Two files (one named with '/' separators), a folder and a path that does not exist.
    std::vector<std::wstring> dropped_names() const {
        return {folder / L"diffuse.png", with_slashes(folder / L"bump map.png"), folder / L"textures",
                folder / L"gone.png"};
    }

    TempFolder folder;
    recording_receiver receiver;
    native_drop_target target{receiver};
    const POINTL at{10, 10};
};

TEST_F(UiNativeDropTarget, OffersToCopyWhereTheSourceAllowsItAndNeverToMove) {
    file_list_data data(dropped_names());
    struct row {
        bool accepts;
        DWORD allowed;
        DWORD offered;
    };
    const row rows[] = {
        {true, DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_COPY},
        {true, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, DROPEFFECT_COPY},
        {true, DROPEFFECT_MOVE, DROPEFFECT_NONE},
        {false, DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_NONE},
    };
    for (const row& r : rows) {
        receiver.accepts = r.accepts;
        DWORD entered = r.allowed, over = r.allowed;
        EXPECT_EQ(target.DragEnter(&data, MK_LBUTTON, at, &entered), S_OK);
        EXPECT_EQ(target.DragOver(MK_LBUTTON, at, &over), S_OK);
        EXPECT_EQ(entered, r.offered) << r.allowed;
        EXPECT_EQ(over, r.offered) << r.allowed;
        EXPECT_EQ(target.DragLeave(), S_OK);
    }
}

TEST_F(UiNativeDropTarget, ADropOfTwoFilesAndAFolderDeliversTheTwoFilesAndReportsACopy) {
    file_list_data data(dropped_names());
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    EXPECT_EQ(target.Drop(&data, 0, at, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    const std::vector<std::vector<std::wstring>> expected = {{folder / L"diffuse.png", folder / L"bump map.png"}};
    EXPECT_EQ(receiver.drops, expected);
}

TEST_F(UiNativeDropTarget, ADropNobodyTakesOrWithoutFilesDeliversNothingAndReportsNoEffect) {
    file_list_data files(dropped_names());
    file_list_data no_files({}, false);
    file_list_data only_folders({folder / L"textures"});
    struct row {
        const char* what;
        bool accepts;
        file_list_data* data;
        DWORD allowed;
        HRESULT result;
        size_t drops;
    };
    const row rows[] = {
        {"no widget takes files", false, &files, DROPEFFECT_COPY, S_OK, 0},
        {"the source allows moving only", true, &files, DROPEFFECT_MOVE, S_OK, 0},
        {"no file list in the data", true, &no_files, DROPEFFECT_COPY, E_FAIL, 0},
        {"only folders: an empty list is still delivered", true, &only_folders, DROPEFFECT_COPY, S_OK, 1},
    };
    for (const row& r : rows) {
        receiver.accepts = r.accepts;
        receiver.drops.clear();
        DWORD effect = r.allowed;
        EXPECT_EQ(target.Drop(r.data, 0, at, &effect), r.result) << r.what;
        EXPECT_EQ(effect, static_cast<DWORD>(r.drops ? DROPEFFECT_COPY : DROPEFFECT_NONE)) << r.what;
        ASSERT_EQ(receiver.drops.size(), r.drops) << r.what;
        if (r.drops) {
            EXPECT_TRUE(receiver.drops[0].empty()) << r.what;
        }
    }
}

TEST_F(UiNativeDropTarget, QueryInterfaceFollowsComRulesAndReleaseNeverFrees) {
    void* out = nullptr;
    EXPECT_EQ(target.QueryInterface(IID_IDropTarget, &out), S_OK);
    EXPECT_EQ(out, static_cast<IDropTarget*>(&target));
    EXPECT_EQ(target.QueryInterface(IID_IUnknown, &out), S_OK);
    EXPECT_EQ(out, static_cast<IUnknown*>(&target));
    EXPECT_EQ(target.Release(), 2u);  // the two interfaces handed out above

    out = &target;
    EXPECT_EQ(target.QueryInterface(IID_IDataObject, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(target.QueryInterface(IID_IDropTarget, nullptr), E_POINTER);

    EXPECT_EQ(target.Release(), 1u);
    EXPECT_EQ(target.Release(), 0u);  // the window owns it: still usable
    EXPECT_EQ(target.AddRef(), 1u);
}

TEST_F(UiNativeDropTarget, NamesOfAnyLengthAreReadWhole) {
    const std::vector<std::wstring> names = {L"C:\\" + std::wstring(300, L'a') + L"\\" + std::wstring(700, L'b') + L".png",
                                             L"C:\\x"};
    HGLOBAL drop = make_hdrop(names);
    EXPECT_EQ(read_drop_names(static_cast<HDROP>(drop)), names);
    GlobalFree(drop);
}

// A drag source that lets go once the drag has passed over the target a few times, and gives up when that
// takes longer than the bound, so no drag outlasts it.
class dropping_source : public IDropSource {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        return answer_query(this, IID_IDropSource, iid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL, DWORD) override {
        if (GetTickCount64() > deadline_) return DRAGDROP_S_CANCEL;
        return ++asked_ < 4 ? S_OK : DRAGDROP_S_DROP;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

private:
    const ULONGLONG deadline_ = GetTickCount64() + 5000;
    int asked_ = 0;
};

// A kit window's own registered target, reached by a drag of the system: a drop of two files and a folder
// over a widget with a handler for event 41 hands that widget the two files; over a widget without one
// the drop is refused.
TEST_F(UiNativeDropTarget, AKitWindowsTargetDeliversTheFilesToTheWidgetUnderTheCursor) {
    window w;
    w.create("drop", {200, 200, 300, 200}, window_flag::topmost);
    ShowWindow(w.native_handle(), SW_SHOWNOACTIVATE);
    UpdateWindow(w.native_handle());
    widget zone, plain;
    zone.create(&w.get_root_widget(), {20, 20, 100, 60});
    plain.create(&w.get_root_widget(), {150, 20, 100, 60});
    std::vector<std::vector<std::wstring>> delivered;
    ui_test::event_log owner;
    event_manager::instance().connect(&zone, &owner, event_id::files_dropped, [&](const event_info& e) {
        std::vector<std::wstring> paths;
        for (const qssdk::file_path& f : *reinterpret_cast<const std::vector<qssdk::file_path>*>(e.value))
            paths.push_back(f.wstring());
        delivered.push_back(paths);
    });
    file_list_data data(dropped_names());

    // The test prefix runs at 96 DPI: client DIPs are pixels.
    const rect client = w.get_client_rect();
    struct row {
        POINT at;
        DWORD effect;
        size_t drops;
    };
    const row rows[] = {
        {{client.x + 60, client.y + 50}, DROPEFFECT_COPY, 1},   // over the zone
        {{client.x + 200, client.y + 50}, DROPEFFECT_NONE, 1},  // over a widget without a handler
    };
    for (const row& r : rows) {
        ASSERT_TRUE(SetCursorPos(r.at.x, r.at.y));
        dropping_source source;
        DWORD effect = DROPEFFECT_NONE;
        EXPECT_TRUE(SUCCEEDED(DoDragDrop(&data, &source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect)));
        EXPECT_EQ(effect, r.effect);
        EXPECT_EQ(delivered.size(), r.drops);
    }
    const std::vector<std::vector<std::wstring>> expected = {{folder / L"diffuse.png", folder / L"bump map.png"}};
    EXPECT_EQ(delivered, expected);
}

// The window balances its own OLE initialisation once, and the release of its target's last reference
// does not take another one away from its thread.
TEST(UiNativeDropTargetOle, AKitWindowUninitialisesOleOnceForItsOwnInitialisation) {
    HRESULT first = E_FAIL, afterwards = E_FAIL;
    std::thread([&] {
        first = OleInitialize(nullptr);
        {
            window w;
            w.create("ole", {0, 0, 100, 100});
        }
        afterwards = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        CoUninitialize();
        OleUninitialize();
    }).join();
    EXPECT_EQ(first, S_OK);
    EXPECT_EQ(afterwards, S_FALSE);  // the thread's own initialisation is still in place
}

}  // namespace
