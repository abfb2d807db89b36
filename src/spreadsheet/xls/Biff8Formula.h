// Formulas in the token form (rgce) that BIFF8 FORMULA records store.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "spreadsheet/formula/Formula.h"

namespace quill::spreadsheet::xls {

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

}  // namespace quill::spreadsheet::xls
