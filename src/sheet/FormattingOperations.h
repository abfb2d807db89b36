// The cell operations through which the sheet builder touches the sheet. Each one is a short,
// fixed sequence of object-model calls on the application's selection, active cell, ranges,
// rows, columns or page set-up.
//
// Operations that take a range text first select that range when the text is not empty and
// otherwise work on the current selection, so the builder can select once and then apply
// several attributes. Engine failures (EngineError) propagate to the caller.
#pragma once

#include <string>
#include <string_view>
#include <variant>

#include "spreadsheet/objectmodel/ObjectModel.h"

namespace quill::sheet {

// A value written through the formula property: a text ("=" starts an R1C1 formula, a
// numeric text becomes a number) or a number.
using CellValue = std::variant<std::string, double>;

// Which alignment attributes SetAlignment sets; an attribute whose flag is off is untouched.
struct AlignmentFlags {
    bool centerHorizontally = false;
    bool centerVertically = false;
    bool wrap = false;
    bool alignRight = false;  // wins over centerHorizontally
};

// Which lines ApplyBorders draws (fields in the order the operation takes its flags).
struct BorderFlags {
    bool insideHorizontal = false;
    bool left = false;
    bool right = false;
    bool top = false;
    bool bottom = false;
    bool insideVertical = false;
};

// Every line of a range: its outline and the grid inside it.
inline constexpr BorderFlags kAllBorders{true, true, true, true, true, true};

// Selects `range` unless it is empty, writes `value` into the active cell and, when `merge` is
// on, merges the selection (a one-cell selection stays a plain cell).
void WriteCell(spreadsheet::Application& app, std::string_view range, const CellValue& value,
               bool merge);

// The selection's font style ("Bold", "Italic"; any other text, such as "General", is
// neither bold nor italic), size in points and colour index (-4105 automatic).
void SetFont(spreadsheet::Application& app, std::string_view style, double size, int colorIndex);

void SetInteriorColor(spreadsheet::Application& app, std::string_view range, int colorIndex);
void SetNumberFormat(spreadsheet::Application& app, std::string_view range,
                     std::string_view format);

// Centre (-4108), then right (-4152) horizontally, centre vertically, wrap; in that order.
void SetAlignment(spreadsheet::Application& app, const AlignmentFlags& flags);

// Selects `range` unless it is empty and draws the flagged lines in the order left, top,
// bottom, right, inside horizontal, inside vertical.
void ApplyBorders(spreadsheet::Application& app, std::string_view range, const BorderFlags& flags);

// A continuous line with the application's default weight and colour on the selection's
// border `borderIndex` (7 left, 8 top, 9 bottom, 10 right, 11 inside vertical, 12 inside
// horizontal).
void SetBorderLine(spreadsheet::Application& app, int borderIndex);

// Selects the rows ("14:300") and sets their height in points.
void SetRowHeight(spreadsheet::Application& app, std::string_view rows, double points);

// Selects the columns ("B:B") and sets their width in characters.
void SetColumnWidth(spreadsheet::Application& app, std::string_view columns, double characters);

// All lines of the income and balance block: "G6:J12", then "B6:E8", then "B10:E12".
void BorderIncomeBlock(spreadsheet::Application& app);

// The active sheet's page set-up: print area `printAreaText` ("A1:J73"), margins 0.7 inch
// left and right, 0.5 inch top and bottom, no header or footer margin, no comments, portrait
// on the paper `paperSize` (A4 unless told), scaled to one page wide and one page tall.
void ApplyPageSetup(spreadsheet::Application& app, std::string_view printAreaText,
                    int paperSize = spreadsheet::xl::kPaperA4);

}  // namespace quill::sheet
