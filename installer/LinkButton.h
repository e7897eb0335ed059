// A text link: a button whose text underlines and whose cursor turns to the hand while the pointer is on
// it (both go when it is hidden). Its handlers are connected on the first attach only, so a link attached again reacts once.
#pragma once

#include "event_info.h"
#include "generic_button.h"

namespace installer {

class LinkButton : public qssdk::ui::generic_button {
public:
    LinkButton();

private:
    void on_attached();
    void on_hover(const qssdk::ui::event_info& e);
    void on_hidden();

    bool handlers_connected_ = false;
};

}  // namespace installer
