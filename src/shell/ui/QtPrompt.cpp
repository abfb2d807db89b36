#include "shell/ui/QtPrompt.h"

#include <algorithm>

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace quill {

QString ToDisplayText(const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

QWidget* QtPrompt::Parent() const {
    QWidget* active = QApplication::activeWindow();
    return active != nullptr ? active : fallbackParent_;
}

void QtPrompt::Notice(const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::NoIcon, title, ToDisplayText(text), QMessageBox::Ok, Parent());
    box.exec();
}

bool QtPrompt::AskYesNo(const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::NoIcon, title, ToDisplayText(text),
                    QMessageBox::Yes | QMessageBox::No, Parent());
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void QtPrompt::ReportError(const QString& text) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Application Error"), ToDisplayText(text),
                    QMessageBox::Ok, Parent());
    box.exec();
}

QString QtPrompt::InputBox(const QString& prompt, const QString& title, const QString& offered) {
    bool accepted = false;
    const QString text =
        QInputDialog::getText(Parent(), title, prompt, QLineEdit::Normal, offered, &accepted);
    return accepted ? text : QString();
}

QString QtPrompt::SaveFileName(const QString& title, const QString& filter) {
    // The program asks its own overwrite question, so the dialog's is switched off.
    return QFileDialog::getSaveFileName(Parent(), title, QString(), filter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

QString QtPrompt::SaveFileNameFrom(const QString& title, const QString& filters, int& entry) {
    entry = 0;
    return SaveFileNameAt(title, filters, QString(), entry);
}

QString QtPrompt::SaveFileNameAt(const QString& title, const QString& filters, const QString& start,
                                 int& entry) {
    const QStringList entries = filters.split(QStringLiteral(";;"));
    // The dialog opens with the offered entry selected.
    QString selected = entries.value(entry);
    const QString name = QFileDialog::getSaveFileName(Parent(), title, start, filters, &selected,
                                                      QFileDialog::DontConfirmOverwrite);
    entry = std::max(0, static_cast<int>(entries.indexOf(selected)));
    return name;
}

SavedFileAction QtPrompt::SavedNotice(const QString& text, const QString& detail,
                                      const QString& title) {
    QMessageBox box(QMessageBox::NoIcon, title, ToDisplayText(text), QMessageBox::Ok, Parent());
    box.setInformativeText(ToDisplayText(detail));
    QPushButton* open = box.addButton(QObject::tr("&Open File"), QMessageBox::ActionRole);
    QPushButton* folder = box.addButton(QObject::tr("Show &Folder"), QMessageBox::ActionRole);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
    if (box.clickedButton() == open) return SavedFileAction::OpenFile;
    if (box.clickedButton() == folder) return SavedFileAction::ShowFolder;
    return SavedFileAction::Close;
}

}  // namespace quill
