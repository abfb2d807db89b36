// Creating and probing spreadsheet applications of the embedded engine.
#pragma once

#include <memory>

#include <QString>

#include "bridge/SpreadsheetProvider.h"
#include "shell/Prompt.h"

namespace quill::bridge {

// The message shown when no spreadsheet application can be created at start-up.
QString NotInstalledMessage();

// Creates an application of the embedded engine and drops it again. When that fails, shows
// the message and returns false: the program must then end without showing or saving
// anything.
bool CheckEngineAvailable(SpreadsheetProvider& provider, Prompt& prompt);

// A new application; throws when none can be created.
std::unique_ptr<spreadsheet::Application> CreateApplication(SpreadsheetProvider& provider);

// A new application with the file opened in its workbooks. Throws on failure.
std::unique_ptr<spreadsheet::Application> OpenWorkbookInNewApp(SpreadsheetProvider& provider,
                                                               const QString& path);

}  // namespace quill::bridge
