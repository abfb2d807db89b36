#include "model/CategoryTable.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <utility>

#include "model/CategoryTree.h"

namespace quill::model {

namespace {

bool IsAsciiDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The key number of the digits of `key` from `start` on.
double LeadingNumber(const QString& key, qsizetype start) {
    double value = 0;
    for (qsizetype i = start; i < key.size() && IsAsciiDigit(key[i]); ++i)
        value = value * 10 + (key[i].unicode() - u'0');
    return value;
}

bool IsBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// The key after an insertion below key number `n`: numbers above n move up by two.
QString ShiftedKey(const QString& key, double n) {
    const double number = KeyNumber(key);
    return number > n ? KeyText(number + 2) : key;
}

}  // namespace

double KeyNumber(const QString& key) {
    return LeadingNumber(key, 0);
}

double KeyValueIgnoringBlanks(const QString& key) {
    qsizetype start = 0;
    while (start < key.size() && IsBlank(key[start])) ++start;
    return LeadingNumber(key, start);
}

QString KeyText(double number) {
    return QString::number(number, 'f', 0) + QLatin1Char('_');
}

std::optional<std::size_t> FindRowByKey(const CategoryTable& table, const QString& key) {
    // The last match wins, so that duplicate keys resolve the same way everywhere.
    for (std::size_t i = table.size(); i > 0; --i)
        if (table[i - 1].RowKey == key) return i - 1;
    return std::nullopt;
}

bool HasNoChildren(const CategoryTable& table, const QString& key) {
    return std::none_of(table.begin(), table.end(),
                        [&](const CategoryRow& row) { return row.ParentKey == key; });
}

QString NextFreeKey(const CategoryTable& table) {
    // Key numbers are whole numbers by construction, so no rounding is needed.
    double highest = 0;
    for (const CategoryRow& row : table) highest = std::max(highest, KeyNumber(row.RowKey));
    return KeyText(highest + 1);
}

void DeleteRowAndChildren(CategoryTable& table, const QString& key) {
    const double k = KeyNumber(key);
    CategoryTable survivors;
    survivors.reserve(table.size());
    std::copy_if(table.begin(), table.end(), std::back_inserter(survivors),
                 [k](const CategoryRow& row) {
                     return KeyNumber(row.RowKey) != k && KeyNumber(row.ParentKey) != k;
                 });
    // The table never becomes empty.
    if (!survivors.empty()) table = std::move(survivors);
}

void InsertRowBelow(CategoryTable& table, const QString& parentKey, const QString& afterKey,
                    const QString& newRowName) {
    const double n = KeyNumber(afterKey);
    for (CategoryRow& row : table) {
        row.RowKey = ShiftedKey(row.RowKey, n);
        row.ParentKey = ShiftedKey(row.ParentKey, n);  // "0_" is never above n
    }
    // A group parent ("0_", number 0) is kept as given; so is any parent at or below n.
    table.push_back({KeyText(n + 1), ShiftedKey(parentKey, n), newRowName, QString()});
}

std::vector<const CategoryRow*> RowsInKeyOrder(const CategoryTable& table) {
    // Sorting gives the same order as scanning every key number from 1 up, without a pass
    // per number, which would take forever for a stored key with a huge number.
    std::vector<std::pair<double, const CategoryRow*>> numbered;
    numbered.reserve(table.size());
    for (const CategoryRow& row : table)
        if (const double number = KeyNumber(row.RowKey); number >= 1)
            numbered.emplace_back(number, &row);
    std::stable_sort(numbered.begin(), numbered.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<const CategoryRow*> rows;
    rows.reserve(numbered.size());
    for (const auto& [number, row] : numbered) rows.push_back(row);
    return rows;
}

void FillCategoryTree(const CategoryTable& table, CategoryTree& tree) {
    tree.Clear();
    for (const CategoryRow* row : RowsInKeyOrder(table)) {
        if (row->ParentKey == kRootKey) {
            tree.Add(std::nullopt, CategoryTree::kLast, row->RowKey, row->RowText,
                     CategoryTree::kGroupImage);
        } else {
            tree.Add(row->ParentKey, CategoryTree::kChild, row->RowKey, row->RowText,
                     CategoryTree::kItemImage);
        }
    }
}

}  // namespace quill::model
