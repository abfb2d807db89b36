#include "spreadsheet/format/NumberFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace quill::spreadsheet {
namespace {

constexpr const char* kAmountFormat = "$#,##0_);[Red]($#,##0)";
constexpr std::uint32_t kRed = 255;  // R + 256 G + 65536 B

std::string Text(double x, const std::string& code) {
    return FormatValue(x, code).text;
}

TEST(NumberFormatTest, AmountFormatPadsPositivesAndBracketsNegativesInRed) {
    const FormattedValue positive = FormatValue(3000.0, kAmountFormat);
    EXPECT_EQ(positive.text, "$3,000 ");
    EXPECT_FALSE(positive.color);
    ASSERT_EQ(positive.pads.size(), 1u);
    EXPECT_EQ(positive.pads[0].offset, 6u);  // the blank stands for a ')'
    EXPECT_EQ(positive.pads[0].like, ")");

    const FormattedValue negative = FormatValue(-1234567.0, kAmountFormat);
    EXPECT_EQ(negative.text, "($1,234,567)");
    EXPECT_EQ(negative.color, kRed);
    EXPECT_TRUE(negative.pads.empty());

    EXPECT_EQ(Text(0.0, kAmountFormat), "$0 ");
    EXPECT_EQ(Text(999.5, kAmountFormat), "$1,000 ");  // rounds half away from zero
    EXPECT_EQ(Text(-0.4, kAmountFormat), "($0)");
}

TEST(NumberFormatTest, GeneralShowsUpToTenSignificantDigits) {
    EXPECT_EQ(Text(3000, "General"), "3000");
    EXPECT_EQ(Text(-42, "General"), "-42");
    EXPECT_EQ(Text(0, "General"), "0");
    EXPECT_EQ(Text(0.5, "General"), "0.5");
    EXPECT_EQ(Text(0.1 + 0.2, "General"), "0.3");  // no binary noise
    EXPECT_EQ(Text(1.0 / 3.0, "General"), "0.333333333");
    EXPECT_EQ(Text(123.456789012345, "General"), "123.456789");
    EXPECT_EQ(Text(12345678901.0, "General"), "12345678901");
    EXPECT_EQ(Text(123456789012.0, "General"), "1.23457E+11");
    EXPECT_EQ(Text(1e15, "General"), "1E+15");
    EXPECT_EQ(Text(-99999999999.7, "General"), "-1E+11");  // rounding carries a digit
    EXPECT_EQ(Text(0.0001, "General"), "0.0001");
    EXPECT_EQ(Text(0.000123456789, "General"), "0.000123457");
    EXPECT_EQ(Text(0.0000123456789, "General"), "1.23457E-05");
    EXPECT_EQ(Text(2.5e-10, "General"), "2.5E-10");
    // An empty code and a bare "General" section behave alike; General mixes with text.
    EXPECT_EQ(Text(2.5, ""), "2.5");
    EXPECT_EQ(Text(-2.5, "General;(General)"), "(2.5)");
}

TEST(NumberFormatTest, DigitPlaceholdersDecimalsAndScaling) {
    EXPECT_EQ(Text(2.345, "0.00"), "2.35");
    EXPECT_EQ(Text(2.5, "0"), "3");
    EXPECT_EQ(Text(1.005, "0.00"), "1.01");  // decimal, not binary, rounding
    EXPECT_EQ(Text(0.5, "#.##"), ".5");
    EXPECT_EQ(Text(0, "#"), "");
    EXPECT_EQ(Text(7, "000"), "007");
    EXPECT_EQ(Text(1.5, "0.0?"), "1.5 ");
    EXPECT_EQ(Text(1234567.891, "#,##0.00"), "1,234,567.89");
    EXPECT_EQ(Text(123, "#,##0"), "123");
    EXPECT_EQ(Text(1234567, "#,##0,"), "1,235");
    EXPECT_EQ(Text(1234567, "0.0,,"), "1.2");
    EXPECT_EQ(Text(0.256, "0%"), "26%");
    EXPECT_EQ(Text(12345, "0.00E+00"), "1.23E+04");
    EXPECT_EQ(Text(0.00012, "0.00E+00"), "1.20E-04");
    EXPECT_EQ(Text(9.999, "0.0E+0"), "1.0E+1");
    EXPECT_EQ(Text(12345, "##0.0E+0"), "12.3E+3");
    EXPECT_EQ(Text(-5, "$0"), "-$5");  // one section: the minus leads
}

TEST(NumberFormatTest, SectionsChooseByTheSignOfTheValue) {
    const std::string code = "0;(0);\"zero\"";
    EXPECT_EQ(Text(5, code), "5");
    EXPECT_EQ(Text(-5, code), "(5)");
    EXPECT_EQ(Text(0, code), "zero");
    EXPECT_EQ(Text(0, "0.0;-0.0"), "0.0");  // two sections: zero takes the first
    EXPECT_EQ(Text(0, "0;-0;"), "");        // an empty zero section hides zeros
    EXPECT_EQ(Text(-3, "0;;0"), "");
}

TEST(NumberFormatTest, ColoursLiteralsAndEscapes) {
    EXPECT_EQ(FormatValue(5.0, "[Red]0").color, kRed);
    EXPECT_EQ(FormatValue(5.0, "[blue]0").color, 255u * 65536u);
    EXPECT_EQ(FormatValue(-5.0, "[Green]0;[Magenta]0").color, 255u + 255u * 65536u);
    EXPECT_EQ(FormatValue(5.0, "[Color10]0").color, DefaultPalette()[9]);
    EXPECT_FALSE(FormatValue(5.0, "[>100]0").color);  // conditions are ignored

    EXPECT_EQ(Text(5, "\"USD \"0"), "USD 5");
    EXPECT_EQ(Text(5, "0\\ \\k\\g"), "5 kg");
    EXPECT_EQ(Text(5, "0\" items; a lot\""), "5 items; a lot");
    EXPECT_EQ(Text(1234.5, "[$\xE2\x82\xAC-407] #,##0.00"), "\xE2\x82\xAC 1,234.50");
    EXPECT_EQ(Text(5, "*-0"), "5");  // a fill pair is dropped
}

TEST(NumberFormatTest, TextsLogicalsAndErrors) {
    EXPECT_EQ(FormatValue(std::string("abc"), "0;0;0;\"Text: \"@").text, "Text: abc");
    EXPECT_EQ(FormatValue(std::string("abc"), "[Red]0;0;0;[Blue]@").color, 255u * 65536u);
    EXPECT_EQ(FormatValue(std::string("abc"), "@\" kg\"").text, "abc kg");
    EXPECT_EQ(FormatValue(std::string("abc"), kAmountFormat).text, "abc");  // no text section
    EXPECT_FALSE(FormatValue(std::string("abc"), kAmountFormat).color);
    EXPECT_EQ(FormatValue(true, "0.00").text, "TRUE");
    EXPECT_EQ(FormatValue(ErrorCode::Div0, "0.00").text, "#DIV/0!");
    EXPECT_EQ(FormatValue(Value{}, "0.00").text, "");
    // Date and time codes are not supported: such sections show the number in General.
    EXPECT_EQ(Text(45000.25, "d/m/yyyy"), "45000.25");
}

TEST(NumberFormatTest, HostileCodesAndValuesNeitherCrashNorLoop) {
    for (const char* code : {"\"unterminated", "[Red", "_", "\\", "*", "0;;;;;;", "E+", "0E+", ".",
                             ",", "%%%%", "[Color99]0", "[$", "\xE2\x82",
                             "0.0000000000"
                             "000000000000000000000000000000"}) {
        SCOPED_TRACE(code);
        (void)FormatValue(-1234.5, code);
        (void)FormatValue(std::string("x"), code);
    }
    EXPECT_EQ(Text(std::numeric_limits<double>::quiet_NaN(), "0"), "#NUM!");
    EXPECT_EQ(Text(std::numeric_limits<double>::infinity(), "General"), "#NUM!");
    EXPECT_EQ(Text(1e308, "0%"), "#NUM!");  // the scaled value overflows
    const std::string huge = Text(-1e308, "#,##0");
    EXPECT_EQ(huge.substr(0, 3), "-10");
    EXPECT_EQ(huge.size(), 1u + 309u + 102u);  // sign, digits, separators
    EXPECT_EQ(Text(std::numeric_limits<double>::denorm_min(), "General"), "4.94066E-324");
    EXPECT_EQ(Text(std::numeric_limits<double>::denorm_min(), "0.00"), "0.00");
}

TEST(NumberFormatTest, CacheParsesEachCodeOnce) {
    NumberFormatCache cache;
    const NumberFormat& first = cache.Get(kAmountFormat);
    cache.Get("0.00");
    EXPECT_EQ(&cache.Get(kAmountFormat), &first);
    EXPECT_EQ(cache.Format(-5.0, kAmountFormat).text, "($5)");
}

}  // namespace
}  // namespace quill::spreadsheet
