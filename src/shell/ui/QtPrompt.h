// The prompt interface over Qt's message boxes, input dialog and file dialog.
#pragma once

#include "shell/Prompt.h"

class QWidget;

namespace quill {

class QtPrompt : public Prompt {
  public:
    // Boxes are centred on the active window, or on `fallbackParent` when none is active.
    explicit QtPrompt(QWidget* fallbackParent = nullptr) : fallbackParent_(fallbackParent) {}

    void Notice(const QString& text, const QString& title) override;
    bool AskYesNo(const QString& text, const QString& title) override;
    void ReportError(const QString& text) override;
    QString InputBox(const QString& prompt, const QString& title, const QString& offered) override;
    QString SaveFileName(const QString& title, const QString& filter) override;
    QString SaveFileNameFrom(const QString& title, const QString& filters, int& entry) override;
    QString OpenFileName(const QString& title, const QString& filter) override;
    QString SaveFileNameAt(const QString& title, const QString& filters, const QString& start,
                           int& entry) override;
    SavedFileAction SavedNotice(const QString& text, const QString& detail,
                                const QString& title) override;

  private:
    QWidget* Parent() const;
    QWidget* fallbackParent_;
};

// Message texts use CR LF and lone CR as line breaks; Qt boxes want LF.
QString ToDisplayText(const QString& text);

// A notice's text as rich text whose web and mail addresses are links that do not break
// across lines; rich text stays as it is, and a text without addresses gives an empty text
// (it is shown as plain text).
QString ToLinkedText(const QString& text);

}  // namespace quill
