// The check box's state and toggle.
#include "check_state.h"

#include "event_manager.h"

namespace qssdk::ui {

namespace {

constexpr uint32_t phase_before = 0;
constexpr uint32_t phase_after = 2;
constexpr uint32_t toggle_flag = 0;

}  // namespace

void check_state::toggle(event_object& source, const std::function<void()>& repaint) {
    event_manager& events = event_manager::instance();
    events.fire(&source, event_id::value_changed, phase_before, toggle_flag, 0);
    checked_ = !checked();
    if (linked_value) *linked_value = checked_;
    repaint();
    events.fire(&source, event_id::value_changed, phase_after, toggle_flag, 0);
}

}  // namespace qssdk::ui
