#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "menu_structure.h"

namespace {

using namespace qssdk::ui;

TEST(UiMenuStructure, ItemsNestUnderTheirParentsByCommandIdsOneAboveTheItemIds) {
    menu_structure menu;
    EXPECT_TRUE(menu.add_item(1, menu_top_level, "Copy"));
    EXPECT_TRUE(menu.add_item(4, menu_top_level, "Export \xE2\x96\xB8"));
    EXPECT_TRUE(menu.add_item(5, 4, "PNG"));
    EXPECT_TRUE(menu.add_item(6, 4, "Bild \xC3\xBC" "ber alles"));
    EXPECT_TRUE(menu.add_item(7, 6, "deeper"));
    EXPECT_TRUE(menu.add_item(9, 42, "unknown parent: top level"));
    EXPECT_FALSE(menu.add_item(5, menu_top_level, "same id again"));
    EXPECT_FALSE(menu.add_item(-1, menu_top_level, "would answer the dismissed command"));
    EXPECT_TRUE(menu.add_item(8, 8, "its own parent"));  // not in the menu before it is added: top level
    EXPECT_FALSE(menu.add_item(8, menu_top_level, "duplicate"));

    EXPECT_EQ(menu.top_level(), (std::vector<uint32_t>{2, 5, 10, 9}));
    ASSERT_NE(menu.find(5), nullptr);
    EXPECT_EQ(menu.find(5)->children, (std::vector<uint32_t>{6, 7}));
    EXPECT_EQ(menu.find(7)->text, "Bild \xC3\xBC" "ber alles");
    EXPECT_EQ(menu.find(7)->children, std::vector<uint32_t>{8});
    EXPECT_TRUE(menu.find(2)->children.empty());
    EXPECT_EQ(menu.find(3), nullptr);
}

TEST(UiMenuStructure, TheChosenCommandGivesTheItemIdAndNothingChosenGivesMinusOne) {
    EXPECT_EQ(menu_structure::chosen_item(0), menu_dismissed);
    EXPECT_EQ(menu_structure::chosen_item(2), 1);
}

}  // namespace
