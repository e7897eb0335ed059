// How the installer's four pages follow each other: what the footer controls show on each page and where
// a click leads. Every page change stays within the four pages.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace installer {

namespace page {
inline constexpr std::uint32_t welcome = 0;
inline constexpr std::uint32_t select = 1;
inline constexpr std::uint32_t installing = 2;
inline constexpr std::uint32_t license = 3;
inline constexpr std::uint32_t count = 4;
}  // namespace page

// A control's enabled and visible flags as a page sets them; none: left as they were.
struct ControlState {
    std::optional<bool> enabled;
    std::optional<bool> visible;
    bool operator==(const ControlState&) const = default;
};

struct PageControls {
    ControlState back, cancel, next, license_link;
    std::string_view cancel_text;
    std::string_view next_text;
    bool operator==(const PageControls&) const = default;
};

// The footer as page n shows it; page 2's panel is built before the switch and its run starts after it.
PageControls page_controls(std::uint32_t n);

// The page shown and the page the licence returns to.
struct PageHistory {
    std::uint32_t current = page::welcome;
    std::uint32_t previous = page::welcome;

    void show(std::uint32_t n);
};

enum class FooterControl { back, next, cancel, footer_license_link, welcome_license_link };

enum class ClickKind { none, show_page, finish, ask_cancel };

struct ClickAction {
    ClickKind kind = ClickKind::none;
    std::uint32_t page = 0;  // for show_page
    bool operator==(const ClickAction&) const = default;
};

// Where a click of a footer control or a licence link leads. BACK and NEXT on the licence page return to
// the page it was opened from; a move that would leave the four pages, go back from the installing page
// or skip a running install does nothing, and so does INSTALL while nothing is chosen to install.
ClickAction route_click(FooterControl control, const PageHistory& pages, bool finished, bool can_install);

}  // namespace installer
