#include "shell/CommonServices.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "shell/Config.h"

namespace quill::shell {

namespace {
QString& TitleStorage() {
    static QString title = AppTitleFor(QString::fromLatin1(config::kProductName));
    return title;
}
}  // namespace

bool FileExists(const QString& path) {
    if (path.isEmpty()) return false;
    const QFileInfo info(path);
    return info.exists() && info.lastModified().isValid();
}

void DeleteFileForced(const QString& path) {
    QFile file(path);
    file.setPermissions(file.permissions() | QFileDevice::WriteOwner | QFileDevice::WriteUser);
    file.remove();
}

void DeleteFileQuietly(const QString& path) {
    if (QCoreApplication::instance() != nullptr) QCoreApplication::processEvents();
    if (path.isEmpty()) return;
    const QFileInfo info(path);
    // Only plain files (or links) are deleted; a folder is never removed by this service.
    if (info.isDir() && !info.isSymLink()) return;
    if (QFile::remove(path)) return;
    if (!info.exists() && !info.isSymLink()) return;
    DeleteFileForced(path);
}

QString AppTitleFor(const QString& productName) {
    QString title = productName;
    if (!title.contains(QLatin1Char(' '))) return title;
    do {
        title.truncate(title.lastIndexOf(QLatin1Char(' ')));
    } while (title.size() > 40 && title.contains(QLatin1Char(' ')));
    return title;
}

void SetAppTitle() {
    TitleStorage() = AppTitleFor(QString::fromLatin1(config::kProductName));
}

const QString& AppTitle() {
    return TitleStorage();
}

QString ProgramFolder() {
    if (QCoreApplication::instance() != nullptr) return QCoreApplication::applicationDirPath();
    return QDir::currentPath();
}

QString DataFolderFor(const QString& programFolder) {
    return QDir::cleanPath(programFolder + QLatin1Char('/') +
                           QString::fromUtf8(QUILL_DATA_FROM_PROGRAM));
}

QString OptionalFileFor(const QString& programFolder, const QString& name) {
    const QString beside = programFolder + QLatin1Char('/') + name;
    if (FileExists(beside)) return beside;
    const QString installed = DataFolderFor(programFolder) + QLatin1Char('/') + name;
    return FileExists(installed) ? installed : beside;
}

QString HandCursorFile() {
    return OptionalFileFor(ProgramFolder(), QStringLiteral("HAND-M.CUR"));
}

QString SkinFile() {
    return OptionalFileFor(ProgramFolder(), QStringLiteral("x/o.cjs"));
}

}  // namespace quill::shell
