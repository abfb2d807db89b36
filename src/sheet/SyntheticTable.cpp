#include "sheet/SyntheticTable.h"

namespace quill::PersonalFinance {

CategoryTable SyntheticCategoryTable(int groups, int items) {
    CategoryTable table;
    table.reserve(static_cast<std::size_t>(groups) * static_cast<std::size_t>(items + 1));
    int key = 0;
    for (int g = 1; g <= groups; ++g) {
        const QString groupKey = QString::number(++key) + QLatin1Char('_');
        const QString number = QString::number(g);
        const QString groupText = QStringLiteral("GROUP ") + number;
        table.push_back({groupKey, QStringLiteral("0_"), groupText, groupText});
        // Plain concatenation: QString::arg took a tenth of a 200 x 50 generation.
        const QString itemPrefix = QStringLiteral("Item ") + number + QLatin1Char('.');
        for (int i = 1; i <= items; ++i) {
            const QString itemText = itemPrefix + QString::number(i);
            table.push_back({QString::number(++key) + QLatin1Char('_'), groupKey, itemText,
                             groupText + QLatin1Char('\\') + itemText});
        }
    }
    return table;
}

}  // namespace quill::PersonalFinance
