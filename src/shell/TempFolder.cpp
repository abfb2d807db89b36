#include "shell/TempFolder.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>

#include "shell/Descriptor.h"
#include "shell/Failure.h"
#include "shell/SafeReplace.h"

namespace quill {

namespace {

const QString kSystemFolder = QStringLiteral("/tmp");

// A per-run folder is kFolderPrefix and six letters or digits (as mkdtemp makes them); its
// lock file is made as kNewLockName, locked, and then renamed to kLockName, so that no
// process ever sees kLockName unlocked while the folder's owner lives.
constexpr char kFolderPrefix[] = "quillmere-";
constexpr char kLockName[] = ".lock";
constexpr char kNewLockName[] = ".lock-new";

// The TMPDIR that RepairEnvironment replaced, for the messages.
QString& ReplacedSetting() {
    static QString value;
    return value;
}

bool IsFolder(const QByteArray& path) {
    struct stat info {};
    return ::stat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

// $TMPDIR when it is set but names no folder.
QString UnusableSetting() {
    const QByteArray chosen = qgetenv("TMPDIR");
    if (!chosen.isEmpty() && !IsFolder(chosen)) return SafeReplace::DecodeName(chosen);
    return ReplacedSetting();
}

bool IsRunFolderName(const char* name) {
    const std::size_t prefix = sizeof kFolderPrefix - 1;
    if (std::strlen(name) != prefix + 6 || std::strncmp(name, kFolderPrefix, prefix) != 0)
        return false;
    return std::all_of(name + prefix, name + prefix + 6, shell::IsLetterOrDigit);
}

using shell::CloseFolder;
using shell::Descriptor;
using shell::SameInode;

// Removes the folder `name` of the folder `parentFd` with everything in it. Links are
// removed, never followed.
void RemoveTree(int parentFd, const char* name) {
    const int fd = ::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0) {
        const std::unique_ptr<DIR, CloseFolder> dir(::fdopendir(fd));
        if (!dir) {
            ::close(fd);
        } else {
            std::vector<QByteArray> entries;
            while (const dirent* entry = ::readdir(dir.get()))
                if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
                    entries.emplace_back(entry->d_name);
            for (const QByteArray& entry : entries)
                if (::unlinkat(fd, entry.constData(), 0) != 0 &&
                    (errno == EISDIR || errno == EPERM))
                    RemoveTree(fd, entry.constData());
        }
    }
    ::unlinkat(parentFd, name, AT_REMOVEDIR);
}

// Marks the new per-run folder as this process's; returns the lock file's descriptor, or
// -1 where it cannot be made or locked (the folder then stays unmarked, so that nobody
// takes it for a stale one). The process id in it is for people who look.
int MarkOwner(const QByteArray& folder) {
    const QByteArray fresh = folder + '/' + kNewLockName;
    const int fd =
        ::open(fresh.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return -1;
    const QByteArray pid = QByteArray::number(::getpid()) + '\n';
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 ||
        ::write(fd, pid.constData(), static_cast<size_t>(pid.size())) != pid.size() ||
        ::rename(fresh.constData(), (folder + '/' + kLockName).constData()) != 0) {
        ::close(fd);
        ::unlink(fresh.constData());
        return -1;
    }
    return fd;
}

// Removes the per-run folder `name` of the folder `baseFd` when it is this user's and its
// lock file can be locked: its process is gone. The lock is held while it is removed.
void RemoveIfOwnerGone(int baseFd, const char* name) {
    struct stat folder {};
    if (::fstatat(baseFd, name, &folder, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISDIR(folder.st_mode) ||
        folder.st_uid != ::geteuid())
        return;
    const Descriptor folderFd(
        ::openat(baseFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat opened {};
    if (folderFd.get() < 0 || ::fstat(folderFd.get(), &opened) != 0 || !SameInode(opened, folder))
        return;
    const Descriptor lock(::openat(folderFd.get(), kLockName,
                                   O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat lockInfo {};
    if (lock.get() < 0 || ::fstat(lock.get(), &lockInfo) != 0 || !S_ISREG(lockInfo.st_mode) ||
        lockInfo.st_uid != ::geteuid())
        return;  // not marked: nothing says whose it is
    if (::flock(lock.get(), LOCK_EX | LOCK_NB) != 0) return;  // its process is at work
    struct stat now {};
    if (::fstatat(baseFd, name, &now, AT_SYMLINK_NOFOLLOW) == 0 && SameInode(now, folder))
        RemoveTree(baseFd, name);
}

}  // namespace

void TempFolder::RepairEnvironment() {
    const QByteArray chosen = qgetenv("TMPDIR");
    if (chosen.isEmpty() || IsFolder(chosen)) return;
    ReplacedSetting() = SafeReplace::DecodeName(chosen);
    qputenv("TMPDIR", SafeReplace::EncodeName(kSystemFolder));
}

TempFolder::TempFolder() = default;

TempFolder::~TempFolder() {
    if (!path_.isEmpty()) RemoveTree(AT_FDCWD, SafeReplace::EncodeName(path_).constData());
    if (lock_ >= 0) ::close(lock_);
}

QStringList TempFolder::BaseFolders() {
    QStringList folders;
    const QByteArray chosen = qgetenv("TMPDIR");
    if (!chosen.isEmpty() && IsFolder(chosen)) folders << SafeReplace::DecodeName(chosen);
    if (!folders.contains(kSystemFolder)) folders << kSystemFolder;
    return folders;
}

QString TempFolder::Path() {
    if (!path_.isEmpty()) return path_;
    QStringList problems;
    for (const QString& base : BaseFolders()) {
        QByteArray folder = SafeReplace::EncodeName(base) + '/' + kFolderPrefix + "XXXXXX";
        if (::mkdtemp(folder.data()) == nullptr) {
            problems << QCoreApplication::translate("quill::TempFolder", "in %1: %2")
                            .arg(base, qt_error_string(errno));
            continue;
        }
        lock_ = MarkOwner(folder);
        path_ = SafeReplace::DecodeName(folder);
        return path_;
    }
    QString text =
        QCoreApplication::translate("quill::TempFolder", "Cannot create a temporary folder %1")
            .arg(problems.join(u"; "));
    if (const QString unusable = UnusableSetting(); !unusable.isEmpty())
        text += QCoreApplication::translate("quill::TempFolder",
                                            " (TMPDIR names %1, which is not a folder)")
                    .arg(unusable);
    throw Failure(text + QCoreApplication::translate("quill::TempFolder",
                                                     ". Set TMPDIR to a folder you can write to."));
}

void TempFolder::RemoveStaleFolders() {
    for (const QString& base : BaseFolders()) {
        const std::unique_ptr<DIR, CloseFolder> dir(
            ::opendir(SafeReplace::EncodeName(base).constData()));
        if (!dir) continue;
        std::vector<QByteArray> found;
        while (const dirent* entry = ::readdir(dir.get()))
            if (IsRunFolderName(entry->d_name)) found.emplace_back(entry->d_name);
        for (const QByteArray& name : found)
            RemoveIfOwnerGone(::dirfd(dir.get()), name.constData());
    }
}

}  // namespace quill
