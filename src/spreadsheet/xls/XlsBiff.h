// Low-level pieces of the .xls (BIFF8) workbook stream shared by the writer and the reader:
// record identifiers, a record writer and a bounded record reader, BIFF8 strings and the
// unit conversions between the workbook model and the file.
//
// The records are written and read by hand: no library packaged for this system writes
// BIFF8 workbooks from C++, and the engine needs only a small, fixed set of records.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "spreadsheet/core/TextCodec.h"
#include "spreadsheet/core/Workbook.h"

namespace quill::spreadsheet::xls {

// Record identifiers.
namespace rec {
inline constexpr std::uint16_t kFormula = 0x0006;
inline constexpr std::uint16_t kEof = 0x000A;
inline constexpr std::uint16_t kCalcCount = 0x000C;
inline constexpr std::uint16_t kCalcMode = 0x000D;
inline constexpr std::uint16_t kPrecision = 0x000E;
inline constexpr std::uint16_t kRefMode = 0x000F;
inline constexpr std::uint16_t kDelta = 0x0010;
inline constexpr std::uint16_t kIteration = 0x0011;
inline constexpr std::uint16_t kProtect = 0x0012;
inline constexpr std::uint16_t kPassword = 0x0013;
inline constexpr std::uint16_t kHeader = 0x0014;
inline constexpr std::uint16_t kFooter = 0x0015;
inline constexpr std::uint16_t kExternSheet = 0x0017;
inline constexpr std::uint16_t kName = 0x0018;
inline constexpr std::uint16_t kWindowProtect = 0x0019;
inline constexpr std::uint16_t kSelection = 0x001D;
inline constexpr std::uint16_t kDateMode = 0x0022;
inline constexpr std::uint16_t kLeftMargin = 0x0026;
inline constexpr std::uint16_t kRightMargin = 0x0027;
inline constexpr std::uint16_t kTopMargin = 0x0028;
inline constexpr std::uint16_t kBottomMargin = 0x0029;
inline constexpr std::uint16_t kPrintHeaders = 0x002A;
inline constexpr std::uint16_t kPrintGridlines = 0x002B;
inline constexpr std::uint16_t kFilePass = 0x002F;
inline constexpr std::uint16_t kFont = 0x0031;
inline constexpr std::uint16_t kContinue = 0x003C;
inline constexpr std::uint16_t kWindow1 = 0x003D;
inline constexpr std::uint16_t kBackup = 0x0040;
inline constexpr std::uint16_t kCodePage = 0x0042;
inline constexpr std::uint16_t kDefColWidth = 0x0055;
inline constexpr std::uint16_t kSaveRecalc = 0x005F;
inline constexpr std::uint16_t kObjProtect = 0x0063;
inline constexpr std::uint16_t kColInfo = 0x007D;
inline constexpr std::uint16_t kGuts = 0x0080;
inline constexpr std::uint16_t kWsBool = 0x0081;
inline constexpr std::uint16_t kGridSet = 0x0082;
inline constexpr std::uint16_t kHCenter = 0x0083;
inline constexpr std::uint16_t kVCenter = 0x0084;
inline constexpr std::uint16_t kBoundSheet = 0x0085;
inline constexpr std::uint16_t kCountry = 0x008C;
inline constexpr std::uint16_t kHideObj = 0x008D;
inline constexpr std::uint16_t kPalette = 0x0092;
inline constexpr std::uint16_t kSetup = 0x00A1;
inline constexpr std::uint16_t kMulRk = 0x00BD;
inline constexpr std::uint16_t kMulBlank = 0x00BE;
inline constexpr std::uint16_t kRString = 0x00D6;
inline constexpr std::uint16_t kBookBool = 0x00DA;
inline constexpr std::uint16_t kScenProtect = 0x00DD;
inline constexpr std::uint16_t kXf = 0x00E0;
inline constexpr std::uint16_t kMergedCells = 0x00E5;
inline constexpr std::uint16_t kSst = 0x00FC;
inline constexpr std::uint16_t kLabelSst = 0x00FD;
inline constexpr std::uint16_t kExtSst = 0x00FF;
inline constexpr std::uint16_t kUsesElfs = 0x0160;
inline constexpr std::uint16_t kSupBook = 0x01AE;
inline constexpr std::uint16_t kCondFmt = 0x01B0;
inline constexpr std::uint16_t kCf = 0x01B1;
inline constexpr std::uint16_t kDval = 0x01B2;
inline constexpr std::uint16_t kDv = 0x01BE;
inline constexpr std::uint16_t kDimensions = 0x0200;
inline constexpr std::uint16_t kBlank = 0x0201;
inline constexpr std::uint16_t kNumber = 0x0203;
inline constexpr std::uint16_t kLabel = 0x0204;
inline constexpr std::uint16_t kBoolErr = 0x0205;
inline constexpr std::uint16_t kString = 0x0207;
inline constexpr std::uint16_t kRow = 0x0208;
inline constexpr std::uint16_t kDefaultRowHeight = 0x0225;
inline constexpr std::uint16_t kWindow2 = 0x023E;
inline constexpr std::uint16_t kRk = 0x027E;
inline constexpr std::uint16_t kStyle = 0x0293;
inline constexpr std::uint16_t kFormat = 0x041E;
inline constexpr std::uint16_t kBof = 0x0809;
}  // namespace rec

// The data of one record is at most this long; longer data goes on in CONTINUE records.
inline constexpr std::size_t kMaxRecordData = 8224;
// A FORMULA record holds its cell (6), result (8), flags (2), reserved (4) and token length
// (2) besides its tokens, and may not continue into another record.
inline constexpr std::size_t kFormulaRecordFixedBytes = 22;
inline constexpr std::size_t kMaxFormulaTokenBytes = kMaxRecordData - kFormulaRecordFixedBytes;
// A string with an 8-bit count (a font name, a number format code, a text in a formula)
// holds at most this many UTF-16 units.
inline constexpr std::size_t kMaxShortStringChars = 255;

// BOF substream types.
inline constexpr std::uint16_t kBofGlobals = 0x0005;
inline constexpr std::uint16_t kBofWorksheet = 0x0010;
inline constexpr std::uint16_t kBiff8Version = 0x0600;

// XFs 0 to 14 are the style XFs every workbook carries; cell format i of the model is XF 15 + i.
inline constexpr int kStyleXfCount = 15;
// Number formats the file defines itself are numbered from here; 0 is "General".
inline constexpr int kFirstCustomFormat = 164;
// Colour index meaning "the automatic colour" in FONT records, and the system colours.
inline constexpr std::uint16_t kIcvFontAuto = 0x7FFF;
inline constexpr std::uint16_t kIcvAuto = 64;
inline constexpr std::uint16_t kIcvWindowBack = 65;
// Palette entry n (1..56) is colour index n + 7 in the file.
inline constexpr int kPaletteIcvOffset = 7;

// Column width in characters (as the object model shows it) to COLINFO units (1/256 of a
// character, padding included) and back. Width 0 is a hidden column.
std::uint16_t ColumnWidthToUnits(double characters);
double ColumnWidthFromUnits(std::uint16_t units);

// ---- Text -------------------------------------------------------------------------------

// A text as BIFF8 stores it: one byte per character when every character fits in 8 bits
// ("compressed"), two bytes otherwise.
struct BiffString {
    std::u16string units;
    bool wide = false;

    explicit BiffString(std::u16string u);
    static BiffString FromUtf8(std::string_view text) { return BiffString(Utf16FromUtf8(text)); }
    std::size_t CharBytes() const { return wide ? 2 : 1; }
    std::size_t DataBytes() const { return units.size() * CharBytes(); }
};

// ---- Writing ----------------------------------------------------------------------------

// Builds a stream of records in memory. Begin() starts a record, the Put functions append
// little-endian data and End() fills in the length; a record longer than the limit is a
// programming error and throws.
class RecordWriter {
  public:
    void Begin(std::uint16_t id);
    void End();

    RecordWriter& U8(std::uint8_t v);
    RecordWriter& U16(std::uint16_t v);
    RecordWriter& U32(std::uint32_t v);
    RecordWriter& F64(double v);
    RecordWriter& Bytes(std::span<const std::uint8_t> bytes);
    RecordWriter& Zeros(std::size_t count);
    // Characters only (no count, no flags byte).
    RecordWriter& Chars(const BiffString& s, std::size_t first, std::size_t count);
    // ShortXLUnicodeString (8-bit count) and XLUnicodeString (16-bit count).
    RecordWriter& ShortString(const BiffString& s);
    RecordWriter& LongString(const BiffString& s);

    // Whole records of one value.
    void Record16(std::uint16_t id, std::uint16_t value);
    void RecordF64(std::uint16_t id, double value);
    void Empty(std::uint16_t id);

    // Offsets count from the start of the stream, including bytes handed on already.
    std::size_t Size() const { return handedOn_ + bytes_.size(); }
    // Bytes the open record can still take.
    std::size_t Room() const;
    // Offset of the open record's header.
    std::size_t RecordStart() const { return handedOn_ + start_; }
    // Overwrites four bytes that have not been handed on yet.
    void PatchU32(std::size_t at, std::uint32_t v);
    // The bytes not handed on yet: the whole stream when no sink is set.
    std::vector<std::uint8_t>& Data() { return bytes_; }

    // Streams the bytes to `sink` instead of keeping them all: once HandOnFromNowOn() has
    // been called (no earlier byte will be patched any more), the gathered bytes are handed
    // on between records whenever there are `chunk` of them. Finish() hands on the rest.
    using Sink = std::function<void(std::span<const std::uint8_t>)>;
    void SetSink(Sink sink, std::size_t chunk);
    void HandOnFromNowOn();
    void Finish();

  private:
    void HandOn();

    std::vector<std::uint8_t> bytes_;
    std::size_t start_ = 0;  // in bytes_
    bool open_ = false;
    Sink sink_;
    std::size_t chunk_ = 0;
    bool mayHandOn_ = false;
    std::size_t handedOn_ = 0;
};

// Writes one logical record whose data may exceed the limit: the first part under its own
// identifier, the rest in CONTINUE records. Character data split across parts repeats its
// flags byte at the start of the next part, as BIFF8 requires; headers are kept whole, and
// so is every character: the two UTF-16 units of a character beyond U+FFFF (an emoji) are
// never split between parts.
class ContinuedRecord {
  public:
    ContinuedRecord(RecordWriter& out, std::uint16_t id) : out_(out) { out_.Begin(id); }
    ContinuedRecord(const ContinuedRecord&) = delete;
    ContinuedRecord& operator=(const ContinuedRecord&) = delete;

    // Starts a CONTINUE record unless `bytes` still fit in the current part.
    void KeepTogether(std::size_t bytes);
    // The characters of `s`, split across parts where needed, never inside a character.
    void Chars(const BiffString& s);
    // The bytes of the first character of `s` (two units for a surrogate pair), none when
    // `s` is empty: what a string's header keeps with it.
    static std::size_t FirstCharBytes(const BiffString& s);
    // True when units[at] and units[at + 1] are the two halves of one character.
    static bool StartsPair(std::u16string_view units, std::size_t at);
    void Finish() { out_.End(); }
    RecordWriter& Out() { return out_; }

  private:
    RecordWriter& out_;
};

// ---- Reading ----------------------------------------------------------------------------

// One record of a stream: identifier, data and the stream offset of its header.
struct Record {
    std::uint16_t id = 0;
    std::span<const std::uint8_t> data;
    std::size_t offset = 0;
};

// Walks the records of a stream from an offset. Every length is checked against the
// stream, so a damaged stream throws EngineError instead of reading past its end.
class RecordReader {
  public:
    RecordReader(std::span<const std::uint8_t> stream, std::size_t offset);
    // The next record, or none at the end of the stream.
    std::optional<Record> Next();
    // The identifier of the next record without consuming it (0xFFFFFFFF at the end).
    std::uint32_t PeekId() const;
    std::size_t Offset() const { return pos_; }

  private:
    std::span<const std::uint8_t> stream_;
    std::size_t pos_;
};

// A bounds-checked cursor over record data that may be split across CONTINUE records
// (one segment per record). Reading past the end throws EngineError.
class DataCursor {
  public:
    explicit DataCursor(std::span<const std::uint8_t> data)
        : segments_{data}, total_(data.size()) {}
    explicit DataCursor(std::vector<std::span<const std::uint8_t>> segments);

    std::uint8_t U8();
    std::uint16_t U16();
    std::uint32_t U32();
    double F64();
    void Skip(std::size_t count);
    std::size_t Remaining() const { return total_ - before_ - pos_; }  // in all segments
    // `count` characters, BIFF8-compressed or not; when the characters go on in the next
    // segment, that segment starts with a new flags byte.
    std::u16string Chars(std::size_t count, bool wide);
    // XLUnicodeString (16-bit count) and ShortXLUnicodeString (8-bit count).
    std::u16string LongString();
    std::u16string ShortString();
    // XLUnicodeRichExtendedString of the shared-string table; formatting runs and
    // phonetic data are skipped.
    std::u16string RichString();

  private:
    void NextSegmentIfDone();
    void Advance();  // to the start of the next segment

    std::vector<std::span<const std::uint8_t>> segments_;
    std::size_t total_ = 0;   // bytes in all segments
    std::size_t before_ = 0;  // bytes in the segments before the current one
    std::size_t segment_ = 0;
    std::size_t pos_ = 0;
};

// The damaged-file failure, naming what was wrong.
[[noreturn]] void ThrowDamaged(const std::string& what);

}  // namespace quill::spreadsheet::xls
