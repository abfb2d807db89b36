#include "bridge/Connection.h"

#include <cmath>
#include <limits>

#include <QLocale>

#include "model/Amounts.h"
#include "shell/CommonServices.h"
#include "shell/Failure.h"

namespace quill {

namespace {

std::unique_ptr<spreadsheet::Application> CreateOrThrow(SpreadsheetProvider& provider) {
    std::unique_ptr<spreadsheet::Application> app = provider.Create();
    if (!app) throw Failure("The spreadsheet application could not be created");
    return app;
}

}  // namespace

namespace IsInstalled {

QString NotInstalledMessage() {
    const QString gap = QStringLiteral("\r\n\r\n");
    return QStringLiteral("Error 842001. A normal instance of Excel could not be created.") + gap +
           QStringLiteral("1. Please make sure Excel is installed on this computer.") + gap +
           QStringLiteral(
               "2. Please open Excel normally and make sure a blank spreadsheet opens "
               "immediately without any interrupting window (such as an Excel file "
               "recovery window).") +
           gap +
           QStringLiteral(
               "3. Please make sure that when you double-click on a XLS or XLSX file "
               "that Excel opens normally without any interrupting messages.") +
           gap +
           QStringLiteral(
               "4. All versions of Excel are supported by this software except for the "
               "rare Excel Starter and Student editions.");
}

bool CheckExcelInstalled(SpreadsheetProvider& provider, Prompt& prompt) {
    bool created = false;
    try {
        created = provider.Create() != nullptr;  // released at once, never quit
    } catch (...) {
        created = false;
    }
    if (!created) prompt.Notice(NotInstalledMessage(), Main::AppTitle());
    return created;
}

}  // namespace IsInstalled

namespace Excel1 {

QString RunningInstanceQuestion() {
    return QStringLiteral(
        "Excel may be open. It is recommended that you close Excel first.\r"
        "Use Ctrl+Alt+Del > Task Manager > EXCEL.EXE if necessary.\r\n\r\n"
        "Would you like to proceed anyway?");
}

bool IsExcelRunning(SpreadsheetProvider& provider) {
    try {
        const auto name = provider.RunningInstanceName();
        return name && *name == spreadsheet::Application::kName;
    } catch (...) {
        return false;
    }
}

bool ConfirmExcelClosed(SpreadsheetProvider& provider, Prompt& prompt) {
    if (!IsExcelRunning(provider)) return false;
    return !prompt.AskYesNo(RunningInstanceQuestion(), Main::AppTitle());
}

std::unique_ptr<spreadsheet::Application> OpenWorkbookInNewApp(SpreadsheetProvider& provider,
                                                               const QString& path) {
    auto app = CreateOrThrow(provider);
    app->Workbooks().Open(path.toStdString());
    return app;
}

std::int32_t FileFormatForVersion(const QString& versionText) {
    const QString localized = Options::LocalizeDecimalText(versionText);
    bool ok = false;
    const double value = QLocale().toDouble(localized.trimmed(), &ok);
    if (!ok) throw Failure("Type mismatch: version \"" + versionText + "\"");
    // Whole numbers are rounded half to even, as a 16-bit conversion of the locale does.
    const double rounded = std::nearbyint(value);
    if (rounded < std::numeric_limits<std::int16_t>::min() ||
        rounded > std::numeric_limits<std::int16_t>::max())
        throw Failure("Overflow: version \"" + versionText + "\"");
    constexpr double kFirstVersionOfNewFormat = 12;
    return rounded < kFirstVersionOfNewFormat ? spreadsheet::xl::kWorkbookNormal
                                              : spreadsheet::xl::kExcel8;
}

std::int32_t FileFormatFor(SpreadsheetProvider& provider, spreadsheet::Application* app) {
    if (app != nullptr) return FileFormatForVersion(QString::fromStdString(app->Version()));
    auto probe = CreateOrThrow(provider);
    const QString version = QString::fromStdString(probe->Version());
    probe->Quit();
    return FileFormatForVersion(version);
}

}  // namespace Excel1

namespace PersonalFinance {

void OpenReportApp(ReportHandles& handles, SpreadsheetProvider& provider) {
    handles.ReportApp = CreateOrThrow(provider);
}

void ReleaseReportApp(ReportHandles& handles) {
    handles.ReportWorkbook = nullptr;
    handles.ReportApp.reset();
}

}  // namespace PersonalFinance

}  // namespace quill
