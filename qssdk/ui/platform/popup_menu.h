// A native popup menu with sub-menus, built from UTF-8 item texts. show runs the menu modally and returns
// the chosen item id, or -1 when it was dismissed.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <type_traits>

#include <windows.h>

#include "menu_structure.h"

namespace qssdk::ui {

class window;

struct menu_destroyer {
    void operator()(HMENU menu) const { DestroyMenu(menu); }
};
// Destroying a menu destroys the sub-menus attached to it.
using menu_handle = std::unique_ptr<std::remove_pointer_t<HMENU>, menu_destroyer>;

// The native menu of a structure: each item a UTF-16 string entry answering its command id, an item with
// children a sub-menu entry.
menu_handle build_native_menu(const menu_structure& structure);

class popup_menu {
public:
    virtual ~popup_menu() = default;

    // parent_id -1 adds a top-level item; see menu_structure::add_item.
    void add_item(int32_t item_id, int32_t parent_id, std::string_view text);
    // Shows the menu at a screen position in device pixels, owned by the given window, and waits until
    // an item is chosen or the menu is dismissed (-1).
    int32_t show(HWND owner, POINT screen_position) const;
    // The same at the cursor, owned by a kit window.
    int32_t show(const window& owner) const;

private:
    menu_structure structure_;
};

}  // namespace qssdk::ui
