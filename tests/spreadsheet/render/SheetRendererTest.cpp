#include "spreadsheet/render/SheetRenderer.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <string>

#include <QColor>
#include <QImage>
#include <QPainter>

namespace quill::spreadsheet {
namespace {

constexpr const char* kAmountFormat = "$#,##0_);[Red]($#,##0)";
const QRgb kGrid = qRgb(208, 215, 229);

// A workbook with one sheet; cells are addressed by zero-based row and column.
struct Sheet {
    Workbook book;
    Worksheet& sheet = book.AddSheet("Sheet1");

    Cell& Put(int row, int col, CellFormat format) {
        Cell& cell = sheet.At({row, col});
        cell.format = book.AddFormat(format);
        return cell;
    }
    QImage Render(int row0, int col0, int row1, int col1) const {
        return RenderRange(book, sheet, RangeRef::Of({row0, col0}, {row1, col1}));
    }
    // Picture coordinates of a cell's rectangle, computed from the pixel sizes.
    QRect Rect(int row, int col, int row0 = 0, int col0 = 0) const {
        int x = 0, y = 0;
        for (int c = col0; c < col; ++c) x += ColumnWidthPixels(sheet.ColumnWidth(c));
        for (int r = row0; r < row; ++r) y += RowHeightPixels(sheet.RowHeight(r));
        return QRect(x, y, ColumnWidthPixels(sheet.ColumnWidth(col)),
                     RowHeightPixels(sheet.RowHeight(row)));
    }
};

CellFormat Filled(int fill) {
    CellFormat f;
    f.fill = fill;
    return f;
}

CellFormat Boxed(CellFormat f = Filled(2)) {
    for (Edge e : {Edge::Left, Edge::Right, Edge::Top, Edge::Bottom})
        f.SetBorder(e, LineStyle::Thin);
    return f;
}

bool IsInk(QRgb p) {
    return qGray(p) < 160;
}
bool IsRed(QRgb p) {
    return qRed(p) > 150 && qGreen(p) < 110 && qBlue(p) < 110;
}
bool IsBlack(QRgb p) {
    return p == qRgb(0, 0, 0);
}

// Counts the pixels of a part of the picture that pass a test.
template <typename Test>
int Count(const QImage& image, const QRect& area, Test test) {
    int n = 0;
    const QRect r = area.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) n += test(image.pixel(x, y)) ? 1 : 0;
    return n;
}

TEST(SheetRendererTest, SizesFollowTheCharacterAndPointRules) {
    EXPECT_EQ(ColumnWidthPixels(8.43), 64);
    EXPECT_EQ(ColumnWidthPixels(12.34), 91);
    EXPECT_EQ(ColumnWidthPixels(31.29), 224);
    EXPECT_EQ(ColumnWidthPixels(2.14), 20);
    EXPECT_EQ(ColumnWidthPixels(1), 12);
    EXPECT_EQ(ColumnWidthPixels(0.5), 6);
    EXPECT_EQ(ColumnWidthPixels(0), 0);
    EXPECT_EQ(ColumnWidthPixels(1e9), ColumnWidthPixels(255));
    EXPECT_EQ(RowHeightPixels(12.75), 17);
    EXPECT_EQ(RowHeightPixels(15.75), 21);
    EXPECT_EQ(RowHeightPixels(16), 21);
    EXPECT_EQ(RowHeightPixels(9), 12);
    EXPECT_EQ(RowHeightPixels(-1), 0);

    Sheet s;
    s.sheet.SetColumnWidth(1, 31.29);
    s.sheet.SetColumnWidth(3, 2.14);
    s.sheet.SetRowHeight(2, 16);
    s.sheet.SetRowHeight(3, 0);  // hidden
    // B2:D5, corners given in reverse.
    const QImage image = s.Render(4, 3, 1, 1);
    EXPECT_EQ(image.width(), 224 + 64 + 20);
    EXPECT_EQ(image.height(), 17 + 21 + 0 + 17);
    EXPECT_EQ(image.format(), QImage::Format_RGB32);

    s.sheet.SetColumnWidth(5, 0);
    EXPECT_TRUE(s.Render(0, 5, 3, 5).isNull());  // nothing to show
}

TEST(SheetRendererTest, FillsComeFromTheWorkbookPaletteAndHideGridlines) {
    Sheet s;
    s.book.palette[38] = 224 + 256 * 255 + 65536 * 215;  // entry 39: light green
    s.Put(1, 1, Filled(39));
    const QImage image = s.Render(0, 0, 2, 2);
    const QRect filled = s.Rect(1, 1);
    const QRect plain = s.Rect(0, 0);
    EXPECT_EQ(image.pixel(filled.center()), qRgb(224, 255, 215));
    EXPECT_EQ(image.pixel(plain.center()), qRgb(255, 255, 255));
    // An unfilled cell shows gridlines on its right and bottom edges ...
    EXPECT_EQ(image.pixel(plain.right(), plain.center().y()), kGrid);
    EXPECT_EQ(image.pixel(plain.center().x(), plain.bottom()), kGrid);
    // ... but none on the edges of the filled cell, also the ones its neighbours draw.
    EXPECT_EQ(image.pixel(filled.right(), filled.center().y()), qRgb(224, 255, 215));
    EXPECT_EQ(image.pixel(filled.left() - 1, filled.center().y()), qRgb(224, 255, 215));
    EXPECT_EQ(image.pixel(filled.center().x(), filled.top() - 1), qRgb(224, 255, 215));
}

TEST(SheetRendererTest, BordersLieExactlyOnTheEdgesThatHaveThem) {
    Sheet s;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) s.Put(r, c, Filled(2));
    s.Put(1, 1, Boxed());  // B2 boxed on all four sides
    CellFormat rightOnly = Filled(2);
    rightOnly.SetBorder(Edge::Right, LineStyle::Thin);
    s.Put(2, 0, rightOnly);  // A3: its right edge is B3's left edge
    const QImage image = s.Render(0, 0, 2, 2);

    const QRect b2 = s.Rect(1, 1);
    const int midX = b2.center().x(), midY = b2.center().y();
    EXPECT_TRUE(IsBlack(image.pixel(b2.right(), midY)));
    EXPECT_TRUE(IsBlack(image.pixel(b2.left() - 1, midY)));  // the left neighbour's last pixel
    EXPECT_TRUE(IsBlack(image.pixel(midX, b2.bottom())));
    EXPECT_TRUE(IsBlack(image.pixel(midX, b2.top() - 1)));
    EXPECT_TRUE(IsBlack(image.pixel(b2.left() - 1, b2.top() - 1)));  // corners join
    EXPECT_TRUE(IsBlack(image.pixel(b2.right(), b2.bottom())));

    const QRect a3 = s.Rect(2, 0);
    EXPECT_TRUE(IsBlack(image.pixel(a3.right(), a3.center().y())));
    // No line anywhere else: every black pixel lies on one of those lines.
    int stray = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const bool onB2 =
                ((x == b2.left() - 1 || x == b2.right()) && y >= b2.top() - 1 &&
                 y <= b2.bottom()) ||
                ((y == b2.top() - 1 || y == b2.bottom()) && x >= b2.left() - 1 && x <= b2.right());
            const bool onA3 = x == a3.right() && y >= a3.top() - 1 && y <= a3.bottom();
            if (IsBlack(image.pixel(x, y)) && !onB2 && !onA3) ++stray;
        }
    EXPECT_EQ(stray, 0);
}

TEST(SheetRendererTest, BordersOnTheRangeEdgeFallInsideThePicture) {
    Sheet s;
    s.Put(0, 0, Boxed());
    const QImage image = s.Render(0, 0, 0, 0);
    EXPECT_TRUE(IsBlack(image.pixel(0, 8)));
    EXPECT_TRUE(IsBlack(image.pixel(30, 0)));
    EXPECT_TRUE(IsBlack(image.pixel(image.width() - 1, 8)));
    EXPECT_TRUE(IsBlack(image.pixel(30, image.height() - 1)));
}

TEST(SheetRendererTest, MergedAreaIsOneCellWithoutInnerBorders) {
    Sheet s;
    s.book.palette[51] = 236 + 256 * 245 + 65536 * 215;  // entry 52: pale green
    // B2:C3 merged; every cell boxed, as borders with inside lines leave them.
    CellFormat format = Boxed(Filled(52));
    format.hAlign = HAlign::Center;
    format.vAlign = VAlign::Center;
    for (int r = 1; r <= 2; ++r)
        for (int c = 1; c <= 2; ++c) s.Put(r, c, format);
    s.sheet.Merge(RangeRef::Of({1, 1}, {2, 2}));
    s.sheet.At({1, 1}).content = std::string("Merged");
    const QImage image = s.Render(0, 0, 3, 3);

    const QRect b2 = s.Rect(1, 1), c3 = s.Rect(2, 2);
    const QRect area(b2.topLeft(), c3.bottomRight());
    const QRgb fill = image.pixel(b2.left() + 2, b2.top() + 2);
    // Outer edges are drawn, the inner cross is not: it shows the fill.
    EXPECT_TRUE(IsBlack(image.pixel(area.right(), b2.center().y())));
    EXPECT_TRUE(IsBlack(image.pixel(area.left() - 1, c3.center().y())));
    EXPECT_TRUE(IsBlack(image.pixel(b2.center().x(), area.bottom())));
    EXPECT_EQ(image.pixel(b2.right(), b2.top() + 3), fill);
    EXPECT_EQ(image.pixel(b2.right(), c3.bottom() - 3), fill);
    EXPECT_EQ(image.pixel(b2.left() + 3, b2.bottom()), fill);
    EXPECT_EQ(image.pixel(c3.right() - 3, b2.bottom()), fill);
    // The text is centred vertically across both rows: ink on the line between them.
    EXPECT_GT(Count(image, QRect(area.left(), b2.bottom() - 2, area.width(), 5), IsInk), 0);
}

TEST(SheetRendererTest, MergedAreaCutByTheRangeIsDrawnFromItsAnchor) {
    Sheet s;
    s.Put(0, 0, Filled(52));
    s.sheet.Merge(RangeRef::Of({0, 0}, {3, 3}));
    const QImage image = s.Render(2, 2, 5, 5);  // starts inside the merged area
    EXPECT_EQ(image.pixel(5, 5), image.pixel(s.Rect(2, 2, 2, 2).center()));
    EXPECT_NE(image.pixel(5, 5), qRgb(255, 255, 255));
}

TEST(SheetRendererTest, TextsAlignAndStayInsideTheirCells) {
    Sheet s;
    s.sheet.SetColumnWidth(1, 20);
    s.sheet.SetRowHeight(1, 60);
    auto put = [&](int col, decltype(Cell::content) content, HAlign h, VAlign v) {
        CellFormat f = Filled(2);
        f.hAlign = h;
        f.vAlign = v;
        s.Put(1, col, f).content = std::move(content);
    };
    put(1, 42.0, HAlign::General, VAlign::Bottom);              // a number goes right
    put(3, std::string("Text"), HAlign::General, VAlign::Top);  // a text goes left
    put(5, std::string("Mid"), HAlign::Center, VAlign::Center);
    s.sheet.SetColumnWidth(3, 20);
    s.sheet.SetColumnWidth(5, 20);
    const QImage image = s.Render(0, 0, 2, 6);

    auto halves = [&](int col) {
        const QRect r = s.Rect(1, col);
        const int w = r.width() / 2, h = r.height() / 2;
        return std::array<int, 4>{
            Count(image, QRect(r.left(), r.top(), w, r.height()), IsInk),      // left
            Count(image, QRect(r.left() + w, r.top(), w, r.height()), IsInk),  // right
            Count(image, QRect(r.left(), r.top(), r.width(), h), IsInk),       // top
            Count(image, QRect(r.left(), r.top() + h, r.width(), h), IsInk)};  // bottom
    };
    const auto number = halves(1), text = halves(3), mid = halves(5);
    EXPECT_EQ(number[0], 0);
    EXPECT_GT(number[1], 0);
    EXPECT_EQ(number[2], 0);
    EXPECT_GT(number[3], 0);
    EXPECT_GT(text[0], 0);
    EXPECT_EQ(text[1], 0);
    EXPECT_GT(text[2], 0);
    EXPECT_EQ(text[3], 0);
    EXPECT_GT(mid[0], 0);
    EXPECT_GT(mid[1], 0);
    EXPECT_GT(mid[2], 0);
    EXPECT_GT(mid[3], 0);
}

TEST(SheetRendererTest, WrappedTextBreaksAtBlanksAndStaysInsideItsCell) {
    Sheet s;
    s.sheet.SetColumnWidth(1, 10);
    s.sheet.SetRowHeight(1, 100);
    CellFormat f = Filled(2);
    f.wrap = true;
    f.vAlign = VAlign::Top;
    s.Put(1, 1, f).content =
        std::string("several words wrapped into a narrow column, averylongwordwithoutanyblanks");
    const QImage image = s.Render(0, 0, 2, 2);
    const QRect cell = s.Rect(1, 1);
    EXPECT_EQ(Count(image, image.rect(), IsInk), Count(image, cell, IsInk));
    // Ink on several lines: the bottom half of the text block is reached.
    EXPECT_GT(Count(image, QRect(cell.left(), cell.top() + 60, cell.width(), 40), IsInk), 0);
}

TEST(SheetRendererTest, VeryLongTextsStayInsideNarrowCells) {
    Sheet s;
    s.sheet.SetColumnWidth(1, 2);
    CellFormat f = Filled(2);
    f.wrap = true;
    s.Put(1, 1, f).content = std::string(30000, 'W');  // one word, cut on every line
    s.Put(2, 1, f).content = std::string(10000, 'x') + std::string(10000, ' ') + "y";
    f.wrap = false;
    s.Put(3, 1, f).content = std::string(30000, 'W');
    const QImage image = s.Render(0, 0, 4, 2);
    const int inside = Count(image, s.Rect(1, 1), IsInk) + Count(image, s.Rect(2, 1), IsInk) +
                       Count(image, s.Rect(3, 1), IsInk);
    EXPECT_GT(inside, 0);
    EXPECT_EQ(Count(image, image.rect(), IsInk), inside);
}

TEST(SheetRendererTest, RunsOfBlanksPushTheBracketedCaptionsOntoTheSecondLine) {
    Sheet s;
    // The balance block: G6:I7 merged, three columns of 31.29, 12.34 and 12.34 characters.
    s.sheet.SetColumnWidth(0, 31.29);
    s.sheet.SetColumnWidth(1, 12.34);
    s.sheet.SetColumnWidth(2, 12.34);
    s.sheet.SetRowHeight(0, 16);
    s.sheet.SetRowHeight(1, 16);
    CellFormat f = Filled(2);
    f.font.bold = true;
    f.wrap = true;
    f.vAlign = VAlign::Center;
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c) s.Put(r, c, f);
    s.sheet.Merge(RangeRef::Of({0, 0}, {1, 2}));

    const std::string captions[] = {
        "PROJECTED BALANCE" + std::string(55, ' ') + "(Projected income minus expenses)",
        "ACTUAL BALANCE" + std::string(63, ' ') + "(Actual income minus expenses)",
        "DIFFERENCE" + std::string(73, ' ') + "(Actual minus projected)"};
    for (const std::string& caption : captions) {
        SCOPED_TRACE(caption);
        s.sheet.At({0, 0}).content = caption;
        const QImage image = s.Render(0, 0, 1, 2);
        ASSERT_EQ(image.width(), 224 + 91 + 91);
        // The first line holds only the title, the bracketed remark starts the second:
        // nothing on the first line right of the title, ink at the start of the second.
        const int half = image.height() / 2;
        EXPECT_GT(Count(image, QRect(0, 0, 150, half), IsInk), 0);
        EXPECT_EQ(Count(image, QRect(150, 0, image.width() - 150, half), IsInk), 0);
        EXPECT_GT(Count(image, QRect(0, half, 20, half), IsInk), 0);
    }
}

TEST(SheetRendererTest, NegativeAmountsShowRedAndFormulasShowTheirValues) {
    Sheet s;
    s.sheet.SetColumnWidth(0, 12.34);
    CellFormat amount = Filled(2);
    amount.numberFormat = kAmountFormat;
    s.Put(0, 0, amount).content = -2500.0;
    Cell& formula = s.Put(1, 0, amount);
    formula.content = Formula{"=R[-1]C", nullptr};
    formula.SetCached(-2500.0);
    s.Put(2, 0, amount).content = 2500.0;
    Cell& positiveFormula = s.Put(3, 0, amount);
    positiveFormula.content = Formula{"=R[-1]C", nullptr};
    positiveFormula.SetCached(2500.0);
    const QImage image = s.Render(0, 0, 3, 0);

    EXPECT_GT(Count(image, s.Rect(0, 0), IsRed), 0);
    EXPECT_GT(Count(image, s.Rect(1, 0), IsRed), 0);
    EXPECT_EQ(Count(image, s.Rect(2, 0), IsRed), 0);
    EXPECT_GT(Count(image, s.Rect(2, 0), IsInk), 0);
    EXPECT_EQ(Count(image, s.Rect(3, 0), IsRed), 0);
    EXPECT_GT(Count(image, s.Rect(3, 0), IsInk), 0);
    // "$2,500 " and "($2,500)" end at the same place: the pad is as wide as ')'.
    auto rightmostInk = [&](int row) {
        const QRect r = s.Rect(row, 0);
        for (int x = r.right(); x >= r.left(); --x)
            if (Count(image, QRect(x, r.top(), 1, r.height()),
                      [](QRgb p) { return IsInk(p) || IsRed(p); }) > 0)
                return x;
        return -1;
    };
    const int digitsEnd = rightmostInk(2);
    const int bracketEnd = rightmostInk(0);
    EXPECT_LT(digitsEnd, bracketEnd);
    EXPECT_GE(digitsEnd, bracketEnd - 6);
}

TEST(SheetRendererTest, NumbersTooWideForTheCellShowHashes) {
    Sheet s;
    s.sheet.SetColumnWidth(0, 2);
    s.Put(0, 0, Filled(2)).content = 123456789.0;
    const QImage image = s.Render(0, 0, 0, 0);
    EXPECT_GT(Count(image, image.rect(), IsInk), 0);  // '#' marks, within the cell
}

TEST(SheetRendererTest, HugeSheetsAreCutAtTheSizeLimit) {
    Sheet s;
    s.sheet.SetColumnWidth(1, 31.29);
    for (int r = 0; r < 60000; ++r) s.Put(r, 1, Filled(2)).content = double(r);
    {
        const QImage tall = s.Render(0, 0, 59999, 9);
        EXPECT_EQ(tall.width(), 9 * 64 + 224);
        EXPECT_EQ(tall.height(), kMaxPictureSide);
        EXPECT_EQ(tall.pixel(100, kMaxPictureSide - 1), qRgb(255, 255, 255));  // drawn to the end
    }

    for (int c = 0; c < kMaxColumns; ++c) s.sheet.SetColumnWidth(c, 255);
    const QImage huge = s.Render(0, 0, kMaxRows - 1, kMaxColumns - 1);
    EXPECT_EQ(huge.width(), kMaxPictureSide);
    EXPECT_LE(std::int64_t{huge.width()} * huge.height(), kMaxPicturePixels);
    EXPECT_GT(huge.height(), 1000);
}

// The banded drawing puts every pixel where the whole picture has it, also where areas
// drawn from rows outside a band reach into it: merged areas across band edges (drawn in
// their place in the picture's order, over and under their neighbours' fills), texts
// centred over several rows, a large font in a tall row, borders on band edges.
TEST(SheetRendererTest, BandsShowTheSamePixelsAsTheWholePicture) {
    Sheet s;
    s.book.palette[51] = 236 + 256 * 245 + 65536 * 215;
    s.sheet.SetColumnWidth(1, 20);
    s.sheet.SetColumnWidth(3, 4);
    for (int r = 0; r < 40; ++r) {
        if (r % 7 == 3) s.sheet.SetRowHeight(r, 5.0 + r);
        for (int c = 0; c < 5; ++c) {
            CellFormat f =
                (r + c) % 3 == 0 ? Boxed(Filled(52)) : Filled((r * 5 + c) % 4 == 0 ? 0 : 22 + c);
            f.vAlign = static_cast<VAlign>((r + c) % 3);
            f.wrap = c == 1;
            if (c == 3) f.numberFormat = kAmountFormat;
            Cell& cell = s.Put(r, c, f);
            if (c == 1)
                cell.content = std::string("several words that wrap in row ") + std::to_string(r);
            else if (c != 4 || r % 2 == 0)
                cell.content = (r % 4 == 1 ? -1.0 : 1.0) * 1234.0 * (r + c);
        }
    }
    CellFormat big = Filled(52);
    big.font.size = 36;
    big.vAlign = VAlign::Center;
    s.Put(10, 4, big).content = std::string("Big");
    s.sheet.SetRowHeight(10, 60);
    CellFormat centred = Boxed(Filled(44));
    centred.hAlign = HAlign::Center;
    centred.vAlign = VAlign::Center;
    s.Put(14, 0, centred).content = std::string("Across rows");
    s.sheet.Merge(RangeRef::Of({14, 0}, {22, 1}));
    s.Put(30, 2, centred).content = std::string("Tall");
    s.sheet.Merge(RangeRef::Of({25, 2}, {38, 3}));
    s.sheet.Merge(RangeRef::Of({0, 3}, {2, 4}));  // cut by the range's first row

    const RangeRef range = RangeRef::Of({1, 0}, {39, 4});
    const QImage whole = RenderRange(s.book, s.sheet, range);
    ASSERT_FALSE(whole.isNull());
    for (const int rows : {5, 23, 64, 100000}) {
        SCOPED_TRACE(rows);
        QImage joined(whole.size(), QImage::Format_RGB32);
        joined.fill(Qt::magenta);
        int expectedEnd = whole.height();
        const bool done = RenderRangeInBands(
            s.book, s.sheet, range, std::int64_t{rows} * whole.width(),
            [&](QSize size, const QImage& band, int top) {
                EXPECT_EQ(size, whole.size());
                EXPECT_EQ(band.width(), whole.width());
                EXPECT_EQ(band.dotsPerMeterX(), whole.dotsPerMeterX());
                EXPECT_EQ(top + band.height(), expectedEnd);  // from the bottom up, no gaps
                expectedEnd = top;
                for (int y = 0; y < band.height(); ++y)
                    std::memcpy(joined.scanLine(top + y), band.constScanLine(y),
                                static_cast<std::size_t>(band.bytesPerLine()));
                return true;
            });
        EXPECT_TRUE(done);
        EXPECT_EQ(expectedEnd, 0);
        EXPECT_TRUE(joined == whole);
    }

    // An area drawn on its own onto any painter (as the preview draws what its view shows)
    // has the whole picture's pixels there.
    EXPECT_EQ(RangePictureSize(s.book, s.sheet, range), whole.size());
    for (const QRect& area : {QRect(0, 0, 50, 40), QRect(37, 100, 120, 260),
                              QRect(10, whole.height() - 30, whole.width(), 60)}) {
        SCOPED_TRACE(area.y());
        QImage drawn(whole.size(), QImage::Format_RGB32);
        drawn.fill(Qt::magenta);
        QPainter painter(&drawn);
        PaintPictureArea(painter, s.book, s.sheet, range, area);
        painter.end();
        const QRect shown = area.intersected(whole.rect());
        EXPECT_TRUE(drawn.copy(shown) == whole.copy(shown));
        EXPECT_EQ(QColor(drawn.pixel(shown.right() + 1 < whole.width() ? shown.right() + 1 : 0,
                                     shown.top() > 0 ? 0 : whole.height() - 1)),
                  QColor(Qt::magenta))
            << "nothing outside the area";
    }

    // Stopping ends the drawing; a range without a picture is one call without a band.
    int calls = 0;
    EXPECT_FALSE(RenderRangeInBands(s.book, s.sheet, range, 1, [&](QSize, const QImage&, int) {
        ++calls;
        return false;
    }));
    EXPECT_EQ(calls, 1);
    s.sheet.SetRowHeight(0, 0);
    EXPECT_TRUE(RenderRangeInBands(s.book, s.sheet, RangeRef::Single({0, 0}), 100,
                                   [&](QSize size, const QImage& band, int) {
                                       EXPECT_TRUE(size.isEmpty());
                                       EXPECT_TRUE(band.isNull());
                                       return true;
                                   }));
}

}  // namespace
}  // namespace quill::spreadsheet
