// The guards of the budget sheet, found from the sheet's own contents rather than from the
// builder's layout: exactly the amount cells are unlocked and validated, exactly the
// difference cells are highlighted, the sheet is protected; an over-budget row shows red on
// light red in the picture, also after the .xls file, and a sheet without amounts shows none.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <QImage>
#include <QTemporaryDir>

#include "DefaultBudget.h"
#include "model/DefaultCategorySet.h"
#include "model/WorkbookPalette.h"
#include "spreadsheet/formula/Formula.h"
#include "spreadsheet/render/SheetRenderer.h"
#include "spreadsheet/xls/XlsFile.h"
#include "spreadsheet/xls/XlsStream.h"

namespace quill::test {
namespace {

namespace ss = spreadsheet;

constexpr const char* kDifference = "=RC[-2]-RC[-1]";

bool HasFormula(const ss::Worksheet& sheet, ss::CellRef at, const char* text) {
    const ss::Cell* cell = at.col < ss::kMaxColumns ? sheet.Find(at) : nullptr;
    return cell != nullptr && cell->AsFormula() != nullptr && cell->AsFormula()->R1C1() == text;
}

// The first cell that holds `text`, row by row (in column `col` when given).
const ss::Cell* FindText(const ss::Worksheet& sheet, const std::string& text, ss::CellRef* at,
                         int col = -1) {
    for (const auto& [where, cell] : sheet.Cells())
        if (const auto* s = std::get_if<std::string>(&cell.content);
            s && *s == text && (col < 0 || where.col == col)) {
            *at = where;
            return &cell;
        }
    return nullptr;
}

// The cells a household types into: the income amounts (the numbers of rows 6 to 13), and
// the two cost cells before every item's difference (whose projected cost is no formula).
std::set<ss::CellRef> InputCells(const ss::Worksheet& sheet) {
    std::set<ss::CellRef> inputs;
    for (const auto& [at, cell] : sheet.Cells()) {
        if (at.row < 13 && std::holds_alternative<double>(cell.content)) inputs.insert(at);
        if (HasFormula(sheet, at, kDifference)) {
            const ss::Cell* projected = sheet.Find({at.row, at.col - 2});
            if (projected == nullptr || projected->AsFormula() == nullptr) {
                inputs.insert({at.row, at.col - 2});
                inputs.insert({at.row, at.col - 1});
            }
        }
    }
    return inputs;
}

// Cells of a list of areas, each once; `twice` counts the cells two areas share.
std::set<ss::CellRef> CellsOf(const std::vector<ss::RangeRef>& areas, int* twice) {
    std::set<ss::CellRef> cells;
    for (const ss::RangeRef& a : areas)
        for (int r = a.first.row; r <= a.last.row; ++r)
            for (int c = a.first.col; c <= a.last.col; ++c) *twice += !cells.insert({r, c}).second;
    return cells;
}

CategoryTable UnusualTable() {
    // A group without items between two with items, so that both halves have sections.
    CategoryTable table{{"1_", "0_", "FIRST", "FIRST"},
                        {"2_", "1_", "one", ""},
                        {"3_", "0_", "EMPTY", "EMPTY"},
                        {"4_", "0_", "LAST", "LAST"}};
    for (int i = 0; i < 9; ++i)
        table.push_back({QString::number(5 + i) + "_", "4_", "item " + QString::number(i), ""});
    return table;
}

TEST(SheetGuards, ExactlyTheAmountCellsAreOpenAndValidatedAndExactlyTheDifferencesHighlighted) {
    const std::pair<const char*, CategoryTable> tables[] = {
        {"default", model::DefaultCategorySet()}, {"unusual", UnusualTable()}};
    for (const auto& [name, table] : tables) {
        SCOPED_TRACE(name);
        ss::Application app;
        app.Workbooks().Add();
        sheet::BuildBudgetSheet(app, table, DefaultBudget::FirstRunIncomes(),
                                model::WorkbookPalette());
        const ss::Workbook& book = app.ActiveWorkbook();
        const ss::Worksheet& sheet = app.ActiveSheet();
        EXPECT_TRUE(sheet.isProtected);

        const std::set<ss::CellRef> inputs = InputCells(sheet);
        EXPECT_EQ(
            std::count_if(inputs.begin(), inputs.end(), [](ss::CellRef at) { return at.row < 13; }),
            4)
            << "the four incomes";
        // Every formula and caption locked, every input open (the sheet's default locked).
        EXPECT_TRUE(book.Format(sheet.DefaultFormat()).locked);
        for (const auto& [at, cell] : sheet.Cells())
            EXPECT_EQ(book.EffectiveFormat(sheet, at).locked, inputs.count(at) == 0)
                << ss::CellName(at);

        // One validation per input cell, on no other cell.
        std::vector<ss::RangeRef> validated;
        for (const ss::DataValidation& v : sheet.validations) {
            validated.insert(validated.end(), v.areas.begin(), v.areas.end());
            EXPECT_EQ(v.type, ss::ValidationType::Decimal);
            EXPECT_EQ(v.op, ss::Comparison::Between);
            EXPECT_EQ(v.first, 0);
            EXPECT_EQ(v.second, 1e12);
            EXPECT_EQ(v.alert, ss::ValidationAlert::Stop);
            EXPECT_EQ(v.errorTitle, "Amount");
            EXPECT_NE(v.errorMessage.find("0 to 1,000,000,000,000"), std::string::npos);
            EXPECT_FALSE(v.inputMessage.empty());
            EXPECT_TRUE(v.showInput && v.showError && v.ignoreBlank);
        }
        int twice = 0;
        EXPECT_EQ(CellsOf(validated, &twice), inputs);
        EXPECT_EQ(twice, 0);

        // Highlighted: every difference (items and subtotals) and the total difference.
        std::set<ss::CellRef> differences;
        for (const auto& [at, cell] : sheet.Cells())
            if (HasFormula(sheet, at, kDifference)) differences.insert(at);
        ss::CellRef label;
        ASSERT_TRUE(FindText(sheet, "TOTAL DIFFERENCE", &label));
        differences.insert({label.row, label.col + 3});
        differences.insert({label.row + 1, label.col + 3});  // its merged area's lower half
        std::vector<ss::RangeRef> highlighted;
        for (const ss::ConditionalFormat& rule : sheet.conditionalFormats) {
            highlighted.insert(highlighted.end(), rule.areas.begin(), rule.areas.end());
            EXPECT_EQ(rule.op, ss::Comparison::Less);
            EXPECT_EQ(rule.first, 0);
            EXPECT_EQ(rule.fontColor, 3) << "the sheet's red";
            EXPECT_EQ(rule.fill, 22);
        }
        EXPECT_EQ(CellsOf(highlighted, &twice), differences);
        EXPECT_EQ(twice, 0);
    }
}

// The most frequent colour inside a cell's rectangle, its edges left out.
QRgb FillOf(const QImage& picture, const QRect& cell) {
    std::map<QRgb, int> counts;
    const QRect inner = cell.adjusted(2, 2, -2, -2);
    for (int y = inner.top(); y <= inner.bottom(); ++y)
        for (int x = inner.left(); x <= inner.right(); ++x) ++counts[picture.pixel(x, y)];
    return std::max_element(counts.begin(), counts.end(),
                            [](const auto& a, const auto& b) { return a.second < b.second; })
        ->first;
}

int CountOf(const QImage& picture, QRgb colour) {
    int n = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) n += picture.pixel(x, y) == colour;
    return n;
}

TEST(SheetGuards, OverBudgetCellsShowRedOnLightRedBeforeAndAfterTheFile) {
    const QRgb lightRed = model::WorkbookPalette()[21] == 0x8080FF ? qRgb(255, 128, 128) : 0;
    ASSERT_NE(lightRed, 0u) << "palette entry 22 is the light red";
    DefaultBudget budget;
    EXPECT_EQ(CountOf(budget.Picture(), lightRed), 0) << "no amounts, no highlight";

    // Housing over budget in its first item; transportation (right half) under budget.
    budget.app.Range("C15").SetFormulaR1C1(1200.0);
    budget.app.Range("D15").SetFormulaR1C1(1300.0);
    budget.app.Range("H15").SetFormulaR1C1(60.0);
    budget.app.Range("I15").SetFormulaR1C1(50.0);
    const ss::Worksheet& sheet = budget.app.ActiveSheet();
    ss::CellRef subtotal, total;
    ASSERT_TRUE(FindText(sheet, "Subtotals", &subtotal, 1));  // the housing section's, in B
    ASSERT_TRUE(FindText(sheet, "TOTAL DIFFERENCE", &total));
    const std::string subtotalDifference = ss::CellName({subtotal.row, subtotal.col + 3});
    const std::string totalDifference =
        ss::RangeName({{total.row, total.col + 3}, {total.row + 1, total.col + 3}});
    const QImage before = budget.Picture();
    for (const std::string& a1 : {std::string("E15"), subtotalDifference, totalDifference})
        EXPECT_EQ(FillOf(before, budget.Rect(a1)), lightRed) << a1;
    for (const char* a1 : {"E16", "J15", "E6"})
        EXPECT_NE(FillOf(before, budget.Rect(a1)), lightRed) << a1;

    // Through the file: the same picture, and the same bytes once saved again.
    QTemporaryDir dir;
    const std::string path = dir.filePath("over.xls").toStdString();
    ss::SaveAs(budget.app.ActiveWorkbook(), path, ss::xl::kExcel8);
    ss::Workbook back = ss::LoadXls(path);
    ss::Recalculate(back);
    const QImage after = ss::RenderRange(back, *back.Sheets()[0], budget.UsedRange());
    EXPECT_EQ(after, before);
    EXPECT_EQ(ss::xls::WriteWorkbookStream(back),
              ss::xls::WriteWorkbookStream(budget.app.ActiveWorkbook()));
}

}  // namespace
}  // namespace quill::test
