#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>

#include "preview/PictureBox.h"
#include "preview/SheetPreviewWindow.h"
#include "shell/Translations.h"
#include "support/FileBytes.h"
#include "support/RecordingPrompt.h"
#include "support/ScratchConfig.h"
#include "support/SmallFileSystem.h"

namespace quill::preview {
namespace {

// Left half red, right half blue, so a stretched repaint can be told from a cropped one.
QImage TwoColourPicture(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::red);
    QPainter painter(&image);
    painter.fillRect(width / 2, 0, width - width / 2, height, Qt::blue);
    return image;
}

using test::ReadAll;

void WriteAll(const QString& path, const QByteArray& bytes) {
    ASSERT_TRUE(test::WriteAll(path, bytes)) << path.toStdString();
}

class SheetPreviewWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(temp.isValid());
        ASSERT_TRUE(QDir(temp.path()).mkdir(QStringLiteral("temp")));
        ASSERT_TRUE(QDir(temp.path()).mkdir(QStringLiteral("out")));
        workbook = temp.filePath(QStringLiteral("temp/wimbur12345678.xls"));
        // Not a real workbook: the save copies bytes and never looks inside.
        workbookBytes = QByteArray("\xD0\xCF\x11\xE0 workbook ", 13).repeated(20000);
        WriteAll(workbook, workbookBytes);
        form = std::make_unique<SheetPreviewWindow>(prompt);
        form->SetEndProgram([this] { events.push_back("end"); });
    }

    // The report driver's hand-over.
    void HandOver(const QImage& picture) {
        form->LoadPicture(picture);
        form->SetWorkbookPath(workbook);
        form->show();
    }

    template <class T>
    T* Child(const char* name) const {
        T* child = form->findChild<T*>(QLatin1String(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }

    void Save() { Child<QPushButton>("PushButton6")->click(); }

    void TearDown() override { EXPECT_TRUE(prompt.Errors().empty() || expectErrors); }

    QString OutPath(const char* name) const { return temp.filePath(QStringLiteral("out/") + name); }

    QStringList OutFolder() const {
        return QDir(temp.filePath(QStringLiteral("out")))
            .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    void SendMouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)), button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    }

    // The save dialog's remembered folder and format go to a scratch configuration.
    test::ScratchConfig config;
    QTemporaryDir temp;
    QString workbook;
    QByteArray workbookBytes;
    test::RecordingPrompt prompt;
    std::unique_ptr<SheetPreviewWindow> form;
    std::vector<std::string> events;
    bool expectErrors = false;
};

TEST_F(SheetPreviewWindowTest, ShowingAfterTheHandOverPreparesZoomAndBars) {
    HandOver(TwoColourPicture(1030, 1500));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Quillmere"));
    // The designed viewport (622 × 495 pixels) in a window that can be resized.
    EXPECT_EQ(Child<QWidget>("Picture2")->size(), QSize(622, 495));
    EXPECT_NE(form->maximumSize(), form->minimumSize());
    auto* picture = Child<PictureBox>("Picture1");
    EXPECT_EQ(form->Model().ZoomFactor(), 1.0f);
    EXPECT_EQ(picture->geometry(), QRect(0, 0, 1030, 1500));
    EXPECT_EQ(picture->Picture().size(), QSize(1030, 1500));
    EXPECT_EQ(Child<PictureBox>("Zoom_Ori")->Picture().size(), QSize(1030, 1500));
    EXPECT_FALSE(Child<PictureBox>("Zoom_Ori")->isVisible());

    auto* h = Child<QScrollBar>("HScroll1");
    auto* v = Child<QScrollBar>("VScroll1");
    EXPECT_TRUE(h->isEnabled());
    EXPECT_EQ(h->maximum(), 612);  // (15448 - 9330) / 10
    EXPECT_TRUE(v->isEnabled());
    EXPECT_EQ(v->maximum(), 1507);  // (22498 - 7425) / 10

    v->setValue(100);  // the user scrolls: 1000 twips
    EXPECT_EQ(picture->pos(), QPoint(0, -67));
}

// The relative luminance contrast of two colours (1 to 21).
double Contrast(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& c) {
        const auto channel = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) +
               0.0722 * channel(c.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// On a laptop screen at scale 1, 1.5 and 2 (the free area in pixels shrinks by the scale)
// and with a larger font, in every language, the window fits the free area with every
// control whole: no text cut, the buttons on screen, the viewport taking the rest. At scale
// 1 the designed size.
TEST_F(SheetPreviewWindowTest, TheWindowFitsTheScreenAtEveryScaleAndFont) {
    struct Case {
        double scale;
        double font;  // times the designed size
    };
    for (const char* language : {"C", "de", "fr", "es"})
        for (const Case c : {Case{1, 1}, Case{1.5, 1}, Case{2, 1}, Case{1, 1.5}, Case{2, 1.5}}) {
            SCOPED_TRACE(language + std::to_string(c.scale * 10 + c.font));
            const shell::Translations translations(shell::Program::Windows,
                                                   QLocale(QLatin1String(language)));
            SheetPreviewWindow window(prompt);
            window.SetEndProgram([] {});
            for (QWidget* widget : window.findChildren<QWidget*>()) {
                QFont font = widget->font();
                font.setPointSizeF(font.pointSizeF() * c.font);
                widget->setFont(font);
            }
            const QRect available(0, 0, static_cast<int>(1366 / c.scale),
                                  static_cast<int>((768 - 32) / c.scale));
            window.FitOnScreen(available);
            window.LoadPicture(TwoColourPicture(1030, 1500));
            window.show();
            EXPECT_TRUE(available.contains(window.geometry())) << window.geometry().height();
            auto* viewport = window.findChild<QWidget*>(QStringLiteral("Picture2"));
            if (c.scale == 1 && c.font == 1) {
                EXPECT_EQ(viewport->size(), QSize(622, 495));
            }
            EXPECT_GE(viewport->width(), 150);
            EXPECT_GE(viewport->height(), 100);
            for (QWidget* control : window.findChildren<QWidget*>()) {
                if (qobject_cast<QPushButton*>(control) == nullptr &&
                    qobject_cast<QLabel*>(control) == nullptr)
                    continue;
                SCOPED_TRACE(control->objectName().toStdString());
                const QRect inWindow(control->mapTo(&window, QPoint(0, 0)), control->size());
                EXPECT_TRUE(window.rect().contains(inWindow));
                EXPECT_GE(control->width(), control->minimumSizeHint().width());
                EXPECT_GE(control->height(), control->minimumSizeHint().height());
            }
        }
}

// In a dark palette the surfaces follow the palette and every text stays readable; the
// sheet's picture is the paper it is printed on and stays white.
TEST_F(SheetPreviewWindowTest, ADarkPaletteKeepsEveryTextReadable) {
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x2b, 0x2b, 0x2b));
    dark.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Button, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::ButtonText, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
    dark.setColor(QPalette::Text, QColor(0xee, 0xee, 0xee));
    const QPalette before = QApplication::palette();
    QApplication::setPalette(dark);
    struct Restore {
        QPalette palette;
        ~Restore() { QApplication::setPalette(palette); }
    } restore{before};

    SheetPreviewWindow window(prompt);
    window.SetEndProgram([] {});
    window.LoadPicture(TwoColourPicture(200, 100));
    window.show();
    const QImage shot = window.grab().toImage();
    // No white surface outside the picture: the window's corner and the viewport beside the
    // small picture show the palette.
    EXPECT_LT(QColor(shot.pixel(2, 2)).lightness(), 100);
    auto* viewport = window.findChild<QWidget*>(QStringLiteral("Picture2"));
    const QPoint besidePicture = viewport->mapTo(&window, QPoint(viewport->width() - 10, 300));
    EXPECT_LT(QColor(shot.pixel(besidePicture)).lightness(), 100);
    // Every text against what is painted behind it.
    for (QWidget* control : window.findChildren<QWidget*>()) {
        const auto* button = qobject_cast<QPushButton*>(control);
        if (button == nullptr && qobject_cast<QLabel*>(control) == nullptr &&
            qobject_cast<QGroupBox*>(control) == nullptr)
            continue;
        SCOPED_TRACE(control->objectName().toStdString());
        const QPalette& p = control->palette();
        const QPalette::ColorRole text = button ? QPalette::ButtonText : QPalette::WindowText;
        const QPalette::ColorRole back = button ? QPalette::Button : QPalette::Window;
        EXPECT_GE(Contrast(p.color(text), p.color(back)), 4.5);
        // The painted pixels hold the text's colour against the background's.
        const QImage painted = control->grab().toImage();
        double best = 0;
        const QColor ground(painted.pixel(1, painted.height() / 2));
        for (int y = 0; y < painted.height(); ++y)
            for (int x = 0; x < painted.width(); ++x)
                best = std::max(best, Contrast(QColor(painted.pixel(x, y)), ground));
        EXPECT_GE(best, 4.5);
    }
}

TEST_F(SheetPreviewWindowTest, ZoomOutAndInRepaintThePictureStretched) {
    HandOver(TwoColourPicture(1030, 1500));
    auto* picture = Child<PictureBox>("Picture1");
    Child<QPushButton>("PushButton2")->click();
    EXPECT_EQ(form->Model().ZoomFactor(), 0.75f);
    EXPECT_EQ(picture->size(), QSize(772, 1125));
    const QImage shown = picture->grab().toImage();
    ASSERT_EQ(shown.size(), QSize(772, 1125));
    EXPECT_EQ(QColor(shown.pixel(100, 10)), QColor(Qt::red));
    EXPECT_EQ(QColor(shown.pixel(500, 10)), QColor(Qt::blue));  // red at 500 if cropped
    EXPECT_EQ(Child<QScrollBar>("HScroll1")->maximum(), 226);
    EXPECT_EQ(Child<QScrollBar>("VScroll1")->maximum(), 945);

    Child<QPushButton>("PushButton1")->click();
    EXPECT_EQ(form->Model().ZoomFactor(), 1.0f);
    EXPECT_EQ(picture->Picture().size(), QSize(1030, 1500));

    // 1.25 is within the limit: drawn 1287 pixels wide.
    Child<QPushButton>("PushButton1")->click();
    EXPECT_EQ(form->Model().ZoomFactor(), 1.25f);
    EXPECT_EQ(picture->size(), QSize(1287, 1875));
}

TEST_F(SheetPreviewWindowTest, DraggingThePictureMovesItAndSetsTheBarsOnRelease) {
    HandOver(TwoColourPicture(1030, 1500));
    auto* picture = Child<PictureBox>("Picture1");
    Child<QScrollBar>("VScroll1")->setValue(100);

    SendMouse(picture, QEvent::MouseButtonPress, QPoint(100, 100), Qt::LeftButton);
    SendMouse(picture, QEvent::MouseMove, QPoint(50, 60), Qt::LeftButton);
    EXPECT_EQ(form->Model().PictureLeft(), -750);
    EXPECT_EQ(form->Model().PictureTop(), -1600);
    EXPECT_EQ(picture->pos(), QPoint(-50, -107));

    SendMouse(picture, QEvent::MouseButtonRelease, QPoint(50, 60), Qt::NoButton);
    // 12 and 11 percent of Max 612 and 1507
    EXPECT_EQ(Child<QScrollBar>("HScroll1")->value(), 73);
    EXPECT_EQ(Child<QScrollBar>("VScroll1")->value(), 166);
    EXPECT_EQ(picture->pos(), QPoint(-49, -111));
}

TEST_F(SheetPreviewWindowTest, PointerShowsTheHandOverButtonsAndTheArrowElsewhere) {
    HandOver(TwoColourPicture(600, 400));
    SendMouse(Child<QPushButton>("PushButton6"), QEvent::MouseMove, QPoint(5, 5), Qt::NoButton);
    EXPECT_EQ(form->cursor().shape(), Qt::PointingHandCursor);
    SendMouse(form.get(), QEvent::MouseMove, QPoint(650, 300), Qt::NoButton);
    EXPECT_EQ(form->cursor().shape(), Qt::ArrowCursor);
    SendMouse(Child<QPushButton>("PushButton1"), QEvent::MouseMove, QPoint(5, 5), Qt::NoButton);
    EXPECT_EQ(form->cursor().shape(), Qt::PointingHandCursor);
    Child<QPushButton>("PushButton2")->click();  // a repaint shows the arrow
    EXPECT_EQ(form->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(SheetPreviewWindowTest, SaveCopiesTheWorkbookWithoutAQuestionWhenTheNameIsNew) {
    HandOver(TwoColourPicture(600, 400));
    prompt.saveNames = {OutPath("budget.xls"), OutPath("budget-copy")};
    Save();
    Save();
    Save();  // cancelled: nothing copied, nothing said

    ASSERT_FALSE(prompt.shown.empty());
    EXPECT_EQ(prompt.shown[0].kind, test::Shown::Save);
    EXPECT_EQ(prompt.shown[0].title, QStringLiteral("Save File"));
    // The .xls entry first, as it always was; the other formats after it.
    EXPECT_EQ(prompt.lastFilter.split(QStringLiteral(";;")),
              (QStringList{"Excel Files (*.xls)", "Excel Workbook (*.xlsx)", "PDF Files (*.pdf)"}));
    EXPECT_TRUE(prompt.Questions().empty());
    EXPECT_EQ(prompt.Notices(), (std::vector<QString>{"Done.", "Done."}));
    EXPECT_EQ(prompt.shown[1].title, QStringLiteral("Quillmere"));

    // Byte for byte, under the name exactly as given; the temporary workbook stays.
    EXPECT_EQ(ReadAll(OutPath("budget.xls")), workbookBytes);
    EXPECT_EQ(ReadAll(OutPath("budget-copy")), workbookBytes);
    EXPECT_EQ(OutFolder(), (QStringList{"budget-copy", "budget.xls"}));
    EXPECT_TRUE(QFile::exists(workbook));
}

TEST_F(SheetPreviewWindowTest, SaveOverAnExistingFileAsksFirst) {
    HandOver(TwoColourPicture(600, 400));
    const QString target = OutPath("budget.xls");
    WriteAll(target, "old");
    prompt.saveNames = {target, target};
    prompt.yesNo = {false, true};

    Save();
    EXPECT_EQ(ReadAll(target), QByteArray("old"));
    ASSERT_EQ(prompt.Questions().size(), 1u);
    EXPECT_EQ(prompt.Questions()[0], QStringLiteral("Are you sure you wish to overwrite ") +
                                         target + QStringLiteral(" ?"));
    EXPECT_EQ(prompt.shown[1].title, QStringLiteral("Quillmere"));
    EXPECT_TRUE(prompt.Notices().empty());  // declined: nothing was saved

    Save();
    EXPECT_EQ(ReadAll(target), workbookBytes);
    EXPECT_EQ(prompt.Notices(), std::vector<QString>{"Done."});
    EXPECT_EQ(OutFolder(), QStringList{"budget.xls"});
}

TEST_F(SheetPreviewWindowTest, FailedCopyIsReportedAndLeavesTheExistingFileIntact) {
    HandOver(TwoColourPicture(600, 400));
    const QString target = OutPath("budget.xls");
    WriteAll(target, "old");
    WriteAll(OutPath("plain"), "x");
    const QString gone = temp.filePath(QStringLiteral("temp/gone.xls"));
    // An ordinary failure to write (or to read the temporary workbook) is a plain notice
    // that names the file and the cause, never the error-report box, and never "Done.".
    // The folders cannot be created even by a privileged user.
    struct Failed {
        QString target;
        int entry;
        QString source;
        QString notice;  // the start of the notice
    };
    const std::vector<Failed> cases = {
        {target, 0, gone, "Cannot read " + gone + ": No such file or directory"},
        {OutPath("plain") + "/budget.xls", 0, workbook,
         "Cannot write " + OutPath("plain") + "/budget.xls: Not a directory"},
        {OutPath("missing") + "/budget.xls", 0, workbook,
         "Cannot write " + OutPath("missing") + "/budget.xls: No such file or directory"},
        {QStringLiteral("/proc/budget.xls"), 0, workbook, "Cannot write /proc/budget.xls: "},
    };
    for (const Failed& failed : cases) {
        SCOPED_TRACE(failed.target.toStdString());
        prompt.shown.clear();
        prompt.saveNames = {failed.target};
        prompt.saveEntries = {failed.entry};
        prompt.yesNo = {true};
        form->SetWorkbookPath(failed.source);
        Save();
        ASSERT_FALSE(prompt.shown.empty());
        const test::Shown& notice = prompt.shown.back();
        EXPECT_EQ(notice.kind, test::Shown::Notice);
        EXPECT_TRUE(notice.text.startsWith(failed.notice)) << notice.text.toStdString();
        EXPECT_TRUE(notice.text.endsWith(QStringLiteral(". Nothing was written.")))
            << notice.text.toStdString();
        EXPECT_EQ(notice.title, QStringLiteral("Quillmere"));
        EXPECT_EQ(prompt.Notices().size(), 1u) << "no \"Done.\" after a failure";
        EXPECT_TRUE(prompt.Errors().empty());
    }
    EXPECT_EQ(ReadAll(target), QByteArray("old"));
    EXPECT_EQ(OutFolder(), (QStringList{"budget.xls", "plain"}));
    EXPECT_FALSE(QFile::exists(QStringLiteral("/proc/budget.xls")));
}

TEST_F(SheetPreviewWindowTest, AFullDiskIsReportedWithItsCauseAndTheOldFileKept) {
    const test::SmallFileSystem disk;
    if (!disk.Mounted()) GTEST_SKIP() << "cannot mount a small file system here";
    HandOver(TwoColourPicture(600, 400));
    const QString target = disk.FilePath(QStringLiteral("budget.xls"));
    WriteAll(target, "old");
    prompt.saveNames = {target};
    prompt.yesNo = {true};
    Save();
    ASSERT_EQ(prompt.Notices().size(), 1u);
    EXPECT_EQ(prompt.Notices()[0], QStringLiteral("Cannot write ") + target +
                                       QStringLiteral(": No space left on device. Nothing was "
                                                      "written."));
    EXPECT_TRUE(prompt.Errors().empty());
    EXPECT_EQ(ReadAll(target), QByteArray("old"));
    EXPECT_EQ(QDir(disk.Path()).entryList(QDir::Files | QDir::Hidden), QStringList{"budget.xls"});
}

TEST_F(SheetPreviewWindowTest, SaveRefusesTargetsItMustNotReplaceAndWritesThroughLinks) {
    HandOver(TwoColourPicture(600, 400));
    const QString locked = OutPath("locked.xls");
    WriteAll(locked, "kept");
    ASSERT_TRUE(QFile::setPermissions(
        locked, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    const QString real = OutPath("real.xls");
    WriteAll(real, "old");
    ASSERT_TRUE(QFile::setPermissions(real, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    ASSERT_TRUE(QFile::link(QStringLiteral("real.xls"), OutPath("link.xls")));
    prompt.saveNames = {locked, OutPath("link.xls")};
    prompt.yesNo = {true};

    // Refused without the question (even for the administrator, who could write it), and
    // without "Done.".
    Save();
    ASSERT_EQ(prompt.shown.size(), 2u);
    EXPECT_EQ(prompt.shown[1].kind, test::Shown::Notice);
    EXPECT_EQ(prompt.shown[1].text, locked + QStringLiteral(" is read-only; it was left as it is. "
                                                            "Choose another name, or make the "
                                                            "file writable first."));
    EXPECT_EQ(prompt.shown[1].title, QStringLiteral("Quillmere"));
    EXPECT_EQ(ReadAll(locked), QByteArray("kept"));
    EXPECT_EQ(QFileInfo(locked).permissions() & 0x7077,
              QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);

    // The link stays a link; the file it leads to gets the copy and keeps its permissions.
    Save();
    EXPECT_EQ(prompt.Questions().size(), 1u);
    EXPECT_EQ(prompt.Notices().back(), QStringLiteral("Done."));
    EXPECT_TRUE(QFileInfo(OutPath("link.xls")).isSymLink());
    EXPECT_EQ(ReadAll(real), workbookBytes);
    EXPECT_EQ(QFileInfo(real).permissions() & 0x7077,
              QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(OutFolder(), (QStringList{"link.xls", "locked.xls", "real.xls"}));
}

TEST_F(SheetPreviewWindowTest, BackDeletesTheWorkbookAndAHandOverAfterwardsPreparesAgain) {
    HandOver(TwoColourPicture(1030, 1500));
    Child<QPushButton>("PushButton2")->click();
    int backs = 0;
    QObject::connect(form.get(), &SheetPreviewWindow::backRequested, [&] { ++backs; });

    Child<QPushButton>("PushButton8")->click();
    EXPECT_EQ(backs, 1);
    EXPECT_FALSE(QFile::exists(workbook));
    EXPECT_TRUE(form->isHidden());
    EXPECT_TRUE(events.empty());

    // The next report: a smaller picture, no horizontal bar, zoom back at 1.0.
    WriteAll(workbook, workbookBytes);
    HandOver(TwoColourPicture(600, 400));
    auto* picture = Child<PictureBox>("Picture1");
    EXPECT_EQ(form->Model().ZoomFactor(), 1.0f);
    EXPECT_EQ(picture->geometry(), QRect(0, 0, 600, 400));
    EXPECT_FALSE(Child<QScrollBar>("HScroll1")->isEnabled());
    EXPECT_FALSE(Child<QScrollBar>("VScroll1")->isEnabled());

    Child<QPushButton>("PushButton2")->click();
    EXPECT_EQ(picture->size(), QSize(450, 300));
    EXPECT_EQ(QColor(picture->grab().toImage().pixel(400, 10)), QColor(Qt::blue));
}

TEST_F(SheetPreviewWindowTest, ClosingDeletesTheWorkbookAndLetsTheMainWindowSaveBeforeTheEnd) {
    HandOver(TwoColourPicture(600, 400));
    QObject::connect(form.get(), &SheetPreviewWindow::closing, [&] {
        events.push_back(QFile::exists(workbook) ? "closing, workbook left" : "closing");
    });
    EXPECT_TRUE(form->close());
    EXPECT_EQ(events, (std::vector<std::string>{"closing", "end"}));
    EXPECT_FALSE(QFile::exists(workbook));
}

}  // namespace
}  // namespace quill::preview
