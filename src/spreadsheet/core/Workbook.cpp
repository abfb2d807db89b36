#include "spreadsheet/core/Workbook.h"

#include "spreadsheet/core/Ascii.h"

#include <algorithm>
#include <bit>
#include <utility>

namespace quill::spreadsheet {

RangeRef RangeRef::Of(CellRef a, CellRef b) {
    return {{std::min(a.row, b.row), std::min(a.col, b.col)},
            {std::max(a.row, b.row), std::max(a.col, b.col)}};
}

std::string ErrorText(ErrorCode code) {
    switch (code) {
        case ErrorCode::Null:
            return "#NULL!";
        case ErrorCode::Div0:
            return "#DIV/0!";
        case ErrorCode::Value:
            return "#VALUE!";
        case ErrorCode::Ref:
            return "#REF!";
        case ErrorCode::Name:
            return "#NAME?";
        case ErrorCode::Num:
            return "#NUM!";
        case ErrorCode::NA:
            return "#N/A";
    }
    return "#VALUE!";
}

// ---- FormulaResult ---------------------------------------------------------------------

FormulaResult& FormulaResult::operator=(const FormulaResult& other) {
    if (this != &other) {
        FormulaResult copy(other);  // a failed copy leaves this one as it was
        Clear();
        TakeFrom(copy);
    }
    return *this;
}

FormulaResult& FormulaResult::operator=(FormulaResult&& other) noexcept {
    if (this != &other) {
        Clear();
        TakeFrom(other);
    }
    return *this;
}

Value FormulaResult::Get() const {
    switch (kind_) {
        case 1:
            return number_;
        case 2:
            return *text_;
        case 3:
            return flag_;
        case 4:
            return code_;
        default:
            return std::monostate{};
    }
}

void FormulaResult::Set(Value value) {
    Clear();
    if (auto* text = std::get_if<std::string>(&value)) {
        text_ = std::make_unique<std::string>(std::move(*text)).release();
    } else if (const auto* number = std::get_if<double>(&value)) {
        number_ = *number;
    } else if (const auto* flag = std::get_if<bool>(&value)) {
        flag_ = *flag;
    } else if (const auto* code = std::get_if<ErrorCode>(&value)) {
        code_ = *code;
    }
    kind_ = static_cast<std::uint8_t>(value.index());
}

void FormulaResult::Clear() noexcept {
    if (kind_ == 2) {
        const std::unique_ptr<std::string> owned(text_);  // frees the text
    }
    kind_ = 0;
    number_ = 0.0;
}

void FormulaResult::CopyFrom(const FormulaResult& other) {
    switch (other.kind_) {
        case 1:
            number_ = other.number_;
            break;
        case 2:
            text_ = std::make_unique<std::string>(*other.text_).release();
            break;
        case 3:
            flag_ = other.flag_;
            break;
        case 4:
            code_ = other.code_;
            break;
        default:
            break;
    }
    kind_ = other.kind_;
}

void FormulaResult::TakeFrom(FormulaResult& other) noexcept {
    if (other.kind_ == 2) {
        text_ = other.text_;  // a text moves as its pointer
        kind_ = 2;
        other.kind_ = 0;
        other.number_ = 0.0;
        return;
    }
    CopyFrom(other);  // nothing in place can fail to copy
}

// ---- Worksheet -------------------------------------------------------------------------

void Worksheet::SetName(std::string name) {
    // A sheet name in a workbook file is 1 to 31 characters without : \ / ? * [ ].
    if (name.empty() || name.size() > 31 || name.find_first_of(":\\/?*[]") != std::string::npos) {
        throw EngineError("Invalid sheet name \"" + name + "\"");
    }
    name_ = std::move(name);
}

Worksheet::Row::iterator Worksheet::Seek(Row& row, int col) {
    return std::lower_bound(row.begin(), row.end(), col,
                            [](const Entry& e, int c) { return e.col < c; });
}

Worksheet::Row::const_iterator Worksheet::Seek(const Row& row, int col) {
    return std::lower_bound(row.begin(), row.end(), col,
                            [](const Entry& e, int c) { return e.col < c; });
}

Worksheet::Row& Worksheet::RowFor(int row) {
    static_assert(sizeof(Entry) == sizeof(Cell), "the column lives in the cell's tail padding");
    static_assert(sizeof(Formula) <= sizeof(std::string), "a formula is no larger than a text");
    const auto r = static_cast<std::size_t>(row);
    if (r >= rows_.size()) {
        // The row slots grow by half again, as a vector would, but never past the sheet.
        if (rows_.capacity() <= r)
            rows_.reserve(std::min<std::size_t>(std::max(r + 1, rows_.capacity() * 3 / 2),
                                                static_cast<std::size_t>(kMaxRows)));
        rows_.resize(r + 1);
    }
    return rows_[r];
}

const Cell* Worksheet::Find(CellRef at) const {
    if (at.row < 0 || static_cast<std::size_t>(at.row) >= rows_.size()) return nullptr;
    const Row& row = rows_[static_cast<std::size_t>(at.row)];
    const auto it = Seek(row, at.col);
    return it != row.end() && it->col == at.col ? &it->cell() : nullptr;
}

Cell* Worksheet::Find(CellRef at) {
    return const_cast<Cell*>(std::as_const(*this).Find(at));
}

Cell& Worksheet::At(CellRef at) {
    if (at.row < 0 || at.row >= kMaxRows || at.col < 0 || at.col >= kMaxColumns) {
        throw EngineError("Cell outside the sheet: row " + std::to_string(at.row + 1) +
                          ", column " + std::to_string(at.col + 1));
    }
    Row& row = RowFor(at.row);
    auto it = Seek(row, at.col);
    if (it != row.end() && it->col == at.col) return it->cell();
    // Rows hold a handful of cells: growing by a quarter (at least two) keeps the spare
    // room small.
    if (row.size() == row.capacity()) {
        const auto index = it - row.begin();
        row.reserve(row.size() + std::max<std::size_t>(2, row.size() / 4));
        it = row.begin() + index;
    }
    ++cellCount_;
    return row.insert(it, Entry{Cell{}, static_cast<std::uint16_t>(at.col)})->cell();
}

void Worksheet::Erase(CellRef at) {
    if (at.row < 0 || static_cast<std::size_t>(at.row) >= rows_.size()) return;
    Row& row = rows_[static_cast<std::size_t>(at.row)];
    const auto it = Seek(row, at.col);
    if (it == row.end() || it->col != at.col) return;
    row.erase(it);
    --cellCount_;
}

void Worksheet::ClearAll() {
    rows_ = {};
    cellCount_ = 0;
    merges_.clear();
    defaultFormat_ = 0;
    conditionalFormats.clear();
    validations.clear();
}

bool Compare(Comparison op, double value, double first, double second) {
    const double low = std::min(first, second), high = std::max(first, second);
    switch (op) {
        case Comparison::Between:
            return value >= low && value <= high;
        case Comparison::NotBetween:
            return value < low || value > high;
        case Comparison::Equal:
            return value == first;
        case Comparison::NotEqual:
            return value != first;
        case Comparison::Greater:
            return value > first;
        case Comparison::Less:
            return value < first;
        case Comparison::GreaterOrEqual:
            return value >= first;
        case Comparison::LessOrEqual:
            return value <= first;
    }
    return false;
}

int Worksheet::FormatIndexOf(CellRef at) const {
    const Cell* cell = Find(at);
    return cell != nullptr && cell->format >= 0 ? cell->format : defaultFormat_;
}

double Worksheet::RowHeight(int row) const {
    const auto it = rowHeights_.find(row);
    return it == rowHeights_.end() ? kDefaultRowHeight : it->second;
}

double Worksheet::ColumnWidth(int col) const {
    const auto it = columnWidths_.find(col);
    return it == columnWidths_.end() ? kDefaultColumnWidth : it->second;
}

void Worksheet::SetRowHeight(int row, double points) {
    if (row < 0 || row >= kMaxRows) throw EngineError("Row outside the sheet");
    // A row can be 0 to 409 points high.
    if (!(points >= 0.0 && points <= kMaxRowPoints))
        throw EngineError("Unable to set the RowHeight");
    rowHeights_[row] = points;
}

void Worksheet::SetColumnWidth(int col, double characters) {
    if (col < 0 || col >= kMaxColumns) throw EngineError("Column outside the sheet");
    // A column can be 0 to 255 characters wide.
    if (!(characters >= 0.0 && characters <= kMaxColumnCharacters))
        throw EngineError("Unable to set the ColumnWidth");
    columnWidths_[col] = characters;
}

void Worksheet::Merge(const RangeRef& area) {
    RangeRef merged = area;
    // Absorb every existing area that the new one touches, until none is left.
    bool grew = true;
    while (grew) {
        grew = false;
        for (auto it = merges_.begin(); it != merges_.end(); ++it) {
            if (it->Intersects(merged)) {
                merged = RangeRef::Of({std::min(merged.first.row, it->first.row),
                                       std::min(merged.first.col, it->first.col)},
                                      {std::max(merged.last.row, it->last.row),
                                       std::max(merged.last.col, it->last.col)});
                merges_.erase(it);
                grew = true;
                break;
            }
        }
    }
    if (merged.IsSingleCell()) return;
    merges_.push_back(merged);
}

void Worksheet::Unmerge(const RangeRef& area) {
    std::erase_if(merges_, [&](const RangeRef& m) { return m.Intersects(area); });
}

const RangeRef* Worksheet::MergeAt(CellRef at) const {
    for (const RangeRef& area : merges_)
        if (area.Contains(at)) return &area;
    return nullptr;
}

std::optional<RangeRef> Worksheet::UsedRange() const {
    std::optional<RangeRef> used;
    auto include = [&used](const RangeRef& r) {
        used = used ? RangeRef::Of({std::min(used->first.row, r.first.row),
                                    std::min(used->first.col, r.first.col)},
                                   {std::max(used->last.row, r.last.row),
                                    std::max(used->last.col, r.last.col)})
                    : r;
    };
    for (const auto& [at, cell] : Cells())
        if (cell.HasContent() || cell.format >= 0) include(RangeRef::Single(at));
    for (const RangeRef& area : merges_) include(area);
    return used;
}

// ---- Workbook --------------------------------------------------------------------------

const Palette& DefaultPalette() {
    static const Palette palette = [] {
        // The standard colours 1 to 56 as 0xRRGGBB.
        constexpr std::array<std::uint32_t, kPaletteSize> rgb = {
            0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF,
            0x800000, 0x008000, 0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080,
            0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF, 0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF,
            0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000, 0x008080, 0x0000FF,
            0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99,
            0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696,
            0x003366, 0x339966, 0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333};
        Palette p{};
        for (std::size_t i = 0; i < rgb.size(); ++i) {
            const std::uint32_t r = (rgb[i] >> 16) & 0xFF, g = (rgb[i] >> 8) & 0xFF,
                                b = rgb[i] & 0xFF;
            p[i] = r + 256 * g + 65536 * b;
        }
        return p;
    }();
    return palette;
}

// The texts count by their length only: a workbook has few number formats and font names,
// and hashing them in full cost more than the search it saves.
std::size_t Workbook::FormatHash::operator()(const CellFormat& f) const noexcept {
    std::size_t h = f.numberFormat.size();
    auto mix = [&h](std::size_t v) { h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2); };
    mix(f.font.name.size());
    mix(f.font.size == 0.0 ? 0 : std::bit_cast<std::uint64_t>(f.font.size));  // -0 == 0
    mix(static_cast<std::size_t>(f.font.bold) | static_cast<std::size_t>(f.font.italic) << 1);
    mix(static_cast<std::size_t>(f.font.colorIndex));
    mix(static_cast<std::size_t>(f.fill));
    for (const LineStyle line : f.borders) mix(static_cast<std::size_t>(line));
    mix(static_cast<std::size_t>(f.hAlign) | static_cast<std::size_t>(f.vAlign) << 4 |
        static_cast<std::size_t>(f.wrap) << 8 | static_cast<std::size_t>(f.locked) << 9);
    return h;
}

Workbook::Workbook() {
    formats_.push_back(CellFormat{});
    formatIndex_.emplace(formats_.back(), 0);
}

std::size_t Workbook::ChangeKeyHash::operator()(const ChangeKey& key) const noexcept {
    std::uint64_t h = static_cast<std::uint32_t>(key.from) * 0x9e3779b97f4a7c15ULL;
    h ^= (key.change.value + 0x632be59bd9b4e019ULL) * 0xbf58476d1ce4e5b9ULL;
    h ^= key.change.attribute * 0x94d049bb133111ebULL;
    return static_cast<std::size_t>(h ^ (h >> 31));
}

std::optional<int> Workbook::ChangedFormat(int from, const FormatChange& change) const {
    const auto it = changedFormats_.find({from, change});
    if (it == changedFormats_.end()) return std::nullopt;
    return it->second;
}

void Workbook::RememberChangedFormat(int from, const FormatChange& change, int to) {
    changedFormats_.emplace(ChangeKey{from, change}, to);
}

std::uint64_t Workbook::TextNumber(std::string_view text) {
    if (const auto it = textNumbers_.find(text); it != textNumbers_.end()) return it->second;
    return textNumbers_.emplace(std::string(text), textNumbers_.size()).first->second;
}

int Workbook::AddFormat(const CellFormat& format) {
    const auto it = formatIndex_.find(format);
    if (it != formatIndex_.end()) return it->second;
    // The file format numbers cell formats in 16 bits, less the fixed built-in ones.
    if (formats_.size() >= 4000) throw EngineError("Too many different cell formats");
    formats_.push_back(format);
    const int index = static_cast<int>(formats_.size() - 1);
    formatIndex_.emplace(format, index);
    return index;
}

const Worksheet* Workbook::ShownSheet() const {
    if (sheets_.empty()) return nullptr;
    const int last = static_cast<int>(sheets_.size()) - 1;
    return sheets_[static_cast<std::size_t>(std::clamp(activeSheet, 0, last))].get();
}

Worksheet& Workbook::AddSheet(std::string name) {
    auto sheet = std::make_unique<Worksheet>("Sheet");
    sheet->SetName(std::move(name));
    sheets_.push_back(std::move(sheet));
    return *sheets_.back();
}

// ---- A1 names --------------------------------------------------------------------------

std::string ColumnName(int col) {
    std::string name;
    for (int n = col + 1; n > 0; n = (n - 1) / 26)
        name.insert(name.begin(), static_cast<char>('A' + (n - 1) % 26));
    return name;
}

std::string CellName(CellRef at) {
    return ColumnName(at.col) + std::to_string(at.row + 1);
}

std::string RangeName(const RangeRef& range) {
    if (range.IsSingleCell()) return CellName(range.first);
    return CellName(range.first) + ":" + CellName(range.last);
}

namespace {

struct Part {
    std::optional<int> row;
    std::optional<int> col;
};

// One side of an A1 reference: "$B$2", "B2", "B", "14".
Part ParsePart(const std::string& text, std::size_t& pos) {
    Part part;
    auto skipDollar = [&] {
        if (pos < text.size() && text[pos] == '$') ++pos;
    };
    skipDollar();
    int col = 0;
    std::size_t letters = 0;
    while (pos < text.size() && IsAsciiLetter(text[pos])) {
        col = col * 26 + (AsciiUpper(text[pos]) - 'A' + 1);
        if (++letters > 3) throw EngineError("Invalid range \"" + text + "\"");
        ++pos;
    }
    if (letters > 0) {
        if (col > kMaxColumns) throw EngineError("Column outside the sheet in \"" + text + "\"");
        part.col = col - 1;
        skipDollar();
    }
    long row = 0;
    std::size_t digits = 0;
    while (pos < text.size() && IsAsciiDigit(text[pos])) {
        row = row * 10 + (text[pos] - '0');
        if (++digits > 6) throw EngineError("Invalid range \"" + text + "\"");
        ++pos;
    }
    if (digits > 0) {
        if (row < 1 || row > kMaxRows)
            throw EngineError("Row outside the sheet in \"" + text + "\"");
        part.row = static_cast<int>(row - 1);
    }
    if (letters == 0 && digits == 0) throw EngineError("Invalid range \"" + text + "\"");
    return part;
}

}  // namespace

RangeRef ParseA1Range(const std::string& text) {
    std::size_t pos = 0;
    const Part a = ParsePart(text, pos);
    Part b = a;
    if (pos < text.size() && text[pos] == ':') {
        ++pos;
        b = ParsePart(text, pos);
    }
    if (pos != text.size()) throw EngineError("Invalid range \"" + text + "\"");
    const bool cells = a.row && a.col && b.row && b.col;
    const bool rows = !a.col && !b.col && a.row && b.row;
    const bool cols = !a.row && !b.row && a.col && b.col;
    if (cells) return RangeRef::Of({*a.row, *a.col}, {*b.row, *b.col});
    if (rows) return RangeRef::Of({*a.row, 0}, {*b.row, kMaxColumns - 1});
    if (cols) return RangeRef::Of({0, *a.col}, {kMaxRows - 1, *b.col});
    throw EngineError("Invalid range \"" + text + "\"");
}

}  // namespace quill::spreadsheet
