// What keeps the budget sheet sound while a household fills it in: over-budget amounts
// highlighted, formulas and captions locked, amount cells validated.
#pragma once

#include <string>

#include "sheet/SectionPlan.h"
#include "spreadsheet/objectmodel/ObjectModel.h"

namespace quill::sheet {

// The guards of the sheet that `plan` laid out on the active sheet:
//  - the Difference cells of every item and subtotal, and the grand total difference, show
//    red on a light red fill while their amount is below 0, that is while the actual cost
//    is greater than the projected one;
//  - the items' Projected and Actual Cost cells and the four income cells are unlocked and
//    accept only a number from 0 to 1e12 (an input prompt says so, an error box titled
//    "Amount" refuses anything else; both name the amounts' `unit`, "dollars" or a code);
//  - the sheet is protected without a password, so every formula and caption stays as
//    built until the user lifts the protection.
void GuardBudgetSheet(spreadsheet::Application& app, const SheetPlan& plan,
                      const std::string& unit = "dollars");

}  // namespace quill::sheet
