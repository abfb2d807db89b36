#include <gtest/gtest.h>

#include "spreadsheet/core/Workbook.h"

namespace quill::spreadsheet {
namespace {

TEST(AddressTest, ColumnNamesCountInBijectiveBase26) {
    EXPECT_EQ(ColumnName(0), "A");
    EXPECT_EQ(ColumnName(9), "J");
    EXPECT_EQ(ColumnName(25), "Z");
    EXPECT_EQ(ColumnName(26), "AA");
    EXPECT_EQ(ColumnName(51), "AZ");
    EXPECT_EQ(ColumnName(52), "BA");
    EXPECT_EQ(ColumnName(701), "ZZ");
    EXPECT_EQ(ColumnName(702), "AAA");
    EXPECT_EQ(CellName({72, 9}), "J73");
    EXPECT_EQ(RangeName(ParseA1Range("$b$2:J73")), "B2:J73");
}

}  // namespace
}  // namespace quill::spreadsheet
