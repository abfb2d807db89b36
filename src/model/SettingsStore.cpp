#include "model/SettingsStore.h"

#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

#include "shell/Config.h"
#include "shell/Failure.h"
#include "shell/SafeReplace.h"

namespace quill {

namespace {

QString InGroup(const QString& key) {
    return QLatin1String(config::kSettingsSection) + QLatin1Char('/') + key;
}

// The user's settings file: Tarnwick.ini in the configuration folder, where QSettings keeps
// the user-scope INI file of the organization. It is worked out here because constructing
// a QSettings object already opens the file.
QString UserSettingsPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QLatin1Char('/') + QLatin1String(config::kSettingsOrganization) + QStringLiteral(".ini");
}

// What the path names when that is not a regular file ("a named pipe"), following links;
// empty for a regular file and for a path that names nothing.
QString NonRegularKind(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) return {};
    if (S_ISREG(info.st_mode)) return {};
    if (S_ISDIR(info.st_mode)) return QStringLiteral("a folder");
    if (S_ISFIFO(info.st_mode)) return QStringLiteral("a named pipe");
    if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode)) return QStringLiteral("a device");
    if (S_ISSOCK(info.st_mode)) return QStringLiteral("a socket");
    return QStringLiteral("a special file");
}

}  // namespace

SettingsStore::SettingsStore() : path_(UserSettingsPath()) {
    if (const QString kind = NonRegularKind(path_); !kind.isEmpty()) {
        Refuse(kind);
        return;
    }
    Open();
    // Parse every section now: the store parses lazily, and a section it cannot parse
    // would otherwise only show up when a write has already replaced it.
    settings_->allKeys();
    switch (settings_->status()) {
        case QSettings::NoError:
            break;
        case QSettings::FormatError:
            // Parts of the file cannot be read; keep it before it is rewritten.
            readProblem_ = QStringLiteral("parts of the file are not in the settings format");
            backupPending_ = true;
            break;
        case QSettings::AccessError:
            if (QFileInfo::exists(FilePath())) {
                readProblem_ = QStringLiteral("the file cannot be read");
                backupPending_ = true;
            }
            break;
    }
    // The status never returns to NoError by itself, so start over with a clean one:
    // write failures must not hide behind a read finding.
    if (settings_->status() != QSettings::NoError) Open();
}

SettingsStore::~SettingsStore() = default;

void SettingsStore::Open() {
    settings_.reset();  // one object per file at a time
    settings_ = std::make_unique<QSettings>(path_, QSettings::IniFormat);
    // Only the user's own file counts, never a system-wide one of the same name.
    settings_->setFallbacksEnabled(false);
}

void SettingsStore::Refuse(const QString& kind) {
    refused_ = true;
    readProblem_ = QStringLiteral("the path is %1, not a regular file").arg(kind);
    backupPending_ = false;  // there is no stored file to keep
}

QString SettingsStore::GetSetting(const QString& key, const QString& defaultValue) const {
    if (!settings_) return defaultValue;
    const QVariant value = settings_->value(InGroup(key));
    if (!value.isValid()) return defaultValue;
    // A hand-edited value with unquoted commas reads as a list; take it as the one text.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

void SettingsStore::SaveSetting(const QString& key, const QString& value) {
    if (refused_) return;
    // Something put in the file's place since it was read is left alone as well.
    if (const QString kind = NonRegularKind(path_); !kind.isEmpty()) {
        Refuse(kind);
        throw Failure(
            QStringLiteral("The settings could not be saved to %1: %2.").arg(path_, readProblem_));
    }
    // Before anything can reach the file, not only before the next sync: the store may
    // also write on its own while the event loop runs.
    const QString backupProblem = KeepBackup();
    if (settings_->status() != QSettings::NoError) Open();  // a fresh status for this write
    settings_->setValue(InGroup(key), value);
    try {
        if (!batching_) Sync(QStringLiteral("The setting \"%1\"").arg(key));
    } catch (const Failure& failure) {
        if (backupProblem.isEmpty()) throw;
        throw Failure(backupProblem + QLatin1Char(' ') + QString::fromUtf8(failure.what()));
    }
    // The value is on its way; the backup problem is still reported, once.
    if (!backupProblem.isEmpty()) throw Failure(backupProblem);
}

void SettingsStore::CommitBatch() {
    batching_ = false;
    if (refused_) return;
    Sync(QStringLiteral("The settings"));
}

QString SettingsStore::KeepBackup() {
    if (!backupPending_) return {};
    backupPending_ = false;  // tried once; a problem is reported once
    const QString file = FilePath();
    if (!QFileInfo(file).isFile()) return {};  // nothing stored to keep
    // The newest unreadable file is the one kept, and no more readable than it was.
    try {
        SafeReplace::CopyFile(file, BackupPath(), SafeReplace::Privacy::TargetAndSource);
        return {};
    } catch (const Failure& failure) {
        return QStringLiteral(
                   "The unreadable settings file %1 could not be kept as %2 (%3); "
                   "it is overwritten now.")
            .arg(file, BackupPath(), QString::fromUtf8(failure.what()));
    }
}

void SettingsStore::Sync(const QString& what) {
    const auto failure = [&](const QString& reason) {
        return Failure(
            QStringLiteral("%1 could not be saved to %2: %3.").arg(what, FilePath(), reason));
    };
    if (!settings_->isWritable()) throw failure(QStringLiteral("the file is not writable"));
    settings_->sync();
    switch (settings_->status()) {
        case QSettings::NoError:
            return;
        case QSettings::AccessError:
            throw failure(QStringLiteral("the file could not be written"));
        case QSettings::FormatError:
            throw failure(QStringLiteral("the file was changed meanwhile and cannot be read"));
    }
}

}  // namespace quill
