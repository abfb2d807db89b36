#include "shell/ui/AccessibleRole.h"

#include <mutex>

#include <QAccessibleWidget>
#include <QVariant>
#include <QWidget>

namespace quill::ui {

namespace {

constexpr char kRoleProperty[] = "quillAccessibleRole";
constexpr char kLeafProperty[] = "quillAccessibleLeaf";

// The widget's own interface with the role it asked for; a leaf hides its child widgets.
class RoleAccessible : public QAccessibleWidget {
  public:
    RoleAccessible(QWidget* widget, QAccessible::Role role, bool leaf)
        : QAccessibleWidget(widget, role), leaf_(leaf) {}

    int childCount() const override { return leaf_ ? 0 : QAccessibleWidget::childCount(); }
    QAccessibleInterface* child(int index) const override {
        return leaf_ ? nullptr : QAccessibleWidget::child(index);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return leaf_ ? -1 : QAccessibleWidget::indexOfChild(child);
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        return leaf_ ? nullptr : QAccessibleWidget::childAt(x, y);
    }

  private:
    bool leaf_;
};

// Qt asks the installed factories with each class name of the object, most derived first;
// the first answer is kept, so a marked widget gets its role whatever its class.
QAccessibleInterface* RoleFactory(const QString& /*className*/, QObject* object) {
    if (object == nullptr || !object->isWidgetType()) return nullptr;
    const QVariant role = object->property(kRoleProperty);
    if (!role.isValid()) return nullptr;
    return new RoleAccessible(static_cast<QWidget*>(object),
                              static_cast<QAccessible::Role>(role.toInt()),
                              object->property(kLeafProperty).toBool());
}

}  // namespace

void SetAccessibleRole(QWidget& widget, QAccessible::Role role, bool leaf) {
    static std::once_flag installed;
    std::call_once(installed, [] { QAccessible::installFactory(RoleFactory); });
    widget.setProperty(kRoleProperty, static_cast<int>(role));
    widget.setProperty(kLeafProperty, leaf);
}

}  // namespace quill::ui
