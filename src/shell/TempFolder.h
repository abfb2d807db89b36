// The program's private temporary folder: made on first use with mode 0700 under the
// system's temporary location ($TMPDIR when it names a folder, else /tmp), and removed with
// everything in it when the object goes away at the end of the program.
//
// The folder is named "quillmere-" and six letters or digits, and it holds a lock file that
// its process keeps locked (flock) for as long as the folder lives. The system drops the lock
// when the process ends in any way, so a folder whose lock can be taken was left behind by a
// process that was killed (SIGKILL, the out-of-memory killer, a power cut);
// RemoveStaleFolders removes those.
#pragma once

#include <QString>
#include <QStringList>

namespace quill {

class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's path; throws quill::Failure, naming the folders tried, when it cannot
    // be made.
    QString Path();

    // The folders the per-run folder may be made in, in the order they are tried: $TMPDIR
    // when it names a folder (following links), and /tmp.
    static QStringList BaseFolders();

    // Points TMPDIR at /tmp when it names no folder (a missing one, a dangling link), so
    // that the libraries' own temporary files land in /tmp too and never in the root
    // folder. Called first thing in main; the messages still name the value it had.
    static void RepairEnvironment();

    // Removes, from every base folder, the per-run folders whose process is gone: folders
    // of this user, named as above, whose lock file is there and locked by nobody. A folder
    // without the lock file (one just being made, or one of another program) is left
    // alone, and so is everything else. Called at start-up; never fails.
    static void RemoveStaleFolders();

  private:
    QString path_;   // empty until made
    int lock_ = -1;  // the lock file, held open and locked while the folder lives
};

}  // namespace quill
