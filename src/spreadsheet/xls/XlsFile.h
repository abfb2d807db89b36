// The .xls file: a BIFF8 workbook stream inside an OLE2 compound file.
#pragma once

#include <string>

#include "spreadsheet/core/Workbook.h"

namespace quill::spreadsheet::xls {

// Writes the workbook as a BIFF8 .xls file. The file is written to a temporary name in the
// target folder and renamed into place, so a failure never leaves a partial file. The same
// workbook always gives the same bytes. Throws EngineError.
//
// Formulas are saved with the values in Cell::cached as their results: the caller computes
// them first (Recalculate), as SaveAs does. The file also tells programs to recalculate
// every formula when they open it.
void SaveXls(const Workbook& workbook, const std::string& path);

// Reads a BIFF8 .xls file into a workbook (cells, formulas with their values, formats,
// sizes, merges, palette, print set-up, view). Any other or damaged file throws
// EngineError; reading is bounded in time and memory. A file written by SaveXls reads back
// into a workbook that SaveXls writes to the same bytes.
Workbook LoadXls(const std::string& path);

}  // namespace quill::spreadsheet::xls

// The engine's file, named from its root as the rest of the engine does.
namespace quill::spreadsheet {
using xls::LoadXls;
using xls::SaveXls;
}  // namespace quill::spreadsheet
