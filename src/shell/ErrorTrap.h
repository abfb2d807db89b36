// The error trap of traced procedures.
//
// A traced procedure runs its statements as numbered steps; each step carries its own line
// number, the one the error-report box shows. When a step fails by throwing, the box names
// the procedure and the line, and the procedure goes on with its next step. A condition the
// user can act on, such as a file that cannot be written (quill::PlainFailure), is told as a
// plain notice instead. Nothing the failing step was to set is changed by the trap itself.
//
//     Trace trace(prompt, "Form1.Form_Load");
//     trace.Step(100, [&] { ApplySkin(); });
//     trace.Step(102, [&] { SetCaption(); });
//
// The numbers are written at the steps, so adding or removing a step never renumbers the
// others: the numbers users have reported stay valid.
#pragma once

#include <exception>
#include <functional>
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
    Trace(Prompt& prompt, QString path) : prompt_(prompt), path_(std::move(path)) {}

    // Runs the step numbered `line`. Returns false when it failed (and was reported).
    template <class F>
    bool Step(int line, F&& statement) {
        line_ = line;
        try {
            if (const StepObserver& observer = Observer()) observer(path_, line_);
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

    // The line number of the step that ran last.
    int Line() const { return line_; }
    const QString& Path() const { return path_; }

    // Sees every step before it runs, with its procedure and line; what it throws is that
    // step's failure. Tests use it to list the steps a procedure runs and to make one fail.
    using StepObserver = std::function<void(const QString& path, int line)>;
    static void SetObserver(StepObserver observer);

  private:
    static const StepObserver& Observer();
    void Report(const QString& description);

    Prompt& prompt_;
    QString path_;
    int line_ = 0;
};

}  // namespace quill
