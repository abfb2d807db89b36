// The sheet picture's file: the same bytes as QImage's BMP writer, and read back into the
// same image as QImage's reader.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

#include "bridge/PictureFile.h"
#include "shell/Failure.h"
#include "support/FileBytes.h"

namespace quill::Excel1 {
namespace {

// A picture with distinct colours in every channel and row, so that swapped channels or
// rows show.
QImage Picture(int width, int height, int dotsPerMeter) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 37 + y) & 0xFF, (y * 11) & 0xFF, (x ^ y) & 0xFF));
    if (dotsPerMeter != 0) {
        image.setDotsPerMeterX(dotsPerMeter);
        image.setDotsPerMeterY(dotsPerMeter + 1);
    }
    return image;
}

QByteArray QtBmp(const QImage& image) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, "BMP"));
    return buffer.data();
}

QByteArray OurBmp(const QImage& image) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(WriteBmp(image, buffer));
    return buffer.data();
}

TEST(PictureFileTest, WritesTheBytesOfQtsWriterAndReadsTheSameImage) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("temp.bmp"));
    // Widths 1 to 5 cover every row padding; a tall one spans several blocks of rows.
    for (const QImage& image : {Picture(1, 1, 3780), Picture(2, 7, 0), Picture(3, 2, 3780),
                                Picture(4, 3, 1), Picture(5, 9, 3780), Picture(1013, 1400, 3780)}) {
        SCOPED_TRACE(std::to_string(image.width()) + "x" + std::to_string(image.height()));
        const QByteArray bytes = OurBmp(image);
        ASSERT_EQ(bytes, QtBmp(image));
        ASSERT_TRUE(test::WriteAll(path, bytes));
        const QImage ours = ReadPicture(path);
        QImage qts;
        ASSERT_TRUE(qts.load(path));
        EXPECT_EQ(ours.format(), qts.format());
        EXPECT_TRUE(ours == qts);
        EXPECT_TRUE(ours == image);
        EXPECT_EQ(ours.dotsPerMeterX(), qts.dotsPerMeterX());
        EXPECT_EQ(ours.dotsPerMeterY(), qts.dotsPerMeterY());
    }
}

TEST(PictureFileTest, OtherFilesAndBrokenOnesReadAsQtReadsThem) {
    QTemporaryDir dir;
    const QImage image = Picture(6, 4, 3780);

    // A picture with transparency, written by Qt's writer, and a PNG.
    QImage alpha = image.convertToFormat(QImage::Format_ARGB32);
    alpha.setPixel(0, 0, qRgba(1, 2, 3, 4));
    EXPECT_EQ(OurBmp(alpha), QtBmp(alpha));
    const QString png = dir.filePath(QStringLiteral("p.png"));
    QFile file(png);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(WritePicture(image, png, file));
    file.close();
    EXPECT_TRUE(test::ReadAll(png).startsWith("\x89PNG"));
    EXPECT_TRUE(ReadPicture(png).convertToFormat(QImage::Format_RGB32) == image);

    // A bitmap cut short reads as QImage reads it; a file that is no picture reads as null.
    const QString cut = dir.filePath(QStringLiteral("cut.bmp"));
    ASSERT_TRUE(test::WriteAll(cut, OurBmp(image).left(70)));
    // (Qt leaves the rows it could not read as they were allocated, so only sizes compare.)
    EXPECT_EQ(ReadPicture(cut).size(), QImage(cut).size());
    const QString text = dir.filePath(QStringLiteral("text.bmp"));
    ASSERT_TRUE(test::WriteAll(text, "not a picture"));
    EXPECT_TRUE(ReadPicture(text).isNull());
    EXPECT_TRUE(ReadPicture(dir.filePath(QStringLiteral("missing.bmp"))).isNull());
}

TEST(PictureFileTest, SavingReplacesAFileKeepingItsPermissionsAndLeavesNothingOnFailure) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("temp.bmp"));
    ASSERT_TRUE(test::WriteAll(path, "old"));
    const auto permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(path, permissions));
    const QImage image = Picture(7, 3, 3780);
    SavePictureFile(image, path);
    EXPECT_EQ(test::ReadAll(path), OurBmp(image));
    // (Owner, group and others; Qt adds the bits of the current user.)
    EXPECT_EQ(QFile::permissions(path) & 0x7077, permissions);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("temp.bmp")});

    EXPECT_THROW(SavePictureFile(image, dir.filePath(QStringLiteral("missing/temp.bmp"))), Failure);
    EXPECT_THROW(SavePictureFile(QImage(), path), Failure);
    EXPECT_EQ(test::ReadAll(path), OurBmp(image));
}

}  // namespace
}  // namespace quill::Excel1
