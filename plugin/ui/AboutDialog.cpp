#include "AboutDialog.h"

#include <functional>

#include "ProductInfo.h"
#include "ProductPage.h"
#include "cursor_table.h"
#include "event_binding.h"
#include "format_string.h"
#include "input_codes.h"
#include "set_cursor.h"
#include "shell_open.h"
#include "text_codes.h"

namespace {

using qssdk::ui::color;
using qssdk::ui::event_id;
using qssdk::ui::rect;

constexpr rect clientArea{0, 0, 160, 150};
constexpr rect versionRect{0, 15, 160, 20};
constexpr rect linkRect{0, 50, 160, 20};
constexpr rect noticeRect{0, 85, 160, 20};
constexpr rect okRect{65, 115, 80, 20};

constexpr color backgroundColor{0.137f, 0.137f, 0.137f, 1.0f};
constexpr color transparent{0.0f, 0.0f, 0.0f, 0.0f};
constexpr color greyText{0.725f, 0.725f, 0.725f, 1.0f};
constexpr color linkBlue{0.176f, 0.549f, 0.922f, 1.0f};
constexpr color white{1.0f, 1.0f, 1.0f, 1.0f};
constexpr color black{0.0f, 0.0f, 0.0f, 1.0f};

constexpr int32_t okResult = 1;
constexpr int32_t dismissedResult = 0;
constexpr uint8_t underlined = 1;
constexpr uint8_t plain = 0;

}  // namespace

const char* const AboutDialog::noticeText = "\xC2\xA9 2026 Quillstone";
const char* const AboutDialog::linkText = "www.quillstone.example";

AboutDialog::AboutDialog(qssdk::ui::window* owner) {
    set_owner(owner);
    create(product::displayName, clientArea);

    background_.create(&get_root_widget(), clientArea);
    background_.set_background_color(backgroundColor);

    attachLabel(versionLabel_, versionRect, greyText,
                qssdk::format_string("%s v%u.%u.%u (%u)", product::displayName, product::versionMajor,
                                     product::versionMinor, product::versionFix, product::buildNumber));
    attachLabel(linkLabel_, linkRect, linkBlue, linkText);
    qssdk::ui::bind_handler(&linkLabel_, event_id::mouse_up, std::bind(&AboutDialog::openProductLink, this), this);
    qssdk::ui::bind_handler(&linkLabel_, event_id::mouse_enter, std::bind(&AboutDialog::onLinkHover, this, true),
                            this);
    qssdk::ui::bind_handler(&linkLabel_, event_id::mouse_leave, std::bind(&AboutDialog::onLinkHover, this, false),
                            this);
    attachLabel(noticeLabel_, noticeRect, greyText, noticeText);

    okButton_.create(&background_, okRect);
    qssdk::ui::style& button = okButton_.get_style();
    button.set_color("button_color_normal", linkBlue);
    button.set_color("button_color_hover", linkBlue);
    button.set_color("button_color_pressed", greyText);
    button.set_color("button_border_color_normal", transparent);
    button.set_color("button_border_color_hover", transparent);
    button.set_color("button_border_color_focus", transparent);
    button.set_color("button_font_color", white);
    button.set_color("button_font_color_hover", white);
    button.set_color("button_font_color_pressed", black);
    okButton_.set_text("OK");
    qssdk::ui::bind_handler(&okButton_, event_id::clicked, std::bind(&AboutDialog::end_modal, this, okResult), this);
    qssdk::ui::bind_handler(this, event_id::key_down, std::bind(&AboutDialog::onKeyDown, this, std::placeholders::_1),
                            this);

    center();
    productLink_ = productPageUrl(productVersionText());
}

void AboutDialog::attachLabel(qssdk::ui::text_label& label, const rect& r, const color& textColor,
                              const std::string& text) {
    label.create(&background_, r);
    qssdk::ui::style& s = label.get_style();
    s.set_color("default_back_color", transparent);
    s.set_color("label_font_color", textColor);
    s.set_scalar("label_text_align", qssdk::ui::align_code_center);
    label.set_text(text);
}

void AboutDialog::onLinkHover(bool inside) {
    linkLabel_.get_style().set_flag("label_text_underlined", inside ? underlined : plain);
    qssdk::ui::set_cursor(inside ? qssdk::ui::cursor_index::hand : qssdk::ui::cursor_index::arrow);
}

void AboutDialog::openProductLink() { qssdk::shell_open(productLink_); }

void AboutDialog::onKeyDown(const qssdk::ui::event_info& e) {
    // Enter answers as OK, the only button, does; Escape dismisses, as the message popup's keys do.
    if (e.value == qssdk::ui::key_enter)
        end_modal(okResult);
    else if (e.value == qssdk::ui::key_escape)
        end_modal(dismissedResult);
}

void showAboutDialog(HWND hostMainWindow) {
    // Stands for the host's window as the dialog's owner; it leaves that window as it found it.
    qssdk::ui::window owner;
    owner.stand_for(hostMainWindow);
    AboutDialog dialog(&owner);
    dialog.show_modal();
}
