// The synthetic category table of the size tests and benchmarks.
#include <gtest/gtest.h>

#include "sheet/SyntheticTable.h"

namespace quill::PersonalFinance {
namespace {

TEST(SyntheticTableTest, GroupsOfNumberedItemsWithKeysInOrder) {
    const CategoryTable table = SyntheticCategoryTable(2, 11);
    ASSERT_EQ(table.size(), 24u);
    const CategoryRow& group = table[12];
    EXPECT_EQ(group.RowKey, "13_");
    EXPECT_EQ(group.ParentKey, "0_");
    EXPECT_EQ(group.RowText, "GROUP 2");
    EXPECT_EQ(group.RowPath, "GROUP 2");
    const CategoryRow& item = table[23];
    EXPECT_EQ(item.RowKey, "24_");
    EXPECT_EQ(item.ParentKey, "13_");
    EXPECT_EQ(item.RowText, "Item 2.11");
    EXPECT_EQ(item.RowPath, "GROUP 2\\Item 2.11");
    EXPECT_EQ(SyntheticCategoryTable(3, 0).size(), 3u);
    EXPECT_TRUE(SyntheticCategoryTable(0, 5).empty());
}

}  // namespace
}  // namespace quill::PersonalFinance
