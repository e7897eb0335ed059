// The address of the product's web page, which the controls-panel banner and the About dialog open.
#pragma once

#include <string>

// The version as the page's address carries it: major, minor, fix and build joined by "." ("1.0.2.66").
std::string productVersionText();
// The maker's site with the path "/pellux/" and the query key "v" carrying `version`. The maker's host
// name is a reserved example domain, so that no test and no click ever reaches a real site.
std::string productPageUrl(const std::string& version);
