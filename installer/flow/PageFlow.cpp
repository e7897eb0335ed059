#include "PageFlow.h"

namespace installer {

namespace {

constexpr ControlState on{true, true};
constexpr ControlState off{false, false};
constexpr std::string_view cancel_label = "CANCEL";
constexpr std::string_view agree_label = "I AGREE";
constexpr std::string_view install_label = "INSTALL";

ClickAction go_to(std::uint32_t n) { return {ClickKind::show_page, n}; }

}  // namespace

PageControls page_controls(std::uint32_t n) {
    switch (n) {
    case page::welcome:
        return {{false, true}, on, {}, on, cancel_label, agree_label};
    case page::select:
        return {on, on, {}, off, cancel_label, install_label};
    case page::installing:
        return {{false, std::nullopt}, {}, {false, std::nullopt}, off, cancel_label, install_label};
    default:  // page::license
        return {on, on, {}, off, cancel_label, agree_label};
    }
}

void PageHistory::show(std::uint32_t n) {
    if (n >= page::count) return;
    previous = current;
    current = n;
}

ClickAction route_click(FooterControl control, const PageHistory& pages, bool finished, bool can_install) {
    const std::uint32_t current = pages.current;
    if (current == page::license && (control == FooterControl::back || control == FooterControl::next))
        return pages.previous == page::license ? ClickAction{} : go_to(pages.previous);
    switch (control) {
    case FooterControl::footer_license_link:
    case FooterControl::welcome_license_link:
        return current == page::license ? ClickAction{} : go_to(page::license);
    case FooterControl::back:
        return current == page::select ? go_to(page::welcome) : ClickAction{};
    case FooterControl::next:
        if (finished) return {ClickKind::finish};
        if (current == page::welcome) return go_to(page::select);
        if (current == page::select) return can_install ? go_to(page::installing) : ClickAction{};
        return {};
    case FooterControl::cancel:
        return {ClickKind::ask_cancel};
    }
    return {};
}

}  // namespace installer
