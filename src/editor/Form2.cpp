#include "editor/Form2.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "shell/CommonServices.h"
#include "shell/ErrorTrap.h"
#include "shell/Failure.h"
#include "shell/ui/FormLayout.h"
#include "shell/ui/FormStyle.h"
#include "shell/ui/MousePointer.h"

namespace quill {

using ui::TwipRect;

Form2::Form2(Prompt& prompt, QString& newRowName, QWidget* parent)
    // A fixed tool window: narrow caption, close box only, no task-bar entry.
    : QDialog(parent,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      prompt_(prompt),
      newRowName_(newRowName) {
    CreateControls();
    Form_Load();
}

Form2::~Form2() = default;

void Form2::CreateControls() {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Enter new row name"));
    setFont(ui::BoldArial(9));
    setFixedSize(ui::Pixels(3840), ui::Pixels(1485));

    label4_ = new QLabel(QStringLiteral("Name:"), this);
    label4_->setObjectName(QStringLiteral("Label4_0"));
    label4_->setGeometry(TwipRect(240, 120, 540, 225));

    text1_ = new QLineEdit(this);
    text1_->setObjectName(QStringLiteral("Text1_0"));
    text1_->setGeometry(TwipRect(120, 480, 3600, 400));
    text1_->setAccessibleName(QStringLiteral("Name of the new row"));
    label4_->setBuddy(text1_);

    pushButton2_ =
        ui::MakeButton("PushButton2", QStringLiteral("OK"), this, TwipRect(120, 960, 1680, 400));
    pushButton1_ = ui::MakeButton("PushButton1", QStringLiteral("Cancel"), this,
                                  TwipRect(1920, 960, 1800, 400));
    // Enter in the name box means OK.
    pushButton2_->setDefault(true);

    setTabOrder(text1_, pushButton2_);
    setTabOrder(pushButton2_, pushButton1_);
    text1_->setFocus();

    // The buttons show the hand, the dialog's surface the arrow; movement over a button
    // must not reach the surface behind it.
    pointer_ = new MousePointer(*this);
    for (QPushButton* button : {pushButton2_, pushButton1_}) {
        pointer_->TrackButton(*button);
        button->setAttribute(Qt::WA_NoMousePropagation);
    }
    pointer_->TrackSurface(*this);

    connect(pushButton2_, &QPushButton::clicked, this, [this] { PushButton2_Click(); });
    connect(pushButton1_, &QPushButton::clicked, this, [this] { PushButton1_Click(); });
    ui::CentreOnScreen(*this);
}

void Form2::Form_Load() {
    Trace trace(prompt_, QStringLiteral("Form2.Form_Load"));
    trace.Step([&] { Main::SetFormColors(*this); });
    trace.Step([&] { setWindowIcon(QApplication::windowIcon()); });
    trace.Step([&] {
        // Without the file the platform's pointing hand stands in.
        const QString hand = Main::HandCursorFile();
        if (Main::FileExists(hand) && !pointer_->LoadHand(hand))
            throw Failure(QStringLiteral("Cannot load the pointer picture ") + hand);
    });
}

void Form2::PushButton2_Click() {
    Trace trace(prompt_, QStringLiteral("Form2.PushButton2_Click"));
    trace.Step([&] { newRowName_ = text1_->text().trimmed(); });
    if (newRowName_.isEmpty()) {
        trace.Step([&] {
            prompt_.Notice(QStringLiteral("Please, enter name of the row."), Main::AppTitle());
        });
        trace.Step([&] { text1_->setFocus(); });
        return;  // the dialog stays open
    }
    trace.Skip();
    trace.Skip();
    trace.Step([&] { accept(); });
}

void Form2::PushButton1_Click() {
    Trace trace(prompt_, QStringLiteral("Form2.PushButton1_Click"));
    trace.Step([&] { reject(); });
}

}  // namespace quill
