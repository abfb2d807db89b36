// The sheet's cell store against a plain ordered map: random sequences of adding, erasing,
// formatting ranges and clearing must leave the same cells, in the same order, with the
// same contents, and the count must follow.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "spreadsheet/core/Workbook.h"

namespace quill::spreadsheet {
namespace {

using Model = std::map<CellRef, int>;  // address -> format, which the test uses as a tag

void ExpectSame(const Worksheet& sheet, const Model& model) {
    ASSERT_EQ(sheet.CellCount(), model.size());
    ASSERT_EQ(sheet.Cells().size(), model.size());
    auto expected = model.begin();
    for (const auto& [at, cell] : sheet.Cells()) {
        ASSERT_NE(expected, model.end());
        EXPECT_EQ(at, expected->first);
        EXPECT_EQ(cell.format, expected->second);
        ++expected;
    }
    EXPECT_EQ(expected, model.end());
}

TEST(WorksheetCellsTest, MatchesAnOrderedMapUnderRandomEdits) {
    std::mt19937 random(20261208);
    auto pick = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    Worksheet sheet("S");
    Model model;
    int tag = 0;
    for (int step = 0; step < 4000; ++step) {
        // Few rows and columns, so that edits land on each other's cells.
        const CellRef at{pick(0, 40), pick(0, 12)};
        switch (pick(0, 5)) {
            case 0:
            case 1:
                sheet.At(at).format = ++tag;
                model[at] = tag;
                break;
            case 2:
                sheet.Erase(at);
                model.erase(at);
                break;
            case 3: {
                const RangeRef area = RangeRef::Of(at, {at.row + pick(0, 3), at.col + pick(0, 4)});
                ++tag;
                sheet.ForEachCellIn(area, [&](CellRef c, Cell& cell) {
                    EXPECT_TRUE(area.Contains(c));
                    if (cell.format < 0) cell.format = tag;
                });
                for (int r = area.first.row; r <= area.last.row; ++r)
                    for (int c = area.first.col; c <= area.last.col; ++c)
                        model.try_emplace({r, c}, tag);
                break;
            }
            case 4: {
                const Cell* found = sheet.Find(at);
                const auto it = model.find(at);
                ASSERT_EQ(found != nullptr, it != model.end());
                if (found != nullptr) {
                    EXPECT_EQ(found->format, it->second);
                }
                break;
            }
            default:
                if (pick(0, 200) == 0) {
                    sheet.ClearAll();
                    model.clear();
                }
                break;
        }
        if (step % 97 == 0) ExpectSame(sheet, model);
    }
    ExpectSame(sheet, model);
}

TEST(WorksheetCellsTest, StoredCellsOfAnAreaAreVisitedInOrderUntilTheVisitorStops) {
    Worksheet sheet("S");
    for (const CellRef at :
         {CellRef{1, 1}, CellRef{1, 5}, CellRef{2, 0}, CellRef{2, 3}, CellRef{4, 2}, CellRef{9, 3}})
        sheet.At(at).format = at.row * 10 + at.col;
    std::vector<CellRef> seen;
    sheet.ForEachStoredIn({{1, 1}, {70000, 3}}, [&](CellRef at, const Cell& cell) {
        EXPECT_EQ(cell.format, at.row * 10 + at.col);
        seen.push_back(at);
        return true;
    });
    EXPECT_EQ(seen, (std::vector<CellRef>{{1, 1}, {2, 3}, {4, 2}, {9, 3}}));

    seen.clear();
    sheet.ForEachStoredIn({{0, 0}, {20, 20}}, [&](CellRef at, const Cell&) {
        seen.push_back(at);
        return seen.size() < 3;
    });
    EXPECT_EQ(seen.size(), 3u);

    // Nothing is created by looking, and the sheet's edges are kept.
    EXPECT_EQ(sheet.Find({3, 3}), nullptr);
    EXPECT_EQ(sheet.Find({-1, 0}), nullptr);
    EXPECT_EQ(sheet.CellCount(), 6u);
    EXPECT_THROW(sheet.At({kMaxRows, 0}), EngineError);
    EXPECT_THROW(sheet.ForEachCellIn({{0, 0}, {0, kMaxColumns}}, [](CellRef, Cell&) {}),
                 EngineError);
    EXPECT_EQ(sheet.CellCount(), 6u);
}

}  // namespace
}  // namespace quill::spreadsheet

namespace quill::spreadsheet {
namespace {

// A formula's computed value is its own: copies keep theirs when the original changes, and
// texts (kept on the heap) survive copying, moving, self-assignment and replacement.
TEST(WorksheetCellsTest, AFormulasComputedValueBelongsToEachCopy) {
    Formula original("=R1C1", nullptr);
    original.SetResult(std::string(100, 't'));
    Formula copy = original;
    original.SetResult(2.5);
    EXPECT_EQ(copy.Result(), Value(std::string(100, 't')));
    EXPECT_EQ(original.Result(), Value(2.5));

    Formula moved = std::move(copy);
    EXPECT_EQ(moved.Result(), Value(std::string(100, 't')));
    Formula& self = moved;
    moved = self;
    EXPECT_EQ(moved.Result(), Value(std::string(100, 't')));
    moved = original;
    EXPECT_EQ(moved.Result(), Value(2.5));
    for (const Value& v : {Value(true), Value(ErrorCode::Div0), Value(), Value(std::string("x"))}) {
        moved.SetResult(v);
        EXPECT_EQ(Formula(moved).Result(), v);
    }

    // Only a formula has one; a cell's new content drops it.
    Worksheet sheet("S");
    Cell& cell = sheet.At({0, 0});
    cell.SetCached(1.0);
    EXPECT_EQ(cell.Cached(), Value());
    cell.content = original;
    EXPECT_EQ(cell.Cached(), Value(2.5));
    cell.content = 7.0;
    EXPECT_EQ(cell.Cached(), Value());
}

}  // namespace
}  // namespace quill::spreadsheet
