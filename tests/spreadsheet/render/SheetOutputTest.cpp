// The sheet's printed pages (layout by the page set-up, the PDF file) and the .xlsx file as
// far as they can be checked without other programs; the External* tests read both back with
// independent software.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <chrono>
#include <set>
#include <string>
#include <thread>

#include "spreadsheet/render/SheetPages.h"
#include "spreadsheet/render/SheetRenderer.h"
#include "spreadsheet/xls/XlsFile.h"
#include "spreadsheet/xls/XlsSampleWorkbook.h"
#include "spreadsheet/xlsx/XlsxFile.h"
#include "support/FileBytes.h"
#include "support/ScopedSettings.h"

namespace quill::spreadsheet {
namespace {

using sample::At;

constexpr double kPointsPerPixel = 0.75;

// Printed width and height of a page's cells, in points.
QSizeF PrintedSize(const Worksheet& sheet, const PrintLayout& layout, const RangeRef& cells) {
    double w = 0, h = 0;
    for (int c = cells.first.col; c <= cells.last.col; ++c)
        w += ColumnWidthPixels(sheet.ColumnWidth(c));
    for (int r = cells.first.row; r <= cells.last.row; ++r)
        h += RowHeightPixels(sheet.RowHeight(r));
    return {w * kPointsPerPixel * layout.scale, h * kPointsPerPixel * layout.scale};
}

// Room between the margins, in points.
QSizeF Room(const Worksheet& sheet, const PrintLayout& layout) {
    const QSizeF paper = layout.page.fullRect(QPageLayout::Point).size();
    const PageSetup& p = sheet.pageSetup;
    return {paper.width() - 72 * (p.leftMargin + p.rightMargin),
            paper.height() - 72 * (p.topMargin + p.bottomMargin)};
}

TEST(SheetPages, BudgetFitsOnOneA4PortraitPageAtTheLargestWholePercent) {
    const Workbook book = sample::BudgetWorkbook();
    const Worksheet& sheet = *book.Sheets()[0];
    const PrintLayout layout = LayOutPages(sheet);
    ASSERT_EQ(layout.pages.size(), 1u);
    EXPECT_EQ(layout.pages[0].cells, ParseA1Range("A1:J73"));
    EXPECT_EQ(layout.page.pageSize().id(), QPageSize::A4);
    EXPECT_EQ(layout.page.orientation(), QPageLayout::Portrait);
    EXPECT_EQ(layout.pages[0].origin, QPointF(50.4, 36));  // left and top margins

    // Scaled down to fit, by whole percents: one percent more would not fit.
    const QSizeF room = Room(sheet, layout);
    const QSizeF printed = PrintedSize(sheet, layout, layout.pages[0].cells);
    EXPECT_LT(layout.scale, 1);
    EXPECT_DOUBLE_EQ(layout.scale * 100, std::round(layout.scale * 100));
    EXPECT_LE(printed.width(), room.width());
    EXPECT_LE(printed.height(), room.height());
    const double grown = (layout.scale + 0.01) / layout.scale;
    EXPECT_TRUE(printed.width() * grown > room.width() || printed.height() * grown > room.height());
}

// Every cell of the area on exactly one page, every page within the room, in print order
// down then over.
void ExpectPagesTileTheArea(const Worksheet& sheet, const PrintLayout& layout,
                            const RangeRef& area) {
    std::set<CellRef> seen;
    const QSizeF room = Room(sheet, layout);
    for (const PrintPage& page : layout.pages) {
        for (int r = page.cells.first.row; r <= page.cells.last.row; ++r)
            for (int c = page.cells.first.col; c <= page.cells.last.col; ++c) {
                EXPECT_TRUE(area.Contains({r, c}));
                EXPECT_TRUE(seen.insert({r, c}).second) << CellName({r, c}) << " twice";
            }
        const QSizeF printed = PrintedSize(sheet, layout, page.cells);
        EXPECT_LE(printed.width(), room.width() + 1e-6);
        EXPECT_LE(printed.height(), room.height() + 1e-6);
    }
    EXPECT_EQ(seen.size(), static_cast<std::size_t>(area.Rows()) * area.Columns());
    for (std::size_t i = 1; i < layout.pages.size(); ++i) {
        const RangeRef& a = layout.pages[i - 1].cells;
        const RangeRef& b = layout.pages[i].cells;
        EXPECT_TRUE(b.first.col > a.first.col ||
                    (b.first.col == a.first.col && b.first.row > a.first.row))
            << "page " << i;
    }
}

TEST(SheetPages, AreasTooLargeForThePageAreSplitBetweenRowsAndColumns) {
    Workbook book = sample::LargeWorkbook(300);
    Worksheet& sheet = *book.Sheets()[0];
    for (int c = 0; c < 10; ++c) sheet.SetColumnWidth(c, 20);
    sheet.printArea = ParseA1Range("A1:J300");

    sheet.pageSetup.zoom = 100;  // fixed zoom: 300 rows of 21 px, ten columns of 145 px
    PrintLayout layout = LayOutPages(sheet);
    EXPECT_EQ(layout.scale, 1);
    EXPECT_GT(layout.pages.size(), 6u);
    ExpectPagesTileTheArea(sheet, layout, *sheet.printArea);

    // Fitting to one page cannot go below 10 %: the rest goes onto more pages.
    sheet.SetRowHeight(0, 409);
    for (int r = 1; r < 300; ++r) sheet.SetRowHeight(r, 200);
    sheet.pageSetup.fitToPages = true;
    layout = LayOutPages(sheet);
    EXPECT_DOUBLE_EQ(layout.scale, 0.1);
    EXPECT_GT(layout.pages.size(), 1u);
    ExpectPagesTileTheArea(sheet, layout, *sheet.printArea);

    // Fitting never enlarges: a small area stays at 100 %.
    sheet.printArea = ParseA1Range("B2:C3");
    sheet.SetRowHeight(1, 15);
    sheet.SetRowHeight(2, 15);
    layout = LayOutPages(sheet);
    EXPECT_EQ(layout.scale, 1);
    ASSERT_EQ(layout.pages.size(), 1u);
    EXPECT_EQ(layout.pages[0].cells, *sheet.printArea);
}

TEST(SheetPages, PaperOrientationAndCentring) {
    Workbook book = sample::BudgetWorkbook();
    Worksheet& sheet = *book.Sheets()[0];
    sheet.pageSetup.portrait = false;
    sheet.pageSetup.paperSize = 1;
    sheet.pageSetup.centerHorizontally = true;
    sheet.pageSetup.centerVertically = true;
    const PrintLayout layout = LayOutPages(sheet);
    EXPECT_EQ(layout.page.pageSize().id(), QPageSize::Letter);
    const QSizeF paper = layout.page.fullRect(QPageLayout::Point).size();
    EXPECT_EQ(paper, QSizeF(792, 612));  // Letter lying on its side
    ASSERT_EQ(layout.pages.size(), 1u);
    const QSizeF printed = PrintedSize(sheet, layout, layout.pages[0].cells);
    const QPointF origin = layout.pages[0].origin;
    // The margins are equal left and right (0.7 in), and top and bottom (0.5 in).
    EXPECT_NEAR(origin.x() + printed.width() / 2, paper.width() / 2, 1e-6);
    EXPECT_NEAR(origin.y() + printed.height() / 2, paper.height() / 2, 1e-6);

    // The .xls file keeps the centring.
    QTemporaryDir dir;
    const std::string path = dir.filePath("centred.xls").toStdString();
    sheet.pageSetup.centerVertically = false;
    SaveXls(book, path);
    const PageSetup read = LoadXls(path).Sheets()[0]->pageSetup;
    EXPECT_TRUE(read.centerHorizontally);
    EXPECT_FALSE(read.centerVertically);

    EXPECT_EQ(PaperOf(9).id(), QPageSize::A4);
    EXPECT_EQ(PaperOf(8).id(), QPageSize::A3);
    EXPECT_EQ(PaperOf(4242).id(), QPageSize::A4);
}

TEST(PdfFile, BudgetIsOnePageOfTextAndVectorsAndAnEmptySheetOneBlankPage) {
    const Workbook book = sample::BudgetWorkbook();
    const QByteArray pdf = WritePdf(book);
    ASSERT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_EQ(test::PdfPageCount(pdf), 1);
    EXPECT_TRUE(pdf.contains("/MediaBox [0 0 595")) << "A4 portrait";
    EXPECT_TRUE(pdf.contains("/FontFile2")) << "the fonts are embedded";
    EXPECT_FALSE(pdf.contains("/Subtype /Image")) << "no picture of the page";
    // The title is the document's, not the sheet's name.
    Workbook titled = sample::BudgetWorkbook();
    titled.title = "Personal Finance";
    const auto pdfText = [](const char* text) {  // as the PDF writes it: UTF-16BE
        QByteArray bytes("\xFE\xFF");
        for (const char* c = text; *c != 0; ++c) bytes.append('\0').append(*c);
        return bytes;
    };
    const QByteArray titledPdf = WritePdf(titled);
    EXPECT_TRUE(titledPdf.contains(pdfText("Personal Finance")));
    EXPECT_FALSE(titledPdf.contains(pdfText(titled.Sheets()[0]->Name().c_str())));

    Workbook empty;
    empty.AddSheet("Sheet1");
    EXPECT_EQ(test::PdfPageCount(WritePdf(empty)), 1);
    EXPECT_THROW(WritePdf(Workbook()), EngineError);
}

TEST(SheetFiles, TheXlsxBytesAreWholeAndAFailureLeavesNothingBehind) {
    QTemporaryDir scratch;
    // The engine's own temporary folders go here, where nothing else runs.
    const test::ScopedEnvironment tmpdir("TMPDIR", QFile::encodeName(scratch.path()));
    const Workbook book = sample::BudgetWorkbook();
    const std::vector<std::uint8_t> bytes = WriteXlsx(book);
    const QByteArray written(reinterpret_cast<const char*>(bytes.data()),
                             static_cast<qsizetype>(bytes.size()));
    EXPECT_TRUE(written.startsWith("PK\x03\x04")) << "a zip container";
    EXPECT_TRUE(written.contains("xl/worksheets/sheet1.xml"));
    const QByteArray pdf = WritePdf(book);
    EXPECT_TRUE(pdf.startsWith("%PDF-"));

    // The same workbook gives the same bytes, in another second as well: the time stamped in
    // the file is SOURCE_DATE_EPOCH's, which the tests set.
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    EXPECT_EQ(WriteXlsx(book), bytes);
    EXPECT_EQ(WritePdf(book), pdf);

    // A sheet name .xlsx files do not allow.
    Workbook quoted = sample::BudgetWorkbook();
    quoted.Sheets()[0]->SetName("'Budget'");
    EXPECT_THROW(WriteXlsx(quoted), EngineError);
    const QStringList leftovers =
        QDir(scratch.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    EXPECT_TRUE(leftovers.isEmpty()) << leftovers.join(' ').toStdString();
}

}  // namespace
}  // namespace quill::spreadsheet
