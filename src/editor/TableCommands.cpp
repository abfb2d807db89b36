#include "editor/TableCommands.h"

#include <utility>

#include <QCoreApplication>

namespace quill::editor {

StateCommand::StateCommand(TableEditor& editor, const QString& text, EditedState before,
                           QString selectBefore, EditedState after, QString selectAfter)
    : QUndoCommand(text),
      editor_(editor),
      before_(std::move(before)),
      after_(std::move(after)),
      selectBefore_(std::move(selectBefore)),
      selectAfter_(std::move(selectAfter)) {}

void StateCommand::undo() {
    editor_.RestoreState(before_, selectBefore_);
}

void StateCommand::redo() {
    if (std::exchange(done_, false)) return;
    editor_.RestoreState(after_, selectAfter_);
}

RowCommand::RowCommand(TableEditor& editor, const QString& text, CategoryRow before,
                       CategoryRow after)
    : QUndoCommand(text), editor_(editor), before_(std::move(before)), after_(std::move(after)) {}

void RowCommand::undo() {
    editor_.RestoreRow(before_);
}

void RowCommand::redo() {
    if (std::exchange(done_, false)) return;
    editor_.RestoreRow(after_);
}

IncomeCommand::IncomeCommand(TableEditor& editor, int index, QString before, QString after)
    : QUndoCommand(QCoreApplication::translate("quill::editor::IncomeCommand", "Change Income")),
      editor_(editor),
      index_(index),
      before_(std::move(before)),
      after_(std::move(after)) {}

void IncomeCommand::undo() {
    editor_.RestoreIncome(index_, before_);
}

void IncomeCommand::redo() {
    if (std::exchange(done_, false)) return;
    editor_.RestoreIncome(index_, after_);
}

ChoiceCommand::ChoiceCommand(TableEditor& editor, const QString& text, TableEditor::Choice choice,
                             QString before, QString after)
    : QUndoCommand(text),
      editor_(editor),
      choice_(choice),
      before_(std::move(before)),
      after_(std::move(after)) {}

void ChoiceCommand::undo() {
    editor_.RestoreChoice(choice_, before_);
}

void ChoiceCommand::redo() {
    if (std::exchange(done_, false)) return;
    editor_.RestoreChoice(choice_, after_);
}

}  // namespace quill::editor
