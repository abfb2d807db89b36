#include "companion/Messages.h"

#include <cstdio>

#include <QCoreApplication>

namespace quill::companion {

void PrintMessage(const QString& text) {
    PrintMessage(qPrintable(text.simplified()));
}

void PrintMessage(const char* text) {
    std::fprintf(stderr, "quillmere-sheet: %s\n", text);
}

int UsageError(const QString& message) {
    PrintMessage(qPrintable(message));
    std::fprintf(
        stderr, "%s\n",
        qPrintable(QCoreApplication::translate("Companion", "Try 'quillmere-sheet --help'.")));
    return kUsage;
}

}  // namespace quill::companion
