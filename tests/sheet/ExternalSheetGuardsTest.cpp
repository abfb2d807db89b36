// The budget's guards as independent readers see them: Apache POI in the .xls and openpyxl
// in the .xlsx find the protection, the unlocked amount cells, the over-budget highlight and
// the amount validations the engine built; LibreOffice keeps the highlight when it converts
// the .xls to .xlsx, and prints an over-budget cell with the light red fill where our PDF
// has it; Gnumeric reads both files without a warning.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include "spreadsheet/formula/Formula.h"
#include "spreadsheet/objectmodel/ObjectModel.h"
#include "spreadsheet/render/SheetPages.h"
#include "spreadsheet/xls/XlsFile.h"
#include "support/ExternalPrograms.h"
#include "support/ScratchConfig.h"

namespace quill::test {
namespace {

namespace ss = spreadsheet;

QString Companion(const QTemporaryDir& dir, const QString& name) {
    ScratchConfig config;
    const QString path = dir.filePath(name);
    const ProcessResult run = RunCompanion({"--defaults", "-o", path});
    EXPECT_TRUE(run.ok) << run.err.toStdString();
    return path;
}

// The guards in one form for every reader: areas as A1 texts, numbers as numbers.
struct Rule {
    std::string areas;  // blank-separated areas
    double first = 0;
    double second = 0;
    friend auto operator<=>(const Rule&, const Rule&) = default;
};
void PrintTo(const Rule& r, std::ostream* out) {
    *out << r.areas << " (" << r.first << ", " << r.second << ")";
}
struct Guards {
    bool isProtected = false;
    std::set<std::string> unlocked;
    std::set<Rule> highlights;        // each "less than", red on light red
    std::set<Rule> validations;       // each decimal "between", a stopping "Amount" box
    std::vector<std::string> faults;  // whatever differs from those kinds
};

// What the engine itself built, read back from its own .xls.
Guards OurGuards(const QString& xls) {
    const ss::Workbook book = ss::LoadXls(xls.toStdString());
    const ss::Worksheet& sheet = *book.Sheets()[0];
    Guards g;
    g.isProtected = sheet.isProtected;
    for (const auto& [at, cell] : sheet.Cells())
        if (!book.EffectiveFormat(sheet, at).locked) g.unlocked.insert(ss::CellName(at));
    auto areas = [](const std::vector<ss::RangeRef>& list) {
        std::string text;
        for (const ss::RangeRef& a : list) text += (text.empty() ? "" : " ") + ss::RangeName(a);
        return text;
    };
    for (const ss::ConditionalFormat& r : sheet.conditionalFormats)
        g.highlights.insert({areas(r.areas), r.first, 0});
    for (const ss::DataValidation& v : sheet.validations)
        g.validations.insert({areas(v.areas), v.first, v.second});
    return g;
}

double Number(const QString& text) {
    return std::strtod(text.toStdString().c_str(), nullptr);
}

Guards PoiGuards(const QTemporaryDir& dir, const QString& xls, const std::string& message) {
    const ProcessResult run = PoiCheck(dir, {xls});
    EXPECT_TRUE(run.ok) << run.err.toStdString();
    Guards g;
    for (const QByteArray& line : run.out.split('\n')) {
        const QStringList f = QString::fromUtf8(line).split('\t');
        if (f[0] == "protected") g.isProtected = f[2] == "true";
        if (f[0] == "unlocked") g.unlocked.insert(ss::CellName({f[2].toInt(), f[3].toInt()}));
        if (f[0] == "cf") {
            // Cell-value rule (1), less than (6), palette red (icv 10) on light red (icv 29).
            if (f[3] != "1" || f[4] != "6" || f[7] != "10" || f[8] != "29")
                g.faults.push_back(line.toStdString());
            g.highlights.insert({f[2].toStdString(), Number(f[5]), 0});
        }
        if (f[0] == "dv") {
            // Decimal (2), between (0), stop (0), titles and message as built, no drop-down.
            if (f[3] != "2" || f[4] != "0" || f[7] != "0" || f[8] != "Amount" ||
                f[9].toStdString() != message || f[10] != "Amount" || f[11].isEmpty())
                g.faults.push_back(line.toStdString());
            g.validations.insert({f[2].toStdString(), Number(f[5]), Number(f[6])});
        }
    }
    return g;
}

Guards OpenpyxlGuards(const QString& xlsx, const std::string& message) {
    const QJsonObject sheet = OpenpyxlDump(xlsx)["sheets"].toArray()[0].toObject();
    Guards g;
    // Protected without a password, selecting locked cells allowed.
    g.isProtected = sheet["protected"].toBool() && sheet["password"].isNull() &&
                    sheet["select_locked"].toBool();
    for (const QJsonValue& c : sheet["unlocked"].toArray())
        g.unlocked.insert(c.toString().toStdString());
    for (const QJsonValue& v : sheet["conditional"].toArray()) {
        const QJsonObject r = v.toObject();
        if (r["type"] != "cellIs" || r["operator"] != "lessThan" ||
            Ints(r["font_rgb"]) != std::vector<int>{255, 0, 0} ||
            Ints(r["fill_rgb"]) != std::vector<int>{255, 128, 128})
            g.faults.push_back(QJsonDocument(r).toJson().toStdString());
        g.highlights.insert(
            {r["range"].toString().toStdString(), Number(r["formula"].toArray()[0].toString()), 0});
    }
    for (const QJsonValue& v : sheet["validations"].toArray()) {
        const QJsonObject r = v.toObject();
        // "between" and "stop" are the file format's defaults, which may be left out.
        const QString style = r["error_style"].toString();
        const QString op = r["operator"].toString();
        if (r["type"] != "decimal" || (!op.isEmpty() && op != "between") ||
            (!style.isEmpty() && style != "stop") || r["error_title"] != "Amount" ||
            r["error"].toString().toStdString() != message || r["prompt_title"] != "Amount" ||
            !r["allow_blank"].toBool())
            g.faults.push_back(QJsonDocument(r).toJson().toStdString());
        g.validations.insert({r["range"].toString().toStdString(), Number(r["formula1"].toString()),
                              Number(r["formula2"].toString())});
    }
    return g;
}

TEST(ExternalSheetGuards, PoiAndOpenpyxlReadTheGuardsAsBuilt) {
    if (!HavePoi() || !HaveOpenpyxl()) GTEST_SKIP() << "Apache POI or openpyxl missing";
    QTemporaryDir dir;
    const QString xls = Companion(dir, "budget.xls");
    const Guards ours = OurGuards(xls);
    ASSERT_EQ(ours.validations.size(), 16u);  // 12 sections, the four single incomes
    ASSERT_EQ(ours.highlights.size(), 13u);   // 12 sections, the total difference
    const std::string message =
        ss::LoadXls(xls.toStdString()).Sheets()[0]->validations.front().errorMessage;

    const std::pair<const char*, Guards> readers[] = {
        {"POI, .xls", PoiGuards(dir, xls, message)},
        {"openpyxl, .xlsx", OpenpyxlGuards(Companion(dir, "budget.xlsx"), message)},
    };
    for (const auto& [reader, theirs] : readers) {
        SCOPED_TRACE(reader);
        EXPECT_TRUE(theirs.isProtected);
        EXPECT_EQ(theirs.unlocked, ours.unlocked);
        EXPECT_EQ(theirs.highlights, ours.highlights);
        EXPECT_EQ(theirs.validations, ours.validations);
        EXPECT_TRUE(theirs.faults.empty()) << theirs.faults.front();
    }
}

// The cells of blank-separated A1 areas.
std::set<std::string> CellsOf(const std::string& areas) {
    std::set<std::string> cells;
    for (const QString& a : QString::fromStdString(areas).split(' ', Qt::SkipEmptyParts)) {
        const ss::RangeRef r = ss::ParseA1Range(a.toStdString());
        for (int row = r.first.row; row <= r.last.row; ++row)
            for (int col = r.first.col; col <= r.last.col; ++col)
                cells.insert(ss::CellName({row, col}));
    }
    return cells;
}

TEST(ExternalSheetGuards, LibreOfficeKeepsTheHighlightWhenItConvertsTheXls) {
    if (!HaveSoffice() || !HaveOpenpyxl()) GTEST_SKIP() << "LibreOffice or openpyxl missing";
    QTemporaryDir dir;
    const QString xls = Companion(dir, "budget.xls");
    const ProcessResult run =
        Soffice(dir, {"--convert-to", "xlsx", "--outdir", dir.filePath("lo"), xls});
    ASSERT_TRUE(run.ok) << run.err.toStdString();
    const Guards theirs = OpenpyxlGuards(dir.filePath("lo/budget.xlsx"), "");
    const Guards ours = OurGuards(xls);
    // LibreOffice may join areas of equal rules: the cells count.
    std::set<std::string> highlighted, expected;
    for (const Rule& r : theirs.highlights) {
        EXPECT_EQ(r.first, 0);
        for (const std::string& c : CellsOf(r.areas)) highlighted.insert(c);
    }
    for (const Rule& r : ours.highlights)
        for (const std::string& c : CellsOf(r.areas)) expected.insert(c);
    EXPECT_EQ(highlighted, expected);
    EXPECT_TRUE(theirs.isProtected);
    EXPECT_EQ(theirs.unlocked, ours.unlocked);
}

// The box around the pixels of a page (drawn by pdftoppm at `dpi`) that show the light red
// fill, and the box around everything darker than light grey, for comparing where on the
// printed sheet the fill stands.
struct Marks {
    QRect red;
    QRect ink;
    int redPixels = 0;
    int inkPixels = 0;
};
Marks MarksOf(const QString& pdf, const QString& stem) {
    const ProcessResult run =
        RunProgram("/usr/bin/pdftoppm", {"-r", "50", "-singlefile", pdf, stem});
    EXPECT_TRUE(run.ok) << run.err.toStdString();
    const QImage page = QImage(stem + ".ppm").convertToFormat(QImage::Format_RGB32);
    Marks m;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QRgb p = page.pixel(x, y);
            if (qRed(p) > 235 && std::abs(qGreen(p) - 128) < 20 && std::abs(qBlue(p) - 128) < 20)
                m.red |= QRect(x, y, 1, 1), ++m.redPixels;
            if (qGray(p) < 160) m.ink |= QRect(x, y, 1, 1), ++m.inkPixels;
        }
    return m;
}

TEST(ExternalSheetGuards, LibreOfficePrintsAnOverBudgetCellRedWhereOurPdfDoes) {
    if (!HaveSoffice() || !HaveOpenpyxl()) GTEST_SKIP() << "LibreOffice or openpyxl missing";
    QTemporaryDir dir;
    const QString xlsx = Companion(dir, "budget.xlsx");
    // The first housing item over budget: typed into the .xlsx by openpyxl, recalculated
    // and printed by LibreOffice.
    const ProcessResult edit = RunProgram(kPython, {"-c",
                                                    "import sys, openpyxl\n"
                                                    "book = openpyxl.load_workbook(sys.argv[1])\n"
                                                    "book.active['C15'] = 1200\n"
                                                    "book.active['D15'] = 1300\n"
                                                    "book.save(sys.argv[2])\n",
                                                    xlsx, dir.filePath("over.xlsx")});
    ASSERT_TRUE(edit.ok) << edit.err.toStdString();
    RecalculateXlsxOnLoad(dir);
    const ProcessResult pdf = Soffice(
        dir, {"--convert-to", "pdf", "--outdir", dir.filePath("lo"), dir.filePath("over.xlsx")});
    ASSERT_TRUE(pdf.ok) << pdf.err.toStdString();

    // The same figures in our own sheet, printed by the engine.
    ss::Application app;
    app.Workbooks().Open(Companion(dir, "budget.xls").toStdString());
    app.Range("C15").SetFormulaR1C1(1200.0);
    app.Range("D15").SetFormulaR1C1(1300.0);
    app.Calculate();
    QFile ours(dir.filePath("ours.pdf"));
    ASSERT_TRUE(ours.open(QIODevice::WriteOnly));
    ours.write(ss::WritePdf(app.ActiveWorkbook()));
    ours.close();

    const Marks a = MarksOf(dir.filePath("ours.pdf"), dir.filePath("ours"));
    const Marks b = MarksOf(dir.filePath("lo/over.pdf"), dir.filePath("theirs"));
    ASSERT_FALSE(a.red.isEmpty()) << "our page shows no light red";
    ASSERT_FALSE(b.red.isEmpty()) << "LibreOffice's page shows no light red";
    // The red cells (the item's and its section's difference, the total difference) stand
    // at the same places of the printed sheet, within a cell's height.
    auto at = [](const Marks& m, QPoint p) {
        return QPointF(double(p.x() - m.ink.left()) / m.ink.width(),
                       double(p.y() - m.ink.top()) / m.ink.height());
    };
    for (const auto& [ourPoint, theirPoint] :
         {std::pair{at(a, a.red.topLeft()), at(b, b.red.topLeft())},
          std::pair{at(a, a.red.bottomRight()), at(b, b.red.bottomRight())}}) {
        EXPECT_NEAR(ourPoint.x(), theirPoint.x(), 0.03);
        EXPECT_NEAR(ourPoint.y(), theirPoint.y(), 0.02);
    }
    // As many red cells on both pages: the three, not every difference of the sheet.
    const double ourShare = double(a.redPixels) / (a.ink.width() * a.ink.height());
    const double theirShare = double(b.redPixels) / (b.ink.width() * b.ink.height());
    EXPECT_NEAR(theirShare / ourShare, 1, 0.3) << a.redPixels << " " << b.redPixels;
}

TEST(ExternalSheetGuards, GnumericReadsBothFilesWithoutWarnings) {
    if (!HaveSsconvert()) GTEST_SKIP() << "Gnumeric (ssconvert) is not installed";
    QTemporaryDir dir;
    for (const char* name : {"budget.xls", "budget.xlsx"}) {
        SCOPED_TRACE(name);
        const QString input = Companion(dir, name);
        const ProcessResult run =
            RunProgram("/usr/bin/ssconvert", {"-T", "Gnumeric_stf:stf_csv", input, input + ".csv"});
        EXPECT_TRUE(run.ok) << run.err.toStdString();
        EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
    }
}

}  // namespace
}  // namespace quill::test
