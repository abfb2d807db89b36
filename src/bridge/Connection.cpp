#include "bridge/Connection.h"

#include <QCoreApplication>

#include "shell/CommonServices.h"
#include "shell/Failure.h"

namespace quill::bridge {

QString NotInstalledMessage() {
    const QString gap = QStringLiteral("\r\n\r\n");
    return QCoreApplication::translate(
               "quill::bridge::Messages",
               "Error 842001. A normal instance of Excel could not be created.") +
           gap +
           QCoreApplication::translate("quill::bridge::Messages",
                                       "1. Please make sure Excel is installed on this computer.") +
           gap +
           QCoreApplication::translate(
               "quill::bridge::Messages",
               "2. Please open Excel normally and make sure a blank spreadsheet opens "
               "immediately without any interrupting window (such as an Excel file "
               "recovery window).") +
           gap +
           QCoreApplication::translate(
               "quill::bridge::Messages",
               "3. Please make sure that when you double-click on a XLS or XLSX file "
               "that Excel opens normally without any interrupting messages.") +
           gap +
           QCoreApplication::translate(
               "quill::bridge::Messages",
               "4. All versions of Excel are supported by this software except for the "
               "rare Excel Starter and Student editions.");
}

bool CheckEngineAvailable(SpreadsheetProvider& provider, Prompt& prompt) {
    bool created = false;
    try {
        created = provider.Create() != nullptr;  // released at once, never quit
    } catch (...) {
        created = false;
    }
    if (!created) prompt.Notice(NotInstalledMessage(), shell::AppTitle());
    return created;
}

std::unique_ptr<spreadsheet::Application> CreateApplication(SpreadsheetProvider& provider) {
    std::unique_ptr<spreadsheet::Application> app = provider.Create();
    if (!app)
        throw Failure(QCoreApplication::translate(
            "quill::bridge::Messages", "The spreadsheet application could not be created"));
    return app;
}

std::unique_ptr<spreadsheet::Application> OpenWorkbookInNewApp(SpreadsheetProvider& provider,
                                                               const QString& path) {
    auto app = CreateApplication(provider);
    app->Workbooks().Open(path.toStdString());
    return app;
}

}  // namespace quill::bridge
