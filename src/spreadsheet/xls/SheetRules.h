// The records of a worksheet that guard its cells: the sheet protection (PROTECT,
// SCENPROTECT, OBJPROTECT, PASSWORD), conditional formats (CONDFMT with its CF records) and
// data validations (DVAL with its DV records).
//
// Only what the model holds is written and read: a conditional format that compares the
// cell's value with numbers and changes the font colour and the solid fill, and a
// validation of whole or decimal numbers against numbers. Rules of other kinds in a file
// (formulas, lists, dates, borders, ...) are left out when it is read.
#pragma once

#include <optional>
#include <vector>

#include "spreadsheet/core/Workbook.h"
#include "spreadsheet/xls/XlsBiff.h"

namespace quill::spreadsheet::xls {

// Writing, in the places the worksheet substream has for them: the protection after the
// page set-up, the conditional formats and then the validations after the merged areas.
// Throws EngineError for what the file cannot hold (an area off the sheet, a text too long).
void WriteProtection(RecordWriter& w, const Worksheet& sheet);
void WriteConditionalFormats(RecordWriter& w, const Worksheet& sheet);
void WriteValidations(RecordWriter& w, const Worksheet& sheet);

// Reading. A CONDFMT record gives the areas of the CF records that follow it; a CF or DV
// record the model cannot hold gives none. A damaged record throws EngineError.
struct CondFmtHeader {
    std::vector<RangeRef> areas;
    std::size_t rules = 0;  // CF records that follow
};
CondFmtHeader ReadCondFmt(const Record& r);
std::optional<ConditionalFormat> ReadCf(const Record& r, const std::vector<RangeRef>& areas);
std::optional<DataValidation> ReadDv(const Record& r);

}  // namespace quill::spreadsheet::xls
