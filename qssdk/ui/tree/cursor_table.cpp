#include "cursor_table.h"

namespace qssdk::ui {

namespace {

// IDC_ARROW, IDC_CROSS, IDC_SIZEWE, IDC_SIZENS, IDC_SIZENWSE, IDC_IBEAM, IDC_HAND, IDC_SIZENWSE, IDC_SIZENESW.
constexpr std::array<uint16_t, cursor_table::count> system_ids = {32512, 32515, 32644, 32645, 32642,
                                                                  32513, 32649, 32642, 32643};

}  // namespace

cursor_table::handle cursor_table::get(uint32_t index) {
    if (index >= count) return nullptr;
    if (!loaded_) {
        for (uint32_t i = 0; i < count; ++i) handles_[i] = load_(system_ids[i]);
        loaded_ = true;
    }
    return handles_[index];
}

}  // namespace qssdk::ui
