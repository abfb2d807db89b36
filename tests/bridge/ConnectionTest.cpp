#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLocale>
#include <QTemporaryDir>

#include "bridge/Connection.h"
#include "bridge/SheetPicture.h"
#include "shell/Failure.h"
#include "support/RecordingPrompt.h"

namespace quill {
namespace {

// A provider whose creation can fail and which can pretend that an instance runs.
class FakeProvider : public SpreadsheetProvider {
  public:
    bool failCreate = false;
    std::optional<std::string> running;
    int created = 0;
    std::unique_ptr<spreadsheet::Application> Create() override {
        if (failCreate) throw Failure("cannot start");
        ++created;
        return std::make_unique<spreadsheet::Application>();
    }
    std::optional<std::string> RunningInstanceName() override { return running; }
};

TEST(Connection, StartUpCheckShowsTheFiveParagraphMessageOnlyWhenCreationFails) {
    FakeProvider provider;
    test::RecordingPrompt prompt;
    EXPECT_TRUE(IsInstalled::CheckExcelInstalled(provider, prompt));
    EXPECT_TRUE(prompt.shown.empty());

    provider.failCreate = true;
    EXPECT_FALSE(IsInstalled::CheckExcelInstalled(provider, prompt));
    ASSERT_EQ(prompt.Notices().size(), 1u);
    const QStringList paragraphs = prompt.Notices()[0].split(QStringLiteral("\r\n\r\n"));
    ASSERT_EQ(paragraphs.size(), 5);
    EXPECT_EQ(paragraphs[0],
              QStringLiteral("Error 842001. A normal instance of Excel could not be created."));
    EXPECT_TRUE(paragraphs[4].startsWith(QStringLiteral("4. All versions of Excel")));
}

TEST(Connection, RunningInstanceAsksAndOnlyYesGoesOn) {
    FakeProvider provider;
    test::RecordingPrompt prompt;
    EXPECT_FALSE(Excel1::ConfirmExcelClosed(provider, prompt));  // nothing runs: no question
    EXPECT_TRUE(prompt.shown.empty());

    provider.running = "some other program";
    EXPECT_FALSE(Excel1::IsExcelRunning(provider));
    provider.running = spreadsheet::Application::kName;
    prompt.yesNo = {false, true};
    EXPECT_TRUE(Excel1::ConfirmExcelClosed(provider, prompt));   // No: stop
    EXPECT_FALSE(Excel1::ConfirmExcelClosed(provider, prompt));  // Yes: go on
    ASSERT_EQ(prompt.Questions().size(), 2u);
    EXPECT_EQ(prompt.Questions()[0],
              QStringLiteral("Excel may be open. It is recommended that you close Excel first.\r"
                             "Use Ctrl+Alt+Del > Task Manager > EXCEL.EXE if necessary.\r\n\r\n"
                             "Would you like to proceed anyway?"));
}

TEST(Connection, FileFormatFollowsTheVersionInAnyLocale) {
    EXPECT_EQ(Excel1::FileFormatForVersion(QStringLiteral("11.0")), -4143);
    EXPECT_EQ(Excel1::FileFormatForVersion(QStringLiteral("12.0")), 56);
    EXPECT_EQ(Excel1::FileFormatForVersion(QStringLiteral("16.0")), 56);
    EXPECT_THROW(Excel1::FileFormatForVersion(QStringLiteral("beta")), Failure);
    EXPECT_THROW(Excel1::FileFormatForVersion(QStringLiteral("99999.0")), Failure);

    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(Excel1::FileFormatForVersion(QStringLiteral("11.0")), -4143);
    EXPECT_EQ(Excel1::FileFormatForVersion(QStringLiteral("16.0")), 56);
    QLocale::setDefault(saved);

    FakeProvider provider;
    EXPECT_EQ(Excel1::FileFormatFor(provider), 56);  // the engine's own version
    EXPECT_EQ(provider.created, 1);
}

class SheetPictureTest : public ::testing::Test {
  protected:
    spreadsheet::Workbook book;
    spreadsheet::Worksheet& sheet = book.AddSheet("Invoice");
    QTemporaryDir dir;
    test::RecordingPrompt prompt;
    QString Path() const { return dir.filePath(QStringLiteral("temp.bmp")); }
};

TEST_F(SheetPictureTest, ASheetThatEndsInTheFirstRowOrColumnGivesNoPicture) {
    sheet.At({0, 5}).content = 1.0;  // F1: the used range ends in row 1
    Excel1::saveCellsActivesheet(book, Path(), prompt);
    EXPECT_FALSE(QFile::exists(Path()));
    sheet.Erase({0, 5});
    sheet.At({7, 0}).content = 1.0;  // A8: the used range ends in column A
    Excel1::saveCellsActivesheet(book, Path(), prompt);
    EXPECT_FALSE(QFile::exists(Path()));
    EXPECT_TRUE(prompt.Errors().empty());
}

TEST_F(SheetPictureTest, ThePictureReplacesAnExistingFile) {
    sheet.At({1, 1}).content = std::string("Personal Finance");
    sheet.At({3, 2}).content = 3000.0;
    {
        QFile old(Path());
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    Excel1::saveCellsActivesheet(book, Path(), prompt);
    EXPECT_TRUE(prompt.Errors().empty());
    QImage picture;
    ASSERT_TRUE(picture.load(Path()));
    EXPECT_GT(picture.width(), 0);
}

TEST_F(SheetPictureTest, AnUnwritablePathIsReportedPlainlyWithItsCause) {
    sheet.At({4, 4}).content = 1.0;
    const QString missing = dir.filePath(QStringLiteral("missing/temp.bmp"));
    Excel1::saveCellsActivesheet(book, missing, prompt);
    // A read-only picture is left as it is.
    {
        QFile old(Path());
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    ASSERT_TRUE(QFile::setPermissions(Path(), QFileDevice::ReadOwner));
    Excel1::saveCellsActivesheet(book, Path(), prompt);

    // Both are ordinary file failures: plain notices that name the file and the cause.
    EXPECT_TRUE(prompt.Errors().empty());
    const std::vector<QString> notices = prompt.Notices();
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(notices[0], QStringLiteral("Cannot write ") + missing +
                              QStringLiteral(": No such file or directory"));
    EXPECT_TRUE(notices[1].startsWith(Path() + QStringLiteral(" is read-only")))
        << notices[1].toStdString();
    QFile kept(Path());
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "old");
}

}  // namespace
}  // namespace quill
