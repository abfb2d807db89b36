// The checks of the companion's targets before anything is generated.
#pragma once

#include <optional>

#include "companion/CommandLine.h"

namespace quill::companion {

// Checks the targets before anything is generated: two outputs may not land in one file,
// nor one in the settings file or its backup (usage, 2), and an existing target that is not
// a regular file or is read-only is refused (1), and so is standard output as a target
// when it is a terminal (usage, 2). Returns the exit status when the program
// should stop now.
std::optional<int> CheckTargets(const CommandLine& options);

}  // namespace quill::companion
