// Formulas in R1C1 notation: parsing, the canonical text, evaluation of a workbook, and
// the conversion to and from the token form that .xls files store.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "spreadsheet/core/Workbook.h"

namespace quill::spreadsheet {

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

// The token bytes (rgce) of a formula standing in `anchor`, as a BIFF8 FORMULA record
// holds them. SUM arguments are reference-class tokens, all other operands value-class.
// A SUM with more than 30 arguments is written as nested SUMs of at most 30 arguments
// each, which adds up to the same total. Throws FormulaError when the formula cannot be
// written: a reference or the anchor outside the sheet, a text longer than 255
// characters, or more tokens than a record holds.
std::vector<std::uint8_t> EncodeBiff8(const Formula& formula, CellRef anchor);

// The formula of BIFF8 token bytes read from a FORMULA record at `anchor`. Reads what
// EncodeBiff8 writes (a split SUM reads back as the one SUM it came from) and the same
// formulas as other programs write them: references and areas of any class, the
// one-argument SUM attribute, blank-space and volatile attributes, SUM as a fixed or
// variable call, numbers as 16-bit or 8-byte values, 8- or 16-bit texts. Formula::r1c1
// is written from the tokens ("C" for a column offset of 0). The body of a shared
// formula (SHRFMLA, with its offset tokens) reads the same way with the anchor of the cell
// that uses it; the pointer to a shared formula (ptgExp) is for the caller to resolve.
// Throws FormulaError for unknown tokens or functions and for truncated or inconsistent
// bytes.
Formula DecodeBiff8(std::span<const std::uint8_t> rgce, CellRef anchor);

}  // namespace quill::spreadsheet
