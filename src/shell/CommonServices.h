// Small services that every window uses: file tests, quiet deletion, the application
// title and the places of the optional files (the skin and the hand pointer).
#pragma once

#include <QString>

namespace quill::shell {

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

// The folder that holds the executable.
QString ProgramFolder();

// The installed data folder as seen from a program folder: where the install puts the
// program's data relative to where it puts the executables (<prefix>/share/quillmere
// for <prefix>/bin).
QString DataFolderFor(const QString& programFolder);

// An optional file given relative to the program folder ("x/o.cjs"): beside the
// executable when it is there, otherwise in the installed data folder, so that both a
// build folder and an installed copy find their files. When neither place has it, the
// path beside the executable, which then does not exist.
QString OptionalFileFor(const QString& programFolder, const QString& name);

// The optional files of the running program.
QString HandCursorFile();  // HAND-M.CUR
QString SkinFile();        // x/o.cjs

}  // namespace quill::shell
