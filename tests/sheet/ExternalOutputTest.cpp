// The default budget as .xlsx and as PDF, checked by independent software: openpyxl reads the
// .xlsx back with the same cells, formats and page set-up as xlrd reads from the .xls;
// LibreOffice and Gnumeric recalculate its formulas to the engine's values; LibreOffice
// prints it on one A4 page. The PDF is one A4 page of selectable text in embedded fonts,
// without pictures, that looks like LibreOffice's own print of the .xls.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>

#include <cmath>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "DefaultBudget.h"
#include "model/CategoryCsv.h"
#include "model/DefaultCategorySet.h"
#include "model/WorkbookPalette.h"
#include "spreadsheet/formula/Formula.h"
#include "spreadsheet/xls/XlsFile.h"
#include "spreadsheet/xlsx/XlsxFile.h"
#include "support/ExternalPrograms.h"
#include "support/FileBytes.h"
#include "support/ScratchConfig.h"

namespace quill::test {
namespace {

namespace ss = spreadsheet;

const char* const kGroups[] = {"HOUSING", "TRANSPORTATION",         "INSURANCE",           "FOOD",
                               "PETS",    "PERSONAL CARE",          "ENTERTAINMENT",       "LOANS",
                               "TAXES",   "SAVINGS OR INVESTMENTS", "GIFTS AND DONATIONS", "LEGAL"};

// The default budget written by the companion into `dir` under `name`.
QString Companion(const QTemporaryDir& dir, const QString& name, const QStringList& extra = {}) {
    ScratchConfig config;
    const QString path = dir.filePath(name);
    const ProcessResult run = RunCompanion(QStringList{"--defaults", "-o", path} + extra);
    EXPECT_TRUE(run.ok) << run.err.toStdString();
    return path;
}

QString A1(int row, int col) {
    return QString::fromStdString(ss::CellName({row, col}));
}

TEST(ExternalXlsxOpenpyxl, ReadsBackTheSameCellsFormatsAndPageSetUpAsXlrdFromTheXls) {
    if (!HaveXlrd() || !HaveOpenpyxl()) GTEST_SKIP() << "python3-xlrd or openpyxl missing";
    QTemporaryDir dir;
    const QString xls = Companion(dir, "budget.xls");
    const QString xlsx = Companion(dir, "budget.xlsx");
    const QJsonObject xlrdSheet = XlrdDump(xls)["sheets"].toArray()[0].toObject();
    const QJsonObject opx = OpenpyxlDump(xlsx);
    ASSERT_EQ(opx["sheets"].toArray().size(), 1);
    const QJsonObject sheet = opx["sheets"].toArray()[0].toObject();
    EXPECT_EQ(sheet["name"].toString(), xlrdSheet["name"].toString());

    // The formulas as the engine gives them in A1 notation, from the .xls it wrote.
    const ss::Workbook book = ss::LoadXls(xls.toStdString());
    const ss::Worksheet& model = *book.Sheets()[0];

    const QJsonObject xlrdCells = xlrdSheet["cells"].toObject();
    const QJsonObject cells = sheet["cells"].toObject();
    int formulas = 0;
    for (auto it = xlrdCells.begin(); it != xlrdCells.end(); ++it) {
        SCOPED_TRACE(it.key().toStdString());
        const QJsonObject want = it.value().toObject();
        const ss::Cell* cell = model.Find(ss::ParseA1Range(it.key().toStdString()).first);
        if (cell == nullptr) continue;  // xlrd lists some cells that hold nothing of their own
        const ss::CellRef at = ss::ParseA1Range(it.key().toStdString()).first;
        const QJsonObject got = cells[it.key()].toObject();
        // openpyxl keeps no formats of its own for the covered cells of a merged area.
        const ss::RangeRef* merge = model.MergeAt(at);
        if (merge != nullptr && merge->first != at) {
            EXPECT_TRUE(got["value"].isNull() || got["value"].isUndefined());
            continue;
        }
        ASSERT_FALSE(got.isEmpty());
        if (cell->AsFormula() != nullptr) {
            ++formulas;
            EXPECT_EQ(got["value"].toString().toStdString(),
                      ss::FormulaToA1(*cell->AsFormula(), at));
            EXPECT_EQ(got["cached"].toDouble(), want["value"].toDouble());
        } else if (want["type"].toInt() == 2) {  // number
            EXPECT_EQ(got["value"].toDouble(), want["value"].toDouble());
        } else if (want["type"].toInt() == 1) {  // text
            EXPECT_EQ(got["value"].toString(), want["value"].toString());
        } else {
            EXPECT_TRUE(got["value"].isNull());
        }
        const QJsonObject xf = want["xf"].toObject();
        const QJsonObject wantFont = xf["font"].toObject(), font = got["font"].toObject();
        EXPECT_EQ(font["name"].toString(), wantFont["name"].toString());
        EXPECT_EQ(font["size"].toDouble(), wantFont["height"].toInt() / 20.0);
        EXPECT_EQ(font["bold"].toBool(), wantFont["bold"].toBool());
        EXPECT_EQ(font["italic"].toBool(), wantFont["italic"].toBool());
        EXPECT_EQ(Ints(got["fill_rgb"]), Ints(xf["fill_rgb"]));
        EXPECT_EQ(got["format"].toString(), xf["format"].toString());
        const char* horizontal[] = {"", "left", "center", "right"};
        EXPECT_EQ(got["horizontal"].toString(), horizontal[xf["hor_align"].toInt() & 3]);
        const char* vertical[] = {"top", "center", ""};
        EXPECT_EQ(got["vertical"].toString(), vertical[std::min(xf["vert_align"].toInt(), 2)]);
        EXPECT_EQ(got["wrap"].toBool(), xf["wrap"].toInt() == 1);
        const std::vector<int> lines = Ints(xf["borders"]);
        const QJsonArray styles = got["borders"].toArray();
        ASSERT_EQ(styles.size(), 4);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(styles[i].toString(), lines[static_cast<std::size_t>(i)] == 1 ? "thin" : "")
                << "border " << i;
    }
    EXPECT_EQ(formulas, 12 * 3 + 65 + 3 + 5);

    std::set<QString> merges, wanted;
    for (const QJsonValue& m : sheet["merged"].toArray()) merges.insert(m.toString());
    for (const QJsonValue& m : xlrdSheet["merged"].toArray()) {
        const std::vector<int> r = Ints(m);  // first row, row after, first column, column after
        wanted.insert(A1(r[0], r[2]) + ":" + A1(r[1] - 1, r[3] - 1));
    }
    EXPECT_EQ(merges, wanted);

    // Widths of A to J as spreadsheet programs show them, in pixels of the default font's
    // 7-pixel digits: libxlsxwriter stores whole pixels (91 px as 13 characters), the .xls
    // file the width in 1/256 characters (13.05 for the same 91 px).
    auto shownPixels = [](double stored) {
        return static_cast<int>(std::trunc((256 * stored + std::trunc(128.0 / 7)) / 256 * 7));
    };
    const QJsonObject widths = sheet["col_widths"].toObject();
    const QJsonObject xlsWidths = xlrdSheet["col_widths"].toObject();
    for (int c = 0; c < 10; ++c) {
        const QString letter = QString::fromStdString(ss::ColumnName(c));
        EXPECT_EQ(shownPixels(widths[letter].toDouble()),
                  shownPixels(xlsWidths[QString::number(c)].toInt() / 256.0))
            << letter.toStdString();
    }
    const QJsonObject heights = sheet["row_heights"].toObject();
    const QJsonObject xlsHeights = xlrdSheet["row_heights"].toObject();
    EXPECT_EQ(heights.size(), 300);
    for (auto it = xlsHeights.begin(); it != xlsHeights.end(); ++it)
        EXPECT_EQ(heights[QString::number(it.key().toInt() + 1)].toDouble(),
                  it.value().toInt() / 20.0)
            << "row " << it.key().toInt() + 1;
    EXPECT_EQ(sheet["default_row_height"].toDouble(), 12.75);

    // Print area, paper, orientation, one page wide and tall, margins, selection.
    const QJsonObject xlsDump = XlrdDump(xls);
    const std::vector<int> area = Ints(xlsDump["print_areas"].toObject()["0"]);
    EXPECT_EQ(sheet["print_area"].toArray()[0].toString(),
              "$A$1:$" + QString::fromStdString(ss::ColumnName(area[3] - 1)) + "$" +
                  QString::number(area[1]));
    EXPECT_EQ(sheet["paper"].toInt(), 9);
    EXPECT_EQ(sheet["orientation"].toString(), "portrait");
    EXPECT_TRUE(sheet["fit_to_page"].toBool());
    // 1 is the file format's default for both, and may be left out.
    EXPECT_TRUE(sheet["fit_wide"].isNull() || sheet["fit_wide"].toInt() == 1);
    EXPECT_TRUE(sheet["fit_tall"].isNull() || sheet["fit_tall"].toInt() == 1);
    std::vector<double> margins;
    for (const QJsonValue& m : sheet["margins"].toArray()) margins.push_back(m.toDouble());
    EXPECT_EQ(margins, (std::vector<double>{0.7, 0.7, 0.5, 0.5, 0, 0}));
    EXPECT_EQ(sheet["selection"].toString().toStdString(), ss::RangeName(model.selection));
    EXPECT_EQ(sheet["active_cell"].toString().toStdString(), ss::CellName(model.activeCell));
}

// Costs typed into item cells of the default budget and saved as .xlsx without computing the
// formulas again: the file's results are stale, so the values another program shows come
// from the file's own formulas. Returns the engine's values of every formula cell.
std::map<std::string, double> StaleWorkbook(const QString& xls, const std::string& xlsx) {
    ss::Application app;
    app.Workbooks().Open(xls.toStdString());
    const std::pair<const char*, double> costs[] = {{"C15", 1200}, {"D15", 1250}, {"C16", 80},
                                                    {"D30", 45},   {"H15", 60},   {"I15", 90},
                                                    {"H28", 400}};
    for (const auto& [a1, cost] : costs) app.Range(a1).SetFormulaR1C1(cost);
    const std::vector<std::uint8_t> bytes = ss::WriteXlsx(app.ActiveWorkbook());
    EXPECT_TRUE(WriteAll(QString::fromStdString(xlsx),
                         QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                    static_cast<qsizetype>(bytes.size()))));
    app.Calculate();
    std::map<std::string, double> values;
    for (const auto& [at, cell] : app.ActiveSheet().Cells())
        if (cell.AsFormula() != nullptr) values[ss::CellName(at)] = std::get<double>(cell.Cached());
    return values;
}

// The .xlsx file `stale` (named stale.xlsx, holding formula results that are out of date)
// computed by LibreOffice, told to recalculate on load and written as CSV of plain values,
// and by Gnumeric, recalculating before it writes its own .xlsx, read back by openpyxl.
void RecalculateElsewhere(QTemporaryDir& dir, const std::string& stale,
                          std::vector<std::vector<std::string>>& rows, QJsonObject& gnumericCells) {
    RecalculateXlsxOnLoad(dir);
    const ProcessResult csv = Soffice(dir, {"--convert-to", kCsvFilter, "--outdir",
                                            dir.filePath("lo"), QString::fromStdString(stale)});
    ASSERT_TRUE(csv.ok) << csv.err.toStdString();
    QFile csvFile(dir.filePath("lo/stale.csv"));
    ASSERT_TRUE(csvFile.open(QIODevice::ReadOnly));
    rows = ParseCsv(csvFile.readAll());
    const QString gnumeric = dir.filePath("gnumeric.xlsx");
    const ProcessResult ss = RunProgram(
        "/usr/bin/ssconvert",
        {"--recalc", "-T", "Gnumeric_Excel:xlsx2", QString::fromStdString(stale), gnumeric});
    ASSERT_TRUE(ss.ok) << ss.err.toStdString();
    gnumericCells = OpenpyxlDump(gnumeric)["sheets"].toArray()[0].toObject()["cells"].toObject();
}

TEST(ExternalXlsxRecalculation, LibreOfficeAndGnumericComputeTheEngineValues) {
    if (!HaveSoffice() || !HaveSsconvert() || !HaveOpenpyxl())
        GTEST_SKIP() << "LibreOffice, Gnumeric or openpyxl missing";
    QTemporaryDir dir;
    const QString xls = Companion(dir, "budget.xls");
    const std::string stale = dir.filePath("stale.xlsx").toStdString();
    const std::map<std::string, double> expected = StaleWorkbook(xls, stale);
    ASSERT_EQ(expected.at("J61"), 1740);  // the costs reach the grand totals
    ASSERT_EQ(expected.at("J10"), 75);

    std::vector<std::vector<std::string>> rows;
    QJsonObject gnumericCells;
    ASSERT_NO_FATAL_FAILURE(RecalculateElsewhere(dir, stale, rows, gnumericCells));

    for (const auto& [name, value] : expected) {
        const ss::CellRef at = ss::ParseA1Range(name).first;
        const auto r = static_cast<std::size_t>(at.row), c = static_cast<std::size_t>(at.col);
        const std::string shown = r < rows.size() && c < rows[r].size() ? rows[r][c] : "<none>";
        EXPECT_EQ(shown, QString::number(value).toStdString()) << "LibreOffice " << name;
        EXPECT_EQ(gnumericCells[QString::fromStdString(name)].toObject()["cached"].toDouble(),
                  value)
            << "Gnumeric " << name;
    }
}

// A budget with planned amounts, given to the companion as a CSV file, with actual costs
// typed in afterwards and saved without computing again: LibreOffice (.xlsx), Gnumeric
// (.xlsx) and POI (.xls) compute every formula to the engine's value, and the key figures to
// the amounts worked out by hand.
TEST(ExternalPlannedBudget, LibreOfficeGnumericAndPoiComputeTheTotalsOfPlannedAmounts) {
    if (!HaveSoffice() || !HaveSsconvert() || !HaveOpenpyxl() || !HavePoi())
        GTEST_SKIP() << "LibreOffice, Gnumeric, openpyxl or POI missing";
    QTemporaryDir dir;
    CategoryTable table = model::DefaultCategorySet();
    const std::pair<const char*, std::int64_t> planned[] = {
        {"Mortgage or rent", 120050}, {"Phone", 4525}, {"Video/DVD", 6010}, {"Student", 40000}};
    for (const auto& [name, cents] : planned)
        for (CategoryRow& row : table)
            if (row.RowText == QLatin1String(name)) row.Planned = model::Amount::FromCents(cents);
    ASSERT_TRUE(WriteAll(dir.filePath("plan.csv"), model::WriteCategoryCsv(table)));
    const QString xls = dir.filePath("planned.xls");
    {
        ScratchConfig config;
        const ProcessResult run =
            RunCompanion({"--categories", dir.filePath("plan.csv"), "-o", xls});
        ASSERT_TRUE(run.ok) << run.err.toStdString();
    }

    // Actual costs typed in: the stored results are stale from here on.
    ss::Application app;
    app.Workbooks().Open(xls.toStdString());
    EXPECT_EQ(app.Range("C15").Value2(), ss::Value(1200.50));
    EXPECT_EQ(app.Range("H28").Value2(), ss::Value(400.0));  // LOANS, Student
    app.Range("D15").SetFormulaR1C1(1250.0);
    app.Range("I15").SetFormulaR1C1(90.0);
    const std::string staleXls = dir.filePath("stale.xls").toStdString();
    const std::string staleXlsx = dir.filePath("stale.xlsx").toStdString();
    ss::SaveXls(app.ActiveWorkbook(), staleXls);
    const std::vector<std::uint8_t> bytes = ss::WriteXlsx(app.ActiveWorkbook());
    ASSERT_TRUE(WriteAll(QString::fromStdString(staleXlsx),
                         QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                    static_cast<qsizetype>(bytes.size()))));
    app.Calculate();
    std::map<std::string, double> expected;
    for (const auto& [at, cell] : app.ActiveSheet().Cells())
        if (cell.AsFormula() != nullptr)
            expected[ss::CellName(at)] = std::get<double>(cell.Cached());
    // Projected 1200.50 + 45.25 + 60.10 + 400, actual 1250 + 90, incomes 3100 and 2820.
    const std::pair<const char*, double> golden[] = {{"J61", 1705.85}, {"J63", 1340},
                                                     {"J65", 365.85},  {"J6", 1394.15},
                                                     {"J8", 1480},     {"J10", 85.85}};
    for (const auto& [a1, value] : golden) EXPECT_NEAR(expected.at(a1), value, 1e-9) << a1;

    std::vector<std::vector<std::string>> rows;
    QJsonObject gnumericCells;
    ASSERT_NO_FATAL_FAILURE(RecalculateElsewhere(dir, staleXlsx, rows, gnumericCells));
    const ProcessResult poi = PoiCheck(dir, {QString::fromStdString(staleXls)});
    ASSERT_TRUE(poi.ok) << poi.err.toStdString();
    std::map<std::string, double> poiValues;
    for (const QByteArray& line : poi.out.split('\n')) {
        const QList<QByteArray> f = line.split('\t');
        if (f[0] != "formula" || f.size() != 7 || !f[6].startsWith("n:")) continue;
        poiValues[ss::CellName({f[2].toInt(), f[3].toInt()})] = f[6].mid(2).toDouble();
    }

    for (const auto& [name, value] : expected) {
        const ss::CellRef at = ss::ParseA1Range(name).first;
        const auto r = static_cast<std::size_t>(at.row), c = static_cast<std::size_t>(at.col);
        const std::string shown = r < rows.size() && c < rows[r].size() ? rows[r][c] : "<none>";
        EXPECT_NEAR(std::strtod(shown.c_str(), nullptr), value, 1e-9) << "LibreOffice " << name;
        EXPECT_NEAR(gnumericCells[QString::fromStdString(name)].toObject()["cached"].toDouble(),
                    value, 1e-9)
            << "Gnumeric " << name;
        ASSERT_TRUE(poiValues.count(name)) << "POI " << name;
        EXPECT_NEAR(poiValues.at(name), value, 1e-9) << "POI " << name;
    }
}

// Category names may hold characters that XML 1.0 cannot (control characters, U+FFFE and
// U+FFFF): the .xlsx shows U+FFFD for each and stays well-formed, the .xls keeps them.
TEST(ExternalXlsxOpenpyxl, CharactersXmlForbidsBecomeReplacementCharacters) {
    if (!HaveOpenpyxl()) GTEST_SKIP() << "openpyxl is not installed";
    const QChar fffd(0xFFFD);
    const std::pair<QString, QString> names[] = {
        // as typed, as the .xlsx shows it
        {QStringLiteral("Rent") + QChar(0xFFFE), QStringLiteral("Rent") + fffd},
        {QStringLiteral("Gas") + QChar(0xFFFF), QStringLiteral("Gas") + fffd},
        {QStringLiteral("Bell\x07 and \x1F"), QStringLiteral("Bell") + fffd + " and " + fffd},
        {QStringLiteral("Nul") + QChar(0) + 'x', QStringLiteral("Nul") + fffd + 'x'},
        {QStringLiteral("Tab\tand\nline"), QStringLiteral("Tab\tand\nline")},
    };
    CategoryTable table{{"1_", "0_", "GROUP", "GROUP"}};
    int key = 1;
    for (const auto& [typed, shown] : names)
        table.push_back({QString::number(++key) + '_', "1_", typed, {}});
    ss::Application app;
    app.Workbooks().Add();
    sheet::BuildBudgetSheet(app, table, DefaultBudget::FirstRunIncomes(), model::WorkbookPalette());
    ss::Workbook& book = app.ActiveWorkbook();
    ss::Recalculate(book);
    const ss::Worksheet& model = *book.Sheets()[0];

    QTemporaryDir dir;
    const QString xls = dir.filePath("names.xls");
    const QString xlsx = dir.filePath("names.xlsx");
    ss::SaveXls(book, xls.toStdString());
    const std::vector<std::uint8_t> bytes = ss::WriteXlsx(book);
    ASSERT_TRUE(WriteAll(xlsx, QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                          static_cast<qsizetype>(bytes.size()))));
    const QJsonObject cells =
        OpenpyxlDump(xlsx)["sheets"].toArray()[0].toObject()["cells"].toObject();
    const ss::Workbook back = ss::LoadXls(xls.toStdString());
    ASSERT_FALSE(cells.isEmpty()) << "openpyxl cannot read the .xlsx";

    // The only group's section: its header in B14, the items below it.
    const int header = 13;
    for (std::size_t i = 0; i < std::size(names); ++i) {
        const ss::CellRef at{header + 1 + static_cast<int>(i), 1};
        SCOPED_TRACE(ss::CellName(at));
        EXPECT_EQ(cells[A1(at.row, at.col)].toObject()["value"].toString(), names[i].second);
        const auto& typed = std::get<std::string>(model.Find(at)->content);
        EXPECT_EQ(std::get<std::string>(back.Sheets()[0]->Find(at)->content), typed);
        EXPECT_EQ(QString::fromStdString(typed), names[i].first);
    }
}

TEST(ExternalXlsxLibreOffice, PrintsTheDefaultBudgetOnOneA4Page) {
    if (!HaveSoffice()) GTEST_SKIP() << "LibreOffice is not installed";
    QTemporaryDir dir;
    const QString xlsx = Companion(dir, "budget.xlsx");
    const ProcessResult pdf =
        Soffice(dir, {"--convert-to", "pdf", "--outdir", dir.filePath("lo"), xlsx});
    ASSERT_TRUE(pdf.ok) << pdf.err.toStdString();
    const ProcessResult info = RunProgram("/usr/bin/pdfinfo", {dir.filePath("lo/budget.pdf")});
    ASSERT_TRUE(info.ok);
    const std::string text = info.out.toStdString();
    EXPECT_NE(text.find("Pages:           1\n"), std::string::npos) << text;
    EXPECT_NE(text.find("(A4)"), std::string::npos) << text;
}

TEST(ExternalPdf, DefaultBudgetIsOneA4PageOfSelectableTextInEmbeddedFonts) {
    QTemporaryDir dir;
    const QString pdf = Companion(dir, "budget.pdf");
    const ProcessResult info = RunProgram("/usr/bin/pdfinfo", {pdf});
    ASSERT_TRUE(info.ok) << "pdfinfo failed";
    EXPECT_TRUE(info.out.contains("Pages:           1\n")) << info.out.toStdString();
    EXPECT_TRUE(info.out.contains("595 x 842 pts (A4)")) << info.out.toStdString();

    const ProcessResult text = RunProgram("/usr/bin/pdftotext", {"-layout", pdf, "-"});
    ASSERT_TRUE(text.ok);
    for (const char* expected : {"Personal Finance", "PROJECTED BALANCE", "TOTAL DIFFERENCE",
                                 "$3,100", "$2,820", "($280)", "Mortgage or rent"})
        EXPECT_TRUE(text.out.contains(expected)) << expected;
    for (const char* group : kGroups) EXPECT_TRUE(text.out.contains(group)) << group;

    // Every font embedded; no picture anywhere.
    const ProcessResult fonts = RunProgram("/usr/bin/pdffonts", {pdf});
    ASSERT_TRUE(fonts.ok);
    const QList<QByteArray> lines = fonts.out.split('\n');
    int listed = 0;
    for (qsizetype i = 2; i < lines.size(); ++i) {
        if (lines[i].trimmed().isEmpty()) continue;
        ++listed;
        EXPECT_TRUE(lines[i].contains(" yes ")) << lines[i].toStdString();
    }
    EXPECT_GE(listed, 2) << "regular and bold";
    const ProcessResult images = RunProgram("/usr/bin/pdfimages", {"-list", pdf});
    ASSERT_TRUE(images.ok);
    EXPECT_EQ(images.out.count('\n'), 2) << images.out.toStdString();  // the heading only
}

// A page as pdftoppm draws it: grey, at `dpi`.
QImage PageImage(const QString& pdf, const QString& stem, int dpi) {
    const ProcessResult run = RunProgram(
        "/usr/bin/pdftoppm", {"-gray", "-r", QString::number(dpi), "-singlefile", pdf, stem});
    EXPECT_TRUE(run.ok) << run.err.toStdString();
    return QImage(stem + ".pgm").convertToFormat(QImage::Format_Grayscale8);
}

// The box around everything darker than light grey.
QRect InkBox(const QImage& page) {
    int x0 = page.width(), y0 = page.height(), x1 = -1, y1 = -1;
    for (int y = 0; y < page.height(); ++y) {
        const uchar* line = page.constScanLine(y);
        for (int x = 0; x < page.width(); ++x)
            if (line[x] < 160) {
                x0 = std::min(x0, x), x1 = std::max(x1, x);
                y0 = std::min(y0, y), y1 = std::max(y1, y);
            }
    }
    return x1 < 0 ? QRect() : QRect(QPoint(x0, y0), QPoint(x1, y1));
}

// Mean difference of grey levels (0 to 255) of two pictures of the same size.
double MeanDifference(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            sum += std::abs(int(a.constScanLine(y)[x]) - int(b.constScanLine(y)[x]));
    return sum / (a.width() * a.height());
}

TEST(ExternalPdf, PageLooksLikeLibreOfficesPrintOfTheXls) {
    if (!HaveSoffice()) GTEST_SKIP() << "LibreOffice is not installed";
    QTemporaryDir dir;
    const QString ours = Companion(dir, "budget.pdf");
    const QString xls = Companion(dir, "budget.xls");
    const ProcessResult lo =
        Soffice(dir, {"--convert-to", "pdf", "--outdir", dir.filePath("lo"), xls});
    ASSERT_TRUE(lo.ok) << lo.err.toStdString();
    constexpr int kDpi = 50;
    const QImage a = PageImage(ours, dir.filePath("ours"), kDpi);
    const QImage b = PageImage(dir.filePath("lo/budget.pdf"), dir.filePath("theirs"), kDpi);
    ASSERT_FALSE(a.isNull());
    ASSERT_EQ(a.size(), b.size()) << "the same paper";

    // The printed sheet stands at the same place and has about the same size. LibreOffice
    // turns column widths into its own units and so prints a few percent smaller.
    const QRect boxA = InkBox(a), boxB = InkBox(b);
    EXPECT_LE(std::abs(boxA.left() - boxB.left()), 2) << "left margin";
    EXPECT_LE(std::abs(boxA.top() - boxB.top()), 3) << "top margin";
    EXPECT_NEAR(double(boxB.width()) / boxA.width(), 1, 0.04);
    EXPECT_NEAR(double(boxB.height()) / boxA.height(), 1, 0.09);

    // Brought to one size, the two pages differ only in small details of the drawing.
    // About three by three pixels a sample: lines and letters blur into grey, while the
    // fills, the blocks of rows and where they stand remain.
    const QSize common(100, 150);
    const QImage sa = a.copy(boxA).scaled(common, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage sb = b.copy(boxB).scaled(common, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const double difference = MeanDifference(sa, sb);
    EXPECT_LT(difference, 20.0);  // measured 12.8
    // The measure tells pages apart: the same page moved by one row differs far more.
    const QImage moved = a.copy(boxA.translated(0, boxA.height() / 70))
                             .scaled(common, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    EXPECT_GT(MeanDifference(sa, moved), difference * 1.5);
}

}  // namespace
}  // namespace quill::test
