#include "spreadsheet/objectmodel/ObjectModel.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <map>

#include "spreadsheet/core/TextCodec.h"
#include "spreadsheet/formula/Formula.h"
#include "spreadsheet/xls/Biff8Formula.h"
#include "spreadsheet/xls/XlsFile.h"

namespace quill::spreadsheet {

namespace {

// Formatting more cells than this in one call is refused rather than growing without bound.
constexpr long long kMaxCellsPerCall = 2'000'000;

constexpr std::string_view kGeneralFormat = "General";

// The attributes a format change sets, for Workbook::FormatChange.
namespace Attribute {
enum : std::uint32_t {
    kNumberFormat = 1,
    kHAlign,
    kVAlign,
    kWrap,
    kFontName,
    kFontSize,
    kFontStyle,
    kBold,
    kItalic,
    kFontColor,
    kFill,
    kBorder,
    kLocked,
};
}  // namespace Attribute

const RangeRef kWholeSheet{{0, 0}, {kMaxRows - 1, kMaxColumns - 1}};

HAlign HAlignOf(int constant) {
    switch (constant) {
        case xl::kGeneral:
            return HAlign::General;
        case xl::kLeft:
            return HAlign::Left;
        case xl::kCenter:
            return HAlign::Center;
        case xl::kRight:
            return HAlign::Right;
        default:
            throw EngineError("Unable to set the HorizontalAlignment property");
    }
}

int ConstantOf(HAlign align) {
    switch (align) {
        case HAlign::Left:
            return xl::kLeft;
        case HAlign::Center:
            return xl::kCenter;
        case HAlign::Right:
            return xl::kRight;
        case HAlign::General:
            break;
    }
    return xl::kGeneral;
}

VAlign VAlignOf(int constant) {
    switch (constant) {
        case xl::kTop:
            return VAlign::Top;
        case xl::kCenter:
            return VAlign::Center;
        case xl::kBottom:
            return VAlign::Bottom;
        default:
            throw EngineError("Unable to set the VerticalAlignment property");
    }
}

int ConstantOf(VAlign align) {
    switch (align) {
        case VAlign::Top:
            return xl::kTop;
        case VAlign::Center:
            return xl::kCenter;
        case VAlign::Bottom:
            break;
    }
    return xl::kBottom;
}

void CheckPaletteIndex(int index, const char* property) {
    if (index < 1 || index > kPaletteSize)
        throw EngineError(std::string("Unable to set the ") + property + " property");
}

// A text that reads as a number in full ("3000", "-2.5", "1e3"), blanks around allowed.
std::optional<double> ReadNumber(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return std::nullopt;
    const auto last = text.find_last_not_of(' ');
    const char* begin = text.data() + first;
    const char* end = text.data() + last + 1;
    if (*begin == '+') ++begin;
    double value = 0;
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || ptr != end || !std::isfinite(value)) return std::nullopt;
    return value;
}

Comparison ComparisonOf(int op, const char* method) {
    if (op < xl::kBetween || op > xl::kLessEqual)
        throw EngineError(std::string(method) + " method failed: operator " + std::to_string(op));
    return static_cast<Comparison>(op - xl::kBetween);
}

// The betweens compare with two numbers, the other operators with one.
bool TakesTwo(Comparison op) {
    return op == Comparison::Between || op == Comparison::NotBetween;
}

void CheckFinite(double value, const char* method) {
    if (!std::isfinite(value))
        throw EngineError(std::string(method) + " method failed: " + "the number is not finite");
}

std::string NumberText(double value) {
    char buffer[32];
    const auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return ec == std::errc() ? std::string(buffer, ptr) : std::string("0");
}

}  // namespace

// ---- Range -----------------------------------------------------------------------------

void Range::CheckAlive() const {
    app_->CheckAlive();
}

bool Range::IsWholeSheet() const {
    return area_ == kWholeSheet;
}

void Range::Select() {
    CheckAlive();
    sheet_->selection = area_;
    sheet_->activeCell = area_.first;
}

void Range::Clear() {
    CheckAlive();
    if (IsWholeSheet()) {
        sheet_->ClearAll();
        return;
    }
    std::vector<CellRef> doomed;
    for (const auto& [at, cell] : sheet_->Cells())
        if (area_.Contains(at)) doomed.push_back(at);
    for (const CellRef& at : doomed) sheet_->Erase(at);
    sheet_->Unmerge(area_);  // merged areas that the range touches are split again
}

void Range::Merge() {
    CheckAlive();
    if (area_.IsSingleCell()) return;
    // Only the top-left cell keeps its content, as when a spreadsheet program merges
    // without asking.
    for (int r = area_.first.row; r <= area_.last.row; ++r) {
        for (int c = area_.first.col; c <= area_.last.col; ++c) {
            if (r == area_.first.row && c == area_.first.col) continue;
            if (Cell* cell = CellAt({r, c})) cell->content = std::monostate{};
        }
    }
    sheet_->Merge(area_);
}

Range Range::Offset(int rows, int columns) const {
    CheckAlive();
    const long long r0 = static_cast<long long>(area_.first.row) + rows;
    const long long c0 = static_cast<long long>(area_.first.col) + columns;
    const long long r1 = static_cast<long long>(area_.last.row) + rows;
    const long long c1 = static_cast<long long>(area_.last.col) + columns;
    if (r0 < 0 || c0 < 0 || r1 >= kMaxRows || c1 >= kMaxColumns)
        throw EngineError("Application-defined or object-defined error: offset leaves the sheet");
    return {*app_,
            *book_,
            *sheet_,
            {{static_cast<int>(r0), static_cast<int>(c0)},
             {static_cast<int>(r1), static_cast<int>(c1)}}};
}

Range Range::Sub(const RangeRef& part) const {
    return {*app_, *book_, *sheet_, part};
}

Cell* Range::CellAt(CellRef at) const {
    return sheet_->Find(at);
}

void Range::SetFormulaR1C1(const std::variant<std::string, double>& value) {
    CheckAlive();
    const long long count = static_cast<long long>(area_.Rows()) * area_.Columns();
    if (count > kMaxCellsPerCall) throw EngineError("Too many cells to write at once");

    Cell written;
    if (const double* number = std::get_if<double>(&value)) {
        if (!std::isfinite(*number)) throw EngineError("Invalid number");
        written.content = *number;
    } else {
        const std::string& text = std::get<std::string>(value);
        if (text.empty()) {
            // stays empty
        } else if (text.front() == '\'') {
            // A leading apostrophe marks literal text: "'=Other" is the text "=Other".
            if (text.size() > 1) written.content = text.substr(1);
        } else if (text.front() == '=') {
            written.content = app_->ParseFormula(text);
        } else if (const auto number = ReadNumber(text)) {
            written.content = *number;
        } else {
            written.content = text;
        }
    }
    const Formula* formula = written.AsFormula();
    for (int r = area_.first.row; r <= area_.last.row; ++r) {
        for (int c = area_.first.col; c <= area_.last.col; ++c) {
            // A formula that a file cannot hold at this cell (a reference off the sheet,
            // a function call with too many arguments) is refused now, not at saving.
            if (formula != nullptr) (void)xls::EncodeBiff8(*formula, {r, c});
        }
    }
    for (int r = area_.first.row; r <= area_.last.row; ++r) {
        for (int c = area_.first.col; c <= area_.last.col; ++c) {
            if (!written.HasContent()) {
                if (Cell* cell = CellAt({r, c})) {
                    cell->content = std::monostate{};
                    if (cell->format < 0) sheet_->Erase({r, c});
                }
                continue;
            }
            Cell& cell = sheet_->At({r, c});
            cell.content = written.content;  // a formula comes without a computed value
        }
    }
}

std::string Range::FormulaR1C1() const {
    CheckAlive();
    const Cell* cell = sheet_->Find(area_.first);
    if (cell == nullptr) return {};
    if (const Formula* f = cell->AsFormula()) return f->R1C1();
    if (const double* n = std::get_if<double>(&cell->content)) return NumberText(*n);
    if (const std::string* s = std::get_if<std::string>(&cell->content)) return *s;
    return {};
}

Value Range::Value2() const {
    CheckAlive();
    const Cell* cell = sheet_->Find(area_.first);
    if (cell == nullptr) return std::monostate{};
    if (cell->AsFormula() != nullptr) return cell->Cached();
    if (const double* n = std::get_if<double>(&cell->content)) return *n;
    if (const std::string* s = std::get_if<std::string>(&cell->content)) return *s;
    return std::monostate{};
}

template <class Change>
void Range::ChangeFormats(const Workbook::FormatChange& key, Change&& change) const {
    CheckAlive();
    // Old format index -> new one. Most ranges hold one to three formats: those are kept in
    // a short list that needs no allocation, the map takes any more.
    std::array<std::pair<int, int>, 4> few{};
    std::size_t fewCount = 0;
    std::map<int, int> more;
    auto convert = [&](int old) {
        for (std::size_t i = 0; i < fewCount; ++i)
            if (few[i].first == old) return few[i].second;
        if (const auto it = more.find(old); it != more.end()) return it->second;
        int index = 0;
        if (const std::optional<int> known = book_->ChangedFormat(old, key)) {
            index = *known;
        } else {
            CellFormat format = book_->Format(old);
            change(format);
            index = book_->AddFormat(format);
            book_->RememberChangedFormat(old, key, index);
        }
        if (fewCount < few.size())
            few[fewCount++] = {old, index};
        else
            more.emplace(old, index);
        return index;
    };
    if (IsWholeSheet()) {
        sheet_->SetDefaultFormat(convert(sheet_->DefaultFormat()));
        for (const auto& [at, cell] : sheet_->Cells())
            if (cell.format >= 0) CellAt(at)->format = convert(cell.format);
        return;
    }
    const long long count = static_cast<long long>(area_.Rows()) * area_.Columns();
    if (count > kMaxCellsPerCall) throw EngineError("Too many cells to format at once");
    sheet_->ForEachCellIn(area_, [&](CellRef, Cell& cell) {
        cell.format = convert(cell.format >= 0 ? cell.format : sheet_->DefaultFormat());
    });
}

const CellFormat& Range::TopLeftFormat() const {
    CheckAlive();
    return book_->EffectiveFormat(*sheet_, area_.first);
}

void Range::SetNumberFormat(std::string_view code) {
    const std::string_view text = code.empty() ? std::string_view(kGeneralFormat) : code;
    ChangeFormats({Attribute::kNumberFormat, book_->TextNumber(text)},
                  [&](CellFormat& f) { f.numberFormat = text; });
}

std::string Range::NumberFormat() const {
    return TopLeftFormat().numberFormat;
}

void Range::SetHorizontalAlignment(int constant) {
    const HAlign align = HAlignOf(constant);
    ChangeFormats({Attribute::kHAlign, static_cast<std::uint64_t>(align)},
                  [&](CellFormat& f) { f.hAlign = align; });
}

int Range::HorizontalAlignment() const {
    return ConstantOf(TopLeftFormat().hAlign);
}

void Range::SetVerticalAlignment(int constant) {
    const VAlign align = VAlignOf(constant);
    ChangeFormats({Attribute::kVAlign, static_cast<std::uint64_t>(align)},
                  [&](CellFormat& f) { f.vAlign = align; });
}

int Range::VerticalAlignment() const {
    return ConstantOf(TopLeftFormat().vAlign);
}

void Range::SetWrapText(bool wrap) {
    ChangeFormats({Attribute::kWrap, wrap}, [&](CellFormat& f) { f.wrap = wrap; });
}

bool Range::WrapText() const {
    return TopLeftFormat().wrap;
}

void Range::SetRowHeight(double points) {
    CheckAlive();
    if (!(points >= 0.0 && points <= kMaxRowPoints))
        throw EngineError("Unable to set the RowHeight property");
    for (int r = area_.first.row; r <= area_.last.row; ++r) sheet_->SetRowHeight(r, points);
}

double Range::RowHeight() const {
    CheckAlive();
    return sheet_->RowHeight(area_.first.row);
}

void Range::SetColumnWidth(double characters) {
    CheckAlive();
    if (!(characters >= 0.0 && characters <= kMaxColumnCharacters))
        throw EngineError("Unable to set the ColumnWidth property");
    for (int c = area_.first.col; c <= area_.last.col; ++c) sheet_->SetColumnWidth(c, characters);
}

double Range::ColumnWidth() const {
    CheckAlive();
    return sheet_->ColumnWidth(area_.first.col);
}

// ---- Font, interior, borders -----------------------------------------------------------

void RangeFont::SetName(const std::string& name) {
    if (name.empty()) throw EngineError("Unable to set the Name property of the Font class");
    range_.ChangeFormats({Attribute::kFontName, range_.Book().TextNumber(name)},
                         [&](CellFormat& f) { f.font.name = name; });
}

void RangeFont::SetSize(double points) {
    if (!(points >= 1.0 && points <= kMaxFontPoints))
        throw EngineError("Unable to set the Size property of the Font class");
    range_.ChangeFormats({Attribute::kFontSize, std::bit_cast<std::uint64_t>(points)},
                         [&](CellFormat& f) { f.font.size = points; });
}

void RangeFont::SetFontStyle(const std::string& style) {
    const bool bold = style == "Bold" || style == "Bold Italic";
    const bool italic = style == "Italic" || style == "Bold Italic";
    range_.ChangeFormats({Attribute::kFontStyle, static_cast<std::uint64_t>(bold) | italic << 1},
                         [&](CellFormat& f) {
                             f.font.bold = bold;
                             f.font.italic = italic;
                         });
}

void RangeFont::SetBold(bool bold) {
    range_.ChangeFormats({Attribute::kBold, bold}, [&](CellFormat& f) { f.font.bold = bold; });
}

void RangeFont::SetItalic(bool italic) {
    range_.ChangeFormats({Attribute::kItalic, italic},
                         [&](CellFormat& f) { f.font.italic = italic; });
}

void RangeFont::SetColorIndex(int index) {
    if (index != xl::kAutomatic) CheckPaletteIndex(index, "ColorIndex");
    range_.ChangeFormats({Attribute::kFontColor, static_cast<std::uint32_t>(index)},
                         [&](CellFormat& f) { f.font.colorIndex = index; });
}

const Font& RangeFont::Get() const {
    return range_.TopLeftFormat().font;
}

void RangeInterior::SetColorIndex(int index) {
    if (index != xl::kNone) CheckPaletteIndex(index, "ColorIndex");
    const int fill = index == xl::kNone ? kNoFill : index;
    range_.ChangeFormats({Attribute::kFill, static_cast<std::uint32_t>(fill)},
                         [&](CellFormat& f) { f.fill = fill; });
}

int RangeInterior::ColorIndex() const {
    const int fill = range_.TopLeftFormat().fill;
    return fill == kNoFill ? xl::kNone : fill;
}

RangeBorder::RangeBorder(Range range, int index) : range_(range), index_(index) {
    if (index < xl::kEdgeLeft || index > xl::kInsideHorizontal)
        throw EngineError("Unable to get the Borders property: index " + std::to_string(index));
}

void RangeBorder::SetLineStyle(int style) {
    if (style != xl::kContinuous && style != xl::kNone)
        throw EngineError("Unable to set the LineStyle property of the Border class");
    const spreadsheet::LineStyle line =
        style == xl::kContinuous ? spreadsheet::LineStyle::Thin : spreadsheet::LineStyle::None;
    const RangeRef area = range_.Area();
    // Edge borders belong to the cells on that edge; an inside line is kept on both cells
    // that it separates, so that each cell knows all of its own lines.
    auto onEdges = [&](CellRef at, CellFormat& f) {
        switch (index_) {
            case xl::kEdgeLeft:
                if (at.col == area.first.col) f.SetBorder(Edge::Left, line);
                break;
            case xl::kEdgeTop:
                if (at.row == area.first.row) f.SetBorder(Edge::Top, line);
                break;
            case xl::kEdgeBottom:
                if (at.row == area.last.row) f.SetBorder(Edge::Bottom, line);
                break;
            case xl::kEdgeRight:
                if (at.col == area.last.col) f.SetBorder(Edge::Right, line);
                break;
            case xl::kInsideVertical:
                if (at.col > area.first.col) f.SetBorder(Edge::Left, line);
                if (at.col < area.last.col) f.SetBorder(Edge::Right, line);
                break;
            case xl::kInsideHorizontal:
                if (at.row > area.first.row) f.SetBorder(Edge::Top, line);
                if (at.row < area.last.row) f.SetBorder(Edge::Bottom, line);
                break;
            default:
                break;
        }
    };
    // Which lines a cell takes depends only on whether it stands in the first, a middle or
    // the last row and column of the range: the up to nine such blocks are changed one by
    // one (a one-row or one-column range has fewer, so repeats are skipped).
    const int rows[3][2] = {{area.first.row, area.first.row},
                            {area.first.row + 1, area.last.row - 1},
                            {area.last.row, area.last.row}};
    const int cols[3][2] = {{area.first.col, area.first.col},
                            {area.first.col + 1, area.last.col - 1},
                            {area.last.col, area.last.col}};
    std::vector<RangeRef> done;
    for (const auto& rr : rows) {
        for (const auto& cc : cols) {
            if (rr[0] > rr[1] || cc[0] > cc[1]) continue;
            const RangeRef part{{rr[0], cc[0]}, {rr[1], cc[1]}};
            if (std::find(done.begin(), done.end(), part) != done.end()) continue;
            done.push_back(part);
            const CellRef probe = part.first;
            const Range sub = range_.Sub(part);
            // The lines a block takes follow from the border, the style and where the block
            // lies in the range.
            const std::uint64_t where =
                (probe.row == area.first.row) | (probe.row == area.last.row) << 1 |
                (probe.col == area.first.col) << 2 | (probe.col == area.last.col) << 3;
            const std::uint64_t change = static_cast<std::uint32_t>(index_) |
                                         static_cast<std::uint64_t>(line) << 32 | where << 40;
            sub.ChangeFormats({Attribute::kBorder, change},
                              [&](CellFormat& f) { onEdges(probe, f); });
        }
    }
}

int RangeBorder::LineStyle() const {
    const CellFormat& f = range_.TopLeftFormat();
    Edge edge = Edge::Left;
    switch (index_) {
        case xl::kEdgeTop:
            edge = Edge::Top;
            break;
        case xl::kEdgeBottom:
            edge = Edge::Bottom;
            break;
        case xl::kEdgeRight:
            edge = Edge::Right;
            break;
        case xl::kInsideVertical:
            edge = Edge::Right;
            break;
        case xl::kInsideHorizontal:
            edge = Edge::Bottom;
            break;
        default:
            break;
    }
    return f.Border(edge) == spreadsheet::LineStyle::Thin ? xl::kContinuous : xl::kNone;
}

// ---- Protection, conditional formats, validation ---------------------------------------

void Range::SetLocked(bool locked) {
    ChangeFormats({Attribute::kLocked, locked}, [&](CellFormat& f) { f.locked = locked; });
}

bool Range::Locked() const {
    return TopLeftFormat().locked;
}

FormatConditions Range::FormatConditions() const {
    CheckAlive();
    return spreadsheet::FormatConditions(*this);
}

RangeValidation Range::Validation() const {
    CheckAlive();
    return RangeValidation(*this);
}

ConditionalFormat& FormatCondition::Rule() const {
    if (index_ >= sheet_->conditionalFormats.size())
        throw EngineError("The format condition was deleted");
    return sheet_->conditionalFormats[index_];
}

const ConditionalFormat& FormatCondition::Get() const {
    return Rule();
}

void FormatCondition::SetFontColorIndex(int index) {
    if (index != xl::kAutomatic) CheckPaletteIndex(index, "ColorIndex");
    Rule().fontColor = index == xl::kAutomatic ? kColorAutomatic : index;
}

void FormatCondition::SetInteriorColorIndex(int index) {
    if (index != xl::kNone) CheckPaletteIndex(index, "ColorIndex");
    Rule().fill = index == xl::kNone ? kNoFill : index;
}

FormatCondition FormatConditions::Add(int type, int op, double first, double second) {
    if (type != xl::kCellValue)
        throw EngineError("Add method of FormatConditions failed: type " + std::to_string(type));
    const Comparison comparison = ComparisonOf(op, "Add");
    CheckFinite(first, "Add");
    CheckFinite(second, "Add");
    Worksheet& sheet = range_.Sheet();
    ConditionalFormat rule;
    rule.areas = {range_.Area()};
    rule.op = comparison;
    rule.first = first;
    rule.second = TakesTwo(comparison) ? second : 0;
    sheet.conditionalFormats.push_back(std::move(rule));
    return {sheet, sheet.conditionalFormats.size() - 1};
}

int FormatConditions::Count() const {
    int count = 0;
    for (const ConditionalFormat& rule : range_.Sheet().conditionalFormats)
        count += std::ranges::any_of(
            rule.areas, [&](const RangeRef& area) { return area.Contains(range_.Area().first); });
    return count;
}

void RangeValidation::Add(int type, int alertStyle, int op, double first, double second) {
    if (type != xl::kValidateWholeNumber && type != xl::kValidateDecimal)
        throw EngineError("Add method of Validation failed: type " + std::to_string(type));
    if (alertStyle < xl::kValidAlertStop || alertStyle > xl::kValidAlertInformation)
        throw EngineError("Add method of Validation failed: alert style " +
                          std::to_string(alertStyle));
    const Comparison comparison = ComparisonOf(op, "Add");
    CheckFinite(first, "Add");
    CheckFinite(second, "Add");
    Worksheet& sheet = range_.Sheet();
    for (const DataValidation& rule : sheet.validations)
        for (const RangeRef& area : rule.areas)
            if (area.Intersects(range_.Area()))
                throw EngineError("Add method of Validation failed: " + RangeName(area) +
                                  " has a validation already");
    DataValidation rule;
    rule.areas = {range_.Area()};
    rule.type = static_cast<ValidationType>(type);
    rule.op = comparison;
    rule.first = first;
    rule.second = TakesTwo(comparison) ? second : 0;
    rule.alert = static_cast<ValidationAlert>(alertStyle - xl::kValidAlertStop);
    sheet.validations.push_back(std::move(rule));
}

DataValidation& RangeValidation::Rule() const {
    for (DataValidation& rule : range_.Sheet().validations)
        for (const RangeRef& area : rule.areas)
            if (area.Contains(range_.Area().first)) return rule;
    throw EngineError("Application-defined or object-defined error: the cell " +
                      CellName(range_.Area().first) + " has no validation");
}

const DataValidation& RangeValidation::Get() const {
    return Rule();
}

namespace {
void SetValidationText(std::string& field, const std::string& text, std::size_t limit,
                       const char* property) {
    if (Utf16FromUtf8(text).size() > limit)
        throw EngineError(std::string("Unable to set the ") + property +
                          " property of the Validation class: longer than " +
                          std::to_string(limit) + " characters");
    field = text;
}
}  // namespace

void RangeValidation::SetInputTitle(const std::string& text) {
    SetValidationText(Rule().inputTitle, text, kMaxValidationTitle, "InputTitle");
}
void RangeValidation::SetInputMessage(const std::string& text) {
    SetValidationText(Rule().inputMessage, text, kMaxValidationInput, "InputMessage");
}
void RangeValidation::SetErrorTitle(const std::string& text) {
    SetValidationText(Rule().errorTitle, text, kMaxValidationTitle, "ErrorTitle");
}
void RangeValidation::SetErrorMessage(const std::string& text) {
    SetValidationText(Rule().errorMessage, text, kMaxValidationError, "ErrorMessage");
}
void RangeValidation::SetIgnoreBlank(bool ignore) {
    Rule().ignoreBlank = ignore;
}
void RangeValidation::SetShowInput(bool show) {
    Rule().showInput = show;
}
void RangeValidation::SetShowError(bool show) {
    Rule().showError = show;
}

void Protect(Worksheet& sheet) {
    sheet.isProtected = true;
}

void Unprotect(Worksheet& sheet) {
    sheet.isProtected = false;
}

bool ProtectContents(const Worksheet& sheet) {
    return sheet.isProtected;
}

// ---- Page set-up -----------------------------------------------------------------------

namespace {
double MarginInches(double points) {
    if (!(points >= 0.0 && points <= 49.0 * 72.0))
        throw EngineError("Unable to set a margin of the PageSetup class");
    return points / 72.0;
}
}  // namespace

void PageSetupObject::SetPrintArea(const std::string& a1) {
    if (a1.empty()) {
        sheet_.printArea.reset();
        return;
    }
    sheet_.printArea = ParseA1Range(a1);
}

std::string PageSetupObject::PrintArea() const {
    return sheet_.printArea ? RangeName(*sheet_.printArea) : std::string();
}

void PageSetupObject::SetLeftMargin(double points) {
    sheet_.pageSetup.leftMargin = MarginInches(points);
}
void PageSetupObject::SetRightMargin(double points) {
    sheet_.pageSetup.rightMargin = MarginInches(points);
}
void PageSetupObject::SetTopMargin(double points) {
    sheet_.pageSetup.topMargin = MarginInches(points);
}
void PageSetupObject::SetBottomMargin(double points) {
    sheet_.pageSetup.bottomMargin = MarginInches(points);
}
void PageSetupObject::SetHeaderMargin(double points) {
    sheet_.pageSetup.headerMargin = MarginInches(points);
}
void PageSetupObject::SetFooterMargin(double points) {
    sheet_.pageSetup.footerMargin = MarginInches(points);
}

void PageSetupObject::SetPrintComments(int constant) {
    sheet_.pageSetup.printComments = constant != xl::kPrintNoComments;
}

void PageSetupObject::SetOrientation(int constant) {
    if (constant != xl::kPortrait && constant != xl::kLandscape)
        throw EngineError("Unable to set the Orientation property of the PageSetup class");
    sheet_.pageSetup.portrait = constant == xl::kPortrait;
}

void PageSetupObject::SetPaperSize(int constant) {
    if (constant < 1 || constant > 255)
        throw EngineError("Unable to set the PaperSize property of the PageSetup class");
    sheet_.pageSetup.paperSize = constant;
}

void PageSetupObject::SetZoom(const std::variant<bool, int>& zoom) {
    if (const bool* on = std::get_if<bool>(&zoom)) {
        if (*on) throw EngineError("Unable to set the Zoom property of the PageSetup class");
        sheet_.pageSetup.fitToPages = true;
        return;
    }
    const int percent = std::get<int>(zoom);
    if (percent < 10 || percent > 400)
        throw EngineError("Unable to set the Zoom property of the PageSetup class");
    sheet_.pageSetup.fitToPages = false;
    sheet_.pageSetup.zoom = percent;
}

void PageSetupObject::SetFitToPagesWide(int pages) {
    if (pages < 0 || pages > 32767)
        throw EngineError("Unable to set the FitToPagesWide property of the PageSetup class");
    sheet_.pageSetup.fitWide = pages;
}

void PageSetupObject::SetFitToPagesTall(int pages) {
    if (pages < 0 || pages > 32767)
        throw EngineError("Unable to set the FitToPagesTall property of the PageSetup class");
    sheet_.pageSetup.fitTall = pages;
}

// ---- Sheets and workbooks --------------------------------------------------------------

Worksheet& Sheets::Item(int number) const {
    if (number < 1 || number > Count()) throw EngineError("Subscript out of range");
    return *book_.Sheets()[static_cast<std::size_t>(number - 1)];
}

void Sheets::Delete(int number) {
    (void)Item(number);
    if (Count() == 1) throw EngineError("A workbook must contain at least one visible worksheet");
    auto& sheets = book_.Sheets();
    sheets.erase(sheets.begin() + (number - 1));
    if (book_.activeSheet >= Count()) book_.activeSheet = Count() - 1;
}

void Sheets::Select(int number) {
    (void)Item(number);
    book_.activeSheet = number - 1;
}

Workbook& Workbooks::Add() {
    app_.CheckAlive();
    auto book = std::make_unique<Workbook>();
    for (int i = 1; i <= 3; ++i) book->AddSheet("Sheet" + std::to_string(i));
    books_.push_back(std::move(book));
    return *books_.back();
}

Workbook& Workbooks::Open(const std::string& path) {
    app_.CheckAlive();
    books_.push_back(std::make_unique<Workbook>(LoadXls(path)));
    return *books_.back();
}

Workbook& Workbooks::Item(int number) const {
    if (number < 1 || number > Count()) throw EngineError("Subscript out of range");
    return *books_[static_cast<std::size_t>(number - 1)];
}

void Workbooks::Close(Workbook& book) {
    const auto it =
        std::find_if(books_.begin(), books_.end(), [&](const auto& b) { return b.get() == &book; });
    if (it == books_.end()) throw EngineError("The workbook is not open");
    books_.erase(it);
}

void SaveAs(Workbook& book, const std::string& path, int fileFormat) {
    if (fileFormat != xl::kWorkbookNormal && fileFormat != xl::kExcel8)
        throw EngineError("SaveAs method failed: file format " + std::to_string(fileFormat) +
                          " is not supported");
    Recalculate(book);
    SaveXls(book, path);
}

std::uint32_t Colors(const Workbook& book, int index) {
    CheckPaletteIndex(index, "Colors");
    return book.palette[static_cast<std::size_t>(index - 1)];
}

void SetColors(Workbook& book, int index, std::uint32_t rgb) {
    CheckPaletteIndex(index, "Colors");
    if (rgb > 0xFFFFFF) throw EngineError("Unable to set the Colors property");
    book.palette[static_cast<std::size_t>(index - 1)] = rgb;
}

// ---- Application -----------------------------------------------------------------------

Application::Application() : workbooks_(*this) {}

void Application::CheckAlive() const {
    if (quit_) throw EngineError("The spreadsheet application has quit");
}

double Application::InchesToPoints(double inches) const {
    CheckAlive();
    return inches * 72.0;
}

void Application::Quit() {
    workbooks_.CloseAll();
    quit_ = true;
}

Workbooks& Application::Workbooks() {
    CheckAlive();
    return workbooks_;
}

Workbook& Application::ActiveWorkbook() {
    CheckAlive();
    Workbook* book = workbooks_.Active();
    if (book == nullptr) throw EngineError("No workbook is open");
    return *book;
}

Worksheet& Application::ActiveSheet() {
    Workbook& book = ActiveWorkbook();
    if (book.Sheets().empty()) throw EngineError("The workbook has no sheet");
    return *book.Sheets()[static_cast<std::size_t>(book.activeSheet)];
}

Sheets Application::Sheets() {
    return spreadsheet::Sheets(ActiveWorkbook());
}

Range Application::Cells() {
    Worksheet& sheet = ActiveSheet();
    return {*this, ActiveWorkbook(), sheet, kWholeSheet};
}

Range Application::Range(const std::string& a1) {
    Worksheet& sheet = ActiveSheet();
    return {*this, ActiveWorkbook(), sheet, ParseA1Range(a1)};
}

Range Application::Range(const spreadsheet::Range& first, const spreadsheet::Range& last) {
    if (&first.Sheet() != &last.Sheet()) throw EngineError("The corners lie on different sheets");
    const RangeRef a = first.Area(), b = last.Area();
    const RangeRef area =
        RangeRef::Of({std::min(a.first.row, b.first.row), std::min(a.first.col, b.first.col)},
                     {std::max(a.last.row, b.last.row), std::max(a.last.col, b.last.col)});
    return {*this, first.Book(), first.Sheet(), area};
}

Range Application::Rows(const std::string& rows) {
    const RangeRef area = ParseA1Range(rows);
    if (area.first.col != 0 || area.last.col != kMaxColumns - 1)
        throw EngineError("Invalid rows \"" + rows + "\"");
    Worksheet& sheet = ActiveSheet();
    return {*this, ActiveWorkbook(), sheet, area};
}

Range Application::Columns(const std::string& columns) {
    const RangeRef area = ParseA1Range(columns);
    if (area.first.row != 0 || area.last.row != kMaxRows - 1)
        throw EngineError("Invalid columns \"" + columns + "\"");
    Worksheet& sheet = ActiveSheet();
    return {*this, ActiveWorkbook(), sheet, area};
}

Range Application::Selection() {
    Worksheet& sheet = ActiveSheet();
    return {*this, ActiveWorkbook(), sheet, sheet.selection};
}

Range Application::ActiveCell() {
    Worksheet& sheet = ActiveSheet();
    return {*this, ActiveWorkbook(), sheet, RangeRef::Single(sheet.activeCell)};
}

PageSetupObject Application::PageSetup() {
    return PageSetupObject(ActiveSheet());
}

Formula Application::ParseFormula(const std::string& text) {
    if (const auto it = parsedFormulas_.find(text); it != parsedFormulas_.end()) return it->second;
    Formula parsed = ParseFormulaR1C1(text);
    if (parsedFormulas_.size() >= 1024) parsedFormulas_.clear();  // a bound, not an LRU
    parsedFormulas_.emplace(text, parsed);
    return parsed;
}

void Application::Calculate() {
    CheckAlive();
    for (int i = 1; i <= workbooks_.Count(); ++i) Recalculate(workbooks_.Item(i));
}

}  // namespace quill::spreadsheet
