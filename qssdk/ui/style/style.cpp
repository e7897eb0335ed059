#include "style.h"

#include <bit>

#include "event_manager.h"

namespace qssdk::ui {

style::style(event_object* owner) : own_(initial_buckets), aliases_(initial_buckets), owner_(owner) {}

style& style::operator=(const style& other) {
    own_ = other.own_;
    aliases_ = other.aliases_;
    return *this;
}

style_value style::get(std::string_view key) const {
    if (const auto alias = aliases_.find(key); alias != aliases_.end()) key = alias->second;
    for (const style_table* tier : {&own_, &style_overrides(), &default_style_table()})
        if (const auto found = tier->find(key); found != tier->end()) return found->second;
    return {};
}

void style::set_scalar(std::string_view key, const uint32_t& value) {
    own_.insert_or_assign(key, style_value(value));
    announce(key);
}

void style::set_color(std::string_view key, const color& value) {
    own_.insert_or_assign(key, style_value(value));
    announce(key);
}

void style::set_flag(std::string_view key, bool value) {
    own_.insert_or_assign(key, style_value(static_cast<uint8_t>(value ? 1 : 0)));
    announce(key);
}

void style::set_alias(std::string_view key, std::string_view target) {
    const auto [alias, added] = aliases_.try_emplace(key, target);
    const bool changed = added || alias->second != target;
    alias->second = target;
    if (changed) announce(key);
}

void style::announce(std::string_view key) const {
    if (owner_)
        event_manager::instance().fire(owner_, event_id::style_changed, 2, 1,
                                       static_cast<uint64_t>(std::bit_cast<uintptr_t>(key.data())));
}

}  // namespace qssdk::ui
