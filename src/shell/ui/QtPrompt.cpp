#include "shell/ui/QtPrompt.h"

#include <algorithm>

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTextDocument>

#include <QPushButton>
#include "shell/ui/FormLayout.h"

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

QString ToLinkedText(const QString& text) {
    if (Qt::mightBeRichText(text)) return text;
    // Web pages and mail addresses: clickable, and never broken across lines.
    static const QRegularExpression address(
        QStringLiteral(R"((https?://[^\s<>"]*[^\s<>".,;:!?)])|([\w.+-]+@[\w-]+(\.[\w-]+)+))"));
    if (!address.match(text).hasMatch()) return {};
    QString html;
    qsizetype from = 0;
    auto matches = address.globalMatch(text);
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        html += text.mid(from, match.capturedStart() - from).toHtmlEscaped();
        const QString found = match.captured();
        const QString target = found.contains(QLatin1Char('@')) && !found.contains(QLatin1Char('/'))
                                   ? QStringLiteral("mailto:") + found
                                   : found;
        html += QStringLiteral("<a href=\"%1\">%2</a>")
                    .arg(target.toHtmlEscaped(), ui::Unbroken(found.toHtmlEscaped()));
        from = match.capturedEnd();
    }
    html += text.mid(from).toHtmlEscaped();
    html.replace(QLatin1Char('\n'), QStringLiteral("<br>"));
    return html;
}

void QtPrompt::Notice(const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::NoIcon, title, ToDisplayText(text), QMessageBox::Ok, Parent());
    const QString linked = ToLinkedText(ToDisplayText(text));
    if (!linked.isEmpty()) {
        box.setTextFormat(Qt::RichText);
        box.setText(linked);
        box.setTextInteractionFlags(Qt::TextBrowserInteraction);
    }
    box.exec();
}

bool QtPrompt::AskYesNo(const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::NoIcon, title, ToDisplayText(text),
                    QMessageBox::Yes | QMessageBox::No, Parent());
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void QtPrompt::ReportError(const QString& text) {
    QMessageBox box(QMessageBox::Warning,
                    QCoreApplication::translate("quill::QtPrompt", "Application Error"),
                    ToDisplayText(text), QMessageBox::Ok, Parent());
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

QString QtPrompt::OpenFileName(const QString& title, const QString& filter) {
    return QFileDialog::getOpenFileName(Parent(), title, QString(), filter);
}

SavedFileAction QtPrompt::SavedNotice(const QString& text, const QString& detail,
                                      const QString& title) {
    QMessageBox box(QMessageBox::NoIcon, title, ToDisplayText(text), QMessageBox::Ok, Parent());
    box.setInformativeText(ToDisplayText(detail));
    QPushButton* open = box.addButton(QCoreApplication::translate("quill::QtPrompt", "&Open File"),
                                      QMessageBox::ActionRole);
    QPushButton* folder = box.addButton(
        QCoreApplication::translate("quill::QtPrompt", "Show &Folder"), QMessageBox::ActionRole);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
    if (box.clickedButton() == open) return SavedFileAction::OpenFile;
    if (box.clickedButton() == folder) return SavedFileAction::ShowFolder;
    return SavedFileAction::Close;
}

}  // namespace quill
