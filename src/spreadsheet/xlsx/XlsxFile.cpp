#include "spreadsheet/xlsx/XlsxFile.h"

#include <stdlib.h>  // mkdtemp

#include <algorithm>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include <xlsxwriter.h>

#include "spreadsheet/core/CLocale.h"
#include "spreadsheet/core/FileSupport.h"
#include "spreadsheet/core/TextCodec.h"
#include "spreadsheet/formula/Formula.h"

namespace quill::spreadsheet::xlsx {

namespace {

namespace fs = std::filesystem;

// The last column and row an .xlsx sheet has; sheet-wide formats reach to them.
constexpr lxw_col_t kLastXlsxColumn = 16383;

// A folder of our own for libxlsxwriter's output and its working files, inside `parent`
// (the system's temporary folder when empty), removed with everything in it when the save
// ends, however it ends.
class PrivateFolder {
  public:
    explicit PrivateFolder(const fs::path& parent) {
        std::error_code ec;
        std::string pattern =
            ((parent.empty() ? fs::temp_directory_path(ec) : parent) / "quill-xlsx-XXXXXX")
                .string();
        if (ec || ::mkdtemp(pattern.data()) == nullptr)
            throw EngineError("Cannot save the .xlsx file: no temporary folder can be made");
        path_ = pattern;
    }
    ~PrivateFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;
    const fs::path& Path() const { return path_; }

  private:
    fs::path path_;
};

// An open libxlsxwriter workbook: Close writes the file; one that is not closed is freed
// without writing anything.
struct BookCloser {
    void operator()(lxw_workbook* book) const { lxw_workbook_free(book); }
};
using BookHandle = std::unique_ptr<lxw_workbook, BookCloser>;

void Check(lxw_error error, const std::string& what) {
    if (error != LXW_NO_ERROR)
        throw EngineError("Cannot save the .xlsx file: " + what + " (" + lxw_strerror(error) + ")");
}

// A text as libxlsxwriter is handed it. It writes texts into the XML as they are, so the
// characters XML forbids (control characters, U+FFFE, U+FFFF) and bad UTF-8 would make the
// file ill-formed: they become U+FFFD here. The .xls file keeps them.
class XmlText {
  public:
    explicit XmlText(const std::string& text) : text_(text), safe_(XmlSafeUtf8(text)) {}
    const char* c_str() const { return safe_ ? safe_->c_str() : text_.c_str(); }

  private:
    const std::string& text_;
    std::optional<std::string> safe_;
};

// Palette RGB (R + 256 G + 65536 B) as libxlsxwriter's 0xRRGGBB.
lxw_color_t ToLxwColor(std::uint32_t rgb) {
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

class XlsxWriter {
  public:
    XlsxWriter(const Workbook& workbook, lxw_workbook* book) : workbook_(workbook), book_(book) {}

    void Write() {
        for (std::size_t i = 0; i < workbook_.Sheets().size(); ++i)
            WriteSheet(*workbook_.Sheets()[i], static_cast<int>(i) == workbook_.activeSheet);
    }

  private:
    lxw_format* FormatOf(int index);
    std::optional<lxw_color_t> PaletteColor(int index) const {
        if (index < 1 || index > static_cast<int>(workbook_.palette.size())) return std::nullopt;
        return ToLxwColor(workbook_.palette[static_cast<std::size_t>(index - 1)]);
    }
    void WriteSheet(const Worksheet& sheet, bool active);
    void WriteSizes(lxw_worksheet* ws, const Worksheet& sheet);
    void WriteCell(lxw_worksheet* ws, const Worksheet& sheet, CellRef at, const Cell& cell);
    void WritePageSetup(lxw_worksheet* ws, const Worksheet& sheet);
    void WriteGuards(lxw_worksheet* ws, const Worksheet& sheet);

    const Workbook& workbook_;
    lxw_workbook* book_;
    std::vector<lxw_format*> formats_;  // by the workbook's format index, made when first used
};

lxw_format* XlsxWriter::FormatOf(int index) {
    if (index < 0 || index >= static_cast<int>(workbook_.Formats().size()))
        throw EngineError("Cannot save the .xlsx file: a cell has an unknown format");
    if (formats_.empty()) formats_.resize(workbook_.Formats().size(), nullptr);
    lxw_format*& made = formats_[static_cast<std::size_t>(index)];
    if (made != nullptr) return made;

    const CellFormat& f = workbook_.Format(index);
    lxw_format* x = workbook_add_format(book_);
    if (x == nullptr) throw EngineError("Cannot save the .xlsx file: out of memory");
    format_set_font_name(x, XmlText(f.font.name).c_str());
    format_set_font_size(x, f.font.size);
    if (f.font.bold) format_set_bold(x);
    if (f.font.italic) format_set_italic(x);
    if (const auto color = PaletteColor(f.font.colorIndex)) format_set_font_color(x, *color);
    if (const auto fill = PaletteColor(f.fill)) {
        format_set_pattern(x, LXW_PATTERN_SOLID);
        format_set_bg_color(x, *fill);
    }
    if (f.numberFormat != "General") format_set_num_format(x, XmlText(f.numberFormat).c_str());
    switch (f.hAlign) {
        case HAlign::Left:
            format_set_align(x, LXW_ALIGN_LEFT);
            break;
        case HAlign::Center:
            format_set_align(x, LXW_ALIGN_CENTER);
            break;
        case HAlign::Right:
            format_set_align(x, LXW_ALIGN_RIGHT);
            break;
        case HAlign::General:
            break;
    }
    switch (f.vAlign) {
        case VAlign::Top:
            format_set_align(x, LXW_ALIGN_VERTICAL_TOP);
            break;
        case VAlign::Center:
            format_set_align(x, LXW_ALIGN_VERTICAL_CENTER);
            break;
        case VAlign::Bottom:  // the file format's default
            break;
    }
    if (f.wrap) format_set_text_wrap(x);
    auto border = [&](Edge e) {
        return f.Border(e) == LineStyle::Thin ? LXW_BORDER_THIN : LXW_BORDER_NONE;
    };
    format_set_left(x, static_cast<std::uint8_t>(border(Edge::Left)));
    format_set_right(x, static_cast<std::uint8_t>(border(Edge::Right)));
    format_set_top(x, static_cast<std::uint8_t>(border(Edge::Top)));
    format_set_bottom(x, static_cast<std::uint8_t>(border(Edge::Bottom)));
    if (!f.locked) format_set_unlocked(x);
    made = x;
    return x;
}

// Column widths and the sheet-wide format: every column carries the default format, so
// that cells without one of their own show it; row heights as set.
void XlsxWriter::WriteSizes(lxw_worksheet* ws, const Worksheet& sheet) {
    lxw_format* fallback = FormatOf(sheet.DefaultFormat());
    auto widthOf = [&](int col) {
        const auto it = sheet.ColumnWidths().find(col);
        return it != sheet.ColumnWidths().end() ? it->second : Worksheet::kDefaultColumnWidth;
    };
    int first = 0;
    while (first < kMaxColumns) {
        const double width = widthOf(first);
        int last = first;
        while (last + 1 < kMaxColumns && widthOf(last + 1) == width) ++last;
        const lxw_col_t end = last + 1 == kMaxColumns ? kLastXlsxColumn : lxw_col_t(last);
        Check(worksheet_set_column(ws, lxw_col_t(first), end, width, fallback), "column widths");
        first = last + 1;
    }
    worksheet_set_default_row(ws, Worksheet::kDefaultRowHeight, LXW_FALSE);
    for (const auto& [row, height] : sheet.RowHeights())
        Check(worksheet_set_row(ws, lxw_row_t(row), height, nullptr), "row heights");
}

void XlsxWriter::WriteCell(lxw_worksheet* ws, const Worksheet& sheet, CellRef at,
                           const Cell& cell) {
    const auto row = lxw_row_t(at.row);
    const auto col = lxw_col_t(at.col);
    lxw_format* format = FormatOf(cell.format >= 0 ? cell.format : sheet.DefaultFormat());
    lxw_error error = LXW_NO_ERROR;
    if (const auto* number = std::get_if<double>(&cell.content)) {
        error = worksheet_write_number(ws, row, col, *number, format);
    } else if (const auto* text = std::get_if<std::string>(&cell.content)) {
        error = worksheet_write_string(ws, row, col, XmlText(*text).c_str(), format);
    } else if (const Formula* formula = cell.AsFormula()) {
        const std::string a1text = FormulaToA1(*formula, at);
        const XmlText a1(a1text);
        const Value cached = formula->Result();
        if (const auto* shown = std::get_if<std::string>(&cached))
            error = worksheet_write_formula_str(ws, row, col, a1.c_str(), format,
                                                XmlText(*shown).c_str());
        else if (const auto* flag = std::get_if<bool>(&cached))
            error = worksheet_write_formula_num(ws, row, col, a1.c_str(), format, *flag ? 1 : 0);
        else if (const auto* code = std::get_if<ErrorCode>(&cached))
            error = worksheet_write_formula_str(ws, row, col, a1.c_str(), format,
                                                ErrorText(*code).c_str());
        else if (const auto* value = std::get_if<double>(&cached))
            error = worksheet_write_formula_num(ws, row, col, a1.c_str(), format, *value);
        else
            error = worksheet_write_formula_num(ws, row, col, a1.c_str(), format, 0);
    } else if (cell.format >= 0) {  // a format of its own, as the .xls file keeps it
        error = worksheet_write_blank(ws, row, col, format);
    }
    Check(error, "cell " + CellName(at) + " of sheet " + sheet.Name());
}

void XlsxWriter::WritePageSetup(lxw_worksheet* ws, const Worksheet& sheet) {
    const PageSetup& page = sheet.pageSetup;
    if (sheet.printArea) {
        const RangeRef& a = *sheet.printArea;
        Check(worksheet_print_area(ws, lxw_row_t(a.first.row), lxw_col_t(a.first.col),
                                   lxw_row_t(a.last.row), lxw_col_t(a.last.col)),
              "print area");
    }
    if (page.portrait)
        worksheet_set_portrait(ws);
    else
        worksheet_set_landscape(ws);
    worksheet_set_paper(ws, static_cast<std::uint8_t>(std::clamp(page.paperSize, 0, 255)));
    if (page.fitToPages)
        worksheet_fit_to_pages(ws, static_cast<std::uint16_t>(std::clamp(page.fitWide, 0, 32767)),
                               static_cast<std::uint16_t>(std::clamp(page.fitTall, 0, 32767)));
    else
        worksheet_set_print_scale(ws, static_cast<std::uint16_t>(std::clamp(page.zoom, 10, 400)));
    auto inches = [](double v) { return std::isfinite(v) ? std::max(v, 0.0) : 0.0; };
    worksheet_set_margins(ws, inches(page.leftMargin), inches(page.rightMargin),
                          inches(page.topMargin), inches(page.bottomMargin));
    // libxlsxwriter sets the header and footer margins only together with a header or footer
    // text, and takes 0 there for "not given"; the sheet has neither text, so its fields are
    // set directly (they are written as they stand).
    ws->margin_header = inches(page.headerMargin);
    ws->margin_footer = inches(page.footerMargin);
    if (page.centerHorizontally) worksheet_center_horizontally(ws);
    if (page.centerVertically) worksheet_center_vertically(ws);
}

// The comparison operators in libxlsxwriter's numbering, which differs between
// validations (the model's order, from 1) and conditional formats (betweens last).
std::uint8_t ValidationCriteria(Comparison op) {
    return static_cast<std::uint8_t>(static_cast<int>(op) + LXW_VALIDATION_CRITERIA_BETWEEN);
}

std::uint8_t ConditionCriteria(Comparison op) {
    switch (op) {
        case Comparison::Between:
            return LXW_CONDITIONAL_CRITERIA_BETWEEN;
        case Comparison::NotBetween:
            return LXW_CONDITIONAL_CRITERIA_NOT_BETWEEN;
        case Comparison::Equal:
            return LXW_CONDITIONAL_CRITERIA_EQUAL_TO;
        case Comparison::NotEqual:
            return LXW_CONDITIONAL_CRITERIA_NOT_EQUAL_TO;
        case Comparison::Greater:
            return LXW_CONDITIONAL_CRITERIA_GREATER_THAN;
        case Comparison::Less:
            return LXW_CONDITIONAL_CRITERIA_LESS_THAN;
        case Comparison::GreaterOrEqual:
            return LXW_CONDITIONAL_CRITERIA_GREATER_THAN_OR_EQUAL_TO;
        case Comparison::LessOrEqual:
            break;
    }
    return LXW_CONDITIONAL_CRITERIA_LESS_THAN_OR_EQUAL_TO;
}

bool TakesTwo(Comparison op) {
    return op == Comparison::Between || op == Comparison::NotBetween;
}

// Conditional formats, validations and the protection.
void XlsxWriter::WriteGuards(lxw_worksheet* ws, const Worksheet& sheet) {
    for (const ConditionalFormat& rule : sheet.conditionalFormats) {
        lxw_format* shown = workbook_add_format(book_);
        if (shown == nullptr) throw EngineError("Cannot save the .xlsx file: out of memory");
        if (const auto color = PaletteColor(rule.fontColor)) format_set_font_color(shown, *color);
        if (const auto fill = PaletteColor(rule.fill)) {
            format_set_pattern(shown, LXW_PATTERN_SOLID);
            format_set_bg_color(shown, *fill);
        }
        lxw_conditional_format options{};
        options.type = LXW_CONDITIONAL_TYPE_CELL;
        options.criteria = ConditionCriteria(rule.op);
        options.format = shown;
        if (TakesTwo(rule.op)) {
            options.min_value = rule.first;
            options.max_value = rule.second;
        } else {
            options.value = rule.first;
        }
        for (const RangeRef& a : rule.areas)
            Check(worksheet_conditional_format_range(ws, lxw_row_t(a.first.row),
                                                     lxw_col_t(a.first.col), lxw_row_t(a.last.row),
                                                     lxw_col_t(a.last.col), &options),
                  "conditional format of " + RangeName(a));
    }
    for (const DataValidation& rule : sheet.validations) {
        lxw_data_validation options{};
        options.validate = rule.type == ValidationType::WholeNumber ? LXW_VALIDATION_TYPE_INTEGER
                                                                    : LXW_VALIDATION_TYPE_DECIMAL;
        options.criteria = ValidationCriteria(rule.op);
        auto onOff = [](bool on) {
            return static_cast<std::uint8_t>(on ? LXW_VALIDATION_ON : LXW_VALIDATION_OFF);
        };
        options.ignore_blank = onOff(rule.ignoreBlank);
        options.show_input = onOff(rule.showInput);
        options.show_error = onOff(rule.showError);
        options.error_type = static_cast<std::uint8_t>(rule.alert);
        if (TakesTwo(rule.op)) {
            options.minimum_number = rule.first;
            options.maximum_number = rule.second;
        } else {
            options.value_number = rule.first;
        }
        // libxlsxwriter takes texts it may keep only while the call lasts.
        std::string texts[] = {XmlSafeUtf8(rule.inputTitle).value_or(rule.inputTitle),
                               XmlSafeUtf8(rule.inputMessage).value_or(rule.inputMessage),
                               XmlSafeUtf8(rule.errorTitle).value_or(rule.errorTitle),
                               XmlSafeUtf8(rule.errorMessage).value_or(rule.errorMessage)};
        char** fields[] = {&options.input_title, &options.input_message, &options.error_title,
                           &options.error_message};
        for (std::size_t i = 0; i < std::size(texts); ++i)
            *fields[i] = texts[i].empty() ? nullptr : texts[i].data();
        for (const RangeRef& a : rule.areas)
            Check(worksheet_data_validation_range(ws, lxw_row_t(a.first.row),
                                                  lxw_col_t(a.first.col), lxw_row_t(a.last.row),
                                                  lxw_col_t(a.last.col), &options),
                  "validation of " + RangeName(a));
    }
    // Without a password; selecting locked and unlocked cells stays allowed.
    if (sheet.isProtected) worksheet_protect(ws, nullptr, nullptr);
}

void XlsxWriter::WriteSheet(const Worksheet& sheet, bool active) {
    lxw_worksheet* ws = workbook_add_worksheet(book_, XmlText(sheet.Name()).c_str());
    if (ws == nullptr)
        throw EngineError("Cannot save the .xlsx file: the sheet name \"" + sheet.Name() +
                          "\" is not allowed there");
    WriteSizes(ws, sheet);

    // Merged areas first: libxlsxwriter fills every cell of an area with the anchor's format,
    // so the cells are written afterwards with their own formats (the edges of an area
    // carry different borders).
    for (const RangeRef& m : sheet.Merges()) {
        const Cell* anchor = sheet.Find(m.first);
        lxw_format* format = FormatOf(
            anchor != nullptr && anchor->format >= 0 ? anchor->format : sheet.DefaultFormat());
        Check(worksheet_merge_range(ws, lxw_row_t(m.first.row), lxw_col_t(m.first.col),
                                    lxw_row_t(m.last.row), lxw_col_t(m.last.col), "", format),
              "merged area " + RangeName(m));
        lxw_format* fallback = FormatOf(sheet.DefaultFormat());
        for (int r = m.first.row; r <= m.last.row; ++r)
            for (int c = m.first.col; c <= m.last.col; ++c)
                if (sheet.Find({r, c}) == nullptr)
                    Check(worksheet_write_blank(ws, lxw_row_t(r), lxw_col_t(c), fallback),
                          "merged area " + RangeName(m));
    }
    for (const auto& [at, cell] : sheet.Cells()) WriteCell(ws, sheet, at, cell);

    WritePageSetup(ws, sheet);
    WriteGuards(ws, sheet);
    // The active cell comes first in libxlsxwriter's selection.
    const RangeRef& s = sheet.selection;
    const CellRef from = sheet.activeCell == s.last ? s.last : s.first;
    const CellRef to = sheet.activeCell == s.last ? s.first : s.last;
    worksheet_set_selection(ws, lxw_row_t(from.row), lxw_col_t(from.col), lxw_row_t(to.row),
                            lxw_col_t(to.col));
    if (active) worksheet_activate(ws);
}

}  // namespace

std::vector<std::uint8_t> WriteXlsx(const Workbook& workbook,
                                    const std::filesystem::path& workFolder) {
    if (workbook.Sheets().empty()) throw EngineError("Cannot save a workbook without sheets");
    // libxlsxwriter prints every number of the XML (widths, heights, margins, font sizes,
    // cell values) with the C library, which would follow the user's locale: "12,75" under
    // de_DE is not a number in the file.
    const CLocaleScope cLocale;
    const PrivateFolder folder(workFolder);
    const std::string made = (folder.Path() / "book.xlsx").string();
    std::string tmpdir = folder.Path().string();
    lxw_workbook_options options{};
    options.tmpdir = tmpdir.data();
    BookHandle book(workbook_new_opt(made.c_str(), &options));
    if (!book) throw EngineError("Cannot save the .xlsx file: out of memory");
    // The title and the creation time, as the .xls file carries them: the time comes from
    // SOURCE_DATE_EPOCH when it is set, so the same workbook gives the same bytes.
    std::string title = XmlSafeUtf8(workbook.title).value_or(workbook.title);
    lxw_doc_properties properties{};
    properties.title = title.empty() ? nullptr : title.data();
    // libxlsxwriter reads a zero time as "now", so the first second of 1970 stands for it.
    properties.created = static_cast<time_t>(std::max<std::int64_t>(1, DocumentTimeNow()));
    Check(workbook_set_properties(book.get(), &properties), "the file properties are refused");
    XlsxWriter(workbook, book.get()).Write();
    Check(workbook_close(book.release()), "the file cannot be assembled");
    // libxlsxwriter's own output, in our private folder: no limit for files from elsewhere.
    return ReadWholeFile(made, std::numeric_limits<std::size_t>::max());
}

}  // namespace quill::spreadsheet::xlsx
