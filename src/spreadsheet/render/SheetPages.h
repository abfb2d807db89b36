// Printed pages of a sheet: the print area (or the used range) laid out on paper by the
// sheet's page set-up (paper, orientation, margins, zoom or fitting to pages, centring) and
// drawn by the same renderer as the sheet picture, onto a PDF file or any paged device
// (QPdfWriter, QPrinter).
#pragma once

#include <string>
#include <vector>

#include <QByteArray>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPointF>

#include "spreadsheet/core/Workbook.h"

namespace quill::spreadsheet::render {

struct PrintPage {
    RangeRef cells;  // the cells this page shows
    QPointF origin;  // where their top left corner lies, in points from the paper's corner
};

struct PrintLayout {
    QPageLayout page;  // the paper in its orientation, margins zero (the pages place cells)
    double scale = 1;  // printed size of the sheet's 96 dpi pixels, 1 = 100 %
    std::vector<PrintPage> pages;  // in print order: down, then over
};

// The paper of a spreadsheet paper-size number (1 Letter, 5 Legal, 8 A3, 9 A4, 11 A5, ...);
// A4 for numbers without a known paper.
QPageSize PaperOf(int paperSize);

// Lays the sheet out on pages. Fitting to pages scales the area down (never up) to the
// whole percent that fits it on the pages wide and tall asked for (0 leaves that direction
// free), as spreadsheet programs do, but not below 10 %; what is still too large at that
// scale, or at a fixed zoom (10 % to 400 %), is split between rows and columns onto further
// pages. A sheet with neither print area nor used cells gives one empty page.
PrintLayout LayOutPages(const Worksheet& sheet);

// Sets the device's page layout and draws every page of the sheet onto it. Returns false
// when the device cannot be painted on (a printer that failed to start).
bool PrintSheet(QPagedPaintDevice& device, const Workbook& workbook, const Worksheet& sheet);

// The active sheet of the workbook as a PDF file: its text as text with the fonts embedded,
// fills and borders as vectors. Throws EngineError.
QByteArray WritePdf(const Workbook& workbook);

}  // namespace quill::spreadsheet::render

// The printed pages, named from the engine's root as the rest of the engine does.
namespace quill::spreadsheet {
using render::LayOutPages;
using render::PaperOf;
using render::PrintLayout;
using render::PrintPage;
using render::PrintSheet;
using render::WritePdf;
}  // namespace quill::spreadsheet
