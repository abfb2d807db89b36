// The error trap of traced procedures.
//
// A traced procedure runs its statements as numbered steps (100, 102, 104, ...). When a
// step fails by throwing, the error-report box names the procedure and the line, and the
// procedure goes on with its next step. A condition the user can act on, such as a
// file that cannot be written (quill::PlainFailure), is told as a plain notice instead. Nothing the
// failing step was to set is changed by the trap itself.
//
//     Trace trace(prompt, "Form1.Form_Load");
//     trace.Step([&] { ApplySkin(); });          // line 100
//     trace.Step([&] { SetCaption(); });         // line 102
#pragma once

#include <exception>
#include <utility>

#include <QString>

#include "shell/Failure.h"
#include "shell/Prompt.h"

namespace quill {

// The text of the error-report box for a failure at `line` of the procedure `path`
// ("Form1.Form_Load"): description, the procedure and line, and the support request.
QString ErrorReportText(const QString& description, const QString& path, int line);

// The description of the exception in flight (call inside a catch block).
QString DescribeCurrentException();

class Trace {
  public:
    Trace(Prompt& prompt, QString path, int firstLine = 100)
        : prompt_(prompt), path_(std::move(path)), nextLine_(firstLine) {}

    // Runs the next numbered step. Returns false when it failed (and was reported).
    template <class F>
    bool Step(F&& statement) {
        line_ = nextLine_;
        nextLine_ += 2;
        try {
            std::forward<F>(statement)();
            return true;
        } catch (const PlainFailure& failure) {
            prompt_.ReportPlainFailure(QString::fromUtf8(failure.what()));
            return false;
        } catch (...) {
            Report(DescribeCurrentException());
            return false;
        }
    }

    // Skips a line number without running anything, for a statement that a branch leaves out.
    void Skip() { nextLine_ += 2; }

    // The line number of the step that ran last.
    int Line() const { return line_; }
    const QString& Path() const { return path_; }

  private:
    void Report(const QString& description);

    Prompt& prompt_;
    QString path_;
    int nextLine_;
    int line_ = 0;
};

}  // namespace quill
