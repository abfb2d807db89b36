#include "spreadsheet/xls/PropertySets.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "spreadsheet/core/TextCodec.h"

namespace quill::spreadsheet::xls {
namespace {

// Format identifiers of the two sections, in file byte order.
constexpr std::uint8_t kSummaryFormatId[16] = {0xE0, 0x85, 0x9F, 0xF2, 0xF9, 0x4F, 0x68, 0x10,
                                               0xAB, 0x91, 0x08, 0x00, 0x2B, 0x27, 0xB3, 0xD9};
constexpr std::uint8_t kDocumentSummaryFormatId[16] = {
    0x02, 0xD5, 0xCD, 0xD5, 0x9C, 0x2E, 0x1B, 0x10, 0x93, 0x97, 0x08, 0x00, 0x2B, 0x2C, 0xF9, 0xAE};

// Property identifiers and value types used here.
constexpr std::uint32_t kPidCodePage = 0x01;
constexpr std::uint32_t kPidTitle = 0x02;
constexpr std::uint32_t kPidCreated = 0x0C;
constexpr std::uint32_t kPidSaved = 0x0D;
constexpr std::uint32_t kPidApplication = 0x12;
constexpr std::uint16_t kVtI2 = 0x0002;
constexpr std::uint16_t kVtLpstr = 0x001E;
constexpr std::uint16_t kVtFiletime = 0x0040;

// The header is 28 bytes, then one format identifier and offset: the section starts at 48.
constexpr std::uint32_t kSectionOffset = 48;

void PutU16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    PutU16(out, static_cast<std::uint16_t>(v));
    PutU16(out, static_cast<std::uint16_t>(v >> 16));
}
void PutU32At(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void Pad4(std::vector<std::uint8_t>& out) {
    while (out.size() % 4 != 0) out.push_back(0);
}

// UTF-8 to code page 1252 bytes, decoded by the engine's one codec (broken UTF-8 becomes
// U+FFFD there): code points up to U+00FF other than the C1 controls map to themselves
// (1252 and Latin-1 agree there); anything else becomes '?'.
std::string ToCodePage1252(const std::string& utf8) {
    std::string out;
    for (const char16_t unit : Utf16FromUtf8(utf8))
        out += unit != 0 && unit <= 0xFF && (unit < 0x80 || unit >= 0xA0) ? static_cast<char>(unit)
                                                                          : '?';
    return out;
}

// Code page 1252 bytes to UTF-8; the bytes 0x80 to 0x9F, which 1252 gives other meanings
// than Latin-1, become '?'.
std::string FromCodePage1252(std::string_view bytes) {
    std::string out;
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80) {
            out += ch;
        } else if (b < 0xA0) {
            out += '?';
        } else {
            out += static_cast<char>(0xC0 | (b >> 6));
            out += static_cast<char>(0x80 | (b & 0x3F));
        }
    }
    return out;
}

struct Property {
    std::uint32_t id;
    std::vector<std::uint8_t> value;  // type, padding and value, padded to four bytes
};

Property CodePage() {
    std::vector<std::uint8_t> v;
    PutU16(v, kVtI2);
    PutU16(v, 0);
    PutU16(v, kPropertyCodePage);
    Pad4(v);
    return {kPidCodePage, v};
}

Property Text(std::uint32_t id, const std::string& utf8) {
    const std::string bytes = ToCodePage1252(utf8);
    std::vector<std::uint8_t> v;
    PutU16(v, kVtLpstr);
    PutU16(v, 0);
    PutU32(v, static_cast<std::uint32_t>(bytes.size() + 1));  // with its terminating zero
    v.insert(v.end(), bytes.begin(), bytes.end());
    v.push_back(0);
    Pad4(v);
    return {id, v};
}

Property Time(std::uint32_t id, std::int64_t unixSeconds) {
    const std::uint64_t t = FileTimeOf(unixSeconds);
    std::vector<std::uint8_t> v;
    PutU16(v, kVtFiletime);
    PutU16(v, 0);
    PutU32(v, static_cast<std::uint32_t>(t));
    PutU32(v, static_cast<std::uint32_t>(t >> 32));
    return {id, v};
}

// A property-set stream of one section; the properties are in increasing identifier order.
std::vector<std::uint8_t> PropertySet(const std::uint8_t (&formatId)[16],
                                      const std::vector<Property>& properties) {
    std::vector<std::uint8_t> out;
    PutU16(out, 0xFFFE);           // byte order
    PutU16(out, 0);                // version
    PutU32(out, 0x00020006);       // the system that wrote it: Windows NT family, as office writes
    out.insert(out.end(), 16, 0);  // class identifier: none
    PutU32(out, 1);                // one section
    out.insert(out.end(), formatId, formatId + 16);
    PutU32(out, kSectionOffset);

    const std::size_t section = out.size();
    PutU32(out, 0);  // section size, filled in below
    PutU32(out, static_cast<std::uint32_t>(properties.size()));
    const std::size_t table = out.size();
    out.resize(out.size() + 8 * properties.size());
    for (std::size_t i = 0; i < properties.size(); ++i) {
        PutU32At(out, table + 8 * i, properties[i].id);
        PutU32At(out, table + 8 * i + 4, static_cast<std::uint32_t>(out.size() - section));
        out.insert(out.end(), properties[i].value.begin(), properties[i].value.end());
    }
    PutU32At(out, section, static_cast<std::uint32_t>(out.size() - section));
    return out;
}

std::uint32_t U32(std::span<const std::uint8_t> d, std::size_t at) {
    return static_cast<std::uint32_t>(d[at] | (d[at + 1] << 8) | (d[at + 2] << 16)) |
           (static_cast<std::uint32_t>(d[at + 3]) << 24);
}
std::uint16_t U16(std::span<const std::uint8_t> d, std::size_t at) {
    return static_cast<std::uint16_t>(d[at] | (d[at + 1] << 8));
}

}  // namespace

std::uint64_t FileTimeOf(std::int64_t unixSeconds) {
    constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600;
    const std::int64_t seconds = std::max<std::int64_t>(unixSeconds + kSecondsFrom1601To1970, 0);
    return static_cast<std::uint64_t>(seconds) * 10'000'000u;
}

std::vector<std::uint8_t> WriteSummaryInformation(const DocumentSummary& summary) {
    return PropertySet(
        kSummaryFormatId,
        {CodePage(), Text(kPidTitle, summary.title), Time(kPidCreated, summary.created),
         Time(kPidSaved, summary.saved), Text(kPidApplication, summary.application)});
}

std::vector<std::uint8_t> WriteDocumentSummaryInformation() {
    return PropertySet(kDocumentSummaryFormatId, {CodePage()});
}

std::optional<std::string> ReadSummaryTitle(std::span<const std::uint8_t> d) {
    if (d.size() < kSectionOffset || U16(d, 0) != 0xFFFE) return std::nullopt;
    const std::uint32_t sections = U32(d, 24);
    // Find the summary section among at most a few; each needs 20 bytes of the header.
    for (std::uint32_t s = 0; s < sections && s < 16 && 28 + 20 * (s + 1) <= d.size(); ++s) {
        const std::size_t entry = 28 + 20 * s;
        if (std::memcmp(d.data() + entry, kSummaryFormatId, 16) != 0) continue;
        const std::size_t section = U32(d, entry + 16);
        if (section > d.size() || d.size() - section < 8) return std::nullopt;
        const std::size_t size = std::min<std::size_t>(U32(d, section), d.size() - section);
        const std::uint32_t count = U32(d, section + 4);
        if (size < 8 || count > (size - 8) / 8) return std::nullopt;
        std::uint16_t codePage = kPropertyCodePage;
        std::optional<std::span<const std::uint8_t>> title;
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint32_t id = U32(d, section + 8 + 8 * i);
            const std::size_t offset = U32(d, section + 12 + 8 * i);
            if (offset > size || size - offset < 8) continue;
            const std::size_t at = section + offset;
            const std::uint16_t type = U16(d, at);
            if (id == kPidCodePage && type == kVtI2) codePage = U16(d, at + 4);
            if (id != kPidTitle || type != kVtLpstr) continue;
            const std::size_t length = U32(d, at + 4);
            if (length > size - offset - 8) return std::nullopt;
            title = d.subspan(at + 8, length);
        }
        if (!title) return std::nullopt;
        std::span<const std::uint8_t> bytes = *title;
        if (codePage == 1200) {
            // UTF-16 texts; only the characters of the Latin-1 range are kept.
            std::string latin;
            for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
                const std::uint16_t unit = U16(bytes, i);
                if (unit == 0) break;
                latin += unit <= 0xFF ? static_cast<char>(unit) : '?';
            }
            return FromCodePage1252(latin);
        }
        std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        text = text.substr(0, text.find('\0'));
        // A UTF-8 title keeps what code page 1252 can hold, as it would be written again.
        if (codePage == 65001) return FromCodePage1252(ToCodePage1252(std::string(text)));
        return FromCodePage1252(text);
    }
    return std::nullopt;
}

}  // namespace quill::spreadsheet::xls
