#include "spreadsheet/render/SheetPages.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <span>

#include <QBuffer>
#include <QDateTime>
#include <QHashFunctions>
#include <QPainter>
#include <QPdfWriter>

#include "spreadsheet/core/CLocale.h"
#include "spreadsheet/core/FileSupport.h"
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

// Qt's PDF writer lists the embedded fonts in the order of a hash table, which follows the
// process's random hash seed: while the pages are made, tables are made with the fixed seed,
// so the same pages give the same bytes in every run. Tables keep the seed they were made
// with, so those made before or after are not affected.
class FixedHashSeed {
  public:
    FixedHashSeed() { QHashSeed::setDeterministicGlobalSeed(); }
    ~FixedHashSeed() { QHashSeed::resetRandomGlobalSeed(); }
    FixedHashSeed(const FixedHashSeed&) = delete;
    FixedHashSeed& operator=(const FixedHashSeed&) = delete;
};

// Qt stamps the PDF with the clock's time in the local time zone. The stamp becomes the
// document time the workbook files carry (SOURCE_DATE_EPOCH when it is set) in UTC, so the
// bytes depend neither on the clock nor on the time zone. The UTC form can be shorter than
// Qt's ("Z" against "+01'00'"): the offsets of the objects after it, in the cross-reference
// table and after "startxref", move up by the difference. A file not laid out as Qt writes
// it is left as it is.
void StampCreationDate(QByteArray& pdf) {
    static const QByteArray kKey = "/CreationDate (";
    const qsizetype key = pdf.indexOf(kKey);
    if (key < 0) return;
    const qsizetype start = key + kKey.size();
    const qsizetype end = pdf.indexOf(')', start);
    const qsizetype table = pdf.lastIndexOf("\nxref\n");
    const qsizetype startxref = pdf.lastIndexOf("\nstartxref\n");
    if (end < 0 || table < end || startxref < table) return;
    const QByteArray stamp = "D:" +
                             QDateTime::fromSecsSinceEpoch(DocumentTimeNow(), Qt::UTC)
                                 .toString(QStringLiteral("yyyyMMddHHmmss"))
                                 .toLatin1() +
                             'Z';
    const qsizetype shift = (end - start) - stamp.size();
    if (shift < 0) return;

    // "xref", then sections of a "first count" line and entries of exactly 20 bytes, the
    // first ten the offset: "0000012345 00000 n \n". Every offset is checked first.
    std::vector<qsizetype> offsetsAt;  // where the offsets after the stamp stand
    qsizetype at = table + 6;
    while (at < startxref && pdf.at(at) != 't') {  // up to "trailer"
        const qsizetype lineEnd = pdf.indexOf('\n', at);
        const QList<QByteArray> head = pdf.mid(at, lineEnd - at).trimmed().split(' ');
        bool ok = lineEnd > 0 && head.size() == 2;
        const qsizetype count = ok ? head[1].toLongLong(&ok) : 0;
        if (!ok || count < 0 || lineEnd + 1 + 20 * count > startxref) return;
        at = lineEnd + 1;
        for (qsizetype i = 0; i < count; ++i, at += 20) {
            const qsizetype offset = pdf.mid(at, 10).toLongLong(&ok);
            if (!ok) return;
            if (pdf.at(at + 17) == 'n' && offset > start) offsetsAt.push_back(at);
        }
    }
    const qsizetype numberAt = startxref + 11;
    qsizetype digits = 0;
    while (numberAt + digits < pdf.size() && pdf.at(numberAt + digits) >= '0' &&
           pdf.at(numberAt + digits) <= '9')
        ++digits;
    bool ok = false;
    const qsizetype tableOffset = pdf.mid(numberAt, digits).toLongLong(&ok);
    if (!ok || tableOffset != table + 1) return;

    for (const qsizetype entry : offsetsAt) {
        const qsizetype moved = pdf.mid(entry, 10).toLongLong() - shift;
        pdf.replace(entry, 10, QByteArray::number(moved).rightJustified(10, '0'));
    }
    pdf.replace(numberAt, digits, QByteArray::number(tableOffset - shift));
    pdf.replace(start, end - start, stamp);
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
    // A printer's file (PDF or PostScript) is written in the C locale, as every other file.
    const CLocaleScope cLocale;
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
        const FixedHashSeed fixedSeed;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("Quillmere"));
        // The document's title where it has one ("Personal Finance"), else its sheet's name.
        writer.setTitle(
            QString::fromStdString(workbook.title.empty() ? sheet->Name() : workbook.title));
        if (!PrintSheet(writer, workbook, *sheet))
            throw EngineError("The PDF pages cannot be drawn");
    }
    StampCreationDate(bytes);
    return bytes;
}

}  // namespace quill::spreadsheet::render
