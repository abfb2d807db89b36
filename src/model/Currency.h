// The currencies an amount can be shown in: their ISO 4217 codes, symbols and minor-unit
// digits, and the text of an amount in the user's locale.
//
//     const Currency euro = CurrencyOrUsd(store.GetSetting("Currency"));
//     box.setText(AmountDisplay(amount.Cents(), euro, QLocale()));  // "1.234,56 €" (de_DE)
//
// The currency changes only how amounts look: amounts stay cents, and files hold them in
// the plain form (Amount::Text()) whatever the currency.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include <QLocale>
#include <QString>

namespace quill::model {

struct Currency {
    QString code;    // ISO 4217, in capitals: "EUR"
    QString symbol;  // "€"; the locale's own symbol where it names its own currency (Symbol)
    int digits = 2;  // minor-unit digits: 2 for cents, 0 for the yen

    // The symbol shown under `locale`: the locale's own symbol when the locale's currency is
    // this one ("$" for CAD in Canada), else the table's ("CA$").
    QString Symbol(const QLocale& locale) const;

    friend bool operator==(const Currency&, const Currency&) = default;
};

// The code of the currency amounts are shown in when none is chosen.
inline constexpr const char* kDefaultCurrencyCode = "USD";

// The currencies to choose from: the common ones in a fixed order, then the default locale's
// own currency when it is another valid code.
std::vector<Currency> Currencies();

// The currency of an ISO code in any case ("eur", "EUR"), or nothing for a code that is not
// one of Currencies().
std::optional<Currency> FindCurrency(const QString& code);

// FindCurrency, or USD for an empty or unknown code (a stored value this version does not
// know).
Currency CurrencyOrUsd(const QString& code);

// The amount of `cents` as shown to the user: `locale`'s digits, decimal point and grouping,
// `currency`'s symbol where the locale puts it, and decimals only when there are cents:
// "$3,100" (en_US), "3.100 €" (de_DE), "1’234.56 CHF" (de_CH). The C locale shows the plain
// form, "$3000" and "$1234.56", as Amount::Text() writes it. A number is never changed to
// fit the currency: an amount with cents shows them also in a currency without minor units.
// Any non-negative number of cents (a sum may pass the largest amount).
QString AmountDisplay(std::int64_t cents, const Currency& currency, const QLocale& locale);

// Where `locale` puts a currency symbol: before or after the number, and what stands
// between them (a no-break space, or nothing). The C locale puts it before, with nothing
// between, as the plain form does.
struct SymbolPlacement {
    bool before = true;
    QString gap;
};
SymbolPlacement PlacementOf(const QString& symbol, const QLocale& locale);

}  // namespace quill::model
