// The workbook model of the embedded spreadsheet engine: sheets of cells with contents,
// computed values and formats, row heights, column widths, merged areas, the print set-up
// and the sheet view. Everything else in the engine (formulas, number formats, the .xls
// file, the renderer and the automation-style object model) works on these types.
//
// Rows and columns are zero-based here (row 0 is sheet row 1, column 0 is column A).
#pragma once

#include <algorithm>
#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <variant>
#include <vector>

#include "spreadsheet/core/Limits.h"
#include "spreadsheet/core/Palette.h"

namespace quill::spreadsheet {

// The engine's failures (bad addresses, unparsable formulas, unreadable files) are
// reported to the caller by this exception.
class EngineError : public std::runtime_error {
  public:
    explicit EngineError(const std::string& what) : std::runtime_error(what) {}
};

struct CellRef {
    int row = 0;
    int col = 0;
    friend auto operator<=>(const CellRef&, const CellRef&) = default;
};

// An inclusive rectangle of cells, first at the top left.
struct RangeRef {
    CellRef first;
    CellRef last;

    static RangeRef Of(CellRef a, CellRef b);  // normalises any two corners
    static RangeRef Single(CellRef c) { return {c, c}; }
    int Rows() const { return last.row - first.row + 1; }
    int Columns() const { return last.col - first.col + 1; }
    bool Contains(CellRef c) const {
        return c.row >= first.row && c.row <= last.row && c.col >= first.col && c.col <= last.col;
    }
    bool Intersects(const RangeRef& o) const {
        return first.row <= o.last.row && o.first.row <= last.row && first.col <= o.last.col &&
               o.first.col <= last.col;
    }
    bool IsSingleCell() const { return first == last; }
    friend bool operator==(const RangeRef&, const RangeRef&) = default;
};

// Colour numbers follow the object model: 1 to 56 name palette entries.
inline constexpr int kColorAutomatic = -4105;  // font colour chosen by the program
inline constexpr int kNoFill = 0;              // no interior colour

enum class HAlign : std::uint8_t { General = 0, Left = 1, Center = 2, Right = 3 };
enum class VAlign : std::uint8_t { Top = 0, Center = 1, Bottom = 2 };
enum class Edge : std::uint8_t { Left = 0, Right = 1, Top = 2, Bottom = 3 };
enum class LineStyle : std::uint8_t { None = 0, Thin = 1 };

struct Font {
    std::string name = "Arial";
    double size = 10.0;  // points
    bool bold = false;
    bool italic = false;
    int colorIndex = kColorAutomatic;
    friend bool operator==(const Font&, const Font&) = default;
};

struct CellFormat {
    Font font;
    int fill = kNoFill;                  // palette entry 1..56 of a solid fill, or kNoFill
    std::array<LineStyle, 4> borders{};  // indexed by Edge
    std::string numberFormat = "General";
    HAlign hAlign = HAlign::General;
    VAlign vAlign = VAlign::Bottom;
    bool wrap = false;
    // A locked cell cannot be changed while its sheet is protected; every cell is locked
    // unless its format says otherwise.
    bool locked = true;

    LineStyle Border(Edge e) const { return borders[static_cast<std::size_t>(e)]; }
    void SetBorder(Edge e, LineStyle s) { borders[static_cast<std::size_t>(e)] = s; }
    friend bool operator==(const CellFormat&, const CellFormat&) = default;
};

enum class ErrorCode : std::uint8_t {
    Null = 0x00,
    Div0 = 0x07,
    Value = 0x0F,
    Ref = 0x17,
    Name = 0x1D,
    Num = 0x24,
    NA = 0x2A,
};
std::string ErrorText(ErrorCode code);  // "#DIV/0!" and so on

// A computed or stored value: empty, number, text, logical or error.
using Value = std::variant<std::monostate, double, std::string, bool, ErrorCode>;

namespace formula {
struct Expr;  // a parsed formula; see formula/FormulaExpr.h
}  // namespace formula

// A formula in R1C1 notation. Relative references are offsets, so the same formula means
// the same thing wherever it stands; the anchor cell is supplied when it is evaluated,
// written to a file or shown in A1 notation. A column of cells usually holds one formula
// row after row, so copies share the text and the parsed tree: a formula in a cell costs a
// pointer, not a copy of both.
// A formula's computed value, kept in 16 bytes: a number, logical or error in place, a
// text (rare as a formula's result) on the heap. A large sheet holds a formula in every
// other cell, so this is what makes a formula cell small.
class FormulaResult {
  public:
    FormulaResult() noexcept : number_(0.0) {}
    FormulaResult(const FormulaResult& other) : number_(0.0) { CopyFrom(other); }
    FormulaResult(FormulaResult&& other) noexcept : number_(0.0) { TakeFrom(other); }
    FormulaResult& operator=(const FormulaResult& other);
    FormulaResult& operator=(FormulaResult&& other) noexcept;
    ~FormulaResult() { Clear(); }

    Value Get() const;
    void Set(Value value);

  private:
    void Clear() noexcept;
    void CopyFrom(const FormulaResult& other);
    void TakeFrom(FormulaResult& other) noexcept;

    union {
        double number_;
        bool flag_;
        ErrorCode code_;
        std::string* text_;  // owned; made and freed only by this class
    };
    std::uint8_t kind_ = 0;  // the index of the Value alternative held
};

class Formula {
  public:
    Formula() = default;
    Formula(std::string r1c1, std::shared_ptr<const formula::Expr> tree)
        : source_(std::make_shared<const Source>(Source{std::move(r1c1), std::move(tree)})) {}

    // The canonical text, beginning with "=".
    const std::string& R1C1() const { return source_ ? source_->r1c1 : Empty().r1c1; }
    // The parsed form; null for a formula that was never parsed.
    const std::shared_ptr<const formula::Expr>& Tree() const {
        return source_ ? source_->tree : Empty().tree;
    }
    // The value it computed last (Recalculate), or the one a file stored for it; empty
    // until then. It belongs to this copy of the formula alone.
    Value Result() const { return result_.Get(); }
    void SetResult(Value value) { result_.Set(std::move(value)); }

  private:
    struct Source {
        std::string r1c1;
        std::shared_ptr<const formula::Expr> tree;
    };
    static const Source& Empty() {
        static const Source empty;
        return empty;
    }
    std::shared_ptr<const Source> source_;
    FormulaResult result_;
};

struct Cell {
    std::variant<std::monostate, double, std::string, Formula> content;
    int format = -1;  // index into Workbook::formats, or -1 for the sheet's default format

    bool HasContent() const { return content.index() != 0; }
    const Formula* AsFormula() const { return std::get_if<Formula>(&content); }
    // The computed value of a formula (Formula::Result); empty for other contents.
    Value Cached() const {
        const Formula* formula = AsFormula();
        return formula != nullptr ? formula->Result() : Value{};
    }
    // Sets a formula's computed value; a cell without a formula has none to set.
    void SetCached(Value value) {
        if (auto* formula = std::get_if<Formula>(&content)) formula->SetResult(std::move(value));
    }
};

struct PageSetup {
    // Margins in inches.
    double leftMargin = 0.7;
    double rightMargin = 0.7;
    double topMargin = 0.75;
    double bottomMargin = 0.75;
    double headerMargin = 0.3;
    double footerMargin = 0.3;
    bool portrait = true;
    int paperSize = 9;  // 9 = A4
    bool printComments = false;
    // The printed area centred between the margins.
    bool centerHorizontally = false;
    bool centerVertically = false;
    // Either a zoom percentage or, when fitToPages is on, fitting to pages.
    bool fitToPages = false;
    int zoom = 100;
    int fitWide = 1;
    int fitTall = 1;
    friend bool operator==(const PageSetup&, const PageSetup&) = default;
};

// How a cell's value is compared with one or two numbers, in the order the file formats
// number their operators (a data validation counts from 0, a conditional format from 1).
enum class Comparison : std::uint8_t {
    Between = 0,
    NotBetween,
    Equal,
    NotEqual,
    Greater,
    Less,
    GreaterOrEqual,
    LessOrEqual,
};
// Whether `value` passes the comparison with `first` (and `second` for the two betweens,
// which take the two numbers in either order).
bool Compare(Comparison op, double value, double first, double second);

// A conditional format: a cell of `areas` whose value passes the comparison shows the font
// colour and fill given here instead of its own (kColorAutomatic and kNoFill change
// nothing). An empty cell counts as 0; a text, logical or error value never passes.
struct ConditionalFormat {
    std::vector<RangeRef> areas;
    Comparison op = Comparison::Less;
    double first = 0;
    double second = 0;
    int fontColor = kColorAutomatic;  // palette entry 1..56
    int fill = kNoFill;               // palette entry 1..56 of a solid fill
    friend bool operator==(const ConditionalFormat&, const ConditionalFormat&) = default;
};

// What a data validation lets a cell hold (the numbers the file formats use).
enum class ValidationType : std::uint8_t { WholeNumber = 1, Decimal = 2 };
enum class ValidationAlert : std::uint8_t { Stop = 0, Warning = 1, Information = 2 };

// A data validation: the cells of `areas` accept only a number of `type` that passes the
// comparison. A spreadsheet program prompts with the input texts when such a cell is
// selected and refuses anything else with the error texts (or, for a warning or an
// information alert, asks first).
struct DataValidation {
    std::vector<RangeRef> areas;
    ValidationType type = ValidationType::Decimal;
    Comparison op = Comparison::Between;
    double first = 0;
    double second = 0;
    ValidationAlert alert = ValidationAlert::Stop;
    bool ignoreBlank = true;  // an emptied cell is accepted
    bool showInput = true;
    bool showError = true;
    std::string inputTitle;    // at most 32 characters
    std::string inputMessage;  // at most 255
    std::string errorTitle;    // at most 32
    std::string errorMessage;  // at most 225
    friend bool operator==(const DataValidation&, const DataValidation&) = default;
};
// The longest texts a validation can carry in both file formats.
inline constexpr std::size_t kMaxValidationTitle = 32;
inline constexpr std::size_t kMaxValidationInput = 255;
inline constexpr std::size_t kMaxValidationError = 225;

class Worksheet {
  public:
    explicit Worksheet(std::string name) : name_(std::move(name)) {}

    const std::string& Name() const { return name_; }
    void SetName(std::string name);  // throws EngineError for an empty or too long name

    // Cells that hold a content or a format of their own, in row-major order.
    class CellView;
    CellView Cells() const;
    std::size_t CellCount() const { return cellCount_; }
    // A reference or pointer to a cell stays valid until a cell is added to or removed from
    // its row.
    const Cell* Find(CellRef at) const;
    Cell* Find(CellRef at);  // none when the cell is not stored; never creates one
    Cell& At(CellRef at);    // creates an empty cell
    // Calls visit(CellRef, Cell&) for every stored cell in row-major order; `visit` must not
    // add or remove cells.
    template <class Visit>
    void ForEachCell(Visit&& visit);
    // Calls visit(CellRef, Cell&) for every cell of `area` in row-major order, creating the
    // cells that do not exist yet (throws EngineError when the area leaves the sheet).
    // `visit` must not add or remove cells.
    template <class Visit>
    void ForEachCellIn(const RangeRef& area, Visit&& visit);
    // Calls visit(CellRef, const Cell&) for the stored cells of `area` in row-major order
    // until it returns false; the cost follows the rows of the area and its stored cells.
    template <class Visit>
    void ForEachStoredIn(const RangeRef& area, Visit&& visit) const;
    void Erase(CellRef at);
    // Contents, formats, merges, conditional formats and validations back to a new sheet's;
    // sizes and the protection stay.
    void ClearAll();

    // Sheet-wide format that every cell without a format of its own shows.
    int DefaultFormat() const { return defaultFormat_; }
    void SetDefaultFormat(int format) { defaultFormat_ = format; }
    int FormatIndexOf(CellRef at) const;  // the cell's own format, else the default

    // Sizes: row heights in points, column widths in characters of the default font.
    static constexpr double kDefaultRowHeight = 12.75;
    static constexpr double kDefaultColumnWidth = 8.43;
    double RowHeight(int row) const;
    double ColumnWidth(int col) const;
    void SetRowHeight(int row, double points);
    void SetColumnWidth(int col, double characters);
    const std::map<int, double>& RowHeights() const { return rowHeights_; }
    const std::map<int, double>& ColumnWidths() const { return columnWidths_; }

    // Merged areas never overlap; merging over existing areas absorbs them.
    const std::vector<RangeRef>& Merges() const { return merges_; }
    void Merge(const RangeRef& area);
    void Unmerge(const RangeRef& area);         // splits every merged area that touches `area`
    const RangeRef* MergeAt(CellRef at) const;  // the merged area that holds the cell

    // The bounding box of the cells that hold a value, a formula or a format of their own
    // (merged areas included); none for an untouched sheet.
    std::optional<RangeRef> UsedRange() const;

    std::optional<RangeRef> printArea;
    PageSetup pageSetup;
    // In order of priority: where several apply to a cell, the first whose condition holds.
    std::vector<ConditionalFormat> conditionalFormats;
    std::vector<DataValidation> validations;
    // A protected sheet keeps its locked cells from being changed; it has no password, and
    // selecting locked and unlocked cells stays allowed.
    bool isProtected = false;
    RangeRef selection = RangeRef::Single({0, 0});
    CellRef activeCell{0, 0};

  private:
    // A stored cell and its column. Each row keeps its cells in a vector sorted by column:
    // a sheet of many rows with a few columns each costs the cells themselves and little
    // more, and a row's cells lie together in memory for the row-by-row work of building,
    // saving and drawing.
    struct Entry : Cell {
        // The column sits in the cell's tail padding, so an entry takes no more room than
        // the cell alone.
        std::uint16_t col = 0;
        Cell& cell() { return *this; }
        const Cell& cell() const { return *this; }
    };
    using Row = std::vector<Entry>;
    Row& RowFor(int row);  // creates the row's slot
    static Row::iterator Seek(Row& row, int col);
    static Row::const_iterator Seek(const Row& row, int col);

    std::string name_;
    std::vector<Row> rows_;  // indexed by row; as long as the last row with a cell needs
    std::size_t cellCount_ = 0;
    int defaultFormat_ = 0;
    std::map<int, double> rowHeights_;
    std::map<int, double> columnWidths_;
    std::vector<RangeRef> merges_;
};

// Iterates the stored cells as (CellRef, const Cell&) pairs, in row-major order.
class Worksheet::CellView {
  public:
    class iterator {
      public:
        using value_type = std::pair<CellRef, const Cell&>;
        using difference_type = std::ptrdiff_t;
        using iterator_category = std::forward_iterator_tag;

        iterator() = default;
        value_type operator*() const {
            const Entry& e = (*rows_)[row_][index_];
            return {CellRef{static_cast<int>(row_), e.col}, e.cell()};
        }
        iterator& operator++() {
            ++index_;
            SkipEmpty();
            return *this;
        }
        iterator operator++(int) {
            iterator before = *this;
            ++*this;
            return before;
        }
        friend bool operator==(const iterator& a, const iterator& b) {
            return a.row_ == b.row_ && a.index_ == b.index_;
        }

      private:
        friend class CellView;
        iterator(const std::vector<Row>* rows, std::size_t row) : rows_(rows), row_(row) {
            SkipEmpty();
        }
        void SkipEmpty() {
            while (row_ < rows_->size() && index_ >= (*rows_)[row_].size()) {
                ++row_;
                index_ = 0;
            }
        }
        const std::vector<Row>* rows_ = nullptr;
        std::size_t row_ = 0;
        std::size_t index_ = 0;
    };

    iterator begin() const { return {rows_, 0}; }
    iterator end() const { return {rows_, rows_->size()}; }
    std::size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }

  private:
    friend class Worksheet;
    CellView(const std::vector<Row>* rows, std::size_t count) : rows_(rows), count_(count) {}
    const std::vector<Row>* rows_;
    std::size_t count_;
};

inline Worksheet::CellView Worksheet::Cells() const {
    return {&rows_, cellCount_};
}

template <class Visit>
void Worksheet::ForEachCell(Visit&& visit) {
    for (std::size_t r = 0; r < rows_.size(); ++r)
        for (Entry& e : rows_[r]) visit(CellRef{static_cast<int>(r), e.col}, e.cell());
}

template <class Visit>
void Worksheet::ForEachCellIn(const RangeRef& area, Visit&& visit) {
    if (area.first.row < 0 || area.first.col < 0 || area.last.row >= kMaxRows ||
        area.last.col >= kMaxColumns)
        throw EngineError("Cells outside the sheet");
    const int columns = area.Columns();
    for (int r = area.first.row; r <= area.last.row; ++r) {
        Row& row = RowFor(r);
        auto it = Seek(row, area.first.col);
        // Count the cells the row lacks first, so it grows once to its final size.
        int present = 0;
        for (auto p = it; p != row.end() && p->col <= area.last.col; ++p) ++present;
        if (present < columns) {
            const std::size_t at = static_cast<std::size_t>(it - row.begin());
            const std::size_t missing = static_cast<std::size_t>(columns - present);
            if (row.capacity() < row.size() + missing) row.reserve(row.size() + missing);
            // Existing cells keep their places relative to each other; the new ones are
            // inserted column by column below.
            it = row.begin() + static_cast<std::ptrdiff_t>(at);
            for (int c = area.first.col; c <= area.last.col; ++c, ++it)
                if (it == row.end() || it->col != c) {
                    it = row.insert(it, Entry{Cell{}, static_cast<std::uint16_t>(c)});
                    ++cellCount_;
                }
            it = row.begin() + static_cast<std::ptrdiff_t>(at);
        }
        for (int c = area.first.col; c <= area.last.col; ++c, ++it)
            visit(CellRef{r, c}, it->cell());
    }
}

template <class Visit>
void Worksheet::ForEachStoredIn(const RangeRef& area, Visit&& visit) const {
    const int lastRow = std::min(area.last.row, static_cast<int>(rows_.size()) - 1);
    for (int r = std::max(area.first.row, 0); r <= lastRow; ++r) {
        const Row& row = rows_[static_cast<std::size_t>(r)];
        for (auto it = Seek(row, area.first.col); it != row.end() && it->col <= area.last.col; ++it)
            if (!visit(CellRef{r, it->col}, it->cell())) return;
    }
}

// The palette a new workbook starts with (the standard 56 colours of BIFF8 files).
const Palette& DefaultPalette();

class Workbook {
  public:
    Workbook();  // one format (the default: Arial 10), no sheets

    Palette palette = DefaultPalette();
    // The document title that other programs show among the file's properties.
    std::string title;

    // Formats are shared by value: the same format always has the same index.
    int AddFormat(const CellFormat& format);
    const CellFormat& Format(int index) const {
        return formats_.at(static_cast<std::size_t>(index));
    }
    const std::vector<CellFormat>& Formats() const { return formats_; }

    // What one attribute change makes of a format, remembered: a builder applies the same
    // few changes to the same few formats over and over, and looking the result up is far
    // cheaper than copying, changing and hashing the format again. `change` names the
    // change completely (which attribute, and its new value); formats never change once
    // added, so a remembered result stays right.
    struct FormatChange {
        std::uint32_t attribute = 0;
        std::uint64_t value = 0;
        friend bool operator==(const FormatChange&, const FormatChange&) = default;
    };
    std::optional<int> ChangedFormat(int from, const FormatChange& change) const;
    void RememberChangedFormat(int from, const FormatChange& change, int to);
    // A number that stands for a text in FormatChange values (the same text, the same number).
    std::uint64_t TextNumber(std::string_view text);

    std::vector<std::unique_ptr<Worksheet>>& Sheets() { return sheets_; }
    const std::vector<std::unique_ptr<Worksheet>>& Sheets() const { return sheets_; }
    Worksheet& AddSheet(std::string name);
    int activeSheet = 0;
    // The sheet a reader of the file sees first: the active sheet, or the nearest one when
    // the index lies outside the sheets; null for a workbook without sheets.
    const Worksheet* ShownSheet() const;

    // The format a cell shows: its own, else its sheet's default.
    const CellFormat& EffectiveFormat(const Worksheet& sheet, CellRef at) const {
        return Format(sheet.FormatIndexOf(at));
    }

  private:
    struct FormatHash {
        std::size_t operator()(const CellFormat& format) const noexcept;
    };

    std::vector<CellFormat> formats_;
    // formats_ by value: the builder adds a format for every attribute it sets, and a search
    // through the whole list each time made building large sheets slow.
    std::unordered_map<CellFormat, int, FormatHash> formatIndex_;
    struct ChangeKey {
        int from;
        FormatChange change;
        friend bool operator==(const ChangeKey&, const ChangeKey&) = default;
    };
    struct ChangeKeyHash {
        std::size_t operator()(const ChangeKey& key) const noexcept;
    };
    std::unordered_map<ChangeKey, int, ChangeKeyHash> changedFormats_;
    // Searched by string_view without making a string.
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const noexcept {
            return std::hash<std::string_view>()(text);
        }
    };
    std::unordered_map<std::string, std::uint64_t, TextHash, std::equal_to<>> textNumbers_;
    std::vector<std::unique_ptr<Worksheet>> sheets_;
};

// "A1" style names: column letters and cell addresses (zero-based in, text out).
std::string ColumnName(int col);
std::string CellName(CellRef at);
std::string RangeName(const RangeRef& range);  // "A1:J73", or "C15" for one cell
// Parses "B2", "$B$2", "B2:J4", "$B$2:$J$4", "1:1", "14:300", "B:B"; throws EngineError.
RangeRef ParseA1Range(const std::string& text);

}  // namespace quill::spreadsheet
