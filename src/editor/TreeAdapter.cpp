#include "editor/TreeAdapter.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTreeWidget>

#include "shell/Failure.h"

namespace quill::editor {

namespace {

constexpr int kKeyRole = Qt::UserRole;

// A folder: the image of a group node.
QIcon DrawGroupImage() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(160, 120, 30));
    painter.setBrush(QColor(250, 215, 110));
    painter.drawRoundedRect(QRectF(1.5, 2.5, 6, 3), 1, 1);
    painter.drawRoundedRect(QRectF(1.5, 4.5, 13, 9), 1, 1);
    return QIcon(pixmap);
}

// A sheet with three lines of text: the image of a row node.
QIcon DrawRowImage() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QColor(110, 110, 110));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(3.5, 1.5, 9, 13));
    painter.setPen(QColor(104, 150, 206));
    for (int y : {5, 8, 11}) painter.drawLine(5, y, 11, y);
    return QIcon(pixmap);
}

// A node that tells assistive technology where it stands: a group how many rows it holds
// and whether it is open, a row its place in its group. Worked out when asked, so it stays
// right through inserts, deletions and renames.
class CategoryItem : public QTreeWidgetItem {
  public:
    using QTreeWidgetItem::QTreeWidgetItem;

    QVariant data(int column, int role) const override {
        if (role == Qt::AccessibleDescriptionRole && column == 0) return Description();
        return QTreeWidgetItem::data(column, role);
    }

  private:
    QString Description() const {
        if (const QTreeWidgetItem* group = parent()) {
            return QCoreApplication::translate("quill::editor::TreeAdapter",
                                               "Row %1 of %2 in group %3")
                .arg(group->indexOfChild(const_cast<CategoryItem*>(this)) + 1)
                .arg(group->childCount())
                .arg(group->text(0));
        }
        const int rows = childCount();
        if (rows == 0)
            return QCoreApplication::translate("quill::editor::TreeAdapter", "Group without rows");
        // Qt reports the expanded state of a group but not the collapsed one.
        const QString state =
            isExpanded() ? QCoreApplication::translate("quill::editor::TreeAdapter", "expanded")
                         : QCoreApplication::translate("quill::editor::TreeAdapter", "collapsed");
        return (rows == 1 ? QCoreApplication::translate("quill::editor::TreeAdapter",
                                                        "Group of %1 row, %2")
                          : QCoreApplication::translate("quill::editor::TreeAdapter",
                                                        "Group of %1 rows, %2"))
            .arg(rows)
            .arg(state);
    }
};

}  // namespace

// Reports the start of an in-place edit and the committed text. Committing goes through
// setModelData; an edit closed with Escape never reaches it.
class LabelEditDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    std::function<void()> before;
    std::function<void(const QString&, const QString&)> after;
    std::function<void(const QString&, const QString&)> amountEdited;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        if (index.column() == TreeAdapter::kPlannedColumn) {
            // A group's figure is the sum of its items: nothing to type.
            if (!index.parent().isValid()) return nullptr;
            auto* editor = new QLineEdit(parent);
            const QString name = index.siblingAtColumn(0).data().toString();
            editor->setAccessibleName(
                QCoreApplication::translate("quill::editor::TreeAdapter", "Planned amount for %1")
                    .arg(name));
            return editor;
        }
        if (before) before();
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        // A screen reader announces the edit box by the row it renames.
        if (editor != nullptr)
            editor->setAccessibleName(
                QCoreApplication::translate("quill::editor::TreeAdapter", "Rename %1")
                    .arg(index.data().toString()));
        return editor;
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        if (index.column() == TreeAdapter::kPlannedColumn) {
            // The amount is read and shown by the window, which may refuse it.
            if (const auto* line = qobject_cast<QLineEdit*>(editor);
                line != nullptr && amountEdited)
                amountEdited(index.siblingAtColumn(0).data(kKeyRole).toString(), line->text());
            return;
        }
        if (const auto* line = qobject_cast<QLineEdit*>(editor); line != nullptr && after)
            after(index.data(kKeyRole).toString(), line->text());
        QStyledItemDelegate::setModelData(editor, model, index);
    }
};

TreeAdapter::TreeAdapter(QTreeWidget& tree)
    : tree_(tree),
      delegate_(new LabelEditDelegate(&tree)),
      groupImage_(DrawGroupImage()),
      rowImage_(DrawRowImage()) {
    tree_.setColumnCount(2);
    // Two columns need their captions.
    tree_.setHeaderHidden(false);
    tree_.header()->setStretchLastSection(false);
    tree_.header()->setSectionResizeMode(0, QHeaderView::Stretch);
    tree_.header()->setSectionResizeMode(kPlannedColumn, QHeaderView::ResizeToContents);
    tree_.setRootIsDecorated(true);
    tree_.setSelectionMode(QAbstractItemView::SingleSelection);
    // Cells, not rows, are selected, so the planned amount can be edited. Selecting whole rows
    // would send the accessibility "toggle" action of a row through Qt 6's tree-row selection,
    // which counts the row within its group as if from the top of the tree and so selects
    // another node.
    tree_.setSelectionBehavior(QAbstractItemView::SelectItems);
    tree_.setHeaderLabels({QCoreApplication::translate("quill::editor::TreeAdapter", "Category"),
                           QCoreApplication::translate("quill::editor::TreeAdapter", "Planned")});
    tree_.setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    tree_.setItemDelegate(delegate_);
    // A selection made without moving the current node (by assistive technology) moves it
    // there too, so that the keyboard and the commands continue from the selected node.
    followSelection_ = QObject::connect(&tree_, &QTreeWidget::itemSelectionChanged, [this] {
        const auto selected = tree_.selectedItems();
        if (!selected.isEmpty() && selected.first() != tree_.currentItem())
            tree_.setCurrentItem(selected.first(), 0, QItemSelectionModel::NoUpdate);
    });
    editOnDoubleClick_ = QObject::connect(
        &tree_, &QTreeWidget::itemDoubleClicked, [this](QTreeWidgetItem* item, int column) {
            if (item != nullptr && column == kPlannedColumn && item->parent() != nullptr)
                tree_.editItem(item, kPlannedColumn);
        });
}

TreeAdapter::~TreeAdapter() {
    QObject::disconnect(followSelection_);
    QObject::disconnect(editOnDoubleClick_);
}

void TreeAdapter::SetAmountEditHandler(std::function<void(const QString&, const QString&)> edited) {
    delegate_->amountEdited = std::move(edited);
}

void TreeAdapter::ShowPlanned(const CategoryTable& table) {
    const QSignalBlocker quiet(tree_);
    QHash<QString, std::int64_t> sums;  // only groups with a planned item
    for (const CategoryRow& row : table) {
        QTreeWidgetItem* item = Item(row.RowKey);
        if (item == nullptr || item->parent() == nullptr) continue;
        item->setText(kPlannedColumn,
                      row.Planned ? model::AmountDisplay(row.Planned->Cents(), currency_, QLocale())
                                  : QString());
        if (row.Planned) {
            const QString group = KeyOf(*item->parent());
            sums[group] += row.Planned->Cents();
        }
    }
    for (int i = 0; i < tree_.topLevelItemCount(); ++i) {
        QTreeWidgetItem* group = tree_.topLevelItem(i);
        const QString key = KeyOf(*group);
        group->setText(kPlannedColumn,
                       sums.contains(key)
                           ? model::AmountDisplay(sums.value(key), currency_, QLocale())
                           : QString());
    }
}

QString TreeAdapter::PlannedText(const QString& key) const {
    return RequireItem(key).text(kPlannedColumn);
}

void TreeAdapter::EditPlanned(const QString& key) {
    QTreeWidgetItem& item = RequireItem(key);
    if (item.parent() == nullptr) return;
    tree_.setCurrentItem(&item, kPlannedColumn);
    tree_.editItem(&item, kPlannedColumn);
}

void TreeAdapter::SetLabelEditHandlers(std::function<void()> before,
                                       std::function<void(const QString&, const QString&)> after) {
    delegate_->before = std::move(before);
    delegate_->after = std::move(after);
}

void TreeAdapter::Clear() {
    const QSignalBlocker quiet(tree_);
    tree_.clear();
    items_.clear();
}

void TreeAdapter::Add(const std::optional<QString>& relativeKey, int relationship,
                      const QString& key, const QString& text, int image) {
    if (relationship != kLast && relationship != kChild)
        throw Failure(QCoreApplication::translate("quill::editor::TreeAdapter",
                                                  "Invalid relationship %1 for a new tree node")
                          .arg(relationship));
    if (relationship == kChild && !relativeKey)
        throw Failure(QCoreApplication::translate("quill::editor::TreeAdapter",
                                                  "A child node needs a relative node"));
    QTreeWidgetItem* relative = nullptr;
    if (relativeKey) {
        relative = Item(*relativeKey);
        if (relative == nullptr)
            throw Failure(
                QCoreApplication::translate("quill::editor::TreeAdapter",
                                            "Element not found: no tree node has the key \"%1\"")
                    .arg(*relativeKey));
    }
    if (items_.contains(key))
        throw Failure(QCoreApplication::translate("quill::editor::TreeAdapter",
                                                  "Key is not unique in collection: \"%1\"")
                          .arg(key));

    const QSignalBlocker quiet(tree_);
    QTreeWidgetItem* parent = relationship == kChild ? relative
                              : relative != nullptr  ? relative->parent()
                                                     : nullptr;
    // The parent item (or the tree, for a top-level node) owns the new item.
    QTreeWidgetItem* item = parent != nullptr ? new CategoryItem(parent) : new CategoryItem(&tree_);
    item->setText(0, text);
    item->setData(0, kKeyRole, key);
    item->setIcon(0, image == kGroupImage ? groupImage_ : rowImage_);
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    item->setTextAlignment(kPlannedColumn, Qt::AlignRight | Qt::AlignVCenter);
    items_.insert(key, item);
}

void TreeAdapter::SelectFirstNode() {
    QTreeWidgetItem* first = tree_.topLevelItem(0);
    if (first == nullptr)
        throw Failure(QCoreApplication::translate("quill::editor::TreeAdapter",
                                                  "Index out of bounds: the tree has no node"));
    const QSignalBlocker quiet(tree_);
    tree_.setCurrentItem(first);
}

QString TreeAdapter::SelectedText() const {
    const auto selected = tree_.selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text(0);
}

std::optional<QString> TreeAdapter::SelectedKey() const {
    const auto selected = tree_.selectedItems();
    if (selected.isEmpty()) return std::nullopt;
    return KeyOf(*selected.first());
}

QTreeWidgetItem& TreeAdapter::RequireItem(const QString& key) const {
    QTreeWidgetItem* item = Item(key);
    if (item == nullptr)
        throw Failure(
            QCoreApplication::translate("quill::editor::TreeAdapter",
                                        "Element not found: no tree node has the key \"%1\"")
                .arg(key));
    return *item;
}

QString TreeAdapter::Text(const QString& key) const {
    return RequireItem(key).text(0);
}

void TreeAdapter::SetText(const QString& key, const QString& text) {
    QTreeWidgetItem& item = RequireItem(key);
    const QSignalBlocker quiet(tree_);
    item.setText(0, text);
}

std::optional<QString> TreeAdapter::ParentKey(const QString& key) const {
    const QTreeWidgetItem* parent = RequireItem(key).parent();
    if (parent == nullptr) return std::nullopt;
    return KeyOf(*parent);
}

void TreeAdapter::Select(const QString& key) {
    QTreeWidgetItem& item = RequireItem(key);
    const QSignalBlocker quiet(tree_);
    if (item.parent() != nullptr) item.parent()->setExpanded(true);
    tree_.setCurrentItem(&item);
    tree_.scrollToItem(&item);
}

void TreeAdapter::Remove(const QString& key) {
    QTreeWidgetItem& item = RequireItem(key);
    const QSignalBlocker quiet(tree_);
    Forget(item);
    // Taking the item out hands it to us; the unique_ptr frees it and its children.
    std::unique_ptr<QTreeWidgetItem> taken;
    if (QTreeWidgetItem* parent = item.parent()) {
        taken.reset(parent->takeChild(parent->indexOfChild(&item)));
    } else {
        taken.reset(tree_.takeTopLevelItem(tree_.indexOfTopLevelItem(&item)));
    }
    taken.reset();
    // The view has moved its current item to a neighbour; make that the selected node.
    if (QTreeWidgetItem* next = tree_.currentItem()) tree_.setCurrentItem(next);
}

void TreeAdapter::Forget(QTreeWidgetItem& item) {
    items_.remove(KeyOf(item));
    for (int i = 0; i < item.childCount(); ++i) Forget(*item.child(i));
}

QString TreeAdapter::KeyOf(const QTreeWidgetItem& item) {
    return item.data(0, kKeyRole).toString();
}

}  // namespace quill::editor
