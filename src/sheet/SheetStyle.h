// The named values of the budget sheet's look: the amount format and the colour indices of
// the workbook palette that the builder installs.
#pragma once

#include <string>
#include <string_view>

#include <QLocale>

#include "model/AppState.h"
#include "model/Currency.h"
#include "spreadsheet/objectmodel/ObjectModel.h"

namespace quill::sheet {

// Whole dollars with thousands separators; negative amounts red and in parentheses.
inline constexpr std::string_view AmountFormat = "$#,##0_);[Red]($#,##0)";

// The amount format of `currency`: AmountFormat for USD; for any other currency its symbol
// as a quoted literal where `locale` puts it, and its minor-unit decimals, written with the
// file format's "," and "." (each reader shows its own separators): EUR under de_DE is
// #,##0.00 "€"_);[Red](#,##0.00 "€"), JPY "¥"#,##0_);[Red]("¥"#,##0).
std::string AmountFormatFor(const model::Currency& currency, const QLocale& locale);

// How the sheet shows its amounts and the paper its page set-up names.
struct SheetLook {
    std::string amountFormat{AmountFormat};
    int paperSize = spreadsheet::xl::kPaperA4;  // the spreadsheet's paper number
    // What the amount cells' prompts call the amounts: a word of the sheet, or a code.
    std::string unit = QT_TRANSLATE_NOOP("quill::sheet::Captions", "dollars");
};

SheetLook SheetLookFor(const model::Currency& currency, const QLocale& locale, Paper paper);

// Colour indices into the installed palette.
inline constexpr int kWhite = 2;        // the fill of every cell of the sheet
inline constexpr int kLightGreen = 39;  // formulas: amounts, subtotals, balances
inline constexpr int kPaleGreen = 52;   // captions: block titles, section headers, labels

}  // namespace quill::sheet
