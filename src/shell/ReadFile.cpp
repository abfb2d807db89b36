#include "shell/ReadFile.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>

#include "shell/Descriptor.h"
#include "shell/Failure.h"
#include "shell/SafeReplace.h"

namespace quill::shell {

QByteArray ReadRegularFile(const QString& path, qint64 maxBytes) {
    const auto fail = [&](const QString& reason) {
        throw FileFailure(QCoreApplication::translate("quill::SafeReplace", "Cannot read %1: %2")
                              .arg(path, reason));
    };
    const Descriptor in(
        ::open(SafeReplace::EncodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (in.get() < 0) fail(qt_error_string(errno));
    struct stat info {};
    if (::fstat(in.get(), &info) != 0) fail(qt_error_string(errno));
    if (!S_ISREG(info.st_mode))
        fail(QCoreApplication::translate("quill::SafeReplace", "it is not a regular file"));
    const QString tooLarge =
        QCoreApplication::translate("quill::SafeReplace", "it is larger than %1 MB")
            .arg(maxBytes >> 20);
    if (info.st_size > maxBytes) fail(tooLarge);
    QByteArray bytes;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(in.get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) continue;
            fail(qt_error_string(errno));
        }
        if (got == 0) return bytes;
        // The file may grow while it is read.
        if (bytes.size() + got > maxBytes) fail(tooLarge);
        bytes.append(buffer, got);
    }
}

}  // namespace quill::shell
