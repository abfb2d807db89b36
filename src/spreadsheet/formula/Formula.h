// Formulas in R1C1 notation: parsing, the canonical text and evaluation of a workbook. The
// token form that .xls files store is xls/Biff8Formula.h.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "spreadsheet/core/Workbook.h"

namespace quill::spreadsheet::formula {

// A parse or encoding failure of a formula; the message names the formula text.
class FormulaError : public EngineError {
  public:
    using EngineError::EngineError;
};

// Parses a formula text that begins with "=" in R1C1 notation: references R[-2]C, RC[-1],
// R5C3, mixed R[1]C3, whole rows R / R[1] / R5 and whole columns C / C[-1] / C2, ranges of
// two references, SUM with one or more arguments (any case), + - * /, unary minus and
// plus, parentheses, numbers (1, 1.5, .5, 1E-3) and quoted texts ("a ""b"""). Blanks
// between tokens are allowed. Formula::r1c1 keeps the text as written, with surrounding
// blanks removed and every letter outside quoted texts in upper case, so "=R[-6]C[0]"
// stays "=R[-6]C[0]". Throws FormulaError naming the text and the position (counted from
// 1) where reading failed; formulas nested more than 256 levels deep are refused.
Formula ParseFormulaR1C1(std::string_view text);

// The formula in A1 notation as seen from `anchor` ("=SUM(E15:E24)"); absolute parts get
// "$", whole rows and columns read "15:15" and "E:E", a reference that lands outside the
// sheet reads "#REF!".
std::string FormulaToA1(const Formula& formula, CellRef anchor);

// Computes every formula of every sheet and stores the result in Cell::cached (and clears
// Cell::cached of every other cell). Values:
// - SUM adds the numbers in the cells its references name, skipping texts, logicals and
//   empty cells; other arguments must be numbers (a text argument gives #VALUE!).
// - In arithmetic an empty cell counts as 0 and a text gives #VALUE!.
// - A multi-cell range used as a value stands for its cell in the formula's own row or
//   column, else #VALUE!.
// - References outside the sheet give #REF!, division by zero #DIV/0!, a result too big
//   for a number #NUM!; the first error met (left to right) passes on unchanged.
// - Every cell of a circular reference gets #VALUE! (cells that only read the cycle see
//   that error). A formula that shows an empty cell shows 0.
// Works without recursion over cells, so chains of any length are safe.
void Recalculate(Workbook& workbook);

}  // namespace quill::spreadsheet::formula

// The engine's formulas, named from its root as the rest of the engine does.
namespace quill::spreadsheet {
using formula::FormulaError;
using formula::FormulaToA1;
using formula::ParseFormulaR1C1;
using formula::Recalculate;
}  // namespace quill::spreadsheet
