// The budget sheet builder: turns the category table and the four income amounts into the
// formatted "Personal Finance" sheet of the application's active workbook.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "model/Amounts.h"
#include "model/AppState.h"
#include "model/CategoryTable.h"
#include "sheet/SheetStyle.h"
#include "spreadsheet/objectmodel/ObjectModel.h"

namespace quill::sheet {

// The amounts of the four income boxes, by box index: 0 projected income, 1 projected extra
// income, 2 actual extra income, 3 actual income. Their cells hold them exactly, cents
// included.
using IncomeAmounts = std::array<model::Amount, 4>;

// Builds the whole sheet on the active sheet of the active workbook: installs `palette` as
// the workbook's colours 1 to 56, formats the sheet, writes the header block, one section per
// group of `table` in two halves, the grand totals, the borders, the print area and the page
// set-up, and leaves cell C15 selected. Amounts take `look`'s number format, the page
// set-up its paper.
//
// The layout is planned before the first cell is touched, so a table that the sheet cannot
// hold (more than 200 groups, more rows than a .xls sheet has) throws quill::Failure
// with the sheet unchanged. Engine failures (EngineError) propagate.
void BuildBudgetSheet(spreadsheet::Application& app, const CategoryTable& table,
                      const IncomeAmounts& incomeAmounts, const Palette& palette,
                      const SheetLook& look = {});

// The sheet's key figures in words, for a listener who cannot see its picture: "Projected
// balance $3,100, actual balance $2,820, difference -$280, total projected cost $0, total
// actual cost $0." The totals are left out when the sheet has no category section. The
// figures are the cells' computed values (as Recalculate leaves them or a file stores
// them); one that is not a number reads as the cell's text, such as "#VALUE!". The amounts
// read in the sheet's `amountFormat` with a minus sign.
std::string KeyFiguresSummary(const spreadsheet::Worksheet& sheet,
                              std::string_view amountFormat = AmountFormat);

}  // namespace quill::sheet
