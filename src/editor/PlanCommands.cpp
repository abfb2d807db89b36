#include "editor/PlanCommands.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>
#include <QUndoStack>

namespace quill::editor {

namespace {

QPushButton* Button(const QString& caption, const char* objectName, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(objectName));
    button->setAutoDefault(true);  // Enter presses it, as Space does
    return button;
}

void Shortcut(const QKeySequence& keys, QWidget& window, QPushButton* button) {
    auto* shortcut = new QShortcut(keys, &window);
    QObject::connect(shortcut, &QShortcut::activated, button, [button] {
        if (button->isEnabled()) button->click();
    });
}

}  // namespace

PlanCommands::PlanCommands(QUndoStack& stack, QWidget& window, QWidget* parent)
    : QWidget(parent),
      stack_(stack),
      undo_(Button(tr("Undo"), "UndoButton", this)),
      redo_(Button(tr("Redo"), "RedoButton", this)),
      import_(Button(tr("Import..."), "ImportButton", this)),
      export_(Button(tr("Export..."), "ExportButton", this)) {
    setObjectName(QStringLiteral("PlanCommands"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    for (QPushButton* button : {undo_, redo_, import_, export_}) row->addWidget(button);
    import_->setAccessibleName(tr("Import categories from a CSV file"));
    export_->setAccessibleName(tr("Export categories to a CSV file"));

    connect(undo_, &QPushButton::clicked, &stack_, &QUndoStack::undo);
    connect(redo_, &QPushButton::clicked, &stack_, &QUndoStack::redo);
    connect(import_, &QPushButton::clicked, this, &PlanCommands::importRequested);
    connect(export_, &QPushButton::clicked, this, &PlanCommands::exportRequested);
    connect(&stack_, &QUndoStack::indexChanged, this, [this] { Describe(); });

    Shortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), window, undo_);
    Shortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), window, redo_);
    Shortcut(QKeySequence(Qt::CTRL | Qt::Key_Y), window, redo_);
    Describe();
}

void PlanCommands::Describe() {
    undo_->setEnabled(stack_.canUndo());
    redo_->setEnabled(stack_.canRedo());
    const QString undone = stack_.undoText();
    const QString redone = stack_.redoText();
    undo_->setAccessibleName(undone.isEmpty() ? tr("Undo") : tr("Undo %1").arg(undone));
    redo_->setAccessibleName(redone.isEmpty() ? tr("Redo") : tr("Redo %1").arg(redone));
    undo_->setToolTip(tr("%1 (Ctrl+Z)").arg(undo_->accessibleName()));
    redo_->setToolTip(tr("%1 (Ctrl+Shift+Z or Ctrl+Y)").arg(redo_->accessibleName()));
}

}  // namespace quill::editor
