// The 56 colours that the sheet builder installs as the workbook's colours 1 to 56.
#pragma once

#include <cstdint>

#include "model/AppState.h"

namespace quill::model {

// A colour as the palette holds it: R + 256*G + 65536*B.
constexpr std::uint32_t Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return r + 256 * g + 65536 * b;
}

// The palette; entry 0 is workbook colour 1.
const Palette& WorkbookPalette();

}  // namespace quill::model
