#include "DefaultBudget.h"

#include "model/Amounts.h"
#include "model/CategoryState.h"
#include "model/DefaultCategorySet.h"
#include "model/WorkbookPalette.h"
#include "spreadsheet/render/SheetRenderer.h"

namespace quill::test {

namespace ss = spreadsheet;

sheet::IncomeAmounts DefaultBudget::FirstRunIncomes() {
    IncomeTexts texts;
    for (std::size_t i = 0; i < texts.size(); ++i)
        texts[i] = QString::fromLatin1(model::kIncomeDefaults[i]);
    const sheet::IncomeAmounts amounts = model::AllIncomeAmounts(texts);
    return amounts;
}

DefaultBudget::DefaultBudget(const sheet::IncomeAmounts& incomes) {
    app.Workbooks().Add();
    sheet::BuildBudgetSheet(app, model::DefaultCategorySet(), incomes, model::WorkbookPalette());
}

ss::RangeRef DefaultBudget::UsedRange() {
    return *app.ActiveSheet().UsedRange();
}

QImage DefaultBudget::Picture() {
    app.Calculate();
    return ss::RenderRange(app.ActiveWorkbook(), app.ActiveSheet(), UsedRange());
}

QRect DefaultBudget::Rect(const std::string& a1) {
    const ss::Worksheet& sheet = app.ActiveSheet();
    const ss::RangeRef used = UsedRange();
    const ss::RangeRef area = ss::ParseA1Range(a1);
    auto x = [&](int col) {
        int pixels = 0;
        for (int c = used.first.col; c < col; ++c)
            pixels += ss::ColumnWidthPixels(sheet.ColumnWidth(c));
        return pixels;
    };
    auto y = [&](int row) {
        int pixels = 0;
        for (int r = used.first.row; r < row; ++r)
            pixels += ss::RowHeightPixels(sheet.RowHeight(r));
        return pixels;
    };
    return QRect(QPoint(x(area.first.col), y(area.first.row)),
                 QPoint(x(area.last.col + 1) - 1, y(area.last.row + 1) - 1));
}

}  // namespace quill::test
