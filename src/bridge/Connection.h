// Creating, probing and releasing spreadsheet applications, and choosing the file format.
#pragma once

#include <cstdint>
#include <memory>

#include <QString>

#include "bridge/SpreadsheetProvider.h"
#include "shell/Prompt.h"

namespace quill {

namespace IsInstalled {

// The message shown when no spreadsheet application can be created at start-up.
QString NotInstalledMessage();

// Creates an application and drops it again. When that fails, shows the message and
// returns false: the program must then end without showing or saving anything.
bool CheckExcelInstalled(SpreadsheetProvider& provider, Prompt& prompt);

}  // namespace IsInstalled

namespace Excel1 {

// The question asked when an instance may already be running.
QString RunningInstanceQuestion();

// True when a running instance can be bound and its name is the engine's own.
bool IsExcelRunning(SpreadsheetProvider& provider);

// When an instance runs, asks whether to go on; true means stop (the answer was not Yes).
bool ConfirmExcelClosed(SpreadsheetProvider& provider, Prompt& prompt);

// A new application with the file opened in its workbooks. Throws on failure.
std::unique_ptr<spreadsheet::Application> OpenWorkbookInNewApp(SpreadsheetProvider& provider,
                                                               const QString& path);

// The file format for an application's version: -4143 below version 12, else 56.
// Without an application a temporary one is created, asked and ended. The version text
// is read with the locale's decimal separator; a text that is not a number throws.
std::int32_t FileFormatFor(SpreadsheetProvider& provider, spreadsheet::Application* app = nullptr);
std::int32_t FileFormatForVersion(const QString& versionText);

}  // namespace Excel1

namespace PersonalFinance {

// The application and workbook of the report being generated.
struct ReportHandles {
    std::unique_ptr<spreadsheet::Application> ReportApp;
    spreadsheet::Workbook* ReportWorkbook = nullptr;
};

// Creates the report's application; throws when it cannot be created.
void OpenReportApp(ReportHandles& handles, SpreadsheetProvider& provider);
// Releases the report's application (without quitting it).
void ReleaseReportApp(ReportHandles& handles);

}  // namespace PersonalFinance

}  // namespace quill
