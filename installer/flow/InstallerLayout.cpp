#include "InstallerLayout.h"

#include "HostVersions.h"

namespace installer::layout {

namespace {

constexpr std::int32_t margin_x = 28;
constexpr std::int32_t header_text_width = 260;
constexpr std::int32_t footer_text_width = 180;
constexpr std::int32_t row_width = 85;
constexpr std::int32_t row_height = 14;
constexpr std::int32_t column_step = 95;
constexpr std::int32_t row_step = 20;
constexpr std::int32_t custom_row_x = 190;

}  // namespace

Frame frame(const FrameSizes& s) {
    const std::int32_t middle = s.height - s.footer - s.header;
    return {
        {0, 0, s.width, s.header},
        {s.width - header_text_width, 0, header_text_width, s.header},
        {0, s.header, s.banner_width, s.banner_height},
        {s.banner_width, s.header, s.width - s.banner_width, middle},
        {0, s.height - s.footer, s.width, s.footer},
        {margin_x, s.height - s.footer, footer_text_width, s.footer},
    };
}

rect logo(const FrameSizes& s, std::int32_t logo_width, std::int32_t logo_height) {
    return {margin_x, (s.header - logo_height) / 2, logo_width, logo_height};
}

rect page_area(const FrameSizes& s) {
    return {s.banner_width, s.header, s.width - s.banner_width, s.height - s.footer - s.header};
}

Footer footer(const FrameSizes& s) {
    const std::int32_t link_y = (s.footer - 15) / 2 - s.footer + s.height;
    const std::int32_t button_y = (s.footer - 30) / 2 - s.footer + s.height;
    return {
        {180, link_y, 210, 15},
        {s.width - 520, button_y, 110, 30},
        {s.width - 380, button_y, 110, 30},
        {s.width - 210, button_y, 170, 30},
    };
}

rect centred(const rect& area, std::int32_t content_width, std::int32_t content_height) {
    return {area.x + (area.width - content_width) / 2, area.y + (area.height - content_height) / 2, content_width,
            content_height};
}

std::vector<rect> host_rows(const std::vector<host_entry>& entries, std::int32_t first_row_y) {
    std::vector<rect> rows(entries.size());
    std::int32_t placed = 0;
    for (std::size_t i = entries.size(); i-- > 0;) {
        if (entries[i].id == host_slot::custom) {
            rows[i] = {custom_row_x, first_row_y, row_width, row_height};
            continue;
        }
        rows[i] = {(placed % 2) * column_step, first_row_y + (placed / 2) * row_step, row_width, row_height};
        ++placed;
    }
    return rows;
}

rect custom_folder_button(std::int32_t first_row_y) { return {285, first_row_y - 5, 110, 25}; }

}  // namespace installer::layout
