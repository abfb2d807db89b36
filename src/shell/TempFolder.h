// The program's private temporary folder: made on first use under the system's temporary
// location ($TMPDIR, else /tmp) with mode 0700, and removed with everything in it when the
// object goes away at the end of the program.
#pragma once

#include <memory>

#include <QString>

class QTemporaryDir;

namespace quill {

class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's path; throws quill::Failure when it cannot be made.
    QString Path();

  private:
    std::unique_ptr<QTemporaryDir> dir_;
};

}  // namespace quill
