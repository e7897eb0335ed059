#include "set_cursor.h"

#include <windows.h>

#include "cursor_table.h"

namespace qssdk::ui {

namespace {

cursor_table::handle load_system_cursor(uint16_t system_id) { return LoadCursorW(nullptr, MAKEINTRESOURCEW(system_id)); }

}  // namespace

void set_cursor(uint32_t index) {
    // Built on the first call, not while the module loads.
    static cursor_table table(load_system_cursor);
    if (const cursor_table::handle cursor = table.get(index)) SetCursor(static_cast<HCURSOR>(cursor));
}

}  // namespace qssdk::ui
