// The one way the program asks or tells the user anything: message boxes, the input box
// and the save dialog. Windows receive a Prompt and never open such boxes themselves,
// so tests replace it with a recording double and run without a display.
#pragma once

#include <QString>

namespace quill {

// What the user chose in the notice about a file just saved.
enum class SavedFileAction { Close, OpenFile, ShowFolder };

class Prompt {
  public:
    virtual ~Prompt() = default;

    // A notice with an OK button and no icon.
    virtual void Notice(const QString& text, const QString& title) = 0;

    // A question with Yes and No, No the default, no icon. True when the answer is Yes.
    virtual bool AskYesNo(const QString& text, const QString& title) = 0;

    // The error-report box: title "Application Error", warning icon, OK.
    virtual void ReportError(const QString& text) = 0;

    // A failure that the error trap caught at `line` of the traced procedure `path`
    // ("Form1.Form_Load"). By default the error-report box with the trap's text, which
    // names the procedure and asks for a screenshot; a prompt without a window to
    // photograph may say it its own way.
    virtual void ReportFailure(const QString& description, const QString& path, int line);
    // A failure the user can act on, caught by the error trap (a file that cannot be
    // written, categories too large for a workbook): its text says what is wrong. By default
    // a plain notice titled with the application title; nothing in it is the program's
    // fault, so the error-report box would mislead.
    virtual void ReportPlainFailure(const QString& description);

    // The input box with OK and Cancel; Cancel returns the empty text.
    virtual QString InputBox(const QString& prompt, const QString& title,
                             const QString& offered) = 0;

    // The save dialog. `filter` is a Qt name filter such as "Excel Files (*.xls)".
    // Returns the chosen path exactly as the user gave it, or the empty text on cancel.
    virtual QString SaveFileName(const QString& title, const QString& filter) = 0;

    // The save dialog with several entries separated by ";;" ("A (*.a);;B (*.b)"). `entry`
    // receives the index of the entry that was chosen (0 on cancel). By default the first
    // entry is taken for every name.
    virtual QString SaveFileNameFrom(const QString& title, const QString& filters, int& entry) {
        entry = 0;
        return SaveFileName(title, filters);
    }

    // The open dialog for an existing file; the empty text on cancel. By default cancelled.
    virtual QString OpenFileName(const QString& title, const QString& filter) {
        (void)title;
        (void)filter;
        return {};
    }

    // The same dialog opened at `start` (a folder and the suggested file name) with the
    // entry `entry` selected; `entry` then receives the chosen one. By default SaveFileNameFrom.
    virtual QString SaveFileNameAt(const QString& title, const QString& filters,
                                   const QString& start, int& entry) {
        (void)start;
        return SaveFileNameFrom(title, filters, entry);
    }

    // The notice that a file was saved: `text` as Notice shows it, `detail` beneath it (the
    // file's name), and the offer to open the file or show its folder. By default a plain
    // Notice of `text`, which offers nothing.
    virtual SavedFileAction SavedNotice(const QString& text, const QString& detail,
                                        const QString& title) {
        (void)detail;
        Notice(text, title);
        return SavedFileAction::Close;
    }
};

}  // namespace quill
