// The default budget sheet (the default categories and the first run's incomes, or other
// incomes) built on the embedded engine, with the geometry of its picture: the picture
// shows the sheet's used range, one pixel size per column width and row height.
#pragma once

#include <string>

#include <QImage>
#include <QRect>

#include "sheet/BudgetSheet.h"
#include "spreadsheet/objectmodel/ObjectModel.h"

namespace quill::test {

class DefaultBudget {
  public:
    // "$3000", "$100", "$100", "$2720" as amounts, by income box.
    static sheet::IncomeAmounts FirstRunIncomes();

    explicit DefaultBudget(const sheet::IncomeAmounts& incomes = FirstRunIncomes());

    spreadsheet::Application app;

    spreadsheet::RangeRef UsedRange();
    // Computes the formulas and draws the used range, as the picture step does.
    QImage Picture();
    // Where a cell or a range of cells lies in the picture.
    QRect Rect(const std::string& a1);
};

}  // namespace quill::test
