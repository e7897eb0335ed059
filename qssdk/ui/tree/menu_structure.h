// The items of a popup menu as a tree, built from UTF-8 texts. An item's command id is its item id + 1,
// so that the command 0 can mean that nothing was chosen; an item that gets a child becomes a sub-menu
// entry.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "fnv1a_hash.h"

namespace qssdk::ui {

inline constexpr int32_t menu_top_level = -1;  // the parent id of a top-level item
inline constexpr int32_t menu_dismissed = -1;  // what show returns when nothing was chosen

struct menu_item {
    uint32_t command = 0;
    std::string text;               // UTF-8
    std::vector<uint32_t> children;  // commands, in the order added; not empty for a sub-menu entry
};

class menu_structure {
public:
    // Adds an item under the parent's item, or at the top level when the parent id is -1 or unknown.
    // Negative item ids and ids already in the menu are ignored (false): no two items may answer the same
    // command, and none the command that means nothing was chosen.
    bool add_item(int32_t item_id, int32_t parent_id, std::string_view text);

    const std::vector<uint32_t>& top_level() const { return top_level_; }
    // Null for an unknown command.
    const menu_item* find(uint32_t command) const;

    // The item id a chosen command stands for: command - 1, so 0 gives -1 (dismissed).
    static int32_t chosen_item(uint32_t command);

private:
    std::unordered_map<uint32_t, menu_item, fnv1a_hash> items_{initial_buckets};
    std::vector<uint32_t> top_level_;
};

}  // namespace qssdk::ui
