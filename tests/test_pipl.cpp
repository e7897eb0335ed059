#include <gtest/gtest.h>

#include "EffectModule.h"

namespace {

TEST(Pipl, DeclaresTheEffectWithItsPropertiesInOrder) {
    HMODULE module = LoadLibraryExW(hostsim::defaultEffectPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    const hostsim::pipl declaration = hostsim::readPipl(module);
    FreeLibrary(module);

    std::vector<std::string> keys;
    for (const auto& property : declaration.properties) {
        keys.push_back(property.key);
        EXPECT_EQ(property.vendor, "ADBE");
    }
    const std::vector<std::string> expected{"kind", "name", "catg", "8664", "eVER", "ePVR",
                                            "eSVR", "eINF", "eGLO", "eGL2", "eMNA", "aeFL"};
    EXPECT_EQ(keys, expected);
    EXPECT_EQ(declaration.cString("kind"), "eFKT");
    EXPECT_EQ(declaration.pascalString("name"), "QS Pellux");
    EXPECT_EQ(declaration.pascalString("catg"), "Quillstone");
    EXPECT_EQ(declaration.cString("8664"), "PluginMain");
    EXPECT_EQ(declaration.u32("eVER"), 0x00080042u);
    EXPECT_EQ(declaration.u32("ePVR"), 0x00020000u);  // 2.0
    EXPECT_EQ(declaration.u32("eSVR"), 0x000D0009u);  // 13.9
    EXPECT_EQ(declaration.u32("eINF"), 0u);
    EXPECT_EQ(declaration.u32("eGLO"), 0x06008000u);
    EXPECT_EQ(declaration.u32("eGL2"), 0x0000140Eu);
    EXPECT_EQ(declaration.pascalString("eMNA"), "QUILLSTONE Sphere");
    EXPECT_EQ(declaration.u32("aeFL"), 0u);
}

TEST(Pipl, RejectsATruncatedBlock) {
    const uint8_t header_only[] = {1, 0, 0, 0, 2, 0, 0, 0, 'A', 'D', 'B', 'E'};
    EXPECT_THROW(hostsim::parsePipl(header_only, sizeof header_only), std::runtime_error);
    const uint8_t long_length[] = {1, 0, 0, 0, 1, 0, 0, 0, 'A', 'D', 'B', 'E', 'k', 'i', 'n', 'd',
                                   0, 0, 0, 0, 0xFF, 0, 0, 0, 'x'};
    EXPECT_THROW(hostsim::parsePipl(long_length, sizeof long_length), std::runtime_error);
}

}  // namespace
