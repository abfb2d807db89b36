#include "shell/ErrorTrap.h"

#include <new>
#include <stdexcept>

#include <QCoreApplication>

#include "shell/Config.h"

namespace quill {

QString ErrorReportText(const QString& description, const QString& path, int line) {
    // The procedure and line stay in English in every language: support reads them back.
    return description + QStringLiteral("\r\nin ") + QString::fromLatin1(config::kTracePrefix) +
           path + QStringLiteral(" at line ") + QString::number(line) + QStringLiteral("\r\r") +
           QCoreApplication::translate("quill::ErrorTrap",
                                       "Please email screenshot of this message to %1")
               .arg(QString::fromLatin1(config::kSupportAddress));
}

QString DescribeCurrentException() {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return QCoreApplication::translate("quill::ErrorTrap", "Out of memory");
    } catch (const std::overflow_error& e) {
        return QCoreApplication::translate("quill::ErrorTrap", "Overflow: %1")
            .arg(QString::fromUtf8(e.what()));
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QCoreApplication::translate("quill::ErrorTrap", "Unexpected failure");
    }
}

namespace {
Trace::StepObserver& ObserverStorage() {
    static Trace::StepObserver observer;
    return observer;
}
}  // namespace

void Trace::SetObserver(StepObserver observer) {
    ObserverStorage() = std::move(observer);
}

const Trace::StepObserver& Trace::Observer() {
    return ObserverStorage();
}

void Trace::Report(const QString& description) {
    prompt_.ReportFailure(description, path_, line_);
}

}  // namespace quill
