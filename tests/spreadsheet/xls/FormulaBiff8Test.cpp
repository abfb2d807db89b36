// The BIFF8 token form of formulas: exact bytes, round trips, the splitting of long SUMs,
// tokens as other programs write them, and damaged token bytes.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "spreadsheet/formula/Formula.h"
#include "spreadsheet/xls/Biff8Formula.h"

namespace quill::spreadsheet::xls {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr CellRef kE8{7, 4};
constexpr CellRef kE15{14, 4};
constexpr CellRef kJ61{60, 9};

Bytes Encode(const std::string& text, CellRef at) {
    return EncodeBiff8(ParseFormulaR1C1(text), at);
}

TEST(FormulaBiff8, TokenBytes) {
    // SUM arguments are reference-class tokens, operands of arithmetic value-class ones;
    // bit 15 of the column word marks a relative row, bit 14 a relative column.
    EXPECT_EQ(Encode("=SUM(R[-2]C:R[-1]C)", kE8),
              (Bytes{0x25, 5, 0, 6, 0, 4, 0xC0, 4, 0xC0, 0x42, 1, 4, 0}));
    EXPECT_EQ(Encode("=RC[-2]-RC[-1]", kE15),
              (Bytes{0x44, 14, 0, 2, 0xC0, 0x44, 14, 0, 3, 0xC0, 0x04}));
    EXPECT_EQ(Encode("=R5C3*R[1]C3/RC7", {0, 0}),
              (Bytes{0x44, 4, 0, 2, 0, 0x44, 1, 0, 2, 0x80, 0x05, 0x44, 0, 0, 6, 0x80, 0x06}));
    EXPECT_EQ(Encode("=-1.5+(2)", {0, 0}),
              (Bytes{0x1F, 0, 0, 0, 0, 0, 0, 0xF8, 0x3F, 0x13, 0x1E, 2, 0, 0x15, 0x03}));
    EXPECT_EQ(Encode("=+\"ab\"", {0, 0}), (Bytes{0x17, 2, 0, 'a', 'b', 0x12}));
    EXPECT_EQ(Encode("=\"\xE2\x82\xAC\"", {0, 0}), (Bytes{0x17, 1, 1, 0xAC, 0x20}));  // euro sign
    // Whole rows and columns are areas across the sheet.
    EXPECT_EQ(Encode("=SUM(R[1],C2)", {0, 0}),
              (Bytes{0x25, 1,    0,    1, 0, 0, 0x80, 0xFF, 0x80, 0x25, 0,
                     0,    0xFF, 0xFF, 1, 0, 1, 0,    0x42, 2,    4,    0}));
    // A range written bottom-up is stored top-down, each corner keeping its flags.
    EXPECT_EQ(Encode("=SUM(R[-0]C:R1C1)", kE8),
              (Bytes{0x25, 0, 0, 7, 0, 0, 0, 4, 0xC0, 0x42, 1, 4, 0}));
}

TEST(FormulaBiff8, RoundTripsAtSeveralCells) {
    const struct {
        const char* text;
        const char* decoded;  // the text written back from the tokens, when it differs
    } cases[] = {
        {"=SUM(R[-2]C:R[-1]C)", nullptr},
        {"=RC[-2]-RC[-1]", nullptr},
        {"=R[2]C[-5]-R[55]C", nullptr},
        {"=SUM(R[-36]C[-7],R[5]C[-7],R[-6]C[0])", "=SUM(R[-36]C[-7],R[5]C[-7],R[-6]C)"},
        {"=SUM(R[-0]C:R[-1]C)", "=SUM(R[-1]C:RC)"},
        {"=R5C3+R[1]C3*(RC[-1]-R1C1:R1C1)", nullptr},
        {"=SUM(R[-1],C:C[1],R2:R3)", nullptr},
        {"=SUM(SUM(R1C1),SUM(R2C1))", nullptr},
        {"=-(0.1+1E+20)/+\"it's \"\"q\"\"\"", nullptr},
        {" = 1 +  2 ", "=1+2"},
    };
    for (CellRef at : {CellRef{60, 9}, CellRef{100, 7}, CellRef{65000, 200}}) {
        for (const auto& [text, decoded] : cases) {
            const Bytes bytes = Encode(text, at);
            const Formula back = DecodeBiff8(bytes, at);
            EXPECT_EQ(back.R1C1(), decoded ? decoded : text) << CellName(at);
            EXPECT_EQ(EncodeBiff8(back, at), bytes) << text << " at " << CellName(at);
            EXPECT_EQ(Encode(back.R1C1(), at), bytes) << text << " at " << CellName(at);
        }
    }
}

// Walks the tokens of a SUM of plain references: every call takes at most 30 arguments,
// and together the calls add up every reference once, in the order written.
void ExpectSumOfEachReferenceOnce(const Bytes& bytes, std::size_t references) {
    std::vector<std::size_t> stack;  // references below each stack entry
    std::size_t seen = 0;
    for (std::size_t i = 0; i < bytes.size();) {
        if (bytes[i] == 0x24) {
            stack.push_back(1);
            ++seen;
            i += 5;
        } else {
            ASSERT_EQ(bytes[i], 0x42);
            const std::size_t argc = bytes[i + 1];
            ASSERT_LE(argc, 30u);
            ASSERT_GE(stack.size(), argc);
            std::size_t total = 0;
            for (std::size_t k = 0; k < argc; ++k, stack.pop_back()) total += stack.back();
            stack.push_back(total);
            i += 4;
        }
    }
    ASSERT_EQ(stack.size(), 1u);
    EXPECT_EQ(stack.back(), references);
    EXPECT_EQ(seen, references);
}

// The SUM tokens of a split SUM as nested text, read straight from the bytes (references
// at J61), so that the split form can be computed on its own.
std::string NestedSumText(const Bytes& bytes) {
    std::vector<std::string> stack;
    for (std::size_t i = 0; i < bytes.size();) {
        if (bytes[i] == 0x24) {
            const int row = bytes[i + 1] | (bytes[i + 2] << 8), col = bytes[i + 3];
            stack.push_back("R" + std::to_string(row + 1) + "C" + std::to_string(col + 1));
            i += 5;
        } else {
            const std::size_t argc = bytes[i + 1];
            std::string call = ")";
            for (std::size_t k = 0; k < argc; ++k, stack.pop_back())
                call = (k + 1 < argc ? "," : "SUM(") + stack.back() + call;
            stack.push_back(call);
            i += 4;
        }
    }
    return "=" + stack.back();
}

TEST(FormulaBiff8, CellsWithTheSameFormulaShareOneTree) {
    // Different token bytes (other rows), the same formula: one tree, which still writes
    // each cell's own bytes.
    const Formula a = DecodeBiff8(Encode("=RC[-2]-RC[-1]", kE15), kE15);
    const Formula b = DecodeBiff8(Encode("=RC[-2]-RC[-1]", kE8), kE8);
    EXPECT_EQ(a.Tree(), b.Tree());
    EXPECT_EQ(EncodeBiff8(b, kE8), Encode("=RC[-2]-RC[-1]", kE8));
    EXPECT_EQ(EncodeBiff8(a, kE15), Encode("=RC[-2]-RC[-1]", kE15));
    const Formula other = DecodeBiff8(Encode("=RC[-3]-RC[-1]", kE8), kE8);
    EXPECT_NE(other.Tree(), a.Tree());
    EXPECT_EQ(other.R1C1(), "=RC[-3]-RC[-1]");
}

TEST(FormulaBiff8, LongSumsAreSplitIntoCallsOfThirtyArguments) {
    for (int count : {31, 200, 1000}) {
        std::string text = "=SUM(";
        for (int i = 0; i < count; ++i) {
            const int rowOffset = i - 50;
            text += i > 0 ? "," : "";
            text += rowOffset == 0 ? "R" : "R[" + std::to_string(rowOffset) + "]";
            text += "C[-" + std::to_string(i % 7 + 1) + "]";
        }
        text += ")";
        const Bytes bytes = Encode(text, kJ61);
        ExpectSumOfEachReferenceOnce(bytes, static_cast<std::size_t>(count));
        // The split form reads back as the SUM it came from.
        const Formula back = DecodeBiff8(bytes, kJ61);
        EXPECT_EQ(back.R1C1(), text);
        EXPECT_EQ(EncodeBiff8(back, kJ61), bytes);

        // The split form adds up to the same total as the formula as written.
        const Formula nested = ParseFormulaR1C1(NestedSumText(bytes));
        Workbook book;
        Worksheet& sheet = book.AddSheet("Invoice");
        for (int row = 0; row < 1100; ++row)
            for (int col = 2; col < 9; ++col) sheet.At({row, col}).content = row * 10.0 + col;
        sheet.At(kJ61).content = ParseFormulaR1C1(text);
        Recalculate(book);
        const Value flat = sheet.At(kJ61).Cached();
        sheet.At(kJ61).content = nested;
        Recalculate(book);
        EXPECT_EQ(sheet.At(kJ61).Cached(), flat);
        EXPECT_NE(flat, Value(0.0));
    }
}

TEST(FormulaBiff8, ReadsTokensAsOtherProgramsWriteThem) {
    const struct {
        Bytes bytes;
        CellRef at;
        const char* text;
    } cases[] = {
        // A one-argument SUM as an attribute token, after a blank-space attribute.
        {{0x19, 0x40, 0, 1, 0x25, 5, 0, 6, 0, 4, 0xC0, 4, 0xC0, 0x19, 0x10, 0, 0},
         kE8,
         "=SUM(R[-2]C:R[-1]C)"},
        // Reference- and array-class references, a volatile attribute.
        {{0x19, 0x01, 0, 0, 0x24, 14, 0, 2, 0xC0, 0x64, 14, 0, 3, 0xC0, 0x04},
         kE15,
         "=RC[-2]-RC[-1]"},
        // SUM as a reference-class call with the prompt bit, and as a fixed call.
        {{0x44, 0, 0, 0, 0, 0x65, 1, 0, 2, 0, 0, 0, 0, 0, 0x22, 0x82, 4, 0},
         kE8,
         "=SUM(R1C1,R2C1:R3C1)"},
        {{0x45, 1, 0, 2, 0, 0, 0, 0, 0, 0x41, 4, 0}, kE8, "=SUM(R2C1:R3C1)"},
        // Numbers as 8-byte values; a grouping without a parenthesis token.
        {{0x1F, 0, 0, 0, 0, 0, 0, 8, 0x40, 0x1E, 2, 0, 0x1E, 3, 0, 0x03, 0x05}, kE8, "=3*(2+3)"},
        // The body of a shared formula: offsets, the row signed 16-bit, the column 8-bit.
        {{0x2D, 0xFE, 0xFF, 0xFF, 0xFF, 0, 0xC0, 0, 0xC0, 0x19, 0x10, 0, 0, 0x4C, 0xFF, 0xFF, 0xFE,
          0xC0, 0x04},
         kE8,
         "=SUM(R[-2]C:R[-1]C)-R[-1]C[-2]"},
        // A text of 16-bit characters.
        {{0x17, 2, 1, 'O', 0, 'K', 0}, kE8, "=\"OK\""},
    };
    for (const auto& [bytes, at, text] : cases) {
        const Formula f = DecodeBiff8(bytes, at);
        EXPECT_EQ(f.R1C1(), text);
        EXPECT_EQ(DecodeBiff8(EncodeBiff8(f, at), at).R1C1(), text);
    }
}

TEST(FormulaBiff8, RefusesWhatAFileCannotHold) {
    EXPECT_THROW(Encode("=R[-1]C", {0, 0}), FormulaError);
    EXPECT_THROW(Encode("=SUM(RC[1]:RC[2])", {0, 254}), FormulaError);
    EXPECT_THROW(Encode("=R[1]C", {kMaxRows - 1, 0}), FormulaError);
    EXPECT_THROW(Encode("=R1C1", {kMaxRows, 0}), FormulaError);
    EXPECT_THROW(Encode("=\"" + std::string(256, 'x') + "\"", {0, 0}), FormulaError);
    EXPECT_NO_THROW(Encode("=\"" + std::string(255, 'x') + "\"", {0, 0}));
    std::string huge = "=SUM(R1C1:R2C2";
    for (int i = 0; i < 1000; ++i) huge += ",R1C1:R2C2";
    EXPECT_THROW(Encode(huge + ")", {5, 5}), FormulaError);
}

TEST(FormulaBiff8, DamagedTokensThrow) {
    const Bytes damaged[] = {
        {},                                    // nothing
        {0x44, 1},                             // reference cut short
        {0x25, 0, 0, 1, 0, 0},                 // area cut short
        {0x1F, 0, 0, 0},                       // number cut short
        {0x17, 5, 0, 'a'},                     // text cut short
        {0x17, 2, 1, 'a', 0, 'b'},             // 16-bit text cut short
        {0x1E, 1, 0, 0x42, 1},                 // call cut short
        {0x19, 0x10},                          // attribute cut short
        {0x03},                                // operator without operands
        {0x1E, 1, 0, 0x1E, 2, 0},              // two values, no operator
        {0x1E, 1, 0, 0x07},                    // unknown operator
        {0x44, 0, 0, 0, 1},                    // column 257
        {0x1E, 1, 0, 0x42, 1, 5, 0},           // a function other than SUM
        {0x42, 0, 4, 0},                       // SUM of nothing
        {0x1F, 0, 0, 0, 0, 0, 0, 0xF0, 0x7F},  // infinity
        {0x1E, 1, 0, 0x19, 0x02, 3, 0},        // a conditional jump
    };
    for (const Bytes& bytes : damaged) EXPECT_THROW(DecodeBiff8(bytes, kE8), FormulaError);
    Bytes deep{0x1E, 1, 0};
    deep.resize(300, 0x15);  // a value in 297 parentheses
    EXPECT_THROW(DecodeBiff8(deep, kE8), FormulaError);
    EXPECT_THROW(DecodeBiff8(Bytes{0x1E, 1, 0}, {-1, 0}), FormulaError);
}

TEST(FormulaBiff8, RandomTokensNeverReadOutOfBounds) {
    // Runs of known token numbers followed by random operand bytes; what reads without
    // error must also write and read again as text.
    const std::uint8_t tokens[] = {0x03, 0x04, 0x05, 0x06, 0x12, 0x13, 0x15, 0x17, 0x19, 0x1E,
                                   0x1F, 0x22, 0x24, 0x25, 0x2C, 0x2D, 0x41, 0x42, 0x44, 0x45};
    std::mt19937 random(20240611);
    int read = 0;
    for (int round = 0; round < 20000; ++round) {
        Bytes bytes;
        const int count = static_cast<int>(random() % 8) + 1;
        for (int t = 0; t < count; ++t) {
            bytes.push_back(tokens[random() % std::size(tokens)]);
            for (unsigned k = random() % 10; k > 0; --k)
                bytes.push_back(static_cast<std::uint8_t>(random() % 4 == 0 ? random() : k));
        }
        try {
            const Formula f = DecodeBiff8(bytes, {300, 100});
            ++read;
            EXPECT_NO_THROW(ParseFormulaR1C1(f.R1C1())) << f.R1C1();
            EXPECT_NO_THROW(EncodeBiff8(f, {300, 100})) << f.R1C1();
        } catch (const FormulaError&) {
        }
    }
    EXPECT_GT(read, 0);
}

// Tokens whose tree is within the depth limit but whose text needs parentheses the tokens
// did not have: the formula is refused, never handed on as text the parser cannot take.
TEST(FormulaBiff8, TokensWhoseTextNestsTooDeeplyAreRefused) {
    std::ifstream in(QUILL_SOURCE_DIR
                     "/fuzz/corpus/fuzz_biff8_tokens/text-nests-deeper-than-tokens",
                     std::ios::binary);
    const Bytes input{std::istreambuf_iterator<char>(in), {}};
    ASSERT_GT(input.size(), 2u);
    const CellRef anchor{input[0], input[1]};
    Formula formula;
    try {
        formula = DecodeBiff8(std::span(input).subspan(2), anchor);
    } catch (const FormulaError&) {
        return;  // refused: nothing reaches the sheet
    }
    EXPECT_NO_THROW(ParseFormulaR1C1(formula.R1C1())) << formula.R1C1();
}

}  // namespace
}  // namespace quill::spreadsheet::xls
