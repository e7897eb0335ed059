// A result row of the installing page: the installed mark (frame 1 of its strip when checked) and the
// row's text, without the check box's back colour, border, hover or focus.
#pragma once

#include "check_box.h"

namespace installer {

class InstalledCheckbox : public qssdk::ui::check_box {
public:
    void paint() override;
};

}  // namespace installer
