// The row-name dialog: asks for the name of the row that "Insert Below" is about to add.
//
// The dialog's only output is the caller's NewRowName: OK stores the trimmed name there
// (and refuses an empty one); Cancel and the close box leave it as the caller set it.
//
//     state.NewRowName.clear();
//     Form2 dialog(prompt, state.NewRowName, mainWindow);
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

class Form2 : public QDialog {
    Q_OBJECT
  public:
    // Every box the dialog shows goes through `prompt`; `newRowName` must outlive it.
    Form2(Prompt& prompt, QString& newRowName, QWidget* parent = nullptr);
    ~Form2() override;

  private:
    void CreateControls();
    void Form_Load();
    void PushButton2_Click();  // OK
    void PushButton1_Click();  // Cancel

    Prompt& prompt_;
    QString& newRowName_;

    // Controls, owned by the dialog.
    QLabel* label4_ = nullptr;
    QLineEdit* text1_ = nullptr;
    QPushButton* pushButton2_ = nullptr;
    QPushButton* pushButton1_ = nullptr;
    MousePointer* pointer_ = nullptr;
};

}  // namespace quill
