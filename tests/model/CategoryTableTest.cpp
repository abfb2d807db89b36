#include <gtest/gtest.h>

#include "model/CategoryTable.h"
#include "model/DefaultCategorySet.h"
#include "model/MemoryCategoryTree.h"
#include "shell/Failure.h"
#include "support/QtPrinting.h"

namespace quill::model {
namespace {

std::vector<QString> TreeOf(const CategoryTable& table) {
    MemoryCategoryTree tree;
    FillCategoryTree(table, tree);
    return tree.DisplayedTexts();
}

TEST(CategoryTable, DefaultSetAndLookups) {
    const CategoryTable& table = DefaultCategorySet();
    ASSERT_EQ(table.size(), 77u);
    for (std::size_t i = 0; i < table.size(); ++i) EXPECT_EQ(table[i].RowKey, KeyText(i + 1.0));
    EXPECT_EQ(table[1], (CategoryRow{"2_", "1_", "Mortgage or rent", "HOUSING\\Mortgage or rent"}));
    EXPECT_EQ(table[11], (CategoryRow{"12_", "0_", "TRANSPORTATION", "TRANSPORTATION"}));
    EXPECT_EQ(table[76].RowPath, QStringLiteral("LEGAL\\Other"));
    EXPECT_EQ(TreeOf(table).size(), 77u);  // repeated names are nodes of their own

    EXPECT_EQ(NextFreeKey(table), QStringLiteral("78_"));
    EXPECT_EQ(FindRowByKey(table, QStringLiteral("12_")), 11u);
    EXPECT_EQ(FindRowByKey(table, QStringLiteral("99_")), std::nullopt);
    EXPECT_EQ(FindRowByKey(table, QStringLiteral("012_")), std::nullopt);  // exact text, not number
    EXPECT_EQ(FindRowByKey({{"5_", "0_", "A", ""}, {"5_", "0_", "B", ""}}, "5_"), 1u);
    EXPECT_FALSE(HasNoChildren(table, QStringLiteral("12_")));
    EXPECT_TRUE(HasNoChildren(table, QStringLiteral("13_")));
    EXPECT_EQ(KeyValueIgnoringBlanks(QStringLiteral("  12_")), 12);
    EXPECT_EQ(KeyNumber(QStringLiteral("  12_")), 0);
}

TEST(CategoryTable, InsertingToysAfterGasRenumbersByTwo) {
    CategoryTable table = DefaultCategorySet();
    InsertRowBelow(table, QStringLiteral("1_"), QStringLiteral("5_"), QStringLiteral("Toys"));

    ASSERT_EQ(table.size(), 78u);
    for (int i = 0; i < 77; ++i) EXPECT_EQ(table[i].RowKey, KeyText(i < 5 ? i + 1 : i + 3));
    EXPECT_EQ(table[6].ParentKey, QStringLiteral("1_"));  // HOUSING items stay attached
    EXPECT_EQ(table[12].ParentKey, QStringLiteral("14_"));
    EXPECT_EQ(table[20].ParentKey, QStringLiteral("22_"));
    EXPECT_EQ(table[25].ParentKey, QStringLiteral("27_"));
    EXPECT_EQ(table[11].RowPath, QStringLiteral("TRANSPORTATION"));
    EXPECT_EQ(table[77], (CategoryRow{"6_", "1_", "Toys", ""}));
    EXPECT_EQ(NextFreeKey(table), QStringLiteral("80_"));
    for (const CategoryRow& row : table) EXPECT_NE(KeyNumber(row.RowKey), 7);

    const std::vector<QString> shown = TreeOf(table);
    EXPECT_EQ(std::vector<QString>(shown.begin() + 4, shown.begin() + 7),
              (std::vector<QString>{"Gas", "Toys", "Water and sewer"}));
}

TEST(CategoryTable, InsertingAGroupAFirstItemAndAfterTheHighestKey) {
    CategoryTable table = DefaultCategorySet();
    InsertRowBelow(table, QStringLiteral("0_"), QStringLiteral("1_"), QStringLiteral("NEW"));
    InsertRowBelow(table, QStringLiteral("2_"), QStringLiteral("2_"), QStringLiteral("first"));
    const std::vector<QString> shown = TreeOf(table);
    EXPECT_EQ(std::vector<QString>(shown.begin() + 10, shown.begin() + 14),
              (std::vector<QString>{"Other", "NEW", "first", "TRANSPORTATION"}));

    const CategoryTable before = table;
    InsertRowBelow(table, QStringLiteral("0_"), QStringLiteral("81_"), QStringLiteral("last"));
    EXPECT_EQ(CategoryTable(table.begin(), table.end() - 1), before);
    EXPECT_EQ(table.back().RowKey, QStringLiteral("82_"));
}

TEST(CategoryTable, DeletionRemovesAGroupWithItemsOrOneItemButNeverAll) {
    CategoryTable table = DefaultCategorySet();
    DeleteRowAndChildren(table, QStringLiteral("1_"));
    ASSERT_EQ(table.size(), 66u);
    EXPECT_EQ(table[0].RowKey, QStringLiteral("12_"));
    EXPECT_EQ(NextFreeKey(table), QStringLiteral("78_"));

    DeleteRowAndChildren(table, QStringLiteral("013_"));  // compared by number
    ASSERT_EQ(table.size(), 65u);
    EXPECT_EQ(table[1].RowText, QStringLiteral("Bus/taxi fare"));
    DeleteRowAndChildren(table, QStringLiteral("999_"));
    EXPECT_EQ(table.size(), 65u);

    CategoryTable single = {{"1_", "0_", "HOUSING", "HOUSING"}};
    DeleteRowAndChildren(single, QStringLiteral("1_"));
    EXPECT_EQ(single, (CategoryTable{{"1_", "0_", "HOUSING", "HOUSING"}}));
}

TEST(CategoryTree, ShowsKeyOrderWhateverTheTableOrder) {
    MemoryCategoryTree tree;
    tree.Add(std::nullopt, CategoryTree::kLast, QStringLiteral("old"), QStringLiteral("old"), 1);
    FillCategoryTree({{"9_", "3_", "late item", ""},
                      {"3_", "0_", "B", ""},
                      {"4_", "3_", "early item", ""},
                      {"1_", "0_", "A", ""},
                      {"", "0_", "no key", ""}},
                     tree);
    EXPECT_EQ(tree.DisplayedTexts(), (std::vector<QString>{"A", "B", "early item", "late item"}));
    EXPECT_EQ(tree.Nodes()[0].image, CategoryTree::kGroupImage);
    EXPECT_EQ(tree.Nodes()[2].image, CategoryTree::kItemImage);
    EXPECT_EQ(tree.Nodes()[2].parentKey, QStringLiteral("3_"));
}

TEST(CategoryTree, RejectsAnItemWithoutItsGroupAndTakesHugeKeys) {
    MemoryCategoryTree tree;
    EXPECT_THROW(FillCategoryTree({{"2_", "1_", "orphan", ""}}, tree), Failure);

    // A huge key number is one node, not a walk through every number below it.
    FillCategoryTree({{"1_", "0_", "A", ""}, {"999999999999_", "1_", "far", ""}}, tree);
    EXPECT_EQ(tree.DisplayedTexts(), (std::vector<QString>{"A", "far"}));
}

}  // namespace
}  // namespace quill::model
