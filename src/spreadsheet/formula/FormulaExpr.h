// The parsed form of a formula, shared by the parser, the evaluator, the text writers and
// the BIFF8 token coder. Callers outside the engine's formula code use Formula.h only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "spreadsheet/formula/Formula.h"

namespace quill::spreadsheet::formula {

// One coordinate of a reference: an offset from the anchor cell (R[-2]) or a fixed
// zero-based row or column (R5 is row 4).
struct Axis {
    int value = 0;
    bool relative = true;

    int Resolve(int anchor) const { return relative ? anchor + value : value; }
    friend bool operator==(const Axis&, const Axis&) = default;
};

// What a reference names: cells (R1C1, R1C1:R2C3), whole rows (R5, R[1]:R[3]) or whole
// columns (C2, C:C[1]).
enum class RefShape : std::uint8_t { Cells, Rows, Columns };

struct Reference {
    RefShape shape = RefShape::Cells;
    // The corners as written. Whole rows use only the row axes, whole columns only the
    // column axes; the others stay at their defaults.
    Axis firstRow, firstCol, lastRow, lastCol;
    // Written with a colon. "R1C1:R1C1" stays a range so that it keeps its token form.
    bool isRange = false;

    friend bool operator==(const Reference&, const Reference&) = default;
};

enum class Op : std::uint8_t {
    Number,    // number
    Text,      // text
    Ref,       // ref
    Add,       // args[0] + args[1]
    Subtract,  // args[0] - args[1]
    Multiply,  // args[0] * args[1]
    Divide,    // args[0] / args[1]
    Negate,    // -args[0]
    Plus,      // +args[0]
    Paren,     // (args[0]), kept so that the text and the tokens show the parentheses
    Sum,       // SUM(args...)
};

struct Expr {
    Op op = Op::Number;
    double number = 0.0;
    std::string text;
    Reference ref;
    std::vector<Expr> args;
    int depth = 1;  // levels of this tree, leaves are 1
};

// Trees deeper than this are refused when they are built, so that every walk over a tree
// (evaluation, writing text or tokens) recurses a bounded number of levels.
inline constexpr int kMaxFormulaDepth = 256;

// A function call in a BIFF8 formula takes at most this many arguments.
inline constexpr std::size_t kMaxBiff8Arguments = 30;

Expr MakeNumber(double value);
Expr MakeText(std::string text);
Expr MakeRef(const Reference& ref);
// An operator or function node over `args`. Its depth may exceed kMaxFormulaDepth; the
// builder checks that and refuses the formula.
Expr MakeNode(Op op, std::vector<Expr> args);

// The sheet cells that a reference names, seen from `anchor`, with the corners put in
// order; nothing when any part lies outside the sheet.
std::optional<RangeRef> ResolveRef(const Reference& ref, CellRef anchor);

// The formula's text in R1C1 notation ("=SUM(R[-2]C:R[-1]C)"), written from the tree.
std::string WriteR1C1(const Expr& expr);

// A number as formula text: the shortest form that reads back to the same value.
std::string NumberToFormulaText(double value);

}  // namespace quill::spreadsheet::formula
