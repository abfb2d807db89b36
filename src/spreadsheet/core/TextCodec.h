// The engine's one text codec: the model holds UTF-8, the file format UTF-16.
//
// The rule for bad input is the same in both directions: a malformed or overlong UTF-8
// sequence, an encoded surrogate and a lone UTF-16 surrogate each become U+FFFD. Converting
// never fails, so a text the program was handed damaged is still saved and read back as the
// same replacement characters, and a cell's text and a formula's text agree.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quill::spreadsheet {

std::u16string Utf16FromUtf8(std::string_view text);
std::string Utf8FromUtf16(std::u16string_view text);
// The text as the conversions read it: every bad sequence replaced by U+FFFD. None when the
// text is well-formed UTF-8 already, which is the common case and is told without a copy.
std::optional<std::string> RepairedUtf8(std::string_view text);
// The text as XML 1.0 can hold it: besides the repairs above, every character XML forbids
// (the C0 controls but tab, line feed and carriage return, and U+FFFE and U+FFFF) becomes
// U+FFFD. None when the text needs no change.
std::optional<std::string> XmlSafeUtf8(std::string_view text);

}  // namespace quill::spreadsheet
