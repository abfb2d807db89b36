#include "preview/WorkbookCopy.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "shell/Failure.h"

namespace quill::preview {

namespace {

constexpr qint64 kChunkSize = 64 * 1024;

// Makes an existing read-only target writable for the replacement and restores its
// permissions unless the replacement succeeds.
class WritableTarget {
  public:
    explicit WritableTarget(const QString& path) : path_(path) {
        const QFileInfo info(path);
        if (info.isFile() && !info.isWritable()) {
            original_ = info.permissions();
            changed_ = QFile::setPermissions(
                path, original_ | QFileDevice::WriteOwner | QFileDevice::WriteUser);
        }
    }
    ~WritableTarget() {
        if (changed_ && !replaced_) QFile::setPermissions(path_, original_);
    }
    WritableTarget(const WritableTarget&) = delete;
    WritableTarget& operator=(const WritableTarget&) = delete;

    void Replaced() { replaced_ = true; }

  private:
    QString path_;
    QFileDevice::Permissions original_;
    bool changed_ = false;
    bool replaced_ = false;
};

[[noreturn]] void Fail(const QString& what, const QString& path, const QString& reason) {
    throw Failure(what + QStringLiteral(" ") + path + QStringLiteral(": ") + reason);
}

}  // namespace

void CopyWorkbook(const QString& source, const QString& target) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        Fail(QStringLiteral("Cannot read"), source, in.errorString());

    WritableTarget writable(target);
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        Fail(QStringLiteral("Cannot write"), target, out.errorString());

    for (;;) {
        const QByteArray chunk = in.read(kChunkSize);
        if (chunk.isEmpty()) break;
        if (out.write(chunk) != chunk.size()) {
            Fail(QStringLiteral("Cannot write"), target, out.errorString());
        }
    }
    if (in.error() != QFileDevice::NoError || !in.atEnd()) {
        Fail(QStringLiteral("Cannot read"), source, in.errorString());
    }
    // Until here the target is untouched; the destructor of `out` discards the partial copy.
    if (!out.commit()) Fail(QStringLiteral("Cannot write"), target, out.errorString());
    writable.Replaced();
}

void WriteWorkbook(const QByteArray& bytes, const QString& target) {
    WritableTarget writable(target);
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        Fail(QStringLiteral("Cannot write"), target, out.errorString());
    writable.Replaced();
}

}  // namespace quill::preview
