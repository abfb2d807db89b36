// The workbook that `quillmere-sheet --defaults` writes, checked by independent software:
// xlrd reads back every cell, format, merged area and stored result of the sheet as the
// builder made it; LibreOffice recalculates the sums and balances from the file's own
// formulas after costs were entered, and prints the sheet on one A4 page.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>

#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "DefaultBudget.h"
#include "model/WorkbookPalette.h"
#include "spreadsheet/formula/Formula.h"
#include "spreadsheet/xls/XlsFile.h"
#include "support/ExternalPrograms.h"
#include "support/ScratchConfig.h"

namespace quill::test {
namespace {

namespace ss = spreadsheet;

const char* const kAmountFormat = "$#,##0_);[Red]($#,##0)";

std::vector<int> Rgb(std::uint32_t colour) {
    return {static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
            static_cast<int>((colour >> 16) & 0xFF)};
}

// The default workbook as the companion writes it, in `dir`.
QString WriteDefaultWorkbook(const QTemporaryDir& dir) {
    ScratchConfig config;
    const QString path = dir.filePath("budget.xls");
    const ProcessResult run = RunCompanion({"--defaults", "-o", path});
    EXPECT_TRUE(run.ok) << run.err.toStdString();
    return path;
}

TEST(ExternalSheetXlrd, DefaultWorkbookReadsBackAsBuilt) {
    if (!HaveXlrd()) GTEST_SKIP() << "python3-xlrd is not installed";
    QTemporaryDir dir;
    const QJsonObject dump = XlrdDump(WriteDefaultWorkbook(dir));
    ASSERT_EQ(dump["nsheets"].toInt(), 1);
    const QJsonObject sheet = dump["sheets"].toArray()[0].toObject();
    const QJsonObject cells = sheet["cells"].toObject();
    EXPECT_EQ(sheet["name"].toString(), "Invoice");
    EXPECT_EQ(Ints(dump["print_areas"].toObject()["0"]), (std::vector<int>{0, 73, 0, 10}));

    // The same sheet built in memory, whose dump is the checked golden one.
    DefaultBudget budget;
    budget.app.Calculate();
    const ss::Workbook& book = budget.app.ActiveWorkbook();
    const ss::Worksheet& model = budget.app.ActiveSheet();

    // Merged areas as xlrd gives them: first row, row after the last, first column, column
    // after the last.
    std::set<std::vector<int>> merges, expected;
    for (const QJsonValue& m : sheet["merged"].toArray()) merges.insert(Ints(m));
    for (const ss::RangeRef& m : model.Merges())
        expected.insert({m.first.row, m.last.row + 1, m.first.col, m.last.col + 1});
    EXPECT_EQ(merges, expected);
    EXPECT_TRUE(merges.count({1, 4, 1, 10})) << "title B2:J4";

    // Every cell with a content or a format of its own: value or stored result, font,
    // fill colour, number format, alignment and borders.
    int formulas = 0;
    for (const auto& [at, cell] : model.Cells()) {
        const std::string name = ss::CellName(at);
        SCOPED_TRACE(name);
        const QJsonObject read = cells[QString::fromStdString(name)].toObject();
        ASSERT_FALSE(read.isEmpty());
        if (const auto* n = std::get_if<double>(&cell.content)) {
            EXPECT_EQ(read["value"].toDouble(), *n);
        } else if (const auto* s = std::get_if<std::string>(&cell.content)) {
            EXPECT_EQ(read["value"].toString().toStdString(), *s);
        } else if (cell.AsFormula() != nullptr) {
            ++formulas;
            EXPECT_EQ(read["value"].toDouble(), std::get<double>(cell.Cached()));
        }
        const ss::CellFormat& f = book.EffectiveFormat(model, at);
        const QJsonObject xf = read["xf"].toObject();
        const QJsonObject font = xf["font"].toObject();
        EXPECT_EQ(font["name"].toString().toStdString(), f.font.name);
        EXPECT_EQ(font["height"].toInt(), static_cast<int>(f.font.size * 20));
        EXPECT_EQ(font["bold"].toBool(), f.font.bold);
        EXPECT_EQ(font["italic"].toBool(), f.font.italic);
        if (f.fill == ss::kNoFill)
            EXPECT_TRUE(xf["fill_rgb"].isNull());
        else
            EXPECT_EQ(Ints(xf["fill_rgb"]),
                      Rgb(book.palette[static_cast<std::size_t>(f.fill - 1)]));
        EXPECT_EQ(xf["format"].toString().toStdString(), f.numberFormat);
        EXPECT_EQ(xf["hor_align"].toInt(), static_cast<int>(f.hAlign));
        EXPECT_EQ(xf["vert_align"].toInt(), static_cast<int>(f.vAlign));
        EXPECT_EQ(xf["wrap"].toInt(), f.wrap ? 1 : 0);
        std::vector<int> borders;
        for (ss::Edge e : {ss::Edge::Left, ss::Edge::Right, ss::Edge::Top, ss::Edge::Bottom})
            borders.push_back(static_cast<int>(f.Border(e)));
        EXPECT_EQ(Ints(xf["borders"]), borders);
    }
    EXPECT_EQ(formulas, 12 * 3 + 65 + 3 + 5);  // subtotals, item differences, totals, block

    // A few anchors in plain numbers and colours, independent of the model.
    auto value = [&](const char* a1) { return cells[a1].toObject()["value"].toVariant(); };
    auto xf = [&](const char* a1) { return cells[a1].toObject()["xf"].toObject(); };
    EXPECT_EQ(value("B2").toString(), "Personal Finance");
    EXPECT_EQ(xf("B2")["font"].toObject()["height"].toInt(), 480);
    const std::pair<const char*, double> figures[] = {
        {"E6", 3000}, {"E7", 100},  {"E8", 3100},  {"E10", 2720}, {"E11", 100}, {"E12", 2820},
        {"J6", 3100}, {"J8", 2820}, {"J10", -280}, {"C25", 0},    {"J61", 0},   {"J65", 0}};
    for (const auto& [a1, number] : figures) EXPECT_EQ(value(a1).toDouble(), number) << a1;
    for (const char* a1 : {"E6", "E8", "J6", "C15", "J24", "D66"})
        EXPECT_EQ(xf(a1)["format"].toString(), kAmountFormat) << a1;
    for (const char* a1 : {"B14", "G14", "B6", "G65"})
        EXPECT_EQ(Ints(xf(a1)["fill_rgb"]), (std::vector<int>{236, 245, 215})) << a1;
    for (const char* a1 : {"E8", "J6", "C25", "J61"})
        EXPECT_EQ(Ints(xf(a1)["fill_rgb"]), (std::vector<int>{224, 255, 215})) << a1;
    EXPECT_EQ(value("G14").toString(), "ENTERTAINMENT");
    EXPECT_EQ(value("B66").toString(), "Subtotals");
    EXPECT_EQ(value("G61").toString(), "TOTAL PROJECTED COST");
}

// A table of `groups` groups of `items` items each, named by `name(group, item)` (item 0
// names the group).
CategoryTable NamedTable(int groups, int items, const std::function<QString(int, int)>& name) {
    CategoryTable table;
    int key = 0;
    for (int g = 1; g <= groups; ++g) {
        const QString groupKey = QString::number(++key) + '_';
        table.push_back({groupKey, QStringLiteral("0_"), name(g, 0), {}});
        for (int i = 1; i <= items; ++i)
            table.push_back({QString::number(++key) + '_', groupKey, name(g, i), {}});
    }
    return table;
}

// Names of emoji (two UTF-16 units each) put characters at every place of the shared-string
// table's records, and at their ends; xlrd reads each record's characters on their own.
TEST(ExternalSheetXlrd, NamesOfEmojiReadBackWhole) {
    if (!HaveXlrd()) GTEST_SKIP() << "python3-xlrd is not installed";
    const QString house = QString::fromUtf8("\xF0\x9F\x8F\xA0");
    const QString smile = QString::fromUtf8("\xF0\x9F\x98\x80");
    const std::pair<const char*, CategoryTable> tables[] = {
        {"30 groups of 20 items",
         NamedTable(30, 20,
                    [&](int g, int i) { return house + QStringLiteral(" %1-%2").arg(g).arg(i); })},
        {"a name of 4,100 emoji", NamedTable(1, 1,
                                             [&](int, int i) {
                                                 return i == 0 ? QStringLiteral("G")
                                                               : smile.repeated(4100);
                                             })},
    };
    for (const auto& [what, table] : tables) {
        SCOPED_TRACE(what);
        ss::Application app;
        app.Workbooks().Add();
        sheet::BuildBudgetSheet(app, table, DefaultBudget::FirstRunIncomes(),
                                model::WorkbookPalette());
        ss::Workbook& book = app.ActiveWorkbook();
        ss::Recalculate(book);
        QTemporaryDir dir;
        const QString path = dir.filePath("emoji.xls");
        ss::SaveXls(book, path.toStdString());

        const ss::Workbook ours = ss::LoadXls(path.toStdString());
        const QJsonObject cells =
            XlrdDump(path)["sheets"].toArray()[0].toObject()["cells"].toObject();
        int names = 0;
        for (const auto& [at, cell] : book.Sheets()[0]->Cells()) {
            const auto* text = std::get_if<std::string>(&cell.content);
            if (text == nullptr || text->find("\xF0\x9F") == std::string::npos) continue;
            ++names;
            const std::string name = ss::CellName(at);
            const ss::Cell* back = ours.Sheets()[0]->Find(at);
            ASSERT_NE(back, nullptr) << name;
            EXPECT_EQ(std::get<std::string>(back->content), *text) << name;
            EXPECT_EQ(cells[QString::fromStdString(name)].toObject()["value"].toString(),
                      QString::fromStdString(*text))
                << name;
        }
        EXPECT_EQ(names, static_cast<int>(table.size()) - (table.size() == 2 ? 1 : 0));
    }
}

TEST(ExternalSheetLibreOffice, RecalculatesEnteredCostsAndPrintsOnOneA4Page) {
    if (!HaveSoffice()) GTEST_SKIP() << "LibreOffice is not installed";
    QTemporaryDir dir;
    const QString workbook = WriteDefaultWorkbook(dir);

    // Costs typed into item cells and saved without recalculating: every sum in the file
    // still says 0, so whatever LibreOffice shows comes from the file's formulas.
    const std::pair<const char*, double> costs[] = {
        {"C15", 1200}, {"D15", 1250}, {"C16", 80}, {"D30", 45},  // HOUSING, TRANSPORTATION
        {"H15", 60},   {"I15", 90},   {"H28", 400}};             // ENTERTAINMENT, LOANS
    const std::string stale = dir.filePath("stale.xls").toStdString();
    {
        ss::Application app;
        app.Workbooks().Open(workbook.toStdString());
        for (const auto& [a1, cost] : costs) app.Range(a1).SetFormulaR1C1(cost);
        ss::SaveXls(app.ActiveWorkbook(), stale);
    }
    const ss::Workbook staleBook = ss::LoadXls(stale);
    ASSERT_EQ(staleBook.Sheets()[0]->Find({60, 9})->Cached(), ss::Value(0.0)) << "J61 not stale";

    const ProcessResult csv = Soffice(dir, {"--convert-to", kCsvFilter, "--outdir",
                                            dir.filePath("out"), QString::fromStdString(stale)});
    ASSERT_TRUE(csv.ok) << csv.err.toStdString();
    QFile csvFile(dir.filePath("out/stale.csv"));
    ASSERT_TRUE(csvFile.open(QIODevice::ReadOnly));
    const auto rows = ParseCsv(csvFile.readAll());
    auto shown = [&](const char* a1) {
        const ss::CellRef at = ss::ParseA1Range(a1).first;
        const auto row = static_cast<std::size_t>(at.row), col = static_cast<std::size_t>(at.col);
        return row < rows.size() && col < rows[row].size() ? rows[row][col] : "<none>";
    };
    // Projected 1200 + 80 + 60 + 400, actual 1250 + 45 + 90.
    const std::pair<const char*, const char*> expected[] = {
        {"E15", "-50"}, {"E16", "80"},  {"C25", "1280"}, {"D25", "1250"}, {"E25", "30"},
        {"D35", "45"},  {"E35", "-45"}, {"H24", "60"},   {"I24", "90"},   {"J24", "-30"},
        {"H33", "400"}, {"J33", "400"}, {"J61", "1740"}, {"J63", "1385"}, {"J65", "355"},
        {"J6", "1360"}, {"J8", "1435"}, {"J10", "75"},   {"E8", "3100"},  {"E12", "2820"}};
    for (const auto& [a1, value] : expected) EXPECT_EQ(shown(a1), value) << a1;

    // And the engine's own recalculation agrees everywhere.
    ss::Application engine;
    engine.Workbooks().Open(stale);
    engine.Calculate();
    for (const auto& [at, cell] : engine.ActiveSheet().Cells()) {
        if (cell.AsFormula() == nullptr) continue;
        const std::string name = ss::CellName(at);
        EXPECT_EQ(std::stod(shown(name.c_str())), std::get<double>(cell.Cached())) << name;
    }

    const ProcessResult pdf =
        Soffice(dir, {"--convert-to", "pdf", "--outdir", dir.filePath("out"), workbook});
    ASSERT_TRUE(pdf.ok) << pdf.err.toStdString();
    const ProcessResult info = RunProgram("/usr/bin/pdfinfo", {dir.filePath("out/budget.pdf")});
    ASSERT_TRUE(info.ok) << "pdfinfo failed";
    const std::string text = info.out.toStdString();
    EXPECT_NE(text.find("Pages:           1\n"), std::string::npos) << text;
    EXPECT_NE(text.find(" x 841.89 pts (A4)"), std::string::npos) << text;
}

}  // namespace
}  // namespace quill::test
