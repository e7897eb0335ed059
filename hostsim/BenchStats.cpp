#include "BenchStats.h"

#include <algorithm>
#include <cstdlib>

namespace hostsim {

spread spreadOf(std::vector<double> values) {
    spread s;
    s.count = values.size();
    if (values.empty()) return s;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    s.median = values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
    s.min = values.front();
    s.max = values.back();
    return s;
}

std::map<std::string, double> stageTimes(const std::vector<std::string>& lines) {
    std::map<std::string, double> times;
    for (const std::string& line : lines) {
        const size_t colon = line.rfind(": ");
        if (colon == std::string::npos || colon == 0 || line.size() < colon + 5 ||
            line.compare(line.size() - 3, 3, " ms") != 0)
            continue;
        const std::string number = line.substr(colon + 2, line.size() - 3 - (colon + 2));
        char* end = nullptr;
        const double value = std::strtod(number.c_str(), &end);
        if (number.empty() || end != number.c_str() + number.size()) continue;
        times[line.substr(0, colon)] += value;
    }
    return times;
}

}  // namespace hostsim
