#include "ProductPage.h"

#include <string_view>

#include "ProductInfo.h"
#include "format_string.h"

namespace {

constexpr std::string_view pagePrefix = "https://www.quillstone.example/pellux/?v=";

}  // namespace

std::string productVersionText() {
    return qssdk::format_string("%u.%u.%u.%u", product::versionMajor, product::versionMinor, product::versionFix,
                                product::buildNumber);
}

std::string productPageUrl(const std::string& version) {
    std::string url;
    url.reserve(version.size() + pagePrefix.size());
    url.append(pagePrefix);
    url.append(version);
    return url;
}
