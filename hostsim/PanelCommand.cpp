#include "PanelCommand.h"

#include <cstdio>
#include <stdexcept>

#include "CommandSteps.h"
#include "ControlsPanel.h"
#include "RenderOptions.h"
#include "utf.h"

namespace hostsim {

namespace {

// The effect's first parameter is its banner; the cursor rests on the middle of its web address.
constexpr PF_ParamIndex bannerIndex = 1;
constexpr PF_Point linkPoint{215, 42};

void check(PF_Err result, const char* what) {
    if (result != PF_Err_NONE) throw std::runtime_error(std::string(what) + " failed with " + std::to_string(result));
}

}  // namespace

Image panelStrip(SimulatedHost& host, PF_ParamIndex index, PF_Point hoverPoint) {
    ControlsPanel panel(host);
    const control_layout layout = panel.layoutOf(index);
    // Away: above the panel's first row.
    check(panel.send(panel.adjustCursor(index, PF_Point{layout.titleFrame.left, 0})).err, "the cursor event");
    const draw_result normal = panel.draw(index);
    check(normal.err, "drawing the control");
    check(panel.send(panel.adjustCursor(index, panel.controlPoint(index, hoverPoint.h, hoverPoint.v))).err,
          "the cursor event");
    const draw_result hovered = panel.draw(index);
    check(hovered.err, "drawing the hovered control");

    Image strip(normal.canvas.width(), normal.canvas.height() * 2);
    const Image top = normal.canvas.toImage(), bottom = hovered.canvas.toImage();
    for (int y = 0; y < top.height(); ++y)
        for (int x = 0; x < top.width(); ++x) {
            strip.at(x, y) = top.at(x, y);
            strip.at(x, y + top.height()) = bottom.at(x, y);
        }
    return strip;
}

int panelCommand(const std::vector<std::string>& args) {
    std::string out;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--out" && i + 1 < args.size())
            out = args[++i];
        else
            throw usage_error("panel takes --out FILE, not " + args[i]);
    }
    if (out.empty()) throw usage_error("panel needs --out FILE");

    SimulatedHost host;
    if (!sendStep(host, PF_Cmd_GLOBAL_SETUP, "global set-up") ||
        !sendStep(host, PF_Cmd_PARAMS_SETUP, "PARAMS_SETUP"))
        return 1;
    panelStrip(host, bannerIndex, linkPoint).save(qssdk::utf8_to_utf16(out));
    std::printf("wrote %s: the controls-panel strip, normal above hovered\n", out.c_str());
    return sendStep(host, PF_Cmd_GLOBAL_SETDOWN, "global set-down") ? 0 : 1;
}

}  // namespace hostsim
