#include "shell/RuntimeFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <QByteArray>
#include <QtGlobal>

#include "shell/SafeReplace.h"
#include "shell/TempFolder.h"

namespace quill::shell {

namespace {

// A folder that only this user can enter: no link, our own, nobody else's permissions.
bool IsPrivateFolder(const QByteArray& path) {
    struct stat info {};
    return ::lstat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::geteuid() && (info.st_mode & 0777) == 0700;
}

}  // namespace

QString ProvideRuntimeFolder() {
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) return {};
    // The first folder the per-run folders may be made in: TMPDIR when it names one, else /tmp.
    const QByteArray base = SafeReplace::EncodeName(TempFolder::BaseFolders().constFirst());
    const QByteArray path =
        base + "/quillmere-runtime-" + QByteArray::number(static_cast<qulonglong>(::geteuid()));
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) return {};
    if (!IsPrivateFolder(path)) return {};
    qputenv("XDG_RUNTIME_DIR", path);
    return QString::fromLocal8Bit(path);
}

void PrepareProcessFolders() {
    TempFolder::RepairEnvironment();
    // Qt's warning about a missing runtime folder is not the user's business.
    ProvideRuntimeFolder();
    TempFolder::RemoveStaleFolders();
}

}  // namespace quill::shell
