// Sets the mouse cursor to one of the kit's nine system cursors (cursor_table.h names the indices).
#pragma once

#include <cstdint>

namespace qssdk::ui {

// Indices above 8 do nothing. The cursors are loaded by the first call.
void set_cursor(uint32_t index);

}  // namespace qssdk::ui
