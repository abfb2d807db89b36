#include "spreadsheet/render/SheetRenderer.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QStaticText>
#include <QString>

#include "spreadsheet/format/NumberFormat.h"

namespace quill::spreadsheet::render {

namespace {

constexpr int kTextPadding = 3;  // pixels between a cell's edges and its text

constexpr QRgb kGridColor = qRgb(208, 215, 229);
constexpr QRgb kBorderColor = qRgb(0, 0, 0);
constexpr QRgb kBackground = qRgb(255, 255, 255);

QColor FromRgbValue(std::uint32_t rgb) {  // R + 256 G + 65536 B
    return QColor(static_cast<int>(rgb & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                  static_cast<int>((rgb >> 16) & 0xFF));
}

// A palette colour by its number 1..56; none for any other number.
std::optional<QColor> PaletteColor(const Palette& palette, int index) {
    if (index < 1 || index > static_cast<int>(palette.size())) return std::nullopt;
    return FromRgbValue(palette[static_cast<std::size_t>(index - 1)]);
}

// Pixel positions along one axis (columns or rows): every index has the default size
// except the few with a size of their own, so a position is found by binary search over
// those instead of summing every size before it.
class Axis {
  public:
    Axis(const std::map<int, double>& sizes, int defaultPixels, int (*toPixels)(double))
        : default_(defaultPixels) {
        std::int64_t extra = 0;
        extraBefore_.push_back(0);
        for (const auto& [index, size] : sizes) {
            const int pixels = toPixels(size);
            indices_.push_back(index);
            extra += pixels - default_;
            extraBefore_.push_back(extra);
        }
    }

    // Offset of the index's first pixel from the first pixel of index 0.
    std::int64_t Start(int index) const {
        const auto n = std::lower_bound(indices_.begin(), indices_.end(), index) - indices_.begin();
        return std::int64_t{index} * default_ + extraBefore_[static_cast<std::size_t>(n)];
    }

  private:
    int default_;
    std::vector<int> indices_;               // ascending
    std::vector<std::int64_t> extraBefore_;  // summed (size - default) of the first n
};

// A rectangle in picture coordinates that may reach far outside the picture.
struct Box {
    std::int64_t x0, y0, x1, y1;  // [x0, x1) x [y0, y1)
};

// The part of a box inside a picture of the given size, as a QRect (empty when none).
QRect ClipToPicture(const Box& b, int width, int height) {
    const std::int64_t x0 = std::max<std::int64_t>(b.x0, 0), y0 = std::max<std::int64_t>(b.y0, 0);
    const std::int64_t x1 = std::min<std::int64_t>(b.x1, width);
    const std::int64_t y1 = std::min<std::int64_t>(b.y1, height);
    if (x0 >= x1 || y0 >= y1) return {};
    return QRect(static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(x1 - x0),
                 static_cast<int>(y1 - y0));
}

// The merged areas that reach into the picture, handed out row by row: rows must be asked
// for in ascending order (a smaller row starts over).
class MergeSweep {
  public:
    MergeSweep(const std::vector<RangeRef>& merges, const RangeRef& visible) {
        for (const RangeRef& m : merges)
            if (m.Intersects(visible)) merges_.push_back(m);
        std::sort(merges_.begin(), merges_.end(),
                  [](const RangeRef& a, const RangeRef& b) { return a.first.row < b.first.row; });
    }

    const RangeRef& Merge(int index) const { return merges_[static_cast<std::size_t>(index)]; }

    // Fills perColumn[c - firstCol] with the index of the merge holding (row, c), or -1.
    void ForRow(int row, int firstCol, std::vector<int>& perColumn) {
        if (row < lastRow_) {
            next_ = 0;
            active_.clear();
        }
        lastRow_ = row;
        while (next_ < merges_.size() && merges_[next_].first.row <= row)
            active_.push_back(static_cast<int>(next_++));
        std::erase_if(active_, [&](int m) { return Merge(m).last.row < row; });
        std::fill(perColumn.begin(), perColumn.end(), -1);
        const int lastCol = firstCol + static_cast<int>(perColumn.size()) - 1;
        for (int m : active_) {
            const RangeRef& area = Merge(m);
            for (int c = std::max(area.first.col, firstCol); c <= std::min(area.last.col, lastCol);
                 ++c)
                perColumn[static_cast<std::size_t>(c - firstCol)] = m;
        }
    }

  private:
    std::vector<RangeRef> merges_;  // by first row
    std::vector<int> active_;       // merges that hold the last row asked for
    std::size_t next_ = 0;
    int lastRow_ = std::numeric_limits<int>::max();
};

// A cell or merged area to draw once: its content and format come from its top left cell.
struct Area {
    RangeRef cells;
    Box box;  // the whole area, also where it reaches beyond the picture
    const Cell* cell;
    const CellFormat* format;
};

// A font as the picture draws it, with its metrics; found again by name, pixel size and
// style.
struct FontFace {
    std::string name;
    int pixels;
    bool bold;
    bool italic;
    QFont font;
    QFontMetricsF metrics;
    // The metrics every text asks for, looked up once: each look-up finds the font's
    // engine again.
    double blank;  // the advance of ' '
    double ascent;
    double descent;
    double height;
    // Texts already measured, and texts drawn more than once, laid out: sheets repeat the
    // same few texts ("$0", captions) in many cells, and shaping a text again cost more than
    // drawing it. A text drawn once keeps an empty entry here (drawn without a layout).
    // Both tables are emptied when they grow large, so that memory stays bounded.
    QHash<QString, double> widths;
    QHash<QString, std::optional<QStaticText>> laidOut;

    static constexpr qsizetype kMaxKept = 4096;

    double Width(const QString& text) {
        auto it = widths.find(text);
        if (it == widths.end()) {
            if (widths.size() >= kMaxKept) widths.clear();
            it = widths.insert(text, metrics.horizontalAdvance(text));
        }
        return *it;
    }
};

// One line of text to draw: visible pieces and invisible ones that only take room (the
// blanks of "_x" in number formats).
struct Piece {
    QString text;
    double width = 0;
    bool visible = true;
};
struct Line {
    std::vector<Piece> pieces;
    double width = 0;
};

class SheetPainter {
  public:
    // For a page (forPage), the range has no size limit and draws without gridlines.
    SheetPainter(const Workbook& workbook, const Worksheet& sheet, const RangeRef& range,
                 bool forPage = false);
    QImage Paint();
    void PaintPage(QPainter& painter);
    // The picture's size; empty when it has none.
    QSize PictureSize() const { return {width_, height_}; }
    // Draws the picture's rows [top, top + rows) into an image of their own: the same
    // pixels as those rows of Paint()'s picture. A null image when memory was refused.
    QImage PaintBand(int top, int rows);
    // Draws the picture's part `area` (picture pixels) onto `painter`, whose coordinates
    // are the picture's: the same cells as Paint() shows there, at any scale of the painter.
    void PaintArea(QPainter& painter, const QRect& area);

  private:
    std::int64_t X(int col) const { return columns_.Start(col) - columns_.Start(range_.first.col); }
    std::int64_t Y(int row) const { return rows_.Start(row) - rows_.Start(range_.first.row); }
    Box BoxOf(const RangeRef& cells) const {
        return {X(cells.first.col), Y(cells.first.row), X(cells.last.col + 1),
                Y(cells.last.row + 1)};
    }
    const CellFormat& FormatOf(const Cell* cell) const;
    // The format the cell shows: its own, changed by the first conditional format of the
    // cell whose condition holds.
    const CellFormat& ShownFormat(CellRef at, const Cell* cell);
    void CollectConditionalFormats();
    bool InSheet(CellRef at) const {
        return at.row >= 0 && at.row < kMaxRows && at.col >= 0 && at.col < kMaxColumns;
    }

    template <typename Fn>
    void ForEachArea(Fn&& visit);
    void DrawLayers(QPainter& painter);
    // Draws every area whose drawing may reach the picture rows [top, bottom).
    void DrawRowsReaching(QPainter& painter, std::int64_t top, std::int64_t bottom);
    static std::int64_t ReachOf(const Box& box) { return 2 * (box.y1 - box.y0) + 2; }
    int ReachBeyondBox() const;
    void DrawGridlines(QPainter& painter);
    void DrawFills(QPainter& painter);
    void DrawBorders(QPainter& painter);
    void DrawTexts(QPainter& painter);
    void DrawText(QPainter& painter, const Area& area);
    FontFace& FaceOf(const Font& font);

    const Workbook& workbook_;
    const Worksheet& sheet_;
    RangeRef range_;
    Axis columns_;
    Axis rows_;
    int width_ = 0;
    int height_ = 0;
    int lastCol_ = 0;  // last column and row that reach into the picture
    int lastRow_ = 0;
    // The rows the drawing visits: every row of the picture, or for a band those that may
    // reach into it.
    int fromRow_ = 0;
    int toRow_ = 0;
    int reach_ = -1;  // ReachBeyondBox(), once known
    // The picture rows [first, second) of the band being drawn, if any.
    std::optional<std::pair<std::int64_t, std::int64_t>> band_;
    bool forPage_ = false;
    NumberFormatCache numberFormats_;
    // The conditional formats that reach into the picture, the box around their cells
    // there, and the formats they make of the cells' own (by format index and rule).
    std::vector<const ConditionalFormat*> rules_;
    RangeRef rulesBound_{};
    std::map<std::pair<int, std::size_t>, CellFormat> ruledFormats_;
    std::vector<std::unique_ptr<FontFace>> faces_;
    QImage image_;
};

int ClampToPictureSide(std::int64_t pixels) {
    return static_cast<int>(std::clamp<std::int64_t>(pixels, 0, kMaxPictureSide));
}

SheetPainter::SheetPainter(const Workbook& workbook, const Worksheet& sheet, const RangeRef& range,
                           bool forPage)
    : workbook_(workbook),
      sheet_(sheet),
      columns_(sheet.ColumnWidths(), ColumnWidthPixels(Worksheet::kDefaultColumnWidth),
               &ColumnWidthPixels),
      rows_(sheet.RowHeights(), RowHeightPixels(Worksheet::kDefaultRowHeight), &RowHeightPixels) {
    const RangeRef r = RangeRef::Of(range.first, range.last);
    auto clampRow = [](int v) { return std::clamp(v, 0, kMaxRows - 1); };
    auto clampCol = [](int v) { return std::clamp(v, 0, kMaxColumns - 1); };
    range_ = {{clampRow(r.first.row), clampCol(r.first.col)},
              {clampRow(r.last.row), clampCol(r.last.col)}};

    forPage_ = forPage;
    if (forPage) {
        // Pages are drawn as vectors: only the coordinate range limits them.
        constexpr std::int64_t kMaxCoordinate = std::numeric_limits<int>::max() / 2;
        width_ = static_cast<int>(std::min(X(range_.last.col + 1), kMaxCoordinate));
        height_ = static_cast<int>(std::min(Y(range_.last.row + 1), kMaxCoordinate));
        // The device whose metrics the texts are laid out by: 96 dpi, as in the picture.
        image_ = QImage(1, 1, QImage::Format_RGB32);
        image_.setDotsPerMeterX(3780);
        image_.setDotsPerMeterY(3780);
    } else {
        width_ = ClampToPictureSide(X(range_.last.col + 1));
        height_ = ClampToPictureSide(Y(range_.last.row + 1));
        if (width_ > 0 && std::int64_t{width_} * height_ > kMaxPicturePixels)
            height_ = static_cast<int>(kMaxPicturePixels / width_);
    }

    // A column or row that starts exactly at the picture's edge still shows the line on
    // its top or left edge, which falls on the picture's last pixel.
    lastCol_ = range_.first.col;
    while (lastCol_ < range_.last.col && X(lastCol_ + 1) <= width_) ++lastCol_;
    lastRow_ = range_.first.row;
    while (lastRow_ < range_.last.row && Y(lastRow_ + 1) <= height_) ++lastRow_;
    fromRow_ = range_.first.row;
    toRow_ = lastRow_;
    CollectConditionalFormats();
}

void SheetPainter::CollectConditionalFormats() {
    const RangeRef visible{range_.first, {lastRow_, lastCol_}};
    bool any = false;
    for (const ConditionalFormat& rule : sheet_.conditionalFormats) {
        bool reaches = false;
        for (const RangeRef& area : rule.areas) {
            if (!area.Intersects(visible)) continue;
            reaches = true;
            const RangeRef part{{std::max(area.first.row, visible.first.row),
                                 std::max(area.first.col, visible.first.col)},
                                {std::min(area.last.row, visible.last.row),
                                 std::min(area.last.col, visible.last.col)}};
            if (!any)
                rulesBound_ = part;
            else
                rulesBound_ = {{std::min(rulesBound_.first.row, part.first.row),
                                std::min(rulesBound_.first.col, part.first.col)},
                               {std::max(rulesBound_.last.row, part.last.row),
                                std::max(rulesBound_.last.col, part.last.col)}};
            any = true;
        }
        if (reaches) rules_.push_back(&rule);
    }
}

const CellFormat& SheetPainter::ShownFormat(CellRef at, const Cell* cell) {
    const CellFormat& own = FormatOf(cell);
    if (rules_.empty() || !rulesBound_.Contains(at)) return own;
    // The value compared: a number, or a formula's computed number; an empty cell (or a
    // formula not computed yet) counts as 0, and any other value passes no comparison.
    double number = 0;
    if (cell != nullptr) {
        if (const double* n = std::get_if<double>(&cell->content)) {
            number = *n;
        } else if (cell->AsFormula() != nullptr) {
            const Value value = cell->Cached();
            if (const double* result = std::get_if<double>(&value))
                number = *result;
            else if (!std::holds_alternative<std::monostate>(value))
                return own;
        } else if (cell->HasContent()) {
            return own;  // a text
        }
    }
    for (std::size_t i = 0; i < rules_.size(); ++i) {
        const ConditionalFormat& rule = *rules_[i];
        if (std::none_of(rule.areas.begin(), rule.areas.end(),
                         [&](const RangeRef& area) { return area.Contains(at); }))
            continue;
        if (!Compare(rule.op, number, rule.first, rule.second)) continue;
        const int index =
            cell != nullptr && cell->format >= 0 ? cell->format : sheet_.DefaultFormat();
        auto [it, added] = ruledFormats_.try_emplace({index, i}, own);
        if (added) {
            if (PaletteColor(workbook_.palette, rule.fontColor))
                it->second.font.colorIndex = rule.fontColor;
            if (PaletteColor(workbook_.palette, rule.fill)) it->second.fill = rule.fill;
        }
        return it->second;
    }
    return own;
}

const CellFormat& SheetPainter::FormatOf(const Cell* cell) const {
    const int index = cell != nullptr && cell->format >= 0 ? cell->format : sheet_.DefaultFormat();
    const auto& formats = workbook_.Formats();
    return index >= 0 && index < static_cast<int>(formats.size())
               ? formats[static_cast<std::size_t>(index)]
               : formats.front();
}

// Visits every cell that reaches into the picture, and every merged area once (at its
// first cell inside the picture).
template <typename Fn>
void SheetPainter::ForEachArea(Fn&& visit) {
    const RangeRef visible{range_.first, {lastRow_, lastCol_}};
    MergeSweep merges(sheet_.Merges(), visible);
    std::vector<int> mergeOf(static_cast<std::size_t>(lastCol_ - range_.first.col + 1));
    for (int r = fromRow_; r <= toRow_; ++r) {
        merges.ForRow(r, range_.first.col, mergeOf);
        for (int c = range_.first.col; c <= lastCol_; ++c) {
            const int m = mergeOf[static_cast<std::size_t>(c - range_.first.col)];
            RangeRef cells = RangeRef::Single({r, c});
            if (m >= 0) {
                cells = merges.Merge(m);
                const CellRef firstShown{std::max(cells.first.row, range_.first.row),
                                         std::max(cells.first.col, range_.first.col)};
                if (firstShown != CellRef{r, c}) continue;
            }
            const Box box = BoxOf(cells);
            if (band_ &&
                (box.y1 + ReachOf(box) <= band_->first || box.y0 - ReachOf(box) >= band_->second))
                continue;  // draws nothing into the band
            const Cell* cell = sheet_.Find(cells.first);
            visit(Area{cells, box, cell, &ShownFormat(cells.first, cell)});
        }
    }
}

// Gridlines on the right and bottom edge of every area without a fill. (A filled area
// covers the lines around it; see DrawFills.)
void SheetPainter::DrawGridlines(QPainter& painter) {
    ForEachArea([&](const Area& a) {
        if (PaletteColor(workbook_.palette, a.format->fill)) return;
        const Box right{a.box.x1 - 1, a.box.y0 - 1, a.box.x1, a.box.y1};
        const Box bottom{a.box.x0 - 1, a.box.y1 - 1, a.box.x1, a.box.y1};
        painter.fillRect(ClipToPicture(right, width_, height_), QColor(kGridColor));
        painter.fillRect(ClipToPicture(bottom, width_, height_), QColor(kGridColor));
    });
}

// A fill covers its area and the gridlines on all four edges, so filled cells show no
// gridlines at all.
void SheetPainter::DrawFills(QPainter& painter) {
    ForEachArea([&](const Area& a) {
        const auto color = PaletteColor(workbook_.palette, a.format->fill);
        // On paper a white fill changes nothing (pages have no gridlines to cover), and the
        // budget fills every cell white: leaving them out keeps PDF pages small and fast.
        if (!color || (forPage_ && *color == QColor(kBackground))) return;
        const Box covered{a.box.x0 - 1, a.box.y0 - 1, a.box.x1, a.box.y1};
        painter.fillRect(ClipToPicture(covered, width_, height_), *color);
    });
}

// Thin lines on every cell edge where either of the two cells that share it has a border
// on that side, except edges inside a merged area.
void SheetPainter::DrawBorders(QPainter& painter) {
    const int firstCol = range_.first.col;
    const auto columns = static_cast<std::size_t>(lastCol_ - firstCol + 1);
    const RangeRef visible{range_.first, {lastRow_, lastCol_}};
    MergeSweep merges(sheet_.Merges(), visible);
    std::vector<int> mergeOf(columns);

    // The formats of one row, from the column left of the picture to the one right of it.
    auto rowFormats = [&](int row) {
        std::vector<const CellFormat*> formats(columns + 2, nullptr);
        for (std::size_t i = 0; i < formats.size(); ++i) {
            const CellRef at{row, firstCol - 1 + static_cast<int>(i)};
            if (InSheet(at)) formats[i] = &FormatOf(sheet_.Find(at));
        }
        return formats;
    };
    auto has = [](const CellFormat* f, Edge e) {
        return f != nullptr && f->Border(e) != LineStyle::None;
    };
    auto line = [&](const Box& b) {
        painter.fillRect(ClipToPicture(b, width_, height_), QColor(kBorderColor));
    };
    // The pixel of the line between index - 1 and index (the first one at the edge).
    auto lineX = [&](int col) { return std::max<std::int64_t>(X(col) - 1, 0); };
    auto lineY = [&](int row) { return std::max<std::int64_t>(Y(row) - 1, 0); };

    std::vector<const CellFormat*> above = rowFormats(fromRow_ - 1);
    for (int r = fromRow_; r <= toRow_; ++r) {
        const std::vector<const CellFormat*> here = rowFormats(r);
        const std::vector<const CellFormat*> below =
            r == range_.last.row ? rowFormats(r + 1) : std::vector<const CellFormat*>{};
        merges.ForRow(r, firstCol, mergeOf);
        auto inside = [&](int col, CellRef other) {  // edge inside the merge of (r, col)
            const int m = mergeOf[static_cast<std::size_t>(col - firstCol)];
            return m >= 0 && merges.Merge(m).Contains(other);
        };
        for (int c = firstCol; c <= lastCol_; ++c) {
            const std::size_t i = static_cast<std::size_t>(c - firstCol) + 1;
            const Box cell = BoxOf(RangeRef::Single({r, c}));
            if (cell.x0 == cell.x1 || cell.y0 == cell.y1) continue;  // hidden: no lines
            // Top edge, and the bottom edge of the range's last row.
            if ((has(above[i], Edge::Bottom) || has(here[i], Edge::Top)) && !inside(c, {r - 1, c}))
                line({lineX(c), lineY(r), cell.x1, lineY(r) + 1});
            if (!below.empty() && (has(here[i], Edge::Bottom) || has(below[i], Edge::Top)) &&
                !inside(c, {r + 1, c}))
                line({lineX(c), cell.y1 - 1, cell.x1, cell.y1});
            // Left edge, and the right edge of the range's last column.
            if ((has(here[i - 1], Edge::Right) || has(here[i], Edge::Left)) &&
                !inside(c, {r, c - 1}))
                line({lineX(c), lineY(r), lineX(c) + 1, cell.y1});
            if (c == range_.last.col &&
                (has(here[i], Edge::Right) || has(here[i + 1], Edge::Left)) &&
                !inside(c, {r, c + 1}))
                line({cell.x1 - 1, lineY(r), cell.x1, cell.y1});
        }
        above = here;
    }
}

FontFace& SheetPainter::FaceOf(const Font& font) {
    // Points at 96 dpi, in whole pixels as the screen draws them (10 pt -> 13 px).
    const double points =
        std::isfinite(font.size) ? std::clamp(font.size, 1.0, kMaxFontPoints) : 10.0;
    const int pixels = std::max(1, static_cast<int>(std::lround(points * 96.0 / 72.0)));
    for (const auto& face : faces_)
        if (face->name == font.name && face->pixels == pixels && face->bold == font.bold &&
            face->italic == font.italic)
            return *face;
    QFont qfont(QString::fromStdString(font.name));
    qfont.setPixelSize(pixels);
    qfont.setBold(font.bold);
    qfont.setItalic(font.italic);
    // Whole-pixel glyph advances without kerning, as the screen measures text (Arial 10:
    // digits 7 px, blanks 4 px). Where wrapped text breaks depends on them: a caption that
    // pushes its second part onto the next line with a run of blanks relies on 4 px blanks.
    qfont.setHintingPreference(QFont::PreferFullHinting);
    qfont.setKerning(false);
    const QFontMetricsF metrics(qfont, &image_);
    faces_.push_back(
        std::make_unique<FontFace>(FontFace{font.name,
                                            pixels,
                                            font.bold,
                                            font.italic,
                                            qfont,
                                            metrics,
                                            metrics.horizontalAdvance(QLatin1Char(' ')),
                                            metrics.ascent(),
                                            metrics.descent(),
                                            metrics.height(),
                                            {},
                                            {}}));
    return *faces_.back();
}

// The formatted value as a single line, its "_x" blanks as wide as x.
Line SingleLine(const FormattedValue& shown, FontFace& face) {
    Line line;
    std::size_t from = 0;
    auto add = [&](QString text, bool visible) {
        if (text.isEmpty()) return;
        const double width = face.Width(text);
        line.width += width;
        line.pieces.push_back({std::move(text), width, visible});
    };
    for (const FormattedValue::Pad& pad : shown.pads) {
        if (pad.offset < from || pad.offset >= shown.text.size()) continue;
        add(QString::fromUtf8(shown.text.data() + from, static_cast<qsizetype>(pad.offset - from)),
            true);
        add(QString::fromStdString(pad.like), false);
        from = pad.offset + 1;
    }
    add(QString::fromUtf8(shown.text.data() + from,
                          static_cast<qsizetype>(shown.text.size() - from)),
        true);
    return line;
}

// The characters of a word, from start on, that fit into room: how many and how wide.
// Summed from single-character advances (whole pixels, no kerning), so that cutting a
// long word costs one look-up per character; a surrogate pair stays together. With
// atLeastOne, a first character that does not fit is taken all the same.
struct Prefix {
    qsizetype count = 0;
    double width = 0;
};
Prefix FittingPrefix(const QString& word, qsizetype start, const QFontMetricsF& metrics,
                     double room, bool atLeastOne) {
    Prefix fit;
    for (qsizetype n = start; n < word.size();) {
        const qsizetype length =
            word[n].isHighSurrogate() && n + 1 < word.size() && word[n + 1].isLowSurrogate() ? 2
                                                                                             : 1;
        const double advance = length == 1 ? metrics.horizontalAdvance(word[n])
                                           : metrics.horizontalAdvance(word.mid(n, length));
        if (fit.width + advance > room && !(atLeastOne && fit.count == 0)) break;
        fit.count += length;
        fit.width += advance;
        n += length;
    }
    return fit;
}

// Breaks a text into lines no wider than room, as the spreadsheet program wraps: at line
// feeds, and at blanks, where a run of blanks counts toward the width of the line it
// stands in and is dropped when the line breaks there; a word wider than a whole line is
// cut between characters. Widths are summed piece by piece (advances are whole pixels
// and kerning is off, so the sums are exact), which keeps long texts linear.
std::vector<QString> WrapText(const QString& text, FontFace& face, double room) {
    const QFontMetricsF& metrics = face.metrics;
    std::vector<QString> lines;
    const double blank = face.blank;
    const auto isBlank = [](QChar c) { return c == QLatin1Char(' '); };
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        QString line;          // the line being filled
        double width = 0;      // its width
        bool hasWord = false;  // a break before the next word helps only after a word
        qsizetype i = 0;
        while (i < paragraph.size()) {
            // The next run of blanks and the word after it (empty at the end).
            qsizetype j = i;
            while (j < paragraph.size() && isBlank(paragraph[j])) ++j;
            const qsizetype blanks = j - i;
            qsizetype k = j;
            while (k < paragraph.size() && !isBlank(paragraph[k])) ++k;
            const QString word = paragraph.mid(j, k - j);
            i = k;

            double wordWidth = face.Width(word);
            const double blanksWidth = static_cast<double>(blanks) * blank;
            if (hasWord && !word.isEmpty() && width + blanksWidth + wordWidth > room) {
                lines.push_back(line);  // the blanks go with the break
                line.clear();
                width = 0;
            } else {
                line += QString(blanks, QLatin1Char(' '));
                width += blanksWidth;
            }
            qsizetype start = 0;  // of the part of the word not yet placed
            while (word.size() - start > 1 && width + wordWidth > room) {
                // At least one character on an empty line, so that this ends.
                const Prefix fit =
                    FittingPrefix(word, start, metrics, room - width, line.isEmpty());
                lines.push_back(line + word.mid(start, fit.count));
                line.clear();
                width = 0;
                wordWidth -= fit.width;
                start += fit.count;
            }
            line += word.mid(start);
            width += wordWidth;
            hasWord = hasWord || !word.isEmpty();
        }
        lines.push_back(line);
    }
    return lines;
}

// The lines of a cell's text: numbers and unwrapped texts on one line, wrapped texts
// broken to the room between the cell's paddings.
std::vector<Line> LayOut(const FormattedValue& shown, bool isNumber, bool wrap, FontFace& face,
                         double room) {
    const QFontMetricsF& metrics = face.metrics;
    if (isNumber || !wrap) {
        Line line = SingleLine(shown, face);
        // A number that does not fit shows as a row of '#', as many as the cell holds.
        if (isNumber && line.width > room) {
            const double hash = metrics.horizontalAdvance(QLatin1Char('#'));
            const qsizetype count =
                hash > 0 ? static_cast<qsizetype>(std::max(room, 0.0) / hash) : 0;
            const double width = hash * static_cast<double>(count);
            line = Line{{{QString(count, QLatin1Char('#')), width, true}}, width};
        }
        return {line};
    }
    std::vector<Line> lines;
    for (QString& text : WrapText(QString::fromStdString(shown.text), face, room)) {
        const double width = face.Width(text);
        lines.push_back(Line{{{std::move(text), width, true}}, width});
    }
    return lines;
}

void SheetPainter::DrawTexts(QPainter& painter) {
    ForEachArea([&](const Area& a) {
        if (a.cell != nullptr && a.cell->HasContent()) DrawText(painter, a);
    });
}

// Draws a piece of text with its baseline at `baseline`; a text met before is drawn from
// its layout (the pixels are the same either way).
void DrawPiece(QPainter& painter, FontFace& face, QPointF baseline, const QString& text) {
    auto it = face.laidOut.find(text);
    if (it == face.laidOut.end()) {
        if (face.laidOut.size() >= FontFace::kMaxKept) face.laidOut.clear();
        face.laidOut.insert(text, std::nullopt);
        painter.drawText(baseline, text);
        return;
    }
    if (!*it) {
        QStaticText laid(text);
        laid.setTextFormat(Qt::PlainText);
        laid.prepare(QTransform(), face.font);
        *it = std::move(laid);
    }
    // A laid-out text is placed by its top left corner, the baseline one ascent below.
    painter.drawStaticText(QPointF(baseline.x(), baseline.y() - face.ascent), **it);
}

void SheetPainter::DrawText(QPainter& painter, const Area& area) {
    const Cell& cell = *area.cell;
    const CellFormat& format = *area.format;
    Value value;
    if (const auto* number = std::get_if<double>(&cell.content))
        value = *number;
    else if (const auto* text = std::get_if<std::string>(&cell.content))
        value = *text;
    else
        value = cell.Cached();  // a formula shows its computed value
    const FormattedValue shown = numberFormats_.Format(value, format.numberFormat);
    if (shown.text.empty()) return;

    const bool isNumber = std::holds_alternative<double>(value);
    FontFace& face = FaceOf(format.font);

    // The text area: the cell less its own gridline pixel and a little padding.
    const double left = static_cast<double>(area.box.x0) + kTextPadding;
    const double right = static_cast<double>(area.box.x1 - 1) - kTextPadding;
    const double top = static_cast<double>(area.box.y0);
    const double bottom = static_cast<double>(area.box.y1 - 1);
    const QRect clip = ClipToPicture({area.box.x0, area.box.y0, area.box.x1 - 1, area.box.y1 - 1},
                                     width_, height_);
    if (clip.isEmpty() || right - left < 1) return;  // no room for text in the picture
    const std::vector<Line> lines = LayOut(shown, isNumber, format.wrap, face, right - left);

    HAlign align = format.hAlign;
    if (align == HAlign::General) {
        const bool centred =
            std::holds_alternative<bool>(value) || std::holds_alternative<ErrorCode>(value);
        align = isNumber ? HAlign::Right : centred ? HAlign::Center : HAlign::Left;
    }
    const double lineHeight = face.height;
    const double blockHeight = lineHeight * static_cast<double>(lines.size());
    double y = 0;  // top of the first line
    switch (format.vAlign) {
        case VAlign::Top:
            y = top + 1;
            break;
        case VAlign::Center:
            y = (top + bottom - blockHeight) / 2;
            break;
        default:
            y = bottom - 1 - blockHeight;
            break;
    }

    const double widest =
        std::max_element(lines.begin(), lines.end(), [](const Line& a, const Line& b) {
            return a.width < b.width;
        })->width;
    // Clip only what does not fit; most texts do, and clipping costs time.
    const bool clipped = widest > right - left || y < top || y + blockHeight > bottom;
    painter.save();
    if (clipped) painter.setClipRect(clip);
    painter.setFont(face.font);
    const auto color = shown.color ? std::optional<QColor>(FromRgbValue(*shown.color))
                                   : PaletteColor(workbook_.palette, format.font.colorIndex);
    painter.setPen(color.value_or(QColor(Qt::black)));

    for (const Line& line : lines) {
        const double baseline = y + face.ascent;
        y += lineHeight;
        if (baseline + face.descent < clip.top() || baseline - face.ascent > clip.bottom())
            continue;  // outside the picture
        double x = align == HAlign::Right    ? right - line.width
                   : align == HAlign::Center ? (left + right - line.width) / 2
                                             : left;
        for (const Piece& piece : line.pieces) {
            if (piece.visible && !piece.text.isEmpty())
                DrawPiece(painter, face, QPointF(x, baseline), piece.text);
            x += piece.width;
        }
    }
    painter.restore();
}

QImage SheetPainter::Paint() {
    if (width_ <= 0 || height_ <= 0) return {};
    image_ = QImage(width_, height_, QImage::Format_RGB32);
    if (image_.isNull()) return {};      // the memory for the picture was refused
    constexpr int kDotsPerMeter = 3780;  // 96 dpi
    image_.setDotsPerMeterX(kDotsPerMeter);
    image_.setDotsPerMeterY(kDotsPerMeter);
    image_.fill(QColor(kBackground));

    QPainter painter(&image_);
    DrawLayers(painter);
    painter.end();
    return std::move(image_);
}

void SheetPainter::DrawLayers(QPainter& painter) {
    DrawGridlines(painter);
    DrawFills(painter);
    DrawBorders(painter);
    DrawTexts(painter);
}

// How far beyond its box an area may draw (ReachOf): gridlines, fills and borders one pixel
// above, and a text that fits its cell by no more than a line's height, which is at most
// the area's height; twice that, to be safe with the ink of glyphs that overshoot their
// font's line. ReachBeyondBox is the most of any row or merged area of the picture.
int SheetPainter::ReachBeyondBox() const {
    std::int64_t tallest = RowHeightPixels(Worksheet::kDefaultRowHeight);
    for (const auto& [row, points] : sheet_.RowHeights())
        tallest = std::max<std::int64_t>(tallest, RowHeightPixels(points));
    const RangeRef visible{range_.first, {lastRow_, lastCol_}};
    for (const RangeRef& m : sheet_.Merges())
        if (m.Intersects(visible)) {
            const Box box = BoxOf(m);
            tallest = std::max(tallest, box.y1 - box.y0);
        }
    return static_cast<int>(std::min<std::int64_t>(ReachOf({0, 0, 0, tallest}), height_));
}

// The band shows what the whole picture shows in its rows when every area that may draw
// into them is drawn in the picture's own order: the rows are visited from the first
// whose drawing may reach the band (or the first row of a merged area that reaches it,
// where that area is drawn) to the last whose drawing may reach it, the areas among them
// that cannot reach it are passed over, and the painter moves the band's top to the
// image's first row. What the drawn areas draw outside the band falls outside the image.
QImage SheetPainter::PaintBand(int top, int rows) {
    QImage band(width_, rows, QImage::Format_RGB32);
    if (band.isNull()) return {};
    constexpr int kDotsPerMeter = 3780;  // 96 dpi
    band.setDotsPerMeterX(kDotsPerMeter);
    band.setDotsPerMeterY(kDotsPerMeter);
    band.fill(QColor(kBackground));
    QPainter painter(&band);
    painter.translate(0, -top);
    DrawRowsReaching(painter, top, std::int64_t{top} + rows);
    painter.end();
    return band;
}

void SheetPainter::DrawRowsReaching(QPainter& painter, std::int64_t top, std::int64_t bottom) {
    // Texts are laid out by the metrics of a 96 dpi device, whatever the painter draws on.
    if (image_.isNull()) {
        constexpr int kDotsPerMeter = 3780;
        image_ = QImage(1, 1, QImage::Format_RGB32);
        image_.setDotsPerMeterX(kDotsPerMeter);
        image_.setDotsPerMeterY(kDotsPerMeter);
    }

    if (reach_ < 0) reach_ = ReachBeyondBox();
    const int reach = reach_;
    const std::int64_t from = top - reach;
    const std::int64_t to = bottom + reach;
    // Rows ascend in position, so both ends are found by halving.
    auto firstRowWhere = [&](auto&& past) {
        int low = range_.first.row, high = lastRow_ + 1;
        while (low < high) {
            const int middle = low + (high - low) / 2;
            if (past(middle))
                high = middle;
            else
                low = middle + 1;
        }
        return low;
    };
    fromRow_ = firstRowWhere([&](int r) { return Y(r + 1) > from; });
    toRow_ = firstRowWhere([&](int r) { return Y(r) >= to; }) - 1;
    if (fromRow_ <= toRow_) {
        const RangeRef visited{{fromRow_, range_.first.col}, {toRow_, lastCol_}};
        for (const RangeRef& m : sheet_.Merges())
            if (m.Intersects(visited))
                fromRow_ = std::min(fromRow_, std::max(m.first.row, range_.first.row));
        band_ = {top, bottom};
        DrawLayers(painter);
    }
    fromRow_ = range_.first.row;
    toRow_ = lastRow_;
    band_.reset();
}

void SheetPainter::PaintArea(QPainter& painter, const QRect& area) {
    const QRect shown = area.intersected(QRect(0, 0, width_, height_));
    if (shown.isEmpty()) return;
    painter.save();
    painter.setClipRect(shown, Qt::IntersectClip);
    painter.fillRect(shown, QColor(kBackground));
    DrawRowsReaching(painter, shown.top(), std::int64_t{shown.bottom()} + 1);
    painter.restore();
}

// A printed page shows no gridlines and leaves the paper's colour where cells have no fill.
void SheetPainter::PaintPage(QPainter& painter) {
    if (width_ <= 0 || height_ <= 0) return;
    DrawFills(painter);
    DrawBorders(painter);
    DrawTexts(painter);
}

}  // namespace

int ColumnWidthPixels(double characters) {
    if (!(characters > 0)) return 0;
    characters = std::min(characters, kMaxColumnCharacters);
    if (characters < 1)
        return static_cast<int>(std::lround(characters * (kDigitPixels + kColumnPaddingPixels)));
    const double stored =
        std::trunc((characters * kDigitPixels + kColumnPaddingPixels) / kDigitPixels * 256) / 256;
    return static_cast<int>(
        std::trunc((256 * stored + std::trunc(128.0 / kDigitPixels)) / 256 * kDigitPixels));
}

int RowHeightPixels(double points) {
    if (!(points > 0)) return 0;
    return static_cast<int>(std::lround(std::min(points, kMaxRowPoints) * 96.0 / 72.0));
}

QImage RenderRange(const Workbook& workbook, const Worksheet& sheet, const RangeRef& range) {
    return SheetPainter(workbook, sheet, range).Paint();
}

bool RenderRangeInBands(const Workbook& workbook, const Worksheet& sheet, const RangeRef& range,
                        std::int64_t bandPixels, const BandTaker& take) {
    SheetPainter painter(workbook, sheet, range);
    const QSize size = painter.PictureSize();
    if (size.isEmpty()) return take(size, QImage(), 0);
    const int bandRows =
        static_cast<int>(std::clamp<std::int64_t>(bandPixels / size.width(), 1, size.height()));
    for (int end = size.height(); end > 0;) {
        const int top = std::max(0, end - bandRows);
        const QImage band = painter.PaintBand(top, end - top);
        if (band.isNull() || !take(size, band, top)) return false;
        end = top;
    }
    return true;
}

QSize RangePictureSize(const Workbook& workbook, const Worksheet& sheet, const RangeRef& range) {
    return SheetPainter(workbook, sheet, range).PictureSize();
}

void PaintPictureArea(QPainter& painter, const Workbook& workbook, const Worksheet& sheet,
                      const RangeRef& range, const QRect& area) {
    SheetPainter(workbook, sheet, range).PaintArea(painter, area);
}

void PaintRange(QPainter& painter, const Workbook& workbook, const Worksheet& sheet,
                const RangeRef& range) {
    SheetPainter(workbook, sheet, range, true).PaintPage(painter);
}

}  // namespace quill::spreadsheet::render
