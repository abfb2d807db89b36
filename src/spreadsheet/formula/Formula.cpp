// Building formula trees, resolving references and writing formulas as text in R1C1 and
// A1 notation.
#include <algorithm>
#include <array>
#include <charconv>
#include <string>

#include "spreadsheet/formula/FormulaExpr.h"

namespace quill::spreadsheet::formula {

Expr MakeNumber(double value) {
    Expr e;
    e.op = Op::Number;
    e.number = value;
    return e;
}

Expr MakeText(std::string text) {
    Expr e;
    e.op = Op::Text;
    e.text = std::move(text);
    return e;
}

Expr MakeRef(const Reference& ref) {
    Expr e;
    e.op = Op::Ref;
    e.ref = ref;
    if (!ref.isRange) {
        // A single reference is its own last corner, so that resolving needs no cases.
        e.ref.lastRow = ref.firstRow;
        e.ref.lastCol = ref.firstCol;
    }
    return e;
}

Expr MakeNode(Op op, std::vector<Expr> args) {
    Expr e;
    e.op = op;
    int deepest = 0;
    for (const Expr& arg : args) deepest = std::max(deepest, arg.depth);
    e.depth = deepest + 1;
    e.args = std::move(args);
    return e;
}

std::optional<RangeRef> ResolveRef(const Reference& ref, CellRef anchor) {
    int firstRow = 0, lastRow = kMaxRows - 1, firstCol = 0, lastCol = kMaxColumns - 1;
    if (ref.shape != RefShape::Columns) {
        firstRow = ref.firstRow.Resolve(anchor.row);
        lastRow = ref.lastRow.Resolve(anchor.row);
    }
    if (ref.shape != RefShape::Rows) {
        firstCol = ref.firstCol.Resolve(anchor.col);
        lastCol = ref.lastCol.Resolve(anchor.col);
    }
    auto inSheet = [](int index, int size) { return index >= 0 && index < size; };
    if (!inSheet(firstRow, kMaxRows) || !inSheet(lastRow, kMaxRows) ||
        !inSheet(firstCol, kMaxColumns) || !inSheet(lastCol, kMaxColumns))
        return std::nullopt;
    return RangeRef::Of({firstRow, firstCol}, {lastRow, lastCol});
}

std::string NumberToFormulaText(double value) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    std::string text(buffer.data(), result.ptr);
    std::replace(text.begin(), text.end(), 'e', 'E');
    return text;
}

namespace {

int Precedence(Op op) {
    switch (op) {
        case Op::Add:
        case Op::Subtract:
            return 1;
        case Op::Multiply:
        case Op::Divide:
            return 2;
        case Op::Negate:
        case Op::Plus:
            return 3;
        default:
            return 4;
    }
}

// Writes a tree as formula text; `writeRef` turns a reference into its notation. Trees
// read from tokens may lack the parentheses that their shape needs in text, so the writer
// adds them wherever the text would otherwise read back differently.
template <typename RefWriter>
class TextWriter {
  public:
    explicit TextWriter(RefWriter writeRef) : writeRef_(std::move(writeRef)) {}

    std::string Write(const Expr& root) {
        out_ = "=";
        Append(root);
        return std::move(out_);
    }

  private:
    void Append(const Expr& e) {
        switch (e.op) {
            case Op::Number:
                out_ += NumberToFormulaText(e.number);
                break;
            case Op::Text:
                AppendQuoted(e.text);
                break;
            case Op::Ref:
                out_ += writeRef_(e.ref);
                break;
            case Op::Add:
                AppendBinary(e, '+');
                break;
            case Op::Subtract:
                AppendBinary(e, '-');
                break;
            case Op::Multiply:
                AppendBinary(e, '*');
                break;
            case Op::Divide:
                AppendBinary(e, '/');
                break;
            case Op::Negate:
                AppendUnary(e, '-');
                break;
            case Op::Plus:
                AppendUnary(e, '+');
                break;
            case Op::Paren:
                out_ += '(';
                Append(e.args[0]);
                out_ += ')';
                break;
            case Op::Sum:
                out_ += "SUM(";
                for (std::size_t i = 0; i < e.args.size(); ++i) {
                    if (i > 0) out_ += ',';
                    Append(e.args[i]);
                }
                out_ += ')';
                break;
        }
    }

    void AppendBinary(const Expr& e, char symbol) {
        const int own = Precedence(e.op);
        AppendOperand(e.args[0], Precedence(e.args[0].op) < own);
        out_ += symbol;
        AppendOperand(e.args[1], Precedence(e.args[1].op) <= own);
    }

    void AppendUnary(const Expr& e, char symbol) {
        out_ += symbol;
        AppendOperand(e.args[0], Precedence(e.args[0].op) < Precedence(e.op));
    }

    void AppendOperand(const Expr& e, bool parenthesise) {
        if (parenthesise) out_ += '(';
        Append(e);
        if (parenthesise) out_ += ')';
    }

    void AppendQuoted(const std::string& text) {
        out_ += '"';
        for (char c : text) {
            if (c == '"') out_ += '"';  // a quote inside a text is written twice
            out_ += c;
        }
        out_ += '"';
    }

    RefWriter writeRef_;
    std::string out_;
};

void AppendR1C1Axis(std::string& out, char letter, Axis axis) {
    out += letter;
    if (!axis.relative)
        out += std::to_string(axis.value + 1);
    else if (axis.value != 0)
        out += '[' + std::to_string(axis.value) + ']';
}

std::string RefToR1C1(const Reference& ref) {
    auto corner = [&ref](Axis row, Axis col) {
        std::string out;
        if (ref.shape != RefShape::Columns) AppendR1C1Axis(out, 'R', row);
        if (ref.shape != RefShape::Rows) AppendR1C1Axis(out, 'C', col);
        return out;
    };
    std::string out = corner(ref.firstRow, ref.firstCol);
    if (ref.isRange) out += ':' + corner(ref.lastRow, ref.lastCol);
    return out;
}

std::string RefToA1(const Reference& ref, CellRef anchor) {
    if (!ResolveRef(ref, anchor)) return ErrorText(ErrorCode::Ref);
    auto row = [&](Axis axis) {
        std::string text = axis.relative ? "" : "$";
        text += std::to_string(axis.Resolve(anchor.row) + 1);
        return text;
    };
    auto col = [&](Axis axis) {
        std::string text = axis.relative ? "" : "$";
        text += ColumnName(axis.Resolve(anchor.col));
        return text;
    };
    switch (ref.shape) {
        case RefShape::Rows:
            return row(ref.firstRow) + ':' + row(ref.lastRow);
        case RefShape::Columns:
            return col(ref.firstCol) + ':' + col(ref.lastCol);
        case RefShape::Cells:
            break;
    }
    std::string out = col(ref.firstCol) + row(ref.firstRow);
    if (ref.isRange) out += ':' + col(ref.lastCol) + row(ref.lastRow);
    return out;
}

}  // namespace

std::string WriteR1C1(const Expr& expr) {
    return TextWriter([](const Reference& ref) { return RefToR1C1(ref); }).Write(expr);
}

std::string FormulaToA1(const Formula& formula, CellRef anchor) {
    if (!formula.Tree()) return formula.R1C1();
    return TextWriter([anchor](const Reference& ref) { return RefToA1(ref, anchor); })
        .Write(*formula.Tree());
}

}  // namespace quill::spreadsheet::formula
