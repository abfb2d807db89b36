// The picture applies a conditional format where its condition holds, and only there.
#include <gtest/gtest.h>

#include <string>
#include <variant>

#include <QColor>
#include <QImage>

#include "spreadsheet/formula/Formula.h"
#include "spreadsheet/render/SheetRenderer.h"

namespace quill::spreadsheet {
namespace {

TEST(ConditionalFormatPicture, FillShowsExactlyWhereTheConditionHolds) {
    Workbook book;
    Worksheet& sheet = book.AddSheet("Sheet1");
    sheet.SetDefaultFormat(book.AddFormat([] {
        CellFormat white;
        white.fill = 2;
        return white;
    }()));
    // Column B: what each cell holds; the rule covers B1:B8 and shows "below 0".
    struct Case {
        const char* what;
        std::variant<std::monostate, double, std::string> content;
        QRgb shown;
    };
    const QRgb white = qRgb(255, 255, 255);
    const QRgb lightRed = qRgb(0xFF, 0x80, 0x80);  // entries 22 and 4 of the standard palette
    const QRgb green = qRgb(0, 0xFF, 0);
    const Case cases[] = {
        {"a negative number", -1.0, lightRed},
        {"zero", 0.0, green},
        {"a positive number", 3.0, white},
        {"an empty cell (counts as 0)", std::monostate{}, green},
        {"a text", std::string("-5"), white},
        {"a formula computing below 0", std::string("=R[-5]C-10"), lightRed},
        {"a formula computing 0", std::string("=R[-5]C"), green},
        {"an error result", std::string("=1/0"), white},
    };
    for (int i = 0; i < static_cast<int>(std::size(cases)); ++i) {
        Cell& cell = sheet.At({i, 1});
        if (const auto* n = std::get_if<double>(&cases[i].content)) cell.content = *n;
        if (const auto* s = std::get_if<std::string>(&cases[i].content)) {
            if (s->front() == '=')
                cell.content = ParseFormulaR1C1(*s);
            else
                cell.content = *s;
        }
    }
    Recalculate(book);
    ConditionalFormat rule;
    rule.areas = {{{0, 1}, {7, 1}}};
    rule.op = Comparison::Less;
    rule.first = 0;
    rule.fontColor = 3;
    rule.fill = 22;
    sheet.conditionalFormats.push_back(rule);
    // A later rule applies where the first does not hold, never over it.
    rule.fill = 4;
    rule.fontColor = kColorAutomatic;
    rule.op = Comparison::LessOrEqual;
    sheet.conditionalFormats.push_back(rule);

    const QImage picture = RenderRange(book, sheet, {{0, 0}, {7, 2}});
    const int x = ColumnWidthPixels(8.43) + 3;
    for (int i = 0; i < static_cast<int>(std::size(cases)); ++i) {
        SCOPED_TRACE(cases[i].what);
        const int y = i * RowHeightPixels(Worksheet::kDefaultRowHeight) + 2;
        EXPECT_EQ(picture.pixel(x, y), cases[i].shown) << std::hex << picture.pixel(x, y);
        // The rule's font colour: the text of a highlighted cell is red.
        int red = 0;
        for (int px = x; px < 2 * ColumnWidthPixels(8.43) - 2; ++px)
            for (int py = y; py < y + RowHeightPixels(Worksheet::kDefaultRowHeight) - 3; ++py)
                red += qRed(picture.pixel(px, py)) > 200 && qGreen(picture.pixel(px, py)) < 64;
        EXPECT_EQ(red > 0, cases[i].shown == lightRed) << red;
        // Cells outside the rule's areas keep their own fill.
        EXPECT_EQ(picture.pixel(x + ColumnWidthPixels(8.43), y), white);
    }
}

}  // namespace
}  // namespace quill::spreadsheet
