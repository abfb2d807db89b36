#include "shell/TempFolder.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "shell/Failure.h"

namespace quill {

namespace {

const QString kSystemFolder = QStringLiteral("/tmp");

// The TMPDIR that RepairEnvironment replaced, for the messages.
QString& ReplacedSetting() {
    static QString value;
    return value;
}

// $TMPDIR when it is set but names no folder.
QString UnusableSetting() {
    const QString chosen = qEnvironmentVariable("TMPDIR");
    if (!chosen.isEmpty() && !QFileInfo(chosen).isDir()) return chosen;
    return ReplacedSetting();
}

}  // namespace

void TempFolder::RepairEnvironment() {
    const QString chosen = qEnvironmentVariable("TMPDIR");
    if (chosen.isEmpty() || QFileInfo(chosen).isDir()) return;
    ReplacedSetting() = chosen;
    qputenv("TMPDIR", QFile::encodeName(kSystemFolder));
}

TempFolder::TempFolder() = default;
TempFolder::~TempFolder() = default;

QStringList TempFolder::BaseFolders() {
    QStringList folders;
    const QString chosen = qEnvironmentVariable("TMPDIR");
    if (!chosen.isEmpty() && QFileInfo(chosen).isDir()) folders << chosen;
    if (!folders.contains(kSystemFolder)) folders << kSystemFolder;
    return folders;
}

QString TempFolder::Path() {
    if (dir_) return dir_->path();
    QStringList problems;
    for (const QString& base : BaseFolders()) {
        auto dir = std::make_unique<QTemporaryDir>(base + QStringLiteral("/quillmere-XXXXXX"));
        if (dir->isValid()) {
            dir_ = std::move(dir);
            return dir_->path();
        }
        problems << QStringLiteral("in %1: %2").arg(base, dir->errorString());
    }
    QString text = QStringLiteral("Cannot create a temporary folder ") + problems.join(u"; ");
    if (const QString unusable = UnusableSetting(); !unusable.isEmpty())
        text += QStringLiteral(" (TMPDIR names %1, which is not a folder)").arg(unusable);
    throw Failure(text + QStringLiteral(". Set TMPDIR to a folder you can write to."));
}

}  // namespace quill
