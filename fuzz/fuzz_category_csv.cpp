// The categories file reader on outside bytes: a file is either refused whole
// (CategoryCsvError) or read into a table that, written out again, reads back into the
// same table, so an export after an import gives the same file.
#include <cstdint>

#include <QByteArray>

#include "FuzzSupport.h"
#include "model/CategoryCsv.h"
#include "shell/Failure.h"

namespace model = quill::model;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    quill::CategoryTable table;
    try {
        table = model::ReadCategoryCsv(bytes);
    } catch (const model::CategoryCsvError&) {
        return 0;
    }
    FUZZ_CHECK(!table.empty());
    QByteArray written;
    try {
        written = model::WriteCategoryCsv(table);
    } catch (const quill::PlainFailure&) {
        // A table that could not be read back the same (a nameless item) is refused.
        return 0;
    }
    FUZZ_CHECK(model::WriteCategoryCsv(model::ReadCategoryCsv(written)) == written);
    return 0;
}
