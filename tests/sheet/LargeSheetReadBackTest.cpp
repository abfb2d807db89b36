// The largest sheet the builder makes (200 groups of 50 items) is saved and read back whole:
// the reader's memory bound, which refuses streams that would take far more memory than
// their size, leaves room for the engine's own formula-heavy workbooks.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "model/WorkbookPalette.h"
#include "sheet/BudgetSheet.h"
#include "sheet/SyntheticTable.h"
#include "spreadsheet/formula/Formula.h"
#include "spreadsheet/objectmodel/ObjectModel.h"
#include "spreadsheet/xls/XlsFile.h"

namespace quill {
namespace {

namespace ss = spreadsheet;

TEST(LargeSheetReadBackTest, TheLargestBudgetReadsBackAsItWasSaved) {
    ss::Application app;
    app.Workbooks().Add();
    const auto dollars = [](int whole) { return model::Amount::FromCents(whole * 100LL); };
    sheet::BuildBudgetSheet(app, sheet::SyntheticCategoryTable(200, 50),
                            {dollars(3000), dollars(100), dollars(100), dollars(2720)},
                            model::WorkbookPalette());
    ss::Workbook& book = app.ActiveWorkbook();
    ss::Recalculate(book);

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string path = QDir(dir.path()).filePath(QStringLiteral("big.xls")).toStdString();
    ss::SaveXls(book, path);
    const ss::Workbook back = ss::LoadXls(path);
    ASSERT_EQ(back.Sheets().size(), book.Sheets().size());
    for (std::size_t i = 0; i < book.Sheets().size(); ++i)
        EXPECT_EQ(back.Sheets()[i]->Cells().size(), book.Sheets()[i]->Cells().size());
}

}  // namespace
}  // namespace quill
