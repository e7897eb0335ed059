// The licence agreement the installer shows, an HTML document in the text label's subset, embedded in the
// program from installer/resources/license.html.
#pragma once

#include <string_view>

namespace installer {

std::string_view license_html();

}  // namespace installer
