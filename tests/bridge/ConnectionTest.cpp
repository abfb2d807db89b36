#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "bridge/Connection.h"
#include "bridge/SheetPicture.h"
#include "shell/Failure.h"
#include "support/FakeProvider.h"
#include "support/RecordingPrompt.h"

namespace quill {
namespace {

using test::FakeProvider;

TEST(Connection, StartUpCheckShowsTheFiveParagraphMessageOnlyWhenCreationFails) {
    FakeProvider provider;
    test::RecordingPrompt prompt;
    EXPECT_TRUE(bridge::CheckEngineAvailable(provider, prompt));
    EXPECT_TRUE(prompt.shown.empty());

    provider.missing = true;
    EXPECT_FALSE(bridge::CheckEngineAvailable(provider, prompt));
    ASSERT_EQ(prompt.Notices().size(), 1u);
    const QStringList paragraphs = prompt.Notices()[0].split(QStringLiteral("\r\n\r\n"));
    ASSERT_EQ(paragraphs.size(), 5);
    EXPECT_EQ(paragraphs[0],
              QStringLiteral("Error 842001. A normal instance of Excel could not be created."));
    EXPECT_TRUE(paragraphs[4].startsWith(QStringLiteral("4. All versions of Excel")));
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
    bridge::SaveActiveSheetPicture(book, Path(), prompt);
    EXPECT_FALSE(QFile::exists(Path()));
    sheet.Erase({0, 5});
    sheet.At({7, 0}).content = 1.0;  // A8: the used range ends in column A
    bridge::SaveActiveSheetPicture(book, Path(), prompt);
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
    bridge::SaveActiveSheetPicture(book, Path(), prompt);
    EXPECT_TRUE(prompt.Errors().empty());
    QImage picture;
    ASSERT_TRUE(picture.load(Path()));
    EXPECT_GT(picture.width(), 0);
}

TEST_F(SheetPictureTest, AnUnwritablePathIsReportedPlainlyWithItsCause) {
    sheet.At({4, 4}).content = 1.0;
    const QString missing = dir.filePath(QStringLiteral("missing/temp.bmp"));
    bridge::SaveActiveSheetPicture(book, missing, prompt);
    // A read-only picture is left as it is.
    {
        QFile old(Path());
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    ASSERT_TRUE(QFile::setPermissions(Path(), QFileDevice::ReadOwner));
    bridge::SaveActiveSheetPicture(book, Path(), prompt);

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
