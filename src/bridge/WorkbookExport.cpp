#include "bridge/WorkbookExport.h"

#include <exception>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include "shell/Failure.h"
#include "spreadsheet/render/SheetPages.h"
#include "spreadsheet/xls/XlsFile.h"
#include "spreadsheet/xlsx/XlsxFile.h"

namespace quill::bridge {

SaveFormat FormatOfFileName(const QString& path) {
    if (path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive)) return SaveFormat::Xlsx;
    if (path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) return SaveFormat::Pdf;
    return SaveFormat::Xls;
}

std::optional<SaveFormat> ParseFormatName(const QString& name) {
    const QString lower = name.toLower();
    if (lower == QLatin1String("xls")) return SaveFormat::Xls;
    if (lower == QLatin1String("xlsx")) return SaveFormat::Xlsx;
    if (lower == QLatin1String("pdf")) return SaveFormat::Pdf;
    return std::nullopt;
}

QByteArray ExportWorkbook(const QString& xlsPath, SaveFormat format) {
    if (format == SaveFormat::Xls) {
        QFile in(xlsPath);
        if (!in.open(QIODevice::ReadOnly))
            throw Failure(
                QCoreApplication::translate("quill::bridge::Messages", "Cannot read %1: %2")
                    .arg(xlsPath, in.errorString()));
        QByteArray bytes = in.readAll();
        if (in.error() != QFileDevice::NoError)
            throw Failure(
                QCoreApplication::translate("quill::bridge::Messages", "Cannot read %1: %2")
                    .arg(xlsPath, in.errorString()));
        return bytes;
    }
    try {
        const spreadsheet::Workbook book = spreadsheet::LoadXls(xlsPath.toStdString());
        if (format == SaveFormat::Pdf) return spreadsheet::WritePdf(book);
        // Assembled beside the workbook, in the run's own temporary folder.
        const std::vector<std::uint8_t> bytes = spreadsheet::WriteXlsx(
            book, QFile::encodeName(QFileInfo(xlsPath).absolutePath()).toStdString());
        return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                          static_cast<qsizetype>(bytes.size()));
    } catch (const std::exception& e) {
        throw Failure(e.what());
    }
}

}  // namespace quill::bridge
