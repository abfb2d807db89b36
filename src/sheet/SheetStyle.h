// The named values of the budget sheet's look: the amount format and the colour indices of
// the workbook palette that the builder installs.
#pragma once

#include <string_view>

namespace quill::sheet {

// Whole dollars with thousands separators; negative amounts red and in parentheses.
inline constexpr std::string_view AmountFormat = "$#,##0_);[Red]($#,##0)";

// Colour indices into the installed palette.
inline constexpr int kWhite = 2;        // the fill of every cell of the sheet
inline constexpr int kLightGreen = 39;  // formulas: amounts, subtotals, balances
inline constexpr int kPaleGreen = 52;   // captions: block titles, section headers, labels

}  // namespace quill::sheet
