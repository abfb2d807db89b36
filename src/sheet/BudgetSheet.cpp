#include "sheet/BudgetSheet.h"

#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "sheet/FormattingOperations.h"
#include "sheet/HeaderGrid.h"
#include "sheet/SectionPlan.h"
#include "sheet/SheetGuards.h"
#include "sheet/SheetStyle.h"
#include "sheet/SheetText.h"
#include "spreadsheet/format/NumberFormat.h"

namespace quill::sheet {

namespace xl = spreadsheet::xl;

namespace {

// ---- Sheet-wide look -------------------------------------------------------------------

constexpr const char* kFontName = "Arial";
constexpr double kFontSize = 10;

// Font style texts; any style other than bold or italic ("General") is neither.
constexpr const char* kBold = "Bold";
constexpr const char* kItalic = "Italic";
constexpr const char* kRegular = "General";

struct ColumnWidth {
    const char* columns;
    double characters;
};

// Margin A, the two halves B-E and G-J, and the gap F. 12.34 is 1012 / 82 rounded.
constexpr ColumnWidth kColumnWidths[] = {
    {"A:A", 1},    {"B:B", 31.29}, {"C:C", 12.34}, {"D:D", 12.34}, {"E:E", 12.34},
    {"F:F", 2.14}, {"G:G", 31.29}, {"H:H", 12.34}, {"I:I", 12.34}, {"J:J", 12.34},
};

struct RowHeight {
    const char* rows;
    double points;
};

// The header block row by row, then the section rows; rows below 300 keep the default.
constexpr RowHeight kRowHeights[] = {
    {"1:1", 12.75}, {"2:2", 12.75}, {"3:3", 12.75}, {"4:4", 17},       {"5:5", 9},
    {"6:6", 16},    {"7:7", 16},    {"8:8", 16},    {"9:9", 16},       {"10:10", 16},
    {"11:11", 16},  {"12:12", 16},  {"13:13", 16},  {"14:300", 15.75},
};

// ---- Sections --------------------------------------------------------------------------

constexpr int kLeftHalfColumn = 2;   // B
constexpr int kRightHalfColumn = 7;  // G

// Columns of a section counted from its name column.
constexpr int kProjectedColumn = 1;
constexpr int kActualColumn = 2;
constexpr int kDifferenceColumn = 3;

constexpr double kSectionFontSize = 9;
constexpr double kCaptionFontSize = 8;
constexpr const char* kCostCaptions[] = {
    QT_TRANSLATE_NOOP("quill::sheet::Captions", "Projected Cost"),
    QT_TRANSLATE_NOOP("quill::sheet::Captions", "Actual Cost"),
    QT_TRANSLATE_NOOP("quill::sheet::Captions", "Difference")};
constexpr const char* kDifferenceFormula = "=RC[-2]-RC[-1]";

// The three grand-total blocks, two rows tall each, from the grand totals' first row down.
struct GrandTotalBlock {
    const char* label;
    double labelSize;
    double amountSize;
    std::string TotalRefs::*references;
};
const GrandTotalBlock kGrandTotalBlocks[] = {
    {QT_TRANSLATE_NOOP("quill::sheet::Captions", "TOTAL PROJECTED COST"), 9, 9,
     &TotalRefs::projected},
    {QT_TRANSLATE_NOOP("quill::sheet::Captions", "TOTAL ACTUAL COST"), 9, 10, &TotalRefs::actual},
    {QT_TRANSLATE_NOOP("quill::sheet::Captions", "TOTAL DIFFERENCE"), 10, 10,
     &TotalRefs::difference},
};
constexpr int kGrandTotalBlockRows = 2;

constexpr const char* kFinalSelection = "C15";

// ---- Addresses and formulas --------------------------------------------------------------

std::string Address(int row, int column) {
    return spreadsheet::ColumnName(column - 1) + std::to_string(row);
}

std::string RangeAddress(int firstRow, int firstColumn, int lastRow, int lastColumn) {
    return Address(firstRow, firstColumn) + ":" + Address(lastRow, lastColumn);
}

int NameColumn(Half half) {
    return half == Half::Left ? kLeftHalfColumn : kRightHalfColumn;
}

std::string SubtotalFormula(int itemCount) {
    // A sum over no rows would have to name the subtotal cell itself.
    if (itemCount == 0) return "=0";
    return "=SUM(R[-" + std::to_string(itemCount) + "]C:R[-1]C)";
}

// A list of comma-terminated references without its last comma, inside a SUM.
std::string SumOf(const std::string& references) {
    return "=SUM(" + references.substr(0, references.size() - 1) + ")";
}

// The balance formulas of J6 and J8: total income (E8, E12) minus the matching grand total.
// Without any group there is no grand total; the balances are then the total income alone.
struct BalanceFormulas {
    std::string projected;
    std::string actual;
};

BalanceFormulas BalanceFormulasFor(const SheetPlan& plan) {
    constexpr int kProjectedBalanceRow = 6;  // J6; the actual balance J8 stands two rows lower
    BalanceFormulas formulas{"=R[2]C[-5]", "=R[4]C[-5]"};
    if (!plan.HasTotals()) return formulas;
    // The actual grand total also stands two rows below the projected one, so both balances
    // reach their total by the same offset. In the left half the totals stand in column E.
    const std::string reference = "-R[" + std::to_string(plan.totalRow - kProjectedBalanceRow) +
                                  "]" + (plan.totalsHalf == Half::Right ? "C" : "C[-5]");
    formulas.projected += reference;
    formulas.actual += reference;
    return formulas;
}

// ---- Steps of the build ------------------------------------------------------------------

void InstallPalette(spreadsheet::Application& app, const Palette& palette) {
    spreadsheet::Workbook& book = app.ActiveWorkbook();
    for (int i = 1; i <= static_cast<int>(palette.size()); ++i)
        spreadsheet::SetColors(book, i, palette[static_cast<std::size_t>(i - 1)]);
}

// Clears the sheet; every cell then shows Arial 10, centred vertically, wrapped, on white.
void ApplySheetDefaults(spreadsheet::Application& app) {
    app.Cells().Select();
    app.Selection().Clear();
    spreadsheet::Range all = app.Selection();
    all.Font().SetName(kFontName);
    all.Font().SetSize(kFontSize);
    all.SetVerticalAlignment(xl::kCenter);
    all.SetWrapText(true);
    SetInteriorColor(app, "", kWhite);
}

void ApplySizes(spreadsheet::Application& app) {
    for (const ColumnWidth& width : kColumnWidths)
        SetColumnWidth(app, width.columns, width.characters);
    for (const RowHeight& height : kRowHeights) SetRowHeight(app, height.rows, height.points);
}

// What a header cell receives: an income as its number (cents and all), else a text or a
// formula.
CellValue HeaderCellContent(const HeaderCell& cell, const IncomeAmounts& incomes,
                            const BalanceFormulas& balances) {
    switch (cell.content) {
        case HeaderContent::IncomeAmount:
            return incomes.at(static_cast<std::size_t>(cell.incomeBox)).Number();
        case HeaderContent::ProjectedBalance:
            return balances.projected;
        case HeaderContent::ActualBalance:
            return balances.actual;
        case HeaderContent::Text:
            break;
    }
    return cell.text;
}

// Writes one header cell, or its merged range, and applies its attributes, selecting it at
// most once.
void WriteHeaderCell(spreadsheet::Application& app, int row, int column, const HeaderCell& cell,
                     const CellValue& content, const std::string& amountFormat) {
    std::string address = Address(row, column);
    bool selected = false;
    if (!cell.mergeRange.empty()) {
        address = cell.mergeRange;
        WriteCell(app, address, content, true);
        selected = true;
    } else if (const auto* text = std::get_if<std::string>(&content);
               text == nullptr || !text->empty()) {
        WriteCell(app, address, content, false);
        selected = true;
    }
    auto select = [&] {
        if (!selected) app.Range(address).Select();
        selected = true;
    };
    // The range text for an operation that selects by itself: empty once selected.
    auto target = [&]() -> std::string {
        const std::string range = selected ? std::string() : address;
        selected = true;
        return range;
    };

    if (cell.bold) {
        select();
        SetFont(app, kBold, cell.fontSize >= 1 ? cell.fontSize : kFontSize, xl::kAutomatic);
    } else if (cell.fontSize > 0) {
        select();
        SetFont(app, kRegular, cell.fontSize, xl::kAutomatic);
    }
    // The grid's amounts take the currency's amount format.
    if (!cell.numberFormat.empty())
        SetNumberFormat(app, target(),
                        cell.numberFormat == AmountFormat ? amountFormat : cell.numberFormat);
    if (cell.interiorColor > 0) SetInteriorColor(app, target(), cell.interiorColor);
    if (cell.horizontalAlignment != 0) {
        select();
        app.Selection().SetHorizontalAlignment(cell.horizontalAlignment);
    }
}

void WriteHeaderGrid(spreadsheet::Application& app, const IncomeAmounts& incomes,
                     const BalanceFormulas& balances, const std::string& amountFormat) {
    const HeaderGridTable grid = HeaderGrid();
    for (int row = 1; row <= kHeaderRows; ++row) {
        for (int column = 1; column <= kHeaderColumns; ++column) {
            const HeaderCell& cell =
                grid[static_cast<std::size_t>(row - 1)][static_cast<std::size_t>(column - 1)];
            WriteHeaderCell(app, row, column, cell, HeaderCellContent(cell, incomes, balances),
                            amountFormat);
        }
    }
}

// Right-aligned amounts; the fill is set separately where a cell has one.
void FormatAmount(spreadsheet::Application& app, std::string_view range,
                  const std::string& amountFormat) {
    SetNumberFormat(app, range, amountFormat);
    SetAlignment(app, {.alignRight = true});
}

// A category name as literal text: the leading apostrophe keeps names such as "=Other" or
// "2024" from being taken as a formula or a number.
std::string LiteralText(const QString& name) {
    std::string text = name.toStdString();
    text.insert(text.begin(), '\'');
    return text;
}

void WriteSectionHeader(spreadsheet::Application& app, const QString& name, int row, int column) {
    WriteCell(app, Address(row, column), LiteralText(name), true);
    SetFont(app, kBold, kSectionFontSize, xl::kAutomatic);
    SetInteriorColor(app, "", kPaleGreen);
    for (int i = 0; i < std::ssize(kCostCaptions); ++i) {
        WriteCell(app, Address(row, column + kProjectedColumn + i), SheetText(kCostCaptions[i]),
                  true);
        SetFont(app, kBold, kCaptionFontSize, xl::kAutomatic);
        SetInteriorColor(app, "", kPaleGreen);
        SetAlignment(app, {.centerHorizontally = true, .centerVertically = true, .wrap = true});
    }
}

// An item row: the name, the projected cost (the planned amount as a number, or empty when
// none is planned), an empty actual cost for the user's figure and their difference.
void WriteItemRow(spreadsheet::Application& app, const CategoryRow& item, int row, int column,
                  const std::string& amountFormat) {
    WriteCell(app, Address(row, column), LiteralText(item.RowText), true);
    if (item.Planned)
        WriteCell(app, Address(row, column + kProjectedColumn), item.Planned->Number(), false);
    FormatAmount(app, RangeAddress(row, column + kProjectedColumn, row, column + kActualColumn),
                 amountFormat);
    WriteCell(app, Address(row, column + kDifferenceColumn), kDifferenceFormula, true);
    FormatAmount(app, "", amountFormat);
    SetInteriorColor(app, "", kLightGreen);
}

void WriteSubtotalRow(spreadsheet::Application& app, int itemCount, int row, int column,
                      const std::string& amountFormat) {
    WriteCell(app, Address(row, column),
              SheetText(QT_TRANSLATE_NOOP("quill::sheet::Captions", "Subtotals")), true);
    // The later style replaces the earlier one: the label ends italic, not bold.
    SetFont(app, kBold, kSectionFontSize, xl::kAutomatic);
    SetFont(app, kItalic, kSectionFontSize, xl::kAutomatic);
    SetInteriorColor(app, "", kPaleGreen);

    const std::string sum = SubtotalFormula(itemCount);
    const std::string formulas[] = {sum, sum, kDifferenceFormula};
    for (int i = 0; i < std::ssize(formulas); ++i) {
        WriteCell(app, Address(row, column + kProjectedColumn + i), formulas[i], true);
        SetInteriorColor(app, "", kLightGreen);
        FormatAmount(app, "", amountFormat);
    }
}

void WriteSection(spreadsheet::Application& app, const CategoryTable& table, const GroupPlan& group,
                  const std::string& amountFormat) {
    const int column = NameColumn(group.half);
    const int header = group.HeaderRow();
    WriteSectionHeader(app, table[static_cast<std::size_t>(group.tableRow - 1)].RowText, header,
                       column);
    int row = header;
    for (const int item : group.itemRows)
        WriteItemRow(app, table[static_cast<std::size_t>(item - 1)], ++row, column, amountFormat);
    WriteSubtotalRow(app, group.ItemCount(), group.SubtotalRow(), column, amountFormat);
    // The empty row below the subtotals stays without lines.
    ApplyBorders(app, RangeAddress(header, column, group.SubtotalRow(), column + kDifferenceColumn),
                 kAllBorders);
}

// The three grand-total blocks under the last section: a merged label over the name and
// cost columns and a merged amount in the difference column, two rows tall each.
void WriteGrandTotals(spreadsheet::Application& app, const SheetPlan& plan) {
    const TotalRefs refs = CollectTotalRefs(plan);
    const int column = NameColumn(plan.totalsHalf);
    const int amountColumn = column + kDifferenceColumn;
    int row = plan.totalRow;
    for (const GrandTotalBlock& block : kGrandTotalBlocks) {
        const int lastRow = row + kGrandTotalBlockRows - 1;
        WriteCell(app, RangeAddress(row, column, lastRow, column + kActualColumn),
                  SheetText(block.label), true);
        SetFont(app, kBold, block.labelSize, xl::kAutomatic);
        SetInteriorColor(app, "", kPaleGreen);
        SetAlignment(app, {.centerVertically = true, .wrap = true, .alignRight = true});

        WriteCell(app, RangeAddress(row, amountColumn, lastRow, amountColumn),
                  SumOf(refs.*block.references), true);
        SetFont(app, kBold, block.amountSize, xl::kAutomatic);
        SetInteriorColor(app, "", kLightGreen);
        row += kGrandTotalBlockRows;
    }
    // All six rows, so the lines also run along the lower halves of the merged blocks.
    ApplyBorders(app, RangeAddress(plan.totalRow, column, row - 1, amountColumn), kAllBorders);
}

}  // namespace

void BuildBudgetSheet(spreadsheet::Application& app, const CategoryTable& table,
                      const IncomeAmounts& incomeAmounts, const Palette& palette,
                      const SheetLook& look) {
    // Planned first: a table the sheet cannot hold fails here, before any cell changes, and
    // the balance formulas of the header block can name the grand totals.
    const SheetPlan plan = PlanSections(table);

    InstallPalette(app, palette);
    // The title the file's properties show in other programs.
    app.ActiveWorkbook().title =
        SheetText(QT_TRANSLATE_NOOP("quill::sheet::Captions", "Personal Finance"));
    ApplySheetDefaults(app);
    ApplySizes(app);
    WriteHeaderGrid(app, incomeAmounts, BalanceFormulasFor(plan), look.amountFormat);

    for (const GroupPlan& group : plan.groups) WriteSection(app, table, group, look.amountFormat);
    if (plan.HasTotals()) WriteGrandTotals(app, plan);

    BorderIncomeBlock(app);
    GuardBudgetSheet(app, plan, look.unit);
    ApplyPageSetup(app, "A1:J" + std::to_string(plan.LastRow()), look.paperSize);
    app.Range(kFinalSelection).Select();
}

namespace {

// The value a cell shows: a formula's computed result, else its content.
spreadsheet::Value ShownValue(const spreadsheet::Worksheet& sheet, spreadsheet::CellRef at) {
    const spreadsheet::Cell* cell = sheet.Find(at);
    if (cell == nullptr) return {};
    if (cell->AsFormula() != nullptr) return cell->Cached();
    if (const double* number = std::get_if<double>(&cell->content)) return *number;
    if (const std::string* text = std::get_if<std::string>(&cell->content)) return *text;
    return {};
}

// The sheet's amount format as a listener hears it best: a minus sign rather than the red
// parentheses, "$#,##0;-$#,##0" for "$#,##0_);[Red]($#,##0)".
std::string SpokenFormat(std::string_view amountFormat) {
    std::string positive(amountFormat.substr(0, amountFormat.find(';')));
    if (const std::size_t pad = positive.rfind("_)"); pad != std::string::npos)
        positive.erase(pad, 2);
    return positive + ";-" + positive;
}

// The first cell whose text is `label`, searched row by row. The cell's place is copied:
// the sheet's cell view hands out each place as a temporary.
std::optional<spreadsheet::CellRef> FindLabel(const spreadsheet::Worksheet& sheet,
                                              std::string_view label) {
    for (const auto& [at, cell] : sheet.Cells()) {
        const std::string* text = std::get_if<std::string>(&cell.content);
        if (text != nullptr && *text == label) return at;
    }
    return std::nullopt;
}

}  // namespace

std::string KeyFiguresSummary(const spreadsheet::Worksheet& sheet, std::string_view amountFormat) {
    const std::string spoken = SpokenFormat(amountFormat);
    // The balances stand in column J of rows 6, 8 and 10 (zero-based 9 and 5, 7, 9).
    constexpr int kBalanceColumn = 9;
    struct Figure {
        const char* words;
        spreadsheet::CellRef at;
    };
    std::vector<Figure> figures = {
        {QT_TRANSLATE_NOOP("quill::sheet::Captions", "Projected balance"),
         spreadsheet::CellRef{5, kBalanceColumn}},
        {QT_TRANSLATE_NOOP("quill::sheet::Captions", "actual balance"),
         spreadsheet::CellRef{7, kBalanceColumn}},
        {QT_TRANSLATE_NOOP("quill::sheet::Captions", "difference"),
         spreadsheet::CellRef{9, kBalanceColumn}}};
    // A grand total's amount stands in the difference column of its label's row. The label
    // is in the language the sheet was made in: the one installed now, else English.
    const char* totalWords[] = {QT_TRANSLATE_NOOP("quill::sheet::Captions", "total projected cost"),
                                QT_TRANSLATE_NOOP("quill::sheet::Captions", "total actual cost")};
    for (int block = 0; block < 2; ++block) {
        const char* english = kGrandTotalBlocks[block].label;
        std::optional<spreadsheet::CellRef> label = FindLabel(sheet, SheetText(english));
        if (!label) label = FindLabel(sheet, english);
        if (label)
            figures.push_back({totalWords[block],
                               spreadsheet::CellRef{label->row, label->col + kDifferenceColumn}});
    }
    std::string summary;
    for (const Figure& figure : figures) {
        if (!summary.empty()) summary += ", ";
        summary += SheetText(figure.words) + " " +
                   spreadsheet::FormatValue(ShownValue(sheet, figure.at), spoken).text;
    }
    return summary + ".";
}

}  // namespace quill::sheet
