// The .xls reader on outside bytes. Input that starts with the compound-file signature is a
// whole file (container, workbook stream and summary properties); anything else is a bare
// workbook stream. A workbook that reads is recalculated and written back, and what is
// written must read again and write to the same bytes.
#include <glib.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "FuzzSupport.h"
#include "spreadsheet/formula/Formula.h"
#include "spreadsheet/xls/PropertySets.h"
#include "spreadsheet/xls/XlsContainer.h"
#include "spreadsheet/xls/XlsStream.h"

namespace ss = quill::spreadsheet;

namespace {
void Quiet(const gchar*, GLogLevelFlags, const gchar*, gpointer) {}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // libgsf reports damaged containers through GLib's log; the reader turns them into
    // errors of its own, so the messages would only slow the run down.
    g_log_set_default_handler(Quiet, nullptr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::uint8_t kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    const std::span<const std::uint8_t> input(data, size);
    ss::Workbook book;
    try {
        if (size >= 8 && std::memcmp(data, kSignature, 8) == 0) {
            std::vector<std::uint8_t> summary;
            const std::vector<std::uint8_t> stream = ss::xls::UnpackCompoundFile(input, &summary);
            book = ss::xls::ReadWorkbookStream(stream);
            book.title = ss::xls::ReadSummaryTitle(summary).value_or("");
        } else {
            book = ss::xls::ReadWorkbookStream(input);
        }
    } catch (const ss::EngineError&) {
        return 0;  // refused, as damaged or foreign input should be
    }

    ss::Recalculate(book);
    std::vector<std::uint8_t> written;
    try {
        written = ss::xls::WriteWorkbookStream(book);
    } catch (const ss::EngineError&) {
        return 0;  // something the file cannot hold (the writer says so)
    }
    ss::Workbook again = ss::xls::ReadWorkbookStream(written);
    ss::Recalculate(again);
    FUZZ_CHECK(ss::xls::WriteWorkbookStream(again) == written);
    FUZZ_CHECK(ss::xls::UnpackCompoundFile(ss::xls::PackCompoundFile(written)).size() >=
               written.size());
    return 0;
}
