// The pointer shapes a window shows, shared by the window code and the procedures that set
// the pointer through a callback.
#pragma once

namespace quill {

enum class PointerShape { Arrow, Hourglass, Hand };

}  // namespace quill
