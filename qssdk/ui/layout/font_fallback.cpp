// Font family fallback.
#include "font_fallback.h"

#include <array>

namespace qssdk::ui {

namespace {

// Common sans-serif faces, the closest in shape to the kit's default family first.
constexpr std::array<std::wstring_view, 6> fallback_families = {
    L"Tahoma", L"Segoe UI", L"Arial", L"Liberation Sans", L"DejaVu Sans", L"Microsoft Sans Serif"};

}  // namespace

std::wstring choose_font_family(std::wstring_view requested,
                                const std::function<bool(std::wstring_view)>& installed) {
    if (installed(requested)) return std::wstring(requested);
    for (std::wstring_view family : fallback_families)
        if (installed(family)) return std::wstring(family);
    return std::wstring(requested);
}

}  // namespace qssdk::ui
