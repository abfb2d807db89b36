// A tiny file system of its own (tmpfs) for tests of a full disk. Mounting needs the
// administrator's rights; where they are missing, Mounted() is false and the test skips.
#pragma once

#include <QString>
#include <QTemporaryDir>

namespace quill::test {

class SmallFileSystem {
  public:
    explicit SmallFileSystem(const char* size = "64k");
    ~SmallFileSystem();
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool Mounted() const { return mounted_; }
    QString Path() const { return dir_.path(); }
    QString FilePath(const QString& name) const { return dir_.filePath(name); }

  private:
    QTemporaryDir dir_;
    bool mounted_ = false;
};

}  // namespace quill::test
