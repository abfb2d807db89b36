// The picture of the real budget sheet: its extent is the used range in the sheet's own
// pixel sizes, the palette colours of headers and sums show where they belong, the title
// is drawn, and a negative balance turns red only when the figures make it negative.
#include <gtest/gtest.h>

#include <map>

#include <QImage>

#include "DefaultBudget.h"
#include "spreadsheet/render/SheetRenderer.h"

namespace quill::test {
namespace {

namespace ss = spreadsheet;

// The most frequent colour inside a cell (its border pixels left out), so that a text
// drawn in the cell does not decide which fill it shows.
QRgb FillOf(const QImage& picture, const QRect& cell) {
    std::map<QRgb, int> counts;
    const QRect inner = cell.adjusted(2, 2, -2, -2);
    for (int y = inner.top(); y <= inner.bottom(); ++y)
        for (int x = inner.left(); x <= inner.right(); ++x) ++counts[picture.pixel(x, y)];
    QRgb best = 0;
    int most = -1;
    for (const auto& [colour, n] : counts)
        if (n > most) best = colour, most = n;
    return best;
}

template <typename Test>
int Count(const QImage& picture, const QRect& area, Test test) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) n += test(picture.pixel(x, y)) ? 1 : 0;
    return n;
}

bool IsDark(QRgb p) {
    return qGray(p) < 100;
}
bool IsRed(QRgb p) {
    return qRed(p) > 150 && qGreen(p) < 110 && qBlue(p) < 110;
}

const QRgb kPaleGreen = qRgb(236, 245, 215);   // palette 52: headers and labels
const QRgb kLightGreen = qRgb(224, 255, 215);  // palette 39: computed amounts
const QRgb kWhite = qRgb(255, 255, 255);

TEST(BudgetPictureTest, DefaultSheetPictureCoversTheUsedRangeInItsColours) {
    DefaultBudget budget;
    const QImage picture = budget.Picture();

    // Column A and the rows under the grand totals hold nothing of their own.
    EXPECT_EQ(ss::RangeName(budget.UsedRange()), "B1:J66");
    const ss::Worksheet& sheet = budget.app.ActiveSheet();
    int width = 0, height = 0;
    for (int col = 1; col <= 9; ++col) width += ss::ColumnWidthPixels(sheet.ColumnWidth(col));
    for (int row = 0; row <= 65; ++row) height += ss::RowHeightPixels(sheet.RowHeight(row));
    EXPECT_EQ(picture.size(), QSize(width, height));
    EXPECT_EQ(picture.size(), QSize(1014, 1367));
    EXPECT_EQ(budget.Rect("B1:J66"), picture.rect());

    struct Expected {
        const char* a1;
        QRgb fill;
    };
    const Expected fills[] = {
        {"B14", kPaleGreen},       // "HOUSING", left half
        {"J26", kPaleGreen},       // "Difference" caption of "LOANS", right half
        {"B6:B8", kPaleGreen},     // "PROJECTED INCOME"
        {"G61:I62", kPaleGreen},   // "TOTAL PROJECTED COST"
        {"C25", kLightGreen},      // HOUSING projected subtotal
        {"J24", kLightGreen},      // ENTERTAINMENT difference subtotal
        {"E15", kLightGreen},      // an item's difference
        {"J6:J7", kLightGreen},    // projected balance
        {"J65:J66", kLightGreen},  // total difference
        {"C15", kWhite},           // an item's cost, left for the user
        {"B15", kWhite},           // an item's name
    };
    for (const Expected& e : fills) EXPECT_EQ(FillOf(picture, budget.Rect(e.a1)), e.fill) << e.a1;

    // The title is drawn in its merged area; the empty merged cell below it stays blank.
    EXPECT_GT(Count(picture, budget.Rect("B2:J4"), IsDark), 300);
    EXPECT_EQ(Count(picture, budget.Rect("B5:D5").adjusted(0, 0, -1, -1), IsDark), 0);
}

TEST(BudgetPictureTest, NegativeProjectedBalanceIsDrawnInRed) {
    DefaultBudget budget(sheet::IncomeAmounts{});  // every income 0
    const QRect balance = budget.Rect("J6:J7");
    EXPECT_EQ(Count(budget.Picture(), balance, IsRed), 0) << "a zero balance is not red";

    budget.app.Range("C15").SetFormulaR1C1(250.0);  // HOUSING, Mortgage or rent
    const QImage picture = budget.Picture();
    EXPECT_EQ(budget.app.Range("J6").Value2(), ss::Value(-250.0));
    EXPECT_GT(Count(picture, balance, IsRed), 30);
    EXPECT_EQ(Count(picture, budget.Rect("J8:J9"), IsRed), 0);  // actual balance stays 0
}

}  // namespace
}  // namespace quill::test
