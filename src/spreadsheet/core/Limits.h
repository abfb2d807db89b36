// The limits of the sheet model, shared by the object model, the file and the picture.
#pragma once

namespace quill::spreadsheet {

// The grid that a .xls (BIFF8) sheet can hold.
inline constexpr int kMaxRows = 65536;
inline constexpr int kMaxColumns = 256;

// The tallest row and the largest font, in points.
inline constexpr double kMaxRowPoints = 409.0;
inline constexpr double kMaxFontPoints = 409.0;
// The widest column, in characters of the default font.
inline constexpr double kMaxColumnCharacters = 255.0;
// The number of workbook colours (palette entries 1 to 56).
inline constexpr int kPaletteSize = 56;

// The width of a digit of the default font (Arial 10) in pixels at 96 dpi, and the padding
// a column carries beyond its characters: a column of w characters is w * 7 + 5 pixels wide.
inline constexpr double kDigitPixels = 7.0;
inline constexpr double kColumnPaddingPixels = 5.0;

}  // namespace quill::spreadsheet
