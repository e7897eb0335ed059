// A one-pixel separator line across the middle of its rect.
#pragma once

#include "generic_panel.h"

namespace installer {

class BreakLine : public qssdk::ui::generic_panel {
public:
    void paint() override;
};

}  // namespace installer
