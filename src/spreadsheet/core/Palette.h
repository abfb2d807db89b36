// The workbook colours: entry 0 is colour 1, each held as R + 256 G + 65536 B. The program's
// own palette (the colours the budget sheet installs) uses the same type.
#pragma once

#include <array>
#include <cstdint>

#include "spreadsheet/core/Limits.h"

namespace quill::spreadsheet {

using Palette = std::array<std::uint32_t, kPaletteSize>;

}  // namespace quill::spreadsheet
