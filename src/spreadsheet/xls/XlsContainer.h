// The file around the workbook stream: the OLE2 compound-file container (through libgsf),
// and reading and writing whole files safely.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace quill::spreadsheet::xls {

// Wraps a BIFF8 workbook stream into a compound file holding it as the stream "Workbook".
// The container uses 512-byte sectors and carries no time stamps, so the same stream always
// gives the same bytes. Throws EngineError.
std::vector<std::uint8_t> PackCompoundFile(std::span<const std::uint8_t> workbookStream);

// The "Workbook" stream of a compound file. Throws EngineError when the bytes are not a
// compound file, hold no workbook stream, or are larger than the engine reads.
std::vector<std::uint8_t> UnpackCompoundFile(std::span<const std::uint8_t> file);

// Files larger than this are not read as workbooks.
inline constexpr std::size_t kMaxFileBytes = 64u << 20;

// Reads a whole file of at most kMaxFileBytes. Throws EngineError naming the path.
std::vector<std::uint8_t> ReadWholeFile(const std::string& path);

// Writes the bytes to a temporary file in the target folder and renames it into place, so
// that a failure never leaves a partial file. Throws EngineError naming the path.
void WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace quill::spreadsheet::xls
