#include "bridge/SheetPicture.h"

#include <optional>

#include <QBuffer>
#include <QImage>

#include "shell/ErrorTrap.h"
#include "shell/Failure.h"
#include "shell/SafeReplace.h"
#include "spreadsheet/render/SheetRenderer.h"

namespace quill::Excel1 {

QByteArray PictureFileBytes(const QImage& picture, const QString& path) {
    if (picture.isNull()) throw Failure("Invalid picture");
    const char* format = path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive) ? "PNG" : "BMP";
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, format)) throw Failure("Cannot encode the picture for " + path);
    return bytes;
}

void saveCellsActivesheet(const spreadsheet::Workbook& workbook, const QString& path,
                          Prompt& prompt) {
    Trace trace(prompt, QStringLiteral("Excel1.saveCellsActivesheet"));
    const spreadsheet::Worksheet* sheet = nullptr;
    std::optional<spreadsheet::RangeRef> used;
    int lastRow = 0;
    int lastColumn = 0;
    QImage picture;

    trace.Step([&] {
        const auto& sheets = workbook.Sheets();
        if (workbook.activeSheet < 0 || workbook.activeSheet >= static_cast<int>(sheets.size()))
            throw Failure("Object variable not set: the workbook has no active sheet");
        sheet = sheets[static_cast<std::size_t>(workbook.activeSheet)].get();
        used = sheet->UsedRange();
    });
    trace.Step([&] {
        if (sheet == nullptr) throw Failure("Object variable not set");
        lastRow = used ? used->last.row + 1 : 1;
    });
    trace.Step([&] {
        if (sheet == nullptr) throw Failure("Object variable not set");
        lastColumn = used ? used->last.col + 1 : 1;
    });
    if (!(lastRow > 1 && lastColumn > 1)) return;
    trace.Step([&] { picture = spreadsheet::RenderRange(workbook, *sheet, *used); });
    // Written beside the target and renamed over it, so a failure leaves no partial file.
    trace.Step([&] { SafeReplace::WriteFile(path, PictureFileBytes(picture, path)); });
}

}  // namespace quill::Excel1
