#include <gtest/gtest.h>

#include "spreadsheet/objectmodel/ObjectModel.h"

namespace quill::spreadsheet {
namespace {

class ObjectModelTest : public ::testing::Test {
  protected:
    ObjectModelTest() { app.Workbooks().Add(); }
    const Worksheet& Sheet() { return app.ActiveSheet(); }
    const CellFormat& FormatAt(const char* a1) {
        return app.ActiveWorkbook().EffectiveFormat(Sheet(), ParseA1Range(a1).first);
    }
    Application app;
};

TEST_F(ObjectModelTest, NewWorkbookHasThreeSheetsAndSheetsCanBeReducedToOne) {
    EXPECT_EQ(app.Sheets().Count(), 3);
    app.Sheets().Delete(2);
    app.Sheets().Delete(2);
    EXPECT_EQ(app.Sheets().Count(), 1);
    EXPECT_THROW(app.Sheets().Delete(1), EngineError);  // a workbook keeps one sheet
    app.Sheets().Item(1).SetName("Invoice");
    EXPECT_EQ(app.ActiveSheet().Name(), "Invoice");
}

TEST_F(ObjectModelTest, SelectingMakesTheTopLeftCellActiveAndWritesGoThere) {
    app.Range("B6:B8").Select();
    EXPECT_EQ(app.ActiveCell().Row(), 6);
    EXPECT_EQ(app.ActiveCell().Column(), 2);
    app.ActiveCell().SetFormulaR1C1(std::string("PROJECTED INCOME"));
    app.Selection().Merge();
    EXPECT_EQ(app.Range("B6").FormulaR1C1(), "PROJECTED INCOME");
    EXPECT_EQ(app.Range("B7").FormulaR1C1(), "");
    ASSERT_EQ(Sheet().Merges().size(), 1u);
    EXPECT_EQ(Sheet().Merges()[0], ParseA1Range("B6:B8"));

    app.Range("C15").Select();
    app.Selection().Merge();  // one cell stays a plain cell
    EXPECT_EQ(Sheet().Merges().size(), 1u);
    EXPECT_EQ(app.ActiveCell().Offset(2, -1).Row(), 17);
    EXPECT_THROW(app.ActiveCell().Offset(-20, 0), EngineError);
}

TEST_F(ObjectModelTest, ClearEmptiesTheRangeAndSplitsTheMergedAreasItTouches) {
    app.Range("B2:J4").Merge();
    app.Range("B6:B8").Merge();
    app.Range("B2").SetFormulaR1C1(std::string("Personal Finance"));
    app.Range("B6").SetFormulaR1C1(std::string("PROJECTED INCOME"));
    app.Range("C3:C3").Clear();
    EXPECT_EQ(app.Range("B2").FormulaR1C1(), "Personal Finance");
    ASSERT_EQ(Sheet().Merges().size(), 1u);
    EXPECT_EQ(Sheet().Merges()[0], ParseA1Range("B6:B8"));
    app.Range("A1:B8").Clear();
    EXPECT_TRUE(Sheet().Merges().empty());
    EXPECT_EQ(Sheet().Find({5, 1}), nullptr);
}

TEST_F(ObjectModelTest, FormulaPropertyTellsFormulasNumbersAndTextsApart) {
    app.Range("E6").SetFormulaR1C1(std::string("3000"));
    app.Range("E7").SetFormulaR1C1(100.0);
    app.Range("E8").SetFormulaR1C1(std::string("=SUM(R[-2]C:R[-1]C)"));
    app.Range("B2").SetFormulaR1C1(std::string("Personal Finance"));
    app.Calculate();
    EXPECT_EQ(app.Range("E6").Value2(), Value(3000.0));
    EXPECT_EQ(app.Range("E8").FormulaR1C1(), "=SUM(R[-2]C:R[-1]C)");
    EXPECT_EQ(app.Range("E8").Value2(), Value(3100.0));
    EXPECT_EQ(app.Range("B2").Value2(), Value(std::string("Personal Finance")));

    app.Range("E6").SetFormulaR1C1(std::string(""));
    EXPECT_EQ(Sheet().Find({5, 4}), nullptr);  // emptied, no format of its own

    // Refused at once rather than stored as a cell that no file can hold.
    EXPECT_THROW(app.Range("E9").SetFormulaR1C1(std::string("=SUM(R[-2]C:")), EngineError);
    EXPECT_THROW(app.Range("A1").SetFormulaR1C1(std::string("=R[-1]C")), EngineError);
    EXPECT_EQ(Sheet().Find({8, 4}), nullptr);
}

TEST_F(ObjectModelTest, FontStyleTextsSetBoldAndItalicTogether) {
    auto font = app.Range("B25").Font();
    font.SetFontStyle("Bold");
    font.SetFontStyle("Italic");  // the later style replaces the earlier
    EXPECT_FALSE(FormatAt("B25").font.bold);
    EXPECT_TRUE(FormatAt("B25").font.italic);
    font.SetFontStyle("Bold Italic");
    EXPECT_TRUE(FormatAt("B25").font.bold && FormatAt("B25").font.italic);
    font.SetFontStyle("General");
    EXPECT_FALSE(FormatAt("B25").font.bold || FormatAt("B25").font.italic);
    EXPECT_THROW(font.SetColorIndex(57), EngineError);
}

TEST_F(ObjectModelTest, WholeSheetFormattingIsTheSheetDefaultAndNotUsedRange) {
    app.Range("B2").Font().SetSize(24);
    app.Cells().Select();
    app.Selection().Font().SetName("Arial");
    app.Selection().SetWrapText(true);
    app.Selection().Interior().SetColorIndex(2);
    app.Rows("14:300").SetRowHeight(15.75);
    app.Columns("B:B").SetColumnWidth(31.29);

    EXPECT_LE(Sheet().Cells().size(), 1u);
    EXPECT_EQ(FormatAt("Z999").fill, 2);
    EXPECT_TRUE(FormatAt("Z999").wrap);
    // The cell formatted before keeps its own size and takes the sheet-wide changes too.
    EXPECT_EQ(FormatAt("B2").font.size, 24);
    EXPECT_EQ(FormatAt("B2").fill, 2);
    ASSERT_TRUE(Sheet().UsedRange());
    EXPECT_EQ(*Sheet().UsedRange(), ParseA1Range("B2"));
    EXPECT_DOUBLE_EQ(Sheet().RowHeight(299), 15.75);
    EXPECT_DOUBLE_EQ(Sheet().RowHeight(300), Worksheet::kDefaultRowHeight);
}

TEST_F(ObjectModelTest, BordersGoOnTheEdgesAndBetweenTheCellsOfARange) {
    auto range = app.Range("B6:C7");
    for (int index = xl::kEdgeLeft; index <= xl::kInsideHorizontal; ++index)
        range.Borders(index).SetLineStyle(xl::kContinuous);
    for (const char* cell : {"B6", "C6", "B7", "C7"}) {
        for (Edge e : {Edge::Left, Edge::Right, Edge::Top, Edge::Bottom})
            EXPECT_EQ(FormatAt(cell).Border(e), LineStyle::Thin) << cell;
    }
    auto single = app.Range("E10");
    single.Borders(xl::kEdgeTop).SetLineStyle(xl::kContinuous);
    single.Borders(xl::kInsideVertical).SetLineStyle(xl::kContinuous);  // nothing inside
    EXPECT_EQ(FormatAt("E10").Border(Edge::Top), LineStyle::Thin);
    EXPECT_EQ(FormatAt("E10").Border(Edge::Left), LineStyle::None);
    EXPECT_EQ(FormatAt("E10").Border(Edge::Right), LineStyle::None);
    EXPECT_THROW(range.Borders(13), EngineError);
}

TEST_F(ObjectModelTest, PageSetupTakesPointsAndPrintArea) {
    auto setup = app.PageSetup();
    setup.SetPrintArea("A1:J73");
    setup.SetLeftMargin(app.InchesToPoints(0.7));
    setup.SetZoom(false);
    setup.SetFitToPagesWide(1);
    EXPECT_EQ(setup.PrintArea(), "A1:J73");
    EXPECT_DOUBLE_EQ(Sheet().pageSetup.leftMargin, 0.7);
    EXPECT_TRUE(Sheet().pageSetup.fitToPages);
    EXPECT_THROW(setup.SetPrintArea("A1:J99999"), EngineError);
}

TEST_F(ObjectModelTest, NothingWorksAfterQuit) {
    app.Quit();
    EXPECT_THROW(app.Workbooks(), EngineError);
    EXPECT_THROW(app.Range("A1"), EngineError);
    EXPECT_THROW(app.InchesToPoints(1), EngineError);
}

}  // namespace
}  // namespace quill::spreadsheet

namespace quill::spreadsheet {
namespace {

// Each format change is remembered per starting format. Changes that share a value but set
// different attributes (centring across and down, bold and italic, a font colour and a
// fill) and the same change met again from another starting format must each give what a
// fresh change gives.
TEST_F(ObjectModelTest, RememberedFormatChangesGiveWhatAFreshChangeGives) {
    auto apply = [&](const char* a1, int step) {
        Range r = app.Range(a1);
        switch (step) {
            case 0:
                r.SetHorizontalAlignment(xl::kCenter);
                break;
            case 1:
                r.SetVerticalAlignment(xl::kCenter);
                break;
            case 2:
                r.Font().SetBold(true);
                break;
            case 3:
                r.Font().SetItalic(true);
                break;
            case 4:
                r.Font().SetColorIndex(3);
                break;
            case 5:
                r.Interior().SetColorIndex(3);
                break;
            case 6:
                r.SetNumberFormat("0.00");
                break;
            case 7:
                r.Font().SetName("0.00");
                break;
            case 8:
                r.Borders(xl::kEdgeTop).SetLineStyle(xl::kContinuous);
                break;
            default:
                r.Borders(xl::kEdgeBottom).SetLineStyle(xl::kContinuous);
                break;
        }
    };
    // Row 1 takes each change once, from the default format: the fresh results.
    const char* fresh[] = {"A1", "B1", "C1", "D1", "E1", "F1", "G1", "H1", "I1", "J1"};
    for (int step = 0; step < 10; ++step) apply(fresh[step], step);
    // Rows 2 and 3 take them again in one cell each, one after the other, so every change
    // after the first starts from a format met before only in row 2.
    for (const char* cell : {"A2", "A3"})
        for (int step = 0; step < 10; ++step) apply(cell, step);

    CellFormat expected;
    expected.hAlign = HAlign::Center;
    expected.vAlign = VAlign::Center;
    expected.font.bold = true;
    expected.font.italic = true;
    expected.font.colorIndex = 3;
    expected.fill = 3;
    expected.numberFormat = "0.00";
    expected.font.name = "0.00";
    expected.SetBorder(Edge::Top, LineStyle::Thin);
    expected.SetBorder(Edge::Bottom, LineStyle::Thin);
    EXPECT_EQ(FormatAt("A2"), expected);
    EXPECT_EQ(FormatAt("A3"), expected);
    EXPECT_EQ(FormatAt("B1").vAlign, VAlign::Center);
    EXPECT_EQ(FormatAt("B1").hAlign, HAlign::General);
    EXPECT_EQ(FormatAt("E1").font.colorIndex, 3);
    EXPECT_EQ(FormatAt("E1").fill, kNoFill);
    EXPECT_EQ(FormatAt("H1").font.name, "0.00");
    EXPECT_EQ(FormatAt("H1").numberFormat, "General");
    EXPECT_EQ(FormatAt("J1").Border(Edge::Bottom), LineStyle::Thin);
    EXPECT_EQ(FormatAt("J1").Border(Edge::Top), LineStyle::None);
}

}  // namespace
}  // namespace quill::spreadsheet
