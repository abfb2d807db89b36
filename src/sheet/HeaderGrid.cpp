// The header block as data: one entry per cell that has at least one field set. Its words
// are English here and are translated when the block is made.
#include "sheet/HeaderGrid.h"

#include <utility>
#include <vector>

#include "sheet/SheetStyle.h"
#include "sheet/SheetText.h"
#include "spreadsheet/objectmodel/ObjectModel.h"

namespace quill::sheet {

namespace {

using Content = HeaderContent;
constexpr int kCenter = spreadsheet::xl::kCenter;
constexpr int kRight = spreadsheet::xl::kRight;
const std::string kAmount(AmountFormat);

// The block's words.
constexpr const char* kTitle = QT_TRANSLATE_NOOP("quill::sheet::Captions", "Personal Finance");
constexpr const char* kProjectedIncome =
    QT_TRANSLATE_NOOP("quill::sheet::Captions", "PROJECTED INCOME");
constexpr const char* kActualIncome = QT_TRANSLATE_NOOP("quill::sheet::Captions", "ACTUAL INCOME");
constexpr const char* kIncome = QT_TRANSLATE_NOOP("quill::sheet::Captions", "Income");
constexpr const char* kExtraIncome = QT_TRANSLATE_NOOP("quill::sheet::Captions", "Extra income");
constexpr const char* kTotalIncome = QT_TRANSLATE_NOOP("quill::sheet::Captions", "Total income");
constexpr const char* kProjectedBalance =
    QT_TRANSLATE_NOOP("quill::sheet::Captions", "PROJECTED BALANCE");
constexpr const char* kProjectedBalanceNote =
    QT_TRANSLATE_NOOP("quill::sheet::Captions", "(Projected income minus expenses)");
constexpr const char* kActualBalance =
    QT_TRANSLATE_NOOP("quill::sheet::Captions", "ACTUAL BALANCE");
constexpr const char* kActualBalanceNote =
    QT_TRANSLATE_NOOP("quill::sheet::Captions", "(Actual income minus expenses)");
constexpr const char* kDifference = QT_TRANSLATE_NOOP("quill::sheet::Captions", "DIFFERENCE");
constexpr const char* kDifferenceNote =
    QT_TRANSLATE_NOOP("quill::sheet::Captions", "(Actual minus projected)");

// A balance caption: the title, then enough blanks to push the explanation onto the second
// line of its wrapped, merged cell. The blanks are counted for the English title; a
// translated title has another width, so its explanation starts a new line instead.
std::string Caption(const char* title, std::size_t blanks, const char* explanation) {
    const std::string shownTitle = SheetText(title);
    const std::string shownExplanation = SheetText(explanation);
    if (shownTitle == title && shownExplanation == explanation)
        return shownTitle + std::string(blanks, ' ') + shownExplanation;
    return shownTitle + '\n' + shownExplanation;
}

struct Entry {
    int row;      // 1 to 13
    char column;  // 'A' to 'J'
    HeaderCell cell;
};

// clang-format off
std::vector<Entry> Entries() {
    const HeaderCell title{.fontSize = 30};
    const HeaderCell bold{.bold = true};
    const HeaderCell amount{.content = Content::IncomeAmount, .numberFormat = kAmount,
                            .horizontalAlignment = kRight};
    auto income = [&](int box) { HeaderCell c = amount; c.incomeBox = box; return c; };
    auto label = [](const char* merge, const char* text) {
        return HeaderCell{.mergeRange = merge, .text = SheetText(text)};
    };
    const HeaderCell sum{.text = "=SUM(R[-2]C:R[-1]C)", .bold = true, .numberFormat = kAmount,
                         .interiorColor = kLightGreen, .horizontalAlignment = kRight};
    auto balance = [&](const char* merge, Content content, const char* formula) {
        return HeaderCell{.mergeRange = merge, .content = content, .text = formula, .bold = true,
                          .numberFormat = kAmount, .interiorColor = kLightGreen,
                          .horizontalAlignment = kRight};
    };
    auto caption = [](const char* merge, std::string text) {
        return HeaderCell{.mergeRange = merge, .text = std::move(text), .bold = true};
    };
    auto block = [](const char* merge, const char* text) {
        return HeaderCell{.mergeRange = merge, .text = SheetText(text), .bold = true,
                          .interiorColor = kPaleGreen, .horizontalAlignment = kCenter};
    };

    return {
        {1, 'B', title}, {1, 'C', title}, {1, 'D', title}, {1, 'E', title},
        {1, 'F', title}, {1, 'G', title}, {1, 'H', title}, {1, 'I', title},

        {2, 'B', {.mergeRange = "$B$2:$J$4", .text = SheetText(kTitle), .fontSize = 24}},

        {5, 'B', {.mergeRange = "$B$5:$D$5"}},
        {5, 'F', bold}, {5, 'H', bold}, {5, 'I', bold},

        {6, 'B', block("$B$6:$B$8", kProjectedIncome)},
        {6, 'C', label("$C$6:$D$6", kIncome)},
        {6, 'E', income(0)},
        {6, 'F', bold},
        {6, 'G', caption("$G$6:$I$7", Caption(kProjectedBalance, 55, kProjectedBalanceNote))},
        {6, 'J', balance("$J$6:$J$7", Content::ProjectedBalance, "")},

        {7, 'C', label("$C$7:$D$7", kExtraIncome)},
        {7, 'E', income(1)},
        {7, 'F', bold},

        {8, 'C', label("$C$8:$D$8", kTotalIncome)},
        {8, 'E', sum},
        {8, 'F', bold},
        {8, 'G', caption("$G$8:$I$9", Caption(kActualBalance, 63, kActualBalanceNote))},
        {8, 'J', balance("$J$8:$J$9", Content::ActualBalance, "")},

        {9, 'C', bold}, {9, 'D', bold}, {9, 'E', bold}, {9, 'F', bold},

        {10, 'B', block("$B$10:$B$12", kActualIncome)},
        {10, 'C', label("$C$10:$D$10", kIncome)},
        {10, 'E', income(3)},
        {10, 'F', bold},
        {10, 'G', caption("$G$10:$I$12", Caption(kDifference, 73, kDifferenceNote))},
        {10, 'J', balance("$J$10:$J$12", Content::Text, "=R[-2]C-R[-4]C")},

        {11, 'C', label("$C$11:$D$11", kExtraIncome)},
        {11, 'E', income(2)},
        {11, 'F', bold},

        {12, 'C', label("$C$12:$D$12", kTotalIncome)},
        {12, 'E', sum},
        {12, 'F', bold},

        {13, 'E', {.bold = true, .numberFormat = kAmount}},
        {13, 'F', bold}, {13, 'G', bold}, {13, 'H', bold}, {13, 'I', bold},
        {13, 'J', {.bold = true, .numberFormat = kAmount, .horizontalAlignment = kCenter}},
    };
}
// clang-format on

}  // namespace

HeaderGridTable HeaderGrid() {
    // Default-initialised (every HeaderCell has member defaults): clang 14 crashes on the
    // value-initialising "table{}" here.
    HeaderGridTable table;
    for (Entry& entry : Entries())
        table.at(static_cast<std::size_t>(entry.row - 1))
            .at(static_cast<std::size_t>(entry.column - 'A')) = std::move(entry.cell);
    return table;
}

}  // namespace quill::sheet
