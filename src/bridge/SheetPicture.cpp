#include "bridge/SheetPicture.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

#include <QFile>
#include <QImage>
#include <QTemporaryFile>

#include "bridge/PictureFile.h"
#include "shell/ErrorTrap.h"
#include "shell/Failure.h"
#include "spreadsheet/render/SheetRenderer.h"

namespace quill::Excel1 {

namespace {

void SavePicture(const QImage& picture, const QString& path) {
    if (picture.isNull()) throw Failure("Invalid picture");
    // Written beside the target and renamed over it, so a failure leaves no partial file.
    // As with the workbook, the bytes are not forced to the disk: the picture lives only
    // until the preview has read it, and waiting for the disk was most of its cost.
    QTemporaryFile file(path + QStringLiteral(".XXXXXX"));
    if (!file.open()) throw Failure("Path/File access error: " + path + ": " + file.errorString());
    if (!WritePicture(picture, path, file) || !file.flush())
        throw Failure("Cannot write the picture to " + path);
    if (std::rename(QFile::encodeName(file.fileName()).constData(),
                    QFile::encodeName(path).constData()) != 0)
        throw Failure("Path/File access error: " + path + ": " +
                      QString::fromLocal8Bit(std::strerror(errno)));
    file.setAutoRemove(false);
}

}  // namespace

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
    trace.Step([&] { SavePicture(picture, path); });
}

}  // namespace quill::Excel1
