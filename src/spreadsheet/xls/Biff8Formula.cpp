// The token form (rgce) of a cell formula in a BIFF8 FORMULA record: reverse Polish
// tokens with little-endian operands. References hold the absolute row and column of
// their target, with flags that say which parts are relative to the formula's cell.
#include <bit>
#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "spreadsheet/core/TextCodec.h"
#include "spreadsheet/formula/FormulaExpr.h"
#include "spreadsheet/xls/Biff8Formula.h"
#include "spreadsheet/xls/XlsBiff.h"

namespace quill::spreadsheet::xls {

// The token form is written from and read into the formula tree.
using namespace formula;
namespace {

// Token numbers. Operand and function tokens carry a class in bits 5 and 6: 0x20
// reference, 0x40 value, 0x60 array; the numbers below are the reference-class ones.
constexpr std::uint8_t kPtgAdd = 0x03;
constexpr std::uint8_t kPtgSub = 0x04;
constexpr std::uint8_t kPtgMul = 0x05;
constexpr std::uint8_t kPtgDiv = 0x06;
constexpr std::uint8_t kPtgUplus = 0x12;
constexpr std::uint8_t kPtgUminus = 0x13;
constexpr std::uint8_t kPtgParen = 0x15;
constexpr std::uint8_t kPtgStr = 0x17;
constexpr std::uint8_t kPtgAttr = 0x19;
constexpr std::uint8_t kPtgInt = 0x1E;
constexpr std::uint8_t kPtgNum = 0x1F;
constexpr std::uint8_t kPtgFunc = 0x21;
constexpr std::uint8_t kPtgFuncVar = 0x22;
constexpr std::uint8_t kPtgRef = 0x24;
constexpr std::uint8_t kPtgArea = 0x25;
constexpr std::uint8_t kPtgRefN = 0x2C;     // in the body of a shared formula
constexpr std::uint8_t kPtgAreaN = 0x2D;    // in the body of a shared formula
constexpr std::uint8_t kValueClass = 0x20;  // added to a reference-class number

// ptgAttr kinds the reader knows: a one-argument SUM, and hints for display or
// recalculation that do not change the formula's meaning.
constexpr std::uint8_t kAttrSemi = 0x01;    // volatile formula
constexpr std::uint8_t kAttrSum = 0x10;     // SUM of the operand on top of the stack
constexpr std::uint8_t kAttrBaxcel = 0x20;  // assignment-style formula
constexpr std::uint8_t kAttrBaxcelSemi = 0x21;
constexpr std::uint8_t kAttrSpace = 0x40;  // blanks shown in the formula text
constexpr std::uint8_t kAttrSpaceSemi = 0x41;

constexpr std::uint16_t kSumFunction = 4;  // SUM in the table of built-in functions
constexpr std::uint16_t kRowRelative = 0x8000;
constexpr std::uint16_t kColRelative = 0x4000;
constexpr std::uint16_t kColumnMask = 0x3FFF;

bool InSheet(CellRef at) {
    return at.row >= 0 && at.row < kMaxRows && at.col >= 0 && at.col < kMaxColumns;
}

std::string PlaceName(CellRef at) {
    if (InSheet(at)) return CellName(at);
    return "row " + std::to_string(at.row + 1) + ", column " + std::to_string(at.col + 1);
}

// ---- SUM grouping ------------------------------------------------------------------

// A SUM of n > 30 arguments is written as SUM(SUM(group 1), SUM(group 2), ...), each
// group holding this many arguments (the last one possibly fewer). Groups of 30 serve up
// to 900 arguments; beyond that each group is itself grouped, and so on.
std::size_t SumGroupSize(std::size_t arguments) {
    std::size_t size = kMaxBiff8Arguments;
    while (size * kMaxBiff8Arguments < arguments) size *= kMaxBiff8Arguments;
    return size;
}

// The one SUM that Encoder::EmitSum split into `sum`, if `sum` has exactly that shape.
// Inner groups are undone first (the decoder builds the tree from the bottom), so every
// group arrives here already joined.
std::optional<std::vector<Expr>> JoinSumGroups(const Expr& sum) {
    if (sum.args.size() < 2) return std::nullopt;
    std::size_t total = 0;
    for (const Expr& group : sum.args) {
        if (group.op != Op::Sum) return std::nullopt;
        total += group.args.size();
    }
    if (total <= kMaxBiff8Arguments) return std::nullopt;
    const std::size_t size = SumGroupSize(total);
    for (std::size_t i = 0; i + 1 < sum.args.size(); ++i)
        if (sum.args[i].args.size() != size) return std::nullopt;
    if (sum.args.back().args.size() > size) return std::nullopt;
    std::vector<Expr> joined;
    joined.reserve(total);
    for (const Expr& group : sum.args)
        for (const Expr& arg : group.args) joined.push_back(arg);
    return joined;
}

// ---- Encoding ----------------------------------------------------------------------

class Encoder {
  public:
    static constexpr std::size_t kUsualRgceBytes = 64;

    Encoder(std::string_view text, CellRef anchor) : text_(text), anchor_(anchor) {
        if (!InSheet(anchor)) Fail("the cell lies outside the sheet");
    }

    std::vector<std::uint8_t> Encode(const Expr& root) {
        // Room for the usual formula at once: growing byte by byte reallocated several
        // times per formula, and every formula cell is encoded when written and when saved.
        out_.reserve(kUsualRgceBytes);
        Emit(root, false);
        if (out_.size() > kMaxFormulaTokenBytes) Fail("the formula is too long");
        return std::move(out_);
    }

  private:
    [[noreturn]] void Fail(const std::string& reason) const {
        throw FormulaError("Cannot write formula \"" + std::string(text_) + "\" at " +
                           PlaceName(anchor_) + ": " + reason);
    }

    void Byte(std::uint8_t b) { out_.push_back(b); }
    void Word(std::uint16_t w) {
        Byte(static_cast<std::uint8_t>(w & 0xFF));
        Byte(static_cast<std::uint8_t>(w >> 8));
    }

    // `asReference`: the operand is an argument of SUM, which takes references; elsewhere
    // operands are values.
    void Emit(const Expr& e, bool asReference) {
        switch (e.op) {
            case Op::Number:
                EmitNumber(e.number);
                break;
            case Op::Text:
                EmitText(e.text);
                break;
            case Op::Ref:
                EmitRef(e.ref, asReference);
                break;
            case Op::Add:
                EmitBinary(e, kPtgAdd);
                break;
            case Op::Subtract:
                EmitBinary(e, kPtgSub);
                break;
            case Op::Multiply:
                EmitBinary(e, kPtgMul);
                break;
            case Op::Divide:
                EmitBinary(e, kPtgDiv);
                break;
            case Op::Negate:
                Emit(e.args[0], false);
                Byte(kPtgUminus);
                break;
            case Op::Plus:
                Emit(e.args[0], false);
                Byte(kPtgUplus);
                break;
            case Op::Paren:
                Emit(e.args[0], asReference);
                Byte(kPtgParen);
                break;
            case Op::Sum:
                EmitSum(e.args);
                break;
        }
    }

    void EmitBinary(const Expr& e, std::uint8_t token) {
        Emit(e.args[0], false);
        Emit(e.args[1], false);
        Byte(token);
    }

    void EmitNumber(double value) {
        if (value >= 0.0 && value <= 65535.0 && value == std::floor(value) &&
            !std::signbit(value)) {
            Byte(kPtgInt);
            Word(static_cast<std::uint16_t>(value));
            return;
        }
        Byte(kPtgNum);
        const auto bits = std::bit_cast<std::uint64_t>(value);
        for (int i = 0; i < 8; ++i) Byte(static_cast<std::uint8_t>(bits >> (8 * i)));
    }

    void EmitText(const std::string& text) {
        const std::u16string units = Utf16FromUtf8(text);
        if (units.size() > kMaxShortStringChars)
            Fail("a text is longer than " + std::to_string(kMaxShortStringChars) + " characters");
        bool wide = false;
        for (char16_t u : units) wide = wide || u > 0xFF;
        Byte(kPtgStr);
        Byte(static_cast<std::uint8_t>(units.size()));
        Byte(wide ? 1 : 0);
        for (char16_t u : units) {
            if (wide)
                Word(u);
            else
                Byte(static_cast<std::uint8_t>(u));
        }
    }

    // One corner coordinate: the target's absolute index and whether it is relative.
    struct Coord {
        std::uint16_t index;
        bool relative;
    };

    Coord Resolve(Axis axis, int anchor, int size) const {
        const int index = axis.Resolve(anchor);
        if (index < 0 || index >= size) Fail("a reference lies outside the sheet");
        return {static_cast<std::uint16_t>(index), axis.relative};
    }

    void EmitRef(const Reference& ref, bool asReference) {
        const std::uint8_t tokenClass = asReference ? 0 : kValueClass;
        Coord r1{0, false}, r2{kMaxRows - 1, false}, c1{0, false}, c2{kMaxColumns - 1, false};
        if (ref.shape != RefShape::Columns) {
            r1 = Resolve(ref.firstRow, anchor_.row, kMaxRows);
            r2 = Resolve(ref.lastRow, anchor_.row, kMaxRows);
        }
        if (ref.shape != RefShape::Rows) {
            c1 = Resolve(ref.firstCol, anchor_.col, kMaxColumns);
            c2 = Resolve(ref.lastCol, anchor_.col, kMaxColumns);
        }
        auto column = [](Coord row, Coord col) {
            return static_cast<std::uint16_t>(col.index | (col.relative ? kColRelative : 0) |
                                              (row.relative ? kRowRelative : 0));
        };
        if (ref.shape == RefShape::Cells && !ref.isRange) {
            Byte(kPtgRef + tokenClass);
            Word(r1.index);
            Word(column(r1, c1));
            return;
        }
        // An area is stored with its corners in order, each keeping its own flags.
        if (r1.index > r2.index) std::swap(r1, r2);
        if (c1.index > c2.index) std::swap(c1, c2);
        Byte(kPtgArea + tokenClass);
        Word(r1.index);
        Word(r2.index);
        Word(column(r1, c1));
        Word(column(r2, c2));
    }

    // SUM with at most 30 arguments as one call, larger ones as nested calls.
    void EmitSum(std::span<const Expr> args) {
        if (args.size() <= kMaxBiff8Arguments) {
            for (const Expr& arg : args) Emit(arg, true);
            EmitSumCall(args.size());
            return;
        }
        const std::size_t size = SumGroupSize(args.size());
        std::size_t groups = 0;
        for (std::size_t start = 0; start < args.size(); start += size, ++groups)
            EmitSum(args.subspan(start, std::min(size, args.size() - start)));
        EmitSumCall(groups);
    }

    void EmitSumCall(std::size_t arguments) {
        Byte(kPtgFuncVar + kValueClass);
        Byte(static_cast<std::uint8_t>(arguments));
        Word(kSumFunction);
    }

    std::string_view text_;
    CellRef anchor_;
    std::vector<std::uint8_t> out_;
};

// ---- Decoding ----------------------------------------------------------------------

class Decoder {
  public:
    Decoder(std::span<const std::uint8_t> rgce, CellRef anchor) : in_(rgce), anchor_(anchor) {
        if (!InSheet(anchor)) Fail("the cell lies outside the sheet");
    }

    Expr Decode() {
        if (in_.empty()) Fail("no tokens");
        while (pos_ < in_.size()) ReadToken();
        if (stack_.size() != 1) Fail("the tokens do not form one expression");
        return std::move(stack_.back());
    }

  private:
    [[noreturn]] void Fail(const std::string& reason) const {
        throw FormulaError("Unreadable formula at " + PlaceName(anchor_) + ", byte " +
                           std::to_string(tokenStart_) + ": " + reason);
    }

    void Need(std::size_t bytes) const {
        if (in_.size() - pos_ < bytes) Fail("the tokens end too early");
    }
    std::uint8_t Byte() {
        Need(1);
        return in_[pos_++];
    }
    std::uint16_t Word() {
        Need(2);
        const auto w = static_cast<std::uint16_t>(in_[pos_] | (in_[pos_ + 1] << 8));
        pos_ += 2;
        return w;
    }

    void Push(Expr e) {
        if (e.depth > kMaxFormulaDepth) Fail("nested too deeply");
        stack_.push_back(std::move(e));
    }

    std::vector<Expr> Pop(std::size_t count) {
        if (stack_.size() < count) Fail("an operator lacks its operands");
        std::vector<Expr> args(
            std::make_move_iterator(stack_.end() - static_cast<std::ptrdiff_t>(count)),
            std::make_move_iterator(stack_.end()));
        stack_.resize(stack_.size() - count);
        return args;
    }

    void Operator(Op op, std::size_t operands) { Push(MakeNode(op, Pop(operands))); }

    void ReadToken() {
        tokenStart_ = pos_;
        const std::uint8_t token = Byte();
        // Operand and function tokens: fold the class bits onto the reference class.
        const std::uint8_t base = token >= 0x20 ? (token & 0x1F) | 0x20 : token;
        switch (base) {
            case kPtgAdd:
                return Operator(Op::Add, 2);
            case kPtgSub:
                return Operator(Op::Subtract, 2);
            case kPtgMul:
                return Operator(Op::Multiply, 2);
            case kPtgDiv:
                return Operator(Op::Divide, 2);
            case kPtgUplus:
                return Operator(Op::Plus, 1);
            case kPtgUminus:
                return Operator(Op::Negate, 1);
            case kPtgParen:
                return Operator(Op::Paren, 1);
            case kPtgStr:
                return ReadText();
            case kPtgAttr:
                return ReadAttr();
            case kPtgInt:
                return Push(MakeNumber(Word()));
            case kPtgNum:
                return ReadNumber();
            case kPtgFunc:
                return ReadFunction(false);
            case kPtgFuncVar:
                return ReadFunction(true);
            case kPtgRef:
                return ReadRef(false, false);
            case kPtgArea:
                return ReadRef(true, false);
            case kPtgRefN:
                return ReadRef(false, true);
            case kPtgAreaN:
                return ReadRef(true, true);
            default: {
                static constexpr char kHex[] = "0123456789ABCDEF";
                Fail(std::string("unknown token 0x") + kHex[token >> 4] + kHex[token & 0xF]);
            }
        }
    }

    void ReadNumber() {
        Need(8);
        std::uint64_t bits = 0;
        for (int i = 0; i < 8; ++i) bits |= std::uint64_t{in_[pos_++]} << (8 * i);
        const double value = std::bit_cast<double>(bits);
        if (!std::isfinite(value)) Fail("invalid number");
        Push(MakeNumber(value));
    }

    void ReadText() {
        const std::size_t count = Byte();
        const bool wide = (Byte() & 0x01) != 0;
        Need(count * (wide ? 2 : 1));
        std::u16string units;
        for (std::size_t i = 0; i < count; ++i)
            units += static_cast<char16_t>(wide ? Word() : Byte());
        Push(MakeText(Utf8FromUtf16(units)));
    }

    void ReadAttr() {
        const std::uint8_t kind = Byte();
        (void)Word();  // data: a jump distance or the blanks shown, of no use here
        switch (kind) {
            case kAttrSum:
                return Operator(Op::Sum, 1);
            case kAttrSemi:
            case kAttrBaxcel:
            case kAttrBaxcelSemi:
            case kAttrSpace:
            case kAttrSpaceSemi:
                return;
            default:
                Fail("unsupported attribute token " + std::to_string(kind));
        }
    }

    void ReadFunction(bool variable) {
        std::size_t arguments = 1;                // SUM as a fixed-argument call takes one
        if (variable) arguments = Byte() & 0x7F;  // bit 7 is a prompt flag
        const std::uint16_t function = Word();
        if (function != kSumFunction) Fail("unsupported function " + std::to_string(function));
        if (arguments == 0) Fail("SUM without arguments");
        Expr sum = MakeNode(Op::Sum, Pop(arguments));
        if (std::optional<std::vector<Expr>> joined = JoinSumGroups(sum))
            sum = MakeNode(Op::Sum, std::move(*joined));
        Push(std::move(sum));
    }

    // One corner of a reference token. In cell formulas a relative part holds the target's
    // own row or column; in the body of a shared formula (`offsets`, the ...N tokens) it
    // holds the offset itself, a row as a signed 16-bit and a column as a signed 8-bit
    // number. Absolute parts hold the row or column either way.
    struct Corner {
        Axis row, col;
    };

    Corner ReadCorner(std::uint16_t rowField, std::uint16_t colField, bool offsets) const {
        const bool rowRelative = (colField & kRowRelative) != 0;
        const bool colRelative = (colField & kColRelative) != 0;
        const int col = colField & kColumnMask;
        Corner corner{{rowField, false}, {col, false}};
        if (rowRelative) {
            corner.row = {offsets ? static_cast<std::int16_t>(rowField) : rowField - anchor_.row,
                          true};
        }
        if (colRelative && offsets) {
            corner.col = {static_cast<std::int8_t>(colField & 0xFF), true};
        } else {
            if (col >= kMaxColumns) Fail("a column lies outside the sheet");
            if (colRelative) corner.col = {col - anchor_.col, true};
        }
        return corner;
    }

    void ReadRef(bool area, bool offsets) {
        const std::uint16_t row1 = Word();
        const std::uint16_t row2 = area ? Word() : row1;
        const std::uint16_t col1 = Word();
        const std::uint16_t col2 = area ? Word() : col1;
        const Corner first = ReadCorner(row1, col1, offsets);
        const Corner last = ReadCorner(row2, col2, offsets);

        Reference ref;
        ref.isRange = area;
        ref.firstRow = first.row;
        ref.firstCol = first.col;
        ref.lastRow = last.row;
        ref.lastCol = last.col;
        // An area across all columns is whole rows, one down all rows whole columns.
        const Axis firstIndex{0, false}, lastColumn{kMaxColumns - 1, false},
            lastRow{kMaxRows - 1, false};
        if (area && first.col == firstIndex && last.col == lastColumn) {
            ref.shape = RefShape::Rows;
            ref.firstCol = ref.lastCol = Axis{};
        } else if (area && first.row == firstIndex && last.row == lastRow) {
            ref.shape = RefShape::Columns;
            ref.firstRow = ref.lastRow = Axis{};
        }
        // Whole rows or columns read as one ("R5") when both ends are the same.
        if (ref.shape != RefShape::Cells && ref.firstRow == ref.lastRow &&
            ref.firstCol == ref.lastCol)
            ref.isRange = false;
        Push(MakeRef(ref));
    }

    std::span<const std::uint8_t> in_;
    CellRef anchor_;
    std::size_t pos_ = 0;
    std::size_t tokenStart_ = 0;
    std::vector<Expr> stack_;
};

}  // namespace

std::vector<std::uint8_t> EncodeBiff8(const Formula& formula, CellRef anchor) {
    if (!formula.Tree())
        throw FormulaError("Cannot write formula \"" + formula.R1C1() + "\": not parsed");
    return Encoder(formula.R1C1(), anchor).Encode(*formula.Tree());
}

namespace {

bool SameExpr(const Expr& a, const Expr& b) {
    if (a.op != b.op ||
        std::bit_cast<std::uint64_t>(a.number) != std::bit_cast<std::uint64_t>(b.number) ||
        a.text != b.text || !(a.ref == b.ref) || a.depth != b.depth ||
        a.args.size() != b.args.size())
        return false;
    for (std::size_t i = 0; i < a.args.size(); ++i)
        if (!SameExpr(a.args[i], b.args[i])) return false;
    return true;
}

// A column of cells usually holds the same formula (in R1C1 terms) row after row. Such
// cells share one decoded formula, as formulas written through the object model do, instead
// of each keeping a copy: the trees of a large sheet took more memory than its cells. A
// formula is shared only when its tree equals the one kept for the same text, so that
// nothing the text does not show (a number's last bits, say) is lost.
Formula ShareRecent(std::shared_ptr<const Expr> expr, std::string r1c1) {
    constexpr std::size_t kKept = 1024;  // a bound, not an LRU
    thread_local std::unordered_map<std::string, Formula> recent;
    if (const auto it = recent.find(r1c1);
        it != recent.end() && SameExpr(*it->second.Tree(), *expr))
        return it->second;
    if (recent.size() >= kKept) recent.clear();
    Formula formula(r1c1, std::move(expr));
    recent.insert_or_assign(std::move(r1c1), formula);
    return formula;
}

}  // namespace

Formula DecodeBiff8(std::span<const std::uint8_t> rgce, CellRef anchor) {
    auto expr = std::make_shared<const Expr>(Decoder(rgce, anchor).Decode());
    std::string r1c1 = WriteR1C1(*expr);
    // The text can nest deeper than the tokens did (it needs parentheses where the tokens
    // have none), so a deep tree's text is put to the parser, which decides what formula text
    // the engine takes; a text it refuses makes the tokens refused too (FormulaError).
    if (expr->depth > kMaxFormulaDepth / 2) ParseFormulaR1C1(r1c1);
    return ShareRecent(std::move(expr), std::move(r1c1));
}

}  // namespace quill::spreadsheet::xls
