// The two property-set streams that office programs keep beside the workbook stream:
// "\005SummaryInformation" (title, application name, creation and save times) and
// "\005DocumentSummaryInformation" (here only its code page). Both are written in the
// compound file's property-set layout: a header naming one section by its format
// identifier, then the section with its property identifiers, offsets and values, every
// value padded to four bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quill::spreadsheet::xls {

inline constexpr const char* kSummaryStreamName = "\005SummaryInformation";
inline constexpr const char* kDocumentSummaryStreamName = "\005DocumentSummaryInformation";

// Texts are stored in Windows code page 1252, as office programs write them.
inline constexpr std::uint16_t kPropertyCodePage = 1252;

struct DocumentSummary {
    std::string title;         // UTF-8; characters 1252 cannot hold are stored as '?'
    std::string application;   // UTF-8, same rule
    std::int64_t created = 0;  // seconds since 1970-01-01 UTC
    std::int64_t saved = 0;
};

std::vector<std::uint8_t> WriteSummaryInformation(const DocumentSummary& summary);
std::vector<std::uint8_t> WriteDocumentSummaryInformation();

// The title of a "\005SummaryInformation" stream, or nothing when the stream has none or
// is damaged. Every offset and length is checked against the stream.
std::optional<std::string> ReadSummaryTitle(std::span<const std::uint8_t> stream);

// Seconds since 1970 as a FILETIME (100-nanosecond steps since 1601-01-01 UTC).
std::uint64_t FileTimeOf(std::int64_t unixSeconds);

}  // namespace quill::spreadsheet::xls
