#include "License.h"

#include "installer_resources.h"

namespace installer {

std::string_view license_html() {
    const auto& bytes = installer_resources::license_html;
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace installer
