#include "model/SettingsStore.h"

#include <QFileInfo>
#include <QStringList>

#include "shell/Config.h"
#include "shell/Failure.h"
#include "shell/SafeReplace.h"

namespace quill {

namespace {

QString InGroup(const QString& key) {
    return QLatin1String(config::kSettingsSection) + QLatin1Char('/') + key;
}

}  // namespace

SettingsStore::SettingsStore() {
    Open();
    // Parse every section now: the store parses lazily, and a section it cannot parse
    // would otherwise only show up when a write has already replaced it.
    settings_->allKeys();
    switch (settings_->status()) {
        case QSettings::NoError:
            break;
        case QSettings::FormatError:
            // Parts of the file cannot be read; keep it before it is rewritten.
            backupPending_ = true;
            break;
        case QSettings::AccessError:
            readFailed_ = QFileInfo::exists(FilePath());
            backupPending_ = readFailed_;
            break;
    }
    // The status never returns to NoError by itself, so start over with a clean one:
    // write failures must not hide behind a read finding.
    if (settings_->status() != QSettings::NoError) Open();
}

SettingsStore::~SettingsStore() = default;

void SettingsStore::Open() {
    settings_.reset();  // one object per file at a time
    settings_ = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                            QLatin1String(config::kSettingsOrganization));
    // Only the user's own file counts, never a system-wide one of the same name.
    settings_->setFallbacksEnabled(false);
}

QString SettingsStore::FilePath() const {
    return settings_->fileName();
}

QString SettingsStore::GetSetting(const QString& key, const QString& defaultValue) const {
    const QVariant value = settings_->value(InGroup(key));
    if (!value.isValid()) return defaultValue;
    // A hand-edited value with unquoted commas reads as a list; take it as the one text.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

void SettingsStore::SaveSetting(const QString& key, const QString& value) {
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
