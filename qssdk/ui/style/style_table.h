// The two process-wide tiers behind every widget's own style values: the program-wide override table
// that the application installs at start-up, and the compiled-in default table.
#pragma once

#include <span>
#include <string_view>
#include <unordered_map>

#include "fnv1a_hash.h"
#include "style_entry.h"

namespace qssdk::ui {

using style_table = std::unordered_map<std::string_view, style_value, fnv1a_hash>;

// Where a key stands twice in the entries, the first one is kept.
style_table make_style_table(std::span<const style_entry> entries);

// The override tier; empty until the application installs its theme.
const style_table& style_overrides();
// Replaces the override tier; done once at start-up, before any widget reads it.
void install_style_overrides(std::span<const style_entry> entries);

// The default tier and the entries it is built from, in list order. Defined by a separately linked
// table unit, so that each deliverable links its own table (qssdk_ui_default_style is the installer's).
// Built on first use, which also keeps it clear of the order in which static data is initialised.
const style_table& default_style_table();
std::span<const style_entry> default_style_entries();

}  // namespace qssdk::ui
