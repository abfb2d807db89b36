// The workbooks the companion writes, read by independent software: Apache POI opens each
// with its HSSF reader, lists every record with its record dumper and recalculates every
// formula with its own evaluator; Gnumeric's ssconvert and LibreOffice recalculate them
// too, and xlrd reads the stored results. All must agree with the results the engine
// stored, and POI must find the summary properties. The workbooks: the default one, 12 groups of 30
// items, 200 groups of 50 items, an empty table, and category names with quotes and non-ASCII
// letters.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QStringList>
#include <QTemporaryDir>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "model/CategoryState.h"
#include "model/SettingsStore.h"
#include "spreadsheet/xls/XlsFile.h"
#include "support/ExternalPrograms.h"
#include "support/ScratchConfig.h"

namespace quill::test {
namespace {

namespace ss = spreadsheet;

struct Produced {
    QString name;
    QString path;
};

// A stored table of one group and three items whose names need quoting and are not ASCII.
void StoreUnusualNames() {
    const std::vector<std::array<QString, 4>> rows = {
        {"1_", "0_", QString::fromUtf8("Bob's \"HOME\" – Ünïcode ☃"), ""},
        {"2_", "1_", QString::fromUtf8("Café \"au lait\""), ""},
        {"3_", "1_", QString::fromUtf8("Zoë's rent, 'quoted'"), ""},
        {"4_", "1_", QString::fromUtf8("€ savings ½ — 日本"), ""}};
    SettingsStore store;
    store.BeginBatch();
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (int f = 0; f < 4; ++f)
            store.SaveSetting(model::FieldKey(f + 1, static_cast<int>(r + 1)),
                              rows[r][static_cast<std::size_t>(f)]);
    store.SaveSetting(model::kRowsKey, QString::number(rows.size()));
    store.SaveSetting(model::kColumnsKey, "4");
    store.SaveSetting(model::kSavedKey, "True");
    store.CommitBatch();
}

std::vector<Produced> ProduceWorkbooks(const QTemporaryDir& dir) {
    ScratchConfig config;
    std::vector<Produced> out;
    auto make = [&](const QString& name, QStringList args) {
        const QString path = dir.filePath(name + ".xls");
        args << "-o" << path;
        const ProcessResult run = RunCompanion(args);
        EXPECT_TRUE(run.ok) << name.toStdString() << ": " << run.err.toStdString();
        out.push_back({name, path});
    };
    make("default", {"--defaults"});
    make("12x30", {"--synthetic", "12x30"});
    make("200x50", {"--synthetic", "200x50"});
    make("empty", {"--synthetic", "0x0"});
    StoreUnusualNames();
    make("names", {});
    // The stored names reached the sheet (and not the default set in their place).
    bool found = false;
    const ss::Workbook names = ss::LoadXls(out.back().path.toStdString());
    for (const auto& [at, cell] : names.Sheets()[0]->Cells()) {
        if (const auto* text = std::get_if<std::string>(&cell.content))
            found = found || *text == "Caf\xC3\xA9 \"au lait\"";
    }
    EXPECT_TRUE(found) << "names.xls lacks the stored names";
    return out;
}

// Our stored result against another program's text of a value ("n:3100.0" from POI, or
// a CSV field from Gnumeric).
void ExpectSameValue(const ss::Value& ours, const std::string& theirs, bool typed,
                     const std::string& where) {
    std::string text = theirs;
    char kind = 0;
    if (typed) {
        kind = theirs.empty() ? '?' : theirs[0];
        text = theirs.size() > 2 ? theirs.substr(2) : "";
    }
    if (const auto* n = std::get_if<double>(&ours)) {
        if (typed) {
            EXPECT_EQ(kind, 'n') << where << " " << theirs;
        }
        char* end = nullptr;
        const double x = std::strtod(text.c_str(), &end);
        EXPECT_TRUE(end != text.c_str() && *end == '\0') << where << " " << theirs;
        EXPECT_NEAR(x, *n, 1e-9 * std::max(1.0, std::abs(*n))) << where;
    } else if (const auto* s = std::get_if<std::string>(&ours)) {
        if (typed) {
            EXPECT_EQ(kind, 's') << where;
        }
        EXPECT_EQ(text, *s) << where;
    } else if (const auto* e = std::get_if<ss::ErrorCode>(&ours)) {
        if (typed) {
            EXPECT_EQ(kind, 'e') << where;
        }
        EXPECT_EQ(text, ss::ErrorText(*e)) << where;
    } else if (const auto* b = std::get_if<bool>(&ours)) {
        if (typed) {
            EXPECT_EQ(kind, 'b') << where;
        }
        EXPECT_EQ(text, *b ? "true" : "false") << where;
    } else {
        ADD_FAILURE() << where << ": a formula without a stored result";
    }
}

int CountFormulas(const ss::Workbook& book) {
    int count = 0;
    for (const auto& sheet : book.Sheets())
        for (const auto& [at, cell] : sheet->Cells()) count += cell.AsFormula() != nullptr;
    return count;
}

TEST(ExternalPoi, OpensDumpsAndRecalculatesEveryWorkbookAsWeDid) {
    if (!HavePoi()) GTEST_SKIP() << "Apache POI (libapache-poi-java) or Java is not installed";
    QTemporaryDir dir;
    const std::vector<Produced> books = ProduceWorkbooks(dir);
    QStringList paths;
    for (const Produced& p : books) paths << p.path;
    const ProcessResult run = PoiCheck(dir, paths);
    ASSERT_TRUE(run.ok) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();

    const std::int64_t epoch = std::atoll(std::getenv("SOURCE_DATE_EPOCH"));
    const QList<QByteArray> lines = run.out.split('\n');
    std::size_t book = 0;
    std::optional<ss::Workbook> ours;
    int formulas = 0;
    auto finish = [&] {
        if (ours) {
            EXPECT_EQ(formulas, CountFormulas(*ours)) << "formulas POI found";
        }
    };
    for (const QByteArray& line : lines) {
        const QList<QByteArray> f = line.split('\t');
        const std::string key = f[0].toStdString();
        if (key == "file") {
            finish();
            ASSERT_LT(book, books.size());
            ASSERT_EQ(QString::fromUtf8(f[1]), books[book].path);
            ours = ss::LoadXls(books[book].path.toStdString());
            formulas = 0;
            ++book;
            continue;
        }
        SCOPED_TRACE(books[book - 1].name.toStdString());
        if (key == "records") {
            EXPECT_GT(f[1].toInt(), 50);
        }
        if (key == "title") {
            EXPECT_EQ(f[1].toStdString(), "Personal Finance");
        }
        if (key == "application") {
            EXPECT_EQ(f[1].toStdString(), "Quillmere");
        }
        if (key == "created" || key == "saved") {
            EXPECT_EQ(f[1].toLongLong(), epoch) << key;
        }
        if (key == "codepage") {
            EXPECT_EQ(line.mid(9).toStdString(), "1252\t1252");
        }
        if (key == "sheet") {
            EXPECT_EQ(f[2].toStdString(), ours->Sheets()[0]->Name());
        }
        if (key != "formula") continue;
        ASSERT_EQ(f.size(), 7);
        ++formulas;
        const ss::CellRef at{f[2].toInt(), f[3].toInt()};
        const std::string where = ss::CellName(at) + " =" + f[4].toStdString();
        const ss::Cell* cell = ours->Sheets()[static_cast<std::size_t>(f[1].toInt())]->Find(at);
        ASSERT_TRUE(cell != nullptr && cell->AsFormula() != nullptr) << where;
        ExpectSameValue(cell->Cached(), f[5].toStdString(), true, where + " (stored)");
        ExpectSameValue(cell->Cached(), f[6].toStdString(), true, where + " (POI's result)");
    }
    finish();
    EXPECT_EQ(book, books.size());
}

// A copy whose stored results are all wrong: what another program shows for it can only
// come from its own recalculation.
QString PoisonedCopy(const QTemporaryDir& dir, const Produced& p) {
    ss::Workbook poisoned = ss::LoadXls(p.path.toStdString());
    for (const auto& sheet : poisoned.Sheets())
        for (const auto& [at, cell] : sheet->Cells())
            if (cell.AsFormula() != nullptr) sheet->At(at).SetCached(-99999.0);
    const QString path = dir.filePath(p.name + "-poisoned.xls");
    ss::SaveXls(poisoned, path.toStdString());
    return path;
}

// Compares the formula cells of our first sheet with rows of CSV fields from A1 on.
void ExpectCsvMatches(const ss::Worksheet& sheet,
                      const std::vector<std::vector<std::string>>& rows) {
    int formulas = 0;
    for (const auto& [at, cell] : sheet.Cells()) {
        if (cell.AsFormula() == nullptr) continue;
        ++formulas;
        const auto r = static_cast<std::size_t>(at.row);
        const auto c = static_cast<std::size_t>(at.col);
        ASSERT_TRUE(r < rows.size() && c < rows[r].size()) << ss::CellName(at);
        ExpectSameValue(cell.Cached(), rows[r][c], false, ss::CellName(at));
    }
    EXPECT_GT(formulas, 0);
}

TEST(ExternalLibreOffice, RecalculatesEveryWorkbookToOurValues) {
    if (!HaveSoffice()) GTEST_SKIP() << "LibreOffice is not installed";
    QTemporaryDir dir;
    const std::vector<Produced> books = ProduceWorkbooks(dir);
    QStringList args = {"--convert-to", kCsvFilter, "--outdir", dir.filePath("out")};
    for (const Produced& p : books) args << PoisonedCopy(dir, p);
    const ProcessResult run = Soffice(dir, args);
    ASSERT_TRUE(run.ok) << run.err.toStdString();
    for (const Produced& p : books) {
        SCOPED_TRACE(p.name.toStdString());
        QFile csv(dir.filePath("out/" + p.name + "-poisoned.csv"));
        ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
        ExpectCsvMatches(*ss::LoadXls(p.path.toStdString()).Sheets()[0], ParseCsv(csv.readAll()));
    }
}

TEST(ExternalXlrd, ReadsOurStoredResultsInEveryWorkbook) {
    if (!HaveXlrd()) GTEST_SKIP() << "python3-xlrd is not installed";
    QTemporaryDir dir;
    for (const Produced& p : ProduceWorkbooks(dir)) {
        SCOPED_TRACE(p.name.toStdString());
        const ss::Workbook ours = ss::LoadXls(p.path.toStdString());
        const QJsonObject cells =
            XlrdDump(p.path)["sheets"].toArray()[0].toObject()["cells"].toObject();
        int formulas = 0;
        for (const auto& [at, cell] : ours.Sheets()[0]->Cells()) {
            if (cell.AsFormula() == nullptr) continue;
            ++formulas;
            const QJsonValue value = cells[QString::fromStdString(ss::CellName(at))]["value"];
            ExpectSameValue(cell.Cached(),
                            value.isDouble()
                                ? QString::number(value.toDouble(), 'g', 17).toStdString()
                                : value.toString().toStdString(),
                            false, ss::CellName(at));
        }
        EXPECT_GT(formulas, 0);
    }
}

TEST(ExternalGnumeric, RecalculatesEveryWorkbookToOurValues) {
    if (!HaveSsconvert()) GTEST_SKIP() << "Gnumeric (ssconvert) is not installed";
    QTemporaryDir dir;
    for (const Produced& p : ProduceWorkbooks(dir)) {
        SCOPED_TRACE(p.name.toStdString());
        const ss::Workbook ours = ss::LoadXls(p.path.toStdString());
        const ss::Worksheet& sheet = *ours.Sheets()[0];

        int lastRow = 0;
        for (const auto& [at, cell] : sheet.Cells()) lastRow = std::max(lastRow, at.row);
        const QString poisonedPath = PoisonedCopy(dir, p);

        for (const QString& input : {p.path, poisonedPath}) {
            const QString csvPath = input + ".csv";
            const ProcessResult run = RunProgram(
                "/usr/bin/ssconvert",
                {"--recalc", "--export-range=A1:J" + QString::number(lastRow + 1), "-T",
                 "Gnumeric_stf:stf_assistant", "-O", "separator=, format=raw", input, csvPath});
            ASSERT_TRUE(run.ok) << run.err.toStdString();
            EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
            QFile csv(csvPath);
            ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
            ExpectCsvMatches(sheet, ParseCsv(csv.readAll()));
        }
    }
}

}  // namespace
}  // namespace quill::test
