// What the engine's file formats share: the time written into documents, and reading a
// whole file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quill::spreadsheet {

// The time written as both the creation and the save time: SOURCE_DATE_EPOCH (seconds
// since 1970) when it is set to a number, so that builds and tests give the same bytes;
// otherwise the clock.
std::int64_t DocumentTimeNow();

// Reads a whole file of at most `maxBytes`. Throws EngineError naming the path.
std::vector<std::uint8_t> ReadWholeFile(const std::string& path, std::size_t maxBytes);

}  // namespace quill::spreadsheet
