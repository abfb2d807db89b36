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
//
// A path that names anything but a regular file (a folder, a named pipe, a device, a
// socket) is never opened, since opening a named pipe would wait for a writer forever:
// the store then reads nothing, so every value takes its default, and writes nothing.
//
// Writing never lets the file be half written. The values go first into a private copy
// of the whole file (the file as it is now, with this run's values over it), written in
// the INI format by QSettings in a private temporary folder; the copy is read back and
// compared value for value, and only then put in place of the file by SafeReplace. On any
// failure the file stays as it was, byte for byte, and the write throws once. Other
// writers of the file are kept out by the lock file Tarnwick.ini.lock, which QSettings
// uses as well; a lock path that is not a regular file is never opened either: the write
// is refused at once instead of waiting for it.
#pragma once

#include <functional>
#include <memory>

#include <QMap>
#include <QSet>
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
    // batch the value waits for CommitBatch. Throws quill::FileFailure when the value could
    // not be written (the file is then as it was; the value is kept in memory and written
    // with the next write), or when the pending backup could not be made (reported once). Does
    // nothing once the path has been found not to be a regular file; finding that here
    // throws once.
    virtual void SaveSetting(const QString& key, const QString& value);

    // Whether `key` has a value, stored or saved in this run.
    bool HasSetting(const QString& key) const;

    // Removes `key` from the file, written as SaveSetting writes; nothing happens when the key
    // has no value, so a file without it stays as it is.
    void RemoveSetting(const QString& key);

    // Collects the following writes into one update of the file, made by CommitBatch,
    // which throws quill::FileFailure when the file could not be written. Every file update
    // is flushed to the disk, so many single writes would make closing slow.
    void BeginBatch() { batching_ = true; }
    void CommitBatch();

    // Why the stored file cannot be used as a whole, empty when it can or does not exist:
    // it is not a regular file, it cannot be read, or parts of it cannot be parsed.
    const QString& ReadProblem() const { return readProblem_; }

    // True when the path is not a regular file: nothing is read from it or written to it.
    bool Refused() const { return refused_; }

    // Asks for the current file to be kept as the backup before the next write.
    void KeepBackupBeforeNextSave() { backupPending_ = true; }
    bool BackupPending() const { return backupPending_; }

    // The user's settings file, Tarnwick.ini in the configuration folder, without opening it.
    static QString UserFilePath();

    QString FilePath() const { return path_; }
    QString BackupPath() const { return FilePath() + QStringLiteral(".bak"); }
    QString LockPath() const { return FilePath() + QStringLiteral(".lock"); }

  private:
    void Open();
    void Refuse(const QString& kind);
    // SaveSetting and RemoveSetting: `change` updates the values of this run.
    void Change(const QString& key, const std::function<void()>& change);
    QString KeepBackup();  // returns the problem, empty on success
    void Sync(const QString& what);
    // The file's new bytes: its current contents with this run's values over them, checked
    // by reading them back. Throws quill::FileFailure naming `what`.
    QByteArray UpdatedFileBytes(const QString& what) const;

    QString path_;
    // The file as read, for reading only: it never holds a change, so QSettings never
    // writes the file by itself. None when the path was refused at the start.
    std::unique_ptr<QSettings> settings_;
    // Every value stored in this run, by its key in the file; they are read from here.
    QMap<QString, QString> stored_;
    QSet<QString> removed_;  // keys removed in this run, by their key in the file
    bool unsaved_ = false;   // some of them have not reached the file yet
    QString readProblem_;
    bool refused_ = false;
    bool backupPending_ = false;
    bool batching_ = false;
};

}  // namespace quill
