// The per-user runtime folder that Qt looks for in XDG_RUNTIME_DIR. A desktop session sets
// it; started without one (a cron job, a container, su), Qt would warn on standard error and
// fall back to a folder of its own choice. The programs give it a private folder instead.
#pragma once

#include <QString>

namespace quill::shell {

// When XDG_RUNTIME_DIR is unset or empty, sets it to `<temporary folder>/quillmere-runtime-UID`,
// created with mode 0700. An existing folder of that name is used only when it is a real
// folder (not a link) owned by this user with mode 0700; otherwise the variable stays unset.
// Returns the folder set, or an empty text when none was.
QString ProvideRuntimeFolder();

// What both programs do first with their folders, in this order: TMPDIR repaired when it
// names no folder, a runtime folder provided, and the per-run folders of killed runs removed.
void PrepareProcessFolders();

}  // namespace quill::shell
