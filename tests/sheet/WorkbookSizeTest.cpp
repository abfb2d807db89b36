// Categories too large for a workbook: the size the driver reckons before anything is
// written is never below the real file's, and a table beyond what the program reads back is
// refused in words about the categories, leaving nothing behind.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <functional>
#include <utility>

#include "DefaultBudget.h"
#include "bridge/SpreadsheetProvider.h"
#include "model/WorkbookPalette.h"
#include "sheet/ReportDriver.h"
#include "sheet/SyntheticTable.h"
#include "spreadsheet/formula/Formula.h"
#include "spreadsheet/xls/XlsContainer.h"
#include "spreadsheet/xls/XlsFile.h"
#include "support/RecordingPrompt.h"

namespace quill {
namespace {

namespace ss = spreadsheet;

// `groups` groups of `items` items, named by `name(row)` (row counts from 0 over the table).
CategoryTable NamedTable(int groups, int items, const std::function<QString(int)>& name) {
    CategoryTable table;
    int key = 0;
    for (int g = 0; g < groups; ++g) {
        const QString groupKey = QString::number(++key) + '_';
        table.push_back({groupKey, QStringLiteral("0_"), name(key - 1), {}});
        for (int i = 0; i < items; ++i)
            table.push_back({QString::number(++key) + '_', groupKey, name(key - 1), {}});
    }
    return table;
}

// A name of `length` characters `c`, told apart from the others by its number.
QString LongName(int row, int length, QChar c) {
    const QString number = QString::number(row) + ' ';
    return number + QString(length - number.size(), c);
}

std::int64_t SavedSize(const CategoryTable& table) {
    ss::Application app;
    app.Workbooks().Add();
    sheet::BuildBudgetSheet(app, table, test::DefaultBudget::FirstRunIncomes(),
                            model::WorkbookPalette());
    ss::Recalculate(app.ActiveWorkbook());
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("size.xls"));
    ss::SaveXls(app.ActiveWorkbook(), path.toStdString());
    return QFileInfo(path).size();
}

// Only names can make a file as large as the limit; for them the reckoning is close.
TEST(WorkbookSize, TheReckonedSizeIsNeverBelowTheFilesAndCloseForLongNames) {
    struct Case {
        const char* what;
        CategoryTable table;
        double slack;  // how far above the file's size the reckoning may be
    };
    const Case cases[] = {
        {"200 groups of 50 short names", sheet::SyntheticCategoryTable(200, 50), 1.0},
        {"no groups", CategoryTable{}, 1.0},
        {"300 long one-byte names",
         NamedTable(3, 99, [](int row) { return LongName(row, 32000, QChar('x')); }), 0.05},
        {"150 long two-byte names",
         NamedTable(2, 74, [](int row) { return LongName(row, 32000, QChar(0x436)); }), 0.05},
        {"one long name a hundred times",  // stored once
         NamedTable(1, 100, [](int) { return QString(30000, QChar('y')); }), 1.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::int64_t real = SavedSize(c.table);
        const auto bound = static_cast<std::int64_t>(sheet::WorkbookBytesBound(c.table));
        EXPECT_GE(bound, real);
        EXPECT_LE(bound, static_cast<std::int64_t>(real * (1 + c.slack)) + 128 * 1024);
    }
}

class NoHandover : public sheet::ReportHandover {
  public:
    void LoadPicture(const QImage&) override { ++calls; }
    void SetWorkbookPath(const QString&) override { ++calls; }
    void ShowPreview() override { ++calls; }
    void HideMainWindow() override { ++calls; }
    int calls = 0;
};

TEST(WorkbookSize, ATableTooLargeForAWorkbookIsRefusedBeforeAnythingIsWritten) {
    // 1,100 names of 32,000 two-byte characters: a file of some 67 MB.
    const CategoryTable table =
        NamedTable(11, 99, [](int row) { return LongName(row, 32000, QChar(0x436)); });
    ASSERT_GT(sheet::WorkbookBytesBound(table), ss::xls::kMaxFileBytes);

    QTemporaryDir folder;
    EmbeddedProvider provider;
    test::RecordingPrompt prompt;
    NoHandover handover;
    sheet::ReportEnvironment env{provider, prompt, folder.path(), &handover, {}, true};
    const sheet::ReportInputs inputs{table, test::DefaultBudget::FirstRunIncomes(),
                                     model::WorkbookPalette()};
    EXPECT_EQ(sheet::GenerateReport(inputs, env), QString());

    ASSERT_EQ(prompt.shown.size(), 1u);
    // A plain notice: the user can act on it, and it is no fault of the program.
    EXPECT_EQ(prompt.shown[0].kind, test::Shown::Notice);
    const QString& told = prompt.shown[0].text;
    EXPECT_TRUE(told.startsWith(QStringLiteral("The categories are too large for a workbook")))
        << told.toStdString();
    EXPECT_TRUE(told.contains(QStringLiteral("category names"))) << told.toStdString();
    EXPECT_FALSE(told.contains(folder.path())) << told.toStdString();
    EXPECT_TRUE(
        QDir(folder.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
    EXPECT_EQ(handover.calls, 0);
}

}  // namespace
}  // namespace quill
