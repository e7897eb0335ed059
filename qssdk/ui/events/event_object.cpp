#include "event_object.h"

#include "event_manager.h"

namespace qssdk::ui {

event_object::event_object() { event_manager::instance(); }

event_object::~event_object() { event_manager::instance().disconnect_all(this); }

}  // namespace qssdk::ui
