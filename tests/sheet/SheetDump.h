// A readable text picture of a worksheet for golden-file comparison: sizes, merged areas,
// print area and page set-up, the selection, and every cell with a content or a format of
// its own (formula in R1C1, number or quoted text, and how its format differs from the
// sheet's default format).
#pragma once

#include <string>

#include "spreadsheet/core/Workbook.h"

namespace quill::test {

std::string DumpSheet(const spreadsheet::Workbook& book, const spreadsheet::Worksheet& sheet);

}  // namespace quill::test
