// Picks a font family the system has for one it may lack: text in a missing family would otherwise fail
// or draw in an arbitrary face.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace qssdk::ui {

// The requested family when `installed` knows it; else the first installed one of a list of common
// sans-serif families; the requested family unchanged when none of them is there either.
std::wstring choose_font_family(std::wstring_view requested,
                                const std::function<bool(std::wstring_view)>& installed);

}  // namespace qssdk::ui
