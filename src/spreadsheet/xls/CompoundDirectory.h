// The directory of a compound file as libgsf writes it, brought in line with the format's
// rules after the fact: libgsf leaves the left, right and child links of unused directory
// entries at zero (which names the root entry) and chains the streams of a storage one
// after the other as right siblings, all black, which is not a red-black tree once a
// storage holds three or more entries.
#pragma once

#include <cstdint>
#include <span>

namespace quill::spreadsheet::xls {

// Rewrites the directory of `file` in place: every unused entry becomes all zeros with its
// three links set to "no stream" (0xFFFFFFFF), and the entries of every storage form a
// balanced binary search tree (ordered by name length, then by upper-cased name) coloured
// as a valid red-black tree. Nothing else in the file moves. Throws EngineError when the
// file's allocation tables or directory cannot be followed.
void NormalizeDirectory(std::span<std::uint8_t> file);

}  // namespace quill::spreadsheet::xls
