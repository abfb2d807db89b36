// A prompt that records what would have been shown and answers from a script.
#pragma once

#include <deque>
#include <vector>

#include <QString>

#include "shell/Prompt.h"

namespace quill::test {

struct Shown {
    enum Kind { Notice, Question, Error, Input, Save } kind;
    QString text;
    QString title;
};

class RecordingPrompt : public Prompt {
  public:
    void Notice(const QString& text, const QString& title) override;
    bool AskYesNo(const QString& text, const QString& title) override;
    void ReportError(const QString& text) override;
    QString InputBox(const QString& prompt, const QString& title, const QString& offered) override;
    QString SaveFileName(const QString& title, const QString& filter) override;
    QString SaveFileNameFrom(const QString& title, const QString& filters, int& entry) override;
    QString OpenFileName(const QString& title, const QString& filter) override;
    QString SaveFileNameAt(const QString& title, const QString& filters, const QString& start,
                           int& entry) override;
    // Recorded as a notice of `text`; the detail is kept in lastDetail.
    SavedFileAction SavedNotice(const QString& text, const QString& detail,
                                const QString& title) override;

    // Scripted answers, taken in order; when none is left, questions answer No and the
    // input box and the save dialog are cancelled.
    std::deque<bool> yesNo;
    std::deque<QString> inputs;
    std::deque<QString> saveNames;
    std::deque<int> saveEntries;    // the filter entry chosen with each name (else the first)
    std::deque<QString> openNames;  // the open dialog's answers (else cancelled)
    std::deque<SavedFileAction> savedActions;  // answers to the saved-file notice (else Close)

    std::vector<Shown> shown;
    QString lastOffered;        // the text the last input box offered
    QString lastFilter;         // the filter of the last save dialog
    QString lastStart;          // where the last save dialog opened (SaveFileNameAt)
    int lastOfferedEntry = -1;  // the entry it offered
    QString lastDetail;         // the detail of the last saved-file notice

    std::vector<QString> Errors() const;
    std::vector<QString> Notices() const;
    std::vector<QString> Questions() const;
};

}  // namespace quill::test
