// The cell operations on a fresh engine sheet: the cases where the order of the object-model
// calls decides the result.
#include <gtest/gtest.h>

#include <stdexcept>

#include "sheet/FormattingOperations.h"

namespace quill::sheet {
namespace {

namespace ss = spreadsheet;

class FormattingOperationsTest : public ::testing::Test {
  protected:
    FormattingOperationsTest() { app.Workbooks().Add(); }

    const ss::CellFormat& FormatOf(const char* a1) { return app.Range(a1).TopLeftFormat(); }

    ss::Application app;
};

TEST_F(FormattingOperationsTest, WriteCellMergesOnlyRealRanges) {
    WriteCell(app, "C3", "x", true);
    EXPECT_TRUE(app.ActiveSheet().Merges().empty());
    EXPECT_EQ(app.Range("C3").FormulaR1C1(), "x");

    WriteCell(app, "$B$2:$B$4", "=R[1]C[1]", true);
    ASSERT_EQ(app.ActiveSheet().Merges().size(), 1u);
    EXPECT_EQ(ss::RangeName(app.ActiveSheet().Merges()[0]), "B2:B4");
    EXPECT_EQ(app.Range("B2").FormulaR1C1(), "=R[1]C[1]");

    // An empty range text writes the active cell of the current selection.
    app.Range("E5:F5").Select();
    WriteCell(app, "", "3000", false);
    EXPECT_EQ(app.Range("E5").FormulaR1C1(), "3000");
    EXPECT_TRUE(app.Range("F5").FormulaR1C1().empty());
}

TEST_F(FormattingOperationsTest, AlignmentFlagsApplyInOrderAndLeaveTheRestAlone) {
    app.Range("B2").Select();
    SetAlignment(app, {.centerHorizontally = true, .alignRight = true});
    EXPECT_EQ(FormatOf("B2").hAlign, ss::HAlign::Right);
    EXPECT_EQ(FormatOf("B2").vAlign, ss::VAlign::Bottom);
    EXPECT_FALSE(FormatOf("B2").wrap);

    SetAlignment(app, {.centerVertically = true, .wrap = true});
    EXPECT_EQ(FormatOf("B2").hAlign, ss::HAlign::Right);
    EXPECT_EQ(FormatOf("B2").vAlign, ss::VAlign::Center);
    EXPECT_TRUE(FormatOf("B2").wrap);
}

TEST_F(FormattingOperationsTest, LaterFontStyleReplacesEarlier) {
    app.Range("A1").Select();
    SetFont(app, "Bold", 9, ss::xl::kAutomatic);
    SetFont(app, "Italic", 9, ss::xl::kAutomatic);
    EXPECT_FALSE(FormatOf("A1").font.bold);
    EXPECT_TRUE(FormatOf("A1").font.italic);

    SetFont(app, "General", 30, ss::xl::kAutomatic);
    EXPECT_FALSE(FormatOf("A1").font.italic);
    EXPECT_EQ(FormatOf("A1").font.size, 30);
}

TEST_F(FormattingOperationsTest, BordersDrawOnlyTheFlaggedLines) {
    ApplyBorders(app, "B2:C3", {.left = true, .insideVertical = true});
    EXPECT_EQ(FormatOf("B2").Border(ss::Edge::Left), ss::LineStyle::Thin);
    EXPECT_EQ(FormatOf("B2").Border(ss::Edge::Right), ss::LineStyle::Thin);  // inside line
    EXPECT_EQ(FormatOf("B2").Border(ss::Edge::Top), ss::LineStyle::None);
    EXPECT_EQ(FormatOf("C3").Border(ss::Edge::Right), ss::LineStyle::None);
    EXPECT_EQ(FormatOf("C3").Border(ss::Edge::Bottom), ss::LineStyle::None);

    ApplyBorders(app, "E5:F6", kAllBorders);
    for (const char* cell : {"E5", "F5", "E6", "F6"})
        for (const ss::Edge edge :
             {ss::Edge::Left, ss::Edge::Right, ss::Edge::Top, ss::Edge::Bottom})
            EXPECT_EQ(FormatOf(cell).Border(edge), ss::LineStyle::Thin) << cell;
}

}  // namespace
}  // namespace quill::sheet
