// Computing the values of all formulas of a workbook.
//
// Each sheet is calculated on its own (formulas refer to cells of their own sheet only).
// The formula cells and the formula cells they read form a graph; its strongly connected
// components, found with Tarjan's algorithm run on an explicit stack, come out in an order
// in which every component follows the ones it reads. A component of one cell that does
// not read itself is evaluated; every cell of a larger component, or a cell that reads
// itself, is part of a circular reference and gets #VALUE!. Nothing recurses over the
// cells, so long chains of formulas cannot exhaust the stack, and every cell is visited a
// bounded number of times, so a cycle cannot hang the calculation.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

#include "spreadsheet/formula/FormulaExpr.h"

namespace quill::spreadsheet::formula {
namespace {

// Visits the stored cells of `range` in row-major order. `seek(at)` gives the first
// stored cell at or after `at`; `address(it)` the address of a stored cell; `visit(it)`
// returns false to stop. Gaps to the left and right of the range are jumped over, so the
// cost follows the rows of the range and the cells inside it, not the whole sheet.
template <typename Iterator, typename Seek, typename Address, typename Visit>
void ForEachStoredIn(const RangeRef& range, Iterator end, Seek seek, Address address, Visit visit) {
    Iterator it = seek(range.first);
    while (it != end) {
        const CellRef at = address(it);
        if (at.row > range.last.row) return;
        if (at.col < range.first.col) {
            it = seek({at.row, range.first.col});
        } else if (at.col > range.last.col) {
            it = seek({at.row + 1, range.first.col});
        } else {
            if (!visit(it)) return;
            ++it;
        }
    }
}

// The value a cell shows to formulas that read it.
Value ValueOf(const Cell* cell) {
    if (cell == nullptr) return std::monostate{};
    if (const auto* number = std::get_if<double>(&cell->content)) return *number;
    if (const auto* text = std::get_if<std::string>(&cell->content)) return *text;
    if (const Formula* formula = cell->AsFormula()) return formula->Result();
    return std::monostate{};
}

// A number for arithmetic, or the error that stands in for it.
struct Number {
    double value = 0.0;
    std::optional<ErrorCode> error;
};

// Empty counts as 0 and a logical as 1 or 0; a text is not a number.
Number ToNumber(const Value& value) {
    if (const auto* number = std::get_if<double>(&value)) return {*number, {}};
    if (const auto* logical = std::get_if<bool>(&value)) return {*logical ? 1.0 : 0.0, {}};
    if (const auto* error = std::get_if<ErrorCode>(&value)) return {0.0, *error};
    if (std::holds_alternative<std::string>(value)) return {0.0, ErrorCode::Value};
    return {0.0, {}};
}

// Results too big for a number are #NUM!.
Value Finite(double value) {
    if (std::isfinite(value)) return value;
    return ErrorCode::Num;
}

// Evaluates the formulas of one sheet. Formula cells read the cached values of other
// formula cells, so those must have been computed before.
class Evaluator {
  public:
    explicit Evaluator(const Worksheet& sheet) : sheet_(sheet) {}

    Value Evaluate(const Formula& formula, CellRef anchor) {
        if (!formula.Tree()) return ErrorCode::Value;
        anchor_ = anchor;
        Value result = Eval(*formula.Tree());
        // A formula that shows an empty cell shows 0.
        if (std::holds_alternative<std::monostate>(result)) return 0.0;
        return result;
    }

  private:
    Value Eval(const Expr& e) {
        switch (e.op) {
            case Op::Number:
                return e.number;
            case Op::Text:
                return e.text;
            case Op::Ref:
                return RefValue(e.ref);
            case Op::Add:
            case Op::Subtract:
            case Op::Multiply:
            case Op::Divide:
                return Arithmetic(e);
            case Op::Negate: {
                const Number n = ToNumber(Eval(e.args[0]));
                if (n.error) return *n.error;
                return -n.value;
            }
            case Op::Plus:
            case Op::Paren:
                return Eval(e.args[0]);
            case Op::Sum:
                return Sum(e);
        }
        return ErrorCode::Value;
    }

    // A reference used as a value: one cell, or the cell of a one-row or one-column range
    // that stands in the formula's own column or row (implicit intersection).
    Value RefValue(const Reference& ref) const {
        const std::optional<RangeRef> range = ResolveRef(ref, anchor_);
        if (!range) return ErrorCode::Ref;
        CellRef at = range->first;
        if (!range->IsSingleCell()) {
            if (range->Columns() == 1 && range->Contains({anchor_.row, at.col}))
                at.row = anchor_.row;
            else if (range->Rows() == 1 && range->Contains({at.row, anchor_.col}))
                at.col = anchor_.col;
            else
                return ErrorCode::Value;
        }
        return ValueOf(sheet_.Find(at));
    }

    Value Arithmetic(const Expr& e) {
        const Number left = ToNumber(Eval(e.args[0]));
        if (left.error) return *left.error;
        const Number right = ToNumber(Eval(e.args[1]));
        if (right.error) return *right.error;
        switch (e.op) {
            case Op::Add:
                return Finite(left.value + right.value);
            case Op::Subtract:
                return Finite(left.value - right.value);
            case Op::Multiply:
                return Finite(left.value * right.value);
            case Op::Divide:
                if (right.value == 0.0) return ErrorCode::Div0;
                return Finite(left.value / right.value);
            default:
                return ErrorCode::Value;
        }
    }

    // SUM adds the numbers of the cells its references name, skipping texts, logicals and
    // empty cells; any other argument counts as a number. The first error wins.
    Value Sum(const Expr& e) {
        double total = 0.0;
        for (const Expr& arg : e.args) {
            const Expr* inner = &arg;
            while (inner->op == Op::Paren) inner = &inner->args[0];
            if (inner->op == Op::Ref) {
                if (const std::optional<ErrorCode> error = AddCells(inner->ref, total))
                    return *error;
                continue;
            }
            const Number n = ToNumber(Eval(arg));
            if (n.error) return *n.error;
            total += n.value;
        }
        return Finite(total);
    }

    std::optional<ErrorCode> AddCells(const Reference& ref, double& total) const {
        const std::optional<RangeRef> range = ResolveRef(ref, anchor_);
        if (!range) return ErrorCode::Ref;
        std::optional<ErrorCode> error;
        sheet_.ForEachStoredIn(*range, [&](CellRef, const Cell& cell) {
            const Value value = ValueOf(&cell);
            if (const auto* number = std::get_if<double>(&value)) total += *number;
            if (const auto* code = std::get_if<ErrorCode>(&value)) error = *code;
            return !error;
        });
        return error;
    }

    const Worksheet& sheet_;
    CellRef anchor_;
};

class SheetCalculation {
  public:
    explicit SheetCalculation(Worksheet& sheet) : evaluator_(sheet) {
        // One pass over the stored cells is far cheaper than looking each formula cell up.
        sheet.ForEachCell([this](CellRef at, Cell& cell) {
            if (cell.AsFormula() != nullptr) {
                at_.push_back(at);
                keys_.push_back(Key(at));
                cells_.push_back(&cell);
            }
        });
        const std::size_t n = at_.size();
        // rowStart_[r]: the first formula cell in row r or below; one entry past the last
        // formula row ends every search.
        const std::size_t rows = at_.empty() ? 0 : static_cast<std::size_t>(at_.back().row) + 1;
        rowStart_.assign(rows + 1, static_cast<std::uint32_t>(n));
        for (std::size_t i = n; i-- > 0;)
            rowStart_[static_cast<std::size_t>(at_[i].row)] = static_cast<std::uint32_t>(i);
        for (std::size_t r = rows; r-- > 0;)
            rowStart_[r] = std::min(rowStart_[r], rowStart_[r + 1]);
        order_.assign(n, kUnvisited);
        low_.assign(n, 0);
        onStack_.assign(n, false);
        readsItself_.assign(n, false);
    }

    void Run() {
        for (int root = 0; root < static_cast<int>(at_.size()); ++root)
            if (order_[root] == kUnvisited) Explore(root);
    }

  private:
    static constexpr int kUnvisited = -1;

    // A cell being explored; its precedents are edges_[begin, end), `next` the first one
    // not yet followed. Frames are stacked, and so are their slices of edges_.
    struct Frame {
        int node;
        std::size_t begin, next, end;
    };

    // Tarjan's algorithm from `root`, with the call stack kept in `calls_`.
    void Explore(int root) {
        Enter(root);
        while (!calls_.empty()) {
            Frame& top = calls_.back();
            if (top.next < top.end) {
                const int w = edges_[top.next++];
                if (order_[w] == kUnvisited)
                    Enter(w);  // invalidates `top`
                else if (onStack_[w])
                    low_[top.node] = std::min(low_[top.node], order_[w]);
                continue;
            }
            const int v = top.node;
            edges_.resize(top.begin);
            calls_.pop_back();
            if (!calls_.empty())
                low_[calls_.back().node] = std::min(low_[calls_.back().node], low_[v]);
            if (low_[v] == order_[v]) FinishComponent(v);
        }
    }

    void Enter(int v) {
        order_[v] = low_[v] = counter_++;
        component_.push_back(v);
        onStack_[v] = true;
        const std::size_t begin = edges_.size();
        const Formula& formula = *cells_[v]->AsFormula();
        if (formula.Tree()) AddPrecedents(*formula.Tree(), v);
        calls_.push_back({v, begin, begin, edges_.size()});
    }

    // Takes the component whose first-entered cell is `v` off the stack and computes it.
    void FinishComponent(int v) {
        const auto first = std::find(component_.rbegin(), component_.rend(), v).base() - 1;
        const bool circular = component_.end() - first > 1 || readsItself_[v];
        for (auto it = first; it != component_.end(); ++it) {
            onStack_[*it] = false;
            Cell& cell = *cells_[*it];
            cell.SetCached(circular ? Value{ErrorCode::Value}
                                    : evaluator_.Evaluate(*cell.AsFormula(), at_[*it]));
        }
        component_.erase(first, component_.end());
    }

    // Appends to edges_ the formula cells that the formula of cell `v` reads.
    void AddPrecedents(const Expr& e, int v) {
        if (e.op != Op::Ref) {
            for (const Expr& arg : e.args) AddPrecedents(arg, v);
            return;
        }
        const std::optional<RangeRef> range = ResolveRef(e.ref, at_[v]);
        if (!range) return;
        const auto begin = keys_.begin(), end = keys_.end();
        // The search for a cell stays within the formula cells of its row.
        auto seek = [&](CellRef at) {
            if (at.row >= static_cast<int>(rowStart_.size()) - 1) return end;
            const auto row = static_cast<std::size_t>(at.row);
            return std::lower_bound(begin + rowStart_[row], begin + rowStart_[row + 1], Key(at));
        };
        ForEachStoredIn(
            *range, end, seek,
            [](auto it) {
                return CellRef{static_cast<int>(*it >> 8), static_cast<int>(*it & 0xFF)};
            },
            [&](auto it) {
                const int w = static_cast<int>(it - begin);
                if (w == v)
                    readsItself_[v] = true;
                else
                    edges_.push_back(w);
                return true;
            });
    }

    // A cell address as one number in row-major order, for fast searching. Row 65536 (one
    // past the sheet) is a valid key too: it ends a search after the last row.
    static std::uint32_t Key(CellRef at) {
        return static_cast<std::uint32_t>(at.row) << 8 | static_cast<std::uint32_t>(at.col);
    }

    Evaluator evaluator_;
    std::vector<CellRef> at_;              // formula cells in row-major order
    std::vector<std::uint32_t> keys_;      // their Key()s
    std::vector<std::uint32_t> rowStart_;  // where each row's formula cells begin in keys_
    std::vector<Cell*> cells_;             // the cells themselves
    std::vector<int> order_, low_;
    std::vector<bool> onStack_, readsItself_;
    std::vector<int> component_;  // cells entered but not yet assigned to a component
    std::vector<Frame> calls_;
    std::vector<int> edges_;
    int counter_ = 0;
};

}  // namespace

void Recalculate(Workbook& workbook) {
    for (const auto& sheet : workbook.Sheets()) SheetCalculation(*sheet).Run();
}

}  // namespace quill::spreadsheet::formula
