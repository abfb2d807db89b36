#include "sheet/FormattingOperations.h"

#include <stdexcept>

namespace quill::sheet {

namespace xl = spreadsheet::xl;

namespace {

// Page margins in inches.
constexpr double kSideMarginInches = 0.7;
constexpr double kTopBottomMarginInches = 0.5;
constexpr double kHeaderFooterMarginInches = 0.0;

void SelectUnlessEmpty(spreadsheet::Application& app, std::string_view range) {
    if (!range.empty()) app.Range(std::string(range)).Select();
}

}  // namespace

void WriteCell(spreadsheet::Application& app, std::string_view range, const CellValue& value,
               bool merge) {
    SelectUnlessEmpty(app, range);
    app.ActiveCell().SetFormulaR1C1(value);
    if (merge) app.Selection().Merge();
}

void SetFont(spreadsheet::Application& app, std::string_view style, double size, int colorIndex) {
    spreadsheet::RangeFont font = app.Selection().Font();
    font.SetFontStyle(std::string(style));
    font.SetSize(size);
    font.SetColorIndex(colorIndex);
}

void SetInteriorColor(spreadsheet::Application& app, std::string_view range, int colorIndex) {
    SelectUnlessEmpty(app, range);
    app.Selection().Interior().SetColorIndex(colorIndex);
}

void SetNumberFormat(spreadsheet::Application& app, std::string_view range,
                     std::string_view format) {
    SelectUnlessEmpty(app, range);
    app.Selection().SetNumberFormat(format);
}

void SetAlignment(spreadsheet::Application& app, const AlignmentFlags& flags) {
    spreadsheet::Range selection = app.Selection();
    if (flags.centerHorizontally) selection.SetHorizontalAlignment(xl::kCenter);
    if (flags.alignRight) selection.SetHorizontalAlignment(xl::kRight);
    if (flags.centerVertically) selection.SetVerticalAlignment(xl::kCenter);
    if (flags.wrap) selection.SetWrapText(true);
}

void ApplyBorders(spreadsheet::Application& app, std::string_view range, const BorderFlags& flags) {
    SelectUnlessEmpty(app, range);
    if (flags.left) SetBorderLine(app, xl::kEdgeLeft);
    if (flags.top) SetBorderLine(app, xl::kEdgeTop);
    if (flags.bottom) SetBorderLine(app, xl::kEdgeBottom);
    if (flags.right) SetBorderLine(app, xl::kEdgeRight);
    if (flags.insideHorizontal) SetBorderLine(app, xl::kInsideHorizontal);
    if (flags.insideVertical) SetBorderLine(app, xl::kInsideVertical);
}

void SetBorderLine(spreadsheet::Application& app, int borderIndex) {
    app.Selection().Borders(borderIndex).SetLineStyle(xl::kContinuous);
}

void SetRowHeight(spreadsheet::Application& app, std::string_view rows, double points) {
    app.Rows(std::string(rows)).Select();
    app.Selection().SetRowHeight(points);
}

void SetColumnWidth(spreadsheet::Application& app, std::string_view columns, double characters) {
    app.Columns(std::string(columns)).Select();
    app.Selection().SetColumnWidth(characters);
}

void BorderIncomeBlock(spreadsheet::Application& app) {
    for (const std::string_view block : {"G6:J12", "B6:E8", "B10:E12"})
        ApplyBorders(app, block, kAllBorders);
}

void ApplyPageSetup(spreadsheet::Application& app, std::string_view printAreaText, int paperSize) {
    spreadsheet::PageSetupObject page = app.PageSetup();
    page.SetPrintArea(std::string(printAreaText));
    page.SetLeftMargin(app.InchesToPoints(kSideMarginInches));
    page.SetRightMargin(app.InchesToPoints(kSideMarginInches));
    page.SetTopMargin(app.InchesToPoints(kTopBottomMarginInches));
    page.SetBottomMargin(app.InchesToPoints(kTopBottomMarginInches));
    page.SetHeaderMargin(app.InchesToPoints(kHeaderFooterMarginInches));
    page.SetFooterMargin(app.InchesToPoints(kHeaderFooterMarginInches));
    page.SetPrintComments(xl::kPrintNoComments);
    page.SetOrientation(xl::kPortrait);
    page.SetPaperSize(paperSize);
    page.SetZoom(false);  // scale by pages, not by a percentage
    page.SetFitToPagesWide(1);
    page.SetFitToPagesTall(1);
}

}  // namespace quill::sheet
