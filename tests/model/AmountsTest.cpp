#include <gtest/gtest.h>

#include <stdexcept>

#include <QLocale>

#include "QtPrinting.h"
#include "model/Amounts.h"

namespace quill::Options {
namespace {

TEST(Amounts, DigitsValueKeepsOnlyTheDigits) {
    const auto expect = [](std::int32_t value, std::initializer_list<const char*> texts) {
        for (const char* text : texts) EXPECT_EQ(DigitsValue(text), value) << text;
    };
    expect(3000, {"$3000", "$3,000", "3 000 USD"});
    expect(0, {"letters", ""});
    expect(7, {"007", "0000000000007"});
    expect(1250, {"$12.50", "12,50"});  // fraction digits run on into the number
    expect(200, {"-200"});
    // Ten or more digits stop at the largest amount instead of overflowing.
    expect(2147483647, {"2147483647", "2147483648", "99999999999999999999"});
}

TEST(Amounts, LeavingABoxNormalisesItsText) {
    EXPECT_EQ(ValidatedIncomeText(QStringLiteral("1,234.5")), QStringLiteral("$12345"));
    EXPECT_EQ(ValidatedIncomeText(QStringLiteral("$100")), QStringLiteral("$100"));
    EXPECT_EQ(ValidatedIncomeText(QStringLiteral("none")), QStringLiteral("$0"));
    EXPECT_EQ(ValidatedIncomeText(QStringLiteral("12345678901")), QStringLiteral("$2147483647"));

    const IncomeTexts incomes = {"$3000", "$100", "x", "$2,720"};
    EXPECT_EQ(IncomeAmount(incomes, 3), 2720);
    EXPECT_EQ(IncomeAmount(incomes, 2), 0);
    EXPECT_THROW(IncomeAmount(incomes, 4), std::out_of_range);
}

TEST(Amounts, DecimalSeparatorFollowsTheDefaultLocale) {
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German));
    EXPECT_EQ(DecimalSeparator(), QStringLiteral(","));
    EXPECT_EQ(LocalizeDecimalText(QStringLiteral("16.0")), QStringLiteral("16,0"));

    QLocale::setDefault(QLocale(QLocale::English));
    EXPECT_EQ(DecimalSeparator(), QStringLiteral("."));
    EXPECT_EQ(LocalizeDecimalText(QStringLiteral("16.0")), QStringLiteral("16.0"));
    EXPECT_EQ(LocalizeDecimalText(QStringLiteral("16,0")), QStringLiteral("16.0"));
    QLocale::setDefault(previous);
}

}  // namespace
}  // namespace quill::Options
