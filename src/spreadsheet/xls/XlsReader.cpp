// Reading a BIFF8 workbook stream or .xls file into the workbook model.
//
// The reader takes the records the writer produces, and the usual variants other programs
// write (LABEL and RSTRING texts, MULRK runs, shared-string tables with formatting runs,
// CONTINUE records, embedded substreams). Records it does not need are skipped. Every length
// and index is checked; a damaged file throws EngineError. Work and memory are bounded: the
// records are walked once, sheet substreams may not overlap, and the number of cells, the
// text held by cells and the merged areas are capped.
#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "spreadsheet/core/FileSupport.h"
#include "spreadsheet/formula/Formula.h"
#include "spreadsheet/formula/FormulaExpr.h"
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

// Records that may stand between a FORMULA record and its STRING record.
constexpr std::uint16_t kShrFmla = 0x04BC;
constexpr std::uint16_t kArray = 0x0221;
constexpr std::uint16_t kTable = 0x0236;

// Formula tokens decoded in all sheets; the parsed form takes many times their size.
constexpr std::size_t kMaxFormulaBytes = 16u << 20;

// The memory the model read from a stream may take: this many bytes per stream byte, and at
// least the floor, so that a small file with many formatted blanks still reads. A cell
// takes about 145 bytes and a formula node about 120, but a formula filled down a column
// shares one parsed tree, so the engine's own formula-heavy sheets take under seven times
// their stream (200 groups of 50 items: 6.3 MB from 0.94 MB); with the file and the stream
// themselves the reader's peak stays within about twelve times the file.
constexpr std::size_t kModelBytesPerStreamByte = 10;
constexpr std::size_t kMinModelBytes = 8u << 20;

// The bytes a cell of the model takes in its sheet: the cell (its column lives inside it),
// and the share of its row's spare room (a row grows by a quarter).
constexpr std::size_t kCellBytes = sizeof(Cell) * 5 / 4;
// A string's own storage beyond the object that holds it (short strings have none).
std::size_t HeapBytes(const std::string& text) {
    return text.capacity() > std::string().capacity() ? text.capacity() + 1 : 0;
}

// The bytes a parsed formula takes: its text and every node of its tree.
std::size_t TreeBytes(const formula::Expr& e) {
    std::size_t bytes = HeapBytes(e.text) + e.args.capacity() * sizeof(formula::Expr);
    for (const formula::Expr& arg : e.args) bytes += TreeBytes(arg);
    return bytes;
}
std::size_t FormulaBytes(const Formula& f) {
    constexpr std::size_t kSharedBlock = 2 * sizeof(void*) + sizeof(long);
    return HeapBytes(f.R1C1()) +
           (f.Tree() ? sizeof(formula::Expr) + kSharedBlock + TreeBytes(*f.Tree()) : 0);
}

// Distinct parsed trees a sheet's charge keeps track of, and what an entry of that table
// takes.
constexpr std::size_t kMaxSharedFormulas = 4096;
constexpr std::size_t kSharedFormulaEntryBytes = sizeof(void*) + 4 * sizeof(void*);

// Counts the memory the model takes while it is read and refuses the stream once that
// passes the limit its size allows.
class MemoryBudget {
  public:
    explicit MemoryBudget(std::size_t streamBytes)
        : limit_(std::max(kMinModelBytes, streamBytes * kModelBytesPerStreamByte)) {}
    void Charge(std::size_t bytes) {
        used_ += bytes;
        if (used_ > limit_)
            throw EngineError("the workbook needs more memory than a file of its size can");
    }

  private:
    std::size_t used_ = 0;
    std::size_t limit_;
};

// The shared-string table in one block of text: a table of many short strings takes little
// more memory than its texts, not a string object for each.
class SharedStrings {
  public:
    void Reserve(std::size_t count) { ends_.reserve(count); }
    void Add(const std::string& text) {
        text_ += text;
        ends_.push_back(static_cast<std::uint32_t>(text_.size()));
    }
    std::size_t Size() const { return ends_.size(); }
    std::string At(std::size_t i) const {
        const std::size_t begin = i == 0 ? 0 : ends_[i - 1];
        return text_.substr(begin, ends_[i] - begin);
    }
    std::size_t Bytes() const { return text_.capacity() + ends_.capacity() * sizeof(ends_[0]); }

  private:
    std::string text_;
    std::vector<std::uint32_t> ends_;  // the text is at most twice the 64 MB stream
};

// The number formats every program knows by index without a FORMAT record.
std::optional<std::string> BuiltInFormat(std::uint16_t index) {
    switch (index) {
        case 0:
            return "General";
        case 1:
            return "0";
        case 2:
            return "0.00";
        case 3:
            return "#,##0";
        case 4:
            return "#,##0.00";
        case 5:
            return "$#,##0_);($#,##0)";
        case 6:
            return "$#,##0_);[Red]($#,##0)";
        case 7:
            return "$#,##0.00_);($#,##0.00)";
        case 8:
            return "$#,##0.00_);[Red]($#,##0.00)";
        case 9:
            return "0%";
        case 10:
            return "0.00%";
        case 11:
            return "0.00E+00";
        case 12:
            return "# ?/?";
        case 13:
            return "# ?"
                   "?/?"
                   "?";  // split: "??/" would be a trigraph
        case 14:
            return "m/d/yyyy";
        case 15:
            return "d-mmm-yy";
        case 16:
            return "d-mmm";
        case 17:
            return "mmm-yy";
        case 18:
            return "h:mm AM/PM";
        case 19:
            return "h:mm:ss AM/PM";
        case 20:
            return "h:mm";
        case 21:
            return "h:mm:ss";
        case 22:
            return "m/d/yyyy h:mm";
        case 37:
            return "#,##0_);(#,##0)";
        case 38:
            return "#,##0_);[Red](#,##0)";
        case 39:
            return "#,##0.00_);(#,##0.00)";
        case 40:
            return "#,##0.00_);[Red](#,##0.00)";
        case 45:
            return "mm:ss";
        case 46:
            return "[h]:mm:ss";
        case 47:
            return "mm:ss.0";
        case 48:
            return "##0.0E+0";
        case 49:
            return "@";
        default:
            return std::nullopt;
    }
}

// A palette colour index of the file as a palette entry of the model (1..56), or none for
// the automatic and system colours. Indices 0 to 7 are fixed colours; they are taken as the
// first eight entries, which hold the same colours in the standard palette.
std::optional<int> PaletteEntry(std::uint16_t icv) {
    if (icv >= 8 && icv <= 63) return icv - kPaletteIcvOffset;
    if (icv <= 7) return icv + 1;
    return std::nullopt;
}

double DecodeRk(std::uint32_t rk) {
    double value = 0.0;
    if ((rk & 0x2u) != 0) {
        value = static_cast<double>(static_cast<std::int32_t>(rk) >> 2);
    } else {
        value = std::bit_cast<double>(static_cast<std::uint64_t>(rk & 0xFFFFFFFCu) << 32);
    }
    return (rk & 0x1u) != 0 ? value / 100.0 : value;
}

ErrorCode ErrorFromByte(std::uint8_t code) {
    for (const ErrorCode e : {ErrorCode::Null, ErrorCode::Div0, ErrorCode::Value, ErrorCode::Ref,
                              ErrorCode::Name, ErrorCode::Num, ErrorCode::NA})
        if (static_cast<std::uint8_t>(e) == code) return e;
    return ErrorCode::Value;
}

std::string Utf8(const std::u16string& s) {
    return Utf8FromUtf16(s);
}

struct RawXf {
    std::uint16_t font = 0;
    std::uint16_t numFmt = 0;
    bool style = false;
    bool locked = true;
    std::uint8_t align = 0;
    std::uint32_t border1 = 0;
    std::uint32_t border2 = 0;
    std::uint16_t colors = 0;
};

struct SheetEntry {
    std::uint32_t offset = 0;
    bool worksheet = false;
    std::string name;
    int model = -1;  // index of the model sheet
};

struct ExternSheet {
    std::uint16_t supBook = 0, first = 0, last = 0;
};

struct PrintArea {
    std::size_t entry = 0;  // BOUNDSHEET index
    RangeRef area;
};

class WorkbookReader {
  public:
    explicit WorkbookReader(std::span<const std::uint8_t> stream)
        : stream_(stream), globals_(stream, 0), memory_(stream.size()) {}
    Workbook Read();

  private:
    // One function per globals record; the table below says which record each one reads.
    using Handler = void (WorkbookReader::*)(const Record& r);
    struct Entry {
        std::uint16_t id;
        Handler read;
    };
    static const std::array<Entry, 10> kGlobals;

    void ReadGlobals();
    void ReadFilePass(const Record& r);
    void ReadFont(const Record& r);
    void ReadFormat(const Record& r);
    void ReadXf(const Record& r);
    void ReadPalette(const Record& r);
    void ReadBoundSheet(const Record& r);
    void ReadWindow1(const Record& r);
    void ReadExternSheet(const Record& r);
    void ReadName(const Record& r);
    void ReadSharedStrings(const Record& r);
    CellFormat ConvertXf(const RawXf& xf) const;
    int FormatOfXf(std::uint16_t xf);
    std::size_t ReadSheet(const SheetEntry& entry, std::size_t notBefore);

    std::span<const std::uint8_t> stream_;
    RecordReader globals_;
    Workbook book_;
    std::vector<Font> fonts_;
    std::map<std::uint16_t, std::string> numberFormats_;
    std::vector<RawXf> xfs_;
    std::vector<int> xfFormat_;  // model format of each XF, -1 until needed (style XFs)
    SharedStrings strings_;
    std::vector<SheetEntry> sheets_;
    std::vector<ExternSheet> externSheets_;
    std::vector<PrintArea> printAreas_;
    std::size_t activeEntry_ = 0;
    std::size_t globalsEnd_ = 0;
    std::size_t cells_ = 0;
    std::size_t textBytes_ = 0;
    std::size_t formulaBytes_ = 0;
    MemoryBudget memory_;
};

// ---- Globals ------------------------------------------------------------------------------

void WorkbookReader::ReadFont(const Record& r) {
    DataCursor c(r.data);
    Font font;
    font.size = c.U16() / 20.0;
    const std::uint16_t flags = c.U16();
    const std::uint16_t icv = c.U16();
    const std::uint16_t weight = c.U16();
    c.Skip(6);  // escapement, underline, family, character set, reserved
    font.name = Utf8(c.ShortString());
    font.italic = (flags & 0x0002) != 0;
    font.bold = weight >= 600;
    const auto entry = PaletteEntry(icv);
    font.colorIndex = entry ? *entry : kColorAutomatic;
    fonts_.push_back(std::move(font));
}

void WorkbookReader::ReadXf(const Record& r) {
    DataCursor c(r.data);
    RawXf xf;
    xf.font = c.U16();
    xf.numFmt = c.U16();
    const std::uint16_t protection = c.U16();
    xf.style = (protection & 0x0004) != 0;
    xf.locked = (protection & 0x0001) != 0;
    xf.align = c.U8();
    c.Skip(3);  // rotation, indent, attribute groups
    xf.border1 = c.U32();
    xf.border2 = c.U32();
    xf.colors = c.U16();
    xfs_.push_back(xf);
}

void WorkbookReader::ReadName(const Record& r) {
    DataCursor c(r.data);
    const std::uint16_t flags = c.U16();
    c.Skip(1);  // shortcut key
    const std::size_t nameLength = c.U8();
    const std::size_t formulaLength = c.U16();
    c.Skip(2);
    const std::uint16_t tab = c.U16();
    c.Skip(4);
    const bool wide = (c.U8() & 0x01) != 0;
    const std::u16string name = c.Chars(nameLength, wide);
    // Only the built-in print area (code 6) is taken; other names are not part of the model.
    if ((flags & 0x0020) == 0 || name.empty() || name[0] != 0x06 || formulaLength < 7) return;
    const std::uint8_t token = c.U8();
    const std::uint16_t ixti = c.U16();
    RangeRef area;
    if (token == 0x3B || token == 0x5B || token == 0x7B) {
        if (formulaLength < 11) return;
        const int r1 = c.U16(), r2 = c.U16(), c1 = c.U16() & 0xFF, c2 = c.U16() & 0xFF;
        area = RangeRef::Of({r1, c1}, {r2, c2});
    } else if (token == 0x3A || token == 0x5A || token == 0x7A) {
        const int row = c.U16(), col = c.U16() & 0xFF;
        area = RangeRef::Single({row, col});
    } else {
        return;  // a union of areas or a form the model does not hold
    }
    std::size_t entry = 0;
    if (tab >= 1) {
        entry = tab - 1u;
    } else if (ixti < externSheets_.size()) {
        entry = externSheets_[ixti].first;
    } else {
        return;
    }
    printAreas_.push_back({entry, area});
}

void WorkbookReader::ReadSharedStrings(const Record& r) {
    std::vector<std::span<const std::uint8_t>> segments{r.data};
    while (globals_.PeekId() == rec::kContinue) segments.push_back(globals_.Next()->data);
    DataCursor c(std::move(segments));
    c.Skip(4);  // total uses
    const std::uint32_t count = c.U32();
    // Each string takes at least three bytes; a larger count is damage, not a reason to
    // reserve memory.
    if (count > c.Remaining() / 3) ThrowDamaged("shared-string count");
    strings_.Reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) strings_.Add(Utf8(c.RichString()));
    memory_.Charge(strings_.Bytes());
}

void WorkbookReader::ReadFilePass(const Record&) {
    throw EngineError("the workbook is encrypted, which is not supported");
}

void WorkbookReader::ReadFormat(const Record& r) {
    DataCursor c(r.data);
    const std::uint16_t index = c.U16();
    numberFormats_[index] = Utf8(c.LongString());
}

void WorkbookReader::ReadPalette(const Record& r) {
    DataCursor c(r.data);
    const std::size_t count = std::min<std::size_t>(c.U16(), book_.palette.size());
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t red = c.U8(), green = c.U8(), blue = c.U8();
        c.Skip(1);
        book_.palette[i] = red + 256 * green + 65536 * blue;
    }
}

void WorkbookReader::ReadBoundSheet(const Record& r) {
    if (sheets_.size() >= kMaxSheets) throw EngineError("the workbook has too many sheets");
    DataCursor c(r.data);
    SheetEntry entry;
    entry.offset = c.U32();
    c.Skip(1);  // visibility
    entry.worksheet = c.U8() == 0;
    entry.name = Utf8(c.ShortString());
    sheets_.push_back(std::move(entry));
}

void WorkbookReader::ReadWindow1(const Record& r) {
    DataCursor c(r.data);
    c.Skip(10);
    activeEntry_ = c.U16();
}

void WorkbookReader::ReadExternSheet(const Record& r) {
    DataCursor c(r.data);
    const std::size_t count = std::min<std::size_t>(c.U16(), c.Remaining() / 6);
    for (std::size_t i = 0; i < count; ++i) {
        ExternSheet x;
        x.supBook = c.U16();
        x.first = c.U16();
        x.last = c.U16();
        externSheets_.push_back(x);
    }
}

// Records of the globals that are not listed are not part of the model.
const std::array<WorkbookReader::Entry, 10> WorkbookReader::kGlobals = {{
    {rec::kFilePass, &WorkbookReader::ReadFilePass},
    {rec::kFont, &WorkbookReader::ReadFont},
    {rec::kFormat, &WorkbookReader::ReadFormat},
    {rec::kXf, &WorkbookReader::ReadXf},
    {rec::kPalette, &WorkbookReader::ReadPalette},
    {rec::kBoundSheet, &WorkbookReader::ReadBoundSheet},
    {rec::kWindow1, &WorkbookReader::ReadWindow1},
    {rec::kExternSheet, &WorkbookReader::ReadExternSheet},
    {rec::kName, &WorkbookReader::ReadName},
    {rec::kSst, &WorkbookReader::ReadSharedStrings},
}};

void WorkbookReader::ReadGlobals() {
    const auto bof = globals_.Next();
    if (!bof || bof->id != rec::kBof || bof->data.size() < 4)
        throw EngineError("it is not an .xls workbook (no BIFF8 workbook stream)");
    DataCursor head(bof->data);
    const std::uint16_t version = head.U16();
    const std::uint16_t type = head.U16();
    if (version != kBiff8Version)
        throw EngineError("it is an .xls format older than BIFF8, which is not supported");
    if (type != kBofGlobals) ThrowDamaged("the workbook does not start with its globals");

    for (auto r = globals_.Next(); r; r = globals_.Next()) {
        if (r->id == rec::kEof) {
            globalsEnd_ = globals_.Offset();
            return;
        }
        for (const Entry& entry : kGlobals)
            if (entry.id == r->id) (this->*entry.read)(*r);
    }
    ThrowDamaged("the workbook globals end without EOF");
}

// ---- Formats ------------------------------------------------------------------------------

CellFormat WorkbookReader::ConvertXf(const RawXf& xf) const {
    CellFormat f;
    // Font index 4 does not exist: indices above it name record index - 1.
    if (xf.font == 4 || (xf.font < 4 ? xf.font : xf.font - 1u) >= fonts_.size())
        ThrowDamaged("a cell format names a missing font");
    f.font = fonts_[xf.font < 4 ? xf.font : xf.font - 1u];

    if (const auto it = numberFormats_.find(xf.numFmt); it != numberFormats_.end())
        f.numberFormat = it->second;
    else
        f.numberFormat = BuiltInFormat(xf.numFmt).value_or("General");

    switch (xf.align & 0x07) {
        case 1:
        case 5:
            f.hAlign = HAlign::Left;
            break;
        case 2:
        case 6:
        case 7:
            f.hAlign = HAlign::Center;
            break;
        case 3:
            f.hAlign = HAlign::Right;
            break;
        default:
            f.hAlign = HAlign::General;
            break;
    }
    f.wrap = (xf.align & 0x08) != 0;
    switch ((xf.align >> 4) & 0x07) {
        case 0:
            f.vAlign = VAlign::Top;
            break;
        case 2:
            f.vAlign = VAlign::Bottom;
            break;
        default:
            f.vAlign = VAlign::Center;
            break;
    }
    // Any line style is taken as the one line the model knows.
    auto line = [](std::uint32_t style) { return style != 0 ? LineStyle::Thin : LineStyle::None; };
    f.SetBorder(Edge::Left, line(xf.border1 & 0xF));
    f.SetBorder(Edge::Right, line((xf.border1 >> 4) & 0xF));
    f.SetBorder(Edge::Top, line((xf.border1 >> 8) & 0xF));
    f.SetBorder(Edge::Bottom, line((xf.border1 >> 12) & 0xF));
    // Any fill pattern is taken as a solid fill in its pattern colour.
    const std::uint32_t pattern = (xf.border2 >> 26) & 0x3F;
    const auto fore = PaletteEntry(xf.colors & 0x7F);
    f.fill = pattern != 0 && fore ? *fore : kNoFill;
    f.locked = xf.locked;
    return f;
}

int WorkbookReader::FormatOfXf(std::uint16_t xf) {
    if (xf >= xfs_.size()) ThrowDamaged("a cell names a missing cell format");
    int& format = xfFormat_[xf];
    if (format < 0) format = book_.AddFormat(ConvertXf(xfs_[xf]));
    return format;
}

// ---- Sheets -------------------------------------------------------------------------------

class SheetReader {
  public:
    SheetReader(std::span<const std::uint8_t> stream, std::size_t offset, Worksheet& sheet,
                std::function<int(std::uint16_t)> formatOfXf, const SharedStrings& strings,
                std::size_t& cells, std::size_t& textBytes, std::size_t& formulaBytes,
                MemoryBudget& memory)
        : reader_(stream, offset),
          sheet_(sheet),
          formatOfXf_(std::move(formatOfXf)),
          strings_(strings),
          cells_(cells),
          textBytes_(textBytes),
          formulaBytes_(formulaBytes),
          memory_(memory) {
        columnXf_.fill(-1);
    }

    // Reads up to the sheet's EOF; returns the stream offset after it.
    std::size_t Read();

  private:
    // One function per sheet record; the table below says which records each one reads.
    using Handler = void (SheetReader::*)(const Record& r);
    struct Entry {
        std::uint16_t id;
        Handler read;
    };
    static const std::array<Entry, 28> kRecords;

    Cell& Put(std::uint16_t row, std::uint16_t col, std::uint16_t xf);
    void SetText(Cell& cell, std::string text);
    void SkipSubstream(const Record& r);
    void ReadRow(const Record& r);
    void ReadColInfo(const Record& r);
    void ReadWsBool(const Record& r);
    void ReadMargin(const Record& r);
    void ReadCentring(const Record& r);
    void ReadSetup(const Record& r);
    void ReadSelection(const Record& r);
    void ReadMerges(const Record& r);
    void ReadLabelSst(const Record& r);
    void ReadLabel(const Record& r);
    void ReadNumber(const Record& r);
    void ReadRk(const Record& r);
    void ReadMulRk(const Record& r);
    void ReadBlank(const Record& r);
    void ReadMulBlank(const Record& r);
    void ReadBoolErr(const Record& r);
    void ReadFormula(const Record& r);
    void ReadString(const Record& r);
    void ReadProtect(const Record& r);
    void ReadCondFmt(const Record& r);
    void ReadCf(const Record& r);
    void ReadDv(const Record& r);
    void ApplyDefaultFormat();

    RecordReader reader_;
    Worksheet& sheet_;
    std::function<int(std::uint16_t)> formatOfXf_;
    const SharedStrings& strings_;
    std::size_t& cells_;
    std::size_t& textBytes_;
    std::size_t& formulaBytes_;
    MemoryBudget& memory_;
    std::array<int, kMaxColumns> columnXf_{};
    std::size_t merges_ = 0;
    // The cell whose formula has a text result that the next STRING record gives, and
    // whether that text is also its content (a formula the engine could not decode).
    std::optional<CellRef> pendingText_;
    bool pendingIsContent_ = false;
    bool haveSelection_ = false;
    // The areas of the last CONDFMT record and how many of its CF records are still to come.
    CondFmtHeader condFmt_;
    // The parsed trees already charged: the decoder hands the cells of a formula filled down
    // a column one shared tree, and only the first of them pays for it.
    std::unordered_set<const formula::Expr*> chargedTrees_;
};

Cell& SheetReader::Put(std::uint16_t row, std::uint16_t col, std::uint16_t xf) {
    if (col >= kMaxColumns) ThrowDamaged("a cell lies beyond the last column");
    const CellRef at{row, col};
    if (sheet_.Find(at) == nullptr) {
        if (++cells_ > kMaxCells) throw EngineError("the workbook has too many cells");
        memory_.Charge(kCellBytes);
    }
    const int format = formatOfXf_(xf);
    Cell& cell = sheet_.At(at);
    cell = Cell{};
    cell.format = format;
    return cell;
}

void SheetReader::SetText(Cell& cell, std::string text) {
    textBytes_ += text.size();
    if (textBytes_ > kMaxTextBytes) throw EngineError("the workbook holds too much text");
    memory_.Charge(HeapBytes(text));
    cell.content = std::move(text);
}

void SheetReader::ReadRow(const Record& r) {
    DataCursor c(r.data);
    const int row = c.U16();
    c.Skip(4);  // first and last column
    const std::uint16_t height = c.U16() & 0x7FFF;
    c.Skip(4);
    const std::uint16_t flags = c.U16();
    if ((flags & 0x0020) != 0) {
        sheet_.SetRowHeight(row, 0.0);  // hidden
    } else if ((flags & 0x0040) != 0) {
        sheet_.SetRowHeight(row, std::min(height / 20.0, kMaxRowPoints));
    }
}

void SheetReader::ReadColInfo(const Record& r) {
    DataCursor c(r.data);
    const int first = c.U16();
    // Some writers end the last range at 256, one past the last column.
    const int last = std::min<int>(c.U16(), kMaxColumns - 1);
    const std::uint16_t units = c.U16();
    const std::uint16_t xf = c.U16();
    const std::uint16_t flags = c.U16();
    if (first > last) ThrowDamaged("a column range is reversed or beyond the last column");
    const bool hidden = (flags & 0x0001) != 0;
    // A width of the user's, or one that differs from the default, is the column's own.
    const bool own = hidden || (flags & 0x0002) != 0 ||
                     units != ColumnWidthToUnits(Worksheet::kDefaultColumnWidth);
    for (int col = first; col <= last; ++col) {
        columnXf_[static_cast<std::size_t>(col)] = xf;
        if (own) sheet_.SetColumnWidth(col, hidden ? 0.0 : ColumnWidthFromUnits(units));
    }
}

void SheetReader::ReadSetup(const Record& r) {
    DataCursor c(r.data);
    PageSetup& page = sheet_.pageSetup;
    const std::uint16_t paper = c.U16();
    const std::uint16_t scale = c.U16();
    c.Skip(2);  // first page number
    const std::uint16_t fitWide = c.U16();
    const std::uint16_t fitTall = c.U16();
    const std::uint16_t flags = c.U16();
    c.Skip(4);  // resolutions
    const double header = c.F64();
    const double footer = c.F64();
    page.fitWide = fitWide;
    page.fitTall = fitTall;
    if (std::isfinite(header)) page.headerMargin = header;
    if (std::isfinite(footer)) page.footerMargin = footer;
    page.printComments = (flags & 0x0020) != 0;
    if ((flags & 0x0004) == 0) {  // paper, scale and orientation are valid
        page.paperSize = paper;
        page.zoom = std::clamp<int>(scale, 10, 400);
        if ((flags & 0x0040) == 0) page.portrait = (flags & 0x0002) != 0;
    }
}

void SheetReader::ReadFormula(const Record& r) {
    DataCursor c(r.data);
    const std::uint16_t row = c.U16(), col = c.U16(), xf = c.U16();
    std::array<std::uint8_t, 8> result{};
    for (auto& b : result) b = c.U8();
    c.Skip(6);  // flags, reserved
    const std::size_t length = c.U16();
    if (length > c.Remaining()) ThrowDamaged("formula tokens run past their record");
    std::vector<std::uint8_t> tokens(length);
    for (auto& b : tokens) b = c.U8();

    Cell& cell = Put(row, col, xf);
    const CellRef at{row, col};
    bool textResult = false;
    Value stored;  // the result the file stores
    if (result[6] == 0xFF && result[7] == 0xFF) {
        switch (result[0]) {
            case 0:
                textResult = true;
                break;
            case 1:
                stored = result[2] != 0;
                break;
            case 2:
                stored = ErrorFromByte(result[2]);
                break;
            default:
                break;  // an empty result
        }
    } else {
        std::uint64_t bits = 0;
        for (int i = 7; i >= 0; --i) bits = (bits << 8) | result[static_cast<std::size_t>(i)];
        const double value = std::bit_cast<double>(bits);
        if (!std::isfinite(value)) ThrowDamaged("a formula's result is not finite");
        stored = value;
    }

    formulaBytes_ += length;
    if (formulaBytes_ > kMaxFormulaBytes) throw EngineError("the workbook has too many formulas");
    bool decoded = true;
    try {
        cell.content = DecodeBiff8(tokens, at);
        cell.SetCached(std::move(stored));
    } catch (const EngineError&) {
        // Tokens the engine does not know (shared formulas, other functions): the cell
        // keeps the value that the file stores for it.
        decoded = false;
        if (const auto* number = std::get_if<double>(&stored))
            cell.content = *number;
        else if (const auto* b = std::get_if<bool>(&stored))
            SetText(cell, *b ? "TRUE" : "FALSE");
        else if (const auto* e = std::get_if<ErrorCode>(&stored))
            SetText(cell, ErrorText(*e));
    }
    if (const Formula* formula = cell.AsFormula()) {
        if (chargedTrees_.insert(formula->Tree().get()).second) {
            // A bound on the table, not an eviction order: a tree seen again after a clear is
            // charged again, which errs on the safe side.
            if (chargedTrees_.size() > kMaxSharedFormulas)
                chargedTrees_.clear();
            else
                memory_.Charge(kSharedFormulaEntryBytes);
            memory_.Charge(FormulaBytes(*formula));
        } else {
            memory_.Charge(HeapBytes(formula->R1C1()));
        }
    }
    pendingText_.reset();
    if (textResult) {
        pendingText_ = at;
        pendingIsContent_ = !decoded;
    }
}

void SheetReader::ReadSelection(const Record& r) {
    DataCursor c(r.data);
    const std::uint8_t pane = c.U8();
    // Panes other than the single one (3) belong to split windows; the first selection is
    // taken unless the single pane has one.
    if (haveSelection_ && pane != 3) return;
    const int row = c.U16(), col = c.U16();
    const std::size_t active = c.U16();
    const std::size_t count = c.U16();
    if (col >= kMaxColumns) ThrowDamaged("the active cell lies beyond the last column");
    sheet_.activeCell = {row, col};
    sheet_.selection = RangeRef::Single(sheet_.activeCell);
    for (std::size_t i = 0; i < count && c.Remaining() >= 6; ++i) {
        const int r1 = c.U16(), r2 = c.U16(), c1 = c.U8(), c2 = c.U8();
        if (i == active) sheet_.selection = RangeRef::Of({r1, c1}, {r2, c2});
    }
    haveSelection_ = pane == 3 || haveSelection_;
}

void SheetReader::ReadMerges(const Record& r) {
    DataCursor c(r.data);
    const std::size_t count = c.U16();
    for (std::size_t i = 0; i < count; ++i) {
        const int r1 = c.U16(), r2 = c.U16(), c1 = c.U16(), c2 = c.U16();
        if (r1 > r2 || c1 > c2 || c2 >= kMaxColumns) ThrowDamaged("a merged area is invalid");
        if (++merges_ > kMaxMergesPerSheet) throw EngineError("a sheet has too many merged areas");
        sheet_.Merge(RangeRef{{r1, c1}, {r2, c2}});
    }
}

void SheetReader::SkipSubstream(const Record&) {
    // An embedded substream (a chart on the sheet) ends at its own EOF; it may nest.
    int depth = 1;
    while (depth > 0) {
        const auto r = reader_.Next();
        if (!r) ThrowDamaged("an embedded substream ends without EOF");
        if (r->id == rec::kBof) ++depth;
        if (r->id == rec::kEof) --depth;
    }
}

void SheetReader::ApplyDefaultFormat() {
    // The sheet's default format is the format most of its columns carry (the first such
    // column decides a tie); columns without a COLINFO record have the standard format.
    std::map<int, std::pair<int, int>> votes;  // format -> (count, -first column)
    for (int col = 0; col < kMaxColumns; ++col) {
        const int xf = columnXf_[static_cast<std::size_t>(col)];
        const int format = xf < 0 ? 0 : formatOfXf_(static_cast<std::uint16_t>(xf));
        auto [it, inserted] = votes.try_emplace(format, 0, -col);
        ++it->second.first;
    }
    const auto best =
        std::max_element(votes.begin(), votes.end(),
                         [](const auto& a, const auto& b) { return a.second < b.second; });
    sheet_.SetDefaultFormat(best->first);
}

void SheetReader::ReadWsBool(const Record& r) {
    DataCursor c(r.data);
    sheet_.pageSetup.fitToPages = (c.U16() & 0x0100) != 0;
}

void SheetReader::ReadMargin(const Record& r) {
    DataCursor c(r.data);
    const double inches = c.F64();
    if (!std::isfinite(inches)) return;
    PageSetup& p = sheet_.pageSetup;
    (r.id == rec::kLeftMargin    ? p.leftMargin
     : r.id == rec::kRightMargin ? p.rightMargin
     : r.id == rec::kTopMargin   ? p.topMargin
                                 : p.bottomMargin) = inches;
}

void SheetReader::ReadCentring(const Record& r) {
    DataCursor c(r.data);
    (r.id == rec::kHCenter ? sheet_.pageSetup.centerHorizontally
                           : sheet_.pageSetup.centerVertically) = c.U16() != 0;
}

void SheetReader::ReadLabelSst(const Record& r) {
    DataCursor c(r.data);
    const std::uint16_t row = c.U16(), col = c.U16(), xf = c.U16();
    const std::uint32_t index = c.U32();
    if (index >= strings_.Size()) ThrowDamaged("a cell names a missing shared text");
    SetText(Put(row, col, xf), strings_.At(index));
}

void SheetReader::ReadLabel(const Record& r) {
    DataCursor c(r.data);
    const std::uint16_t row = c.U16(), col = c.U16(), xf = c.U16();
    std::string text = Utf8(c.LongString());  // formatting runs are not kept
    SetText(Put(row, col, xf), std::move(text));
}

void SheetReader::ReadNumber(const Record& r) {
    DataCursor c(r.data);
    const std::uint16_t row = c.U16(), col = c.U16(), xf = c.U16();
    const double value = c.F64();
    if (!std::isfinite(value)) ThrowDamaged("a number is not finite");
    Put(row, col, xf).content = value;
}

void SheetReader::ReadRk(const Record& r) {
    DataCursor c(r.data);
    const std::uint16_t row = c.U16(), col = c.U16(), xf = c.U16();
    Put(row, col, xf).content = DecodeRk(c.U32());
}

void SheetReader::ReadMulRk(const Record& r) {
    DataCursor c(r.data);
    const std::uint16_t row = c.U16(), first = c.U16();
    if (r.data.size() < 6 || (r.data.size() - 6) % 6 != 0) ThrowDamaged("MULRK length");
    const std::size_t count = (r.data.size() - 6) / 6;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint16_t xf = c.U16();
        const double value = DecodeRk(c.U32());
        Put(row, static_cast<std::uint16_t>(first + i), xf).content = value;
    }
}

void SheetReader::ReadBlank(const Record& r) {
    DataCursor c(r.data);
    const std::uint16_t row = c.U16(), col = c.U16(), xf = c.U16();
    Put(row, col, xf);
}

void SheetReader::ReadMulBlank(const Record& r) {
    DataCursor c(r.data);
    const std::uint16_t row = c.U16(), first = c.U16();
    if (r.data.size() < 6 || r.data.size() % 2 != 0) ThrowDamaged("MULBLANK length");
    const std::size_t count = (r.data.size() - 6) / 2;
    for (std::size_t i = 0; i < count; ++i)
        Put(row, static_cast<std::uint16_t>(first + i), c.U16());
}

void SheetReader::ReadBoolErr(const Record& r) {
    // The model has no logical or error constants; they are kept as their text.
    DataCursor c(r.data);
    const std::uint16_t row = c.U16(), col = c.U16(), xf = c.U16();
    const std::uint8_t value = c.U8();
    const bool isError = c.U8() != 0;
    SetText(Put(row, col, xf), isError      ? ErrorText(ErrorFromByte(value))
                               : value != 0 ? "TRUE"
                                            : "FALSE");
}

void SheetReader::ReadString(const Record& r) {
    if (!pendingText_) return;
    std::vector<std::span<const std::uint8_t>> segments{r.data};
    while (reader_.PeekId() == rec::kContinue) segments.push_back(reader_.Next()->data);
    DataCursor text(std::move(segments));
    Cell& cell = sheet_.At(*pendingText_);
    std::string value = Utf8(text.LongString());
    if (pendingIsContent_) {
        SetText(cell, std::move(value));
    } else {
        textBytes_ += value.size();
        if (textBytes_ > kMaxTextBytes) throw EngineError("the workbook holds too much text");
        memory_.Charge(HeapBytes(value));
        cell.SetCached(std::move(value));
    }
    pendingText_.reset();
}

void SheetReader::ReadProtect(const Record& r) {
    sheet_.isProtected = DataCursor(r.data).U16() != 0;
}

void SheetReader::ReadCondFmt(const Record& r) {
    condFmt_ = xls::ReadCondFmt(r);
    memory_.Charge(condFmt_.areas.size() * sizeof(RangeRef));
}

void SheetReader::ReadCf(const Record& r) {
    if (condFmt_.rules == 0) return;  // a CF record without its CONDFMT
    --condFmt_.rules;
    if (auto rule = xls::ReadCf(r, condFmt_.areas)) {
        memory_.Charge(sizeof(ConditionalFormat) + rule->areas.size() * sizeof(RangeRef));
        sheet_.conditionalFormats.push_back(std::move(*rule));
    }
}

void SheetReader::ReadDv(const Record& r) {
    if (auto rule = xls::ReadDv(r)) {
        memory_.Charge(sizeof(DataValidation) + rule->areas.size() * sizeof(RangeRef) +
                       rule->inputMessage.size() + rule->errorMessage.size());
        sheet_.validations.push_back(std::move(*rule));
    }
}

// Records of a sheet that are not listed are not part of the model.
// clang-format off
const std::array<SheetReader::Entry, 28> SheetReader::kRecords = {{
    {rec::kBof, &SheetReader::SkipSubstream},      {rec::kRow, &SheetReader::ReadRow},
    {rec::kColInfo, &SheetReader::ReadColInfo},    {rec::kWsBool, &SheetReader::ReadWsBool},
    {rec::kLeftMargin, &SheetReader::ReadMargin},  {rec::kRightMargin, &SheetReader::ReadMargin},
    {rec::kTopMargin, &SheetReader::ReadMargin},   {rec::kBottomMargin, &SheetReader::ReadMargin},
    {rec::kSetup, &SheetReader::ReadSetup},        {rec::kSelection, &SheetReader::ReadSelection},
    {rec::kMergedCells, &SheetReader::ReadMerges}, {rec::kLabelSst, &SheetReader::ReadLabelSst},
    {rec::kLabel, &SheetReader::ReadLabel},        {rec::kRString, &SheetReader::ReadLabel},
    {rec::kNumber, &SheetReader::ReadNumber},      {rec::kRk, &SheetReader::ReadRk},
    {rec::kMulRk, &SheetReader::ReadMulRk},        {rec::kBlank, &SheetReader::ReadBlank},
    {rec::kMulBlank, &SheetReader::ReadMulBlank},  {rec::kBoolErr, &SheetReader::ReadBoolErr},
    {rec::kFormula, &SheetReader::ReadFormula},    {rec::kString, &SheetReader::ReadString},
    {rec::kHCenter, &SheetReader::ReadCentring},   {rec::kVCenter, &SheetReader::ReadCentring},
    {rec::kProtect, &SheetReader::ReadProtect},    {rec::kCondFmt, &SheetReader::ReadCondFmt},
    {rec::kCf, &SheetReader::ReadCf},              {rec::kDv, &SheetReader::ReadDv},
}};
// clang-format on

std::size_t SheetReader::Read() {
    const auto bof = reader_.Next();
    if (!bof || bof->id != rec::kBof) ThrowDamaged("a sheet does not start with BOF");
    DataCursor head(bof->data);
    if (head.U16() != kBiff8Version || head.U16() != kBofWorksheet)
        ThrowDamaged("a sheet is not a BIFF8 worksheet");

    for (auto r = reader_.Next(); r; r = reader_.Next()) {
        if (r->id == rec::kEof) {
            ApplyDefaultFormat();
            return reader_.Offset();
        }
        // The text result of a formula follows it, possibly after the formula's shared or
        // array part.
        if (r->id != rec::kString && r->id != rec::kContinue && r->id != kShrFmla &&
            r->id != kArray && r->id != kTable)
            pendingText_.reset();
        for (const Entry& entry : kRecords)
            if (entry.id == r->id) (this->*entry.read)(*r);
    }
    ThrowDamaged("a sheet ends without EOF");
}

// ---- Workbook -----------------------------------------------------------------------------

std::size_t WorkbookReader::ReadSheet(const SheetEntry& entry, std::size_t notBefore) {
    if (entry.offset < notBefore) ThrowDamaged("sheets overlap in the workbook stream");
    Worksheet& sheet = *book_.Sheets()[static_cast<std::size_t>(entry.model)];
    SheetReader reader(
        stream_, entry.offset, sheet, [this](std::uint16_t xf) { return FormatOfXf(xf); }, strings_,
        cells_, textBytes_, formulaBytes_, memory_);
    return reader.Read();
}

Workbook WorkbookReader::Read() {
    ReadGlobals();
    if (xfs_.empty()) ThrowDamaged("the workbook has no cell formats");
    // Cell formats become model formats in file order, so that reading and writing again
    // numbers them the same way; style formats only when a cell uses one.
    xfFormat_.assign(xfs_.size(), -1);
    for (std::size_t i = 0; i < xfs_.size(); ++i)
        if (!xfs_[i].style) FormatOfXf(static_cast<std::uint16_t>(i));

    for (SheetEntry& entry : sheets_) {
        if (!entry.worksheet) continue;
        entry.model = static_cast<int>(book_.Sheets().size());
        try {
            book_.AddSheet(entry.name);
        } catch (const EngineError&) {
            ThrowDamaged("a sheet has an invalid name");
        }
    }
    if (book_.Sheets().empty()) throw EngineError("the workbook has no worksheet");

    // Sheets are read in stream order and may not overlap, so every byte is read once.
    std::vector<const SheetEntry*> order;
    for (const SheetEntry& entry : sheets_)
        if (entry.worksheet) order.push_back(&entry);
    std::sort(order.begin(), order.end(),
              [](const SheetEntry* a, const SheetEntry* b) { return a->offset < b->offset; });
    std::size_t end = globalsEnd_;
    for (const SheetEntry* entry : order) end = ReadSheet(*entry, end);

    for (const PrintArea& p : printAreas_) {
        if (p.entry >= sheets_.size() || sheets_[p.entry].model < 0) continue;
        if (p.area.last.row >= kMaxRows || p.area.last.col >= kMaxColumns) continue;
        book_.Sheets()[static_cast<std::size_t>(sheets_[p.entry].model)]->printArea = p.area;
    }
    book_.activeSheet = activeEntry_ < sheets_.size() && sheets_[activeEntry_].model >= 0
                            ? sheets_[activeEntry_].model
                            : 0;
    return std::move(book_);
}

}  // namespace

Workbook ReadWorkbookStream(std::span<const std::uint8_t> stream) {
    return WorkbookReader(stream).Read();
}

}  // namespace xls

Workbook xls::LoadXls(const std::string& path) {
    const std::vector<std::uint8_t> file = ReadWholeFile(path, kMaxFileBytes);
    try {
        std::vector<std::uint8_t> summary;
        const std::vector<std::uint8_t> stream = xls::UnpackCompoundFile(file, &summary);
        Workbook book = xls::ReadWorkbookStream(stream);
        book.title = xls::ReadSummaryTitle(summary).value_or("");
        return book;
    } catch (const EngineError& e) {
        throw EngineError("Cannot open \"" + path + "\": " + e.what());
    } catch (const std::exception& e) {
        // Anything else from a damaged file (an index the checks missed) is reported the
        // same way rather than escaping as a different kind of failure.
        throw EngineError("Cannot open \"" + path + "\": the file is damaged (" + e.what() + ")");
    }
}

}  // namespace quill::spreadsheet
