#include "sheet/SheetGuards.h"

#include <string>

#include "sheet/HeaderGrid.h"
#include "sheet/SheetText.h"

namespace quill::sheet {

namespace xl = spreadsheet::xl;

namespace {

// Palette entries of the highlight: the sheet's red, and a light red fill.
constexpr int kRed = 3;
constexpr int kLightRed = 22;

// The name columns of the two halves (B and G); a section's amounts stand in the three
// columns to the right of its names.
constexpr int kLeftNameColumn = 2;
constexpr int kRightNameColumn = 7;
constexpr int kProjectedColumn = 1;
constexpr int kDifferenceColumn = 3;
// The grand total difference is the third of the two-row grand-total blocks.
constexpr int kTotalDifferenceOffset = 4;
constexpr int kGrandTotalBlockRows = 2;

// What an amount cell accepts.
constexpr double kLeastAmount = 0;
constexpr double kGreatestAmount = 1e12;
constexpr const char* kAmountTitle = QT_TRANSLATE_NOOP("quill::sheet::Captions", "Amount");
// "%1" is the unit: "dollars", or the code of another currency.
constexpr const char* kAmountPrompt =
    QT_TRANSLATE_NOOP("quill::sheet::Captions",
                      "Type an amount in %1: a number from 0 to 1,000,000,000,000, such as 250 "
                      "or 99.95.");
constexpr const char* kAmountRefusal = QT_TRANSLATE_NOOP(
    "quill::sheet::Captions",
    "This cell takes an amount in %1: a number from 0 to 1,000,000,000,000, such as 250 "
    "or 99.95. Text, minus signs and larger numbers are not allowed.");

// A text of the amount cells in the sheet's language with its unit put in; the unit is a
// word of the sheet ("dollars") or a currency's code, which stays as it is.
std::string InUnit(const char* text, const std::string& unit) {
    std::string filled = SheetText(text);
    filled.replace(filled.find("%1"), 2, SheetText(unit.c_str()));
    return filled;
}

int NameColumn(Half half) {
    return half == Half::Left ? kLeftNameColumn : kRightNameColumn;
}

// Rows and columns from 1, as the sheet builder counts them.
spreadsheet::Range Cells(spreadsheet::Application& app, int firstRow, int firstColumn, int lastRow,
                         int lastColumn) {
    auto name = [](int row, int column) {
        return spreadsheet::ColumnName(column - 1) + std::to_string(row);
    };
    return app.Range(name(firstRow, firstColumn) + ":" + name(lastRow, lastColumn));
}

void OpenForAmounts(spreadsheet::Range cells, const std::string& unit) {
    cells.SetLocked(false);
    spreadsheet::RangeValidation validation = cells.Validation();
    validation.Add(xl::kValidateDecimal, xl::kValidAlertStop, xl::kBetween, kLeastAmount,
                   kGreatestAmount);
    validation.SetIgnoreBlank(true);
    validation.SetInputTitle(SheetText(kAmountTitle));
    validation.SetInputMessage(InUnit(kAmountPrompt, unit));
    validation.SetErrorTitle(SheetText(kAmountTitle));
    validation.SetErrorMessage(InUnit(kAmountRefusal, unit));
}

// A Difference is the projected cost minus the actual one: below 0 is over budget.
void HighlightOverBudget(spreadsheet::Range differences) {
    spreadsheet::FormatCondition condition =
        differences.FormatConditions().Add(xl::kCellValue, xl::kLess, 0);
    condition.SetFontColorIndex(kRed);
    condition.SetInteriorColorIndex(kLightRed);
}

}  // namespace

void GuardBudgetSheet(spreadsheet::Application& app, const SheetPlan& plan,
                      const std::string& unit) {
    const HeaderGridTable grid = HeaderGrid();
    for (int row = 1; row <= kHeaderRows; ++row)
        for (int column = 1; column <= kHeaderColumns; ++column)
            if (grid[static_cast<std::size_t>(row - 1)][static_cast<std::size_t>(column - 1)]
                    .content == HeaderContent::IncomeAmount)
                OpenForAmounts(Cells(app, row, column, row, column), unit);

    for (const GroupPlan& group : plan.groups) {
        const int column = NameColumn(group.half);
        const int firstItem = group.HeaderRow() + 1;
        if (group.ItemCount() > 0)
            OpenForAmounts(Cells(app, firstItem, column + kProjectedColumn, group.SubtotalRow() - 1,
                                 column + kProjectedColumn + 1),
                           unit);
        HighlightOverBudget(Cells(app, firstItem, column + kDifferenceColumn, group.SubtotalRow(),
                                  column + kDifferenceColumn));
    }
    if (plan.HasTotals()) {
        const int row = plan.totalRow + kTotalDifferenceOffset;
        const int column = NameColumn(plan.totalsHalf) + kDifferenceColumn;
        HighlightOverBudget(Cells(app, row, column, row + kGrandTotalBlockRows - 1, column));
    }
    spreadsheet::Protect(app.ActiveSheet());
}

}  // namespace quill::sheet
