#include "menu_structure.h"

namespace qssdk::ui {

namespace {

uint32_t command_of(int32_t item_id) { return static_cast<uint32_t>(item_id) + 1; }

}  // namespace

bool menu_structure::add_item(int32_t item_id, int32_t parent_id, std::string_view text) {
    if (item_id < 0) return false;
    const uint32_t command = command_of(item_id);
    if (items_.contains(command)) return false;
    // The parent is looked up before the item exists, so an item never becomes its own parent.
    // Elements of the map keep their address when it grows.
    const auto found = parent_id < 0 ? items_.end() : items_.find(command_of(parent_id));
    menu_item* parent = found == items_.end() ? nullptr : &found->second;
    items_.emplace(command, menu_item{command, std::string(text), {}});
    if (parent)
        parent->children.push_back(command);
    else
        top_level_.push_back(command);
    return true;
}

const menu_item* menu_structure::find(uint32_t command) const {
    const auto found = items_.find(command);
    return found == items_.end() ? nullptr : &found->second;
}

int32_t menu_structure::chosen_item(uint32_t command) { return static_cast<int32_t>(command) - 1; }

}  // namespace qssdk::ui
