// quillmere-sheet: generates the budget workbook without windows.
//
//   quillmere-sheet [--defaults | --synthetic GxI | --categories CSV] [--income0 N ...]
//                   [--currency CODE] [--paper a4|letter]
//                   -o FILE [--format xls|xlsx|pdf] [--picture FILE]
//   quillmere-sheet [--defaults | --synthetic GxI | --categories CSV] --export-categories CSV
//   quillmere-sheet --help | --version
//
// The workbook is written as .xls, or as .xlsx or PDF when FILE ends so or --format says so.
// The categories and incomes come from the user's settings store (as the windowed program
// left them) unless --defaults, --synthetic or --categories (a CSV file of categories and
// planned amounts; "-" reads standard input) is given; single incomes can be overridden,
// and so can the currency and the paper.
// --export-categories writes the categories the run would use as CSV and no workbook.
// Outputs are written to temporary files beside their targets and renamed into place once
// all of them are complete, so a failure leaves every target as it was. "-" as a target
// means standard output. An existing target that is not a regular file, or is read-only,
// is refused and left alone; two outputs may not name the same file, and no output may
// name the settings file or its backup. File names are kept as the bytes given.
// SIGTERM, SIGINT and SIGHUP remove the per-run temporary folder before the program ends;
// at start, the per-run folders and the targets' temporary files that killed runs left
// behind are removed.
// Its messages and the sheet follow the user's language (German, French, Spanish or English).
// Exit status: 0 done, 1 generation failed, 2 usage. A failure is told in one line on
// standard error: what failed, and what can be done about it.
#include <csignal>
#include <memory>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QStringList>

#include "companion/CommandLine.h"
#include "companion/Generation.h"
#include "companion/RunGuard.h"
#include "companion/Targets.h"
#include "shell/RuntimeFolder.h"
#include "shell/SafeReplace.h"
#include "shell/TempFolder.h"
#include "shell/Translations.h"

using namespace quill;

int main(int argc, char** argv) {
    // File names keep every byte, also where they are not UTF-8.
    QStringList args;
    for (int i = 0; i < argc; ++i) args << SafeReplace::DecodeName(QByteArray(argv[i]));
    // The messages, --help among them, and the sheet's captions speak the user's language,
    // which needs an application object to install the translations into.
    auto app = std::make_unique<QCoreApplication>(argc, argv);
    auto translations = std::make_unique<shell::Translations>(shell::Program::Companion);
    companion::CommandLine options;
    if (const auto status = companion::ParseOptions(args, options)) return *status;

    if (const auto status = companion::CheckTargets(options)) return *status;
    // A reader of standard output that goes away is reported as a failed write.
    std::signal(SIGPIPE, SIG_IGN);

    // Besides what killed runs left in the temporary folder, the temporaries they left
    // beside the targets.
    shell::PrepareProcessFolders();
    for (const auto& target : companion::FileTargets(options))
        SafeReplace::RemoveStaleTemporaries(target.second);
    // Drawing text (the picture, PDF pages) needs a GUI application, made in place of the
    // plain one (and the translations installed into it again); a workbook alone does not
    // need one, and starts faster.
    if (!options.pictureOut.isEmpty() ||
        (!options.workbookOut.isEmpty() &&
         companion::OutputFormat(options) == bridge::SaveFormat::Pdf)) {
        translations.reset();
        app.reset();
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
        translations = std::make_unique<shell::Translations>(shell::Program::Companion);
    }
    companion::RunGuard guard;
    return companion::Run(options, guard);
}
