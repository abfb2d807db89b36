// The R1C1 formula parser on outside text: a formula that parses keeps its canonical text
// when parsed again, evaluates in a small sheet next to numbers, texts and itself, shows in
// A1 notation, and when it has a token form, its tokens read back into the same tokens.
#include <cstdint>
#include <string_view>

#include "FuzzSupport.h"
#include "spreadsheet/formula/Formula.h"
#include "spreadsheet/xls/Biff8Formula.h"

namespace ss = quill::spreadsheet;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ss::Formula formula;
    try {
        formula = ss::ParseFormulaR1C1(text);
    } catch (const ss::FormulaError&) {
        return 0;
    }
    FUZZ_CHECK(ss::ParseFormulaR1C1(formula.R1C1()).R1C1() == formula.R1C1());

    const ss::CellRef anchor{9, 4};  // E10
    ss::Workbook book;
    ss::Worksheet& sheet = book.AddSheet("Sheet1");
    for (int r = 0; r < 20; ++r) {
        sheet.At({r, 2}).content = double(r) * 1.5 - 7;
        sheet.At({r, 3}).content = std::string(r % 3 == 0 ? "text" : "");
    }
    sheet.At(anchor).content = formula;
    sheet.At({10, 4}).content = formula;  // the same formula one row down
    ss::Recalculate(book);
    (void)ss::FormulaToA1(formula, anchor);
    (void)ss::FormulaToA1(formula, {0, 0});

    std::vector<std::uint8_t> tokens;
    try {
        tokens = ss::xls::EncodeBiff8(formula, anchor);
    } catch (const ss::FormulaError&) {
        return 0;
    }
    const ss::Formula back = ss::xls::DecodeBiff8(tokens, anchor);
    FUZZ_CHECK(ss::xls::EncodeBiff8(back, anchor) == tokens);
    FUZZ_CHECK(ss::ParseFormulaR1C1(back.R1C1()).R1C1() == back.R1C1());
    return 0;
}
