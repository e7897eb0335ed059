#include "capture_widget.h"

namespace qssdk::ui {

namespace {

widget* capturing = nullptr;

}  // namespace

widget* capture_widget() { return capturing; }

void set_capture_widget(widget* w) { capturing = w; }

}  // namespace qssdk::ui
