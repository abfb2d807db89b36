// Rendering speed: a sheet laid out like the default budget (ten columns, 73 rows with
// fills, borders, merged areas, captions and amounts; 1,026 x 1,514 pixels) drawn
// into a picture, and drawn and saved as a BMP file as the preview hand-over does.
// Target: under 30 ms per picture with the file in a Release build.
//
// Set QUILL_BENCH_PICTURE to a file name to keep one picture for inspection.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>

#include <functional>
#include <string>

#include "spreadsheet/render/SheetRenderer.h"

namespace {

using namespace quill::spreadsheet;

constexpr const char* kAmountFormat = "$#,##0_);[Red]($#,##0)";

class BudgetLikeSheet {
  public:
    BudgetLikeSheet() : sheet_(book_.AddSheet("Invoice")) {
        book_.palette[38] = Rgb(224, 255, 215);  // 39: light green
        book_.palette[51] = Rgb(236, 245, 215);  // 52: pale green
        Layout();
        Header();
        Sections();
    }

    const Workbook& Book() const { return book_; }
    const Worksheet& Sheet() const { return sheet_; }
    // The budget's print area, A1:J73: what the preview shows.
    static RangeRef Area() { return ParseA1Range("A1:J73"); }

  private:
    static std::uint32_t Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
        return r + 256 * g + 65536 * b;
    }

    void Change(const std::string& a1, const std::function<void(CellFormat&)>& change) {
        const RangeRef range = ParseA1Range(a1);
        for (int r = range.first.row; r <= range.last.row; ++r)
            for (int c = range.first.col; c <= range.last.col; ++c) {
                CellFormat f = book_.EffectiveFormat(sheet_, {r, c});
                change(f);
                sheet_.At({r, c}).format = book_.AddFormat(f);
            }
    }
    void Write(const std::string& a1, decltype(Cell::content) content, bool merge = false) {
        const RangeRef range = ParseA1Range(a1);
        sheet_.At(range.first).content = std::move(content);
        if (merge) sheet_.Merge(range);
    }
    void Computed(const std::string& a1, double value, bool merge = false) {
        Write(a1, Formula{"=0", nullptr}, merge);
        sheet_.At(ParseA1Range(a1).first).SetCached(value);
    }
    void Boxes(const std::string& a1) {
        Change(a1, [](CellFormat& f) {
            for (Edge e : {Edge::Left, Edge::Right, Edge::Top, Edge::Bottom})
                f.SetBorder(e, LineStyle::Thin);
        });
    }

    void Layout() {
        CellFormat base;
        base.vAlign = VAlign::Center;
        base.wrap = true;
        base.fill = 2;
        sheet_.SetDefaultFormat(book_.AddFormat(base));
        const double widths[] = {1, 31.29, 12.34, 12.34, 12.34, 2.14, 31.29, 12.34, 12.34, 12.34};
        for (int c = 0; c < 10; ++c) sheet_.SetColumnWidth(c, widths[c]);
        for (int r = 0; r < 3; ++r) sheet_.SetRowHeight(r, 12.75);
        sheet_.SetRowHeight(3, 17);
        sheet_.SetRowHeight(4, 9);
        for (int r = 5; r < 13; ++r) sheet_.SetRowHeight(r, 16);
        for (int r = 13; r < 300; ++r) sheet_.SetRowHeight(r, 15.75);
    }

    void Header() {
        Change("B1:I1", [](CellFormat& f) { f.font.size = 30; });
        Write("B2:J4", std::string("Personal Finance"), true);
        Change("B2:J4", [](CellFormat& f) { f.font.size = 24; });
        Write("B5:D5", std::string(), true);
        for (const char* block : {"B6:B8", "B10:B12"}) {
            Write(block, std::string(block[1] == '6' ? "PROJECTED INCOME" : "ACTUAL INCOME"), true);
            Change(block, [](CellFormat& f) {
                f.font.bold = true;
                f.fill = 52;
                f.hAlign = HAlign::Center;
            });
        }
        const char* labels[] = {"Income", "Extra income", "Total income"};
        for (int i = 0; i < 3; ++i) {
            Write("C" + std::to_string(6 + i) + ":D" + std::to_string(6 + i),
                  std::string(labels[i]), true);
            Write("C" + std::to_string(10 + i) + ":D" + std::to_string(10 + i),
                  std::string(labels[i]), true);
        }
        Write("E6", 3000.0);
        Write("E7", 100.0);
        Computed("E8", 3100);
        Write("E10", 2720.0);
        Write("E11", 100.0);
        Computed("E12", 2820);
        Change("E6:E12", [](CellFormat& f) {
            f.numberFormat = kAmountFormat;
            f.hAlign = HAlign::Right;
        });
        for (const char* total : {"E8", "E12"})
            Change(total, [](CellFormat& f) {
                f.font.bold = true;
                f.fill = 39;
            });
        struct Balance {
            const char* caption;
            const char* label;
            int blanks;
            const char* remark;
            const char* amount;
            double value;
        };
        const Balance balances[] = {
            {"G6:I7", "PROJECTED BALANCE", 55, "(Projected income minus expenses)", "J6:J7", -420},
            {"G8:I9", "ACTUAL BALANCE", 63, "(Actual income minus expenses)", "J8:J9", 2820},
            {"G10:I12", "DIFFERENCE", 73, "(Actual minus projected)", "J10:J12", 3240},
        };
        for (const Balance& b : balances) {
            Write(b.caption, std::string(b.label) + std::string(b.blanks, ' ') + b.remark, true);
            Change(b.caption, [](CellFormat& f) { f.font.bold = true; });
            Computed(b.amount, b.value, true);
            Change(b.amount, [](CellFormat& f) {
                f.font.bold = true;
                f.numberFormat = kAmountFormat;
                f.fill = 39;
                f.hAlign = HAlign::Right;
            });
        }
        for (const char* block : {"G6:J12", "B6:E8", "B10:E12"}) Boxes(block);
    }

    // One section: header row, items, subtotal row, in columns first..first+3.
    void Section(char first, int header, const char* name, int items) {
        auto at = [&](int offset, int row) {
            return std::string(1, static_cast<char>(first + offset)) + std::to_string(row);
        };
        Write(at(0, header), std::string(name));
        const char* captions[] = {"Projected Cost", "Actual Cost", "Difference"};
        for (int i = 0; i < 3; ++i) Write(at(i + 1, header), std::string(captions[i]));
        Change(at(0, header) + ":" + at(3, header), [](CellFormat& f) {
            f.font.bold = true;
            f.font.size = 9;
            f.fill = 52;
        });
        Change(at(1, header) + ":" + at(3, header), [](CellFormat& f) {
            f.font.size = 8;
            f.hAlign = HAlign::Center;
        });
        for (int j = 1; j <= items; ++j) {
            Write(at(0, header + j), "Item " + std::to_string(j));
            Write(at(1, header + j), 100.0 * j);
            Write(at(2, header + j), 90.0 * j + 25);
            Computed(at(3, header + j), 10.0 * j - 25);
        }
        const int subtotal = header + items + 1;
        Write(at(0, subtotal), std::string("Subtotals"));
        Change(at(0, subtotal), [](CellFormat& f) {
            f.font.italic = true;
            f.font.size = 9;
            f.fill = 52;
        });
        for (int i = 1; i <= 3; ++i) Computed(at(i, subtotal), 1234.0 * i - 2000);
        Change(at(1, header + 1) + ":" + at(3, subtotal), [](CellFormat& f) {
            f.numberFormat = kAmountFormat;
            f.hAlign = HAlign::Right;
        });
        Change(at(3, header + 1) + ":" + at(3, subtotal), [](CellFormat& f) { f.fill = 39; });
        Boxes(at(0, header) + ":" + at(3, subtotal));
    }

    void Sections() {
        struct Group {
            char column;
            int header;
            const char* name;
            int items;
        };
        const Group groups[] = {
            {'B', 14, "HOUSING", 10},
            {'B', 27, "TRANSPORTATION", 7},
            {'B', 37, "INSURANCE", 4},
            {'B', 44, "FOOD", 3},
            {'B', 50, "PETS", 5},
            {'B', 58, "PERSONAL CARE", 7},
            {'G', 14, "ENTERTAINMENT", 9},
            {'G', 26, "LOANS", 6},
            {'G', 35, "TAXES", 4},
            {'G', 42, "SAVINGS OR INVESTMENTS", 3},
            {'G', 48, "GIFTS AND DONATIONS", 3},
            {'G', 54, "LEGAL", 4},
        };
        for (const Group& g : groups) Section(g.column, g.header, g.name, g.items);
        const char* totals[] = {"TOTAL PROJECTED COST", "TOTAL ACTUAL COST", "TOTAL DIFFERENCE"};
        for (int i = 0; i < 3; ++i) {
            const int row = 61 + 2 * i;
            const std::string label = "G" + std::to_string(row) + ":I" + std::to_string(row + 1);
            const std::string amount = "J" + std::to_string(row) + ":J" + std::to_string(row + 1);
            Write(label, std::string(totals[i]), true);
            Change(label, [](CellFormat& f) {
                f.font.bold = true;
                f.font.size = 9;
                f.fill = 52;
                f.hAlign = HAlign::Right;
            });
            Computed(amount, 4321.0 * (i + 1), true);
            Change(amount, [](CellFormat& f) {
                f.font.bold = true;
                f.fill = 39;
            });
        }
        Boxes("G61:J66");
    }

    Workbook book_;
    Worksheet& sheet_;
};

const BudgetLikeSheet& Budget() {
    static const BudgetLikeSheet budget;
    return budget;
}

void BM_RenderBudget(benchmark::State& state) {
    const BudgetLikeSheet& b = Budget();
    for (auto _ : state) {
        QImage picture = RenderRange(b.Book(), b.Sheet(), b.Area());
        benchmark::DoNotOptimize(picture.constBits());
    }
}
BENCHMARK(BM_RenderBudget)->Unit(benchmark::kMillisecond);

void BM_RenderBudgetAndSaveBmp(benchmark::State& state) {
    const BudgetLikeSheet& b = Budget();
    const QString path = QDir::temp().filePath(QStringLiteral("quill_render_bench.bmp"));
    for (auto _ : state) {
        const QImage picture = RenderRange(b.Book(), b.Sheet(), b.Area());
        if (!picture.save(path, "BMP")) state.SkipWithError("the BMP file could not be written");
    }
    QFile::remove(path);
    const QImage picture = RenderRange(b.Book(), b.Sheet(), b.Area());
    state.counters["width"] = picture.width();
    state.counters["height"] = picture.height();
}
BENCHMARK(BM_RenderBudgetAndSaveBmp)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);  // fonts need the application object
    const QString keep = qEnvironmentVariable("QUILL_BENCH_PICTURE");
    if (!keep.isEmpty())
        RenderRange(Budget().Book(), Budget().Sheet(), BudgetLikeSheet::Area()).save(keep);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
