// The undoable edits of the category table and the incomes, for the window's QUndoStack.
//
// The window makes each change through its own steps and then pushes the command that
// describes it; the command's first redo() therefore changes nothing. Later undo() and
// redo() calls put the state back through TableEditor, which shows and selects the row that
// changed.
//
// Structural edits (insert, delete, Restore Default, import) keep the whole state before
// and after: an undone delete puts the rows back with their keys, amounts and place, and
// whatever keys later edits shifted come back with them. Edits of one row (a rename, a
// planned amount) keep only that row.
#pragma once

#include <utility>

#include <QString>
#include <QUndoCommand>

#include "model/AppState.h"

namespace quill::editor {

// The table and the incomes as one value: what a structural edit keeps.
struct EditedState {
    CategoryTable table;
    IncomeTexts incomes;
};

// What the commands change; the window implements it.
class TableEditor {
  public:
    virtual ~TableEditor() = default;
    virtual EditedState CurrentState() const = 0;
    // Puts a whole state in place, shows it and selects the node of `selectKey` (the first
    // node when it is empty or names none).
    virtual void RestoreState(const EditedState& state, const QString& selectKey) = 0;
    // Puts one row in place of the row with the same key, shows it and selects it.
    virtual void RestoreRow(const CategoryRow& row) = 0;
    // Shows `text` in the income box `index` as its accepted amount.
    virtual void RestoreIncome(int index, const QString& text) = 0;
    // Puts back a choice of the window and shows what depends on it.
    enum class Choice { Currency, Paper };
    virtual void RestoreChoice(Choice choice, const QString& value) = 0;
};

// A change the window has made already, kept as its values before and after: undo() puts
// the one before back, redo() (but the first) the one after.
template <typename Value>
class ChangeCommand : public QUndoCommand {
  public:
    ChangeCommand(const QString& text, Value before, Value after)
        : QUndoCommand(text), before_(std::move(before)), after_(std::move(after)) {}
    void undo() final { Restore(before_); }
    void redo() final {
        if (std::exchange(done_, false)) return;
        Restore(after_);
    }

  protected:
    virtual void Restore(const Value& value) = 0;

  private:
    Value before_;
    Value after_;
    bool done_ = true;
};

// A whole state and the key of the node selected with it.
struct SelectedState {
    EditedState state;
    QString selectKey;
};

// Insert, delete, Restore Default and import.
class StateCommand : public ChangeCommand<SelectedState> {
  public:
    StateCommand(TableEditor& editor, const QString& text, EditedState before, QString selectBefore,
                 EditedState after, QString selectAfter);

  private:
    void Restore(const SelectedState& value) override;
    TableEditor& editor_;
};

// A rename or a planned amount: one row, found by its key.
class RowCommand : public ChangeCommand<CategoryRow> {
  public:
    RowCommand(TableEditor& editor, const QString& text, CategoryRow before, CategoryRow after);

  private:
    void Restore(const CategoryRow& row) override;
    TableEditor& editor_;
};

// An income box's accepted amount.
class IncomeCommand : public ChangeCommand<QString> {
  public:
    IncomeCommand(TableEditor& editor, int index, QString before, QString after);

  private:
    void Restore(const QString& text) override;
    TableEditor& editor_;
    int index_;
};

// A choice of the window: the currency (its code) or the paper ("A4", "Letter").
class ChoiceCommand : public ChangeCommand<QString> {
  public:
    ChoiceCommand(TableEditor& editor, const QString& text, TableEditor::Choice choice,
                  QString before, QString after);

  private:
    void Restore(const QString& value) override;
    TableEditor& editor_;
    TableEditor::Choice choice_;
};

}  // namespace quill::editor
