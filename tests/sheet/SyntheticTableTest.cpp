// The synthetic category table of the size tests and benchmarks.
#include <gtest/gtest.h>

#include "sheet/SectionPlan.h"
#include "sheet/SyntheticTable.h"
#include "shell/Failure.h"

namespace quill::sheet {
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

// The sizes refused from the two numbers alone are exactly those the sheet's planning
// refuses once the table is built: at the largest item count that fits and one above it.
TEST(SyntheticTableTest, SizesAreRefusedExactlyWhereTheSheetRefusesThem) {
    const auto plans = [](int groups, int items) {
        try {
            PlanSections(SyntheticCategoryTable(groups, items));
            return true;
        } catch (const Failure&) {
            return false;
        }
    };
    for (const int groups : {1, 2, 3, 101, 199, 200}) {
        SCOPED_TRACE(groups);
        int fits = 0;  // the most items per group that still fit, by bisection
        for (int step = 1 << 16; step > 0; step /= 2)
            if (SyntheticTableRefusal(groups, fits + step).isEmpty()) fits += step;
        ASSERT_GT(fits, 0);
        EXPECT_TRUE(plans(groups, fits));
        EXPECT_FALSE(plans(groups, fits + 1));
        EXPECT_TRUE(SyntheticTableRefusal(groups, fits + 1).contains("rows"));
    }
    EXPECT_TRUE(SyntheticTableRefusal(0, 2147483647).isEmpty());  // no groups, no rows
    EXPECT_TRUE(SyntheticTableRefusal(201, 0).contains("200 groups"));
    EXPECT_FALSE(plans(201, 0));
    EXPECT_FALSE(SyntheticTableRefusal(200, 2147483647).isEmpty());
}

}  // namespace
}  // namespace quill::sheet
