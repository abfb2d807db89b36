#include "model/SettingsStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QStringList>

#include "shell/Config.h"
#include "shell/Failure.h"
#include "shell/SafeReplace.h"
#include "shell/TempFolder.h"

namespace quill {

namespace {

QString InGroup(const QString& key) {
    return QLatin1String(config::kSettingsSection) + QLatin1Char('/') + key;
}

// What the path names when that is not a regular file ("a named pipe"), following links;
// empty for a regular file and for a path that names nothing.
QString NonRegularKind(const QString& path) {
    struct stat info {};
    if (::stat(SafeReplace::EncodeName(path).constData(), &info) != 0) return {};
    if (S_ISREG(info.st_mode)) return {};
    if (S_ISDIR(info.st_mode))
        return QCoreApplication::translate("quill::SettingsStore", "a folder");
    if (S_ISFIFO(info.st_mode))
        return QCoreApplication::translate("quill::SettingsStore", "a named pipe");
    if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode))
        return QCoreApplication::translate("quill::SettingsStore", "a device");
    if (S_ISSOCK(info.st_mode))
        return QCoreApplication::translate("quill::SettingsStore", "a socket");
    return QCoreApplication::translate("quill::SettingsStore", "a special file");
}

// How long a write waits for another program that holds the lock file. QSettings itself
// would wait forever.
constexpr int kLockWaitMs = 1500;

FileFailure SaveFailure(const QString& what, const QString& path, const QString& reason) {
    return FileFailure(
        QCoreApplication::translate("quill::SettingsStore", "%1 could not be saved to %2: %3.")
            .arg(what, path, reason));
}

// True when the existing file at `path` may not be written: it has no write permission at
// all (marked read-only on purpose, which counts for the administrator too), or none for us.
bool ReadOnlyFile(const QString& path) {
    const QByteArray native = SafeReplace::EncodeName(path);
    struct stat info {};
    if (::stat(native.constData(), &info) != 0) return false;
    return (info.st_mode & 0222) == 0 ||
           ::faccessat(AT_FDCWD, native.constData(), W_OK, AT_EACCESS) != 0;
}

QString LockProblem(const QString& lockPath, QLockFile::LockError error) {
    switch (error) {
        case QLockFile::LockFailedError:
            return QCoreApplication::translate(
                       "quill::SettingsStore",
                       "another program is writing it (it holds the lock file %1)")
                .arg(lockPath);
        case QLockFile::PermissionError:
            return QCoreApplication::translate(
                       "quill::SettingsStore",
                       "the lock file %1 cannot be made there (no permission)")
                .arg(lockPath);
        default:
            return QCoreApplication::translate("quill::SettingsStore",
                                               "the lock file %1 cannot be made there")
                .arg(lockPath);
    }
}

// Every key of the file (with its group) and its value, as QSettings reads them.
QMap<QString, QVariant> AllValues(QSettings& settings) {
    QMap<QString, QVariant> values;
    const QStringList keys = settings.allKeys();
    for (const QString& key : keys) values.insert(key, settings.value(key));
    return values;
}

}  // namespace

// The configuration folder is where QSettings keeps the user-scope INI file of the
// organization; the path is worked out here because constructing a QSettings object
// already opens the file.
QString SettingsStore::UserFilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QLatin1Char('/') + QLatin1String(config::kSettingsOrganization) + QStringLiteral(".ini");
}

SettingsStore::SettingsStore() : path_(UserFilePath()) {
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
            readProblem_ = QCoreApplication::translate(
                "quill::SettingsStore", "parts of the file are not in the settings format");
            backupPending_ = true;
            break;
        case QSettings::AccessError:
            if (QFileInfo::exists(FilePath())) {
                readProblem_ =
                    QCoreApplication::translate("quill::SettingsStore", "the file cannot be read");
                backupPending_ = true;
            }
            break;
    }
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
    readProblem_ =
        QCoreApplication::translate("quill::SettingsStore", "the path is %1, not a regular file")
            .arg(kind);
    backupPending_ = false;  // there is no stored file to keep
}

QString SettingsStore::GetSetting(const QString& key, const QString& defaultValue) const {
    if (const auto stored = stored_.constFind(InGroup(key)); stored != stored_.cend())
        return *stored;
    if (!settings_ || removed_.contains(InGroup(key))) return defaultValue;
    const QVariant value = settings_->value(InGroup(key));
    if (!value.isValid()) return defaultValue;
    // A hand-edited value with unquoted commas reads as a list; take it as the one text.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

bool SettingsStore::HasSetting(const QString& key) const {
    const QString inGroup = InGroup(key);
    if (stored_.contains(inGroup)) return true;
    return settings_ && !removed_.contains(inGroup) && settings_->contains(inGroup);
}

void SettingsStore::SaveSetting(const QString& key, const QString& value) {
    Change(key, [&] {
        removed_.remove(InGroup(key));
        stored_.insert(InGroup(key), value);
    });
}

void SettingsStore::RemoveSetting(const QString& key) {
    if (!HasSetting(key)) return;
    Change(key, [&] {
        stored_.remove(InGroup(key));
        removed_.insert(InGroup(key));
    });
}

void SettingsStore::Change(const QString& key, const std::function<void()>& change) {
    if (refused_) return;
    // Something put in the file's place since it was read is left alone as well.
    if (const QString kind = NonRegularKind(path_); !kind.isEmpty()) {
        Refuse(kind);
        throw FileFailure(QCoreApplication::translate("quill::SettingsStore",
                                                      "The settings could not be saved to %1: %2.")
                              .arg(path_, readProblem_));
    }
    // Kept with the first value, before anything can reach the file.
    const QString backupProblem = KeepBackup();
    change();
    unsaved_ = true;
    try {
        if (!batching_)
            Sync(
                QCoreApplication::translate("quill::SettingsStore", "The setting \"%1\"").arg(key));
    } catch (const Failure& failure) {
        if (backupProblem.isEmpty()) throw;
        throw FileFailure(backupProblem + QLatin1Char(' ') + QString::fromUtf8(failure.what()));
    }
    // The value is on its way; the backup problem is still reported, once.
    if (!backupProblem.isEmpty()) throw FileFailure(backupProblem);
}

void SettingsStore::CommitBatch() {
    batching_ = false;
    if (refused_) return;
    Sync(QCoreApplication::translate("quill::SettingsStore", "The settings"));
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
        return QCoreApplication::translate(
                   "quill::SettingsStore",
                   "The unreadable settings file %1 could not be kept as %2 (%3); "
                   "it is overwritten now.")
            .arg(file, BackupPath(), QString::fromUtf8(failure.what()));
    }
}

void SettingsStore::Sync(const QString& what) {
    if (!unsaved_) return;
    const auto failure = [&](const QString& reason) { return SaveFailure(what, path_, reason); };
    // Something put in the file's place since it was read is left alone.
    if (const QString kind = NonRegularKind(path_); !kind.isEmpty()) {
        Refuse(kind);
        throw failure(readProblem_);
    }
    // Opening a named pipe as the lock file would wait for a writer forever, and a folder
    // there would be retried forever: neither is ever opened.
    if (const QString kind = NonRegularKind(LockPath()); !kind.isEmpty()) {
        throw failure(QCoreApplication::translate(
                          "quill::SettingsStore",
                          "its lock file %1 is %2, not a regular file; remove it so that the "
                          "settings can be saved")
                          .arg(LockPath(), kind));
    }
    // The first write makes the configuration folder, as QSettings would.
    QDir().mkpath(QFileInfo(path_).absolutePath());
    QLockFile lock(LockPath());
    if (!lock.tryLock(kLockWaitMs)) throw failure(LockProblem(LockPath(), lock.error()));
    if (ReadOnlyFile(path_))
        throw failure(
            QCoreApplication::translate("quill::SettingsStore", "the file is not writable"));

    const QByteArray bytes = UpdatedFileBytes(what);
    try {
        SafeReplace::WriteFile(path_, bytes);
    } catch (const FileFailure& written) {
        // "Cannot write <file>: No space left on device" says the file once already.
        QString reason = QString::fromUtf8(written.what());
        // The same words as SafeReplace's, in the same language: its text up to the reason.
        const QString prefix =
            QCoreApplication::translate("quill::SafeReplace", "Cannot write %1: %2")
                .arg(path_, QString());
        if (reason.startsWith(prefix)) reason = reason.mid(prefix.size());
        throw failure(reason + QCoreApplication::translate("quill::SettingsStore",
                                                           "; the file was left as it was"));
    }
    unsaved_ = false;
}

QByteArray SettingsStore::UpdatedFileBytes(const QString& what) const {
    const auto failure = [&](const QString& reason) { return SaveFailure(what, path_, reason); };
    // The file as it is now, which another run may have written since this one read it:
    // its other keys and groups stay as they are.
    QMap<QString, QVariant> values;
    if (QFileInfo::exists(path_)) {
        QSettings current(path_, QSettings::IniFormat);
        current.setFallbacksEnabled(false);
        values = AllValues(current);
        if (current.status() == QSettings::AccessError)
            throw failure(
                QCoreApplication::translate("quill::SettingsStore", "the file cannot be read"));
        // Unparsable parts found at the start were kept as the backup; new ones are not
        // overwritten unseen.
        if (current.status() == QSettings::FormatError && readProblem_.isEmpty())
            throw failure(QCoreApplication::translate(
                "quill::SettingsStore", "the file was changed meanwhile and cannot be read"));
    }
    for (auto it = stored_.cbegin(); it != stored_.cend(); ++it)
        values.insert(it.key(), it.value());
    for (const QString& key : removed_) values.remove(key);

    // QSettings writes the copy, so the text is exactly the settings format; it may put a
    // copy that it could not write in full in place and report no error (a full disk, a
    // file size limit), so the copy counts only once it reads back value for value.
    const QString incomplete =
        QCoreApplication::translate(
            "quill::SettingsStore",
            "its new contents could not be written in full to a private copy in "
            "the temporary folder %1; the file was left as it was")
            .arg(QDir::tempPath());
    // A per-run folder of its own, marked like every other, so a run killed in the middle
    // leaves nothing that the next start does not remove.
    TempFolder scratch;
    QString folder;
    try {
        folder = scratch.Path();
    } catch (const Failure&) {
        throw failure(incomplete);
    }
    const QString copy = folder + QLatin1Char('/') + QFileInfo(path_).fileName();
    {
        QSettings writer(copy, QSettings::IniFormat);
        writer.setFallbacksEnabled(false);
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            writer.setValue(it.key(), it.value());
        writer.sync();
        if (writer.status() != QSettings::NoError) throw failure(incomplete);
    }
    // Read back under a second name: QSettings keeps what it last wrote of a file in a
    // cache by name, and would answer from there instead of from the disk.
    const QString check = folder + QStringLiteral("/check.ini");
    if (::link(SafeReplace::EncodeName(copy).constData(),
               SafeReplace::EncodeName(check).constData()) != 0)
        throw failure(incomplete);
    {
        QSettings reader(check, QSettings::IniFormat);
        reader.setFallbacksEnabled(false);
        if (AllValues(reader) != values || reader.status() != QSettings::NoError)
            throw failure(incomplete);
    }
    QFile file(check);
    if (!file.open(QIODevice::ReadOnly)) throw failure(incomplete);
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) throw failure(incomplete);
    return bytes;
}

}  // namespace quill
