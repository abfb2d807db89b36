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
#include <cstdio>
#include <cstring>

#include <QApplication>
#include <QIcon>

#include "bridge/SpreadsheetProvider.h"
#include "editor/CategoryEditorWindow.h"
#include "model/AppState.h"
#include "model/SettingsStore.h"
#include "shell/SafeReplace.h"
#include "shell/SignalWatcher.h"
#include "shell/TempFolder.h"
#include "shell/ui/QtPrompt.h"

int main(int argc, char** argv) {
    // Answered before the application object exists, so that it needs no display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("quillmere %s\n", QUILL_VERSION);
            return 0;
        }
    }

    int interrupted = 0;
    int status = 0;
    {
        quill::TempFolder::RepairEnvironment();
        quill::TempFolder::RemoveStaleFolders();
        QApplication app(argc, argv);
        // Lets the desktop match the windows to the installed menu entry and its icon.
        QGuiApplication::setDesktopFileName(QStringLiteral("example.quillmere.Quillmere"));
        QApplication::setWindowIcon(
            QIcon::fromTheme(QStringLiteral("example.quillmere.Quillmere")));
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
