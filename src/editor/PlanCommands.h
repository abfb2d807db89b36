// The row of commands that go with the plan: Undo and Redo of every edit of the table and
// the incomes, and Import and Export of the categories as a CSV file. Each is a button named
// for screen readers and reachable by Tab; Undo and Redo are disabled when there is nothing
// to undo or redo and say what they would undo. Ctrl+Z undoes, Ctrl+Shift+Z and Ctrl+Y redo
// anywhere in the window (a text box being edited keeps Ctrl+Z for its own text).
#pragma once

#include <QWidget>

class QPushButton;
class QUndoStack;

namespace quill::editor {

class PlanCommands : public QWidget {
    Q_OBJECT
  public:
    // `window` receives the keyboard shortcuts; the row is a child of `parent`.
    PlanCommands(QUndoStack& stack, QWidget& window, QWidget* parent);

    QPushButton& UndoButton() const { return *undo_; }
    QPushButton& RedoButton() const { return *redo_; }
    QPushButton& ImportButton() const { return *import_; }
    QPushButton& ExportButton() const { return *export_; }

  signals:
    void importRequested();
    void exportRequested();

  private:
    void Describe();

    QUndoStack& stack_;
    QPushButton* undo_;
    QPushButton* redo_;
    QPushButton* import_;
    QPushButton* export_;
};

}  // namespace quill::editor
