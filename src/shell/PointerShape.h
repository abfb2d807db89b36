// The pointer shapes a window shows, by number, shared by the window code and the
// procedures that set the pointer through a callback.
#pragma once

namespace quill::pointer {

inline constexpr int kArrow = 0;
inline constexpr int kHourglass = 11;
inline constexpr int kHand = 99;

}  // namespace quill::pointer
