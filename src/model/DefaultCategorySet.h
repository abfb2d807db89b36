// The category list that a first run starts with and that "Restore Default" brings back.
#pragma once

#include <cstddef>

#include "model/CategoryTable.h"

namespace quill::model {

// Twelve groups with 65 items, 77 rows. Row n has key n followed by "_"; every group
// row is directly followed by its items. The names are in the language installed now
// (English without a translation); once made, the names are the user's and stay as they are.
CategoryTable DefaultCategorySet();

// The number of rows DefaultCategorySet() has, without making (and translating) them.
std::size_t DefaultCategoryRowCount();

}  // namespace quill::model
