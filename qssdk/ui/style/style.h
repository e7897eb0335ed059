// A widget's style store: its own values and key aliases in front of the program-wide override table
// and the compiled-in defaults. Every change is announced to the owner with event 43 (style_changed),
// whose value is the address of the key's first character.
#pragma once

#include <cstdint>
#include <string_view>
#include <unordered_map>

#include "color.h"
#include "fnv1a_hash.h"
#include "style_table.h"
#include "style_value.h"

namespace qssdk::ui {

class event_object;

class style {
public:
    // A null owner changes silently.
    explicit style(event_object* owner = nullptr);
    // A store belongs to its owner: a copy would announce its changes to the original's owner.
    style(const style&) = delete;
    // Takes other's own values and aliases; the owner stays this store's, so that later changes reach
    // the object the store belongs to. Announces nothing.
    style& operator=(const style& other);

    // Takes one alias step, then the own values, the override table and the defaults; a key found
    // nowhere gives the empty value (no bytes, transparent black).
    style_value get(std::string_view key) const;
    float get_float(std::string_view key) const { return get(key).as_float(); }

    // Setters store under the key itself: while the key has an alias, get no longer reaches them.
    void set_scalar(std::string_view key, const uint32_t& value);
    void set_color(std::string_view key, const color& value);
    // A one-byte flag (1 or 0) with no colour.
    void set_flag(std::string_view key, bool value);
    // From now on key reads target. Announced only when the alias is new or different.
    void set_alias(std::string_view key, std::string_view target);

private:
    void announce(std::string_view key) const;

    style_table own_;
    std::unordered_map<std::string_view, std::string_view, fnv1a_hash> aliases_;
    event_object* owner_;
};

}  // namespace qssdk::ui
