// The process-wide widget that holds the mouse capture during a drag (null when none): the window
// routes mouse moves and releases to it alone.
#pragma once

namespace qssdk::ui {

class widget;

widget* capture_widget();
void set_capture_widget(widget* w);

}  // namespace qssdk::ui
