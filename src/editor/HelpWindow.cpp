#include "editor/HelpWindow.h"

#include <QHBoxLayout>
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

QString HelpText(const QString& settingsPath) {
    const auto key = [](const char* keys, const char* does) {
        return QStringLiteral("<tr><td><b>%1</b></td><td>&nbsp;&nbsp;%2</td></tr>")
            .arg(QLatin1String(keys), QLatin1String(does));
    };
    return QStringLiteral(
               "<h3>Quillmere</h3>"
               "<p>Quillmere builds a household budget workbook. Keep your budget "
               "categories in the list and the four income figures in their boxes, "
               "press <b>Start Creating Template</b>, look at the sheet in the "
               "preview and save it as an .xls or .xlsx workbook or a PDF, or print "
               "it.</p><h4>Keys</h4><table>") +
           key("Alt+S", "Start Creating Template") + key("F1, Alt+H", "Help") +
           key("Insert, Alt+I", "Insert Below") +
           key("Delete (in the list), Alt+D", "Delete Selected") +
           key("F2 (in the list)", "rename the selected row in place") +
           key("Alt+R", "Rename Selected") + key("Alt+T", "Restore Default") +
           key("Ctrl+Q", "quit (the edits are kept)") +
           key("Ctrl++, Ctrl+-", "zoom in the preview") + key("Ctrl+S", "save, in the preview") +
           key("Ctrl+P", "print, in the preview") + key("Escape", "back, in the preview") +
           key("Alt+I, Alt+O, Alt+S, Alt+B",
               "Zoom In, Zoom Out, Save Results To Excel File, &lt; Back, in the preview") +
           QStringLiteral(
               "</table><h4>Settings</h4><p>The categories and incomes are kept "
               "when the window closes, in %1. Delete that file (with the program "
               "closed) to start again from the default categories.</p>"
               "<h4>Questions</h4><p>Questions? Please contact Team Tarnwick at "
               "%2 or write to %3.</p>")
               .arg(ui::Unbroken(settingsPath.toHtmlEscaped()), ContactLink(), SupportLink());
}

}  // namespace

HelpWindow::HelpWindow(Prompt& prompt, const QString& settingsPath, QWidget* parent)
    : QWidget(parent, Qt::Window), prompt_(prompt) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Quillmere Help"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto* layout = new QVBoxLayout(this);
    text_ = new QTextBrowser(this);
    text_->setObjectName(QStringLiteral("HelpText"));
    text_->setOpenExternalLinks(true);
    text_->setHtml(HelpText(settingsPath));
    text_->setAccessibleName(QStringLiteral("Help"));
    // Wide enough for the longest address on one line.
    text_->setMinimumWidth(
        text_->fontMetrics().horizontalAdvance(QString::fromLatin1(config::kContactPage)) * 3 / 2 +
        ui::ScaledPixels(*this, 600));
    layout->addWidget(text_, 1);

    aboutButton_ = new QPushButton(QStringLiteral("&About Quillmere"), this);
    aboutButton_->setObjectName(QStringLiteral("AboutButton"));
    closeButton_ = new QPushButton(QStringLiteral("&Close"), this);
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
    return QStringLiteral(
               "<p><b>Quillmere %1</b></p>"
               "<p>Builds a household budget workbook (.xls, .xlsx, PDF).</p>"
               "<p>Free software under the GNU General Public License, version 3 or "
               "later: %2</p><p>Web: %3<br>Mail: %4</p>")
        .arg(QStringLiteral(QUILL_VERSION),
             Link(QStringLiteral("https://www.gnu.org/licenses/gpl-3.0.html"),
                  QStringLiteral("https://www.gnu.org/licenses/gpl-3.0.html")),
             ContactLink(), SupportLink());
}

void HelpWindow::ShowAbout() {
    prompt_.Notice(AboutText(), QStringLiteral("About Quillmere"));
}

}  // namespace quill::editor
