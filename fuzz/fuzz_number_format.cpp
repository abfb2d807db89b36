// Number formats on outside codes and values: the first byte picks the kind of value
// (number, text, logical, error), the next eight bytes are the number (or choose the
// others), and the rest is the format code. Formatting must end, with a bounded text.
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>

#include "FuzzSupport.h"
#include "spreadsheet/format/NumberFormat.h"

namespace ss = quill::spreadsheet;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 9) return 0;
    std::uint64_t bits = 0;
    std::memcpy(&bits, data + 1, 8);
    const std::string code(reinterpret_cast<const char*>(data + 9), size - 9);
    ss::Value value;
    switch (data[0] % 5) {
        case 0:
            value = std::bit_cast<double>(bits);
            break;
        case 1:
            value = static_cast<double>(static_cast<std::int32_t>(bits)) / 100;
            break;
        case 2:
            value = std::string(reinterpret_cast<const char*>(data + 1), 8);
            break;
        case 3:
            value = (bits & 1) != 0;
            break;
        default:
            value = ss::ErrorCode::Div0;
            break;
    }
    const ss::FormattedValue shown = ss::FormatValue(value, code);
    // Whatever the code asks for, the text stays within a bound linear in the code's length:
    // each "@" repeats the value's General text (at most 13 characters), and digit
    // placeholders print a number's digits (at most 309) once.
    FUZZ_CHECK(shown.text.size() <= 16 * code.size() + 1000);
    return 0;
}
