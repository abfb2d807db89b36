// The sheet picture's file: the same bytes as QImage's BMP writer, and read back into the
// same image as QImage's reader.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <sys/resource.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

#include "bridge/PictureFile.h"
#include "shell/Failure.h"
#include "spreadsheet/render/SheetRenderer.h"
#include "support/FileBytes.h"

namespace quill::bridge {
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

// A sheet whose picture takes several bands: 850 x 3000 pixels of filled cells with
// borders and texts.
struct TallSheet {
    spreadsheet::Workbook book;
    spreadsheet::Worksheet& sheet = book.AddSheet("Sheet1");
    spreadsheet::RangeRef range = spreadsheet::RangeRef::Of({0, 0}, {149, 9});

    TallSheet() {
        for (int c = 0; c < 10; ++c) sheet.SetColumnWidth(c, 13.58);  // 100 pixels
        for (int r = 0; r <= range.last.row; ++r)
            for (int c = 0; c <= range.last.col; ++c) {
                spreadsheet::CellFormat format;
                format.fill = (r + c) % 3 == 0 ? 0 : 22 + c;
                if ((r * c) % 5 == 0)
                    format.SetBorder(spreadsheet::Edge::Top, spreadsheet::LineStyle::Thin);
                spreadsheet::Cell& cell = sheet.At({r, c});
                cell.format = book.AddFormat(format);
                if (r % 2 == 0)
                    cell.content = double(r * 100 + c);
                else
                    cell.content = std::string("row text");
            }
    }
    QImage Whole() const { return spreadsheet::RenderRange(book, sheet, range); }
};

TEST(PictureFileTest, ASheetIsSavedBandByBandAsTheFileOfItsWholePicture) {
    QTemporaryDir dir;
    const TallSheet tall;
    const QImage whole = tall.Whole();
    ASSERT_GT(std::int64_t{whole.width()} * whole.height(), std::int64_t{2} << 20);
    const QString bmp = dir.filePath(QStringLiteral("temp.bmp"));
    SaveSheetPicture(tall.book, tall.sheet, tall.range, bmp);
    EXPECT_TRUE(test::ReadAll(bmp) == OurBmp(whole));
    const QString png = dir.filePath(QStringLiteral("temp.png"));
    SaveSheetPicture(tall.book, tall.sheet, tall.range, png);
    QBuffer pngBytes;
    pngBytes.open(QIODevice::WriteOnly);
    ASSERT_TRUE(WritePicture(whole, png, pngBytes));
    EXPECT_TRUE(test::ReadAll(png) == pngBytes.data());

    // A range without a picture writes nothing.
    const QString none = dir.filePath(QStringLiteral("none.bmp"));
    spreadsheet::Workbook book;
    spreadsheet::Worksheet& hidden = book.AddSheet("Sheet1");
    hidden.SetColumnWidth(0, 0);
    EXPECT_THROW(SaveSheetPicture(book, hidden, spreadsheet::RangeRef::Single({0, 0}), none),
                 Failure);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              (QStringList{QStringLiteral("temp.bmp"), QStringLiteral("temp.png")}));
}

// Written a block at a time, a file that fails midway must still leave the old one as it
// was and no temporary file beside it; the failure names the file and the cause.
TEST(PictureFileTest, AWriteThatFailsMidwayKeepsTheOldFileAndLeavesNoTemporaryFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("temp.bmp"));
    ASSERT_TRUE(test::WriteAll(path, "old"));
    const TallSheet tall;
    const QImage whole = tall.Whole();

    struct rlimit before {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = before;
    small.rlim_cur = 5 << 20;  // more than a band, less than the picture
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    std::vector<std::string> failures;
    auto failureOf = [&](auto&& write) {
        try {
            write();
            failures.push_back("no failure");
        } catch (const Failure& failure) {
            failures.push_back(failure.what());
        }
    };
    failureOf([&] { SaveSheetPicture(tall.book, tall.sheet, tall.range, path); });
    failureOf([&] { SavePictureFile(whole, path); });
    ::setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, previous);

    const std::string expected = "Cannot write " + path.toStdString() + ": File too large";
    EXPECT_EQ(failures, (std::vector<std::string>{expected, expected}));
    EXPECT_EQ(test::ReadAll(path), "old");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("temp.bmp")});

    // A sink's failure comes out of the encoder as it was thrown; a bitmap's bytes before it
    // were handed over in order, a block at a time (a PNG comes in one block).
    for (const auto& [name, capacity] :
         {std::pair{QStringLiteral("out.bmp"), 1000000}, std::pair{QStringLiteral("out.png"), 0}}) {
        const int room = capacity;  // a lambda takes a plain variable, not a binding
        QByteArray taken;
        try {
            WritePictureFile(whole, name, [&](const char* data, qint64 size) {
                if (taken.size() + size > room) throw Failure("sink is full");
                taken.append(data, size);
            });
            ADD_FAILURE() << "no failure";
        } catch (const Failure& failure) {
            EXPECT_STREQ(failure.what(), "sink is full");
        }
        QBuffer all;
        all.open(QIODevice::WriteOnly);
        ASSERT_TRUE(WritePicture(whole, name, all));
        EXPECT_EQ(taken.isEmpty(), room == 0);
        EXPECT_TRUE(all.data().startsWith(taken));
    }
}

}  // namespace
}  // namespace quill::bridge
