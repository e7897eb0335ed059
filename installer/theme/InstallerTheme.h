// The installer's look: one table of style values installed as the program-wide override tier, in front
// of the kit's compiled-in defaults. Widgets read the installer-only keys through the aliases the pages set.
#pragma once

#include <vector>

#include "style_entry.h"

namespace installer {

// The theme's entries in table order; the images point at the artwork embedded in the program.
std::vector<qssdk::ui::style_entry> theme_entries();

// Replaces the override tier with the theme; every lookup made afterwards sees it.
void install_theme();

}  // namespace installer
