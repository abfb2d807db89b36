// The BIFF8 workbook stream alone, without its compound-file container: the part of the
// .xls file that holds the workbook. SaveXls and LoadXls wrap these; tests use them to look
// at the records and to feed the reader damaged streams.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "spreadsheet/core/Workbook.h"

namespace quill::spreadsheet::xls {

// The records of the workbook: the globals (palette, fonts, number formats, cell formats,
// sheets, print areas, shared texts), then one substream per sheet. Formulas are written
// with the values in Cell::cached, which the caller computes beforehand (Recalculate);
// every formula is marked to be recalculated when a program opens the file.
// Throws EngineError when the workbook cannot be written (a formula that has no token
// form, a text longer than a cell can hold, too many formats).
std::vector<std::uint8_t> WriteWorkbookStream(const Workbook& workbook);
// The same records handed to `sink` a piece at a time as they are made, so that a large
// workbook's stream never lies in memory whole. The pieces joined are the bytes above.
void WriteWorkbookStream(const Workbook& workbook,
                         const std::function<void(std::span<const std::uint8_t>)>& sink);

// Reads a workbook stream. Throws EngineError for anything that is not a readable BIFF8
// workbook; every length and index is checked, and the work and memory are bounded by the
// size of the stream and by the limits below.
Workbook ReadWorkbookStream(std::span<const std::uint8_t> stream);

// Limits of the reader, well above anything the engine writes.
inline constexpr std::size_t kMaxSheets = 1024;
inline constexpr std::size_t kMaxCells = 1'000'000;      // in all sheets
inline constexpr std::size_t kMaxTextBytes = 64u << 20;  // cell texts, in all sheets
inline constexpr std::size_t kMaxMergesPerSheet = 8192;

}  // namespace quill::spreadsheet::xls
