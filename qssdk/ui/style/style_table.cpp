#include "style_table.h"

namespace qssdk::ui {

namespace {

style_table& override_table() {
    static style_table table(initial_buckets);
    return table;
}

}  // namespace

style_table make_style_table(std::span<const style_entry> entries) {
    style_table table(initial_buckets);
    for (const style_entry& e : entries) table.try_emplace(e.key, e.value);
    return table;
}

const style_table& style_overrides() { return override_table(); }

void install_style_overrides(std::span<const style_entry> entries) { override_table() = make_style_table(entries); }

}  // namespace qssdk::ui
