#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>

#include <QLocale>

#include "model/Amounts.h"
#include "shell/Failure.h"
#include "shell/Translations.h"
#include "support/QtPrinting.h"
#include "support/ScopedSettings.h"

namespace quill::model {
namespace {

using test::ScopedDefaultLocale;

constexpr std::int64_t kRefused = -1;

struct AmountCase {
    const char* locale;
    const char* text;       // UTF-8
    std::int64_t cents;     // kRefused: the text is not an amount
    const char* reasonHas;  // for a refused text: words of its reason
};

// Accepted and refused texts under a dot-decimal, a comma-decimal and a blank-grouping
// locale; every accepted amount's own text reads back as the same amount in each of them.
TEST(Amounts, ParseAmountReadsTheLocaleAndThePlainForm) {
    const AmountCase cases[] = {
        // Currency marks and blanks are left out; the plain form reads in every locale.
        {"en_US", "$3000", 300000, ""},
        {"en_US", "$3,000", 300000, ""},
        {"en_US", "3 000 USD", 300000, ""},
        {"en_US", "3\u00A0000", 300000, ""},
        {"en_US", "\u20AC 3\u202F000", 300000, ""},
        {"en_US", "\u00A312.5", 1250, ""},
        {"en_US", "EUR12", 1200, ""},
        {"en_US", "12.50", 1250, ""},
        {"en_US", "$12.50", 1250, ""},
        {"en_US", "1,234.56", 123456, ""},
        {"en_US", "1.234,56", 123456, ""},
        {"en_US", "1,234,567", 123456700, ""},
        {"en_US", "", 0, ""},
        {"en_US", " $ ", 0, ""},
        {"en_US", "007", 700, ""},
        {"en_US", "0000000000007", 700, ""},
        {"en_US", ".5", 50, ""},
        {"en_US", "0.125", 13, ""},  // half a cent rounds away from zero
        {"en_US", "0.1249", 12, ""},
        {"en_US", "999,999,999,999.99", 99'999'999'999'999, ""},
        // One separator: grouping only before exactly three digits and when it is the
        // locale's (or the plain) grouping separator; else the decimal point.
        {"en_US", "1,234", 123400, ""},
        {"en_US", "12,50", 1250, ""},
        {"en_US", "1.234", 123, ""},
        {"de_DE", "1.234,56", 123456, ""},
        {"de_DE", "1.234", 123400, ""},
        {"de_DE", "1,234", 123, ""},
        {"de_DE", "12,50", 1250, ""},
        {"de_DE", "12.50", 1250, ""},
        {"de_DE", "1.234.567", 123456700, ""},
        {"de_DE", "3.000 \u20AC", 300000, ""},
        {"de_DE", "1,234.56", 123456, ""},
        {"fr_FR", "1\u202F234,56", 123456, ""},
        {"fr_FR", "1 234 567,8", 123456780, ""},
        {"fr_FR", "3,000", 300, ""},
        {"fr_FR", "3.000", 300, ""},
        {"fr_FR", "12,5 EUR", 1250, ""},
        // Refused, with a reason.
        {"en_US", "-200", kRefused, "negative"},
        {"en_US", "$-5", kRefused, "negative"},
        {"fr_FR", "\u2212 5", kRefused, "negative"},
        {"en_US", "1e308", kRefused, "power of ten"},
        {"de_DE", "2E5", kRefused, "power of ten"},
        {"en_US", "abc", kRefused, "Letters"},
        {"en_US", "3000 dollars", kRefused, "Letters"},
        {"en_US", "usd 5", kRefused, "Letters"},
        {"en_US", "12$50", kRefused, "cannot be part"},
        {"en_US", "(200)", kRefused, "cannot be part"},
        {"en_US", "1234567890123", kRefused, "12 digits"},
        {"en_US", "999999999999.995", kRefused, "12 digits"},
        {"en_US", "1.2.3", kRefused, "one decimal point"},
        {"fr_FR", "1.000.000", kRefused, "one decimal point"},
        {"en_US", "1.234,5,6", kRefused, "one decimal point"},
        {"en_US", "1,23,456", kRefused, "grouped by threes"},
        {"en_US", "1,,000", kRefused, "grouped by threes"},
        {"de_DE", "1.23.456", kRefused, "grouped by threes"},
        {"en_US", "12.5 0", kRefused, "follow the decimal point"},
        {"en_US", ".", kRefused, "needs digits"},
    };
    const QLocale all[] = {QLocale(QStringLiteral("en_US")), QLocale(QStringLiteral("de_DE")),
                           QLocale(QStringLiteral("fr_FR"))};
    for (const AmountCase& c : cases) {
        const QLocale locale{QString::fromLatin1(c.locale)};
        const ParsedAmount parsed = ParseAmount(QString::fromUtf8(c.text), locale);
        SCOPED_TRACE(std::string(c.locale) + " \"" + c.text + "\"");
        if (c.cents == kRefused) {
            EXPECT_FALSE(parsed);
            EXPECT_TRUE(parsed.Reason().contains(QLatin1String(c.reasonHas)))
                << parsed.Reason().toStdString();
            EXPECT_THROW(parsed.Value(), std::logic_error);
            continue;
        }
        ASSERT_TRUE(parsed) << parsed.Reason().toStdString();
        EXPECT_EQ(parsed.Value().Cents(), c.cents);
        for (const QLocale& other : all) {
            const ParsedAmount again = ParseAmount(parsed.Value().Text(), other);
            ASSERT_TRUE(again) << again.Reason().toStdString();
            EXPECT_EQ(again.Value(), parsed.Value()) << other.name().toStdString();
        }
    }
}

TEST(Amounts, LeavingABoxNormalisesItsText) {
    // "$" and the plain amount, cents only when there are any; the number is the exact one.
    EXPECT_EQ(Amount::FromCents(300000).Text(), QStringLiteral("$3000"));
    EXPECT_EQ(Amount::FromCents(123456).Text(), QStringLiteral("$1234.56"));
    EXPECT_EQ(Amount::FromCents(50).Text(), QStringLiteral("$0.50"));
    EXPECT_EQ(Amount::FromCents(5).Text(), QStringLiteral("$0.05"));
    EXPECT_EQ(Amount().Text(), QStringLiteral("$0"));
    EXPECT_EQ(Amount::FromCents(123456).Number(), 1234.56);
    EXPECT_THROW(Amount::FromCents(-1), std::out_of_range);
    EXPECT_THROW(Amount::FromCents(Amount::kMaxCents + 1), std::out_of_range);

    // The incomes are read with the default locale; only accepted texts reach them.
    const ScopedDefaultLocale german(QLocale(QLocale::German, QLocale::Germany));
    const IncomeTexts incomes = {"$3000", "1.234,5", "x", "$2720"};
    EXPECT_EQ(IncomeAmount(incomes, IncomeField::ActualIncome), Amount::FromCents(272000));
    EXPECT_EQ(IncomeAmount(incomes, IncomeField::ProjectedExtraIncome), Amount::FromCents(123450));
    EXPECT_THROW(IncomeAmount(incomes, IncomeField::ActualExtraIncome), Failure);
}

// How every (locale, currency) pair shows an amount, and that what it shows reads back as
// the same amount: the locale's separators, the currency's symbol where the locale puts it,
// cents only when there are any; the C locale keeps the plain form. A currency without
// minor units refuses a fraction rather than rounding it.
TEST(Amounts, DisplayFollowsTheLocaleAndTheCurrencyAndReadsBack) {
    const struct {
        const char* locale;
        const char* currency;
        std::int64_t cents;
        const char* shown;  // UTF-8
    } shownCases[] = {
        {"C", "USD", 300000, "$3000"},
        {"C", "USD", 123456, "$1234.56"},
        {"C", "USD", 50, "$0.50"},
        {"C", "EUR", 123456, "\u20AC1234.56"},
        {"en_US", "USD", 310000, "$3,100"},
        {"en_US", "USD", 123405, "$1,234.05"},
        {"en_US", "CAD", 310000, "CA$3,100"},
        {"en_CA", "CAD", 310000, "$3,100"},
        {"en_US", "JPY", 310000, "\u00A53,100"},
        {"de_DE", "EUR", 310000, "3.100\u00A0\u20AC"},
        {"de_DE", "EUR", 123456, "1.234,56\u00A0\u20AC"},
        {"de_DE", "USD", 310000, "3.100\u00A0$"},
        {"de_CH", "CHF", 310000, "3\u2019100\u00A0CHF"},
        {"sv_SE", "SEK", 310050, "3\u00A0100,50\u00A0kr"},
        {"da_DK", "DKK", 310000, "3.100\u00A0kr."},
        {"pl_PL", "PLN", 310000, "3100\u00A0z\u0142"},
    };
    for (const auto& c : shownCases) {
        const QLocale locale(QString::fromLatin1(c.locale));
        EXPECT_EQ(AmountDisplay(c.cents, CurrencyOrUsd(QLatin1String(c.currency)), locale),
                  QString::fromUtf8(c.shown))
            << c.locale << " " << c.currency;
    }

    // Every currency in every locale of the table, and the symbols and codes typed by hand.
    const std::int64_t amounts[] = {0, 7, 50, 100, 123456, 100000000, Amount::kMaxCents};
    for (const char* name :
         {"C", "en_US", "en_CA", "de_DE", "de_CH", "fr_CH", "fr_FR", "sv_SE", "nb_NO", "da_DK",
          "pl_PL", "cs_CZ", "ja_JP", "nl_NL", "tr_TR", "ar_EG", "hi_IN"}) {
        const QLocale locale{QString::fromLatin1(name)};
        const ScopedDefaultLocale asDefault(locale);  // for the locale's own currency
        for (const Currency& currency : Currencies()) {
            for (const std::int64_t cents : amounts) {
                if (currency.digits == 0 && cents % 100 != 0) continue;
                const QString shown = AmountDisplay(cents, currency, locale);
                const ParsedAmount read = ParseAmount(shown, locale, currency);
                ASSERT_TRUE(read) << name << " " << currency.code << " " << shown << ": "
                                  << read.Reason();
                EXPECT_EQ(read.Value().Cents(), cents)
                    << name << " " << currency.code << " " << shown;
            }
            for (const QString& mark : {currency.code, currency.symbol}) {
                for (const QString& typed :
                     {mark + QStringLiteral(" 12"), QStringLiteral("12 ") + mark}) {
                    const ParsedAmount read = ParseAmount(typed, locale, currency);
                    ASSERT_TRUE(read) << name << " " << typed << ": " << read.Reason();
                    EXPECT_EQ(read.Value().Cents(), 1200) << name << " " << typed;
                }
            }
        }
    }

    // The stored plain form reads the same under every locale, whatever the currency.
    EXPECT_EQ(ParseAmount(QStringLiteral("$1234.56"), QLocale(QStringLiteral("de_CH")),
                          CurrencyOrUsd(QStringLiteral("CHF")))
                  .Value()
                  .Cents(),
              123456);
    EXPECT_EQ(ParseAmount(QStringLiteral("CHF 3'100"), QLocale(QStringLiteral("de_CH")),
                          CurrencyOrUsd(QStringLiteral("CHF")))
                  .Value()
                  .Cents(),
              310000);

    // A currency without minor units takes whole amounts only, and says why otherwise.
    const Currency yen = CurrencyOrUsd(QStringLiteral("jpy"));
    EXPECT_EQ(yen.code, "JPY");
    EXPECT_EQ(yen.digits, 0);
    const QLocale english(QStringLiteral("en_US"));
    EXPECT_EQ(ParseAmount(QStringLiteral("\u00A51,234"), english, yen).Value().Cents(), 123400);
    EXPECT_EQ(ParseAmount(QStringLiteral("1234.00"), english, yen).Value().Cents(), 123400);
    for (const char* fraction : {"1234.5", "0.01", "1,234.567"}) {
        const ParsedAmount refused = ParseAmount(QLatin1String(fraction), english, yen);
        EXPECT_FALSE(refused) << fraction;
        EXPECT_TRUE(refused.Reason().contains(QLatin1String("JPY"))) << refused.Reason();
    }
    // The same texts are amounts in a currency with cents; a lower-case code stays a word.
    EXPECT_EQ(ParseAmount(QStringLiteral("1234.5"), english, CurrencyOrUsd({})).Value().Cents(),
              123450);
    EXPECT_FALSE(ParseAmount(QStringLiteral("12 kr"), english, CurrencyOrUsd({})));
    EXPECT_FALSE(ParseAmount(QStringLiteral("12 sek"), english, CurrencyOrUsd({})));

    // Unknown codes are no currency; a stored one falls back to USD.
    EXPECT_FALSE(FindCurrency(QStringLiteral("XYZ")));
    EXPECT_EQ(CurrencyOrUsd(QStringLiteral("XYZ")).code, "USD");
    EXPECT_EQ(CurrencyOrUsd(QString()).code, "USD");
}

// A refusal in the language installed, its letter and example amount put in.
TEST(Amounts, RefusalsSpeakTheInstalledLanguage) {
    const QLocale german(QLocale::German, QLocale::Germany);
    const shell::Translations translations(shell::Program::Companion, german);
    EXPECT_EQ(ParseAmount(QStringLiteral("12x"), german).Reason(),
              QStringLiteral("Buchstaben wie „x“ können nicht Teil eines Betrags sein. Geben Sie "
                             "Ziffern ein, etwa 1.234,56."));
}

}  // namespace
}  // namespace quill::model
