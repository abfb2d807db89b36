#include "spreadsheet/xls/SheetRules.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <string>

#include "spreadsheet/core/TextCodec.h"

namespace quill::spreadsheet::xls {

namespace {

// Formula tokens of a number constant, and the negation that may follow one.
constexpr std::uint8_t kPtgUminus = 0x13;
constexpr std::uint8_t kPtgInt = 0x1E;
constexpr std::uint8_t kPtgNum = 0x1F;

// CF: the rule compares the cell's value (1); a formula rule (2) is not part of the model.
constexpr std::uint8_t kCfCellValue = 1;

// The formatting flags of a CF record (a DXFN). Each of bits 0 to 21 says that one attribute
// is left as the cell has it; bits 26 and 29 say that a font block and a pattern block
// follow. The pattern style and its two colours are bits 16 to 18.
constexpr std::uint32_t kDxfKeepAll = 0x003FFFFF;
constexpr std::uint32_t kDxfPatternKept = 0x00070000;
constexpr std::uint32_t kDxfNumberBlock = 1u << 25;
constexpr std::uint32_t kDxfFontBlock = 1u << 26;
constexpr std::uint32_t kDxfAlignBlock = 1u << 27;
constexpr std::uint32_t kDxfBorderBlock = 1u << 28;
constexpr std::uint32_t kDxfPatternBlock = 1u << 29;
constexpr std::uint32_t kDxfProtectionBlock = 1u << 30;
constexpr std::uint32_t kDxfPatternBackKept = 1u << 18;
// The two bytes after the flags: a number format by index, and the font block initialised
// as a spreadsheet program writes it.
constexpr std::uint16_t kDxfFlags2 = 0x8002;
constexpr std::size_t kFontBlockBytes = 118;
constexpr std::size_t kAlignBlockBytes = 8;
constexpr std::size_t kBorderBlockBytes = 8;
constexpr std::size_t kProtectionBlockBytes = 2;
// In the font block: the colour, and whether style, escapement, underline and weight are
// kept (1) as the cell has them.
constexpr std::size_t kFontColorOffset = 80;
constexpr std::uint32_t kFontStyleKept = 0x9A;
constexpr std::uint16_t kSolidPattern = 1;
constexpr std::uint32_t kNoColor = 0xFFFFFFFF;

// DV flags: the type (bits 0-3), the alert style (4-6), blanks allowed (8), the prompt and
// the error box shown (18, 19) and the operator (20-23).
constexpr std::uint32_t kDvIgnoreBlank = 1u << 8;
constexpr std::uint32_t kDvShowInput = 1u << 18;
constexpr std::uint32_t kDvShowError = 1u << 19;
// DVAL: no drop-down object on the sheet.
constexpr std::uint32_t kNoObject = 0xFFFFFFFF;

// A Ref8U area takes eight bytes; the header of a CONDFMT record fourteen.
constexpr std::size_t kAreaBytes = 8;

std::uint16_t Icv(int paletteEntry) {
    return static_cast<std::uint16_t>(paletteEntry + kPaletteIcvOffset);
}

std::optional<int> PaletteEntryOf(std::uint32_t icv) {
    if (icv >= 8 && icv <= 63) return static_cast<int>(icv) - kPaletteIcvOffset;
    if (icv <= 7) return static_cast<int>(icv) + 1;
    return std::nullopt;
}

bool InPalette(int entry) {
    return entry >= 1 && entry <= kPaletteSize;
}

void CheckAreas(const std::vector<RangeRef>& areas, const Worksheet& sheet, const char* what,
                std::size_t room) {
    if (areas.empty())
        throw EngineError(std::string(what) + " of sheet " + sheet.Name() + " has no cells");
    if (areas.size() * kAreaBytes > room)
        throw EngineError(std::string(what) + " of sheet " + sheet.Name() +
                          " has too many areas to save");
    for (const RangeRef& a : areas)
        if (a.first.row < 0 || a.first.col < 0 || a.last.row >= kMaxRows ||
            a.last.col >= kMaxColumns || a.first.row > a.last.row || a.first.col > a.last.col)
            throw EngineError(std::string(what) + " of sheet " + sheet.Name() +
                              " lies outside the sheet");
}

void WriteArea(RecordWriter& w, const RangeRef& a) {
    w.U16(static_cast<std::uint16_t>(a.first.row)).U16(static_cast<std::uint16_t>(a.last.row));
    w.U16(static_cast<std::uint16_t>(a.first.col)).U16(static_cast<std::uint16_t>(a.last.col));
}

// The tokens of a number: a whole number up to 65535 as an integer, any other as a double.
std::vector<std::uint8_t> NumberTokens(double value) {
    if (value >= 0 && value <= 65535 && value == std::trunc(value)) {
        const auto whole = static_cast<std::uint16_t>(value);
        return {kPtgInt, static_cast<std::uint8_t>(whole & 0xFF),
                static_cast<std::uint8_t>(whole >> 8)};
    }
    std::vector<std::uint8_t> tokens{kPtgNum};
    const auto bits = std::bit_cast<std::uint64_t>(value);
    for (int i = 0; i < 8; ++i) tokens.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
    return tokens;
}

bool TakesTwo(Comparison op) {
    return op == Comparison::Between || op == Comparison::NotBetween;
}

// A number from formula tokens: a constant, possibly negated; none for anything else.
std::optional<double> NumberOf(DataCursor& c, std::size_t length) {
    if (length > c.Remaining()) ThrowDamaged("formula tokens run past their record");
    if (length == 0) return std::nullopt;
    const std::uint8_t ptg = c.U8();
    double value = 0;
    std::size_t used = 1;
    if (ptg == kPtgInt && length >= 3) {
        value = c.U16();
        used = 3;
    } else if (ptg == kPtgNum && length >= 9) {
        value = c.F64();
        used = 9;
    } else {
        c.Skip(length - 1);
        return std::nullopt;
    }
    if (used < length) {
        const std::uint8_t next = c.U8();
        c.Skip(length - used - 1);
        if (next != kPtgUminus || used + 1 != length) return std::nullopt;
        value = -value;
    }
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

std::vector<RangeRef> ReadAreas(DataCursor& c) {
    const std::size_t count = c.U16();
    if (count * kAreaBytes > c.Remaining()) ThrowDamaged("a list of areas runs past its record");
    std::vector<RangeRef> areas;
    areas.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const int firstRow = c.U16(), lastRow = c.U16(), firstCol = c.U16(), lastCol = c.U16();
        // Areas beyond the sheet's columns or turned inside out are left out.
        if (firstRow > lastRow || firstCol > lastCol || lastCol >= kMaxColumns) continue;
        areas.push_back({{firstRow, firstCol}, {lastRow, lastCol}});
    }
    return areas;
}

// A text of a DV record: an empty one is stored as a single NUL character.
void WriteDvText(RecordWriter& w, const std::string& text, std::size_t limit, const char* what) {
    BiffString s = BiffString::FromUtf8(text);
    if (s.units.size() > limit)
        throw EngineError(std::string("The ") + what + " of a validation is longer than " +
                          std::to_string(limit) + " characters");
    if (s.units.empty()) s.units.push_back(u'\0');
    w.LongString(s);
}

std::string ReadDvText(DataCursor& c) {
    std::u16string text = c.LongString();
    if (text == std::u16string(1, u'\0')) text.clear();
    return Utf8FromUtf16(text);
}

}  // namespace

void WriteProtection(RecordWriter& w, const Worksheet& sheet) {
    if (!sheet.isProtected) return;
    // Cells, scenarios and objects protected, without a password.
    w.Record16(rec::kProtect, 1);
    w.Record16(rec::kScenProtect, 1);
    w.Record16(rec::kObjProtect, 1);
    w.Record16(rec::kPassword, 0);
}

void WriteConditionalFormats(RecordWriter& w, const Worksheet& sheet) {
    for (const ConditionalFormat& rule : sheet.conditionalFormats) {
        CheckAreas(rule.areas, sheet, "A conditional format", kMaxRecordData - 14);
        RangeRef bound = rule.areas.front();
        for (const RangeRef& a : rule.areas) {
            bound.first = {std::min(bound.first.row, a.first.row),
                           std::min(bound.first.col, a.first.col)};
            bound.last = {std::max(bound.last.row, a.last.row),
                          std::max(bound.last.col, a.last.col)};
        }
        w.Begin(rec::kCondFmt);
        w.U16(1);  // one rule
        w.U16(1);  // recalculated when the file is opened
        WriteArea(w, bound);
        w.U16(static_cast<std::uint16_t>(rule.areas.size()));
        for (const RangeRef& a : rule.areas) WriteArea(w, a);
        w.End();

        const bool font = InPalette(rule.fontColor);
        const bool fill = InPalette(rule.fill);
        const std::vector<std::uint8_t> first = NumberTokens(rule.first);
        const std::vector<std::uint8_t> second =
            TakesTwo(rule.op) ? NumberTokens(rule.second) : std::vector<std::uint8_t>{};
        std::uint32_t flags = kDxfKeepAll;
        if (font) flags |= kDxfFontBlock;
        if (fill) flags = (flags & ~kDxfPatternKept) | kDxfPatternBlock;
        w.Begin(rec::kCf);
        w.U8(kCfCellValue).U8(static_cast<std::uint8_t>(static_cast<int>(rule.op) + 1));
        w.U16(static_cast<std::uint16_t>(first.size()))
            .U16(static_cast<std::uint16_t>(second.size()));
        w.U32(flags).U16(kDxfFlags2);
        if (font) {
            w.Zeros(64);       // no font name
            w.U32(kNoColor);   // the cell's font height
            w.U32(0);          // not italic, not struck out (both kept, below)
            w.U16(0).U16(0);   // weight, escapement (kept)
            w.U8(0).Zeros(3);  // underline (kept)
            w.U32(Icv(rule.fontColor));
            w.U32(0);
            w.U32(kFontStyleKept);
            w.U32(1).U32(1).U32(1);  // escapement, underline and weight kept
            w.U32(1).U32(0).U32(0x7FFFFFFF).U16(1);
        }
        if (fill) {
            // A solid fill: spreadsheet programs take its colour from the background colour,
            // some from the pattern colour, so both name it.
            w.U16(static_cast<std::uint16_t>(kSolidPattern << 10));
            w.U16(static_cast<std::uint16_t>(Icv(rule.fill) | (Icv(rule.fill) << 7)));
        }
        w.Bytes(first).Bytes(second);
        w.End();
    }
}

void WriteValidations(RecordWriter& w, const Worksheet& sheet) {
    if (sheet.validations.empty()) return;
    w.Begin(rec::kDval);
    w.U16(0);          // the prompt window is open
    w.U32(0).U32(0);   // and has no position of its own
    w.U32(kNoObject);  // no drop-down list
    w.U32(static_cast<std::uint32_t>(sheet.validations.size()));
    w.End();
    for (const DataValidation& rule : sheet.validations) {
        // Texts and numbers take at most about 1,100 bytes; the areas get the rest.
        CheckAreas(rule.areas, sheet, "A validation", kMaxRecordData - 1200);
        const std::uint32_t flags =
            static_cast<std::uint32_t>(rule.type) | static_cast<std::uint32_t>(rule.alert) << 4 |
            (rule.ignoreBlank ? kDvIgnoreBlank : 0) | (rule.showInput ? kDvShowInput : 0) |
            (rule.showError ? kDvShowError : 0) | static_cast<std::uint32_t>(rule.op) << 20;
        w.Begin(rec::kDv);
        w.U32(flags);
        WriteDvText(w, rule.inputTitle, kMaxValidationTitle, "input title");
        WriteDvText(w, rule.errorTitle, kMaxValidationTitle, "error title");
        WriteDvText(w, rule.inputMessage, kMaxValidationInput, "input message");
        WriteDvText(w, rule.errorMessage, kMaxValidationError, "error message");
        const std::vector<std::uint8_t> first = NumberTokens(rule.first);
        const std::vector<std::uint8_t> second =
            TakesTwo(rule.op) ? NumberTokens(rule.second) : std::vector<std::uint8_t>{};
        w.U16(static_cast<std::uint16_t>(first.size())).U16(0).Bytes(first);
        w.U16(static_cast<std::uint16_t>(second.size())).U16(0).Bytes(second);
        w.U16(static_cast<std::uint16_t>(rule.areas.size()));
        for (const RangeRef& a : rule.areas) WriteArea(w, a);
        w.End();
    }
}

CondFmtHeader ReadCondFmt(const Record& r) {
    DataCursor c(r.data);
    CondFmtHeader header;
    header.rules = c.U16();
    c.Skip(2 + kAreaBytes);  // flags and the bounding area
    header.areas = ReadAreas(c);
    return header;
}

std::optional<ConditionalFormat> ReadCf(const Record& r, const std::vector<RangeRef>& areas) {
    DataCursor c(r.data);
    const std::uint8_t type = c.U8();
    const std::uint8_t op = c.U8();
    const std::size_t length1 = c.U16(), length2 = c.U16();
    const std::uint32_t flags = c.U32();
    const std::uint16_t flags2 = c.U16();
    if (type != kCfCellValue || op < 1 || op > 8 || areas.empty()) return std::nullopt;
    ConditionalFormat rule;
    rule.areas = areas;
    rule.op = static_cast<Comparison>(op - 1);
    if ((flags & kDxfNumberBlock) != 0) {
        // A number format by index (two bytes) or a format text with its own length.
        if ((flags2 & 0x0001) != 0) {
            const std::size_t bytes = c.U16();
            if (bytes < 2) ThrowDamaged("a conditional format's number format is too short");
            c.Skip(bytes - 2);
        } else {
            c.Skip(2);
        }
    }
    if ((flags & kDxfFontBlock) != 0) {
        c.Skip(kFontColorOffset);
        const std::uint32_t icv = c.U32();
        c.Skip(kFontBlockBytes - kFontColorOffset - 4);
        if (const auto entry = PaletteEntryOf(icv)) rule.fontColor = *entry;
    }
    if ((flags & kDxfAlignBlock) != 0) c.Skip(kAlignBlockBytes);
    if ((flags & kDxfBorderBlock) != 0) c.Skip(kBorderBlockBytes);
    if ((flags & kDxfPatternBlock) != 0) {
        const std::uint16_t pattern = c.U16() >> 10;
        const std::uint16_t colors = c.U16();
        // A solid fill shows its background colour; the pattern colour stands in when only
        // that one is given.
        const bool backGiven = (flags & kDxfPatternBackKept) == 0;
        const std::uint16_t icv = backGiven ? (colors >> 7) & 0x7F : colors & 0x7F;
        if (pattern != 0 || backGiven)
            if (const auto entry = PaletteEntryOf(icv)) rule.fill = *entry;
    }
    if ((flags & kDxfProtectionBlock) != 0) c.Skip(kProtectionBlockBytes);
    const std::optional<double> first = NumberOf(c, length1);
    if (!first) return std::nullopt;
    rule.first = *first;
    if (TakesTwo(rule.op)) {
        const std::optional<double> second = NumberOf(c, length2);
        if (!second) return std::nullopt;
        rule.second = *second;
    }
    return rule;
}

std::optional<DataValidation> ReadDv(const Record& r) {
    DataCursor c(r.data);
    const std::uint32_t flags = c.U32();
    DataValidation rule;
    rule.inputTitle = ReadDvText(c);
    rule.errorTitle = ReadDvText(c);
    rule.inputMessage = ReadDvText(c);
    rule.errorMessage = ReadDvText(c);
    const std::size_t length1 = c.U16();
    c.Skip(2);
    const std::optional<double> first = NumberOf(c, length1);
    const std::size_t length2 = c.U16();
    c.Skip(2);
    const std::optional<double> second =
        length2 == 0 ? std::optional<double>(0.0) : NumberOf(c, length2);
    rule.areas = ReadAreas(c);

    const std::uint32_t type = flags & 0x0F;
    const std::uint32_t alert = (flags >> 4) & 0x07;
    const std::uint32_t op = (flags >> 20) & 0x0F;
    if (type != static_cast<std::uint32_t>(ValidationType::WholeNumber) &&
        type != static_cast<std::uint32_t>(ValidationType::Decimal))
        return std::nullopt;
    if (alert > 2 || op > 7 || !first || !second || rule.areas.empty()) return std::nullopt;
    rule.type = static_cast<ValidationType>(type);
    rule.alert = static_cast<ValidationAlert>(alert);
    rule.op = static_cast<Comparison>(op);
    if (TakesTwo(rule.op) && length2 == 0) return std::nullopt;
    rule.first = *first;
    rule.second = TakesTwo(rule.op) ? *second : 0.0;
    rule.ignoreBlank = (flags & kDvIgnoreBlank) != 0;
    rule.showInput = (flags & kDvShowInput) != 0;
    rule.showError = (flags & kDvShowError) != 0;
    return rule;
}

}  // namespace quill::spreadsheet::xls
