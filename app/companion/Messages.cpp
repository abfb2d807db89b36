#include "companion/Messages.h"

#include <cstdio>

namespace quill::companion {

void PrintMessage(const QString& text) {
    PrintMessage(qPrintable(text.simplified()));
}

void PrintMessage(const char* text) {
    std::fprintf(stderr, "quillmere-sheet: %s\n", text);
}

int UsageError(const QString& message) {
    PrintMessage(qPrintable(message));
    std::fputs("Try 'quillmere-sheet --help'.\n", stderr);
    return kUsage;
}

}  // namespace quill::companion
