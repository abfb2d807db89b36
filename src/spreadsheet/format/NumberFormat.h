// Number format codes: the display text of a value and the colour a section names.
//
// A code has up to four sections, "positive;negative;zero;text". Within a section:
//   0 # ?        digit placeholders (a shown zero, nothing, a blank for an insignificant digit)
//   .            the decimal point; "," between integer placeholders groups thousands, after
//                the last placeholder it divides by 1000; % multiplies by 100
//   E+ E- e+ e-  scientific notation, followed by the exponent's placeholders
//   "text" \x    literal text; $ - + ( ) : / space and other characters show as they are
//   _x           a blank as wide as the character x (see FormattedValue::pads)
//   *x           fill with x: not supported, the pair is dropped
//   @            the text of a text value
//   [Red] ...    a colour: Black Blue Cyan Green Magenta Red White Yellow, or ColorN (1..56,
//                taken from the standard palette); [$sym-locale] shows sym; other bracketed
//                codes (conditions, locales) are ignored
//   General      the value in the engine's general number display
// Sections that hold date or time codes (y m d h s) show the number in General.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "spreadsheet/core/Workbook.h"

namespace quill::spreadsheet::format {

struct FormattedValue {
    std::string text;                    // what the cell shows (UTF-8)
    std::optional<std::uint32_t> color;  // RGB (R + 256 G + 65536 B) a [Color] section names

    // Each "_x" of the code is one blank in text. A renderer that measures glyphs can give
    // that blank the width of x instead, so that "$3,000 " lines up with "($3,000)".
    struct Pad {
        std::size_t offset;  // byte offset of the blank in text
        std::string like;    // the character (UTF-8) whose width the blank takes
    };
    std::vector<Pad> pads;
};

// A parsed number format code; parse once, format many values.
class NumberFormat {
  public:
    // Parses any text; what cannot be understood shows literally. Never throws for a bad
    // code (an empty code means General).
    static NumberFormat Parse(std::string_view code);

    NumberFormat(NumberFormat&&) noexcept;
    NumberFormat& operator=(NumberFormat&&) noexcept;
    NumberFormat(const NumberFormat&);
    NumberFormat& operator=(const NumberFormat&);
    ~NumberFormat();

    // Numbers through their section; texts through the text section (or as they are);
    // logicals as TRUE/FALSE, errors as their error text, an empty value as "".
    FormattedValue Format(const Value& value) const;

    struct Section;  // defined in NumberFormat.cpp

  private:
    NumberFormat();
    FormattedValue FormatNumber(double x) const;
    FormattedValue FormatText(const std::string& text) const;

    std::vector<Section> sections_;
};

// Parsed codes by their text, for callers that format many cells with few codes. Not
// thread-safe; give each thread (or each rendering) its own.
class NumberFormatCache {
  public:
    const NumberFormat& Get(const std::string& code);
    FormattedValue Format(const Value& value, const std::string& code) {
        return Get(code).Format(value);
    }

  private:
    std::unordered_map<std::string, NumberFormat> formats_;
};

// Formats a value through a number format code (parsed on every call; see
// NumberFormatCache for repeated use).
FormattedValue FormatValue(const Value& value, const std::string& code);

// A number as the General format shows it: integers without decimals, up to ten significant
// digits, scientific notation ("1.23457E+11") for very large and very small magnitudes.
std::string GeneralNumberText(double x);

}  // namespace quill::spreadsheet::format

// The engine's number formats, named from its root as the rest of the engine does.
namespace quill::spreadsheet {
using format::FormattedValue;
using format::FormatValue;
using format::GeneralNumberText;
using format::NumberFormat;
using format::NumberFormatCache;
}  // namespace quill::spreadsheet
