// The records that guard a sheet's cells (protection, locked formats, conditional formats,
// validations): what the engine writes it reads back as it was, and writes again to the
// same bytes; rules of kinds the model does not hold are left out of a file that has them;
// the object model refuses what neither file format can hold.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "spreadsheet/objectmodel/ObjectModel.h"
#include "spreadsheet/xls/XlsBiff.h"
#include "spreadsheet/xls/XlsStream.h"

namespace quill::spreadsheet {
namespace {

// A sheet with every kind of rule the model holds: each operator, whole and decimal
// numbers, negative and fractional bounds, texts empty, plain and beyond Latin-1.
Workbook GuardedWorkbook() {
    Workbook book;
    Worksheet& sheet = book.AddSheet("Guarded");
    CellFormat open;
    open.locked = false;
    CellFormat lockedRed;
    lockedRed.font.colorIndex = 3;
    sheet.At({0, 0}).format = book.AddFormat(open);
    sheet.At({0, 1}).format = book.AddFormat(lockedRed);
    sheet.At({0, 0}).content = 5.0;
    sheet.isProtected = true;

    const Comparison ops[] = {Comparison::Between,        Comparison::NotBetween, Comparison::Equal,
                              Comparison::NotEqual,       Comparison::Greater,    Comparison::Less,
                              Comparison::GreaterOrEqual, Comparison::LessOrEqual};
    int row = 2;
    for (const Comparison op : ops) {
        const bool two = op == Comparison::Between || op == Comparison::NotBetween;
        ConditionalFormat rule;
        rule.areas = {{{row, 1}, {row + 1, 1}}, {{row, 3}, {row, 3}}};
        rule.op = op;
        rule.first = row % 2 ? -2.5 : 70000;  // a double's token, and an integer's
        rule.second = two ? 1e12 : 0;
        rule.fontColor = row % 3 ? 3 : kColorAutomatic;
        rule.fill = row % 3 != 1 ? 22 : kNoFill;
        sheet.conditionalFormats.push_back(rule);

        DataValidation check;
        check.areas = {{{row, 5}, {row + 1, 6}}};
        check.type = row % 2 ? ValidationType::WholeNumber : ValidationType::Decimal;
        check.op = op;
        check.first = row % 2 ? 0 : -7.25;
        check.second = two ? 1e12 : 0;
        check.alert = static_cast<ValidationAlert>(row % 3);
        check.ignoreBlank = row % 2 == 0;
        check.showInput = row % 3 != 0;
        check.showError = row % 4 != 0;
        check.inputTitle = row % 2 ? "Amount" : "";
        check.inputMessage = "Type a number, such as 250 or 99.95.";
        check.errorTitle = "Betrag ☃";
        check.errorMessage = row % 2 ? "" : "Only numbers from 0 to 1,000,000,000,000.";
        sheet.validations.push_back(check);
        row += 3;
    }
    return book;
}

TEST(SheetRules, EveryRuleTheModelHoldsReadsBackAndWritesAgainToTheSameBytes) {
    const Workbook book = GuardedWorkbook();
    const std::vector<std::uint8_t> stream = xls::WriteWorkbookStream(book);
    const Workbook back = xls::ReadWorkbookStream(stream);
    const Worksheet& sheet = *back.Sheets()[0];
    const Worksheet& wrote = *book.Sheets()[0];

    EXPECT_TRUE(sheet.isProtected);
    EXPECT_FALSE(back.EffectiveFormat(sheet, {0, 0}).locked);
    EXPECT_TRUE(back.EffectiveFormat(sheet, {0, 1}).locked);
    EXPECT_TRUE(back.EffectiveFormat(sheet, {40, 40}).locked) << "the sheet's default";
    EXPECT_EQ(sheet.conditionalFormats, wrote.conditionalFormats);
    EXPECT_EQ(sheet.validations, wrote.validations);
    EXPECT_EQ(xls::WriteWorkbookStream(back), stream);

    // Without any guard a sheet gets none of their records.
    Workbook plain;
    plain.AddSheet("Plain");
    plain.Sheets()[0]->At({0, 0}).content = 1.0;
    const Workbook plainBack = xls::ReadWorkbookStream(xls::WriteWorkbookStream(plain));
    EXPECT_FALSE(plainBack.Sheets()[0]->isProtected);
    EXPECT_TRUE(plainBack.Sheets()[0]->conditionalFormats.empty());
    EXPECT_TRUE(plainBack.Sheets()[0]->validations.empty());
}

// The offset of the data of the sheet substream's first record with identifier `id`.
std::size_t DataOf(const std::vector<std::uint8_t>& stream, std::uint16_t id) {
    std::size_t at = 0;
    int bofs = 0;
    while (at + 4 <= stream.size()) {
        const std::uint16_t rid = stream[at] | stream[at + 1] << 8;
        const std::size_t length = stream[at + 2] | stream[at + 3] << 8;
        if (rid == xls::rec::kBof) ++bofs;
        if (rid == id && bofs == 2) return at + 4;
        at += 4 + length;
    }
    ADD_FAILURE() << "no record " << id;
    return 0;
}

TEST(SheetRules, RulesOfOtherKindsAreLeftOutOfTheModel) {
    Workbook book;
    Worksheet& sheet = book.AddSheet("Foreign");
    ConditionalFormat rule;
    rule.areas = {{{0, 0}, {0, 0}}};
    rule.fill = 22;
    sheet.conditionalFormats.push_back(rule);
    DataValidation check;
    check.areas = {{{1, 1}, {1, 1}}};
    sheet.validations.push_back(check);
    sheet.validations.push_back(check);
    sheet.validations.back().areas = {{{2, 2}, {2, 2}}};
    const std::vector<std::uint8_t> stream = xls::WriteWorkbookStream(book);

    struct Case {
        const char* what;
        std::uint16_t record;
        std::size_t offset;  // in the record's data
        std::uint8_t value;
        std::size_t rules;
        std::size_t validations;
    };
    const Case cases[] = {
        {"a formula rule", xls::rec::kCf, 0, 2, 0, 2},
        {"a rule on a text constant (ptgStr)", xls::rec::kCf, 12, 0x17, 0, 2},
        {"a list validation", xls::rec::kDv, 0, 0x03, 1, 1},
        {"a date validation", xls::rec::kDv, 0, 0x04, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::uint8_t> changed = stream;
        const std::size_t data = DataOf(changed, c.record);
        if (c.record == xls::rec::kCf && c.offset == 12) {
            // The first formula token, after the flags and the pattern block.
            changed[data + 12 + 4] = c.value;
        } else {
            changed[data + c.offset] = c.value;
        }
        const Workbook back = xls::ReadWorkbookStream(changed);
        EXPECT_EQ(back.Sheets()[0]->conditionalFormats.size(), c.rules);
        EXPECT_EQ(back.Sheets()[0]->validations.size(), c.validations);
    }
}

TEST(SheetRules, ObjectModelRefusesWhatTheFilesCannotHold) {
    Application app;
    app.Workbooks().Add();
    Range amounts = app.Range("C15:D20");
    amounts.Validation().Add(xl::kValidateDecimal, xl::kValidAlertStop, xl::kBetween, 0, 1e12);
    const std::string title32(32, 'x');
    amounts.Validation().SetErrorTitle(title32);
    EXPECT_EQ(app.Range("D20").Validation().Get().errorTitle, title32);

    struct Refusal {
        const char* what;
        std::function<void()> call;
    };
    const Refusal refusals[] = {
        {"a second validation over the same cells",
         [&] {
             app.Range("D20:D21").Validation().Add(xl::kValidateDecimal, xl::kValidAlertStop,
                                                   xl::kGreater, 0);
         }},
        {"a list validation",
         [&] { app.Range("A1").Validation().Add(3, xl::kValidAlertStop, xl::kBetween, 0, 1); }},
        {"an unknown operator",
         [&] { app.Range("A1").Validation().Add(xl::kValidateDecimal, 1, 9, 0); }},
        {"an unknown alert style",
         [&] { app.Range("A1").Validation().Add(xl::kValidateDecimal, 4, xl::kLess, 0); }},
        {"a title of 33 characters",
         [&] { amounts.Validation().SetInputTitle(std::string(33, 'x')); }},
        {"an error message of 226 characters",
         [&] { amounts.Validation().SetErrorMessage(std::string(226, 'x')); }},
        {"texts for cells without validation",
         [&] { app.Range("A1").Validation().SetInputTitle("Amount"); }},
        {"a formula condition", [&] { app.Range("A1").FormatConditions().Add(2, xl::kLess, 0); }},
        {"a condition on an infinite number",
         [&] {
             app.Range("A1").FormatConditions().Add(xl::kCellValue, xl::kLess,
                                                    std::numeric_limits<double>::infinity());
         }},
        {"a colour outside the palette",
         [&] {
             app.Range("A1")
                 .FormatConditions()
                 .Add(xl::kCellValue, xl::kLess, 0)
                 .SetFontColorIndex(57);
         }},
    };
    for (const Refusal& r : refusals) EXPECT_THROW(r.call(), EngineError) << r.what;
    EXPECT_EQ(app.ActiveSheet().validations.size(), 1u);
}

}  // namespace
}  // namespace quill::spreadsheet
