// The kit's plain container: a widget that paints a background colour and a one-rectangle border from
// its style store. It is also the base through which other widgets get a paint() that runs on every paint
// event: a subclass overrides paint() and does not connect the paint event again.
#pragma once

#include "widget.h"

namespace qssdk::ui {

class generic_panel : public widget {
public:
    generic_panel();

    // "default_back_color" over the whole panel, then the outline in "default_border_color" and
    // "default_border_width" (drawn also when transparent or 0 wide).
    virtual void paint();
};

}  // namespace qssdk::ui
