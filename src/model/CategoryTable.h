// The category table: the two-level list of budget groups and their items, and the
// operations that read and change it.
//
// Every row has four text fields. A row whose ParentKey is "0_" is a group; any other
// row is an item of the group whose key its ParentKey names. Rows keep an order of their
// own (the order that is stored and that the sheet walks); the tree shows them in key order.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include <QString>

#include "model/Amount.h"

namespace quill {

class CategoryTree;

struct CategoryRow {
    QString RowKey;     // "n_" with n >= 1, for example "12_"
    QString ParentKey;  // "0_" for a group, the group's RowKey for an item
    QString RowText;    // the name shown in the tree and written on the sheet
    QString RowPath;    // "GROUP" or "GROUP\Item"; empty for rows added by the user
    // The amount planned for an item, the sheet's "Projected Cost"; none when not planned.
    // Groups hold none: their figure is the sum of their items.
    std::optional<model::Amount> Planned{};

    friend bool operator==(const CategoryRow&, const CategoryRow&) = default;
};

// Rows in table order. Row numbers in the operations below are 1-based.
using CategoryTable = std::vector<CategoryRow>;

// The number of stored text fields of every row (the planned amount is stored apart);
// stored beside the table.
inline constexpr int kCategoryFieldCount = 4;

}  // namespace quill

namespace quill::model {

// The root marker: the ParentKey of every group row.
inline const QString kRootKey = QStringLiteral("0_");

// The numeric value of a key: the decimal digits at its start, read up to the first
// character that is not a digit ("12_" gives 12, "0_" and "" give 0).
double KeyNumber(const QString& key);

// The same, after skipping blanks at the start (" 12_" gives 12). The sheet reads keys so.
double KeyValueIgnoringBlanks(const QString& key);

// The key text of a key number: "12" followed by "_".
QString KeyText(double number);

// The index of the last row whose RowKey equals `key` exactly, or nothing when none does.
std::optional<std::size_t> FindRowByKey(const CategoryTable& table, const QString& key);

// True when no row names `key` (exactly) as its ParentKey.
bool HasNoChildren(const CategoryTable& table, const QString& key);

// The key one above the highest key number of the table ("78_" for the default set).
QString NextFreeKey(const CategoryTable& table);

// Removes every row whose RowKey or ParentKey has the key number of `key`: a group with
// its items, or a single item. Nothing is renumbered. A deletion that would leave no row
// at all leaves the table unchanged.
void DeleteRowAndChildren(CategoryTable& table, const QString& key);

// Appends a row named `newRowName` that takes the key number just above `afterKey`. Every
// key number above afterKey's moves up by two, so one number stays free after the new row.
// parentKey chooses what the new row is: "0_" a group, otherwise an item of that group.
void InsertRowBelow(CategoryTable& table, const QString& parentKey, const QString& afterKey,
                    const QString& newRowName);

// The rows the tree shows, in its order: ascending key number, rows of equal number in
// table order; rows whose key number is below 1 are left out.
std::vector<const CategoryRow*> RowsInKeyOrder(const CategoryTable& table);

// Rebuilds the tree from the table: groups in ascending key number, each group's items
// under it in ascending key number. Rows whose key number is 0 are left out. Nothing is
// selected. A failure of the tree (an item whose group has no node) propagates.
void FillCategoryTree(const CategoryTable& table, CategoryTree& tree);

}  // namespace quill::model
