// The picture of a workbook's active sheet that the preview shows.
#pragma once

#include <QImage>
#include <QString>

#include "shell/Prompt.h"
#include "spreadsheet/core/Workbook.h"

namespace quill::bridge {

// Draws the used range of the workbook's active sheet and saves it to `path`, replacing
// any file there: as PNG when the path ends in ".png", else as BMP. Only a used range that
// ends below row 1 and right of column A is drawn; otherwise no file is written. Each step
// reports its failure under "Excel1.saveCellsActivesheet" (the path users know from
// the error-report box) and the next step runs.
void SaveActiveSheetPicture(const spreadsheet::Workbook& workbook, const QString& path,
                            Prompt& prompt);

}  // namespace quill::bridge
