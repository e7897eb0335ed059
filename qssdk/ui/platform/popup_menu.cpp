#include "popup_menu.h"

#include "dip_conversion.h"
#include "utf.h"
#include "window.h"

namespace qssdk::ui {

namespace {

void append_items(HMENU menu, const menu_structure& structure, const std::vector<uint32_t>& commands) {
    for (const uint32_t command : commands) {
        const menu_item* item = structure.find(command);
        const std::wstring text = qssdk::utf8_to_utf16(item->text);
        if (item->children.empty()) {
            AppendMenuW(menu, MF_STRING, command, text.c_str());
            continue;
        }
        // The sub-menu belongs to its entry once appended, and goes with the menu it is attached to.
        HMENU sub_menu = CreatePopupMenu();
        append_items(sub_menu, structure, item->children);
        if (!AppendMenuW(menu, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(sub_menu), text.c_str()))
            DestroyMenu(sub_menu);
    }
}

}  // namespace

menu_handle build_native_menu(const menu_structure& structure) {
    menu_handle root(CreatePopupMenu());
    if (root) append_items(root.get(), structure, structure.top_level());
    return root;
}

void popup_menu::add_item(int32_t item_id, int32_t parent_id, std::string_view text) {
    structure_.add_item(item_id, parent_id, text);
}

int32_t popup_menu::show(HWND owner, POINT screen_position) const {
    const menu_handle menu = build_native_menu(structure_);
    if (!menu) return menu_dismissed;
    const BOOL command = TrackPopupMenuEx(menu.get(), TPM_RETURNCMD, screen_position.x, screen_position.y, owner, nullptr);
    return menu_structure::chosen_item(static_cast<uint32_t>(command));
}

int32_t popup_menu::show(const window& owner) const {
    const point cursor = owner.get_cursor_position(nullptr);
    return show(owner.native_handle(),
                {dips_to_pixels(cursor.x, owner.dpi_x()), dips_to_pixels(cursor.y, owner.dpi_y())});
}

}  // namespace qssdk::ui
