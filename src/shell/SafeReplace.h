// The one way the program writes a file: a temporary file beside the target, renamed over
// it only once it is complete and on the disk.
//
// - The temporary file is created with permissions no wider than the target's (a new target
//   gets the usual mode of a new file), so the new contents are never readable by more
//   people than the old ones, not even while they are being written.
// - A target that is a symbolic link is written through: the link stays, the file it leads
//   to gets the new contents.
// - The temporary file is named "." + the target's name + ".quillmere-" + six letters or
//   digits, with the target's name cut short where the whole would be longer than the
//   folder allows. It is held by an exclusive lock (flock) for as long as it is written, so
//   that one left behind by a killed process can be told from one still being written.
// - An existing target that is not a regular file (a folder, a device, a pipe, a socket) or
//   that is read-only is refused and left alone.
// - On any failure the target is as it was and the temporary file is gone; the error names
//   the file and the system's reason ("No space left on device").
//
//     SafeReplace::Replacement out(path);      // refuses or makes the temporary file
//     out.Write(bytes);                        // as often as needed
//     out.Commit();                            // flushed to the disk and renamed into place
#pragma once

#include <span>

#include <QByteArray>
#include <QString>

namespace quill::SafeReplace {

// File names as the system keeps them, which is bytes that need not be UTF-8, and back.
// Unlike QFile's conversions, which turn every byte that is not UTF-8 into U+FFFD, these
// keep every name: such a byte is held as the lone surrogate U+DC80 to U+DCFF, and only
// those surrogates turn back into their bytes. Names in UTF-8 convert as with QFile.
QByteArray EncodeName(const QString& path);
QString DecodeName(const QByteArray& path);

// The file that writing to `path` lands in, found as the system finds it: the real path of
// its folder (links and ".." taken in the order they come, so "link/../x" is "x" in the
// folder the link's parent holds, not in the folder of "link"), then its last name, and
// the same again for each symbolic link found there (it need not exist yet). A folder that
// cannot be resolved (a missing one, say) leaves the path as given, made absolute, so that
// writing to it fails as it would in the shell. Throws quill::Failure for a chain of links
// that loops.
QString ResolveTarget(const QString& path);

// Why `path` cannot be replaced, or the empty text when it can: it does not exist yet, or
// it is a regular file with write permission. The text names the file and says what the
// user can do. Throws quill::Failure for a chain of links that loops.
QString Refusal(const QString& path);

// True when writing to `a` and to `b` would land in the same file: the same name, links to
// one file, or two hard links of it. Paths that do not exist yet compare by the place they
// would be created at.
bool SameFile(const QString& a, const QString& b);

// Removes the temporary files beside `target` that a replacement of it left behind when its
// process was ended before it could clean up (SIGKILL, the out-of-memory killer, a power
// cut). Only files that nobody else makes are touched: regular files named exactly as this
// writer names the temporaries of `target`, owned by the user running this, and locked by no
// writer that is still at work. Never fails; what cannot be examined or removed stays.
void RemoveStaleTemporaries(const QString& target);

// Whether a replacement waits until its contents are on the disk (fsync of the file and of
// its folder). Files that live only for moments in the program's private temporary folder
// skip the wait; the rename still keeps a failure from leaving a partial file.
enum class Durability { Synced, Unsynced };

class Replacement {
  public:
    // Resolves links, refuses a target that Refusal() names a reason for, and creates the
    // temporary file beside the resolved target. `modeMask` narrows the permissions further
    // (a copy of a private file stays private). Throws quill::Failure.
    explicit Replacement(const QString& target, unsigned modeMask = 0777,
                         Durability durability = Durability::Synced);
    // Removes the temporary file unless it was put in place.
    ~Replacement();
    Replacement(const Replacement&) = delete;
    Replacement& operator=(const Replacement&) = delete;

    // Appends to the new contents. Throws quill::Failure.
    void Write(const char* data, qint64 size);
    void Write(const QByteArray& bytes) { Write(bytes.constData(), bytes.size()); }
    // Appends the whole of the regular file `source`. Throws quill::Failure.
    void CopyFrom(const QString& source);

    // Flushes the new contents to the disk and closes the temporary file; after this only
    // the rename is left. Commit() calls it when it has not run. Throws quill::Failure.
    void Finish();

    // Puts the new contents in place of the target. Throws quill::Failure; the target is
    // then as it was.
    void Commit();

    // The path as given and the file that is replaced (the end of its links).
    const QString& Target() const { return target_; }
    const QString& ResolvedTarget() const { return resolved_; }

  private:
    [[noreturn]] void Fail(int error) const;
    void Discard();

    QString target_;
    QString resolved_;
    QByteArray temporary_;  // empty once renamed into place
    int fd_ = -1;
    int lockFd_ = -1;  // holds the temporary file's lock until it is renamed or removed
    Durability durability_ = Durability::Synced;
};

// Puts several finished replacements in place together: either every target gets its new
// contents, or, when one of them cannot be renamed into place, those already replaced get
// their old contents back and the error is thrown. The targets must be different files.
void CommitTogether(std::span<Replacement* const> replacements);

// Writes `contents` as the new contents of `target`.
void WriteFile(const QString& target, const QByteArray& contents,
               Durability durability = Durability::Synced);

// Writes a copy of the regular file `source` at `target`. With Privacy::TargetAndSource the
// copy is never readable by more people than the source either.
enum class Privacy { Target, TargetAndSource };
void CopyFile(const QString& source, const QString& target, Privacy privacy = Privacy::Target);

}  // namespace quill::SafeReplace
