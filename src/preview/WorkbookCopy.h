// Copies the temporary workbook to the file the user chose, byte for byte.
#pragma once

#include <QByteArray>
#include <QString>

namespace quill::preview {

// Writes a copy of `source` at `target`. The bytes go to a temporary file in the target's
// folder that replaces `target` only once it is complete, so a failed copy leaves an
// existing file at `target` as it was. A read-only existing target is replaced, as the user
// confirmed the overwrite. Throws quill::Failure when the copy cannot be made.
void CopyWorkbook(const QString& source, const QString& target);

// Writes `bytes` at `target` with the same safe replacement as CopyWorkbook.
void WriteWorkbook(const QByteArray& bytes, const QString& target);

}  // namespace quill::preview
