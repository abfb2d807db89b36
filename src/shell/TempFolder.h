// The program's private temporary folder: made on first use with mode 0700 under the
// system's temporary location ($TMPDIR when it names a folder, else /tmp), and removed with
// everything in it when the object goes away at the end of the program.
#pragma once

#include <memory>

#include <QString>
#include <QStringList>

class QTemporaryDir;

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

  private:
    std::unique_ptr<QTemporaryDir> dir_;
};

}  // namespace quill
