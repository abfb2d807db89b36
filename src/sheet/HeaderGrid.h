// The fixed block at the top of the budget sheet, rows 1 to 13 and columns A to J: the
// title, the projected and actual income and the three balance figures, as one descriptor
// per cell.
#pragma once

#include <array>
#include <string>

namespace quill::sheet {

inline constexpr int kHeaderRows = 13;
inline constexpr int kHeaderColumns = 10;  // A to J

// What a header cell receives as its content.
enum class HeaderContent {
    Text,              // HeaderCell::text (possibly empty)
    IncomeAmount,      // the amount of income box HeaderCell::incomeBox
    ProjectedBalance,  // total projected income minus the total projected cost
    ActualBalance,     // total actual income minus the total actual cost
};

// One cell of the block. Empty texts and zero numbers mean "not set".
struct HeaderCell {
    std::string mergeRange{};  // absolute A1 range that the cell anchors, e.g. "$B$2:$J$4"
    HeaderContent content = HeaderContent::Text;
    std::string text{};
    int incomeBox = 0;  // 0 projected income, 1 projected extra, 2 actual extra, 3 actual
    bool bold = false;
    int fontSize = 0;  // points
    std::string numberFormat{};
    int interiorColor = 0;        // colour index
    int horizontalAlignment = 0;  // object-model constant
};

// Rows 1 to 13 by columns A to J; HeaderGrid()[row - 1][column - 1].
using HeaderGridTable = std::array<std::array<HeaderCell, kHeaderColumns>, kHeaderRows>;

// Made anew at every call, with its words in the language installed then.
HeaderGridTable HeaderGrid();

}  // namespace quill::sheet
