#include "shell/Prompt.h"

#include "shell/CommonServices.h"
#include "shell/ErrorTrap.h"

namespace quill {

void Prompt::ReportFailure(const QString& description, const QString& path, int line) {
    ReportError(ErrorReportText(description, path, line));
}

void Prompt::ReportPlainFailure(const QString& description) {
    Notice(description, shell::AppTitle());
}

}  // namespace quill
