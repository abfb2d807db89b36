// quillmere: the windowed program. The main window's load prepares everything; when it
// finds no spreadsheet engine the program ends without showing a window or saving.
//
// main owns what lives as long as the program: the application state that the windows
// share, the settings store, the engine's provider, the prompt and the private temporary
// folder (removed with its contents at the end).
//
// SIGTERM and SIGHUP (a session logging out, a service manager stopping it) close the main
// window, which saves the edits; SIGINT ends the program without saving. Either way the
// temporary folder is removed before the program ends. What a killed run left behind (its
// temporary folder, a temporary file beside the settings file) is removed at start.
//
// --help and --version are answered without a display. Without any display (no DISPLAY, no
// WAYLAND_DISPLAY, no QT_QPA_PLATFORM) or with one that cannot be reached, the program says
// so in one line on standard error and exits with status 1. Both answers, like the windows,
// speak the desktop's language.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <QByteArrayList>

#include <QApplication>
#include <QIcon>

#include "bridge/SpreadsheetProvider.h"
#include "editor/CategoryEditorWindow.h"
#include "model/AppState.h"
#include "model/SettingsStore.h"
#include "shell/RuntimeFolder.h"
#include "shell/SafeReplace.h"
#include "shell/SignalWatcher.h"
#include "shell/TempFolder.h"
#include "shell/Translations.h"
#include "shell/ui/QtPrompt.h"

namespace {

// The texts main prints itself, translated in the context kCommandLine.
constexpr const char* kCommandLine = "quill::app::CommandLine";

constexpr const char* kUsage = QT_TRANSLATE_NOOP(
    "quill::app::CommandLine",
    "Usage: quillmere [--help | --version]\n"
    "\n"
    "Quillmere builds a household budget workbook. Keep a list of budget categories and four\n"
    "income figures in its window, press Start Creating Template, and save the previewed\n"
    "\"Personal Finance\" sheet as .xls, .xlsx or PDF, or print it.\n"
    "\n"
    "Options:\n"
    "  --help     show this help and exit\n"
    "  --version  show the version and exit\n"
    "\n"
    "The categories and incomes are kept in $XDG_CONFIG_HOME/Tarnwick.ini (by default\n"
    "~/.config/Tarnwick.ini). The program needs a desktop session (X11 or Wayland); the\n"
    "command-line companion quillmere-sheet makes the same workbook without one.\n");

constexpr const char* kNoDisplay = QT_TRANSLATE_NOOP(
    "quill::app::CommandLine",
    "quillmere: no display found: start it in a desktop session (DISPLAY or WAYLAND_DISPLAY "
    "set), or use quillmere-sheet without one\n");

// Prints one of the texts above in the desktop's language.
void Print(const char* text, std::FILE* stream) {
    const QString shown =
        quill::shell::TranslatedBeforeStart(quill::shell::Program::Windows, kCommandLine, text);
    std::fputs(shown.toLocal8Bit().constData(), stream);
}

bool DisplayNamed() {
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
           !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// While the application connects to the display: Qt's own complaints are held back, and a
// display that cannot be reached ends the program with the one line instead of Qt's abort.
QtMessageHandler previousHandler = nullptr;
QList<QPair<QtMsgType, QString>> heldMessages;
QList<QByteArray> heldCategories;

void HoldWhileConnecting(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        Print(kNoDisplay, stderr);
        std::_Exit(1);
    }
    heldMessages.append({type, text});
    heldCategories.append(QByteArray(context.category != nullptr ? context.category : "default"));
}

void StopHolding() {
    qInstallMessageHandler(previousHandler);
    for (qsizetype i = 0; i < heldMessages.size(); ++i) {
        const QMessageLogContext context(nullptr, 0, nullptr, heldCategories[i].constData());
        qt_message_output(heldMessages[i].first, context, heldMessages[i].second);
    }
    heldMessages.clear();
    heldCategories.clear();
}

}  // namespace

int main(int argc, char** argv) {
    // Answered before the application object exists, so that they need no display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("quillmere %s\n", QUILL_VERSION);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            Print(kUsage, stdout);
            return 0;
        }
    }
    if (!DisplayNamed()) {
        Print(kNoDisplay, stderr);
        return 1;
    }

    int interrupted = 0;
    int status = 0;
    {
        quill::shell::PrepareProcessFolders();
        previousHandler = qInstallMessageHandler(HoldWhileConnecting);
        QApplication app(argc, argv);
        StopHolding();
        // Lets the desktop match the windows to the installed menu entry and its icon.
        QGuiApplication::setDesktopFileName(QStringLiteral("example.quillmere.Quillmere"));
        QApplication::setWindowIcon(
            QIcon::fromTheme(QStringLiteral("example.quillmere.Quillmere")));
        // The windows' texts in the desktop's language, for as long as there are windows.
        const quill::shell::Translations translations(quill::shell::Program::Windows);
        quill::SignalWatcher watcher;

        quill::TempFolder tempFolder;
        quill::EmbeddedProvider provider;
        quill::QtPrompt prompt;
        quill::AppState state;
        quill::SettingsStore store;
        quill::SafeReplace::RemoveStaleTemporaries(store.FilePath());

        quill::editor::CategoryEditorWindow editor({state, prompt, store, provider, tempFolder});
        QObject::connect(&watcher, &quill::SignalWatcher::received, &editor, [&](int signal) {
            if (signal == SIGINT) {
                interrupted = signal;
                QCoreApplication::exit(128 + signal);
            } else {
                editor.close();
            }
        });
        if (!editor.Load()) return 0;
        editor.show();
        status = app.exec();
    }
    // Everything is gone now, the temporary folder too; end as the interrupt asked.
    if (interrupted != 0) quill::SignalWatcher::EndBy(interrupted);
    return status;
}
