#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <windows.h>
#include <imm.h>

#include "ime_state.h"

namespace {

using namespace qssdk::ui;

class UiNativeIme : public testing::Test {
protected:
    UiNativeIme() {
        window = CreateWindowExW(0, L"STATIC", L"ime", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    }
    ~UiNativeIme() override { DestroyWindow(window); }

    HWND window = nullptr;
    std::vector<uint64_t> steps;
};

TEST_F(UiNativeIme, ACompositionNotifiesStartChangeAndResultInOrder) {
    ime_state ime(window, [this](uint64_t s) { steps.push_back(s); });
    ime.on_end_composition(GCS_RESULTSTR);  // none running: nothing
    ime.on_start_composition();
    ime.on_start_composition();
    EXPECT_TRUE(ime.composing());
    ime.on_composition(GCS_RESULTSTR);  // no composition string changed: nothing
    ime.on_composition(GCS_COMPSTR | GCS_COMPATTR | GCS_CURSORPOS);
    ime.on_end_composition(GCS_RESULTSTR);
    EXPECT_FALSE(ime.composing());
    EXPECT_EQ(steps, (std::vector<uint64_t>{ime_step::started, ime_step::changed, ime_step::finished}));
}

TEST_F(UiNativeIme, WithoutAnInputContextOnlyTheStartIsNotified) {
    ImmAssociateContext(window, nullptr);  // as the kit's window leaves it until a widget wants input
    ime_state ime(window, [this](uint64_t s) { steps.push_back(s); });
    ime.on_start_composition();
    ime.on_composition(GCS_COMPSTR);
    ime.on_end_composition(GCS_RESULTSTR);
    EXPECT_FALSE(ime.composing());
    EXPECT_EQ(steps, std::vector<uint64_t>{ime_step::started});
}

TEST_F(UiNativeIme, TheCompositionStringIsReadWholeFromTheInputContext) {
    ime_state ime(window, [this](uint64_t s) { steps.push_back(s); });
    const std::wstring composed = L"\x65E5\x672C\x8A9E";
    HIMC context = ImmGetContext(window);
    ASSERT_NE(context, nullptr);
    const BOOL set = ImmSetCompositionStringW(context, SCS_SETSTR, const_cast<wchar_t*>(composed.c_str()),
                                              static_cast<DWORD>(composed.size() * sizeof(wchar_t)), nullptr, 0);
    const LONG system_cursor = ImmGetCompositionStringW(context, GCS_CURSORPOS, nullptr, 0);
    ImmReleaseContext(window, context);
    ASSERT_TRUE(set);

    ime.on_start_composition();
    ime.on_composition(GCS_COMPSTR);
    EXPECT_EQ(ime.composition_text(), composed);
    EXPECT_EQ(ime.cursor(), system_cursor);  // no converted target: the input method's cursor
    EXPECT_EQ(steps, (std::vector<uint64_t>{ime_step::started, ime_step::changed}));
}

}  // namespace
