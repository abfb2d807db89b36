// What the companion tells its user: one line on standard error after the program's name.
#pragma once

#include <QString>

#include "shell/Prompt.h"

namespace quill::companion {

// Exit statuses.
inline constexpr int kFailed = 1;
inline constexpr int kUsage = 2;

// A text made for a window, put on one line.
void PrintMessage(const QString& text);
// A text that is one line already, such as a failure naming files: its bytes as they are.
void PrintMessage(const char* text);

// A usage error with the pointer to --help; returns kUsage.
int UsageError(const QString& message);

// Notices are printed and questions answered No: a program without a user asks nothing.
// Failures are kept, not printed: a failed step makes the later steps fail too, so the
// first failure is the one that tells the cause, and the error box's procedure names and
// request for a screenshot mean nothing on the command line.
class ConsolePrompt : public Prompt {
  public:
    void Notice(const QString& text, const QString&) override { PrintMessage(text); }
    bool AskYesNo(const QString& text, const QString&) override {
        PrintMessage(text);
        return false;
    }
    void ReportError(const QString& text) override { Keep(text); }
    void ReportFailure(const QString& description, const QString&, int) override {
        Keep(description);
    }
    void ReportPlainFailure(const QString& description) override { Keep(description); }
    QString InputBox(const QString&, const QString&, const QString&) override { return {}; }
    QString SaveFileName(const QString&, const QString&) override { return {}; }

    bool Failed() const { return failed_; }
    const QString& FirstFailure() const { return firstFailure_; }

  private:
    void Keep(const QString& text) {
        if (!failed_) firstFailure_ = text;
        failed_ = true;
    }

    bool failed_ = false;
    QString firstFailure_;
};

}  // namespace quill::companion
