#include "sheet/SyntheticTable.h"

namespace quill::PersonalFinance {

CategoryTable SyntheticCategoryTable(int groups, int items) {
    CategoryTable table;
    table.reserve(static_cast<std::size_t>(groups) * static_cast<std::size_t>(items + 1));
    int key = 0;
    for (int g = 1; g <= groups; ++g) {
        const QString groupKey = QString::number(++key) + QLatin1Char('_');
        const QString groupText = QStringLiteral("GROUP %1").arg(g);
        table.push_back({groupKey, QStringLiteral("0_"), groupText, groupText});
        for (int i = 1; i <= items; ++i) {
            const QString itemText = QStringLiteral("Item %1.%2").arg(g).arg(i);
            table.push_back({QString::number(++key) + QLatin1Char('_'), groupKey, itemText,
                             groupText + QLatin1Char('\\') + itemText});
        }
    }
    return table;
}

}  // namespace quill::PersonalFinance
