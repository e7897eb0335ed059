// The effect's About box for the host's ABOUT command: the product's name and version, a link to its web
// page, the maker's notice and an OK button, in a small modal kit window over the host's main window.
#pragma once

#include <windows.h>

#include <string>

#include "generic_button.h"
#include "generic_panel.h"
#include "text_label.h"
#include "window.h"

class AboutDialog : public qssdk::ui::window {
public:
    // What the labels show.
    static const char* const noticeText;
    static const char* const linkText;

    // Builds the whole dialog under owner and centres it there; show_modal then runs it (1 after OK).
    explicit AboutDialog(qssdk::ui::window* owner);

    const qssdk::ui::text_label& versionLabel() const { return versionLabel_; }
    qssdk::ui::text_label& linkLabel() { return linkLabel_; }
    const qssdk::ui::text_label& noticeLabel() const { return noticeLabel_; }
    const qssdk::ui::generic_button& okButton() const { return okButton_; }
    const std::string& productLink() const { return productLink_; }

private:
    // Attaches a label to the panel with its colours and centred text.
    void attachLabel(qssdk::ui::text_label& label, const qssdk::ui::rect& r, const qssdk::ui::color& textColor,
                     const std::string& text);
    void onLinkHover(bool inside);
    void openProductLink();
    void onKeyDown(const qssdk::ui::event_info& e);

    qssdk::ui::generic_panel background_;
    qssdk::ui::text_label versionLabel_;
    qssdk::ui::text_label linkLabel_;
    qssdk::ui::text_label noticeLabel_;
    qssdk::ui::generic_button okButton_;
    std::string productLink_;
};

// The ABOUT command: the dialog on the host's main window (null: none), run until it is closed.
void showAboutDialog(HWND hostMainWindow);
