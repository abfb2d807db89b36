// The row-name dialog: asks for the name of the row that "Insert Below" is about to add.
//
// The dialog's only output is the caller's NewRowName: OK stores the trimmed name there
// (and refuses an empty one); Cancel and the close box leave it as the caller set it.
//
//     state.NewRowName.clear();
//     RowNameDialog dialog(prompt, state.NewRowName, mainWindow);
//     dialog.exec();
//     if (state.NewRowName.isEmpty()) return;  // cancelled
#pragma once

#include <QDialog>
#include <QString>

#include "shell/Prompt.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace quill {
class MousePointer;
}

namespace quill::editor {

class RowNameDialog : public QDialog {
    Q_OBJECT
  public:
    // Every box the dialog shows goes through `prompt`; `newRowName` must outlive it.
    RowNameDialog(Prompt& prompt, QString& newRowName, QWidget* parent = nullptr);
    ~RowNameDialog() override;

  private:
    void CreateControls();
    void Load();
    void OnOk();      // OK
    void OnCancel();  // Cancel

    Prompt& prompt_;
    QString& newRowName_;

    // Controls, owned by the dialog.
    QLabel* nameLabel_ = nullptr;
    QLineEdit* nameBox_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    MousePointer* pointer_ = nullptr;
};

}  // namespace quill::editor
