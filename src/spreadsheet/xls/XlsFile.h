// The .xls file: a BIFF8 workbook stream inside an OLE2 compound file.
#pragma once

#include <string>

#include "spreadsheet/core/Workbook.h"

namespace quill::spreadsheet::xls {

// Writes the workbook as a BIFF8 .xls file. The file is written to a temporary name in the
// target folder and renamed into place, so a failure never leaves a partial file. Beside the
// workbook stream the file carries the summary properties: Workbook::title, the application
// name "Quillmere" and the creation and save times, both taken from SOURCE_DATE_EPOCH when
// it is set and from the clock otherwise. With SOURCE_DATE_EPOCH set the same workbook
// always gives the same bytes. Throws EngineError.
//
// Formulas are saved with the values in Cell::cached as their results: the caller computes
// them first (Recalculate), as SaveAs does. The file also tells programs to recalculate
// every formula when they open it.
void SaveXls(const Workbook& workbook, const std::string& path);

// Reads a BIFF8 .xls file into a workbook (cells, formulas with their values, formats,
// sizes, merges, palette, print set-up, view, and the title when the file has summary
// properties; a file without them reads as well). Any other or damaged file throws
// EngineError; reading is bounded in time and memory. A file written by SaveXls reads back
// into a workbook that SaveXls writes to the same bytes (given the same times).
Workbook LoadXls(const std::string& path);

}  // namespace quill::spreadsheet::xls

// The engine's file, named from its root as the rest of the engine does.
namespace quill::spreadsheet {
using xls::LoadXls;
using xls::SaveXls;
}  // namespace quill::spreadsheet
