// The command-line companion as a user meets it: usage errors and help, failures that
// leave every target as it was, a successful run that replaces an existing file, and the
// picture it writes, which must be the sheet's own picture.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>

#include "DefaultBudget.h"
#include "spreadsheet/xls/XlsFile.h"
#include "support/ExternalPrograms.h"
#include "support/ScratchConfig.h"

namespace quill::test {
namespace {

const QString kCompanion = QStringLiteral(QUILL_BINARY_DIR "/app/quillmere-sheet");

class CompanionTest : public ::testing::Test {
  protected:
    ProcessResult Run(const QStringList& args) { return RunProgram(kCompanion, args, 60000); }

    QString Path(const QString& name) const { return QDir(dir.path()).filePath(name); }

    void Write(const QString& name, const QByteArray& bytes) const {
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QByteArray Read(const QString& name) const {
        QFile file(Path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    // The folder's files, sorted by name.
    std::string Files() const {
        return QDir(dir.path()).entryList(QDir::Files).join(' ').toStdString();
    }

    ScratchConfig config;  // the companion's settings store, in case it reads one
    QTemporaryDir dir;
};

TEST_F(CompanionTest, UsageErrorsExitTwoWithAMessageAndWriteNothing) {
    const QString out = Path("budget.xls");
    const QStringList cases[] = {
        {"--frobnicate", "-o", out},
        {"--defaults"},  // nothing to write
        {"--defaults", "-o"},
        {"--synthetic", "12", "-o", out},
        {"--synthetic", "3x-1", "-o", out},
        {"--income4", "5", "-o", out},
        {"--income0", "", "-o", out},
    };
    for (const QStringList& args : cases) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const ProcessResult run = Run(args);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.err.startsWith("quillmere-sheet: ")) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains("--help")) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
    EXPECT_EQ(Files(), "");

    const ProcessResult help = Run({"--help", "-o", out});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith("Usage: quillmere-sheet")) << help.out.toStdString();
    EXPECT_TRUE(help.out.contains("--picture FILE"));
    EXPECT_EQ(Files(), "");
}

TEST_F(CompanionTest, FailuresExitOneAndLeaveEveryTargetAsItWas) {
    Write("old.xls", "old workbook");
    Write("old.png", "old picture");
    Write("plain", "a regular file, not a folder");

    // More than 200 groups: the sheet cannot be built.
    ProcessResult run =
        Run({"--synthetic", "201x1", "-o", Path("old.xls"), "--picture", Path("old.png")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("more than 200 groups")) << run.err.toStdString();
    EXPECT_EQ(Read("old.xls"), "old workbook");
    EXPECT_EQ(Read("old.png"), "old picture");

    // Targets that cannot be made, alone or beside one that could: nothing is written.
    const QStringList cases[] = {
        {"-o", Path("plain/budget.xls")},
        {"--picture", Path("plain/sheet.png")},
        {"-o", Path("new.xls"), "--picture", Path("plain/sheet.png")},
        {"-o", Path("plain/budget.xls"), "--picture", Path("new.png")},
    };
    for (const QStringList& args : cases) {
        SCOPED_TRACE(args.join(' ').toStdString());
        run = Run(QStringList{"--defaults"} + args);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.contains("plain/")) << run.err.toStdString();
    }
    EXPECT_EQ(Files(), "old.png old.xls plain");
    EXPECT_EQ(Read("plain"), "a regular file, not a folder");
}

TEST_F(CompanionTest, SuccessReplacesAnExistingWorkbook) {
    Write("budget.xls", "old workbook");
    const ProcessResult run = Run({"--defaults", "--income0", "$4,250", "-o", Path("budget.xls")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_FALSE(run.err.contains("error")) << run.err.toStdString();
    EXPECT_EQ(Files(), "budget.xls");  // no temporary file left beside it

    const spreadsheet::Workbook book = spreadsheet::LoadXls(Path("budget.xls").toStdString());
    ASSERT_EQ(book.Sheets().size(), 1u);
    const spreadsheet::Worksheet& sheet = *book.Sheets()[0];
    EXPECT_EQ(sheet.Name(), "Invoice");
    const double* income = std::get_if<double>(&sheet.Find({5, 4})->content);  // E6
    ASSERT_NE(income, nullptr);
    EXPECT_EQ(*income, 4250);
    EXPECT_EQ(sheet.Find({5, 9})->cached, spreadsheet::Value(4350.0));  // J6 = E8 - 0
}

TEST_F(CompanionTest, PictureIsTheSheetsOwnPictureAsPngOrBmp) {
    const ProcessResult run = Run({"--defaults", "--picture", Path("sheet.png"), "--picture",
                                   Path("sheet.bmp"), "-o", Path("budget.xls")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    // The last --picture wins; the file format follows the name.
    EXPECT_EQ(Files(), "budget.xls sheet.bmp");

    DefaultBudget budget;
    const QImage expected = budget.Picture();
    QImageReader reader(Path("sheet.bmp"));
    EXPECT_EQ(reader.format(), "bmp");
    const QImage bmp = reader.read();
    EXPECT_EQ(bmp.size(), expected.size());
    EXPECT_TRUE(bmp.convertToFormat(QImage::Format_RGB32) == expected);

    ASSERT_EQ(Run({"--defaults", "--picture", Path("sheet.PNG")}).exitCode, 0);
    QImageReader png(Path("sheet.PNG"));
    EXPECT_EQ(png.format(), "png");
    EXPECT_TRUE(png.read().convertToFormat(QImage::Format_RGB32) == expected);
}

}  // namespace
}  // namespace quill::test
