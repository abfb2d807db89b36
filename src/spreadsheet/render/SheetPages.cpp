#include "spreadsheet/render/SheetPages.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <span>

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>

#include "spreadsheet/render/SheetRenderer.h"

namespace quill::spreadsheet::render {

namespace {

constexpr double kPointsPerInch = 72;
constexpr double kPointsPerPixel = 72.0 / 96.0;  // the picture's pixels are 96 dpi
constexpr int kMinPercent = 10;
constexpr int kMaxPercent = 400;

// Splits sizes (pixels) into runs that fit into `room` pixels each, at least one index a
// run; returns the first index of every run.
std::vector<int> SplitIntoRuns(const std::vector<int>& sizes, double room) {
    std::vector<int> starts;
    double used = 0;
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        if (starts.empty() || (used > 0 && used + sizes[i] > room + 1e-6)) {
            starts.push_back(static_cast<int>(i));
            used = 0;
        }
        used += sizes[i];
    }
    return starts;
}

double Inches(double v) {
    return std::isfinite(v) ? std::clamp(v, 0.0, 100.0) * kPointsPerInch : 0.0;
}

}  // namespace

QPageSize PaperOf(int paperSize) {
    switch (paperSize) {
        case 1:
            return QPageSize(QPageSize::Letter);
        case 5:
            return QPageSize(QPageSize::Legal);
        case 8:
            return QPageSize(QPageSize::A3);
        case 11:
            return QPageSize(QPageSize::A5);
        case 12:
            return QPageSize(QPageSize::B4);
        case 13:
            return QPageSize(QPageSize::B5);
        default:
            return QPageSize(QPageSize::A4);
    }
}

PrintLayout LayOutPages(const Worksheet& sheet) {
    const PageSetup& setup = sheet.pageSetup;
    PrintLayout layout;
    layout.page = QPageLayout(PaperOf(setup.paperSize),
                              setup.portrait ? QPageLayout::Portrait : QPageLayout::Landscape,
                              QMarginsF(0, 0, 0, 0), QPageLayout::Point);
    layout.page.setMode(QPageLayout::FullPageMode);

    const std::optional<RangeRef> area = sheet.printArea ? sheet.printArea : sheet.UsedRange();
    if (!area) return layout;
    const RangeRef cells = RangeRef::Of({std::clamp(area->first.row, 0, kMaxRows - 1),
                                         std::clamp(area->first.col, 0, kMaxColumns - 1)},
                                        {std::clamp(area->last.row, 0, kMaxRows - 1),
                                         std::clamp(area->last.col, 0, kMaxColumns - 1)});

    std::vector<int> widths, heights;
    for (int c = cells.first.col; c <= cells.last.col; ++c)
        widths.push_back(ColumnWidthPixels(sheet.ColumnWidth(c)));
    for (int r = cells.first.row; r <= cells.last.row; ++r)
        heights.push_back(RowHeightPixels(sheet.RowHeight(r)));
    auto sum = [](const std::vector<int>& v, std::size_t from, std::size_t to) {
        std::int64_t total = 0;
        for (std::size_t i = from; i < to; ++i) total += v[i];
        return static_cast<double>(total);
    };

    // The room between the margins, in points and in pixels at 100 %.
    const QSizeF paper = layout.page.fullRect(QPageLayout::Point).size();
    const double left = Inches(setup.leftMargin), top = Inches(setup.topMargin);
    const double roomW = std::max(1.0, paper.width() - left - Inches(setup.rightMargin));
    const double roomH = std::max(1.0, paper.height() - top - Inches(setup.bottomMargin));
    const double roomPixelsW = roomW / kPointsPerPixel, roomPixelsH = roomH / kPointsPerPixel;

    int percent = 100;
    if (setup.fitToPages) {
        double fit = 1;
        const double totalW = sum(widths, 0, widths.size());
        const double totalH = sum(heights, 0, heights.size());
        if (setup.fitWide > 0 && totalW > 0)
            fit = std::min(fit, setup.fitWide * roomPixelsW / totalW);
        if (setup.fitTall > 0 && totalH > 0)
            fit = std::min(fit, setup.fitTall * roomPixelsH / totalH);
        percent = static_cast<int>(std::floor(fit * 100 + 1e-9));
    } else {
        percent = setup.zoom;
    }
    percent = std::clamp(percent, kMinPercent, kMaxPercent);
    layout.scale = percent / 100.0;

    const std::vector<int> columnRuns = SplitIntoRuns(widths, roomPixelsW / layout.scale);
    const std::vector<int> rowRuns = SplitIntoRuns(heights, roomPixelsH / layout.scale);
    for (std::size_t i = 0; i < columnRuns.size(); ++i) {
        const auto c0 = static_cast<std::size_t>(columnRuns[i]);
        const std::size_t c1 =
            i + 1 < columnRuns.size() ? static_cast<std::size_t>(columnRuns[i + 1]) : widths.size();
        for (std::size_t j = 0; j < rowRuns.size(); ++j) {
            const auto r0 = static_cast<std::size_t>(rowRuns[j]);
            const std::size_t r1 =
                j + 1 < rowRuns.size() ? static_cast<std::size_t>(rowRuns[j + 1]) : heights.size();
            PrintPage page;
            page.cells = {
                {cells.first.row + static_cast<int>(r0), cells.first.col + static_cast<int>(c0)},
                {cells.first.row + static_cast<int>(r1) - 1,
                 cells.first.col + static_cast<int>(c1) - 1}};
            const double w = sum(widths, c0, c1) * kPointsPerPixel * layout.scale;
            const double h = sum(heights, r0, r1) * kPointsPerPixel * layout.scale;
            page.origin = {left + (setup.centerHorizontally ? std::max(0.0, (roomW - w) / 2) : 0),
                           top + (setup.centerVertically ? std::max(0.0, (roomH - h) / 2) : 0)};
            layout.pages.push_back(page);
        }
    }
    return layout;
}

bool PrintSheet(QPagedPaintDevice& device, const Workbook& workbook, const Worksheet& sheet) {
    const PrintLayout layout = LayOutPages(sheet);
    device.setPageLayout(layout.page);
    QPainter painter;
    if (!painter.begin(&device)) return false;
    // The painter starts at the corner of the device's paint area. That is the paper's
    // corner unless the device kept margins of its own (a printer that refused none).
    const QPointF paintCorner = device.pageLayout().paintRect(QPageLayout::Point).topLeft();
    const double dotsX = device.logicalDpiX() / kPointsPerInch;
    const double dotsY = device.logicalDpiY() / kPointsPerInch;
    for (std::size_t i = 0; i < layout.pages.size(); ++i) {
        // A device that cannot start another page has not printed the sheet.
        if (i > 0 && !device.newPage()) {
            painter.end();
            return false;
        }
        const PrintPage& page = layout.pages[i];
        painter.save();
        painter.scale(dotsX, dotsY);
        painter.translate(page.origin - paintCorner);
        painter.scale(kPointsPerPixel * layout.scale, kPointsPerPixel * layout.scale);
        PaintRange(painter, workbook, sheet, page.cells);
        painter.restore();
    }
    return painter.end();
}

QByteArray WritePdf(const Workbook& workbook) {
    const Worksheet* sheet = workbook.ShownSheet();
    if (sheet == nullptr) throw EngineError("Cannot save a workbook without sheets as PDF");
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("Quillmere"));
        writer.setTitle(QString::fromStdString(sheet->Name()));
        if (!PrintSheet(writer, workbook, *sheet))
            throw EngineError("The PDF pages cannot be drawn");
    }
    return bytes;
}

}  // namespace quill::spreadsheet::render
