// The .xlsx file (Office Open XML spreadsheet), written through libxlsxwriter.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "spreadsheet/core/Workbook.h"

namespace quill::spreadsheet::xlsx {

// Writes the workbook as an .xlsx file: every cell's value, formulas in A1 notation with
// the values in Cell::cached as their results (the caller computes them first), fonts,
// fills in the palette's colours, number formats, alignment and wrapping, borders, merged
// areas, column widths and row heights, the sheet-wide default format, the print area and
// page set-up, the selection and the sheet names. Palette colours are written as the RGB
// values they stand for, so the file shows the same colours in any program.
//
// The file is assembled in a private folder made inside `workFolder` (the system's temporary
// folder when empty) and removed again, since libxlsxwriter writes to files only; the bytes
// are returned. A caller with a temporary folder of its own passes it, so that whatever
// removes that folder removes this one too. Throws EngineError.
std::vector<std::uint8_t> WriteXlsx(const Workbook& workbook,
                                    const std::filesystem::path& workFolder = {});

}  // namespace quill::spreadsheet::xlsx

// The .xlsx file, named from the engine's root as the rest of the engine does.
namespace quill::spreadsheet {
using xlsx::WriteXlsx;
}  // namespace quill::spreadsheet
