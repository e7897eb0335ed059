// The PiPL resource of the built QSPellux.aex, read in the host's format, against the facts' pipl: lines;
// the simulated host's reader refuses any other layout.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <map>
#include <string>

#include "EffectModule.h"
#include "HostAbiFacts.h"
#include "HostFixture.h"

namespace {

std::string bytesOf(uint32_t value) {
    std::string bytes;
    for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>(value >> shift);
    return bytes;
}

std::string hex(const std::vector<uint8_t>& bytes) {
    std::string text;
    char digits[3];
    for (uint8_t b : bytes) {
        std::snprintf(digits, sizeof digits, "%02x", b);
        text += digits;
    }
    return text;
}

hostsim::pipl builtEffectPipl() {
    HMODULE module = LoadLibraryExW(hostsim::defaultEffectPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) throw std::runtime_error("cannot open QSPellux.aex");
    struct closer {
        HMODULE m;
        ~closer() { FreeLibrary(m); }
    } close{module};
    return hostsim::readPipl(module);
}

// The value the built resource gives for a pipl: key, or nothing when the key names no field the test knows.
std::optional<std::string> builtValue(const hostsim::pipl& resource, const std::string& key) {
    if (key == "pipl:header.reserved_u16") return std::to_string(resource.reserved);
    if (key == "pipl:header.version") return std::to_string(resource.version);
    if (key == "pipl:header.count") return std::to_string(resource.properties.size());
    size_t index = 0;
    char field[32] = {};
    if (std::sscanf(key.c_str(), "pipl:prop[%zu].%31s", &index, field) != 2) return std::nullopt;
    if (index >= resource.properties.size()) return "(no property " + std::to_string(index) + ")";
    const hostsim::pipl_property& p = resource.properties[index];
    const std::map<std::string, std::function<std::string()>> fields{
        {"vendor_bytes", [&] { return bytesOf(p.vendor); }},
        {"key_bytes", [&] { return bytesOf(p.key); }},
        {"id", [&] { return std::to_string(p.id); }},
        {"length_raw", [&] { return std::to_string(p.length); }},
        {"length_rounded4", [&] { return std::to_string(p.stored.size()); }},
        {"data_hex", [&] { return hex(p.stored); }},
    };
    const auto found = fields.find(field);
    if (found == fields.end()) return std::nullopt;
    return found->second();
}

TEST(Pipl, TheBuiltResourceIsTheOneTheHostReads) {
    const hostsim::pipl resource = builtEffectPipl();
    int checked = 0;
    for (const abi_fact& fact : hostAbiFacts()) {
        if (!fact.key.starts_with("pipl:")) continue;
        ++checked;
        const std::optional<std::string> built = builtValue(resource, fact.key);
        if (!built) {
            ADD_FAILURE() << "line " << fact.line << ": the test reads no field for " << fact.key;
            continue;
        }
        EXPECT_EQ(*built, fact.value) << "line " << fact.line << ": " << fact.key;
    }
    EXPECT_GT(checked, 0) << "the facts hold no pipl: lines";
}

TEST(Pipl, RefusesOtherLayoutsAndMalformedBlocks) {
    const std::vector<uint8_t> kind{'d', 'n', 'i', 'k'};
    const std::vector<uint8_t> vendor{'M', 'I', 'B', '8'};
    const struct {
        const char* what;
        std::vector<uint8_t> bytes;
    } cases[] = {
        // A 32-bit 1, a 32-bit count, "ADBE" and codes in reading order: the layout the host rejects.
        {"32-bit header", {1, 0, 0, 0, 1, 0, 0, 0, 'A', 'D', 'B', 'E', 'k', 'i', 'n', 'd', 0, 0, 0, 0, 4, 0, 0, 0,
                           'e', 'F', 'K', 'T'}},
        {"vendor ADBE", {1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 'E', 'B', 'D', 'A', 'd', 'n', 'i', 'k', 0, 0, 0, 0, 4, 0, 0,
                         0, 'T', 'K', 'F', 'e'}},
        {"format version 1", {1, 0, 1, 0, 0, 0, 0, 0, 0, 0}},
        {"header only", {1, 0, 0, 0, 0, 0, 2, 0, 0, 0, 'M', 'I', 'B', '8'}},
        {"length past the end", {1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 'M', 'I', 'B', '8', 'd', 'n', 'i', 'k', 0, 0, 0, 0,
                                 0xFF, 0, 0, 0, 'x', 0, 0, 0}},
    };
    for (const auto& c : cases)
        EXPECT_THROW(hostsim::parsePipl(c.bytes.data(), c.bytes.size()), std::runtime_error) << c.what;

    std::vector<uint8_t> good{1, 0, 0, 0, 0, 0, 1, 0, 0, 0};
    good.insert(good.end(), vendor.begin(), vendor.end());
    good.insert(good.end(), kind.begin(), kind.end());
    good.insert(good.end(), {0, 0, 0, 0, 2, 0, 0, 0, 7, 0, 0, 0});
    const hostsim::pipl parsed = hostsim::parsePipl(good.data(), good.size());
    ASSERT_EQ(parsed.properties.size(), 1u);
    EXPECT_NE(parsed.find("kind"), nullptr);
    EXPECT_EQ(parsed.properties[0].length, 2u);
    EXPECT_EQ(parsed.properties[0].stored.size(), 4u);
}

using PiplAndSetup = HostTest;

// The host takes the effect's word twice: from the PiPL before loading it and at global set-up.
TEST_F(PiplAndSetup, TheResourceRepeatsWhatGlobalSetupReports) {
    const hostsim::pipl& resource = host->module().declaration();
    ASSERT_EQ(host->send(PF_Cmd_GLOBAL_SETUP), PF_Err_NONE);
    EXPECT_EQ(resource.u32("eVER"), host->lastOutData().my_version);
    EXPECT_EQ(resource.u32("eGLO"), static_cast<uint32_t>(host->lastOutData().out_flags));
    EXPECT_EQ(resource.u32("eGL2"), static_cast<uint32_t>(host->lastOutData().out_flags2));
    EXPECT_EQ(resource.pascalString("name"), host->registeredName());
    EXPECT_EQ(resource.pascalString("catg"), "Quillstone");
    EXPECT_EQ(resource.pascalString("eMNA"), "QUILLSTONE Sphere");
    EXPECT_EQ(resource.cString("8664"), "PluginMain");
}

}  // namespace
