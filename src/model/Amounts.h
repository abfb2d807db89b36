// Income amounts: whole currency units made of the digits of an income box's text, the
// text a box takes when the user leaves it, and the locale's decimal separator.
#pragma once

#include <array>
#include <cstdint>

#include <QString>

#include "model/AppState.h"

namespace quill::Options {

// The number made of all decimal digits of `text`, in order; every other character is
// dropped ("$3,000" and "3 000 USD" give 3000, "$12.50" gives 1250, "-200" gives 200).
// No digit gives 0. A number above 2147483647 gives 2147483647, the largest amount.
std::int32_t DigitsValue(const QString& text);

// DigitsValue of income box `index` (0 to 3). Throws std::out_of_range for other indices.
std::int32_t IncomeAmount(const IncomeTexts& incomes, int index);
// IncomeAmount of every box, in box order.
std::array<std::int32_t, 4> AllIncomeAmounts(const IncomeTexts& incomes);

// The text a box holds after the user leaves it: "$" and the plain amount ("$12345" for
// "1,234.5"). Any text is accepted; nothing throws, so that the box always shows exactly
// the amount that the sheet will use.
QString ValidatedIncomeText(const QString& text);

// The decimal separator of the default locale: the second character of one half written
// in that locale ("." or ",").
QString DecimalSeparator();

// `text` with every "." and "," replaced by the locale's decimal separator ("16.0" gives
// "16,0" where one half is written 0,5).
QString LocalizeDecimalText(const QString& text);

}  // namespace quill::Options
