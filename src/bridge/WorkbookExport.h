// The file formats a saved workbook can be handed over in: the .xls file itself, an .xlsx
// workbook with the same cells, formats and page set-up, or the printed pages as PDF.
#pragma once

#include <optional>

#include <QByteArray>
#include <QString>

namespace quill::bridge {

enum class SaveFormat { Xls, Xlsx, Pdf };

// The format a file name asks for by its ending (".xlsx", ".pdf", in any case); every
// other name, one without an ending included, is an .xls file.
SaveFormat FormatOfFileName(const QString& path);

// "xls", "xlsx" or "pdf" (in any case); none for anything else.
std::optional<SaveFormat> ParseFormatName(const QString& name);

// The bytes of the workbook saved at `xlsPath` in `format`: the file's own bytes for .xls;
// for .xlsx and PDF the file is read back and written out again by the engine, with the
// formula results it holds. Throws quill::Failure naming the file.
QByteArray ExportWorkbook(const QString& xlsPath, SaveFormat format);

}  // namespace quill::bridge
