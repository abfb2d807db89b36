#include "bridge/SheetPicture.h"

#include <optional>

#include <QCoreApplication>

#include "bridge/PictureFile.h"
#include "shell/ErrorTrap.h"
#include "shell/Failure.h"

namespace quill::bridge {

void SaveActiveSheetPicture(const spreadsheet::Workbook& workbook, const QString& path,
                            Prompt& prompt) {
    Trace trace(prompt, QStringLiteral("Excel1.saveCellsActivesheet"));
    const spreadsheet::Worksheet* sheet = nullptr;
    std::optional<spreadsheet::RangeRef> used;
    int lastRow = 0;
    int lastColumn = 0;

    trace.Step(100, [&] {
        const auto& sheets = workbook.Sheets();
        if (workbook.activeSheet < 0 || workbook.activeSheet >= static_cast<int>(sheets.size()))
            throw Failure(QCoreApplication::translate(
                "quill::bridge::Messages",
                "Object variable not set: the workbook has no active sheet"));
        sheet = sheets[static_cast<std::size_t>(workbook.activeSheet)].get();
        used = sheet->UsedRange();
    });
    trace.Step(102, [&] {
        if (sheet == nullptr)
            throw Failure(
                QCoreApplication::translate("quill::bridge::Messages", "Object variable not set"));
        lastRow = used ? used->last.row + 1 : 1;
    });
    trace.Step(104, [&] {
        if (sheet == nullptr)
            throw Failure(
                QCoreApplication::translate("quill::bridge::Messages", "Object variable not set"));
        lastColumn = used ? used->last.col + 1 : 1;
    });
    if (!(lastRow > 1 && lastColumn > 1)) return;
    trace.Step(106, [&] { SaveSheetPicture(workbook, *sheet, *used, path); });
}

}  // namespace quill::bridge
