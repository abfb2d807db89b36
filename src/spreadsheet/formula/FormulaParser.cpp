// Reading formula text in R1C1 notation into a formula tree.
//
// Grammar (blanks are allowed between any two tokens, names and references are read
// without regard to case):
//   formula    = "=" expression
//   expression = term { ("+" | "-") term }
//   term       = unary { ("*" | "/") unary }
//   unary      = ("-" | "+") unary | primary
//   primary    = number | text | "(" expression ")" | "SUM" "(" expression {"," expression} ")"
//              | reference [":" reference]
//   reference  = "R" [axis] "C" [axis] | "R" [axis] | "C" [axis]
//   axis       = "[" ["-" | "+"] digits "]" | digits
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "spreadsheet/core/Ascii.h"
#include "spreadsheet/core/CLocale.h"
#include "spreadsheet/formula/FormulaExpr.h"

namespace quill::spreadsheet::formula {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool IsDigit(char c) {
    return IsAsciiDigit(c);
}
bool IsLetter(char c) {
    return IsAsciiLetter(c);
}
char Upper(char c) {
    return AsciiUpper(c);
}
// Characters that may continue a name; a reference followed by one of them is a name.
bool IsNameChar(char c) {
    return IsLetter(c) || IsDigit(c) || c == '_' || c == '.';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

class Parser {
  public:
    explicit Parser(std::string_view text) : text_(text) {}

    Expr ParseFormula() {
        if (!Accept('=')) Fail("a formula must begin with \"=\"");
        Expr root = ParseExpression();
        SkipBlanks();
        if (pos_ < text_.size()) Fail("unexpected \"" + std::string(1, text_[pos_]) + "\"");
        return root;
    }

  private:
    [[noreturn]] void Fail(const std::string& reason) const {
        throw FormulaError("Invalid formula \"" + std::string(text_) + "\" at position " +
                           std::to_string(pos_ + 1) + ": " + reason);
    }

    char Peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }

    void SkipBlanks() {
        while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
    }

    // Skips blanks, then consumes `c` if it comes next.
    bool Accept(char c) {
        SkipBlanks();
        if (Peek() != c) return false;
        ++pos_;
        return true;
    }

    void Expect(char c) {
        if (!Accept(c)) Fail("expected \"" + std::string(1, c) + "\"");
    }

    // Nesting of sub-expressions is bounded so that deeply nested text cannot exhaust the
    // stack while it is read; the tree depth itself is checked when nodes are made.
    class NestingGuard {
      public:
        explicit NestingGuard(Parser& parser) : parser_(parser) {
            if (++parser_.nesting_ > kMaxFormulaDepth) parser_.Fail("nested too deeply");
        }
        ~NestingGuard() { --parser_.nesting_; }
        NestingGuard(const NestingGuard&) = delete;
        NestingGuard& operator=(const NestingGuard&) = delete;

      private:
        Parser& parser_;
    };

    Expr Node(Op op, std::vector<Expr> args) {
        Expr node = MakeNode(op, std::move(args));
        if (node.depth > kMaxFormulaDepth) Fail("nested too deeply");
        return node;
    }

    Expr ParseExpression() {
        Expr left = ParseTerm();
        for (;;) {
            Op op;
            if (Accept('+'))
                op = Op::Add;
            else if (Accept('-'))
                op = Op::Subtract;
            else
                return left;
            Expr right = ParseTerm();
            left = Node(op, Pair(std::move(left), std::move(right)));
        }
    }

    Expr ParseTerm() {
        Expr left = ParseUnary();
        for (;;) {
            Op op;
            if (Accept('*'))
                op = Op::Multiply;
            else if (Accept('/'))
                op = Op::Divide;
            else
                return left;
            Expr right = ParseUnary();
            left = Node(op, Pair(std::move(left), std::move(right)));
        }
    }

    // Every recursion (a sign, parentheses, a SUM argument) passes through here.
    Expr ParseUnary() {
        NestingGuard guard(*this);
        if (Accept('-')) return Node(Op::Negate, One(ParseUnary()));
        if (Accept('+')) return Node(Op::Plus, One(ParseUnary()));
        return ParsePrimary();
    }

    Expr ParsePrimary() {
        SkipBlanks();
        const char c = Peek();
        if (c == '(') {
            ++pos_;
            Expr inner = ParseExpression();
            Expect(')');
            return Node(Op::Paren, One(std::move(inner)));
        }
        if (c == '"') return ParseText();
        if (IsDigit(c) || c == '.') return ParseNumber();
        if (IsLetter(c)) return ParseNameOrReference();
        if (c == '\0') Fail("the formula ends too early");
        Fail("unexpected \"" + std::string(1, c) + "\"");
    }

    Expr ParseNumber() {
        const std::size_t start = pos_;
        auto digits = [this] {
            while (IsDigit(Peek())) ++pos_;
        };
        digits();
        if (Peek() == '.') {
            ++pos_;
            digits();
        }
        if (Upper(Peek()) == 'E') {
            ++pos_;
            if (Peek() == '+' || Peek() == '-') ++pos_;
            if (!IsDigit(Peek())) Fail("invalid number");
            digits();
        }
        const std::string_view lexeme = text_.substr(start, pos_ - start);
        double value = 0.0;
        const auto [end, error] =
            std::from_chars(lexeme.data(), lexeme.data() + lexeme.size(), value);
        if (error == std::errc::result_out_of_range) {
            // Too small a number reads as the nearest one (0 or a denormal), too big fails.
            // strtod reads the decimal point of the locale: "1.5E-320" is read in C's.
            const CLocaleScope cLocale;
            value = std::strtod(std::string(lexeme).c_str(), nullptr);
            if (!std::isfinite(value)) Fail("number out of range");
            return MakeNumber(value);
        }
        if (error != std::errc{} || end != lexeme.data() + lexeme.size()) {
            pos_ = start;
            Fail("invalid number");
        }
        return MakeNumber(value);
    }

    Expr ParseText() {
        ++pos_;  // opening quote
        std::string value;
        for (;;) {
            if (pos_ >= text_.size()) Fail("a text has no closing quote");
            const char c = text_[pos_++];
            if (c != '"') {
                value += c;
            } else if (Peek() == '"') {  // "" stands for one quote inside the text
                value += '"';
                ++pos_;
            } else {
                return MakeText(std::move(value));
            }
        }
    }

    Expr ParseNameOrReference() {
        const std::size_t start = pos_;
        if (std::optional<Reference> first = ScanReference()) {
            SkipBlanks();
            if (Peek() != ':') return MakeRef(*first);
            ++pos_;
            SkipBlanks();
            const std::size_t secondAt = pos_;
            const std::optional<Reference> second = ScanReference();
            if (!second) Fail("expected a reference after \":\"");
            if (second->shape != first->shape) {
                pos_ = secondAt;
                Fail("the two ends of a range must both be cells, rows or columns");
            }
            first->lastRow = second->firstRow;
            first->lastCol = second->firstCol;
            first->isRange = true;
            return MakeRef(*first);
        }
        pos_ = start;
        while (IsNameChar(Peek())) ++pos_;
        std::string name(text_.substr(start, pos_ - start));
        std::transform(name.begin(), name.end(), name.begin(), Upper);
        if (!Accept('(')) {
            pos_ = start;
            Fail("unknown name \"" + name + "\"");
        }
        if (name != "SUM") {
            pos_ = start;
            Fail("unknown function \"" + name + "\"");
        }
        return ParseSumArguments();
    }

    Expr ParseSumArguments() {
        std::vector<Expr> args;
        do {
            args.push_back(ParseExpression());
        } while (Accept(','));
        Expect(')');
        return Node(Op::Sum, std::move(args));
    }

    // Reads an R1C1 reference at the current position. Gives nothing, with the position
    // unspecified, when the text there is not a reference (for example a name "RATE").
    std::optional<Reference> ScanReference() {
        Reference ref;
        const std::optional<Axis> row = ScanAxis('R', kMaxRows);
        const std::optional<Axis> col = ScanAxis('C', kMaxColumns);
        if (!row && !col) return std::nullopt;
        if (IsNameChar(Peek()) || Peek() == '[') return std::nullopt;
        ref.shape = !row ? RefShape::Columns : !col ? RefShape::Rows : RefShape::Cells;
        if (row) ref.firstRow = *row;
        if (col) ref.firstCol = *col;
        return ref;
    }

    // One axis: the letter, then "[offset]", a 1-based index, or nothing (offset 0).
    std::optional<Axis> ScanAxis(char letter, int size) {
        if (Upper(Peek()) != letter) return std::nullopt;
        ++pos_;
        Axis axis;
        if (Peek() == '[') {
            ++pos_;
            bool negative = false;
            if (Peek() == '-' || Peek() == '+') negative = text_[pos_++] == '-';
            const std::optional<int> offset = ScanDigits(size);
            if (!offset) Fail("invalid offset in a reference");
            if (*offset >= size) Fail("offset outside the sheet");
            if (Peek() != ']') Fail("expected \"]\"");
            ++pos_;
            axis.value = negative ? -*offset : *offset;
        } else if (IsDigit(Peek())) {
            const std::size_t at = pos_;
            const std::optional<int> index = ScanDigits(size);
            if (!index || *index < 1 || *index > size) {
                pos_ = at;
                Fail(std::string(letter == 'R' ? "row" : "column") + " outside the sheet");
            }
            axis = {*index - 1, false};
        }
        return axis;
    }

    // Decimal digits as a number; more than `limit` counts as too big and gives limit + 1.
    std::optional<int> ScanDigits(int limit) {
        if (!IsDigit(Peek())) return std::nullopt;
        long long value = 0;
        while (IsDigit(Peek())) {
            value = std::min<long long>(value * 10 + (text_[pos_++] - '0'), limit + 1LL);
        }
        return static_cast<int>(value);
    }

    static std::vector<Expr> One(Expr e) {
        std::vector<Expr> v;
        v.push_back(std::move(e));
        return v;
    }

    static std::vector<Expr> Pair(Expr a, Expr b) {
        std::vector<Expr> v;
        v.reserve(2);
        v.push_back(std::move(a));
        v.push_back(std::move(b));
        return v;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    int nesting_ = 0;
};

// The text kept for a parsed formula: as written, without surrounding blanks, with names
// and reference letters in upper case. Texts in quotes stay as they are.
std::string CanonicalText(std::string_view text) {
    std::string out(text);
    bool quoted = false;
    for (char& c : out) {
        if (c == '"') quoted = !quoted;
        if (!quoted) c = Upper(c);
    }
    return out;
}

}  // namespace

Formula ParseFormulaR1C1(std::string_view text) {
    const std::string_view trimmed = TrimBlanks(text);
    Parser parser(trimmed);
    return {CanonicalText(trimmed), std::make_shared<const Expr>(parser.ParseFormula())};
}

}  // namespace quill::spreadsheet::formula
