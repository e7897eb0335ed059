// A pill-shaped push button: half-circle ends, a flat body, centred text and, with the keyboard focus, a
// ring in the focus border colour, from the button_* keys (the
// users alias them to the rounded_button_* keys of the theme).
#pragma once

#include "generic_button.h"

namespace installer {

class RoundedButton : public qssdk::ui::generic_button {
public:
    void paint() override;
};

// Points the button_* keys at the theme's rounded_button_* keys: the grey look, or with next the green
// one whose text keeps the hover colour in both states.
void use_rounded_look(RoundedButton& button, bool next);

}  // namespace installer
