// Writing the workbook model as a BIFF8 workbook stream and as an .xls file.
//
// Layout of the stream: the globals substream (BOF, window and calculation settings, FONT,
// FORMAT, XF, STYLE, PALETTE, BOUNDSHEET, the print-area names with their sheet references,
// the shared-string table, EOF), then one worksheet substream per sheet (BOF, calculation
// and print settings, the protection, column and row records, cells in blocks of 32 rows,
// view, merged areas, conditional formats, validations, EOF). Everything is derived from the model
// in a fixed order, so the same workbook always gives the same bytes.
#include <algorithm>
#include <bit>
#include <cmath>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "spreadsheet/core/CLocale.h"
#include "spreadsheet/core/FileSupport.h"
#include "spreadsheet/core/TextCodec.h"
#include "spreadsheet/formula/Formula.h"
#include "spreadsheet/xls/Biff8Formula.h"
#include "spreadsheet/xls/PropertySets.h"
#include "spreadsheet/xls/SheetRules.h"
#include "spreadsheet/xls/XlsBiff.h"
#include "spreadsheet/xls/XlsContainer.h"
#include "spreadsheet/xls/XlsFile.h"
#include "spreadsheet/xls/XlsStream.h"

namespace quill::spreadsheet {
namespace xls {
namespace {

// The longest text a cell can hold.
constexpr std::size_t kMaxCellTextUnits = 32767;
// Cell records of this many rows form one block.
constexpr int kRowBlock = 32;
// Areas per MERGEDCELLS record.
constexpr std::size_t kMergesPerRecord = 1026;
// Default row height in twips (12.75 points).
constexpr std::uint16_t kDefaultRowTwips = 255;

std::string Where(const Worksheet& sheet, CellRef at) {
    return sheet.Name() + "!" + CellName(at);
}

// ---- Tables of the globals ----------------------------------------------------------------

// A font as the file can store it: size in whole twips, a palette colour or automatic, a
// name of at most 255 characters. Formats are compared in this form, so that formats which
// the file cannot tell apart become one XF and reading the file back gives the same formats.
Font FileFont(Font font) {
    if (!std::isfinite(font.size)) font.size = Font{}.size;
    font.size = std::clamp(std::round(font.size * 20.0), 20.0, 8191.0) / 20.0;
    if (font.colorIndex < 1 || font.colorIndex > kPaletteSize) font.colorIndex = kColorAutomatic;
    std::u16string name = Utf16FromUtf8(font.name);
    if (name.size() > kMaxShortStringChars) {
        name.resize(kMaxShortStringChars);
        font.name = Utf8FromUtf16(name);
    }
    return font;
}

CellFormat FileFormat(CellFormat format) {
    format.font = FileFont(std::move(format.font));
    if (format.fill < 1 || format.fill > kPaletteSize) format.fill = kNoFill;
    if (format.numberFormat.empty()) format.numberFormat = "General";
    if (format.hAlign > HAlign::Right) format.hAlign = HAlign::General;
    if (format.vAlign > VAlign::Bottom) format.vAlign = VAlign::Bottom;
    for (LineStyle& line : format.borders)
        if (line != LineStyle::Thin) line = LineStyle::None;
    return format;
}

template <typename T>
std::size_t IndexOrAppend(std::vector<T>& list, const T& value) {
    auto it = std::find(list.begin(), list.end(), value);
    if (it == list.end()) it = list.insert(list.end(), value);
    return static_cast<std::size_t>(it - list.begin());
}

// The cell formats as XF records, with the fonts and number formats they use.
//  - XFs: the distinct formats in the form the file stores, in order of first use; format 0
//    (the standard format) is always the first, XF 15.
//  - Fonts: the default font comes first and is written four times (font records 0 to 3
//    are reserved for it); the others follow as fonts 5, 6, ..., since font index 4 does not
//    exist in the file format.
//  - Number formats: "General" is the built-in format 0; every other code is a FORMAT record
//    numbered from 164 in order of first use.
struct FormatTables {
    std::vector<CellFormat> xfs;
    std::vector<std::uint16_t> xfOfFormat;  // XF index of each model format
    std::vector<Font> fonts;
    std::vector<std::uint16_t> fontOfXf;  // file font index of each XF (from 15)
    std::vector<std::string> codes;
    std::vector<std::uint16_t> numFmtOfXf;

    explicit FormatTables(const Workbook& book) {
        for (const CellFormat& format : book.Formats()) {
            const std::size_t xf = IndexOrAppend(xfs, FileFormat(format));
            xfOfFormat.push_back(static_cast<std::uint16_t>(kStyleXfCount + xf));
        }
        for (const CellFormat& format : xfs) {
            const std::size_t font = IndexOrAppend(fonts, format.font);
            fontOfXf.push_back(static_cast<std::uint16_t>(font == 0 ? 0 : font + 4));
            if (format.numberFormat == "General") {
                numFmtOfXf.push_back(0);
            } else {
                const std::size_t code = IndexOrAppend(codes, format.numberFormat);
                numFmtOfXf.push_back(static_cast<std::uint16_t>(kFirstCustomFormat + code));
            }
        }
    }
};

// The shared-string table: every distinct cell text once, in order of first use. The
// table refers to the cells' own texts rather than copying them; the UTF-16 form of each
// is made only when it is written.
struct SharedStrings {
    std::vector<std::string_view> strings;  // each entry's text, as valid UTF-8
    std::uint32_t uses = 0;
    // The entry of every text cell, in the order the sheets' cells are written (sheet by
    // sheet, row by row), so that writing them needs no search.
    std::vector<std::uint32_t> entryOfUse;

    explicit SharedStrings(const Workbook& book) {
        for (const auto& sheet : book.Sheets()) {
            for (const auto& [at, cell] : sheet->Cells()) {
                const auto* text = std::get_if<std::string>(&cell.content);
                if (text == nullptr) continue;
                ++uses;
                if (const auto it = index.find(*text); it != index.end()) {
                    entryOfUse.push_back(it->second);
                    continue;
                }
                // Each UTF-8 byte gives at most one UTF-16 unit, so only a long text needs
                // counting.
                if (text->size() > kMaxCellTextUnits &&
                    Utf16FromUtf8(*text).size() > kMaxCellTextUnits)
                    throw EngineError("The text in cell " + Where(*sheet, at) +
                                      " is longer than 32767 characters");
                const std::uint32_t entry = EntryFor(*text);
                index.emplace(*text, entry);
                entryOfUse.push_back(entry);
            }
        }
        // The search table is needed only while the entries are found; a large sheet's
        // table is megabytes that the rest of the save can use.
        std::unordered_map<std::string_view, std::uint32_t>().swap(index);
    }

  private:
    // Texts that differ only in invalid UTF-8 are the same text in the file: such a text
    // shares the entry of its repaired form.
    std::uint32_t EntryFor(std::string_view text) {
        std::string_view valid = text;
        if (std::optional<std::string> repaired = RepairedUtf8(text)) {
            if (const auto it = index.find(*repaired); it != index.end()) return it->second;
            valid = repairedTexts_.emplace_back(std::move(*repaired));
            index.emplace(valid, static_cast<std::uint32_t>(strings.size()));
        }
        strings.push_back(valid);
        return static_cast<std::uint32_t>(strings.size() - 1);
    }

    std::unordered_map<std::string_view, std::uint32_t> index;  // entries by cell text
    std::deque<std::string> repairedTexts_;  // stable storage for the repaired forms
};

std::uint16_t FontColor(int colorIndex) {
    return colorIndex >= 1 && colorIndex <= kPaletteSize
               ? static_cast<std::uint16_t>(colorIndex + kPaletteIcvOffset)
               : kIcvFontAuto;
}

// ---- Globals records ----------------------------------------------------------------------

void WriteBof(RecordWriter& w, std::uint16_t type) {
    // Version, substream type, a fixed build and year of the writer, no file-history flags,
    // and BIFF8 as the lowest version that reads the file.
    w.Begin(rec::kBof);
    w.U16(kBiff8Version).U16(type).U16(0x0DBB).U16(0x07CC).U32(0).U32(kBiff8Version >> 8);
    w.End();
}

void WriteFont(RecordWriter& w, const Font& font) {
    w.Begin(rec::kFont);
    const double twips = std::clamp(std::round(font.size * 20.0), 20.0, 8191.0);
    w.U16(static_cast<std::uint16_t>(twips));
    // Bit 0 repeats the bold weight for older readers; bit 1 is italic.
    w.U16(static_cast<std::uint16_t>((font.bold ? 0x0001 : 0) | (font.italic ? 0x0002 : 0)));
    w.U16(FontColor(font.colorIndex));
    w.U16(font.bold ? 700 : 400);
    w.U16(0);       // no super- or subscript
    w.U8(0);        // no underline
    w.U8(0).U8(0);  // family and character set: unknown, ANSI
    w.U8(0);        // reserved
    BiffString name = BiffString::FromUtf8(font.name);
    if (name.units.size() > kMaxShortStringChars) name.units.resize(kMaxShortStringChars);
    w.ShortString(name);
    w.End();
}

// XF attribute-group flags (the byte at offset 9): number format, font, alignment,
// borders, fill, protection.
constexpr std::uint8_t kXfAllGroups = 0xFC;
// No fill: pattern colour automatic, background the window colour.
constexpr std::uint16_t kNoFillColors = kIcvAuto | (kIcvWindowBack << 7);

void WriteStyleXfs(RecordWriter& w) {
    for (int i = 0; i < kStyleXfCount; ++i) {
        // XF 0 is the Normal style; 1 to 14 are the outline styles, which by convention use
        // fonts 1 and 2 (copies of the default font) and leave all but the font to Normal.
        const std::uint16_t font = (i == 1 || i == 2) ? 1 : (i == 3 || i == 4) ? 2 : 0;
        w.Begin(rec::kXf);
        w.U16(font).U16(0);
        w.U16(0xFFF5);  // locked, style XF, no parent
        w.U8(0x20);     // general, bottom
        w.U8(0).U8(0);
        w.U8(i == 0 ? 0x00 : 0xF4);
        w.U32(0).U32(0).U16(kNoFillColors);
        w.End();
    }
}

void WriteCellXf(RecordWriter& w, const CellFormat& f, std::uint16_t font, std::uint16_t numFmt) {
    w.Begin(rec::kXf);
    w.U16(font).U16(numFmt);
    w.U16(f.locked ? 0x0001 : 0x0000);  // locked or not, cell XF, parent style XF 0
    w.U8(static_cast<std::uint8_t>(static_cast<unsigned>(f.hAlign) | (f.wrap ? 0x08u : 0u) |
                                   (static_cast<unsigned>(f.vAlign) << 4)));
    w.U8(0).U8(0);
    w.U8(kXfAllGroups);  // every attribute of this XF is its own
    auto style = [&](Edge e) { return f.Border(e) == LineStyle::Thin ? 1u : 0u; };
    auto color = [&](Edge e) {
        return f.Border(e) == LineStyle::Thin ? std::uint32_t{kIcvAuto} : 0u;
    };
    w.U32(style(Edge::Left) | (style(Edge::Right) << 4) | (style(Edge::Top) << 8) |
          (style(Edge::Bottom) << 12) | (color(Edge::Left) << 16) | (color(Edge::Right) << 23));
    const bool filled = f.fill >= 1 && f.fill <= kPaletteSize;
    w.U32(color(Edge::Top) | (color(Edge::Bottom) << 7) | (filled ? 1u << 26 : 0u));
    w.U16(filled ? static_cast<std::uint16_t>((f.fill + kPaletteIcvOffset) | (kIcvAuto << 7))
                 : kNoFillColors);
    w.End();
}

void WriteSharedStrings(RecordWriter& w, const SharedStrings& sst) {
    // EXTSST divides the strings into at most 128 buckets of at least 8 strings and points
    // at the first string of each.
    const std::size_t count = sst.strings.size();
    const std::size_t perBucket = std::max<std::size_t>(8, (count + 127) / 128);
    struct BucketStart {
        std::uint32_t streamPos;
        std::uint16_t inRecord;
    };
    std::vector<BucketStart> buckets;

    ContinuedRecord record(w, rec::kSst);
    w.U32(sst.uses).U32(static_cast<std::uint32_t>(count));
    for (std::size_t i = 0; i < count; ++i) {
        const BiffString s = BiffString::FromUtf8(sst.strings[i]);
        // The count and flags stay with at least the first character.
        record.KeepTogether(3 + ContinuedRecord::FirstCharBytes(s));
        if (i % perBucket == 0)
            buckets.push_back({static_cast<std::uint32_t>(w.Size()),
                               static_cast<std::uint16_t>(w.Size() - w.RecordStart())});
        w.U16(static_cast<std::uint16_t>(s.units.size())).U8(s.wide ? 1 : 0);
        record.Chars(s);
    }
    record.Finish();

    w.Begin(rec::kExtSst);
    w.U16(static_cast<std::uint16_t>(perBucket));
    for (const BucketStart& b : buckets) w.U32(b.streamPos).U16(b.inRecord).U16(0);
    w.End();
}

// ---- Cells ------------------------------------------------------------------------------

// The RK form of a number, when it has one: a 30-bit integer, a 30-bit integer divided by
// 100, or a double whose low 34 bits are zero.
std::optional<std::uint32_t> EncodeRk(double v) {
    if (!std::isfinite(v) || (v == 0.0 && std::signbit(v))) return std::nullopt;
    constexpr double kMin = -536870912.0, kMax = 536870911.0;
    if (v == std::trunc(v) && v >= kMin && v <= kMax)
        return (static_cast<std::uint32_t>(static_cast<std::int32_t>(v)) << 2) | 0x2u;
    const double hundred = v * 100.0;
    if (hundred == std::trunc(hundred) && hundred >= kMin && hundred <= kMax) {
        const auto i = static_cast<std::int32_t>(hundred);
        if (static_cast<double>(i) / 100.0 == v) return (static_cast<std::uint32_t>(i) << 2) | 0x3u;
    }
    const auto bits = std::bit_cast<std::uint64_t>(v);
    if ((bits & 0x3FFFFFFFFull) == 0) return static_cast<std::uint32_t>(bits >> 32);
    return std::nullopt;
}

// The eight result bytes of a FORMULA record for a non-numeric result.
void WriteSpecialResult(RecordWriter& w, std::uint8_t type, std::uint8_t value) {
    w.U8(type).U8(0).U8(value).U8(0).U8(0).U8(0).U16(0xFFFF);
}

class SheetWriter {
  public:
    SheetWriter(RecordWriter& w, const FormatTables& tables, const Worksheet& sheet,
                const SharedStrings& sst, std::size_t& nextUse, bool active)
        : w_(w), tables_(tables), sheet_(sheet), sst_(sst), nextUse_(nextUse), active_(active) {}

    void Write();

  private:
    struct RowInfo {
        int row = 0;
        int firstCol = 0;
        int endCol = 0;  // last column + 1; equal to firstCol for a row without cells
    };
    using CellEntry = std::pair<CellRef, const Cell&>;

    std::uint16_t XfOf(const CellEntry& entry) const;
    std::uint16_t DefaultXf() const;
    void CollectRows();
    void WriteSettings();
    void WriteColumns();
    void WriteDimensions();
    void WriteRow(const RowInfo& row);
    void WriteCells(const RowInfo& row);
    void WriteFormula(const CellEntry& entry);
    void WriteView();
    void WriteMerges();

    RecordWriter& w_;
    const FormatTables& tables_;
    const Worksheet& sheet_;
    const SharedStrings& sst_;
    std::size_t& nextUse_;  // the next of sst_.entryOfUse, across the sheets
    bool active_;
    // Rows with cells that get a record, and rows with a height of their own, in order.
    std::vector<RowInfo> rows_;
    // The cells that get a record: the rows and columns they span.
    int firstRow_ = 0, endRow_ = 0, firstCol_ = kMaxColumns, endCol_ = 0;
    std::vector<CellEntry> rowCells_;  // the cells of the row being written
};

std::uint16_t SheetWriter::XfOf(const CellEntry& entry) const {
    const int format = entry.second.format >= 0 ? entry.second.format : sheet_.DefaultFormat();
    if (static_cast<std::size_t>(format) >= tables_.xfOfFormat.size())
        throw EngineError("Cell " + Where(sheet_, entry.first) + " has an unknown format");
    return tables_.xfOfFormat[static_cast<std::size_t>(format)];
}

std::uint16_t SheetWriter::DefaultXf() const {
    const int format = sheet_.DefaultFormat();
    if (format < 0 || static_cast<std::size_t>(format) >= tables_.xfOfFormat.size())
        throw EngineError("Sheet " + sheet_.Name() + " has an unknown default format");
    return tables_.xfOfFormat[static_cast<std::size_t>(format)];
}

void SheetWriter::CollectRows() {
    // Rows with cells and rows with a height of their own, merged in order.
    auto heights = sheet_.RowHeights().begin();
    const auto heightsEnd = sheet_.RowHeights().end();
    auto addRowsBefore = [&](int row) {
        for (; heights != heightsEnd && heights->first < row; ++heights)
            rows_.push_back({heights->first, 0, 0});
    };
    bool any = false;
    for (const auto& [at, cell] : sheet_.Cells()) {
        if (!cell.HasContent() && cell.format < 0) continue;
        if (!rows_.empty() && rows_.back().row == at.row && rows_.back().endCol > 0) {
            rows_.back().endCol = at.col + 1;
        } else {
            addRowsBefore(at.row);
            if (heights != heightsEnd && heights->first == at.row) ++heights;
            rows_.push_back({at.row, at.col, at.col + 1});
        }
        if (!any) firstRow_ = at.row;
        any = true;
        endRow_ = at.row + 1;
        firstCol_ = std::min(firstCol_, at.col);
        endCol_ = std::max(endCol_, at.col + 1);
    }
    addRowsBefore(kMaxRows);
    if (!any) firstCol_ = 0;
}

void SheetWriter::WriteSettings() {
    const PageSetup& page = sheet_.pageSetup;
    // Calculation: automatic, and recalculated whenever the file is opened.
    w_.Record16(rec::kCalcMode, 1);
    w_.Record16(rec::kCalcCount, 100);
    w_.Record16(rec::kRefMode, 1);
    w_.Record16(rec::kIteration, 0);
    w_.RecordF64(rec::kDelta, 0.001);
    w_.Record16(rec::kSaveRecalc, 1);
    w_.Record16(rec::kPrintHeaders, 0);
    w_.Record16(rec::kPrintGridlines, 0);
    w_.Record16(rec::kGridSet, 1);
    w_.Begin(rec::kGuts);
    w_.Zeros(8);
    w_.End();
    w_.Begin(rec::kDefaultRowHeight);
    w_.U16(0).U16(kDefaultRowTwips);
    w_.End();
    // Automatic page breaks shown, outline symbols below and right, and fit to pages.
    w_.Record16(rec::kWsBool, page.fitToPages ? 0x05C1 : 0x04C1);
    w_.Empty(rec::kHeader);
    w_.Empty(rec::kFooter);
    w_.Record16(rec::kHCenter, page.centerHorizontally ? 1 : 0);
    w_.Record16(rec::kVCenter, page.centerVertically ? 1 : 0);
    w_.RecordF64(rec::kLeftMargin, page.leftMargin);
    w_.RecordF64(rec::kRightMargin, page.rightMargin);
    w_.RecordF64(rec::kTopMargin, page.topMargin);
    w_.RecordF64(rec::kBottomMargin, page.bottomMargin);

    auto u16 = [](int v, int lo, int hi) {
        return static_cast<std::uint16_t>(std::clamp(v, lo, hi));
    };
    w_.Begin(rec::kSetup);
    w_.U16(u16(page.paperSize, 0, 0xFFFF));
    w_.U16(u16(page.zoom, 10, 400));
    w_.U16(1);  // first page number
    w_.U16(u16(page.fitWide, 0, 0x7FFF)).U16(u16(page.fitTall, 0, 0x7FFF));
    // Pages down then over, the orientation and paper fields valid, comments as set.
    w_.U16(static_cast<std::uint16_t>((page.portrait ? 0x0002 : 0) |
                                      (page.printComments ? 0x0020 : 0)));
    w_.U16(600).U16(600);  // print resolution
    w_.F64(page.headerMargin).F64(page.footerMargin);
    w_.U16(1);  // copies
    w_.End();
}

void SheetWriter::WriteColumns() {
    w_.Record16(rec::kDefColWidth, 8);
    // Every column carries the sheet's default format, so that cells without a record of
    // their own show it; widths set on the sheet are marked as set by the user.
    const std::uint16_t xf = DefaultXf();
    auto columnOf = [&](int col) {
        const auto it = sheet_.ColumnWidths().find(col);
        const bool userSet = it != sheet_.ColumnWidths().end();
        std::uint16_t units =
            ColumnWidthToUnits(userSet ? it->second : Worksheet::kDefaultColumnWidth);
        const bool hidden = units == 0;
        // A column of width 0 is hidden; the record keeps a width it can be shown at again.
        if (hidden) units = ColumnWidthToUnits(Worksheet::kDefaultColumnWidth);
        const auto flags =
            static_cast<std::uint16_t>((hidden ? 0x0001 : 0) | (userSet ? 0x0002 : 0));
        return std::pair{units, flags};
    };
    int first = 0;
    while (first < kMaxColumns) {
        const auto column = columnOf(first);
        int last = first;
        while (last + 1 < kMaxColumns && columnOf(last + 1) == column) ++last;
        w_.Begin(rec::kColInfo);
        w_.U16(static_cast<std::uint16_t>(first)).U16(static_cast<std::uint16_t>(last));
        w_.U16(column.first).U16(xf).U16(column.second).U16(0);
        w_.End();
        first = last + 1;
    }
}

void SheetWriter::WriteDimensions() {
    w_.Begin(rec::kDimensions);
    w_.U32(static_cast<std::uint32_t>(firstRow_))
        .U32(static_cast<std::uint32_t>(endRow_))
        .U16(static_cast<std::uint16_t>(firstCol_))
        .U16(static_cast<std::uint16_t>(endCol_))
        .U16(0);
    w_.End();
}

void SheetWriter::WriteRow(const RowInfo& row) {
    const auto height = sheet_.RowHeights().find(row.row);
    const bool custom = height != sheet_.RowHeights().end();
    auto twips =
        custom
            ? static_cast<std::uint16_t>(std::clamp(std::lround(height->second * 20.0), 0L, 8190L))
            : kDefaultRowTwips;
    // A sheet-wide format also goes on every row record, as a row format, so that programs
    // which take row formats before column formats show it too.
    const std::uint16_t defaultXf = DefaultXf();
    const bool rowFormat = defaultXf != kStyleXfCount;
    std::uint32_t flags = 0x0100;
    if (custom) flags |= 0x0040;
    if (custom && twips == 0) {
        // A row of height 0 is hidden; the record keeps a height it can be shown at again.
        flags |= 0x0020;
        twips = kDefaultRowTwips;
    }
    if (rowFormat) flags |= 0x0080 | (static_cast<std::uint32_t>(defaultXf) << 16);
    w_.Begin(rec::kRow);
    w_.U16(static_cast<std::uint16_t>(row.row));
    w_.U16(static_cast<std::uint16_t>(row.firstCol)).U16(static_cast<std::uint16_t>(row.endCol));
    w_.U16(twips).U16(0).U16(0).U32(flags);
    w_.End();
}

void SheetWriter::WriteFormula(const CellEntry& entry) {
    const auto& [at, cell] = entry;
    std::vector<std::uint8_t> tokens;
    try {
        tokens = EncodeBiff8(*cell.AsFormula(), at);
    } catch (const EngineError& e) {
        throw EngineError("The formula in cell " + Where(sheet_, at) +
                          " cannot be saved: " + e.what());
    }
    w_.Begin(rec::kFormula);
    w_.U16(static_cast<std::uint16_t>(at.row))
        .U16(static_cast<std::uint16_t>(at.col))
        .U16(XfOf(entry));
    const std::string* text = nullptr;
    const Value cached = cell.Cached();
    if (const auto* number = std::get_if<double>(&cached); number && std::isfinite(*number)) {
        w_.F64(*number);
    } else if (number != nullptr) {
        WriteSpecialResult(w_, 2, static_cast<std::uint8_t>(ErrorCode::Num));
    } else if (const auto* s = std::get_if<std::string>(&cached)) {
        WriteSpecialResult(w_, 0, 0);  // the text follows in a STRING record
        text = s;
    } else if (const auto* b = std::get_if<bool>(&cached)) {
        WriteSpecialResult(w_, 1, *b ? 1 : 0);
    } else if (const auto* e = std::get_if<ErrorCode>(&cached)) {
        WriteSpecialResult(w_, 2, static_cast<std::uint8_t>(*e));
    } else {
        WriteSpecialResult(w_, 3, 0);  // not computed: an empty result
    }
    w_.U16(0x0001);  // always calculate: programs recompute the formula when they open the file
    w_.U32(0);
    w_.U16(static_cast<std::uint16_t>(tokens.size())).Bytes(tokens);
    w_.End();

    if (text != nullptr) {
        BiffString s = BiffString::FromUtf8(*text);
        // The cached result is recomputed on opening; a text beyond what a cell can hold is
        // cut rather than refused.
        if (s.units.size() > kMaxCellTextUnits) {
            // Cut between characters, not inside one.
            const bool inPair = ContinuedRecord::StartsPair(s.units, kMaxCellTextUnits - 1);
            s.units.resize(kMaxCellTextUnits - (inPair ? 1 : 0));
        }
        ContinuedRecord record(w_, rec::kString);
        w_.U16(static_cast<std::uint16_t>(s.units.size())).U8(s.wide ? 1 : 0);
        record.Chars(s);
        record.Finish();
    }
}

void SheetWriter::WriteCells(const RowInfo& row) {
    if (row.endCol == row.firstCol) return;
    rowCells_.clear();
    sheet_.ForEachStoredIn({{row.row, row.firstCol}, {row.row, row.endCol - 1}},
                           [this](CellRef at, const Cell& cell) {
                               if (cell.HasContent() || cell.format >= 0)
                                   rowCells_.emplace_back(at, cell);
                               return true;
                           });
    const auto row16 = static_cast<std::uint16_t>(row.row);
    std::size_t i = 0;
    while (i < rowCells_.size()) {
        const CellEntry& entry = rowCells_[i];
        const auto& [at, cell] = entry;
        const auto col16 = static_cast<std::uint16_t>(at.col);
        if (!cell.HasContent()) {
            // A run of formatted empty cells in adjacent columns is one MULBLANK.
            std::size_t j = i + 1;
            while (j < rowCells_.size() && !rowCells_[j].second.HasContent() &&
                   rowCells_[j].first.col == rowCells_[j - 1].first.col + 1)
                ++j;
            if (j - i == 1) {
                w_.Begin(rec::kBlank);
                w_.U16(row16).U16(col16).U16(XfOf(entry));
            } else {
                w_.Begin(rec::kMulBlank);
                w_.U16(row16).U16(col16);
                for (std::size_t k = i; k < j; ++k) w_.U16(XfOf(rowCells_[k]));
                w_.U16(static_cast<std::uint16_t>(rowCells_[j - 1].first.col));
            }
            w_.End();
            i = j;
            continue;
        }
        if (const auto* number = std::get_if<double>(&cell.content)) {
            if (const auto rk = EncodeRk(*number)) {
                w_.Begin(rec::kRk);
                w_.U16(row16).U16(col16).U16(XfOf(entry)).U32(*rk);
            } else if (std::isfinite(*number)) {
                w_.Begin(rec::kNumber);
                w_.U16(row16).U16(col16).U16(XfOf(entry)).F64(*number);
            } else {
                // The file format has no infinite or undefined numbers: #NUM!.
                w_.Begin(rec::kBoolErr);
                w_.U16(row16).U16(col16).U16(XfOf(entry));
                w_.U8(static_cast<std::uint8_t>(ErrorCode::Num)).U8(1);
            }
            w_.End();
        } else if (std::holds_alternative<std::string>(cell.content)) {
            w_.Begin(rec::kLabelSst);
            if (nextUse_ >= sst_.entryOfUse.size())
                throw EngineError("The text in cell " + Where(sheet_, at) + " is not shared");
            w_.U16(row16).U16(col16).U16(XfOf(entry)).U32(sst_.entryOfUse[nextUse_++]);
            w_.End();
        } else {
            WriteFormula(entry);
        }
        ++i;
    }
}

void SheetWriter::WriteView() {
    w_.Begin(rec::kWindow2);
    // Gridlines, headers, zeros, automatic gridline colour, outline symbols; the active
    // sheet is also selected and shown.
    w_.U16(static_cast<std::uint16_t>(0x00B6 | (active_ ? 0x0600 : 0)));
    w_.U16(0).U16(0);         // top row, left column
    w_.U16(kIcvAuto).U16(0);  // gridline colour
    w_.U16(0).U16(0).U32(0);  // zoom factors (default), reserved
    w_.End();

    auto clampRow = [](int r) {
        return static_cast<std::uint16_t>(std::clamp(r, 0, kMaxRows - 1));
    };
    auto clampCol = [](int c) {
        return static_cast<std::uint8_t>(std::clamp(c, 0, kMaxColumns - 1));
    };
    const RangeRef& sel = sheet_.selection;
    w_.Begin(rec::kSelection);
    w_.U8(3);  // the only pane
    w_.U16(clampRow(sheet_.activeCell.row)).U16(clampCol(sheet_.activeCell.col));
    w_.U16(0).U16(1);  // the active cell is in the first (and only) selected range
    w_.U16(clampRow(sel.first.row)).U16(clampRow(sel.last.row));
    w_.U8(clampCol(sel.first.col)).U8(clampCol(sel.last.col));
    w_.End();
}

void SheetWriter::WriteMerges() {
    const auto& merges = sheet_.Merges();
    for (std::size_t first = 0; first < merges.size(); first += kMergesPerRecord) {
        const std::size_t n = std::min(kMergesPerRecord, merges.size() - first);
        w_.Begin(rec::kMergedCells);
        w_.U16(static_cast<std::uint16_t>(n));
        for (std::size_t k = first; k < first + n; ++k) {
            const RangeRef& m = merges[k];
            w_.U16(static_cast<std::uint16_t>(m.first.row))
                .U16(static_cast<std::uint16_t>(m.last.row));
            w_.U16(static_cast<std::uint16_t>(m.first.col))
                .U16(static_cast<std::uint16_t>(m.last.col));
        }
        w_.End();
    }
}

void SheetWriter::Write() {
    CollectRows();
    WriteBof(w_, kBofWorksheet);
    WriteSettings();
    WriteProtection(w_, sheet_);
    WriteColumns();
    WriteDimensions();
    // Blocks of 32 rows: the row records, then the cells of those rows.
    std::size_t r = 0;
    while (r < rows_.size()) {
        std::size_t end = r;
        while (end < rows_.size() && rows_[end].row / kRowBlock == rows_[r].row / kRowBlock) ++end;
        for (std::size_t k = r; k < end; ++k) WriteRow(rows_[k]);
        for (std::size_t k = r; k < end; ++k) WriteCells(rows_[k]);
        r = end;
    }
    WriteView();
    WriteMerges();
    WriteConditionalFormats(w_, sheet_);
    WriteValidations(w_, sheet_);
    w_.Empty(rec::kEof);
}

void CheckArea(const RangeRef& area, const std::string& what) {
    if (area.first.row < 0 || area.first.col < 0 || area.last.row >= kMaxRows ||
        area.last.col >= kMaxColumns || area.first.row > area.last.row ||
        area.first.col > area.last.col)
        throw EngineError(what + " lies outside the sheet");
}

// The print areas: one sheet reference (EXTERNSHEET entry) per sheet that has one, into the
// workbook itself (SUPBOOK), and a built-in name "Print_Area" local to that sheet.
void WritePrintAreas(RecordWriter& w, const Workbook& book) {
    std::vector<std::size_t> sheets;
    for (std::size_t i = 0; i < book.Sheets().size(); ++i) {
        if (const auto& area = book.Sheets()[i]->printArea) {
            CheckArea(*area, "The print area of sheet " + book.Sheets()[i]->Name());
            sheets.push_back(i);
        }
    }
    if (sheets.empty()) return;
    w.Begin(rec::kSupBook);
    w.U16(static_cast<std::uint16_t>(book.Sheets().size())).U16(0x0401);  // this workbook
    w.End();
    w.Begin(rec::kExternSheet);
    w.U16(static_cast<std::uint16_t>(sheets.size()));
    for (const std::size_t s : sheets)
        w.U16(0).U16(static_cast<std::uint16_t>(s)).U16(static_cast<std::uint16_t>(s));
    w.End();
    for (std::size_t k = 0; k < sheets.size(); ++k) {
        const RangeRef& area = *book.Sheets()[sheets[k]]->printArea;
        w.Begin(rec::kName);
        w.U16(0x0020);  // built-in name
        w.U8(0);        // no shortcut key
        w.U8(1);        // name length: the one built-in code
        w.U16(11);      // formula length
        w.U16(0);
        w.U16(static_cast<std::uint16_t>(sheets[k] + 1));  // local to this sheet (1-based)
        w.U8(0).U8(0).U8(0).U8(0);                         // no menu, description, help, status
        w.U8(0).U8(0x06);                                  // "Print_Area"
        // ptgArea3d, reference class, absolute rows and columns.
        w.U8(0x3B).U16(static_cast<std::uint16_t>(k));
        w.U16(static_cast<std::uint16_t>(area.first.row))
            .U16(static_cast<std::uint16_t>(area.last.row));
        w.U16(static_cast<std::uint16_t>(area.first.col))
            .U16(static_cast<std::uint16_t>(area.last.col));
        w.End();
    }
}

}  // namespace

namespace {

// Bytes gathered before they are handed to a sink: large enough that handing on costs
// little, small next to a large workbook's stream.
constexpr std::size_t kStreamChunk = 256u << 10;

void WriteStream(const Workbook& book, RecordWriter& w, bool streaming) {
    if (book.Sheets().empty()) throw EngineError("A workbook needs at least one sheet");
    if (book.Sheets().size() > kMaxSheets) throw EngineError("Too many sheets to save");
    const FormatTables tables(book);
    const SharedStrings sst(book);
    const auto activeSheet = static_cast<std::size_t>(
        book.activeSheet >= 0 && static_cast<std::size_t>(book.activeSheet) < book.Sheets().size()
            ? book.activeSheet
            : 0);

    if (streaming) {
        w.Data().reserve(kStreamChunk + kMaxRecordData + 4);
    } else {
        // Room for the usual size, so that the buffer does not grow step by step: the fixed
        // records, about twenty bytes per cell and the texts.
        std::size_t cells = 0;
        for (const auto& sheet : book.Sheets()) cells += sheet->Cells().size();
        std::size_t textBytes = 0;
        for (const std::string_view s : sst.strings) textBytes += 3 + s.size();
        w.Data().reserve(16384 + 8192 * book.Sheets().size() + 24 * cells + textBytes);
    }
    WriteBof(w, kBofGlobals);
    w.Record16(rec::kCodePage, 1200);  // texts are Unicode
    w.Record16(rec::kWindowProtect, 0);
    w.Record16(rec::kProtect, 0);
    w.Record16(rec::kPassword, 0);
    w.Begin(rec::kWindow1);
    w.U16(360).U16(270).U16(14940).U16(9150);  // window position and size, in twips
    w.U16(0x0038);                             // scroll bars and sheet tabs shown
    w.U16(static_cast<std::uint16_t>(activeSheet)).U16(0).U16(1).U16(600);
    w.End();
    w.Record16(rec::kBackup, 0);
    w.Record16(rec::kHideObj, 0);
    w.Record16(rec::kDateMode, 0);   // dates count from 1900
    w.Record16(rec::kPrecision, 1);  // full precision
    w.Record16(rec::kBookBool, 0);

    for (int i = 0; i < 4; ++i) WriteFont(w, tables.fonts.front());
    for (std::size_t i = 1; i < tables.fonts.size(); ++i) WriteFont(w, tables.fonts[i]);
    for (std::size_t i = 0; i < tables.codes.size(); ++i) {
        const BiffString code = BiffString::FromUtf8(tables.codes[i]);
        if (code.units.size() > kMaxShortStringChars)
            throw EngineError("The number format \"" + tables.codes[i] + "\" is too long to save");
        w.Begin(rec::kFormat);
        w.U16(static_cast<std::uint16_t>(kFirstCustomFormat + i)).LongString(code);
        w.End();
    }
    WriteStyleXfs(w);
    for (std::size_t i = 0; i < tables.xfs.size(); ++i)
        WriteCellXf(w, tables.xfs[i], tables.fontOfXf[i], tables.numFmtOfXf[i]);
    w.Begin(rec::kStyle);
    w.U16(0x8000).U8(0).U8(0xFF);  // the built-in Normal style is XF 0
    w.End();

    w.Begin(rec::kPalette);
    w.U16(static_cast<std::uint16_t>(book.palette.size()));
    for (const std::uint32_t rgb : book.palette)
        w.U8(rgb & 0xFF).U8((rgb >> 8) & 0xFF).U8((rgb >> 16) & 0xFF).U8(0);
    w.End();
    w.Record16(rec::kUsesElfs, 0);

    // Sheet entries; their stream offsets are filled in once the sheets are written.
    std::vector<std::size_t> offsetFields;
    for (const auto& sheet : book.Sheets()) {
        w.Begin(rec::kBoundSheet);
        offsetFields.push_back(w.Size());
        w.U32(0).U8(0).U8(0);  // offset, visible, worksheet
        w.ShortString(BiffString::FromUtf8(sheet->Name()));
        w.End();
    }
    w.Begin(rec::kCountry);
    w.U16(1).U16(1);
    w.End();
    WritePrintAreas(w, book);
    WriteSharedStrings(w, sst);
    w.Empty(rec::kEof);

    std::size_t nextUse = 0;
    for (std::size_t i = 0; i < book.Sheets().size(); ++i) {
        w.PatchU32(offsetFields[i], static_cast<std::uint32_t>(w.Size()));
        // Every sheet offset is in place once the last sheet begins: from there on nothing
        // written is changed again.
        if (i + 1 == book.Sheets().size()) w.HandOnFromNowOn();
        SheetWriter(w, tables, *book.Sheets()[i], sst, nextUse, i == activeSheet).Write();
    }
    w.Finish();
}

}  // namespace

std::vector<std::uint8_t> WriteWorkbookStream(const Workbook& book) {
    RecordWriter w;
    WriteStream(book, w, false);
    return std::move(w.Data());
}

void WriteWorkbookStream(const Workbook& book,
                         const std::function<void(std::span<const std::uint8_t>)>& sink) {
    RecordWriter w;
    w.SetSink(sink, kStreamChunk);
    WriteStream(book, w, true);
}

}  // namespace xls

void xls::SaveXls(const Workbook& workbook, const std::string& path) {
    // The file is written under a temporary name beside the target and put in its place only
    // when it is complete; a failure on the way leaves the target as it was. Its numbers are
    // binary, and the C locale keeps any text the libraries make from them the same.
    const CLocaleScope cLocale;
    const std::int64_t now = DocumentTimeNow();
    const xls::NamedStream properties[] = {
        {xls::kSummaryStreamName,
         xls::WriteSummaryInformation(
             {.title = workbook.title, .application = "Quillmere", .created = now, .saved = now})},
        {xls::kDocumentSummaryStreamName, xls::WriteDocumentSummaryInformation()}};
    xls::SaveCompoundFile(
        path, [&](const xls::StreamSink& sink) { xls::WriteWorkbookStream(workbook, sink); },
        properties);
}

}  // namespace quill::spreadsheet
