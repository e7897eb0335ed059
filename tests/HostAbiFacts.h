// The facts of the host's binary interface on x64 Windows (tests/data/host_abi_layout.txt): one `KEY VALUE`
// per line. The comment lines that give a table's whole list of slots ("# Name (size N): 0:slot 8:slot ...")
// become facts too: "table:Name" with the size and "slot:Name.slot" with each slot's offset.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "host_abi_data.h"

struct abi_fact {
    std::string key;
    std::string value;
    int line = 0;
};

inline std::vector<abi_fact> hostAbiFacts() {
    const std::string text(reinterpret_cast<const char*>(abidata::host_abi_layout_txt.data()),
                           abidata::host_abi_layout_txt.size());
    std::vector<abi_fact> facts;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        std::istringstream words(line);
        if (line[0] != '#') {
            abi_fact fact{{}, {}, number};
            words >> fact.key >> fact.value;
            facts.push_back(fact);
            continue;
        }
        const size_t sized = line.find(" (size ");
        const size_t colon = line.find("): ");
        if (sized == std::string::npos || colon == std::string::npos || line.find(' ') != 1) continue;
        const std::string table = line.substr(2, sized - 2);
        facts.push_back({"table:" + table, line.substr(sized + 7, colon - sized - 7), number});
        std::istringstream slots(line.substr(colon + 3));
        for (std::string slot; slots >> slot;) {
            const size_t separator = slot.find(':');
            facts.push_back({"slot:" + table + "." + slot.substr(separator + 1), slot.substr(0, separator), number});
        }
    }
    return facts;
}
