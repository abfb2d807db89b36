#include "editor/HelpWindow.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "shell/Config.h"
#include "shell/Prompt.h"
#include "shell/ui/FormLayout.h"

namespace quill::editor {

namespace {

QString Link(const QString& target, const QString& shown) {
    return QStringLiteral("<a href=\"%1\">%2</a>").arg(target.toHtmlEscaped(), ui::Unbroken(shown));
}

QString ContactLink() {
    const QString page = QString::fromLatin1(config::kContactPage);
    return Link(page, page);
}

QString SupportLink() {
    const QString address = QString::fromLatin1(config::kSupportAddress);
    return Link(QStringLiteral("mailto:") + address, address);
}

// A command of the windows as the help lists it: its Alt key, which the caption marks with
// "&", and its name, both as the caption reads in the program's language.
struct Command {
    QString altKey;
    QString name;
};
Command CommandOf(const char* context, const char* caption) {
    const QString shown = QCoreApplication::translate(context, caption);
    return {QKeySequence::mnemonic(shown).toString(QKeySequence::NativeText),
            QString(shown).remove(QLatin1Char('&'))};
}

}  // namespace

QString HelpWindow::HelpText(const QString& settingsPath) {
    const auto key = [](const QString& keys, const QString& does) {
        return QStringLiteral("<tr><td><b>%1</b></td><td>&nbsp;&nbsp;%2</td></tr>")
            .arg(keys.toHtmlEscaped(), does.toHtmlEscaped());
    };
    const auto editor = [](const char* caption) {
        return CommandOf("quill::editor::CategoryEditorWindow", caption);
    };
    const Command start = editor(
        QT_TRANSLATE_NOOP("quill::editor::CategoryEditorWindow", "&Start Creating Template"));
    const Command help = editor(QT_TRANSLATE_NOOP("quill::editor::CategoryEditorWindow", "&Help"));
    const Command insert =
        editor(QT_TRANSLATE_NOOP("quill::editor::CategoryEditorWindow", "&Insert Below"));
    const Command remove =
        editor(QT_TRANSLATE_NOOP("quill::editor::CategoryEditorWindow", "&Delete Selected"));
    const Command rename =
        editor(QT_TRANSLATE_NOOP("quill::editor::CategoryEditorWindow", "&Rename Selected"));
    const Command restore =
        editor(QT_TRANSLATE_NOOP("quill::editor::CategoryEditorWindow", "Res&tore Default"));
    QStringList previewKeys;
    QStringList previewNames;
    for (const char* caption :
         {QT_TRANSLATE_NOOP("quill::preview::SheetPreviewWindow", "Zoom &In"),
          QT_TRANSLATE_NOOP("quill::preview::SheetPreviewWindow", "Zoom &Out"),
          QT_TRANSLATE_NOOP("quill::preview::SheetPreviewWindow", "&Save Results To Excel File"),
          QT_TRANSLATE_NOOP("quill::preview::SheetPreviewWindow", "< &Back")}) {
        const Command command = CommandOf("quill::preview::SheetPreviewWindow", caption);
        previewKeys << command.altKey;
        previewNames << command.name;
    }
    const QString separator = QStringLiteral(", ");
    return tr("<h3>Quillmere</h3>"
              "<p>Quillmere builds a household budget workbook. Keep your budget "
              "categories in the list and the four income figures in their boxes, "
              "press <b>Start Creating Template</b>, look at the sheet in the "
              "preview and save it as an .xls or .xlsx workbook or a PDF, or print "
              "it.</p><h4>Keys</h4><table>") +
           key(start.altKey, start.name) + key(tr("F1, %1").arg(help.altKey), help.name) +
           key(tr("Insert, %1").arg(insert.altKey), insert.name) +
           key(tr("Delete (in the list), %1").arg(remove.altKey), remove.name) +
           key(tr("F2 (in the list)"), tr("rename the selected row in place")) +
           key(rename.altKey, rename.name) + key(restore.altKey, restore.name) +
           key(tr("Ctrl+Q"), tr("quit (the edits are kept)")) +
           key(tr("Ctrl++, Ctrl+-"), tr("zoom in the preview")) +
           key(tr("Ctrl+S"), tr("save, in the preview")) +
           key(tr("Ctrl+P"), tr("print, in the preview")) +
           key(tr("Escape"), tr("back, in the preview")) +
           key(previewKeys.join(separator),
               tr("%1, in the preview").arg(previewNames.join(separator))) +
           tr("</table><h4>Settings</h4><p>The categories and incomes are kept "
              "when the window closes, in %1. Delete that file (with the program "
              "closed) to start again from the default categories.</p>"
              "<h4>Questions</h4><p>Questions? Please contact Team Tarnwick at "
              "%2 or write to %3.</p>")
               .arg(ui::Unbroken(settingsPath.toHtmlEscaped()), ContactLink(), SupportLink());
}

HelpWindow::HelpWindow(Prompt& prompt, const QString& settingsPath, QWidget* parent)
    : QWidget(parent, Qt::Window), prompt_(prompt) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(tr("Quillmere Help"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto* layout = new QVBoxLayout(this);
    text_ = new QTextBrowser(this);
    text_->setObjectName(QStringLiteral("HelpText"));
    text_->setOpenExternalLinks(true);
    text_->setHtml(HelpText(settingsPath));
    text_->setAccessibleName(tr("Help"));
    // Wide enough for the longest address on one line.
    text_->setMinimumWidth(
        text_->fontMetrics().horizontalAdvance(QString::fromLatin1(config::kContactPage)) * 3 / 2 +
        ui::ScaledPixels(*this, 600));
    layout->addWidget(text_, 1);

    aboutButton_ = new QPushButton(tr("&About Quillmere"), this);
    aboutButton_->setObjectName(QStringLiteral("AboutButton"));
    closeButton_ = new QPushButton(tr("&Close"), this);
    closeButton_->setObjectName(QStringLiteral("CloseButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(aboutButton_);
    buttons->addStretch(1);
    buttons->addWidget(closeButton_);
    layout->addLayout(buttons);

    connect(aboutButton_, &QPushButton::clicked, this, [this] { ShowAbout(); });
    connect(closeButton_, &QPushButton::clicked, this, &QWidget::close);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    ui::FitToScreen(*this, QSize(8400, 7200));
}

QString HelpWindow::AboutText() {
    return tr("<p><b>Quillmere %1</b></p>"
              "<p>Builds a household budget workbook (.xls, .xlsx, PDF).</p>"
              "<p>Free software under the GNU General Public License, version 3 or "
              "later: %2</p><p>Web: %3<br>Mail: %4</p>")
        .arg(QStringLiteral(QUILL_VERSION),
             Link(QStringLiteral("https://www.gnu.org/licenses/gpl-3.0.html"),
                  QStringLiteral("https://www.gnu.org/licenses/gpl-3.0.html")),
             ContactLink(), SupportLink());
}

void HelpWindow::ShowAbout() {
    prompt_.Notice(AboutText(), tr("About Quillmere"));
}

}  // namespace quill::editor
