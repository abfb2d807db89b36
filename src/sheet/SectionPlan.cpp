#include "sheet/SectionPlan.h"

#include <algorithm>
#include <map>
#include <utility>

#include <QCoreApplication>

#include "shell/Failure.h"
#include "spreadsheet/core/Workbook.h"

namespace quill::sheet {

namespace {

// Column offsets from a grand-total amount cell to the subtotal cells of a section in the
// same half (the totals stand one column right of the difference column) and in the other
// half (five columns further left).
constexpr int kProjectedOffset = -2;
constexpr int kActualOffset = -1;
constexpr int kDifferenceOffset = 0;
constexpr int kOtherHalfOffset = -5;

// Rows from the grand totals' first row to the actual and difference blocks.
constexpr int kActualTotalRow = 2;
constexpr int kDifferenceTotalRow = 4;

// The 1-based table rows of the items of each ParentKey value, in the order the editor's
// tree shows them: ascending key number, rows of equal number in table order.
std::map<double, std::vector<int>> ItemsByParentValue(const CategoryTable& table) {
    std::vector<std::pair<double, int>> rows;  // key number, 1-based table row
    rows.reserve(table.size());
    for (std::size_t i = 0; i < table.size(); ++i)
        rows.emplace_back(model::KeyValueIgnoringBlanks(table[i].RowKey), static_cast<int>(i) + 1);
    std::stable_sort(rows.begin(), rows.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });

    std::map<double, std::vector<int>> items;
    for (const auto& [key, row] : rows)
        items[model::KeyValueIgnoringBlanks(table[static_cast<std::size_t>(row - 1)].ParentKey)]
            .push_back(row);
    return items;
}

// "R[rows]C[columns]," as a relative reference list entry.
std::string ReferenceEntry(int rows, int columns) {
    return "R[" + std::to_string(rows) + "]C[" + std::to_string(columns) + "],";
}

}  // namespace

SheetPlan PlanSections(const CategoryTable& table) {
    const std::map<double, std::vector<int>> itemsByParent = ItemsByParentValue(table);
    const auto groupRows = itemsByParent.find(0.0);
    const std::vector<int> noRows;
    const std::vector<int>& groupTableRows =
        groupRows == itemsByParent.end() ? noRows : groupRows->second;

    if (groupTableRows.size() > static_cast<std::size_t>(kMaxGroups))
        throw Failure(QCoreApplication::translate("quill::sheet::Messages",
                                                  "The category list has more than %1 groups (%2); "
                                                  "the sheet holds at most %1.")
                          .arg(kMaxGroups)
                          .arg(groupTableRows.size()));

    SheetPlan plan;
    for (const int row : groupTableRows) {
        GroupPlan group;
        group.tableRow = row;
        group.key = table[static_cast<std::size_t>(row - 1)].RowKey;
        const auto items = itemsByParent.find(model::KeyValueIgnoringBlanks(group.key));
        if (items != itemsByParent.end()) group.itemRows = items->second;
        plan.groups.push_back(std::move(group));
    }

    // The middle of all sections, counted as every table row plus two rows per group.
    const auto groupCount = static_cast<std::int64_t>(plan.groups.size());
    const std::int64_t halfMark = (static_cast<std::int64_t>(table.size()) + 2 * groupCount) / 2;

    // Running values in 64 bits: a huge table must reach the row check below intact.
    std::int64_t cum = 0;
    std::int64_t leftEnd = 0;
    std::int64_t far = 0;
    bool rightHalf = false;
    for (GroupPlan& group : plan.groups) {
        std::int64_t start = cum + 1;
        const auto height = static_cast<std::int64_t>(group.itemRows.size()) + kSectionExtraRows;
        cum += height;
        // The first section that starts at or below the middle opens the right half.
        rightHalf = rightHalf || start >= halfMark;
        if (rightHalf) {
            start -= leftEnd;
        } else {
            leftEnd = cum;
        }
        far = std::max(far, start + height);
        group.start = static_cast<int>(start);
        group.height = static_cast<int>(height);
        group.half = rightHalf ? Half::Right : Half::Left;
    }

    const std::int64_t lastRow = far + kHeaderLastRow + kGrandTotalRows - 1;
    if (lastRow > spreadsheet::kMaxRows)
        throw Failure(
            QCoreApplication::translate("quill::sheet::Messages",
                                        "The budget sheet would need %1 rows, more than the %2 "
                                        "rows a .xls sheet holds; the category list "
                                        "has too many rows.")
                .arg(lastRow)
                .arg(spreadsheet::kMaxRows));

    plan.far = static_cast<int>(far);
    if (!plan.groups.empty()) {
        const GroupPlan& last = plan.groups.back();
        plan.totalRow = last.start + last.height + kHeaderLastRow;
        plan.totalsHalf = last.half;
    }
    return plan;
}

TotalRefs CollectTotalRefs(const SheetPlan& plan) {
    TotalRefs refs;
    for (const GroupPlan& group : plan.groups) {
        const int rows = group.SubtotalRow() - plan.totalRow;
        const int shift = group.half == plan.totalsHalf ? 0 : kOtherHalfOffset;
        refs.projected += ReferenceEntry(rows, kProjectedOffset + shift);
        refs.actual += ReferenceEntry(rows - kActualTotalRow, kActualOffset + shift);
        refs.difference += ReferenceEntry(rows - kDifferenceTotalRow, kDifferenceOffset + shift);
    }
    return refs;
}

}  // namespace quill::sheet
