// The tooltip window: a small borderless, topmost popup with an optional title line over an optional
// text, each in its own font and colour, inside a double border. A kit window makes one on its first
// tooltip area; its tooltip registry decides when and where it shows. It shows without taking the
// activation from the window under it.
#pragma once

#include <string>

#include "point.h"
#include "tooltip_layout.h"
#include "tooltip_registry.h"
#include "window.h"

namespace qssdk::ui {

class tooltip : public window, public tooltip_view {
public:
    // Connects the painting of the root widget; create makes the native window.
    tooltip();

    bool is_shown() const override { return shown_flag(); }
    // Keeps copies of the texts, measures them in the fonts of style_source's style store, sizes the
    // window to them at position (screen DIPs) and shows it without activating it; the first paint is done
    // when it returns.
    void show(point position, const std::string& title, const std::string& text, const widget& style_source) override;
    // Fires 36 (hidden) when it was shown, hides the native window and lets go of the style source.
    void hide() override;

    const tooltip_layout& layout() const { return layout_; }

private:
    void paint();

    std::string title_;
    std::string text_;
    tooltip_layout layout_;
    // The widget whose area is shown; every tooltip key is read from its style store. Set only while shown:
    // the registry hides the tooltip before that widget goes.
    const widget* style_source_ = nullptr;
};

}  // namespace qssdk::ui
