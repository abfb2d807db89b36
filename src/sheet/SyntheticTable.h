// Category tables of any size for benchmarks and size tests: `groups` groups of `items`
// items each, keyed as the editor keys them.
#pragma once

#include <QString>

#include "model/CategoryTable.h"

namespace quill::sheet {

CategoryTable SyntheticCategoryTable(int groups, int items);

// Why the table of `groups` groups of `items` items each cannot become a budget sheet
// (more groups than the sheet holds, or more rows than a .xls sheet has), in the words the
// sheet's planning uses; empty when it can. Works from the two numbers alone, so a size
// can be refused before a table that would not fit in memory is built.
QString SyntheticTableRefusal(int groups, int items);

}  // namespace quill::sheet
