// The BIFF8 token decoder on outside bytes: the first two bytes are the row and column of
// the anchor cell, the rest are the tokens of a FORMULA record. A formula that decodes and
// can be encoded again gives tokens that decode and encode to themselves. (The first
// encoding may differ from the input: areas are written with their top left corner first,
// whatever order a file gave.)
#include <cstdint>
#include <span>

#include "FuzzSupport.h"
#include "spreadsheet/formula/Formula.h"
#include "spreadsheet/xls/Biff8Formula.h"

namespace ss = quill::spreadsheet;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const ss::CellRef anchor{data[0], data[1]};
    ss::Formula formula;
    try {
        formula = ss::xls::DecodeBiff8(std::span(data + 2, size - 2), anchor);
    } catch (const ss::FormulaError&) {
        return 0;
    }
    // The text written from the tokens is a formula the parser takes.
    FUZZ_CHECK(ss::ParseFormulaR1C1(formula.R1C1()).R1C1() == formula.R1C1());
    std::vector<std::uint8_t> tokens;
    try {
        tokens = ss::xls::EncodeBiff8(formula, anchor);
    } catch (const ss::FormulaError&) {
        return 0;
    }
    FUZZ_CHECK(ss::xls::EncodeBiff8(ss::xls::DecodeBiff8(tokens, anchor), anchor) == tokens);
    return 0;
}
