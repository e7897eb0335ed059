// The one table of event ids shared by windows and widgets. Ids 19, 20, 28 to 32, 39 and 40 belong to
// the numbering but nothing fires them.
#pragma once

#include <cstdint>

namespace qssdk::ui {

enum class event_id : uint32_t {
    mouse_up = 1,          // button: 0 left, 1 middle, 2 right
    mouse_down = 2,        // button code as for mouse_up
    double_click = 3,      // button code as for mouse_up
    mouse_wheel = 4,       // the bits of a double: the signed wheel delta times 0.5
    mouse_enter = 5,
    mouse_leave = 6,
    mouse_move = 7,
    key_down = 8,          // virtual-key code
    key_down_raw = 9,      // low 32 bits the virtual-key code, high 32 bits the message's lParam
    key_up = 10,           // virtual-key code
    character = 11,        // UTF-16 code unit of a character message
    paint = 12,
    resized = 13,          // widget: the old size (width low, height high); window: 0
    moved = 14,            // the old position (x low, y high)
    timer = 15,
    close_query = 16,
    attached = 17,
    destroyed = 18,
    enabled = 21,
    disabled = 22,
    parent_resized = 23,   // the parent's old size; 0 from set_parent
    parent_moved = 24,     // the parent's old position
    child_added = 25,      // the child's address
    child_removed = 26,    // the child's address
    parent_changed = 27,   // the new parent's address
    focus_gained = 33,
    focus_lost = 34,
    shown = 35,
    hidden = 36,
    value_changed = 37,
    clicked = 38,
    files_dropped = 41,    // address of the dropped path list
    ime = 42,              // the composition step: 0, 1 or 2
    style_changed = 43,    // address of the key's first character
    session_locked = 44,
    session_unlocked = 45,
};

}  // namespace qssdk::ui
