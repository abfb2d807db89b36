#include "companion/Targets.h"

#include <exception>

#include <QCoreApplication>

#include <sys/stat.h>
#include <unistd.h>

#include "companion/Messages.h"
#include "model/SettingsStore.h"
#include "shell/SafeReplace.h"

namespace quill::companion {

namespace {

// The settings store's file and its backup; the store itself is not opened for this
// (--defaults and --synthetic leave it unopened).
QStringList SettingsFiles() {
    const QString file = SettingsStore::UserFilePath();
    return {file, file + QStringLiteral(".bak")};
}

// True when `path` names something that exists and is not a regular file.
bool IsSpecial(const QString& path) {
    struct stat info {};
    return ::stat(SafeReplace::EncodeName(path).constData(), &info) == 0 && !S_ISREG(info.st_mode);
}

}  // namespace

std::optional<int> CheckTargets(const CommandLine& options) {
    const auto files = FileTargets(options);
    try {
        if (options.workbookOut == kStandardOutput && options.pictureOut == kStandardOutput)
            return UsageError(QCoreApplication::translate(
                "Companion", "-o and --picture both name standard output"));
        // A workbook or picture is binary: on a terminal it would be noise that can upset
        // the terminal itself, so it is refused there, as compressors do.
        for (const char* option : {"-o", "--picture"}) {
            const QString& target = QLatin1String(option) == QLatin1String("-o")
                                        ? options.workbookOut
                                        : options.pictureOut;
            if (target == kStandardOutput && ::isatty(STDOUT_FILENO) == 1)
                return UsageError(
                    QCoreApplication::translate("Companion",
                                                "%1 - would write binary data to the terminal; "
                                                "redirect standard output to a file or a pipe "
                                                "(%1 - > FILE)")
                        .arg(QLatin1String(option)));
        }
        if (files.size() == 2 && SafeReplace::SameFile(files[0].second, files[1].second))
            return UsageError(
                QCoreApplication::translate("Companion",
                                            "-o and --picture name the same file (%1 and %2); "
                                            "give two different files")
                    .arg(files[0].second, files[1].second));
        for (const auto& [option, target] : files)
            for (const QString& settings : SettingsFiles())
                if (SafeReplace::SameFile(target, settings))
                    return UsageError(QCoreApplication::translate(
                                          "Companion",
                                          "%1 %2 names %3, where the saved categories and incomes "
                                          "are kept; give another file")
                                          .arg(option, target, settings));
        for (const auto& [option, target] : files) {
            QString refusal = SafeReplace::Refusal(target);
            if (refusal.isEmpty()) continue;
            if (option == QLatin1String("-o") && IsSpecial(SafeReplace::ResolveTarget(target)))
                refusal += QLatin1Char(' ') +
                           QCoreApplication::translate(
                               "Companion", "To write the workbook to standard output, give -o -.");
            PrintMessage(qPrintable(refusal));
            return kFailed;
        }
    } catch (const std::exception& e) {
        PrintMessage(e.what());
        return kFailed;
    }
    return std::nullopt;
}

}  // namespace quill::companion
