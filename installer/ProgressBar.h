// The installing page's progress bar: a dark track with the done share filled by a vertical gradient.
#pragma once

#include "generic_panel.h"

namespace installer {

class ProgressBar : public qssdk::ui::generic_panel {
public:
    // The done share, clamped to [0, 1]; NaN counts as nothing done.
    void set_progress(float fraction);
    float progress() const { return progress_; }

    void paint() override;

private:
    float progress_ = 0.0f;
};

// The width the done share covers: round half away from zero of width times fraction.
int done_width(int width, float fraction);

}  // namespace installer
