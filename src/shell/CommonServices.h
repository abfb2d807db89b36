// Small services that every window uses: file tests, quiet deletion, the application
// title and the places of the optional files beside the executable.
#pragma once

#include <QString>

namespace quill::Main {

// True when the path names an existing file or folder; never reports.
bool FileExists(const QString& path);

// Deletes one file and never reports anything. Pending window events are processed first.
// When the plain deletion fails, DeleteFileForced makes the file writable and tries again.
void DeleteFileQuietly(const QString& path);
void DeleteFileForced(const QString& path);

// The application title derived from a product name: from the last blank onward the name
// is cut while it is longer than 40 characters and still has a blank.
QString AppTitleFor(const QString& productName);

// Sets the application title once at start-up; AppTitle() titles the notices.
void SetAppTitle();
const QString& AppTitle();

// The folder that holds the executable, and the optional files looked up there.
QString ProgramFolder();
QString HandCursorFile();  // HAND-M.CUR
QString SkinFile();        // x/o.cjs

}  // namespace quill::Main
