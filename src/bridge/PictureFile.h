// The sheet picture as a file: an uncompressed 24-bit Windows bitmap, written and read a
// block of rows at a time. The bytes are those of QImage's own BMP writer (header, dots
// per metre, bottom-up rows of blue, green, red padded to four bytes), which converts pixel
// by pixel through a generic path and costs several times more for a sheet-sized picture.
#pragma once

#include <functional>

#include <QImage>
#include <QString>

#include "spreadsheet/core/Workbook.h"

class QIODevice;

namespace quill::bridge {

// Writes the picture as BMP to `out`; false when the device refuses the bytes. Pictures
// that are not RGB32 go through QImage's writer.
bool WriteBmp(const QImage& picture, QIODevice& out);

// Writes the picture to `out` as PNG when `path` ends in ".png", else as BMP.
bool WritePicture(const QImage& picture, const QString& path, QIODevice& out);

// Receives a file's bytes a block at a time, in order; throws quill::Failure to stop.
using ByteSink = std::function<void(const char* data, qint64 size)>;

// Hands the bytes of the picture file for `path` to `sink`: PNG when the path ends in
// ".png" (in one block), else BMP (a block of rows at a time). Throws quill::Failure for an
// empty picture, and passes on the sink's.
void WritePictureFile(const QImage& picture, const QString& path, const ByteSink& sink);

// Writes the picture to `path` (PNG for ".png", else BMP) through the program's one
// safe-replace helper, so a failure leaves no partial file and a replaced file keeps its
// permissions; throws quill::Failure. The bytes are not forced to the disk (no fsync): the
// picture lives only until the preview has read it, and waiting for the disk was most of
// its cost.
void SavePictureFile(const QImage& picture, const QString& path);

// Draws the range of the sheet (as RenderRange does) and saves the picture as
// SavePictureFile does. A bitmap is drawn and written a band of rows at a time, so the
// whole picture is never held in memory; a PNG is drawn whole. Throws quill::Failure, also
// for a range without a picture.
void SaveSheetPicture(const spreadsheet::Workbook& workbook, const spreadsheet::Worksheet& sheet,
                      const spreadsheet::RangeRef& range, const QString& path);

// Reads a picture file. Uncompressed bottom-up 24-bit bitmaps (what WriteBmp writes) are
// read directly into an RGB32 image; every other file goes through QImage's readers. A
// null image when the file cannot be read.
QImage ReadPicture(const QString& path);

}  // namespace quill::bridge
