// Sample workbooks for the .xls tests and benchmarks: a budget sheet laid out the way the
// sheet builder lays it out (palette, sheet-wide format, widths, heights, merged header
// block, two halves of category sections with formulas and borders, grand totals, print
// set-up), and a plain sheet of many rows. Built on the workbook model directly, so the file
// tests do not depend on the object model.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "spreadsheet/core/Workbook.h"
#include "spreadsheet/formula/Formula.h"

namespace quill::spreadsheet::sample {

inline constexpr const char* kAmountFormat = "$#,##0_);[Red]($#,##0)";

inline CellRef At(const std::string& a1) {
    return ParseA1Range(a1).first;
}

// Applies `change` to the format of every cell of `range` (the sheet default for cells
// without a format of their own).
inline void ChangeFormat(Workbook& book, Worksheet& sheet, const std::string& range,
                         const std::function<void(CellFormat&)>& change) {
    const RangeRef area = ParseA1Range(range);
    for (int r = area.first.row; r <= area.last.row; ++r) {
        for (int c = area.first.col; c <= area.last.col; ++c) {
            CellFormat f = book.EffectiveFormat(sheet, {r, c});
            change(f);
            sheet.At({r, c}).format = book.AddFormat(f);
        }
    }
}

// Writes a number, a text, or a formula (a text beginning with "=").
inline void Put(Worksheet& sheet, const std::string& a1, const std::string& content) {
    Cell& cell = sheet.At(At(a1));
    if (!content.empty() && content[0] == '=')
        cell.content = ParseFormulaR1C1(content);
    else
        cell.content = content;
}
inline void Put(Worksheet& sheet, const std::string& a1, double number) {
    sheet.At(At(a1)).content = number;
}

inline void AllBorders(CellFormat& f) {
    for (Edge e : {Edge::Left, Edge::Right, Edge::Top, Edge::Bottom})
        f.SetBorder(e, LineStyle::Thin);
}

inline std::string Offset(int dr, int dc) {
    return "R[" + std::to_string(dr) + "]C[" + std::to_string(dc) + "]";
}

// The budget sheet with the default categories' section sizes.
inline Workbook BudgetWorkbook() {
    Workbook book;
    // Two palette entries the sheet uses: light green (39) and pale green (52).
    book.palette[38] = 224 + 256 * 255 + 65536 * 215;
    book.palette[51] = 236 + 256 * 245 + 65536 * 215;
    Worksheet& sheet = book.AddSheet("Invoice");

    CellFormat base;
    base.vAlign = VAlign::Center;
    base.wrap = true;
    base.fill = 2;
    sheet.SetDefaultFormat(book.AddFormat(base));

    const std::vector<std::pair<std::string, double>> widths = {
        {"A", 1},    {"B", 31.29}, {"C", 12.34}, {"D", 12.34}, {"E", 12.34},
        {"F", 2.14}, {"G", 31.29}, {"H", 12.34}, {"I", 12.34}, {"J", 12.34}};
    for (const auto& [col, w] : widths) sheet.SetColumnWidth(ParseA1Range(col + "1").first.col, w);
    for (int r = 0; r < 3; ++r) sheet.SetRowHeight(r, 12.75);
    sheet.SetRowHeight(3, 17);
    sheet.SetRowHeight(4, 9);
    for (int r = 5; r < 13; ++r) sheet.SetRowHeight(r, 16);
    for (int r = 13; r < 300; ++r) sheet.SetRowHeight(r, 15.75);

    auto font = [](double size, bool bold, bool italic = false) {
        return [=](CellFormat& f) {
            f.font.size = size;
            f.font.bold = bold;
            f.font.italic = italic;
        };
    };
    auto fill = [](int index) { return [=](CellFormat& f) { f.fill = index; }; };
    auto amount = [](CellFormat& f) { f.numberFormat = kAmountFormat; };
    auto right = [](CellFormat& f) { f.hAlign = HAlign::Right; };
    auto centre = [](CellFormat& f) { f.hAlign = HAlign::Center; };
    auto merge = [&](const std::string& range) { sheet.Merge(ParseA1Range(range)); };

    ChangeFormat(book, sheet, "B1:I1", font(30, false));
    Put(sheet, "B2", "Personal Finance");
    merge("B2:J4");
    ChangeFormat(book, sheet, "B2:J4", font(24, false));
    merge("B5:D5");
    Put(sheet, "B6", "PROJECTED INCOME");
    merge("B6:B8");
    ChangeFormat(book, sheet, "B6:B8", [&](CellFormat& f) {
        font(10, true)(f);
        fill(52)(f);
        centre(f);
    });
    Put(sheet, "B10", "ACTUAL INCOME");
    merge("B10:B12");
    ChangeFormat(book, sheet, "B10:B12", [&](CellFormat& f) {
        font(10, true)(f);
        fill(52)(f);
        centre(f);
    });
    for (const auto& [a1, text] :
         std::vector<std::pair<std::string, std::string>>{{"C6", "Income"},
                                                          {"C7", "Extra income"},
                                                          {"C8", "Total income"},
                                                          {"C10", "Income"},
                                                          {"C11", "Extra income"},
                                                          {"C12", "Total income"}}) {
        Put(sheet, a1, text);
        const CellRef c = At(a1);
        merge(CellName(c) + ":" + CellName({c.row, c.col + 1}));
    }
    for (const auto& [a1, value] : std::vector<std::pair<std::string, double>>{
             {"E6", 3000}, {"E7", 100}, {"E10", 2720}, {"E11", 100}}) {
        Put(sheet, a1, value);
        ChangeFormat(book, sheet, a1, [&](CellFormat& f) {
            amount(f);
            right(f);
        });
    }
    auto greenTotal = [&](CellFormat& f) {
        font(10, true)(f);
        amount(f);
        fill(39)(f);
        right(f);
    };
    for (const char* a1 : {"E8", "E12"}) {
        Put(sheet, a1, "=SUM(R[-2]C:R[-1]C)");
        ChangeFormat(book, sheet, a1, greenTotal);
    }
    Put(sheet, "G6",
        "PROJECTED BALANCE" + std::string(55, ' ') + "(Projected income minus expenses)");
    Put(sheet, "G8", "ACTUAL BALANCE" + std::string(63, ' ') + "(Actual income minus expenses)");
    Put(sheet, "G10", "DIFFERENCE" + std::string(73, ' ') + "(Actual minus projected)");
    for (const char* range : {"G6:I7", "G8:I9", "G10:I12"}) {
        merge(range);
        ChangeFormat(book, sheet, range, font(10, true));
    }
    Put(sheet, "J6", "=R[2]C[-5]-R[55]C");
    Put(sheet, "J8", "=R[4]C[-5]-R[55]C");
    Put(sheet, "J10", "=R[-2]C-R[-4]C");
    for (const char* range : {"J6:J7", "J8:J9", "J10:J12"}) {
        merge(range);
        ChangeFormat(book, sheet, range, greenTotal);
    }
    for (const char* range : {"F5", "H5:I5", "C9:F9", "F6:F13", "E13:J13"})
        ChangeFormat(book, sheet, range, font(10, true));
    ChangeFormat(book, sheet, "E13", amount);
    ChangeFormat(book, sheet, "J13", [&](CellFormat& f) {
        amount(f);
        centre(f);
    });

    // Category sections: left half in B:E, right half in G:J, from row 14.
    const std::vector<std::vector<int>> halves = {{10, 7, 4, 3, 5, 7}, {9, 6, 4, 3, 3, 4}};
    std::vector<CellRef> subtotals;  // projected-cost subtotal cells
    int lastRow = 0;
    int group = 0;
    for (std::size_t half = 0; half < halves.size(); ++half) {
        const int c = half == 0 ? 1 : 6;
        int h = 13;
        for (const int items : halves[half]) {
            ++group;
            auto cell = [&](int dr, int dc) { return CellName({h + dr, c + dc}); };
            Put(sheet, cell(0, 0), "GROUP " + std::to_string(group));
            ChangeFormat(book, sheet, cell(0, 0), [&](CellFormat& f) {
                font(9, true)(f);
                fill(52)(f);
            });
            const char* captions[] = {"Projected Cost", "Actual Cost", "Difference"};
            for (int k = 0; k < 3; ++k) {
                Put(sheet, cell(0, k + 1), captions[k]);
                ChangeFormat(book, sheet, cell(0, k + 1), [&](CellFormat& f) {
                    font(8, true)(f);
                    fill(52)(f);
                    centre(f);
                });
            }
            for (int j = 1; j <= items; ++j) {
                Put(sheet, cell(j, 0), "Item " + std::to_string(group) + "." + std::to_string(j));
                ChangeFormat(book, sheet, cell(j, 1) + ":" + cell(j, 2), [&](CellFormat& f) {
                    amount(f);
                    right(f);
                });
                Put(sheet, cell(j, 3), "=RC[-2]-RC[-1]");
                ChangeFormat(book, sheet, cell(j, 3), greenTotal);
            }
            const int s = items + 1;
            Put(sheet, cell(s, 0), "Subtotals");
            ChangeFormat(book, sheet, cell(s, 0), [&](CellFormat& f) {
                font(9, false, true)(f);
                fill(52)(f);
            });
            for (int k = 1; k <= 2; ++k) {
                Put(sheet, cell(s, k), "=SUM(R[-" + std::to_string(items) + "]C:R[-1]C)");
                ChangeFormat(book, sheet, cell(s, k), greenTotal);
            }
            Put(sheet, cell(s, 3), "=RC[-2]-RC[-1]");
            ChangeFormat(book, sheet, cell(s, 3), greenTotal);
            ChangeFormat(book, sheet, cell(0, 0) + ":" + cell(s, 3), AllBorders);
            subtotals.push_back({h + s, c + 1});
            h += items + 3;
        }
        lastRow = h;
    }

    // Grand totals under the right half.
    const int t = lastRow;
    const char* labels[] = {"TOTAL PROJECTED COST", "TOTAL ACTUAL COST", "TOTAL DIFFERENCE"};
    for (int k = 0; k < 3; ++k) {
        const int row = t + 2 * k;
        std::string sum = "=SUM(";
        for (std::size_t i = 0; i < subtotals.size(); ++i)
            sum += (i ? "," : "") + Offset(subtotals[i].row - row, subtotals[i].col + k - 9);
        Put(sheet, CellName({row, 6}), labels[k]);
        merge(CellName({row, 6}) + ":" + CellName({row + 1, 8}));
        ChangeFormat(book, sheet, CellName({row, 6}) + ":" + CellName({row + 1, 8}),
                     [&](CellFormat& f) {
                         font(9, true)(f);
                         fill(52)(f);
                         right(f);
                     });
        Put(sheet, CellName({row, 9}), sum + ")");
        merge(CellName({row, 9}) + ":" + CellName({row + 1, 9}));
        ChangeFormat(book, sheet, CellName({row, 9}) + ":" + CellName({row + 1, 9}),
                     [&](CellFormat& f) {
                         font(10, true)(f);
                         fill(39)(f);
                     });
    }
    ChangeFormat(book, sheet, CellName({t, 6}) + ":" + CellName({t + 5, 9}), AllBorders);
    for (const char* range : {"G6:J12", "B6:E8", "B10:E12"})
        ChangeFormat(book, sheet, range, AllBorders);

    sheet.printArea = ParseA1Range("A1:J73");
    PageSetup& page = sheet.pageSetup;
    page.leftMargin = page.rightMargin = 0.7;
    page.topMargin = page.bottomMargin = 0.5;
    page.headerMargin = page.footerMargin = 0;
    page.portrait = true;
    page.paperSize = 9;
    page.fitToPages = true;
    page.fitWide = page.fitTall = 1;
    sheet.selection = ParseA1Range("C15");
    sheet.activeCell = At("C15");
    Recalculate(book);
    return book;
}

// A sheet of `rows` rows by ten columns: a text, numbers, a formula and formats in each row.
inline Workbook LargeWorkbook(int rows) {
    Workbook book;
    Worksheet& sheet = book.AddSheet("Data");
    CellFormat amount;
    amount.numberFormat = kAmountFormat;
    amount.hAlign = HAlign::Right;
    const int amountFormat = book.AddFormat(amount);
    CellFormat bold;
    bold.font.bold = true;
    bold.fill = 52;
    AllBorders(bold);
    const int boldFormat = book.AddFormat(bold);
    for (int r = 0; r < rows; ++r) {
        Cell& name = sheet.At({r, 0});
        name.content = "Row " + std::to_string(r + 1);
        name.format = boldFormat;
        for (int c = 1; c < 9; ++c) {
            Cell& cell = sheet.At({r, c});
            cell.content = r * 10.0 + c + (c % 2 ? 0.25 : 0.0);
            cell.format = amountFormat;
        }
        Cell& total = sheet.At({r, 9});
        total.content = ParseFormulaR1C1("=SUM(RC[-8]:RC[-1])");
        total.format = amountFormat;
        sheet.SetRowHeight(r, 15.75);
    }
    Recalculate(book);
    return book;
}

}  // namespace quill::spreadsheet::sample
