// The program's shared editing state: the category table and what goes with it.
#pragma once

#include <array>
#include <cstdint>

#include <QString>

#include "model/CategoryTable.h"
#include "spreadsheet/core/Palette.h"

namespace quill {

// The texts of the four income boxes: 0 projected income, 1 projected extra income,
// 2 actual extra income, 3 actual income.
using IncomeTexts = std::array<QString, 4>;

// The workbook's colours 1 to 56, the engine's palette type (a plain array, no engine code).
using spreadsheet::Palette;

struct AppState {
    quill::CategoryTable CategoryTable;
    QString SelectedRowText;  // RowText of the row selected in the tree
    QString NewRowName;       // the name typed in the row-name dialog
    quill::Palette WorkbookPalette{};
};

}  // namespace quill
