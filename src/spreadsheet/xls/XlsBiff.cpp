#include "spreadsheet/xls/XlsBiff.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

namespace quill::spreadsheet::xls {

// ---- Units ------------------------------------------------------------------------------

std::uint16_t ColumnWidthToUnits(double characters) {
    if (!(characters > 0.0)) return 0;
    // Characters plus the padding, in 1/256 of a digit, truncated as the file format does;
    // the small allowance keeps a width read back from a file at exactly its stored units.
    const double units = std::floor(
        (characters * kDigitPixels + kColumnPaddingPixels) / kDigitPixels * 256.0 + 1e-6);
    return static_cast<std::uint16_t>(std::clamp(units, 1.0, 65535.0));
}

double ColumnWidthFromUnits(std::uint16_t units) {
    if (units == 0) return 0.0;
    const double characters = units / 256.0 - kColumnPaddingPixels / kDigitPixels;
    return std::clamp(characters, 0.0, kMaxColumnCharacters);
}

BiffString::BiffString(std::u16string u) : units(std::move(u)) {
    wide = std::any_of(units.begin(), units.end(), [](char16_t c) { return c > 0xFF; });
}

// ---- RecordWriter -----------------------------------------------------------------------

void RecordWriter::Begin(std::uint16_t id) {
    if (open_) throw EngineError("Internal error: a BIFF record was not closed");
    if (mayHandOn_ && bytes_.size() >= chunk_) HandOn();
    start_ = bytes_.size();
    open_ = true;
    U16(id);
    U16(0);
}

void RecordWriter::End() {
    const std::size_t length = bytes_.size() - start_ - 4;
    if (!open_ || length > kMaxRecordData)
        throw EngineError("Internal error: a BIFF record is too long");
    bytes_[start_ + 2] = static_cast<std::uint8_t>(length & 0xFF);
    bytes_[start_ + 3] = static_cast<std::uint8_t>(length >> 8);
    open_ = false;
}

std::size_t RecordWriter::Room() const {
    const std::size_t used = bytes_.size() - start_ - 4;
    return used >= kMaxRecordData ? 0 : kMaxRecordData - used;
}

RecordWriter& RecordWriter::U8(std::uint8_t v) {
    bytes_.push_back(v);
    return *this;
}

RecordWriter& RecordWriter::U16(std::uint16_t v) {
    bytes_.push_back(static_cast<std::uint8_t>(v & 0xFF));
    bytes_.push_back(static_cast<std::uint8_t>(v >> 8));
    return *this;
}

RecordWriter& RecordWriter::U32(std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8)
        bytes_.push_back(static_cast<std::uint8_t>((v >> shift) & 0xFF));
    return *this;
}

RecordWriter& RecordWriter::F64(double v) {
    const auto bits = std::bit_cast<std::uint64_t>(v);
    for (int shift = 0; shift < 64; shift += 8)
        bytes_.push_back(static_cast<std::uint8_t>((bits >> shift) & 0xFF));
    return *this;
}

RecordWriter& RecordWriter::Bytes(std::span<const std::uint8_t> bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
}

RecordWriter& RecordWriter::Zeros(std::size_t count) {
    bytes_.insert(bytes_.end(), count, 0);
    return *this;
}

RecordWriter& RecordWriter::Chars(const BiffString& s, std::size_t first, std::size_t count) {
    for (std::size_t i = first; i < first + count; ++i) {
        const char16_t c = s.units[i];
        bytes_.push_back(static_cast<std::uint8_t>(c & 0xFF));
        if (s.wide) bytes_.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return *this;
}

RecordWriter& RecordWriter::ShortString(const BiffString& s) {
    if (s.units.size() > 0xFF) throw EngineError("Internal error: a short text is too long");
    U8(static_cast<std::uint8_t>(s.units.size()));
    U8(s.wide ? 1 : 0);
    return Chars(s, 0, s.units.size());
}

RecordWriter& RecordWriter::LongString(const BiffString& s) {
    if (s.units.size() > 0xFFFF) throw EngineError("Internal error: a text is too long");
    U16(static_cast<std::uint16_t>(s.units.size()));
    U8(s.wide ? 1 : 0);
    return Chars(s, 0, s.units.size());
}

void RecordWriter::Record16(std::uint16_t id, std::uint16_t value) {
    Begin(id);
    U16(value);
    End();
}

void RecordWriter::RecordF64(std::uint16_t id, double value) {
    Begin(id);
    F64(value);
    End();
}

void RecordWriter::Empty(std::uint16_t id) {
    Begin(id);
    End();
}

void RecordWriter::PatchU32(std::size_t at, std::uint32_t v) {
    if (at < handedOn_) throw EngineError("Internal error: a BIFF patch after the bytes left");
    for (int i = 0; i < 4; ++i)
        bytes_.at(at - handedOn_ + i) = static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF);
}

void RecordWriter::SetSink(Sink sink, std::size_t chunk) {
    sink_ = std::move(sink);
    chunk_ = chunk;
}

void RecordWriter::HandOnFromNowOn() {
    mayHandOn_ = static_cast<bool>(sink_);
}

void RecordWriter::Finish() {
    if (open_) throw EngineError("Internal error: a BIFF record was not closed");
    if (sink_) HandOn();
}

void RecordWriter::HandOn() {
    if (bytes_.empty()) return;
    sink_(bytes_);
    handedOn_ += bytes_.size();
    bytes_.clear();  // keeps its capacity for the next chunk
}

// ---- ContinuedRecord --------------------------------------------------------------------

void ContinuedRecord::KeepTogether(std::size_t bytes) {
    if (out_.Room() < bytes) {
        out_.End();
        out_.Begin(rec::kContinue);
    }
}

std::size_t ContinuedRecord::FirstCharBytes(const BiffString& s) {
    if (s.units.empty()) return 0;
    return (StartsPair(s.units, 0) ? 2 : 1) * s.CharBytes();
}

bool ContinuedRecord::StartsPair(std::u16string_view units, std::size_t at) {
    return at + 1 < units.size() && units[at] >= 0xD800 && units[at] <= 0xDBFF &&
           units[at + 1] >= 0xDC00 && units[at + 1] <= 0xDFFF;
}

void ContinuedRecord::Chars(const BiffString& s) {
    std::size_t done = 0;
    const std::size_t total = s.units.size();
    while (done < total) {
        std::size_t n = std::min(out_.Room() / s.CharBytes(), total - done);
        // A character beyond U+FFFF is two UTF-16 units, which stay in one record: readers
        // that decode each record's characters on their own cannot join a split pair.
        if (n > 0 && n < total - done && StartsPair(s.units, done + n - 1)) --n;
        if (n == 0) {
            // The characters go on in a CONTINUE record that repeats the flags byte.
            out_.End();
            out_.Begin(rec::kContinue);
            out_.U8(s.wide ? 1 : 0);
            continue;
        }
        out_.Chars(s, done, n);
        done += n;
    }
}

// ---- Reading ----------------------------------------------------------------------------

void ThrowDamaged(const std::string& what) {
    throw EngineError("the file is damaged (" + what + ")");
}

RecordReader::RecordReader(std::span<const std::uint8_t> stream, std::size_t offset)
    : stream_(stream), pos_(offset) {
    if (offset > stream.size()) ThrowDamaged("a sheet starts beyond the end of the workbook");
}

std::optional<Record> RecordReader::Next() {
    if (pos_ == stream_.size()) return std::nullopt;
    if (stream_.size() - pos_ < 4)
        ThrowDamaged("truncated record at offset " + std::to_string(pos_));
    const std::uint16_t id = static_cast<std::uint16_t>(stream_[pos_] | (stream_[pos_ + 1] << 8));
    const std::size_t length =
        static_cast<std::size_t>(stream_[pos_ + 2] | (stream_[pos_ + 3] << 8));
    if (stream_.size() - pos_ - 4 < length)
        ThrowDamaged("record at offset " + std::to_string(pos_) + " runs past the end");
    Record r{id, stream_.subspan(pos_ + 4, length), pos_};
    pos_ += 4 + length;
    return r;
}

std::uint32_t RecordReader::PeekId() const {
    if (stream_.size() - pos_ < 4) return 0xFFFFFFFF;
    return static_cast<std::uint32_t>(stream_[pos_] | (stream_[pos_ + 1] << 8));
}

DataCursor::DataCursor(std::vector<std::span<const std::uint8_t>> segments)
    : segments_(std::move(segments)) {
    for (const auto& s : segments_) total_ += s.size();
}

void DataCursor::Advance() {
    before_ += segments_[segment_].size();
    ++segment_;
    pos_ = 0;
}

void DataCursor::NextSegmentIfDone() {
    while (segment_ < segments_.size() && pos_ == segments_[segment_].size()) Advance();
}

std::uint8_t DataCursor::U8() {
    NextSegmentIfDone();
    if (segment_ >= segments_.size()) ThrowDamaged("a record is too short");
    return segments_[segment_][pos_++];
}

std::uint16_t DataCursor::U16() {
    const std::uint16_t lo = U8();
    return static_cast<std::uint16_t>(lo | (U8() << 8));
}

std::uint32_t DataCursor::U32() {
    const std::uint32_t lo = U16();
    return lo | (static_cast<std::uint32_t>(U16()) << 16);
}

double DataCursor::F64() {
    const std::uint64_t lo = U32();
    return std::bit_cast<double>(lo | (static_cast<std::uint64_t>(U32()) << 32));
}

void DataCursor::Skip(std::size_t count) {
    if (count > Remaining()) ThrowDamaged("a record is too short");
    while (count > 0) {
        NextSegmentIfDone();
        const std::size_t n = std::min(count, segments_[segment_].size() - pos_);
        pos_ += n;
        count -= n;
    }
}

std::u16string DataCursor::Chars(std::size_t count, bool wide) {
    std::u16string out;
    // Every character takes at least one byte, so a damaged count cannot make this grow
    // beyond the data that is really there.
    out.reserve(std::min(count, Remaining()));
    while (out.size() < count) {
        if (segment_ < segments_.size() && pos_ == segments_[segment_].size()) {
            // The characters go on in the next CONTINUE record, after a new flags byte.
            Advance();
            if (segment_ >= segments_.size() || segments_[segment_].empty())
                ThrowDamaged("a text runs past the end of its record");
            wide = (segments_[segment_][pos_++] & 0x01) != 0;
        }
        if (segment_ >= segments_.size()) ThrowDamaged("a text runs past the end of its record");
        const auto seg = segments_[segment_];
        const std::size_t charBytes = wide ? 2 : 1;
        const std::size_t fit = (seg.size() - pos_) / charBytes;
        if (fit == 0) ThrowDamaged("a text is cut inside a character");
        const std::size_t n = std::min(fit, count - out.size());
        for (std::size_t i = 0; i < n; ++i) {
            char16_t c = seg[pos_];
            if (wide) c = static_cast<char16_t>(c | (seg[pos_ + 1] << 8));
            out.push_back(c);
            pos_ += charBytes;
        }
    }
    return out;
}

std::u16string DataCursor::LongString() {
    const std::size_t count = U16();
    const bool wide = (U8() & 0x01) != 0;
    return Chars(count, wide);
}

std::u16string DataCursor::ShortString() {
    const std::size_t count = U8();
    const bool wide = (U8() & 0x01) != 0;
    return Chars(count, wide);
}

std::u16string DataCursor::RichString() {
    const std::size_t count = U16();
    const std::uint8_t flags = U8();
    const bool wide = (flags & 0x01) != 0;
    const std::size_t runs = (flags & 0x08) != 0 ? U16() : 0;
    const std::size_t extra = (flags & 0x04) != 0 ? U32() : 0;
    std::u16string text = Chars(count, wide);
    Skip(runs * 4);
    Skip(extra);
    return text;
}

}  // namespace quill::spreadsheet::xls
