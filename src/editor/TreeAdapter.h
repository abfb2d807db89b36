// The category tree of the main window (TreeView1, a QTreeWidget) behind the model's
// CategoryTree interface, plus what the editor needs beyond it: nodes found by key, the
// node images, in-place label editing reported before it starts and after a commit, and
// the second column "Planned": an item's planned amount, edited in place (F2, a click on
// the selected cell or a double-click on that column), and a group's sum of its items,
// which is not editable.
//
// Changes made through the adapter emit none of the tree widget's signals, so a handler
// connected to them hears only what the user does.
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include <QHash>
#include <QIcon>
#include <QMetaObject>
#include <QString>

#include "model/CategoryTable.h"
#include "model/CategoryTree.h"
#include "model/Currency.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace quill::editor {

class LabelEditDelegate;

class TreeAdapter : public CategoryTree {
  public:
    // Sets the tree up (one column without header, expand buttons, one selected node,
    // label editing by a click on the selected node or F2) and adapts it. The tree
    // widget must outlive the adapter.
    explicit TreeAdapter(QTreeWidget& tree);
    ~TreeAdapter() override;
    TreeAdapter(const TreeAdapter&) = delete;
    TreeAdapter& operator=(const TreeAdapter&) = delete;

    // CategoryTree. Add supports kLast (a top-level node, or the last sibling of the
    // relative node) and kChild (the last child of the relative node).
    void Clear() override;
    void Add(const std::optional<QString>& relativeKey, int relationship, const QString& key,
             const QString& text, int image) override;
    void SelectFirstNode() override;
    QString SelectedText() const override;

    // The key of the selected node (SelectedItem), or nothing when no node is selected.
    std::optional<QString> SelectedKey() const;
    int Count() const { return static_cast<int>(items_.size()); }

    // Lookups by key; these throw quill::Failure when no node has the key.
    QString Text(const QString& key) const;
    void SetText(const QString& key, const QString& text);
    // The key of the node's parent node; nothing for a top-level (group) node.
    std::optional<QString> ParentKey(const QString& key) const;
    // Makes the node the selected one, its group expanded and the node scrolled into view.
    void Select(const QString& key);
    // Removes the node and its children; the tree then selects a neighbouring node.
    void Remove(const QString& key);

    // The item of a key, or null.
    QTreeWidgetItem* Item(const QString& key) const { return items_.value(key, nullptr); }
    static QString KeyOf(const QTreeWidgetItem& item);

    // `before` runs when an in-place edit starts; `after` when the user commits a label,
    // with the node's key and the new text. An abandoned edit (Escape) reports nothing.
    void SetLabelEditHandlers(std::function<void()> before,
                              std::function<void(const QString&, const QString&)> after);

    // The column of the planned amounts.
    static constexpr int kPlannedColumn = 1;
    // Shows every row's planned amount ("$1,200.50" under en_US, empty when not planned) and
    // each group's sum of its items' amounts (empty when none of them is planned), in the
    // default locale and the currency of SetCurrency (USD until then).
    void ShowPlanned(const CategoryTable& table);
    void SetCurrency(const model::Currency& currency) { currency_ = currency; }
    // The text shown in the planned column of the node.
    QString PlannedText(const QString& key) const;
    // `edited` runs when the user commits a planned amount in place, with the node's key and
    // the typed text; the column is shown again by ShowPlanned. Escape reports nothing.
    void SetAmountEditHandler(std::function<void(const QString&, const QString&)> edited);
    // Starts editing the planned amount of the node (an item's only).
    void EditPlanned(const QString& key);

  private:
    QTreeWidgetItem& RequireItem(const QString& key) const;
    void Forget(QTreeWidgetItem& item);  // drops the item and its descendants from items_

    QTreeWidget& tree_;
    LabelEditDelegate* delegate_;  // owned by the tree widget
    QMetaObject::Connection followSelection_;
    QMetaObject::Connection editOnDoubleClick_;
    QHash<QString, QTreeWidgetItem*> items_;
    QIcon groupImage_;
    QIcon rowImage_;
    model::Currency currency_ = model::CurrencyOrUsd({});
};

}  // namespace quill::editor
