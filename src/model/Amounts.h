// Amounts of money: the one reader of every amount the user types (the income boxes, the
// companion's --income options), the text an accepted amount is shown and stored as, and
// the locale's decimal separator.
//
//     const ParsedAmount parsed = ParseAmount(box.text());  // with the user's locale
//     if (!parsed) showReason(parsed.Reason());              // nothing else happens
//     else box.setText(parsed.Value().Text());               // "$1234.56"
//
// How a text is read:
// - Blanks of every kind (also no-break and narrow no-break spaces) and currency marks
//   at either end ($, €, £, ¥ and the other currency signs, ISO codes such as USD or EUR,
//   the locale's own currency symbol, the chosen currency's symbol and code such as "kr"
//   or "CHF") are left out. A text with nothing else is 0.
// - What remains is digits and separators. Blanks between digits group thousands.
// - When both "." and "," appear, the last one is the decimal point and the other one
//   groups thousands ("1,234.56" and "1.234,56" are both 1234.56, in every locale).
// - One kind of mark that appears several times groups thousands when it is the locale's
//   grouping separator or the plain one (","); otherwise the text has several decimal
//   points and is refused.
// - A mark that appears once is the decimal point, except when it is not the locale's
//   decimal point, is the locale's or the plain grouping separator, and is followed by
//   exactly three digits in well-formed groups: then it groups thousands. So "1,234" is
//   1234 and "12,50" is 12.50 under en_US; "1.234" is 1234 and "1,234" is 1.234 under de_DE.
// - Groups: the first has one to three digits, every other one exactly three, all
//   separated by the same kind of separator; or the groups the locale itself writes
//   ("10,00,000" under hi_IN, "1000 000" under pl_PL).
// - The amount keeps its cents: further decimals round half away from zero ("0.125" is
//   0.13). At most 12 digits before the decimal point.
// Refused: letters, a minus sign (amounts are never negative), exponents ("1e5"), more than
// 12 digits before the decimal point, several decimal points, malformed groups and any
// other character; the refusal says why in words a user understands.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include <QLocale>
#include <QString>

#include "model/Amount.h"
#include "model/AppState.h"
#include "model/Currency.h"

namespace quill::model {

// What reading an amount text gives: the amount, or why the text is not one.
class ParsedAmount {
  public:
    static ParsedAmount Accepted(Amount amount);
    static ParsedAmount Refused(QString reason);

    explicit operator bool() const { return amount_.has_value(); }
    // The amount. Throws std::logic_error when the text was refused.
    Amount Value() const;
    // Why the text was refused, one or two sentences; empty when it was accepted.
    const QString& Reason() const { return reason_; }

  private:
    std::optional<Amount> amount_;
    QString reason_;
};

// Reads `text` as an amount with `locale` and with the plain form (see above). The marks of
// `currency` (its symbols and code) are left out like "$"; in a currency
// without minor units (JPY) a text with a fraction is refused.
ParsedAmount ParseAmount(const QString& text, const QLocale& locale = QLocale(),
                         const Currency& currency = CurrencyOrUsd({}));

// The amount of one income box read with the default locale. Throws quill::Failure, with
// the reason, for a text that is not an amount: callers hand over only texts that were
// accepted.
Amount IncomeAmount(const IncomeTexts& incomes, IncomeField field);
// IncomeAmount of every box, in box order.
std::array<Amount, 4> AllIncomeAmounts(const IncomeTexts& incomes);

}  // namespace quill::model
