#include "editor/RowNameDialog.h"

#include <algorithm>

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "shell/CommonServices.h"
#include "shell/ErrorTrap.h"
#include "shell/Failure.h"
#include "shell/ui/FormLayout.h"
#include "shell/ui/FormStyle.h"
#include "shell/ui/MousePointer.h"

namespace quill::editor {

RowNameDialog::RowNameDialog(Prompt& prompt, QString& newRowName, QWidget* parent)
    // A tool window: narrow caption, close box only, no task-bar entry.
    : QDialog(parent,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      prompt_(prompt),
      newRowName_(newRowName) {
    CreateControls();
    Load();
}

RowNameDialog::~RowNameDialog() = default;

void RowNameDialog::CreateControls() {
    // The object names ("Form2", "PushButton2", "Text1_0", ...) are the ones the optional
    // skin style sheet can address by name: they stay as they are, whatever the members
    // are called.
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(tr("Enter new row name"));
    setFont(ui::BoldArial(9));

    // Laid out as designed in twips at 96 dpi, grown with the font: the label indented over
    // the name box, the two buttons side by side under it.
    auto* layout = new QVBoxLayout(this);
    const int margin = ui::ScaledPixels(*this, 120);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->setSpacing(ui::ScaledPixels(*this, 60));

    nameLabel_ = new QLabel(tr("&Name:"), this);
    nameLabel_->setObjectName(QStringLiteral("Label4_0"));
    nameLabel_->setContentsMargins(margin, 0, 0, 0);
    layout->addWidget(nameLabel_);

    nameBox_ = new QLineEdit(this);
    nameBox_->setObjectName(QStringLiteral("Text1_0"));
    nameBox_->setMinimumHeight(
        std::max(nameBox_->sizeHint().height(), ui::ScaledPixels(*this, 400)));
    nameBox_->setMinimumWidth(ui::ScaledPixels(*this, 2400));
    nameBox_->setAccessibleName(tr("Name of the new row"));
    nameLabel_->setBuddy(nameBox_);
    layout->addWidget(nameBox_);

    okButton_ = ui::MakeButton("PushButton2", tr("OK"), this, 400);
    cancelButton_ = ui::MakeButton("PushButton1", tr("Cancel"), this, 400);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(margin);
    buttons->addWidget(okButton_, 1680);
    buttons->addWidget(cancelButton_, 1800);
    layout->addLayout(buttons);
    // Enter in the name box means OK.
    okButton_->setDefault(true);

    setTabOrder(nameBox_, okButton_);
    setTabOrder(okButton_, cancelButton_);
    nameBox_->setFocus();

    // The buttons show the hand, the dialog's surface the arrow; movement over a button
    // must not reach the surface behind it.
    pointer_ = new MousePointer(*this);
    pointer_->TrackButtons({okButton_, cancelButton_});
    pointer_->TrackSurface(*this);

    connect(okButton_, &QPushButton::clicked, this, [this] { OnOk(); });
    connect(cancelButton_, &QPushButton::clicked, this, [this] { OnCancel(); });
    ui::FitToScreen(*this, QSize(3840, 1485));
}

void RowNameDialog::Load() {
    Trace trace(prompt_, QStringLiteral("Form2.Form_Load"));
    trace.Step(100, [&] { shell::SetFormColors(*this); });
    trace.Step(102, [&] { setWindowIcon(QApplication::windowIcon()); });
    trace.Step(104, [&] { pointer_->LoadOptionalHand(); });
}

void RowNameDialog::OnOk() {
    Trace trace(prompt_, QStringLiteral("Form2.PushButton2_Click"));
    trace.Step(100, [&] { newRowName_ = nameBox_->text().trimmed(); });
    if (newRowName_.isEmpty()) {
        trace.Step(102, [&] {
            // The English text is shown as written.
            prompt_.Notice(tr("Please, enter name of the row."), shell::AppTitle());
        });
        trace.Step(104, [&] { nameBox_->setFocus(); });
        return;  // the dialog stays open
    }
    trace.Step(106, [&] { accept(); });
}

void RowNameDialog::OnCancel() {
    Trace trace(prompt_, QStringLiteral("Form2.PushButton1_Click"));
    trace.Step(100, [&] { reject(); });
}

}  // namespace quill::editor
