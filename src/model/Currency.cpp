#include "model/Currency.h"

#include <array>

#include "model/Amount.h"

namespace quill::model {

namespace {

struct CurrencyEntry {
    const char* code;
    const char* symbol;  // UTF-8
    int digits;
};

// The common currencies, in the order the choice lists them. Symbols that other currencies
// share ("$", "kr") say which one they are where the user's locale does not tell it.
constexpr std::array<CurrencyEntry, 12> kCurrencies = {{
    {"USD", "$", 2},
    {"EUR", "\u20ac", 2},
    {"GBP", "\u00a3", 2},
    {"CHF", "CHF", 2},
    {"JPY", "\u00a5", 0},
    {"CAD", "CA$", 2},
    {"AUD", "A$", 2},
    {"SEK", "kr", 2},
    {"NOK", "kr", 2},
    {"DKK", "kr.", 2},
    {"PLN", "z\u0142", 2},
    {"CZK", "K\u010d", 2},
}};

Currency FromEntry(const CurrencyEntry& entry) {
    return {QString::fromLatin1(entry.code), QString::fromUtf8(entry.symbol), entry.digits};
}

bool ValidCode(const QString& code) {
    if (code.size() != 3 || code == QLatin1String("XXX")) return false;
    for (const QChar c : code)
        if (c < QLatin1Char('A') || c > QLatin1Char('Z')) return false;
    return true;
}

// The minor-unit digits of the locale's own currency, as the locale shows an amount of it.
int LocaleCurrencyDigits(const QLocale& locale) {
    const QString one = locale.toCurrencyString(1.0, QStringLiteral("X"));
    const qsizetype point = one.indexOf(locale.decimalPoint());
    if (point < 0) return 0;
    int digits = 0;
    for (qsizetype i = point + locale.decimalPoint().size(); i < one.size() && one[i].isDigit();
         ++i)
        ++digits;
    return digits;
}

// The currency of the locale itself when it is none of the table's: its code, its symbol
// (or the code, where the locale has none) and the digits the locale shows of it.
std::optional<Currency> LocaleOwnCurrency(const QLocale& locale) {
    const QString own = locale.currencySymbol(QLocale::CurrencyIsoCode);
    if (!ValidCode(own)) return std::nullopt;
    for (const CurrencyEntry& entry : kCurrencies)
        if (own == QLatin1String(entry.code)) return std::nullopt;
    QString symbol = locale.currencySymbol(QLocale::CurrencySymbol);
    if (symbol.isEmpty()) symbol = own;
    return Currency{own, symbol, LocaleCurrencyDigits(locale)};
}

}  // namespace

QString Currency::Symbol(const QLocale& locale) const {
    if (locale.currencySymbol(QLocale::CurrencyIsoCode) == code) {
        const QString own = locale.currencySymbol(QLocale::CurrencySymbol);
        if (!own.isEmpty()) return own;
    }
    return symbol;
}

std::vector<Currency> Currencies() {
    std::vector<Currency> currencies;
    for (const CurrencyEntry& entry : kCurrencies) currencies.push_back(FromEntry(entry));
    if (std::optional<Currency> own = LocaleOwnCurrency(QLocale())) currencies.push_back(*own);
    return currencies;
}

std::optional<Currency> FindCurrency(const QString& code) {
    const QString wanted = code.trimmed().toUpper();
    if (!ValidCode(wanted)) return std::nullopt;
    for (const CurrencyEntry& entry : kCurrencies)
        if (wanted == QLatin1String(entry.code)) return FromEntry(entry);
    std::optional<Currency> own = LocaleOwnCurrency(QLocale());
    if (own && own->code == wanted) return own;
    return std::nullopt;
}

Currency CurrencyOrUsd(const QString& code) {
    if (std::optional<Currency> found = FindCurrency(code)) return *found;
    return FromEntry(kCurrencies[0]);
}

SymbolPlacement PlacementOf(const QString& symbol, const QLocale& locale) {
    if (locale.language() == QLocale::C) return {};
    // The locale's pattern, shown for the amount 1: "$1", "1 €", "kr 1".
    const QString shown = locale.toCurrencyString(qlonglong(1), symbol);
    const QString one = locale.toString(qlonglong(1));
    const qsizetype number = shown.indexOf(one);
    const qsizetype at = shown.indexOf(symbol);
    if (number < 0 || at < 0) return {};
    if (at < number) return {true, shown.mid(at + symbol.size(), number - at - symbol.size())};
    return {false, shown.mid(number + one.size(), at - number - one.size())};
}

QString AmountDisplay(std::int64_t cents, const Currency& currency, const QLocale& locale) {
    // The C locale (also the system's, which would group thousands) shows the plain form.
    if (locale.language() == QLocale::C) return currency.Symbol(locale) + CentsText(cents).mid(1);
    QString number = locale.toString(qlonglong(cents / 100));
    if (const int fraction = static_cast<int>(cents % 100); fraction != 0) {
        number += locale.decimalPoint();
        if (fraction < 10) number += locale.zeroDigit();
        number += locale.toString(fraction);
    }
    const QString symbol = currency.Symbol(locale);
    const SymbolPlacement placement = PlacementOf(symbol, locale);
    return placement.before ? symbol + placement.gap + number : number + placement.gap + symbol;
}

}  // namespace quill::model
