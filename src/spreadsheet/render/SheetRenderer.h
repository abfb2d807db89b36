// Draws a range of a sheet as a spreadsheet program shows it at 100 % on a 96 dpi screen:
// column widths and row heights in pixels, palette fills, thin borders, merged areas as one
// cell, fonts and colours, alignment, word wrap, values through their number formats and
// formulas by their computed values, light grey gridlines where cells have no fill.
//
// Geometry (independent of the fonts installed):
// - A column of w characters of the default font (Arial 10, maximum digit width 7 px) is
//   stored as W = trunc((w * 7 + 5) / 7 * 256) / 256 characters (the 5 px of cell padding
//   included) and shown as trunc(((256 * W + trunc(128 / 7)) / 256) * 7) pixels, which is
//   about w * 7 + 5 (8.43 -> 64 px, 12.34 -> 91 px, 31.29 -> 224 px). Below one character
//   the padding shrinks with the width: round(w * 12) pixels. Widths are held to 0..255.
// - A row of p points is round(p * 96 / 72) pixels; heights are held to 0..409 points.
// - Each cell owns the last pixel column and row of its rectangle: gridlines and the
//   borders between two cells are drawn there. A border on the left or top edge of the
//   range falls on the picture's first pixel column or row.
//
// Fonts are chosen by name through the system's font matching; "Arial" needs a face with
// the same metrics (Liberation Sans) for texts to wrap and fit as in the spreadsheet
// program. Without one a substitute face is used: the picture keeps its geometry, but
// texts may be wider or narrower and wrap at other words.
#pragma once

#include <cstdint>
#include <functional>

#include <QImage>
#include <QPainter>

#include "spreadsheet/core/Workbook.h"

namespace quill::spreadsheet::render {

// Pictures larger than this in either direction are cut at the limit: the picture shows
// the range's top left part, as far as the limit reaches.
inline constexpr int kMaxPictureSide = 32767;
// Wide pictures are also cut in height so that they never hold more pixels than this
// (256 MiB at four bytes a pixel).
inline constexpr std::int64_t kMaxPicturePixels = std::int64_t{1} << 26;

// Column width in characters -> pixels, and row height in points -> pixels (see above).
int ColumnWidthPixels(double characters);
int RowHeightPixels(double points);

// The picture of the range (corners in any order, held to the sheet's grid), in
// QImage::Format_RGB32 at 96 dpi. Its size is the summed widths and heights of the
// range's columns and rows, cut as described above; a range whose columns or rows are
// all hidden (zero size) gives a null image. The palette is the workbook's.
QImage RenderRange(const Workbook& workbook, const Worksheet& sheet, const RangeRef& range);

// The size RenderRange's picture of the range has, without drawing it.
QSize RangePictureSize(const Workbook& workbook, const Worksheet& sheet, const RangeRef& range);

// Receives the picture band by band: the whole picture's size, a band (as wide as the
// picture, RGB32 at 96 dpi) and the picture row of the band's first row. Returns false to
// stop the drawing.
using BandTaker = std::function<bool(QSize picture, const QImage& band, int top)>;

// Draws the same pixels as RenderRange, in bands of whole rows of about `bandPixels`
// pixels (at least one row) and from the bottom band up, so that the whole picture is
// never held at once. A range without a picture gives one call with an empty size and a
// null band. Returns false when `take` stopped the drawing or the memory for a band was
// refused.
bool RenderRangeInBands(const Workbook& workbook, const Worksheet& sheet, const RangeRef& range,
                        std::int64_t bandPixels, const BandTaker& take);

// Draws the part `area` (in picture pixels) of the picture RenderRange gives onto any
// painter, one unit of the painter's coordinates for each pixel of the picture and the
// picture's top left corner at the origin: the same gridlines, fills, borders and texts,
// on white. A painter scaled by 2 (or drawing on a device of pixel ratio 2) draws them
// sharp at twice the size, since texts and lines are drawn, not stretched. The picture's
// size limits apply.
void PaintPictureArea(QPainter& painter, const Workbook& workbook, const Worksheet& sheet,
                      const RangeRef& range, const QRect& area);

// Draws the range as a printed page shows it: the same cells, fills, borders and texts as
// the picture, without gridlines or background, with the range's top left corner at the
// painter's origin and one unit of the painter's coordinates for each pixel of the picture.
// Fills and borders are drawn as rectangles and texts as text, so a vector device (a PDF)
// keeps them as such. No size limit applies.
void PaintRange(QPainter& painter, const Workbook& workbook, const Worksheet& sheet,
                const RangeRef& range);

}  // namespace quill::spreadsheet::render

// The engine's picture, named from its root as the rest of the engine does.
namespace quill::spreadsheet {
using render::ColumnWidthPixels;
using render::kMaxPicturePixels;
using render::kMaxPictureSide;
using render::PaintPictureArea;
using render::PaintRange;
using render::RangePictureSize;
using render::RenderRange;
using render::RenderRangeInBands;
using render::RowHeightPixels;
}  // namespace quill::spreadsheet
