// gallery.exe: shows the kit's gallery page and writes a screenshot of it (default out/gallery.png).
#include <cstdio>
#include <string>
#include <vector>

#include "RenderCommand.h"
#include "gallery_page.h"
#include "window_capture.h"

int main(int argc, char** argv) {
    std::string out = "out/gallery.png";
    const std::vector<std::string> args(argv + 1, argv + argc);
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--out" && i + 1 < args.size()) {
            out = args[++i];
        } else {
            std::fprintf(stderr, "usage: gallery [--out FILE]\n");
            return 2;
        }
    }
    try {
        gallery::gallery_page page;
        ShowWindow(page.native_handle(), SW_SHOW);
        gallery::repaint_and_settle(page.native_handle());
        // The picture shows the sample tooltip open, over the page.
        if (!page.open_sample_tooltip()) std::fprintf(stderr, "gallery: the sample tooltip did not show\n");
        gallery::capture_client_area_on_screen(page.native_handle()).save(hostsim::widenPath(out), 8);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "gallery: %s\n", e.what());
        return 1;
    }
    std::printf("gallery: wrote %s\n", out.c_str());
    return 0;
}
