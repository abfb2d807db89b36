#include "editor/TableCommands.h"

#include <utility>

#include <QCoreApplication>

namespace quill::editor {

StateCommand::StateCommand(TableEditor& editor, const QString& text, EditedState before,
                           QString selectBefore, EditedState after, QString selectAfter)
    : ChangeCommand(text, {std::move(before), std::move(selectBefore)},
                    {std::move(after), std::move(selectAfter)}),
      editor_(editor) {}

void StateCommand::Restore(const SelectedState& value) {
    editor_.RestoreState(value.state, value.selectKey);
}

RowCommand::RowCommand(TableEditor& editor, const QString& text, CategoryRow before,
                       CategoryRow after)
    : ChangeCommand(text, std::move(before), std::move(after)), editor_(editor) {}

void RowCommand::Restore(const CategoryRow& row) {
    editor_.RestoreRow(row);
}

IncomeCommand::IncomeCommand(TableEditor& editor, int index, QString before, QString after)
    : ChangeCommand(QCoreApplication::translate("quill::editor::IncomeCommand", "Change Income"),
                    std::move(before), std::move(after)),
      editor_(editor),
      index_(index) {}

void IncomeCommand::Restore(const QString& text) {
    editor_.RestoreIncome(index_, text);
}

ChoiceCommand::ChoiceCommand(TableEditor& editor, const QString& text, TableEditor::Choice choice,
                             QString before, QString after)
    : ChangeCommand(text, std::move(before), std::move(after)), editor_(editor), choice_(choice) {}

void ChoiceCommand::Restore(const QString& value) {
    editor_.RestoreChoice(choice_, value);
}

}  // namespace quill::editor
