// The .xls file checked by independent software: xlrd (a BIFF8 reader in Python) reads back
// the formatting and values, and LibreOffice converts the file without complaint, computes
// the same formula values, prints the sheet on one A4 page and writes an .xls of its own that
// the engine reads back. These tests start external programs and are named External* so that
// they can be left out of quick runs.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "XlsSampleWorkbook.h"
#include "spreadsheet/format/NumberFormat.h"
#include "spreadsheet/formula/Formula.h"
#include "spreadsheet/xls/Biff8Formula.h"
#include "spreadsheet/xls/XlsBiff.h"
#include "spreadsheet/xls/XlsFile.h"
#include "support/ExternalPrograms.h"

namespace quill::spreadsheet::xls {
namespace {

using test::HaveSoffice;
using test::HaveXlrd;
using test::Ints;
using test::ProcessResult;
using test::RunProgram;
using test::Soffice;

QJsonObject XlrdDump(const std::string& path) {
    return test::XlrdDump(QString::fromStdString(path));
}

std::vector<int> Rgb(std::uint32_t colour) {
    return {static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
            static_cast<int>((colour >> 16) & 0xFF)};
}

// A budget sheet with figures in some item rows, so that the sums are not all zero.
Workbook BudgetWithFigures() {
    Workbook book = sample::BudgetWorkbook();
    Worksheet& sheet = *book.Sheets()[0];
    const std::vector<std::pair<const char*, double>> figures = {
        {"C15", 1200}, {"D15", 1250}, {"C16", 80.5}, {"D16", 75},  {"C29", 300},
        {"D30", 45},   {"H15", 60},   {"I15", 90},   {"H28", 400}, {"I44", 12.25}};
    for (const auto& [a1, value] : figures) sheet.At(sample::At(a1)).content = value;
    Recalculate(book);
    return book;
}

TEST(ExternalXlrd, BudgetSheetFormattingAndValuesReadBack) {
    if (!HaveXlrd()) GTEST_SKIP() << "python3-xlrd is not installed";
    QTemporaryDir dir;
    const std::string path = dir.filePath("budget.xls").toStdString();
    const Workbook book = BudgetWithFigures();
    SaveXls(book, path);
    const QJsonObject dump = XlrdDump(path);
    ASSERT_EQ(dump["nsheets"].toInt(), 1);
    const QJsonObject sheet = dump["sheets"].toArray()[0].toObject();
    const QJsonObject cells = sheet["cells"].toObject();
    const Worksheet& model = *book.Sheets()[0];
    EXPECT_EQ(sheet["name"].toString(), "Invoice");

    // Merged areas (xlrd: first row, row after the last, first column, column after the last).
    std::set<std::vector<int>> merges, expected;
    for (const QJsonValue& m : sheet["merged"].toArray()) merges.insert(Ints(m));
    for (const RangeRef& m : model.Merges())
        expected.insert({m.first.row, m.last.row + 1, m.first.col, m.last.col + 1});
    EXPECT_EQ(merges, expected);
    EXPECT_EQ(Ints(dump["print_areas"].toObject()["0"]), (std::vector<int>{0, 73, 0, 10}));

    auto xf = [&](const char* a1) { return cells[a1].toObject()["xf"].toObject(); };
    auto font = [&](const char* a1) { return xf(a1)["font"].toObject(); };
    EXPECT_EQ(cells["B2"].toObject()["value"].toString(), "Personal Finance");
    EXPECT_EQ(font("B2")["height"].toInt(), 480);  // 24 points
    EXPECT_EQ(font("B2")["weight"].toInt(), 400);
    EXPECT_EQ(font("B2")["name"].toString(), "Arial");
    EXPECT_EQ(font("B6")["weight"].toInt(), 700);
    EXPECT_TRUE(font("B6")["bold"].toBool());
    EXPECT_EQ(xf("B6")["hor_align"].toInt(), 2);  // centred
    EXPECT_EQ(Ints(xf("B6")["fill_rgb"]), (std::vector<int>{236, 245, 215}));
    EXPECT_EQ(Ints(xf("E8")["fill_rgb"]), (std::vector<int>{224, 255, 215}));
    EXPECT_EQ(xf("E6")["format"].toString().toStdString(), sample::kAmountFormat);
    EXPECT_EQ(xf("E6")["hor_align"].toInt(), 3);  // right
    EXPECT_TRUE(font("B25")["italic"].toBool());  // "Subtotals"
    EXPECT_EQ(font("B25")["weight"].toInt(), 400);
    EXPECT_EQ(font("C14")["height"].toInt(), 160);  // captions, 8 points
    EXPECT_EQ(Ints(xf("B14")["borders"]), (std::vector<int>{1, 1, 1, 1}));
    EXPECT_EQ(Ints(xf("B14")["border_colours"]), (std::vector<int>{64, 64, 64, 64}));
    EXPECT_EQ(Ints(xf("A1")["borders"]), (std::vector<int>{0, 0, 0, 0}));

    // The sheet-wide format (white fill, centred vertically, wrapped) on every column.
    const QJsonObject column = sheet["default_col_xf"].toObject();
    EXPECT_EQ(Ints(column["fill_rgb"]), (std::vector<int>{255, 255, 255}));
    EXPECT_EQ(column["vert_align"].toInt(), 1);
    EXPECT_EQ(column["wrap"].toInt(), 1);
    EXPECT_EQ(sheet["col_xfs"].toObject().size(), 256);

    const QJsonObject widths = sheet["col_widths"].toObject();
    EXPECT_EQ(widths["0"].toInt(), xls::ColumnWidthToUnits(1));
    EXPECT_EQ(widths["1"].toInt(), xls::ColumnWidthToUnits(31.29));
    EXPECT_EQ(widths["5"].toInt(), xls::ColumnWidthToUnits(2.14));
    EXPECT_EQ(widths["9"].toInt(), xls::ColumnWidthToUnits(12.34));
    EXPECT_EQ(widths["10"].toInt(), 2340);  // a standard column
    const QJsonObject heights = sheet["row_heights"].toObject();
    EXPECT_EQ(heights["3"].toInt(), 340);  // 17 points
    EXPECT_EQ(heights["4"].toInt(), 180);
    EXPECT_EQ(heights["5"].toInt(), 320);
    EXPECT_EQ(heights["299"].toInt(), 315);
    EXPECT_TRUE(sheet["row_custom"].toObject()["299"].toBool());

    const QJsonArray palette = dump["palette"].toArray();
    for (int i = 0; i < 56; ++i)
        EXPECT_EQ(Ints(palette[i]), Rgb(book.palette[static_cast<std::size_t>(i)])) << i;

    // Every value, formulas with their cached results.
    int formulas = 0;
    for (const auto& [at, cell] : model.Cells()) {
        const QJsonObject c = cells[QString::fromStdString(CellName(at))].toObject();
        if (const auto* n = std::get_if<double>(&cell.content)) {
            EXPECT_EQ(c["value"].toDouble(), *n) << CellName(at);
        } else if (const auto* s = std::get_if<std::string>(&cell.content)) {
            EXPECT_EQ(c["value"].toString().toStdString(), *s) << CellName(at);
        } else if (cell.AsFormula() != nullptr) {
            ++formulas;
            EXPECT_EQ(c["value"].toDouble(), std::get<double>(cell.Cached())) << CellName(at);
        }
    }
    EXPECT_GT(formulas, 70);
}

TEST(ExternalXlrd, SharedStringsSplitOverContinueRecordsReadBack) {
    if (!HaveXlrd()) GTEST_SKIP() << "python3-xlrd is not installed";
    QTemporaryDir dir;
    const std::string path = dir.filePath("texts.xls").toStdString();
    Workbook book;
    Worksheet& sheet = book.AddSheet("Texts");
    std::vector<std::string> texts;
    for (int i = 0; i < 300; ++i) {
        std::string t = std::to_string(i) + std::string(static_cast<std::size_t>((i * 53) % 4000),
                                                        static_cast<char>('a' + i % 26));
        if (i % 4 == 1) t += "€ Grüße";
        texts.push_back(t);
        sheet.At({i, 0}).content = t;
    }
    SaveXls(book, path);
    const QJsonObject cells = XlrdDump(path)["sheets"].toArray()[0].toObject()["cells"].toObject();
    for (int i = 0; i < 300; ++i)
        EXPECT_EQ(cells[QString::fromStdString(CellName({i, 0}))]
                      .toObject()["value"]
                      .toString()
                      .toStdString(),
                  texts[static_cast<std::size_t>(i)])
            << i;
}

TEST(ExternalLibreOffice, RecalculatesOurValuesAndPrintsTheSheetOnOneA4Page) {
    if (!HaveSoffice()) GTEST_SKIP() << "LibreOffice is not installed";
    QTemporaryDir dir;
    const Workbook book = BudgetWithFigures();
    SaveXls(book, dir.filePath("budget.xls").toStdString());

    // A copy whose stored results are all wrong: the values LibreOffice shows can only come
    // from recalculating on opening, and must equal the engine's own results.
    Workbook poisoned = BudgetWithFigures();
    Worksheet& poisonedSheet = *poisoned.Sheets()[0];
    for (const auto& [at, cell] : book.Sheets()[0]->Cells())
        if (cell.AsFormula() != nullptr) poisonedSheet.At(at).SetCached(-99999.0);
    SaveXls(poisoned, dir.filePath("poisoned.xls").toStdString());

    // Plain values (not as shown), comma separated, UTF-8.
    const ProcessResult csv = Soffice(dir, {"--convert-to", test::kCsvFilter, "--outdir",
                                            dir.filePath("out"), dir.filePath("poisoned.xls")});
    ASSERT_TRUE(csv.ok) << csv.err.toStdString();
    QFile csvFile(dir.filePath("out/poisoned.csv"));
    ASSERT_TRUE(csvFile.open(QIODevice::ReadOnly));
    const auto rows = test::ParseCsv(csvFile.readAll());
    int formulas = 0;
    for (const auto& [at, cell] : book.Sheets()[0]->Cells()) {
        if (cell.AsFormula() == nullptr) continue;
        ++formulas;
        ASSERT_LT(static_cast<std::size_t>(at.row), rows.size());
        ASSERT_LT(static_cast<std::size_t>(at.col), rows[static_cast<std::size_t>(at.row)].size());
        const std::string& shown =
            rows[static_cast<std::size_t>(at.row)][static_cast<std::size_t>(at.col)];
        EXPECT_DOUBLE_EQ(std::stod(shown), std::get<double>(cell.Cached())) << CellName(at);
    }
    EXPECT_GT(formulas, 70);

    const ProcessResult pdf = Soffice(
        dir, {"--convert-to", "pdf", "--outdir", dir.filePath("out"), dir.filePath("budget.xls")});
    ASSERT_TRUE(pdf.ok) << pdf.err.toStdString();
    const ProcessResult info = RunProgram("/usr/bin/pdfinfo", {dir.filePath("out/budget.pdf")});
    ASSERT_TRUE(info.ok) << "pdfinfo failed";
    const std::string text = info.out.toStdString();
    EXPECT_NE(text.find("Pages:           1\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Page size:       595.3"), std::string::npos) << text;
    EXPECT_NE(text.find(" x 841.89 pts (A4)"), std::string::npos) << text;
}

TEST(ExternalLibreOffice, ItsOwnXlsOfOurWorkbookReadsBack) {
    if (!HaveSoffice()) GTEST_SKIP() << "LibreOffice is not installed";
    QTemporaryDir dir;
    const Workbook book = BudgetWithFigures();
    SaveXls(book, dir.filePath("budget.xls").toStdString());
    const ProcessResult run = Soffice(
        dir, {"--convert-to", "xls", "--outdir", dir.filePath("out"), dir.filePath("budget.xls")});
    ASSERT_TRUE(run.ok) << run.err.toStdString();

    const Workbook back = LoadXls(dir.filePath("out/budget.xls").toStdString());
    ASSERT_EQ(back.Sheets().size(), 1u);
    const Worksheet& ours = *book.Sheets()[0];
    const Worksheet& theirs = *back.Sheets()[0];
    EXPECT_EQ(theirs.Name(), "Invoice");
    for (const auto& [at, cell] : ours.Cells()) {
        if (!cell.HasContent()) continue;
        SCOPED_TRACE(CellName(at));
        const Cell* other = theirs.Find(at);
        ASSERT_NE(other, nullptr);
        if (const Formula* f = cell.AsFormula()) {
            // Either the formula itself or, for tokens the engine does not decode, its value.
            if (other->AsFormula() != nullptr) {
                EXPECT_EQ(EncodeBiff8(*other->AsFormula(), at), EncodeBiff8(*f, at)) << f->R1C1();
                EXPECT_EQ(other->Cached(), cell.Cached());
            } else {
                ASSERT_TRUE(std::holds_alternative<double>(other->content));
                EXPECT_EQ(std::get<double>(other->content), std::get<double>(cell.Cached()));
            }
        } else if (const auto* n = std::get_if<double>(&cell.content)) {
            ASSERT_TRUE(std::holds_alternative<double>(other->content));
            EXPECT_EQ(std::get<double>(other->content), *n);
        } else {
            ASSERT_TRUE(std::holds_alternative<std::string>(other->content));
            EXPECT_EQ(std::get<std::string>(other->content), std::get<std::string>(cell.content));
        }
        // Fonts, fills (by colour), alignment, borders and number formats.
        const CellFormat& a = book.EffectiveFormat(ours, at);
        const CellFormat& b = back.EffectiveFormat(theirs, at);
        EXPECT_EQ(a.font.size, b.font.size);
        EXPECT_EQ(a.font.bold, b.font.bold);
        EXPECT_EQ(a.font.italic, b.font.italic);
        EXPECT_EQ(a.hAlign, b.hAlign);
        EXPECT_EQ(a.borders, b.borders);
        // LibreOffice writes the codes in its own spelling ("\\$", "[RED]", quoted
        // texts); they must show values the same way.
        for (const double v : {1234.5, -1234.5, 0.0}) {
            const FormattedValue x = FormatValue(Value(v), a.numberFormat);
            const FormattedValue y = FormatValue(Value(v), b.numberFormat);
            EXPECT_EQ(x.text, y.text) << a.numberFormat << " / " << b.numberFormat;
            EXPECT_EQ(x.color, y.color) << a.numberFormat << " / " << b.numberFormat;
        }
        ASSERT_GT(b.fill, 0);
        EXPECT_EQ(book.palette[static_cast<std::size_t>(a.fill - 1)],
                  back.palette[static_cast<std::size_t>(b.fill - 1)]);
    }
    std::set<std::pair<CellRef, CellRef>> merges, expected;
    for (const RangeRef& m : theirs.Merges()) merges.insert({m.first, m.last});
    for (const RangeRef& m : ours.Merges()) expected.insert({m.first, m.last});
    EXPECT_EQ(merges, expected);
    for (int col = 0; col < 10; ++col)
        EXPECT_NEAR(theirs.ColumnWidth(col), ours.ColumnWidth(col), 0.1) << col;
    for (int row = 0; row < 300; ++row)
        EXPECT_NEAR(theirs.RowHeight(row), ours.RowHeight(row), 0.05) << row;
    EXPECT_EQ(theirs.printArea, ours.printArea);
    EXPECT_TRUE(theirs.pageSetup.fitToPages);
    EXPECT_EQ(theirs.pageSetup.fitWide, 1);
    EXPECT_EQ(theirs.pageSetup.fitTall, 1);
    EXPECT_EQ(theirs.pageSetup.paperSize, 9);
    EXPECT_TRUE(theirs.pageSetup.portrait);
}

}  // namespace
}  // namespace quill::spreadsheet::xls
