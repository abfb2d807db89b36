// Category tables of any size for benchmarks and size tests: `groups` groups of `items`
// items each, keyed as the editor keys them.
#pragma once

#include "model/CategoryTable.h"

namespace quill::PersonalFinance {

CategoryTable SyntheticCategoryTable(int groups, int items);

}  // namespace quill::PersonalFinance
