// A window's input-method state: turns the composition messages into event 42 for the focus widget
// (through the notifier) and keeps the composition text and cursor the widget reads. The system's own
// composition window stays hidden; the candidate window is placed beside the caret rect.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include <windows.h>

#include "ime_rules.h"
#include "rect.h"

namespace qssdk::ui {

class ime_state {
public:
    // Delivers event 42 with an ime_step value to the focus widget.
    using notifier = std::function<void(uint64_t step)>;

    ime_state(HWND window, notifier notify);

    // WM_IME_STARTCOMPOSITION, WM_IME_COMPOSITION (lParam: the change flags), WM_IME_ENDCOMPOSITION.
    void on_start_composition();
    void on_composition(LPARAM flags);
    void on_end_composition(LPARAM flags);
    // WM_INPUTLANGCHANGE: takes the new keyboard language and completes a running composition.
    void on_input_language_changed();
    // A WM_KEYDOWN seen by the modal loop while composing: the key the input method consumed.
    void record_key();

    // The focus widget's caret area in client coordinates, set by a text-editing widget.
    void set_caret_rect(const rect& caret) { caret_ = caret; }

    bool composing() const { return composing_; }
    const std::wstring& composition_text() const { return text_; }
    int32_t cursor() const { return cursor_; }

private:
    void place_candidate_window() const;
    bool read_composition(LPARAM flags, uint32_t kind);

    std::wstring text_;
    bool composing_ = false;
    bool target_converted_ = false;
    uint16_t keyboard_language_;
    rect caret_;
    HWND window_;
    ime_key last_key_;
    int32_t cursor_ = 0;
    notifier notify_;
};

}  // namespace qssdk::ui
