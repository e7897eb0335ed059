#include "ime_state.h"

#include <algorithm>
#include <vector>

#include <imm.h>

namespace qssdk::ui {

namespace {

// The window's input context for the length of one operation.
class input_context {
public:
    explicit input_context(HWND window) : window_(window), context_(ImmGetContext(window)) {}
    ~input_context() {
        if (context_) ImmReleaseContext(window_, context_);
    }
    input_context(const input_context&) = delete;
    input_context& operator=(const input_context&) = delete;

    explicit operator bool() const { return context_ != nullptr; }
    HIMC get() const { return context_; }

private:
    HWND window_;
    HIMC context_;
};

uint16_t current_keyboard_language() { return LOWORD(reinterpret_cast<uintptr_t>(GetKeyboardLayout(0))); }

// A string of the given kind, taken by the length the input method reports.
std::wstring read_string(HIMC context, uint32_t kind) {
    const LONG bytes = ImmGetCompositionStringW(context, kind, nullptr, 0);
    if (bytes <= 0) return {};
    std::vector<wchar_t> buffer((static_cast<size_t>(bytes) + 1) / sizeof(wchar_t));
    const LONG written = ImmGetCompositionStringW(context, kind, buffer.data(), static_cast<DWORD>(bytes));
    return composition_text(buffer, written);
}

std::vector<uint8_t> read_attributes(HIMC context) {
    const LONG bytes = ImmGetCompositionStringW(context, GCS_COMPATTR, nullptr, 0);
    if (bytes <= 0) return {};
    std::vector<uint8_t> attributes(static_cast<size_t>(bytes));
    const LONG written = ImmGetCompositionStringW(context, GCS_COMPATTR, attributes.data(), static_cast<DWORD>(bytes));
    attributes.resize(written > 0 ? std::min(static_cast<size_t>(written), attributes.size()) : 0);
    return attributes;
}

}  // namespace

ime_state::ime_state(HWND window, notifier notify)
    : keyboard_language_(current_keyboard_language()), window_(window), notify_(std::move(notify)) {}

void ime_state::on_start_composition() {
    if (composing_) return;
    CreateCaret(window_, nullptr, 1, 1);
    place_candidate_window();
    composing_ = true;
    notify_(ime_step::started);
}

void ime_state::on_composition(LPARAM flags) {
    const auto change = static_cast<uint32_t>(flags);
    for (const uint64_t step :
         composition_prelude(target_converted_, cursor_, text_.size(), last_key_, keyboard_language_, change))
        notify_(step);
    target_converted_ = false;
    if (read_composition(flags, ime_string::composition)) notify_(ime_step::changed);
}

void ime_state::on_end_composition(LPARAM flags) {
    if (!composing_) return;
    if (read_composition(flags, ime_string::result)) notify_(ime_step::finished);
    DestroyCaret();
    composing_ = false;
}

void ime_state::on_input_language_changed() {
    keyboard_language_ = current_keyboard_language();
    if (!composing_) return;
    if (const input_context context(window_); context) ImmNotifyIME(context.get(), NI_COMPOSITIONSTR, CPS_COMPLETE, 0);
}

void ime_state::record_key() {
    last_key_.virtual_key = ImmGetVirtualKey(window_);
    last_key_.character = MapVirtualKeyW(static_cast<UINT>(last_key_.virtual_key), MAPVK_VK_TO_CHAR);
}

void ime_state::place_candidate_window() const {
    const input_context context(window_);
    if (!context) return;
    CANDIDATEFORM form = {};
    form.dwIndex = 0;
    form.dwStyle = CFS_EXCLUDE;
    form.ptCurrentPos = {caret_.x, caret_.y};
    form.rcArea = {caret_.x, caret_.y, caret_.x + caret_.width, caret_.y + caret_.height};
    ImmSetCandidateWindow(context.get(), &form);
}

bool ime_state::read_composition(LPARAM flags, uint32_t kind) {
    const input_context context(window_);
    if (!context) return false;
    const auto change = static_cast<uint32_t>(flags);
    if (kind == ime_string::composition && !(change & ime_string::composition)) return false;
    text_ = read_string(context.get(), kind);
    if (kind == ime_string::composition && (change & ime_string::composition_attributes))
        target_converted_ = has_target_converted(read_attributes(context.get()));

    ime_cursor_inputs in{kind, text_.size(), keyboard_language_, target_converted_, last_key_.virtual_key, cursor_, 0};
    if (needs_system_cursor(in)) in.system_cursor = ImmGetCompositionStringW(context.get(), GCS_CURSORPOS, nullptr, 0);
    cursor_ = composition_cursor(in);
    return true;
}

}  // namespace qssdk::ui
