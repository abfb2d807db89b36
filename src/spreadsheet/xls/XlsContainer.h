// The file around the workbook stream: the OLE2 compound-file container (through libgsf),
// and reading and writing whole files safely.
//
// libgsf writes the sectors, allocation tables and directory. Two things in its directory
// do not follow the format's rules, and are corrected in the finished bytes before they
// leave PackCompoundFile or SaveCompoundFile (see xls/CompoundDirectory.h): unused
// directory entries carry zero links where the format asks for "no stream" (0xFFFFFFFF),
// and the entries of a storage are chained as right siblings in one black line instead of
// forming a red-black tree. The pass only rewrites links and colours inside the directory
// sectors; sizes and sector chains stay as libgsf wrote them. The property-set streams are
// built by our own code (xls/PropertySets.h) because libgsf's writer does not pad property
// values to four bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace quill::spreadsheet::xls {

// A further stream of the root storage, such as a property set.
struct NamedStream {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

// Wraps a BIFF8 workbook stream into a compound file holding it as the stream "Workbook",
// followed by `others`. The container uses 512-byte sectors and its directory carries no
// time stamps, so the same streams always give the same bytes. Throws EngineError.
std::vector<std::uint8_t> PackCompoundFile(std::span<const std::uint8_t> workbookStream,
                                           std::span<const NamedStream> others = {});
// A workbook stream handed over a piece at a time: the writer calls the sink with each
// piece, in order.
using StreamSink = std::function<void(std::span<const std::uint8_t>)>;
using WorkbookWriter = std::function<void(const StreamSink&)>;

// Writes the compound file that PackCompoundFile makes to `path`, with the workbook stream
// taken from `writeWorkbook` as it is made. The file goes straight to the disk, so neither
// the stream nor the file is ever whole in memory, which matters for a large workbook. It is
// written under a temporary name in the target's folder and renamed into place when
// complete: a failure never leaves a partial file. Throws EngineError naming the path.
void SaveCompoundFile(const std::string& path, const WorkbookWriter& writeWorkbook,
                      std::span<const NamedStream> others = {});

// The "Workbook" stream of a compound file. Throws EngineError when the bytes are not a
// compound file, hold no workbook stream, or are larger than the engine reads. When
// `summaryInformation` is given it receives the "\005SummaryInformation" stream, or
// nothing when the file has none or it cannot be read.
std::vector<std::uint8_t> UnpackCompoundFile(
    std::span<const std::uint8_t> file, std::vector<std::uint8_t>* summaryInformation = nullptr);

// Files larger than this are not read as workbooks.
inline constexpr std::size_t kMaxFileBytes = 64u << 20;

}  // namespace quill::spreadsheet::xls
