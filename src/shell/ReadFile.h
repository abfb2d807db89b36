// Reading a whole file the user named (an import): never a named pipe, a device or a folder,
// which could hang the program or fill its memory, and never more than a limit.
#pragma once

#include <QByteArray>
#include <QString>

namespace quill::shell {

// The bytes of the regular file `path`. Throws quill::FileFailure, naming the file and the
// cause, when it cannot be opened or read, is not a regular file, or holds more than
// `maxBytes` bytes. Opening does not wait, so a named pipe in its place is refused at once.
QByteArray ReadRegularFile(const QString& path, qint64 maxBytes);

}  // namespace quill::shell
