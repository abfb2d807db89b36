// The layout of the category sections below the header block, computed from the category
// table before anything is written: which half of the sheet each group's section goes to,
// where it starts, and where the grand totals stand.
//
// Each group becomes a section of (items + 3) rows: a header row, one row per item, a
// subtotal row and an empty row. Sections stack from row 14 down, first in the left half
// (columns B to E) and, from the section that starts at or below the middle of all sections
// on, in the right half (columns G to J), so both halves end up about equally long.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <QString>

#include "model/CategoryTable.h"

namespace quill::sheet {

// The sheet holds at most this many group sections.
inline constexpr int kMaxGroups = 200;

// The last row of the header block; section rows count from the row below it.
inline constexpr int kHeaderLastRow = 13;

// Rows of a section besides its items: header, subtotal and the empty row after it.
inline constexpr int kSectionExtraRows = 3;

// The grand totals: three blocks of two rows each, directly below the last section.
inline constexpr int kGrandTotalRows = 6;

enum class Half : std::int16_t { Left = 1, Right = 2 };

struct GroupPlan {
    int tableRow = 0;  // 1-based row of the group in the category table
    QString key;       // the group's RowKey
    int height = 0;    // rows of the section: items + 3
    int start = 0;     // first row of the section within its half, from 1
    Half half = Half::Left;
    std::vector<int> itemRows;  // 1-based table rows of the group's items, in key order

    int HeaderRow() const { return start + kHeaderLastRow; }
    int ItemCount() const { return height - kSectionExtraRows; }
    int SubtotalRow() const { return HeaderRow() + height - 2; }
};

struct SheetPlan {
    std::vector<GroupPlan> groups;  // in key order of the group rows
    int far = 0;                    // the longer half's length: the largest start + height
    int totalRow = 0;               // sheet row of the grand totals; 0 without any group
    Half totalsHalf = Half::Right;  // the last group's half

    bool HasTotals() const { return !groups.empty(); }
    // The last sheet row of the print area: the grand totals' last row when the last section
    // ends the longer half; as far below the longer half's end otherwise.
    int LastRow() const { return far + kHeaderLastRow + kGrandTotalRows - 1; }
};

// Comma-terminated lists of relative references from the grand-total amount cells to the
// subtotal cells of every section, one list per column.
struct TotalRefs {
    std::string projected;
    std::string actual;
    std::string difference;
};

// Plans the sections of `table`. A row is a group when its ParentKey's value is 0 and an
// item of every group whose RowKey has the same value as its ParentKey; keys are compared by
// the number they begin with. Rows whose ParentKey names no group are left out. Groups, and
// the items of each group, are laid out as the editor's tree lists them: by ascending key
// number, rows of equal number in table order.
//
// Throws quill::Failure, before anything is written, when the table has more than kMaxGroups
// groups or when the sheet would need more rows than a .xls sheet holds.
SheetPlan PlanSections(const CategoryTable& table);

// The reference lists of the grand totals of `plan` (empty lists without any group).
TotalRefs CollectTotalRefs(const SheetPlan& plan);

}  // namespace quill::sheet
