// Whole-file reads and writes for tests that compare or prepare file contents.
#pragma once

#include <QByteArray>
#include <QString>

namespace quill::test {

// The file's bytes, or empty when it cannot be read.
QByteArray ReadAll(const QString& path);

// Writes the bytes as the whole file; false when it cannot be written.
bool WriteAll(const QString& path, const QByteArray& bytes);

// The number of pages of a PDF file as Qt writes them (page objects counted in the bytes).
int PdfPageCount(const QByteArray& pdf);

}  // namespace quill::test
