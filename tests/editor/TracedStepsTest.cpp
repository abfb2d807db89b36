// Every traced procedure's path and step numbers, as the error-report box shows them: users
// quote "Fenbrook2021/08/31.Form1.Form_Load at line 104", so renaming code or adding a step
// must change neither. The trap's observer lists the steps each procedure runs while the
// windows are driven through their commands; one failing step shows the box's text.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include <QDir>
#include <QMouseEvent>
#include <QPrinter>
#include <QPushButton>
#include <QShortcut>
#include <QWheelEvent>

#include "editor/EditorFixture.h"
#include "editor/RowNameDialog.h"
#include "preview/PictureBox.h"
#include "preview/SheetPreviewWindow.h"
#include "shell/ErrorTrap.h"

namespace quill::editor {
namespace {

using Steps = std::vector<std::pair<QString, int>>;

// The lines from `first` to `last` in steps of two.
std::vector<int> Numbered(int first, int last) {
    std::vector<int> lines;
    for (int line = first; line <= last; line += 2) lines.push_back(line);
    return lines;
}

std::vector<int> Join(std::vector<int> a, const std::vector<int>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class TracedStepsTest : public test::EditorFixture {
  protected:
    void SetUp() override {
        Trace::SetObserver([this](const QString& path, int line) {
            steps.emplace_back(path, line);
            if (path == failPath && line == failLine) throw Failure("Injected failure");
        });
    }
    void TearDown() override { Trace::SetObserver({}); }

    // The lines that `path` ran since the last Take, in order.
    std::vector<int> Lines(const QString& path) const {
        std::vector<int> lines;
        for (const auto& [p, line] : steps)
            if (p == path) lines.push_back(line);
        return lines;
    }
    void Clear() { steps.clear(); }

    static void Mouse(QWidget& widget, QEvent::Type type, QPoint at) {
        const Qt::MouseButtons buttons =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(at), QPointF(widget.mapToGlobal(at)),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(&widget, &event);
    }

    Steps steps;
    QString failPath;
    int failLine = 0;
};

TEST_F(TracedStepsTest, EveryProcedureKeepsItsPathAndLineNumbers) {
    const auto check = [&](const char* what, const char* path, std::vector<int> lines) {
        SCOPED_TRACE(what);
        EXPECT_EQ(Lines(QLatin1String(path)), lines) << path;
    };

    Start();
    ASSERT_TRUE(loaded);
    ShowActive();
    check("start-up", "Form1.Form_Load", Numbered(100, 116));

    Clear();
    Select(QStringLiteral("Mortgage or rent"));
    nextRowName = QStringLiteral("Boat");
    Click("PushButton2");
    check("Insert Below", "Form1.PushButton2_Click", Numbered(100, 120));

    Clear();
    prompt.inputs = {QStringLiteral("Yacht")};
    prompt.yesNo = {true};
    Click("PushButton4");
    check("Rename Selected, Yes", "Form1.PushButton4_Click", Numbered(100, 110));
    Clear();
    prompt.inputs = {QStringLiteral("Dinghy")};
    prompt.yesNo = {false};
    Click("PushButton4");
    check("Rename Selected, No", "Form1.PushButton4_Click", {100, 102, 104, 110});

    Clear();
    prompt.yesNo = {true};
    Click("PushButton1");
    check("Delete Selected", "Form1.PushButton1_Click", Numbered(100, 116));

    Clear();
    prompt.yesNo = {true};
    Click("PushButton3");
    check("Restore Default", "Form1.PushButton3_Click", Numbered(100, 106));

    Clear();
    Click("PushButton6");
    check("Help", "Form1.PushButton6_Click", {100});

    Clear();
    preview::SheetPreviewWindow& preview = Generate();
    check("Start Creating Template", "Form1.PushButton22_Click", {100, 104, 106, 108, 110});
    check("the generation", "PersonalFinance.GenerateReport0",
          Join({100}, Join(Numbered(114, 122),
                           Join({134, 136}, Join(Numbered(140, 152), Numbered(156, 170))))));
    check("the picture", "Excel1.saveCellsActivesheet", Numbered(100, 106));
    check("the preview's load", "Form3.Form_Load", Numbered(100, 106));
    check("the preview's activation", "Form3.Form_Activate", Numbered(100, 114));
    check("the first drawing", "Form3.RedrawImage", Numbered(100, 112));

    Clear();
    preview.findChild<QPushButton*>(QStringLiteral("PushButton1"))->click();
    check("Zoom In", "Form3.PushButton1_Click", {100});
    check("Zoom In's drawing", "Form3.RedrawImage", Numbered(100, 112));
    Clear();
    preview.findChild<QPushButton*>(QStringLiteral("PushButton2"))->click();
    check("Zoom Out", "Form3.PushButton2_Click", {100});
    check("Zoom Out's drawing", "Form3.RedrawImage", Numbered(100, 112));

    Clear();
    for (QShortcut* shortcut : preview.findChildren<QShortcut*>())
        if (shortcut->key() == QKeySequence(Qt::CTRL | Qt::Key_0)) emit shortcut->activated();
    check("Ctrl+0", "Form3.FitWidth", {100});
    Clear();
    auto& viewport = *preview.findChild<QWidget*>(QStringLiteral("Picture2"));
    QWheelEvent wheel(QPointF(50, 50), viewport.mapToGlobal(QPointF(50, 50)), QPoint(),
                      QPoint(0, 120), Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&viewport, &wheel);
    check("Ctrl+wheel", "Form3.ZoomAbout", {100});
    check("Ctrl+wheel's drawing", "Form3.RedrawImage", Numbered(100, 112));

    Clear();
    auto& picture = *preview.findChild<preview::PictureBox*>(QStringLiteral("Picture1"));
    Mouse(picture, QEvent::MouseButtonPress, QPoint(40, 40));
    Mouse(picture, QEvent::MouseMove, QPoint(30, 30));
    Mouse(picture, QEvent::MouseButtonRelease, QPoint(30, 30));
    check("press on the picture", "Form3.Picture1_MouseDown", {100});
    check("drag on the picture", "Form3.Picture1_MouseMove", {100});
    check("release on the picture", "Form3.Picture1_MouseUp", Numbered(100, 106));

    Clear();
    prompt.saveNames = {QDir(temp.Path()).filePath(QStringLiteral("saved.xls"))};
    preview.findChild<QPushButton*>(QStringLiteral("PushButton6"))->click();
    check("Save Results To Excel File", "Form3.PushButton6_Click", Numbered(100, 106));

    Clear();
    preview.SetPrintDialog([&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QDir(temp.Path()).filePath(QStringLiteral("printed.pdf")));
        return true;
    });
    for (QShortcut* shortcut : preview.findChildren<QShortcut*>())
        if (shortcut->key() == QKeySequence(QKeySequence::Print)) emit shortcut->activated();
    check("Ctrl+P to a file", "Form3.PrintWorkbook", Numbered(100, 104));

    Clear();
    preview.findChild<QPushButton*>(QStringLiteral("PushButton8"))->click();
    check("< Back", "Form3.PushButton8_Click", Numbered(100, 104));

    // Closing the preview saves the editor's state: one step a value (4 incomes, 4 fields
    // of every row, the row count, the field count, the saved flag), then the file.
    Clear();
    Generate().close();
    check("closing the preview", "Form3.Form_QueryUnload", Numbered(100, 104));
    const int values = 4 + 4 * static_cast<int>(state.categories.size()) + 3;
    check("saving the state", "Form1.Form_QueryUnload", Numbered(100, 100 + 2 * values));
    EXPECT_TRUE(prompt.Errors().empty());

    // The row-name dialog.
    Clear();
    QString name;
    {
        RowNameDialog dialog(prompt, name);
        check("the dialog's load", "Form2.Form_Load", Numbered(100, 104));
        dialog.findChild<QPushButton*>(QStringLiteral("PushButton2"))->click();
        check("OK with no name", "Form2.PushButton2_Click", Numbered(100, 104));
        Clear();
        dialog.findChild<QLineEdit*>(QStringLiteral("Text1_0"))->setText(QStringLiteral("Kayak"));
        dialog.findChild<QPushButton*>(QStringLiteral("PushButton2"))->click();
        check("OK with a name", "Form2.PushButton2_Click", {100, 106});
    }
    Clear();
    {
        RowNameDialog dialog(prompt, name);
        dialog.findChild<QPushButton*>(QStringLiteral("PushButton1"))->click();
        check("Cancel", "Form2.PushButton1_Click", {100});
    }

    // A failing step names its procedure and line in the box, and the next step runs.
    prompt.shown.clear();
    failPath = QStringLiteral("Form1.PushButton6_Click");
    failLine = 100;
    Click("PushButton6");
    ASSERT_EQ(prompt.Errors().size(), 1u);
    EXPECT_TRUE(prompt.Errors()[0].startsWith(
        QStringLiteral("Injected failure\r\nin Fenbrook2021/08/31.Form1.PushButton6_Click at "
                       "line 100\r\r")));
}

}  // namespace
}  // namespace quill::editor
