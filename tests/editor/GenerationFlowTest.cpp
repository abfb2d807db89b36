// The whole round from the editor through one generation to the preview and back, with the
// real engine, the real report driver and the real windows.
#include <gtest/gtest.h>

#include <vector>

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>

#include "editor/EditorFixture.h"
#include "preview/PictureBox.h"
#include "preview/SheetPreviewWindow.h"
#include "sheet/ReportDriver.h"
#include "spreadsheet/render/SheetRenderer.h"
#include "spreadsheet/xls/XlsFile.h"
#include "support/FileBytes.h"

namespace quill::editor {
namespace {

using preview::PictureBox;
using preview::SheetPreviewWindow;

using test::ReadAll;

void WriteAll(const QString& path, const QByteArray& bytes) {
    ASSERT_TRUE(test::WriteAll(path, bytes)) << path.toStdString();
}

// The picture of the used range of the saved workbook's active sheet, drawn independently
// of the driver's own capture.
QImage RenderedSheet(const QString& workbookPath) {
    const spreadsheet::Workbook book = spreadsheet::LoadXls(workbookPath.toStdString());
    const spreadsheet::Worksheet& sheet = *book.Sheets().at(book.activeSheet);
    return spreadsheet::RenderRange(book, sheet, sheet.UsedRange().value());
}

class GenerationFlowTest : public test::EditorFixture {
  protected:
    static void ClickIn(SheetPreviewWindow& preview, const char* button) {
        preview.findChild<QPushButton*>(QLatin1String(button))->click();
    }
    static PictureBox& Picture1(SheetPreviewWindow& preview) {
        return *preview.findChild<PictureBox*>(QStringLiteral("Picture1"));
    }
    QString PictureFile() { return sheet::PicturePath(temp.Path()); }

    void TearDown() override {
        EXPECT_TRUE(prompt.Errors().empty() || errorsExpected)
            << prompt.Errors().front().toStdString();
    }

    bool errorsExpected = false;
};

TEST_F(GenerationFlowTest, GenerationShowsTheSheetPictureAndZoomScalesIt) {
    Start();
    ShowActive();
    SheetPreviewWindow& preview = Generate();
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(preview.isVisible());
    EXPECT_TRUE(QFile::exists(preview.WorkbookPath()));
    EXPECT_FALSE(QFile::exists(PictureFile()));

    const QImage sheet = RenderedSheet(preview.WorkbookPath());
    PictureBox& picture = Picture1(preview);
    ASSERT_FALSE(sheet.isNull());
    EXPECT_EQ(picture.size(), sheet.size());
    EXPECT_TRUE(picture.Picture().toImage().convertToFormat(QImage::Format_RGB32) == sheet)
        << "Picture1 does not show the sheet as drawn";
    EXPECT_FLOAT_EQ(preview.Model().ZoomFactor(), 1.0f);
    // Taller than the viewport: the picture scrolls vertically.
    EXPECT_TRUE(preview.Model().VScroll().enabled);

    for (const float factor : {0.75f, 0.5f}) {
        ClickIn(preview, "PushButton2");
        EXPECT_FLOAT_EQ(preview.Model().ZoomFactor(), factor);
        EXPECT_NEAR(picture.width(), sheet.width() * factor, 1.0);
        EXPECT_NEAR(picture.height(), sheet.height() * factor, 1.0);
        EXPECT_EQ(picture.Render(picture.rect(), 1.0).size(), picture.size());
    }
    ClickIn(preview, "PushButton1");
    ClickIn(preview, "PushButton1");
    EXPECT_FLOAT_EQ(preview.Model().ZoomFactor(), 1.0f);
    EXPECT_EQ(picture.size(), sheet.size());
}

TEST_F(GenerationFlowTest, SaveCopiesTheWorkbookAndAFailedCopyLosesNothing) {
    Start();
    ShowActive();
    SheetPreviewWindow& preview = Generate();
    const QByteArray workbook = ReadAll(preview.WorkbookPath());
    ASSERT_FALSE(workbook.isEmpty());
    QTemporaryDir out;
    const QString fresh = out.filePath(QStringLiteral("budget.xls"));
    const QString existing = out.filePath(QStringLiteral("old.xls"));
    WriteAll(existing, "old bytes");

    // A new name is copied without a question; an existing one asks, No keeps it, Yes
    // replaces it.
    prompt.saveNames = {fresh, existing, existing};
    prompt.yesNo = {false, true};
    ClickIn(preview, "PushButton6");
    EXPECT_EQ(ReadAll(fresh), workbook);
    EXPECT_TRUE(prompt.Questions().empty());
    ClickIn(preview, "PushButton6");
    EXPECT_EQ(ReadAll(existing), "old bytes");
    ClickIn(preview, "PushButton6");
    EXPECT_EQ(ReadAll(existing), workbook);
    const QString overwrite =
        QStringLiteral("Are you sure you wish to overwrite ") + existing + QStringLiteral(" ?");
    EXPECT_EQ(prompt.Questions(), std::vector<QString>({overwrite, overwrite}));

    // A folder that cannot be made (its parent is a file; root may write anywhere else):
    // the copy's failure is told in a plain notice and no file is lost. "Done." follows
    // only the two copies that were made.
    const QString blocker = out.filePath(QStringLiteral("blocker"));
    WriteAll(blocker, "a file");
    prompt.saveNames = {blocker + QStringLiteral("/budget.xls")};
    ClickIn(preview, "PushButton6");
    EXPECT_TRUE(prompt.Errors().empty());
    EXPECT_EQ(prompt.Notices(),
              (std::vector<QString>{"Done.", "Done.",
                                    "Cannot write " + blocker +
                                        "/budget.xls: Not a directory. Nothing was written."}));
    EXPECT_EQ(ReadAll(blocker), "a file");
    EXPECT_EQ(ReadAll(preview.WorkbookPath()), workbook);
    EXPECT_TRUE(preview.isVisible());
}

TEST_F(GenerationFlowTest, BackThenASecondGenerationThenClosingThePreview) {
    Start();
    ShowActive();
    Income(0).setText(QStringLiteral("$4200"));
    SheetPreviewWindow& preview = Generate();
    const QString first = preview.WorkbookPath();
    const QSize firstSize = Picture1(preview).size();
    ClickIn(preview, "PushButton2");

    // "< Back": the workbook goes, the editor comes back, the preview only hides.
    ClickIn(preview, "PushButton8");
    EXPECT_FALSE(QFile::exists(first));
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(preview.isVisible());

    // Without HOUSING the sheet is shorter; the same preview shows the new picture afresh.
    Select(QStringLiteral("HOUSING"));
    prompt.yesNo = {true};
    Click("PushButton1");
    EXPECT_EQ(&Generate(), &preview);
    EXPECT_TRUE(preview.isVisible());
    EXPECT_FALSE(form->isVisible());
    EXPECT_FLOAT_EQ(preview.Model().ZoomFactor(), 1.0f);
    const QString second = preview.WorkbookPath();
    EXPECT_NE(second, first);
    EXPECT_TRUE(QFile::exists(second));
    EXPECT_FALSE(QFile::exists(PictureFile()));
    const QImage sheet = RenderedSheet(second);
    EXPECT_EQ(Picture1(preview).size(), sheet.size());
    EXPECT_LT(sheet.height(), firstSize.height());
    ClickIn(preview, "PushButton2");
    EXPECT_NEAR(Picture1(preview).height(), sheet.height() * 0.75, 1.0);

    // Closing the preview: the workbook goes, the edits of this run are stored, and the
    // program ends through the preview without the main window's own closing.
    preview.close();
    EXPECT_FALSE(QFile::exists(second));
    EXPECT_EQ(previewEnds, 1);
    EXPECT_EQ(ends, 0);
    QSettings ini = Ini();
    EXPECT_EQ(ini.value("Quillmere/0 Income").toString(), "$4200");
    EXPECT_EQ(ini.value("Quillmere/System Value - Rows").toString(), "66");
}

}  // namespace
}  // namespace quill::editor
