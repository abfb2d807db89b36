#include "model/Amounts.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <QCoreApplication>
#include <QSet>
#include <QStringList>

#include "shell/Failure.h"

namespace quill::model {

namespace {

constexpr int kMaxIntegerDigits = 12;

// ---- Reasons -----------------------------------------------------------------------------

// An example amount in the locale's own form, "1,234.56" or "1.234,56".
QString ExampleAmount(const QLocale& locale) {
    return locale.toString(1234.56, 'f', 2);
}

QString NegativeReason() {
    return QCoreApplication::translate("quill::model::Amounts",
                                       "An amount cannot be negative: leave out the minus sign.");
}

QString ExponentReason() {
    return QCoreApplication::translate("quill::model::Amounts",
                                       "Write the amount out in digits; a power of ten such as "
                                       "1e5 is not an amount.");
}

QString LetterReason(const QString& letter, const QLocale& locale) {
    return QCoreApplication::translate("quill::model::Amounts",
                                       "Letters such as \"%1\" cannot be part of an amount. "
                                       "Type digits, such as %2.")
        .arg(letter, ExampleAmount(locale));
}

QString CharacterReason(const QString& character, const QLocale& locale) {
    return QCoreApplication::translate("quill::model::Amounts",
                                       "\"%1\" cannot be part of an amount. Type digits, such "
                                       "as %2.")
        .arg(character, ExampleAmount(locale));
}

QString NoDigitReason(const QLocale& locale) {
    return QCoreApplication::translate("quill::model::Amounts",
                                       "An amount needs digits, such as %1.")
        .arg(ExampleAmount(locale));
}

QString TooLargeReason() {
    return QCoreApplication::translate(
               "quill::model::Amounts",
               "An amount can have at most %1 digits before the decimal point.")
        .arg(kMaxIntegerDigits);
}

QString SeveralPointsReason() {
    return QCoreApplication::translate("quill::model::Amounts",
                                       "An amount can have only one decimal point.");
}

QString GroupingReason(const QLocale& locale) {
    return QCoreApplication::translate("quill::model::Amounts",
                                       "Digits are grouped by threes, as in %1, and the decimal "
                                       "point comes last.")
        .arg(locale.toString(1234567.89, 'f', 2));
}

QString WholeUnitsReason(const Currency& currency, const QLocale& locale) {
    return QCoreApplication::translate("quill::model::Amounts",
                                       "Amounts in %1 are whole numbers without decimals, such "
                                       "as %2.")
        .arg(currency.code, locale.toString(1234));
}

QString FractionReason() {
    return QCoreApplication::translate("quill::model::Amounts",
                                       "Only digits can follow the decimal point.");
}

// ---- Currency marks ------------------------------------------------------------------------

// The ISO 4217 codes of the currencies of every locale that Qt knows.
const QSet<QString>& CurrencyCodes() {
    static const QSet<QString> codes = [] {
        QSet<QString> found;
        for (const QLocale& locale : QLocale::matchingLocales(
                 QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory)) {
            const QString code = locale.currencySymbol(QLocale::CurrencyIsoCode);
            if (code.size() == 3) found.insert(code);
        }
        return found;
    }();
    return codes;
}

// `text` without format characters: direction marks, zero-width spaces that copied amounts
// and some locales' currency symbols carry.
QString WithoutFormatCharacters(const QString& text) {
    QString cleaned;
    cleaned.reserve(text.size());
    for (const QChar c : text)
        if (c.category() != QChar::Other_Format) cleaned += c;
    return cleaned;
}

// The chosen currency's own marks: its symbols (the table's and the locale's) and its code,
// as the text they are looked for in is cleaned, longest first, so that "kr." goes before
// "kr".
QStringList OwnMarks(const Currency& currency, const QLocale& locale) {
    QStringList marks;
    for (const QString& mark : {currency.code, currency.symbol, currency.Symbol(locale)})
        marks << WithoutFormatCharacters(mark).trimmed();
    marks.removeAll(QString());
    marks.removeDuplicates();
    std::sort(marks.begin(), marks.end(),
              [](const QString& a, const QString& b) { return a.size() > b.size(); });
    return marks;
}

// The length of the currency mark at the start (or the end) of `text`, 0 when there is
// none: the chosen currency's symbol or code ("kr", "zł", "CHF", "EUR"), a run of
// currency signs, the locale's currency symbol or an ISO code in capitals ("USD"; "all" or
// "try" stay words).
qsizetype CurrencyMark(QStringView text, const QLocale& locale, const QStringList& ownMarks,
                       bool atStart) {
    const qsizetype size = text.size();
    auto edge = [&](qsizetype n) { return atStart ? text.first(n) : text.last(n); };
    for (const QString& mark : ownMarks)
        if (mark.size() <= size && edge(mark.size()) == mark) return mark.size();
    qsizetype signs = 0;
    while (signs < size &&
           text[atStart ? signs : size - 1 - signs].category() == QChar::Symbol_Currency)
        ++signs;
    if (signs > 0) return signs;
    const QString symbol = locale.currencySymbol(QLocale::CurrencySymbol);
    if (!symbol.isEmpty() && symbol.size() <= size && edge(symbol.size()) == symbol)
        return symbol.size();
    if (size >= 3 && CurrencyCodes().contains(edge(3).toString())) return 3;
    return 0;
}

// `text` without format characters (direction marks, zero-width spaces that copied amounts
// carry), its outer blanks and its currency marks at either end.
QString AmountBody(const QString& text, const QLocale& locale, const Currency& currency) {
    const QStringList ownMarks = OwnMarks(currency, locale);
    const QString cleaned = WithoutFormatCharacters(text);
    QStringView body(cleaned);
    for (bool changed = true; changed;) {
        changed = false;
        body = body.trimmed();
        if (const qsizetype n = CurrencyMark(body, locale, ownMarks, true); n > 0) {
            body = body.sliced(n).trimmed();
            changed = true;
        }
        if (const qsizetype n = CurrencyMark(body, locale, ownMarks, false); n > 0) {
            body.chop(n);
            changed = true;
        }
    }
    return body.toString();
}

// ---- Digits and separators -------------------------------------------------------------------

bool IsApostrophe(QChar c) {
    return c == QLatin1Char('\'') || c == QChar(0x2019);
}

// What kind of separator `c` is: ' ' for every blank, '\'' for an apostrophe where the
// locale groups with one, the character itself for "." and "," and the locale's own
// separators; a null character when `c` is no separator.
QChar SeparatorKind(QChar c, const QLocale& locale) {
    if (c.isSpace()) return QLatin1Char(' ');
    if (c == QLatin1Char('.') || c == QLatin1Char(',')) return c;
    const QString group = locale.groupSeparator();
    if (group.size() == 1 && IsApostrophe(group[0]))
        return IsApostrophe(c) ? QLatin1Char('\'') : QChar();
    if (group.size() == 1 && c == group[0]) return c;
    const QString point = locale.decimalPoint();
    if (point.size() == 1 && c == point[0]) return c;
    return {};
}

bool IsMinus(QChar c, const QLocale& locale) {
    return c == QLatin1Char('-') || c == QChar(0x2212) || c == QChar(0x2012) ||
           c == QChar(0x2013) || QString(c) == locale.negativeSign();
}

// A run of digits (as '0' to '9') or one separator.
struct Piece {
    QChar separator;     // null for a run of digits
    std::string digits;  // the run's digits
    bool IsDigits() const { return separator.isNull(); }
};

// Whether the pieces before `end` form a well-grouped whole number: no separator, or groups
// of one to three digits first and exactly three after, all split by one kind of separator.
bool WellGrouped(const std::vector<Piece>& pieces, std::size_t end) {
    if (end == 0) return true;
    if (end == 1) return pieces[0].IsDigits();
    if (!pieces[0].IsDigits() || !pieces[end - 1].IsDigits()) return false;
    if (pieces[0].digits.size() > 3) return false;
    const QChar kind = pieces[1].separator;
    for (std::size_t i = 1; i < end; i += 2) {
        if (pieces[i].separator != kind || pieces[i + 1].digits.size() != 3) return false;
    }
    return true;
}

// Whether the pieces before `end` group a whole number exactly as the locale itself writes
// it: its own grouping may differ from groups of three ("10,00,000" in India, "1000 000" in
// Polish), and what the program shows must read back.
bool LocaleGrouped(const std::vector<Piece>& pieces, std::size_t end, const QLocale& locale) {
    const QString group = locale.groupSeparator();
    if (end < 3 || group.size() != 1) return false;
    const QChar kind = SeparatorKind(group[0], locale);
    std::string digits;
    std::vector<std::size_t> sizes;
    for (std::size_t i = 0; i < end; ++i) {
        if (!pieces[i].IsDigits() && pieces[i].separator != kind) return false;
        if (!pieces[i].IsDigits()) continue;
        digits += pieces[i].digits;
        sizes.push_back(pieces[i].digits.size());
    }
    if (digits.size() > 18) return false;
    const QString shown = locale.toString(std::stoll(digits));
    std::vector<std::size_t> shownSizes{0};
    for (const QChar c : shown) {
        if (c.isDigit())
            ++shownSizes.back();
        else if (shownSizes.back() > 0)
            shownSizes.push_back(0);
    }
    return sizes == shownSizes;
}

}  // namespace

// ---- Amount ----------------------------------------------------------------------------------

Amount Amount::FromCents(std::int64_t cents) {
    if (cents < 0 || cents > kMaxCents) throw std::out_of_range("An amount is out of range");
    return Amount(cents);
}

double Amount::Number() const {
    // Both are exact doubles; the division rounds once, to the double nearest the amount.
    return static_cast<double>(cents_) / 100.0;
}

QString CentsText(std::int64_t cents) {
    QString text = QLatin1Char('$') + QString::number(cents / 100);
    if (const std::int64_t fraction = cents % 100; fraction != 0)
        text += QLatin1Char('.') + QString::number(fraction).rightJustified(2, QLatin1Char('0'));
    return text;
}

QString Amount::Text() const {
    return CentsText(cents_);
}

QString Amount::Decimal() const {
    return Text().mid(1);
}

ParsedAmount ParsedAmount::Accepted(Amount amount) {
    ParsedAmount parsed;
    parsed.amount_ = amount;
    return parsed;
}

ParsedAmount ParsedAmount::Refused(QString reason) {
    ParsedAmount parsed;
    parsed.reason_ = std::move(reason);
    return parsed;
}

Amount ParsedAmount::Value() const {
    if (!amount_) throw std::logic_error("The text is not an amount: " + reason_.toStdString());
    return *amount_;
}

// ---- Reading -----------------------------------------------------------------------------

ParsedAmount ParseAmount(const QString& text, const QLocale& locale, const Currency& currency) {
    const QString body = AmountBody(text, locale, currency);
    if (body.isEmpty()) return ParsedAmount::Accepted(Amount());

    // Split into runs of digits and single separators; any other character refuses.
    std::vector<Piece> pieces;
    for (qsizetype i = 0; i < body.size(); ++i) {
        const QChar c = body[i];
        if (c.isDigit()) {
            if (pieces.empty() || !pieces.back().IsDigits()) pieces.push_back({});
            pieces.back().digits += static_cast<char>('0' + c.digitValue());
            continue;
        }
        if (const QChar kind = SeparatorKind(c, locale); !kind.isNull()) {
            if (!pieces.empty() && !pieces.back().IsDigits())
                return ParsedAmount::Refused(GroupingReason(locale));
            pieces.push_back({kind, {}});
            continue;
        }
        if (IsMinus(c, locale)) return ParsedAmount::Refused(NegativeReason());
        if ((c == QLatin1Char('e') || c == QLatin1Char('E')) && i > 0 && body[i - 1].isDigit())
            return ParsedAmount::Refused(ExponentReason());
        // A character outside the basic plane is shown whole, not as half of its pair.
        const QString shown = c.isHighSurrogate() && i + 1 < body.size() ? body.mid(i, 2) : c;
        if (c.isLetter()) return ParsedAmount::Refused(LetterReason(shown, locale));
        return ParsedAmount::Refused(CharacterReason(shown, locale));
    }

    // The separators that may be a decimal point, and which one is.
    const QString localePoint = locale.decimalPoint();
    const QString localeGroup = locale.groupSeparator();
    auto mayBePoint = [&](QChar kind) {
        return kind == QLatin1Char('.') || kind == QLatin1Char(',') || QString(kind) == localePoint;
    };
    std::vector<std::size_t> marks;
    QSet<QChar> markKinds;
    bool anyDigit = false;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (pieces[i].IsDigits()) {
            anyDigit = true;
        } else if (mayBePoint(pieces[i].separator)) {
            marks.push_back(i);
            markKinds.insert(pieces[i].separator);
        }
    }
    if (!anyDigit) return ParsedAmount::Refused(NoDigitReason(locale));

    std::size_t point = pieces.size();  // none
    if (markKinds.size() > 2) return ParsedAmount::Refused(GroupingReason(locale));
    if (markKinds.size() == 2) {
        // "1,234.56" and "1.234,56": the last mark is the point, the other one groups.
        point = marks.back();
        const QChar kind = pieces[point].separator;
        for (const std::size_t mark : marks)
            if (mark != point && pieces[mark].separator == kind)
                return ParsedAmount::Refused(SeveralPointsReason());
    } else if (markKinds.size() == 1) {
        const QChar kind = pieces[marks.front()].separator;
        const bool groups = QString(kind) == localeGroup || kind == QLatin1Char(',');
        if (marks.size() > 1) {
            if (!groups) return ParsedAmount::Refused(SeveralPointsReason());
        } else {
            // One mark: the decimal point, unless it can only be grouping here ("1,234"
            // under en_US, "1.234" under de_DE).
            const bool grouping = QString(kind) != localePoint && groups &&
                                  (WellGrouped(pieces, pieces.size()) ||
                                   LocaleGrouped(pieces, pieces.size(), locale));
            if (!grouping) point = marks.front();
        }
    }

    // The whole part, then the cents.
    if (!WellGrouped(pieces, point) && !LocaleGrouped(pieces, point, locale))
        return ParsedAmount::Refused(GroupingReason(locale));
    std::string fraction;
    if (point < pieces.size()) {
        if (pieces.size() > point + 2) return ParsedAmount::Refused(FractionReason());
        if (pieces.size() == point + 2) fraction = pieces[point + 1].digits;
    }
    std::string whole;
    for (std::size_t i = 0; i < point && i < pieces.size(); ++i) whole += pieces[i].digits;
    const std::size_t firstSignificant = whole.find_first_not_of('0');
    whole.erase(0, std::min(firstSignificant, whole.size()));
    if (whole.size() > kMaxIntegerDigits) return ParsedAmount::Refused(TooLargeReason());

    // A currency without minor units has no fraction to round away: the number stays as typed
    // or is refused.
    if (currency.digits == 0 && fraction.find_first_not_of('0') != std::string::npos)
        return ParsedAmount::Refused(WholeUnitsReason(currency, locale));

    std::int64_t cents = 0;
    for (const char digit : whole) cents = cents * 10 + (digit - '0');
    fraction.resize(std::max<std::size_t>(fraction.size(), 3), '0');
    cents = cents * 100 + (fraction[0] - '0') * 10 + (fraction[1] - '0');
    // Half a cent or more rounds up, away from zero.
    if (fraction[2] >= '5') ++cents;
    if (cents > Amount::kMaxCents) return ParsedAmount::Refused(TooLargeReason());
    return ParsedAmount::Accepted(Amount::FromCents(cents));
}

Amount IncomeAmount(const IncomeTexts& incomes, IncomeField field) {
    const ParsedAmount parsed = ParseAmount(incomes[IncomeIndex(field)]);
    if (!parsed) throw Failure(parsed.Reason());
    return parsed.Value();
}

std::array<Amount, 4> AllIncomeAmounts(const IncomeTexts& incomes) {
    std::array<Amount, 4> amounts{};
    for (const IncomeField field : kIncomeFields)
        amounts[IncomeIndex(field)] = IncomeAmount(incomes, field);
    return amounts;
}

}  // namespace quill::model
