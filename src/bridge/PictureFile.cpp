#include "bridge/PictureFile.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <exception>
#include <utility>
#include <vector>

#include <QBuffer>
#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QIODevice>

#include "shell/Failure.h"
#include "shell/SafeReplace.h"
#include "spreadsheet/render/SheetRenderer.h"

namespace quill::bridge {

namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;
constexpr int kHeaderSize = kFileHeaderSize + kInfoHeaderSize;
constexpr std::int32_t kDefaultDotsPerMeter = 2834;          // 72 dpi, for pictures without one
constexpr qsizetype kBlockBytes = qsizetype{1} << 20;        // rows are moved about 1 MiB at a time
constexpr std::int64_t kBandPixels = std::int64_t{1} << 20;  // a sheet is drawn 4 MiB at a time

// Bytes of one row in the file: three a pixel, padded to a multiple of four.
qsizetype RowBytes(int width) {
    return ((qsizetype{width} * 24 + 31) / 32) * 4;
}

void Put16(unsigned char*& at, std::uint16_t value) {
    *at++ = static_cast<unsigned char>(value);
    *at++ = static_cast<unsigned char>(value >> 8);
}

void Put32(unsigned char*& at, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) *at++ = static_cast<unsigned char>(value >> shift);
}

std::uint16_t Get16(const unsigned char* at) {
    return static_cast<std::uint16_t>(at[0] | at[1] << 8);
}

std::uint32_t Get32(const unsigned char* at) {
    return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
           static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

// One row of RGB32 pixels as blue, green, red bytes. On a little-endian machine a pixel's
// low three bytes are already blue, green and red: four pixels (two 64-bit words) pack into
// twelve bytes.
void PackRow(const QRgb* from, int width, unsigned char* to) {
    int x = 0;
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t kLow = 0xFFFFFF, kHigh = kLow << 24;
        for (; x + 4 <= width; x += 4, to += 12) {
            std::uint64_t pixels[2];
            std::memcpy(pixels, from + x, sizeof pixels);
            const std::uint64_t first = (pixels[0] & kLow) | (pixels[0] >> 8 & kHigh);
            const std::uint64_t second = (pixels[1] & kLow) | (pixels[1] >> 8 & kHigh);
            const std::uint64_t head = first | second << 48;
            const auto tail = static_cast<std::uint32_t>(second >> 16);
            std::memcpy(to, &head, sizeof head);
            std::memcpy(to + 8, &tail, sizeof tail);
        }
    }
    for (; x < width; ++x) {
        *to++ = static_cast<unsigned char>(qBlue(from[x]));
        *to++ = static_cast<unsigned char>(qGreen(from[x]));
        *to++ = static_cast<unsigned char>(qRed(from[x]));
    }
}

// The reverse of PackRow, with every pixel opaque.
void UnpackRow(const unsigned char* from, int width, QRgb* to) {
    int x = 0;
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t kLow = 0xFFFFFF, kOpaque = 0xFF000000FF000000;
        for (; x + 4 <= width; x += 4, from += 12) {
            std::uint64_t head = 0;
            std::uint32_t tail = 0;
            std::memcpy(&head, from, sizeof head);
            std::memcpy(&tail, from + 8, sizeof tail);
            const std::uint64_t p0 = head & kLow, p1 = head >> 24 & kLow;
            const std::uint64_t p2 = head >> 48 | (std::uint64_t{tail} & 0xFF) << 16;
            const std::uint64_t p3 = tail >> 8;
            const std::uint64_t pixels[2] = {kOpaque | p0 | p1 << 32, kOpaque | p2 | p3 << 32};
            std::memcpy(to + x, pixels, sizeof pixels);
        }
    }
    for (; x < width; ++x, from += 3) to[x] = qRgb(from[2], from[1], from[0]);
}

// Rows per block: as many as fit into a block, at least one.
int RowsPerBlock(qsizetype rowBytes) {
    return static_cast<int>(std::max<qsizetype>(1, kBlockBytes / std::max<qsizetype>(rowBytes, 1)));
}

bool IsPng(const QString& path) {
    return path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive);
}

// Whether the sizes of a bitmap of that many pixels fit its header's 32-bit fields.
bool FitsBmp(int width, int height) {
    return qint64{RowBytes(width)} * height + kHeaderSize <= qint64{UINT32_MAX};
}

// The header of a 24-bit bitmap of width x height pixels, with the resolution of `like`
// (72 dpi when it has none).
bool WriteBmpHeader(int width, int height, const QImage& like, QIODevice& out) {
    const qint64 imageBytes = qint64{RowBytes(width)} * height;
    std::array<unsigned char, kHeaderSize> header{};
    unsigned char* at = header.data();
    *at++ = 'B';
    *at++ = 'M';
    Put32(at, static_cast<std::uint32_t>(kHeaderSize + imageBytes));
    Put32(at, 0);  // two reserved words
    Put32(at, kHeaderSize);
    Put32(at, kInfoHeaderSize);
    Put32(at, static_cast<std::uint32_t>(width));
    Put32(at, static_cast<std::uint32_t>(height));
    Put16(at, 1);   // planes
    Put16(at, 24);  // bits a pixel
    Put32(at, 0);   // no compression
    Put32(at, static_cast<std::uint32_t>(imageBytes));
    const int dpmX = like.dotsPerMeterX();
    const int dpmY = like.dotsPerMeterY();
    Put32(at, static_cast<std::uint32_t>(dpmX != 0 ? dpmX : kDefaultDotsPerMeter));
    Put32(at, static_cast<std::uint32_t>(dpmY != 0 ? dpmY : kDefaultDotsPerMeter));
    Put32(at, 0);  // no colour table
    Put32(at, 0);
    return out.write(reinterpret_cast<const char*>(header.data()), kHeaderSize) == kHeaderSize;
}

// The rows of an RGB32 image as a bitmap stores them, the bottom row first.
bool WriteBmpRows(const QImage& rows, QIODevice& out) {
    const int width = rows.width();
    const int height = rows.height();
    const qsizetype rowBytes = RowBytes(width);
    const int perBlock = RowsPerBlock(rowBytes);
    // Zeroed once: the padding at the end of each row stays zero.
    std::vector<unsigned char> block(
        static_cast<std::size_t>(rowBytes * std::max(1, std::min(perBlock, height))), 0);
    for (int done = 0; done < height;) {
        const int count = std::min(perBlock, height - done);
        for (int i = 0; i < count; ++i)
            PackRow(reinterpret_cast<const QRgb*>(rows.constScanLine(height - 1 - done - i)), width,
                    block.data() + rowBytes * i);
        if (out.write(reinterpret_cast<const char*>(block.data()), rowBytes * count) !=
            rowBytes * count)
            return false;
        done += count;
    }
    return true;
}

// Hands what is written to it on to a sink, unbuffered. A sink's exception ends the
// writing (the encoder sees a failed write) and is thrown again by Rethrow(), outside the
// encoder's code.
class SinkDevice final : public QIODevice {
  public:
    explicit SinkDevice(ByteSink sink) : sink_(std::move(sink)) {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }
    void Rethrow() const {
        if (failure_) std::rethrow_exception(failure_);
    }

  protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        if (failure_) return -1;
        try {
            sink_(data, size);
        } catch (...) {
            failure_ = std::current_exception();
            return -1;
        }
        return size;
    }

  private:
    ByteSink sink_;
    std::exception_ptr failure_;
};

// The 24-bit bitmap's pixels, or a null image when the file is of another kind (or cut
// short) and the general readers must take it.
QImage ReadBmp24(QFile& file) {
    std::array<unsigned char, kHeaderSize> header{};
    if (file.read(reinterpret_cast<char*>(header.data()), kHeaderSize) != kHeaderSize) return {};
    const unsigned char* info = header.data() + kFileHeaderSize;
    const std::uint32_t offset = Get32(header.data() + 10);
    const auto width = static_cast<std::int32_t>(Get32(info + 4));
    const auto height = static_cast<std::int32_t>(Get32(info + 8));
    if (header[0] != 'B' || header[1] != 'M' || Get32(info) != kInfoHeaderSize ||
        Get16(info + 12) != 1 || Get16(info + 14) != 24 || Get32(info + 16) != 0 || width <= 0 ||
        height <= 0 || offset < kHeaderSize)
        return {};
    const qsizetype rowBytes = RowBytes(width);
    // Divided rather than multiplied: a crafted header's sizes would overflow the product.
    if (file.size() < qint64{offset} || (file.size() - offset) / rowBytes < height ||
        !file.seek(offset))
        return {};

    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull()) return {};
    image.setDotsPerMeterX(static_cast<std::int32_t>(Get32(info + 24)));
    image.setDotsPerMeterY(static_cast<std::int32_t>(Get32(info + 28)));
    const int perBlock = RowsPerBlock(rowBytes);
    std::vector<unsigned char> block(
        static_cast<std::size_t>(rowBytes * std::min(perBlock, height)));
    // The file holds the bottom row first.
    for (int done = 0; done < height;) {
        const int rows = std::min(perBlock, height - done);
        if (file.read(reinterpret_cast<char*>(block.data()), rowBytes * rows) != rowBytes * rows)
            return {};
        for (int i = 0; i < rows; ++i)
            UnpackRow(block.data() + rowBytes * i, width,
                      reinterpret_cast<QRgb*>(image.scanLine(height - 1 - done - i)));
        done += rows;
    }
    return image;
}

}  // namespace

bool WriteBmp(const QImage& picture, QIODevice& out) {
    if (picture.format() != QImage::Format_RGB32 || !FitsBmp(picture.width(), picture.height()))
        return picture.save(&out, "BMP");
    return WriteBmpHeader(picture.width(), picture.height(), picture, out) &&
           WriteBmpRows(picture, out);
}

bool WritePicture(const QImage& picture, const QString& path, QIODevice& out) {
    if (IsPng(path)) return picture.save(&out, "PNG");
    return WriteBmp(picture, out);
}

void WritePictureFile(const QImage& picture, const QString& path, const ByteSink& sink) {
    if (picture.isNull())
        throw Failure(QCoreApplication::translate("quill::bridge::Messages", "Invalid picture"));
    const auto cannotEncode = [&] {
        return Failure(QCoreApplication::translate("quill::bridge::Messages",
                                                   "Cannot encode the picture for %1")
                           .arg(path));
    };
    if (IsPng(path)) {
        // Compressed whole first: a PNG is small, and Qt's PNG writer loses memory when a
        // write fails under it.
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!WritePicture(picture, path, buffer)) throw cannotEncode();
        sink(bytes.constData(), bytes.size());
        return;
    }
    SinkDevice device(sink);
    const bool written = WriteBmp(picture, device);
    device.Rethrow();
    if (!written) throw cannotEncode();
}

void SavePictureFile(const QImage& picture, const QString& path) {
    SafeReplace::Replacement out(path, 0777, SafeReplace::Durability::Unsynced);
    WritePictureFile(picture, path, [&](const char* data, qint64 size) { out.Write(data, size); });
    out.Commit();
}

void SaveSheetPicture(const spreadsheet::Workbook& workbook, const spreadsheet::Worksheet& sheet,
                      const spreadsheet::RangeRef& range, const QString& path) {
    if (IsPng(path)) {
        SavePictureFile(spreadsheet::RenderRange(workbook, sheet, range), path);
        return;
    }
    // Every picture the renderer draws fits a bitmap's 32-bit sizes (rows take at most four
    // bytes a pixel), so this writer never needs QImage's.
    static_assert(spreadsheet::kMaxPicturePixels * 4 + kHeaderSize < qint64{UINT32_MAX});
    SafeReplace::Replacement out(path, 0777, SafeReplace::Durability::Unsynced);
    SinkDevice device([&](const char* data, qint64 size) { out.Write(data, size); });
    bool empty = false;
    const bool drawn = spreadsheet::RenderRangeInBands(
        workbook, sheet, range, kBandPixels, [&](QSize size, const QImage& band, int top) {
            if (band.isNull()) {
                empty = true;
                return false;
            }
            // The bottom band comes first, and the header before it.
            if (top + band.height() == size.height() &&
                !WriteBmpHeader(size.width(), size.height(), band, device))
                return false;
            return WriteBmpRows(band, device);
        });
    device.Rethrow();
    if (empty || !drawn)
        throw Failure(QCoreApplication::translate("quill::bridge::Messages", "Invalid picture"));
    out.Commit();
}

QImage ReadPicture(const QString& path) {
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) return {};
        QImage image = ReadBmp24(file);
        if (!image.isNull()) return image;
    }
    QImage image;
    image.load(path);
    return image;
}

}  // namespace quill::bridge
