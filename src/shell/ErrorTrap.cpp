#include "shell/ErrorTrap.h"

#include <new>
#include <stdexcept>

#include "shell/Config.h"

namespace quill {

QString ErrorReportText(const QString& description, const QString& path, int line) {
    return description + QStringLiteral("\r\nin ") + QString::fromLatin1(config::kTracePrefix) +
           path + QStringLiteral(" at line ") + QString::number(line) +
           QStringLiteral("\r\rPlease email screenshot of this message to ") +
           QString::fromLatin1(config::kSupportAddress);
}

QString DescribeCurrentException() {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return QStringLiteral("Out of memory");
    } catch (const std::overflow_error& e) {
        return QStringLiteral("Overflow: ") + QString::fromUtf8(e.what());
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Unexpected failure");
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
