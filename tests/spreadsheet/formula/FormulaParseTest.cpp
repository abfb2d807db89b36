// Reading R1C1 formula text: the kept text, the meaning (seen through the A1 form) and
// the refusal of text that is not a formula.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "spreadsheet/formula/Formula.h"

namespace quill::spreadsheet {
namespace {

using ::testing::HasSubstr;

TEST(FormulaParse, KeepsTheTextOfTheSheetFormulasExactly) {
    for (const std::string text :
         {"=SUM(R[-2]C:R[-1]C)", "=RC[-2]-RC[-1]", "=R[2]C[-5]-R[55]C", "=R[-2]C-R[-4]C",
          "=SUM(R[-0]C:R[-1]C)", "=SUM(R[-36]C[-7],R[-26]C[-7],R[5]C[-7],R[-37]C[-2],R[-6]C[0])"}) {
        EXPECT_EQ(ParseFormulaR1C1(text).R1C1(), text);
    }
}

TEST(FormulaParse, TrimsAndUpperCasesButKeepsBlanksAndQuotedText) {
    EXPECT_EQ(ParseFormulaR1C1("  =sum( r[-2]c : r[-1]c ) + \"Total a\"\n").R1C1(),
              "=SUM( R[-2]C : R[-1]C ) + \"Total a\"");
}

TEST(FormulaParse, MeaningShownInA1) {
    const CellRef e17{16, 4};
    auto a1 = [&](const std::string& text, CellRef at) {
        return FormulaToA1(ParseFormulaR1C1(text), at);
    };
    EXPECT_EQ(a1("=SUM(R[-2]C:R[-1]C)", e17), "=SUM(E15:E16)");
    EXPECT_EQ(a1("=SUM(R[-0]C:R[-1]C)", e17), "=SUM(E17:E16)");
    EXPECT_EQ(a1("=R5C3+R[1]C3*RC[-1]", e17), "=$C$5+$C18*D17");
    EXPECT_EQ(a1("=r[+1]c-2/R[-0]C[0]", e17), "=E18-2/E17");
    EXPECT_EQ(a1("=SUM(R[1],C2:C[1],R1:R3)", e17), "=SUM(18:18,$B:F,$1:$3)");
    EXPECT_EQ(a1("=R1C1:R1C1", e17), "=$A$1:$A$1");
    // Operators, unary signs, parentheses, numbers and quoted texts.
    EXPECT_EQ(a1("=-(1.5e3 - .25)*+2/ 3E-2", e17), "=-(1500-0.25)*+2/0.03");
    EXPECT_EQ(a1("=1-(2-3)*((4))", e17), "=1-(2-3)*((4))");
    EXPECT_EQ(a1("=\"say \"\"hi\"\"\"", e17), "=\"say \"\"hi\"\"\"");
    // A reference that lands outside the sheet from this cell.
    EXPECT_EQ(a1("=R[-20]C+C[-5]", {4, 4}), "=#REF!+#REF!");
}

TEST(FormulaParse, RefusesTextThatIsNotAFormulaAndSaysWhere) {
    const struct {
        const char* text;
        const char* reason;
    } bad[] = {
        {"SUM(R1C1)", "begin with"},
        {"=", "ends too early"},
        {"=SUM(", "ends too early"},
        {"=SUM()", "unexpected \")\""},
        {"=SUM(R1C1", "expected \")\""},
        {"=1+", "ends too early"},
        {"=1 2", "unexpected \"2\""},
        {"=R[-2C", "expected \"]\""},
        {"=R[]C", "invalid offset"},
        {"=R0C1", "row outside the sheet"},
        {"=R65537C1", "row outside the sheet"},
        {"=RC257", "column outside the sheet"},
        {"=R[65536]C", "offset outside the sheet"},
        {"=R1C1:R2", "both be cells, rows or columns"},
        {"=R1C1:", "expected a reference"},
        {"=AVERAGE(R1C1)", "unknown function \"AVERAGE\""},
        {"=TOTAL", "unknown name \"TOTAL\""},
        {"=R1C1X", "unknown name"},
        {"=\"open", "no closing quote"},
        {"=1E+", "invalid number"},
        {"=1E999", "out of range"},
        {"=1,2", "unexpected \",\""},
    };
    for (const auto& [text, reason] : bad) {
        try {
            ParseFormulaR1C1(text);
            ADD_FAILURE() << text << " was accepted";
        } catch (const FormulaError& e) {
            EXPECT_THAT(e.what(), HasSubstr(std::string("\"") + text + "\"")) << text;
            EXPECT_THAT(e.what(), HasSubstr("at position")) << text;
            EXPECT_THAT(e.what(), HasSubstr(reason)) << text;
        }
    }
}

TEST(FormulaParse, DeepNestingIsRefusedWithoutExhaustingTheStack) {
    const std::string parens = "=" + std::string(100000, '(') + "1" + std::string(100000, ')');
    EXPECT_THROW(ParseFormulaR1C1(parens), FormulaError);
    EXPECT_THROW(ParseFormulaR1C1("=" + std::string(100000, '-') + "1"), FormulaError);
    std::string chain = "=1";
    for (int i = 0; i < 1000; ++i) chain += "+1";
    EXPECT_THROW(ParseFormulaR1C1(chain), FormulaError);
    // Within the limit nesting is fine.
    EXPECT_NO_THROW(ParseFormulaR1C1("=" + std::string(200, '(') + "1" + std::string(200, ')')));
}

}  // namespace
}  // namespace quill::spreadsheet
