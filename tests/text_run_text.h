// Text runs written out in full, so that tests compare them field by field and show the difference.
#pragma once

#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

#include "text_run.h"

namespace ui_test {

inline std::string describe(const qssdk::ui::text_run& r) {
    std::ostringstream s;
    s << std::setprecision(9) << "[" << r.start << ", " << r.end << ") weight " << r.weight << " style " << r.style
      << " underline " << r.underline << " font '" << r.font_name << "' " << r.size << " colour (" << r.color.r
      << ", " << r.color.g << ", " << r.color.b << ", " << r.color.a << ") href '" << r.href << "'";
    return s.str();
}

inline std::vector<std::string> describe(const std::vector<qssdk::ui::text_run>& runs) {
    std::vector<std::string> out;
    for (const qssdk::ui::text_run& r : runs) out.push_back(describe(r));
    return out;
}

}  // namespace ui_test
