// The kit's nine cursors by index, each a system cursor. The handles are loaded on first use through the
// loader the table is given, never while the program starts.
#pragma once

#include <array>
#include <cstdint>

namespace qssdk::ui {

// Indices of set_cursor. 7 is the same shape as 4.
namespace cursor_index {
inline constexpr uint32_t arrow = 0;
inline constexpr uint32_t cross = 1;
inline constexpr uint32_t size_we = 2;
inline constexpr uint32_t size_ns = 3;
inline constexpr uint32_t size_nwse = 4;
inline constexpr uint32_t ibeam = 5;
inline constexpr uint32_t hand = 6;
inline constexpr uint32_t size_grip = 7;
inline constexpr uint32_t size_nesw = 8;
}  // namespace cursor_index

class cursor_table {
public:
    using handle = void*;
    // Loads the system cursor of a resource id (IDC_ARROW is 32512, and so on).
    using loader = handle (*)(uint16_t system_id);
    static constexpr uint32_t count = 9;

    explicit cursor_table(loader load) : load_(load) {}

    // The cursor of an index; null above 8. The first call loads the whole table.
    handle get(uint32_t index);

private:
    loader load_;
    std::array<handle, count> handles_{};
    bool loaded_ = false;
};

}  // namespace qssdk::ui
