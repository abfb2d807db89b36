// Computing formula values: SUM and arithmetic rules, error values, circular references
// and long chains.
#include <gtest/gtest.h>

#include <string>

#include "spreadsheet/formula/Formula.h"

namespace quill::spreadsheet {
namespace {

class FormulaEval : public ::testing::Test {
  protected:
    Workbook book;
    Worksheet& sheet = book.AddSheet("Invoice");

    static CellRef At(const std::string& a1) { return ParseA1Range(a1).first; }

    void Put(const std::string& a1, double number) { sheet.At(At(a1)).content = number; }
    // A text beginning with "=" is put as a formula.
    void Put(const std::string& a1, const std::string& text) {
        Cell& cell = sheet.At(At(a1));
        if (text.starts_with('='))
            cell.content = ParseFormulaR1C1(text);
        else
            cell.content = text;
    }
    void Put(const std::string& a1, const char* text) { Put(a1, std::string(text)); }
    Value Get(const std::string& a1) { return sheet.At(At(a1)).Cached(); }
};

TEST_F(FormulaEval, IncomeBlockAndSectionFormulas) {
    Put("E6", 3000);
    Put("E7", 100);
    Put("E8", "=SUM(R[-2]C:R[-1]C)");
    Put("E10", 2720);
    Put("E11", 100);
    Put("E12", "=SUM(R[-2]C:R[-1]C)");
    Put("J6", "=R[2]C[-5]-R[55]C");
    Put("J8", "=R[4]C[-5]-R[55]C");
    Put("J10", "=R[-2]C-R[-4]C");
    Put("J61", 500);
    Put("J63", "=SUM(R[-2]C,R[-1]C,R[-1]C[-2])");  // J61 + empty J62 + empty H62
    Recalculate(book);
    EXPECT_EQ(Get("E8"), Value(3100.0));
    EXPECT_EQ(Get("E12"), Value(2820.0));
    EXPECT_EQ(Get("J6"), Value(2600.0));
    EXPECT_EQ(Get("J63"), Value(500.0));
    EXPECT_EQ(Get("J8"), Value(2320.0));
    EXPECT_EQ(Get("J10"), Value(-280.0));
}

TEST_F(FormulaEval, SumSkipsTextsAndEmptiesButCountsDirectNumbers) {
    Put("A1", 1);
    Put("A2", "text");
    Put("A4", 2.5);
    Put("A5", "=SUM(R[-4]C:R[-1]C,10,-1,(R1C1))");
    Put("B1", "=SUM(R5C1,\"x\")");          // a text argument itself is not a number
    Put("B2", "=SUM(R[-1]C[1]:R[9]C[3])");  // nothing at all gives 0
    Recalculate(book);
    EXPECT_EQ(Get("A5"), Value(13.5));
    EXPECT_EQ(Get("B1"), Value(ErrorCode::Value));
    EXPECT_EQ(Get("B2"), Value(0.0));
}

TEST_F(FormulaEval, ArithmeticAndErrorValues) {
    Put("A1", 6);
    Put("A2", "six");
    Put("B1", "=RC[-1]*R[1]C[-1]");    // a text operand
    Put("B2", "=R[-1]C[-1]+R[20]C");   // an empty cell counts as 0
    Put("B3", "=R1C1/R9C9");           // division by an empty cell
    Put("B4", "=-R1C1/(4-1)+R[-2]C");  // unary minus, parentheses
    Put("B5", "=SUM(R[-4]C:R[-1]C)");  // errors pass through SUM ...
    Put("B6", "=R[-3]C+R[-5]C");       // ... and arithmetic, the left one first
    Put("C1", "=\"text\"");
    Put("C2", "=R[-1]C");  // a formula may show a text ...
    Put("C3", "=R[10]C");  // ... or an empty cell, shown as 0
    Put("C4", "=1E300*1E300");
    // A range used as a value stands for its cell in the formula's row or column.
    Put("D1", "=R1C1:R2C1");
    Put("D2", "=R1C1:R2C1");
    Put("D3", "=R1C1:R2C1");
    Recalculate(book);
    EXPECT_EQ(Get("B1"), Value(ErrorCode::Value));
    EXPECT_EQ(Get("B2"), Value(6.0));
    EXPECT_EQ(Get("B3"), Value(ErrorCode::Div0));
    EXPECT_EQ(Get("B4"), Value(4.0));
    EXPECT_EQ(Get("B5"), Value(ErrorCode::Value));
    EXPECT_EQ(Get("B6"), Value(ErrorCode::Div0));
    EXPECT_EQ(Get("C2"), Value(std::string("text")));
    EXPECT_EQ(Get("C3"), Value(0.0));
    EXPECT_EQ(Get("C4"), Value(ErrorCode::Num));
    EXPECT_EQ(Get("D1"), Value(6.0));
    EXPECT_EQ(Get("D2"), Value(std::string("six")));
    EXPECT_EQ(Get("D3"), Value(ErrorCode::Value));
}

TEST_F(FormulaEval, ReferencesOutsideTheSheetGiveRef) {
    Put("A1", "=R[-1]C");
    Put("A2", "=SUM(R[-5]C:R[1]C)");
    Put("B1", "=RC[-2]+1");
    Put("IV65536", "=R[1]C+RC[1]");
    Recalculate(book);
    for (const char* cell : {"A1", "A2", "B1", "IV65536"})
        EXPECT_EQ(Get(cell), Value(ErrorCode::Ref)) << cell;
}

TEST_F(FormulaEval, CircularReferencesGiveValueErrorsAndLeaveOthersAlone) {
    Put("A1", "=R[1]C+1");  // A1 and A2 read each other
    Put("A2", "=R[-1]C");
    Put("A3", "=R[-2]C*2");            // reads the cycle without being part of it
    Put("B5", "=SUM(R[-0]C:R[-1]C)");  // a group without items sums its own cell
    Put("C1", 7);
    Put("C2", "=R[-1]C");
    Recalculate(book);
    EXPECT_EQ(Get("A1"), Value(ErrorCode::Value));
    EXPECT_EQ(Get("A2"), Value(ErrorCode::Value));
    EXPECT_EQ(Get("A3"), Value(ErrorCode::Value));
    EXPECT_EQ(Get("B5"), Value(ErrorCode::Value));
    EXPECT_EQ(Get("C2"), Value(7.0));
    // Breaking the cycle lets the cells compute again.
    Put("A2", 4);
    Recalculate(book);
    EXPECT_EQ(Get("A1"), Value(5.0));
    EXPECT_EQ(Get("A3"), Value(10.0));
}

TEST_F(FormulaEval, ChainsAsLongAsTheSheetInEitherDirection) {
    // Column A: each cell adds 1 to the one above; column B: each to the one below.
    Put("A1", 1);
    Put("B65536", 1);
    const Formula up = ParseFormulaR1C1("=R[-1]C+1");
    const Formula down = ParseFormulaR1C1("=R[1]C+1");
    for (int row = 1; row < kMaxRows; ++row) {
        sheet.At({row, 0}).content = up;
        sheet.At({kMaxRows - 1 - row, 1}).content = down;
    }
    // One long cycle in column C.
    const Formula previous = ParseFormulaR1C1("=R[-1]C");
    sheet.At({0, 2}).content = ParseFormulaR1C1("=R65536C");
    for (int row = 1; row < kMaxRows; ++row) sheet.At({row, 2}).content = previous;
    Recalculate(book);
    EXPECT_EQ(Get("A65536"), Value(65536.0));
    EXPECT_EQ(Get("B1"), Value(65536.0));
    EXPECT_EQ(Get("C1"), Value(ErrorCode::Value));
    EXPECT_EQ(Get("C40000"), Value(ErrorCode::Value));
}

// Their speed is held by the benchmarks; here the sums and differences of a large sheet.
TEST_F(FormulaEval, TenThousandFormulasComputeTheirSumsAndDifferences) {
    // 1,000 sections of ten items: difference cells and subtotal sums.
    for (int row = 0; row < 10000; ++row) {
        sheet.At({row, 1}).content = static_cast<double>(row);
        sheet.At({row, 2}).content = 1.0;
        sheet.At({row, 3}).content =
            ParseFormulaR1C1(row % 10 == 9 ? "=SUM(R[-9]C[-2]:RC[-2])" : "=RC[-2]-RC[-1]");
    }
    Recalculate(book);
    EXPECT_EQ(sheet.At({9, 3}).Cached(), Value(45.0));
    EXPECT_EQ(sheet.At({10, 3}).Cached(), Value(9.0));
}

}  // namespace
}  // namespace quill::spreadsheet
