// The per-user settings store: named text values in the file Tarnwick.ini of the user's
// configuration folder ($XDG_CONFIG_HOME, by default ~/.config), group [Quillmere].
//
// Keys are written as given; the file escapes blanks in keys ("System%20Value%20-%20Rows"),
// and hand-written keys with plain blanks read back the same.
//
// A stored file that cannot be read in full is never overwritten unseen: before the first
// write after such a finding, the file is copied beside itself as Tarnwick.ini.bak. The
// finding comes from the store itself (lines it cannot parse, a file it cannot read) or
// from the reader of the values (KeepBackupBeforeNextSave).
#pragma once

#include <memory>

#include <QSettings>
#include <QString>

namespace quill {

class SettingsStore {
  public:
    SettingsStore();
    virtual ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // The stored text of `key`, or `defaultValue` when the key is absent.
    virtual QString GetSetting(const QString& key, const QString& defaultValue = {}) const;

    // Stores `value` under `key`. Outside a batch the file is written at once; inside a
    // batch the value waits for CommitBatch. Throws quill::Failure when the value could not
    // be written, or when the pending backup could not be made (reported once).
    virtual void SaveSetting(const QString& key, const QString& value);

    // Collects the following writes into one update of the file, made by CommitBatch,
    // which throws quill::Failure when the file could not be written. Every file update is
    // flushed to the disk, so many single writes would make closing slow.
    void BeginBatch() { batching_ = true; }
    void CommitBatch();

    // True when the file exists but could not be read at all.
    bool ReadFailed() const { return readFailed_; }

    // Asks for the current file to be kept as the backup before the next write.
    void KeepBackupBeforeNextSave() { backupPending_ = true; }
    bool BackupPending() const { return backupPending_; }

    QString FilePath() const;
    QString BackupPath() const { return FilePath() + QStringLiteral(".bak"); }

  private:
    void Open();
    QString KeepBackup();  // returns the problem, empty on success
    void Sync(const QString& what);

    std::unique_ptr<QSettings> settings_;
    bool readFailed_ = false;
    bool backupPending_ = false;
    bool batching_ = false;
};

}  // namespace quill
