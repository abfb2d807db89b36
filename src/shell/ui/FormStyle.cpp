#include "shell/ui/FormStyle.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <QRadioButton>
#include <QWidget>

#include "shell/CommonServices.h"
#include "shell/Failure.h"
#include "shell/ui/FormLayout.h"

namespace quill::shell {

namespace {
// The button face with the text that the palette writes on buttons: the two belong
// together, also in a dark palette where the window text would not read on the face.
void PaintButtonFace(QWidget& widget, const QPalette& source) {
    ui::PaintRoles(widget, source, QPalette::Button, QPalette::ButtonText);
}
}  // namespace

void SetFormColors(QWidget& window) {
    const QPalette source = window.palette();
    PaintButtonFace(window, source);
    const auto children = window.findChildren<QWidget*>();
    for (QWidget* child : children) {
        if (qobject_cast<QLabel*>(child) != nullptr || qobject_cast<QGroupBox*>(child) != nullptr ||
            qobject_cast<QCheckBox*>(child) != nullptr ||
            qobject_cast<QRadioButton*>(child) != nullptr) {
            PaintButtonFace(*child, source);
        }
    }
}

void ApplySkin(QWidget& mainWindow) {
    const QString path = SkinFile();
    if (!FileExists(path)) return;
    SetFormColors(mainWindow);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        throw Failure(QCoreApplication::translate("quill::shell::FormStyle",
                                                  "Cannot read the skin file %1: %2")
                          .arg(path, file.errorString()));
    }
    // The skin framework's option flags and numbered settings have no meaning for a
    // style sheet; the file's text is the whole skin.
    mainWindow.setStyleSheet(QString::fromUtf8(file.readAll()));
}

}  // namespace quill::shell
