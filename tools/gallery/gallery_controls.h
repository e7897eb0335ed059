// Panels, buttons and check boxes in each of their states, set by the same events the window routes to
// them (hover, press, toggle, focus, disabling, clicks): the gallery's section, and the tests' picture.
#pragma once

#include <memory>
#include <vector>

#include "point.h"
#include "size.h"
#include "widget.h"

namespace gallery {

inline constexpr qssdk::ui::size control_states_size{1004, 212};

// Creates the widgets on a dark panel of control_states_size at `at` in parent (whose window is created);
// owner keeps them. One of the buttons takes the window's focus.
void add_control_states(qssdk::ui::widget& parent, qssdk::ui::point at,
                        std::vector<std::unique_ptr<qssdk::ui::widget>>& owner);

}  // namespace gallery
