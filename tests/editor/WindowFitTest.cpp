// The editor's windows on today's desktops: larger font DPI and scale factors, the languages
// (German has the longest texts), dark palettes, the Help window and the program's command
// line.
//
// Font DPI and scale factor are fixed when the application starts, so those cases run this
// test program again in a child process with the setting and the language in its
// environment; the child runs only the probe below, which is skipped in an ordinary run.
#include <gtest/gtest.h>

#include <map>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocumentFragment>
#include <QTextLayout>

#include "editor/EditorFixture.h"
#include "editor/HelpWindow.h"
#include "editor/RowNameDialog.h"
#include "shell/Config.h"
#include "shell/Translations.h"
#include "shell/ui/FormLayout.h"
#include "shell/ui/QtPrompt.h"
#include "support/ExternalPrograms.h"
#include "support/ScopedSettings.h"

namespace quill::editor {
namespace {

const QString kProgram = QStringLiteral(QUILL_BINARY_DIR "/app/quillmere");
constexpr const char* kProbe = "QUILL_WINDOW_PROBE";
// The language the probe shows the windows in: "de", "fr", "es", or empty for English.
constexpr const char* kProbeLanguage = "QUILL_WINDOW_PROBE_LANGUAGE";

// The colour of most pixels in `area` (the background), and the contrast of the pixel that
// differs most from it (the text) against it.
double TextContrast(const QImage& image, const QRect& area) {
    std::map<QRgb, int> counts;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x) ++counts[image.pixel(x, y)];
    if (counts.empty()) return 0;
    QRgb background = counts.begin()->first;
    for (const auto& [colour, count] : counts)
        if (count > counts[background]) background = colour;
    double best = 1;
    for (const auto& [colour, count] : counts)
        best = std::max(best, ui::ContrastRatio(QColor(colour), QColor(background)));
    return best;
}

// A widget's area in the window's picture, in the picture's pixels.
// (Widgets of another window, such as an owned dialog's, give an empty area.)
QRect AreaIn(const QWidget& window, const QWidget& widget, const QRect& local, qreal ratio) {
    if (widget.window() != &window) return {};
    const QRect logical(widget.mapTo(&window, local.topLeft()), local.size());
    return {qRound(logical.x() * ratio), qRound(logical.y() * ratio),
            qRound(logical.width() * ratio), qRound(logical.height() * ratio)};
}

// Every caption of a shown window has the room its text needs: labels and buttons at least
// their size hint, wrapped labels the height of their text, and the window on the screen.
void ExpectNothingCut(QWidget& window) {
    SCOPED_TRACE(window.objectName().toStdString());
    for (QLabel* label : window.findChildren<QLabel*>()) {
        if (!label->isVisible()) continue;
        SCOPED_TRACE(label->objectName().toStdString());
        if (label->wordWrap()) {
            EXPECT_GE(label->height(), label->heightForWidth(label->width()));
        } else {
            EXPECT_GE(label->width(), label->sizeHint().width());
            EXPECT_GE(label->height(), label->sizeHint().height());
        }
    }
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
        SCOPED_TRACE(button->objectName().toStdString());
        EXPECT_GE(button->width(), button->sizeHint().width());
    }
    for (QGroupBox* frame : window.findChildren<QGroupBox*>()) {
        SCOPED_TRACE(frame->objectName().toStdString());
        EXPECT_GE(frame->width(), frame->minimumSizeHint().width());
    }
    const QRect area = window.screen()->availableGeometry();
    EXPECT_TRUE(area.contains(window.geometry())) << window.width() << "x" << window.height();
}

class WindowFitTest : public test::EditorFixture {
  protected:
    // The windows under test, shown: the editor with a refused income's message, and the
    // row-name dialog.
    void ShowWindows() {
        Start();
        ShowActive();
        Income(0).setFocus(Qt::TabFocusReason);
        Income(0).setText(QStringLiteral("twelve dollars"));
        Income(1).setFocus(Qt::TabFocusReason);
        QString name;
        dialog = std::make_unique<RowNameDialog>(prompt, name, form.get());
        dialog->show();
        QApplication::processEvents();
    }
    std::unique_ptr<RowNameDialog> dialog;
};

// Run in the child only: the windows at the font DPI and scale factor of its environment.
TEST_F(WindowFitTest, Probe) {
    if (qEnvironmentVariableIsEmpty(kProbe)) GTEST_SKIP() << "run by the tests below";
    const QString language = qEnvironmentVariable(kProbeLanguage);
    const shell::Translations translations(shell::Program::Windows,
                                           language.isEmpty() ? QLocale::c() : QLocale(language));
    ASSERT_EQ(translations.Language(), language);
    ShowWindows();
    const int dpi = qEnvironmentVariableIntValue("QT_FONT_DPI");
    if (dpi > 0) {
        ASSERT_EQ(form->logicalDpiY(), dpi);  // the setting took effect
    }
    const qreal scale = qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
                            ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble()
                            : 1.0;
    ASSERT_DOUBLE_EQ(form->devicePixelRatioF(), scale);
    for (QWidget* window :
         {static_cast<QWidget*>(form.get()), static_cast<QWidget*>(dialog.get())}) {
        ExpectNothingCut(*window);
        // The picture is drawn at the device pixels, and every caption shows in it.
        const QImage picture = window->grab().toImage();
        EXPECT_EQ(picture.size(), window->size() * scale);
        for (QWidget* caption : window->findChildren<QWidget*>()) {
            // A disabled control is exempt from the contrast rule (WCAG 1.4.3), as Undo
            // with nothing to undo.
            if (!caption->isVisible() || !caption->isEnabled() || caption->window() != window ||
                (qobject_cast<QLabel*>(caption) == nullptr &&
                 qobject_cast<QPushButton*>(caption) == nullptr) ||
                (qobject_cast<QLabel*>(caption) != nullptr &&
                 static_cast<QLabel*>(caption)->text().isEmpty()))
                continue;
            SCOPED_TRACE(caption->objectName().toStdString());
            EXPECT_GE(TextContrast(picture, AreaIn(*window, *caption, caption->rect(), scale)),
                      4.5);
        }
    }
}

TEST(WindowFit, CaptionsFitAtEveryFontDpiAndScale) {
    // A screen large enough for the windows at twice their size.
    QTemporaryDir folder;
    const QString screens = folder.filePath(QStringLiteral("screens.json"));
    QFile file(screens);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"({"screens": [{"name": "big", "x": 0, "y": 0, "width": 3840, "height": 2400,
                   "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    file.close();
    const struct Case {
        const char* language;
        const char* fontDpi;
        const char* scale;
    } cases[] = {
        {"", "96", nullptr},    {"", "144", nullptr},  {"", "192", nullptr},
        {"", nullptr, "1.5"},   {"", nullptr, "2"},    {"de", "96", nullptr},
        {"de", "144", nullptr}, {"de", nullptr, "2"},  {"fr", "96", nullptr},
        {"fr", "144", nullptr}, {"es", "96", nullptr}, {"es", "144", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.language) + ' ' + (c.fontDpi != nullptr ? c.fontDpi : c.scale));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kProbe), QStringLiteral("1"));
        env.insert(QString::fromLatin1(kProbeLanguage), QLatin1String(c.language));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"),
                   QStringLiteral("offscreen:configfile=") + screens);
        if (c.fontDpi != nullptr) {
            env.insert(QStringLiteral("QT_FONT_DPI"), QLatin1String(c.fontDpi));
            env.insert(QStringLiteral("QT_ENABLE_HIGHDPI_SCALING"), QStringLiteral("0"));
        }
        if (c.scale != nullptr)
            env.insert(QStringLiteral("QT_SCALE_FACTOR"), QLatin1String(c.scale));
        QProcess child;
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--gtest_filter=WindowFitTest.Probe")});
        ASSERT_TRUE(child.waitForFinished(120000));
        const QString output = QString::fromLocal8Bit(child.readAll());
        EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
        EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 1 test"))) << output.toStdString();
    }
}

// Applies a palette to the application for the length of a scope.
class ScopedPalette {
  public:
    explicit ScopedPalette(const QPalette& palette) : before_(QApplication::palette()) {
        QApplication::setPalette(palette);
    }
    ~ScopedPalette() { QApplication::setPalette(before_); }
    ScopedPalette(const ScopedPalette&) = delete;
    ScopedPalette& operator=(const ScopedPalette&) = delete;

  private:
    QPalette before_;
};

QPalette DarkPalette() {
    // As a dark desktop theme sets it: light text on dark surfaces, a darker base.
    QPalette dark(QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::WindowText, QColor(0xEE, 0xEE, 0xEC));
    dark.setColor(QPalette::Base, QColor(0x2D, 0x2D, 0x2D));
    dark.setColor(QPalette::Text, QColor(0xEE, 0xEE, 0xEC));
    dark.setColor(QPalette::Button, QColor(0x3A, 0x3A, 0x3A));
    dark.setColor(QPalette::ButtonText, QColor(0xEE, 0xEE, 0xEC));
    return dark;
}

TEST_F(WindowFitTest, EveryTextReadsInLightAndDarkPalettes) {
    for (const bool darkPalette : {false, true}) {
        SCOPED_TRACE(darkPalette ? "dark" : "light");
        const ScopedPalette palette(darkPalette ? DarkPalette()
                                                : QApplication::style()->standardPalette());
        ShowWindows();
        for (QWidget* window :
             {static_cast<QWidget*>(form.get()), static_cast<QWidget*>(dialog.get())}) {
            const QImage picture = window->grab().toImage();
            const qreal ratio = window->devicePixelRatioF();
            for (QLabel* label : window->findChildren<QLabel*>()) {
                if (label->window() != window) continue;
                SCOPED_TRACE(label->objectName().toStdString());
                ASSERT_FALSE(label->text().isEmpty());
                EXPECT_GE(TextContrast(picture, AreaIn(*window, *label, label->rect(), ratio)),
                          4.5);
            }
            for (QGroupBox* frame : window->findChildren<QGroupBox*>()) {
                if (frame->window() != window) continue;
                SCOPED_TRACE(frame->objectName().toStdString());
                const QRect title(0, 0, frame->fontMetrics().horizontalAdvance(frame->title()),
                                  frame->fontMetrics().height());
                EXPECT_GE(TextContrast(picture, AreaIn(*window, *frame, title, ratio)), 4.5);
            }
            for (QPushButton* button : window->findChildren<QPushButton*>()) {
                if (button->window() != window || !button->isEnabled()) continue;
                SCOPED_TRACE(button->objectName().toStdString());
                EXPECT_GE(
                    TextContrast(picture, AreaIn(*window, *button,
                                                 button->rect().adjusted(4, 4, -4, -4), ratio)),
                    4.5);
            }
        }
        dialog.reset();
        form.reset();
    }
}

TEST_F(WindowFitTest, LaidOutEditorGivesExtraRoomToTheListAndTheIncomeBoxes) {
    Start();
    ShowActive();
    const QSize before = Tree().size();
    const int boxBefore = Income(0).width();
    const int labelBefore = form->findChild<QLabel*>(QStringLiteral("Label4_0"))->width();
    form->resize(form->size() + QSize(200, 150));
    QApplication::processEvents();
    EXPECT_EQ(Tree().size(), before + QSize(200, 150));
    EXPECT_GT(Income(0).width(), boxBefore + 50);
    EXPECT_EQ(form->findChild<QLabel*>(QStringLiteral("Label4_0"))->width(), labelBefore);
    // Smaller than the content needs it does not get.
    form->resize(100, 100);
    QApplication::processEvents();
    EXPECT_GE(form->width(), form->minimumSizeHint().width());
    EXPECT_GE(form->height(), form->minimumSizeHint().height());
}

TEST_F(WindowFitTest, HelpShowsTheContactMessageThenTheHelpWindowWithItsAboutBox) {
    Start();
    ShowActive();
    for (const bool byKey : {false, true}) {
        SCOPED_TRACE(byKey ? "F1" : "Help");
        prompt.shown.clear();
        if (byKey) {
            QTest::keyClick(form.get(), Qt::Key_F1);
        } else {
            Click("PushButton6");
        }
        ASSERT_EQ(prompt.Notices().size(), 1u);
        EXPECT_EQ(prompt.Notices().front(),
                  QStringLiteral("Questions? Please contact Team Tarnwick at ") +
                      QLatin1String(config::kContactPage));
        auto* help = form->findChild<HelpWindow*>();
        ASSERT_NE(help, nullptr);
        EXPECT_TRUE(help->isVisible());
        auto* text = help->findChild<QTextBrowser*>();
        EXPECT_TRUE(text->openExternalLinks());
        const QString plain = text->toPlainText().remove(QChar(0x2060));
        EXPECT_TRUE(plain.contains(store->FilePath())) << plain.toStdString();
        EXPECT_TRUE(plain.contains(QStringLiteral("Ctrl+Q")));
        // The contact address lies on one line of the laid-out text.
        const QString page = QString::fromLatin1(config::kContactPage);
        bool found = false;
        for (QTextBlock block = text->document()->begin(); block.isValid(); block = block.next()) {
            const QString blockText = block.text().remove(QChar(0x2060));
            if (!blockText.contains(page)) continue;
            found = true;
            QTextLayout* layout = block.layout();
            const int start = block.text().indexOf(QStringLiteral("h\u2060t\u2060t\u2060p"));
            const int end = start + page.size() * 2 - 2;
            EXPECT_EQ(layout->lineForTextPosition(start).lineNumber(),
                      layout->lineForTextPosition(end).lineNumber());
        }
        EXPECT_TRUE(found);
        help->findChild<QPushButton*>(QStringLiteral("AboutButton"))->click();
        ASSERT_EQ(prompt.Notices().size(), 2u);
        const QString about = prompt.Notices().back();
        EXPECT_TRUE(about.contains(QStringLiteral(QUILL_VERSION_TEXT)));
        EXPECT_TRUE(about.contains(QStringLiteral("GNU General Public License")));
        EXPECT_TRUE(about.contains(QStringLiteral("href=\"mailto:support@quillmere.example\"")));
        help->close();
    }
}

TEST(WindowFit, NoticesMakeAddressesLinksThatDoNotBreak) {
    const struct {
        const char* text;
        const char* link;
    } cases[] = {
        {"Questions? Please contact Team Tarnwick at https://www.quillmere.example/contact",
         "<a href=\"https://www.quillmere.example/contact\">"},
        {"Write to support@quillmere.example.", "<a href=\"mailto:support@quillmere.example\">"},
    };
    for (const auto& c : cases) {
        const QString linked = ToLinkedText(QLatin1String(c.text));
        EXPECT_TRUE(linked.contains(QLatin1String(c.link))) << linked.toStdString();
        EXPECT_EQ(QTextDocumentFragment::fromHtml(linked).toPlainText().remove(QChar(0x2060)),
                  QLatin1String(c.text));
    }
    EXPECT_TRUE(ToLinkedText(QStringLiteral("Row deleted.")).isEmpty());
    EXPECT_TRUE(ToLinkedText(QStringLiteral("a < b & c")).isEmpty());
}

TEST(WindowFit, CommandLineAnswersWithoutADisplayAndSaysWhenThereIsNone) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        env.remove(QLatin1String(name));
    // The answers come in the desktop's language, set here in full so that the developer's
    // own does not count.
    const struct {
        const char* locale;
        QStringList args;
        int status;
        const char* out;
        const char* err;
    } cases[] = {
        {"C", {QStringLiteral("--help")}, 0, "Usage: quillmere", ""},
        {"C", {QStringLiteral("--version")}, 0, "quillmere " QUILL_VERSION_TEXT "\n", ""},
        {"C", {}, 1, "", "no display found"},
        {"de_DE.UTF-8", {QStringLiteral("--help")}, 0, "Aufruf: quillmere", ""},
        {"de_DE.UTF-8", {QStringLiteral("--version")}, 0, "quillmere " QUILL_VERSION_TEXT "\n", ""},
        {"de_DE.UTF-8", {}, 1, "", "keine Anzeige gefunden"},
        {"es_ES.UTF-8", {}, 1, "", "no se encontró ninguna pantalla"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale + (' ' + c.args.join(' ').toStdString()));
        const QString locale = QLatin1String(c.locale);
        env.insert(QStringLiteral("LANG"), locale);
        env.insert(QStringLiteral("LC_ALL"), locale);
        env.insert(QStringLiteral("LANGUAGE"), locale.section(u'_', 0, 0).section(u'.', 0, 0));
        QProcess program;
        program.setProcessEnvironment(env);
        program.start(kProgram, c.args);
        ASSERT_TRUE(program.waitForFinished(30000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), c.status);
        const QString out = QString::fromUtf8(program.readAllStandardOutput());
        const QString err = QString::fromUtf8(program.readAllStandardError());
        if (*c.out == '\0') {
            EXPECT_TRUE(out.isEmpty()) << out.toStdString();
        } else {
            EXPECT_TRUE(out.startsWith(QLatin1String(c.out))) << out.toStdString();
        }
        EXPECT_TRUE(err.contains(QString::fromUtf8(c.err))) << err.toStdString();
        EXPECT_LE(err.count(QLatin1Char('\n')), 1) << err.toStdString();
    }
}

TEST(WindowFit, ARunWithoutRuntimeFolderWritesNothingToStandardError) {
    QTemporaryDir folder;
    QProcessEnvironment env = test::EnglishEnvironment();
    env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    env.insert(QStringLiteral("TMPDIR"), folder.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(test::CompanionProgram(),
                  {QStringLiteral("--defaults"), QStringLiteral("-o"),
                   folder.filePath(QStringLiteral("budget.xls")), QStringLiteral("--picture"),
                   folder.filePath(QStringLiteral("budget.png"))});
    ASSERT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_EQ(program.readAllStandardError(), QByteArray());
}

}  // namespace
}  // namespace quill::editor
