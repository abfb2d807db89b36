#include "shell/SafeReplace.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>

#include "shell/Descriptor.h"
#include "shell/Failure.h"

namespace quill::SafeReplace {

namespace {

constexpr int kMostLinks = 40;  // as many links as the system follows in one path
constexpr qint64 kChunkSize = 64 * 1024;

// The temporary file of a target is named "." + the target's name + kTemporaryMark + six
// letters or digits.
constexpr char kTemporaryMark[] = ".quillmere-";
constexpr qsizetype kRandomLetters = 6;

QByteArray Native(const QString& path) {
    return EncodeName(path);
}

QString Reason(int error) {
    return qt_error_string(error);
}

using shell::CloseFolder;
using shell::Descriptor;
using shell::IsLetterOrDigit;
using shell::SameInode;

QString KindOf(mode_t mode) {
    if (S_ISDIR(mode)) return QCoreApplication::translate("quill::SafeReplace", "a folder");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QCoreApplication::translate("quill::SafeReplace", "a device");
    if (S_ISFIFO(mode)) return QCoreApplication::translate("quill::SafeReplace", "a named pipe");
    if (S_ISSOCK(mode)) return QCoreApplication::translate("quill::SafeReplace", "a socket");
    return QCoreApplication::translate("quill::SafeReplace", "not a regular file");
}

QString RefusalOf(const QString& shown, const QString& resolved) {
    struct stat info {};
    // A target that cannot be examined is left to the write, which names the reason.
    if (::stat(Native(resolved).constData(), &info) != 0) return {};
    if (!S_ISREG(info.st_mode)) {
        return QCoreApplication::translate(
                   "quill::SafeReplace",
                   "%1 is %2, not a regular file; it was left as it is. Choose another name.")
            .arg(shown, KindOf(info.st_mode));
    }
    // No write permission for anybody counts even for the administrator, who may write
    // anyway: the file was marked read-only on purpose.
    if ((info.st_mode & 0222) == 0 ||
        ::faccessat(AT_FDCWD, Native(resolved).constData(), W_OK, AT_EACCESS) != 0) {
        return QCoreApplication::translate(
                   "quill::SafeReplace",
                   "%1 is read-only; it was left as it is. Choose another name, or make the "
                   "file writable first.")
            .arg(shown);
    }
    return {};
}

// Flushes a folder's entries, so that a rename inside it survives a crash. A folder that
// cannot be flushed is no reason to call a completed write failed.
void SyncFolder(const QByteArray& folder) {
    const Descriptor fd(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() >= 0) ::fsync(fd.get());
}

constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

QByteArray RandomLetters() {
    QByteArray letters;
    for (qsizetype i = 0; i < kRandomLetters; ++i)
        letters += kLetters[QRandomGenerator::global()->bounded(62)];
    return letters;
}

// `folder` + "/" + `name`, without doubling the slash of the root folder.
QByteArray Join(const QByteArray& folder, const QByteArray& name) {
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

// A path's folder (as written, "." for a bare name) and its last name.
std::pair<QByteArray, QByteArray> Split(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0) return {QByteArrayLiteral("."), path};
    return {slash == 0 ? QByteArrayLiteral("/") : path.left(slash), path.mid(slash + 1)};
}

// A last name that makes the path name a folder: "dir/", "dir/." and "dir/..".
bool NamesAFolder(const QByteArray& name) {
    return name.isEmpty() || name == "." || name == "..";
}

// The path made absolute by the working folder, as written otherwise.
QByteArray Absolute(const QByteArray& path) {
    if (path.startsWith('/')) return path;
    QByteArray folder(PATH_MAX, '\0');
    if (::getcwd(folder.data(), static_cast<size_t>(folder.size())) == nullptr) return path;
    folder.truncate(static_cast<qsizetype>(std::strlen(folder.constData())));
    return Join(folder, path);
}

// The folder's real path: no links, no "." or "..". Empty when it cannot be resolved.
QByteArray RealFolder(const QByteArray& folder) {
    const std::unique_ptr<char, decltype(&std::free)> real(::realpath(folder.constData(), nullptr),
                                                           &std::free);
    return real ? QByteArray(real.get()) : QByteArray();
}

QByteArray ResolveNative(const QString& shown, QByteArray current) {
    for (int hops = 0; hops <= kMostLinks; ++hops) {
        const auto [folder, name] = Split(current);
        if (NamesAFolder(name)) return Absolute(current);
        const QByteArray real = RealFolder(folder);
        if (real.isEmpty()) return Absolute(current);  // left to the write to fail
        const QByteArray file = Join(real, name);
        struct stat info {};
        if (::lstat(file.constData(), &info) != 0 || !S_ISLNK(info.st_mode)) return file;
        QByteArray link(PATH_MAX, '\0');
        const ssize_t size = ::readlink(file.constData(), link.data(), link.size());
        if (size < 0) throw FileFailure(QStringLiteral("%1: %2").arg(shown, Reason(errno)));
        link.truncate(size);
        current = link.startsWith('/') ? link : Join(real, link);
    }
    throw FileFailure(QStringLiteral("%1: %2").arg(shown, Reason(ELOOP)));
}

// The name of a temporary file of `name` in `folder` without its random letters. The
// target's name is cut short, between two characters, when the whole would be longer than
// the folder allows a name to be.
QByteArray TemporaryPrefix(const QByteArray& folder, const QByteArray& name) {
    long longest = ::pathconf(folder.constData(), _PC_NAME_MAX);
    if (longest <= 0) longest = NAME_MAX;
    const qsizetype room = static_cast<qsizetype>(longest) - 1 -
                           static_cast<qsizetype>(sizeof kTemporaryMark - 1) - kRandomLetters;
    QByteArray kept = name;
    if (kept.size() > room) {
        qsizetype cut = std::max<qsizetype>(room, 1);
        while (cut > 1 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
        kept.truncate(cut);
    }
    return '.' + kept + kTemporaryMark;
}

bool IsTemporaryName(const QByteArray& entry, const QByteArray& prefix) {
    return entry.size() == prefix.size() + kRandomLetters && entry.startsWith(prefix) &&
           std::all_of(entry.end() - kRandomLetters, entry.end(), IsLetterOrDigit);
}

bool Exists(const QString& path) {
    struct stat info {};
    return ::stat(Native(path).constData(), &info) == 0;
}

// Removes the entry `name` of the folder `folderFd` when it is a regular file of this user
// that no writer holds locked. The lock is held while it is removed, and only the file
// that was examined is removed.
void RemoveIfUnlocked(int folderFd, const char* name) {
    struct stat seen {};
    if (::fstatat(folderFd, name, &seen, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(seen.st_mode) ||
        seen.st_uid != ::geteuid())
        return;
    constexpr int kFlags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    int fd = ::openat(folderFd, name, O_RDONLY | kFlags);
    if (fd < 0) fd = ::openat(folderFd, name, O_WRONLY | kFlags);  // a write-only file
    const Descriptor file(fd);
    struct stat opened {};
    if (file.get() < 0 || ::fstat(file.get(), &opened) != 0 || !SameInode(opened, seen)) return;
    if (::flock(file.get(), LOCK_EX | LOCK_NB) != 0) return;  // still being written
    struct stat now {};
    if (::fstatat(folderFd, name, &now, AT_SYMLINK_NOFOLLOW) == 0 && SameInode(now, seen))
        ::unlinkat(folderFd, name, 0);
}

void RemoveStale(const QByteArray& folder, const QByteArray& name) {
    if (NamesAFolder(name)) return;
    const QByteArray prefix = TemporaryPrefix(folder, name);
    const std::unique_ptr<DIR, CloseFolder> dir(::opendir(folder.constData()));
    if (!dir) return;
    std::vector<QByteArray> found;
    while (const dirent* entry = ::readdir(dir.get())) {
        const QByteArray entryName(entry->d_name);
        if (IsTemporaryName(entryName, prefix)) found.push_back(entryName);
    }
    for (const QByteArray& entry : found) RemoveIfUnlocked(::dirfd(dir.get()), entry.constData());
}

// Locks a temporary file just made, for as long as `fd` or a copy of it is open. False when
// a clean-up of stale temporaries came first (it holds the lock, or has removed the file):
// the caller makes another. Where the file system has no locks the file stays unlocked, and
// a clean-up cannot lock it either, so it is never taken for a stale one.
bool LockNew(int fd) {
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) return errno != EWOULDBLOCK;
    struct stat info {};
    return ::fstat(fd, &info) == 0 && info.st_nlink > 0;
}

}  // namespace

QByteArray EncodeName(const QString& path) {
    QByteArray bytes;
    bytes.reserve(path.size());
    const auto append = [&](char32_t c) {
        if (c < 0x80) {
            bytes += static_cast<char>(c);
        } else if (c < 0x800) {
            bytes += static_cast<char>(0xC0 | (c >> 6));
            bytes += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            bytes += static_cast<char>(0xE0 | (c >> 12));
            bytes += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            bytes += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            bytes += static_cast<char>(0xF0 | (c >> 18));
            bytes += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            bytes += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            bytes += static_cast<char>(0x80 | (c & 0x3F));
        }
    };
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t unit = path[i].unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < path.size() &&
            QChar::isLowSurrogate(path[i + 1].unicode())) {
            append(QChar::surrogateToUcs4(unit, path[i + 1].unicode()));
            ++i;
        } else if (unit >= 0xDC80 && unit <= 0xDCFF) {
            bytes += static_cast<char>(unit - 0xDC00);  // a byte that was not UTF-8
        } else {
            append(QChar::isSurrogate(unit) ? char32_t{0xFFFD} : char32_t{unit});
        }
    }
    return bytes;
}

QString DecodeName(const QByteArray& path) {
    QString name;
    name.reserve(path.size());
    const auto* bytes = reinterpret_cast<const unsigned char*>(path.constData());
    const qsizetype size = path.size();
    for (qsizetype i = 0; i < size;) {
        const unsigned char lead = bytes[i];
        qsizetype length = 0;
        char32_t c = 0;
        char32_t least = 0;
        if (lead < 0x80) {
            length = 1;
            c = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
            c = lead & 0x1F;
            least = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            c = lead & 0x0F;
            least = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            c = lead & 0x07;
            least = 0x10000;
        }
        bool valid = length > 0 && i + length <= size;
        for (qsizetype k = 1; valid && k < length; ++k) {
            valid = (bytes[i + k] & 0xC0) == 0x80;
            c = (c << 6) | (bytes[i + k] & 0x3F);
        }
        // Overlong forms, encoded surrogates and values beyond Unicode are not UTF-8.
        valid = valid && c >= least && c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
        if (!valid) {
            name += QChar(static_cast<char16_t>(0xDC00 + lead));
            ++i;
        } else if (c >= 0x10000) {
            name += QChar(QChar::highSurrogate(c));
            name += QChar(QChar::lowSurrogate(c));
            i += length;
        } else {
            name += QChar(static_cast<char16_t>(c));
            i += length;
        }
    }
    return name;
}

QString ResolveTarget(const QString& path) {
    return DecodeName(ResolveNative(path, Native(path)));
}

QString Refusal(const QString& path) {
    return RefusalOf(path, ResolveTarget(path));
}

bool SameFile(const QString& a, const QString& b) {
    const QByteArray first = ResolveNative(a, Native(a));
    const QByteArray second = ResolveNative(b, Native(b));
    struct stat one {};
    struct stat two {};
    if (::stat(first.constData(), &one) == 0 && ::stat(second.constData(), &two) == 0)
        return SameInode(one, two);
    // Resolved, both name the place they would be created at.
    return first == second;
}

void RemoveStaleTemporaries(const QString& target) {
    try {
        const auto [folder, name] = Split(ResolveNative(target, Native(target)));
        RemoveStale(folder, name);
    } catch (const Failure&) {
        // A chain of links that loops has no temporaries of ours.
    }
}

Replacement::Replacement(const QString& target, unsigned modeMask, Durability durability)
    : target_(target), durability_(durability) {
    if (target.isEmpty())
        throw FileFailure(
            QCoreApplication::translate("quill::SafeReplace", "No file name was given"));
    const QByteArray resolved = ResolveNative(target, Native(target));
    resolved_ = DecodeName(resolved);
    if (const QString refusal = RefusalOf(target, resolved_); !refusal.isEmpty())
        throw FileFailure(refusal);
    const auto [folder, name] = Split(resolved);
    if (NamesAFolder(name)) Fail(EISDIR);
    RemoveStale(folder, name);

    struct stat old {};
    const bool exists = ::stat(resolved.constData(), &old) == 0;
    // A new target gets what any new file gets (the umask applies). An existing one is
    // matched only after its owner and group are, and the file starts private to us.
    const mode_t wanted = static_cast<mode_t>((exists ? old.st_mode & 0777 : 0666) & modeMask);
    const mode_t initial = exists ? ((wanted & 0600) | S_IWUSR) : wanted;

    const QByteArray prefix = Join(folder, TemporaryPrefix(folder, name));
    int error = EEXIST;
    for (int attempt = 0; attempt <= 100 && fd_ < 0; ++attempt) {
        const QByteArray temporary = prefix + RandomLetters();
        const int fd = ::open(temporary.constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, initial);
        if (fd < 0) {
            error = errno;
            if (error == EEXIST) continue;
            break;
        }
        if (!LockNew(fd)) {
            ::close(fd);
            continue;
        }
        fd_ = fd;
        temporary_ = temporary;
    }
    if (fd_ < 0) Fail(error);
    // A copy of the descriptor keeps the lock after Finish() has closed the file.
    lockFd_ = ::fcntl(fd_, F_DUPFD_CLOEXEC, 0);
    if (!exists) return;
    // Owner and group as before where we may set them (the administrator always may);
    // group permissions are kept only for the same group.
    if (::fchown(fd_, old.st_uid, old.st_gid) != 0) (void)!::fchown(fd_, -1, old.st_gid);
    struct stat now {};
    mode_t mode = wanted;
    if (::fstat(fd_, &now) != 0 || now.st_gid != old.st_gid) mode &= ~mode_t{070};
    if (::fchmod(fd_, mode) != 0) {
        const int error = errno;
        Discard();  // a constructor that throws gets no destructor call
        Fail(error);
    }
}

Replacement::~Replacement() {
    Discard();
}

void Replacement::Discard() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temporary_.isEmpty()) ::unlink(temporary_.constData());
    temporary_.clear();
    if (lockFd_ >= 0) ::close(lockFd_);  // the lock ends once the file is gone
    lockFd_ = -1;
}

void Replacement::Fail(int error) const {
    throw FileFailure(QCoreApplication::translate("quill::SafeReplace", "Cannot write %1: %2")
                          .arg(target_, Reason(error)));
}

void Replacement::Write(const char* data, qint64 size) {
    if (fd_ < 0)
        throw Failure(QCoreApplication::translate("quill::SafeReplace",
                                                  "Cannot write %1: it is already closed")
                          .arg(target_));
    if (size <= 0) return;
    if (const int error = shell::WriteAll(fd_, data, static_cast<std::size_t>(size)); error != 0)
        Fail(error);
}

void Replacement::CopyFrom(const QString& source) {
    const auto fail = [&](const QString& reason) {
        throw FileFailure(QCoreApplication::translate("quill::SafeReplace", "Cannot read %1: %2")
                              .arg(source, reason));
    };
    // Not blocking, so that a named pipe in its place cannot hang the program.
    const Descriptor in(::open(Native(source).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (in.get() < 0) fail(Reason(errno));
    struct stat info {};
    if (::fstat(in.get(), &info) != 0) fail(Reason(errno));
    if (!S_ISREG(info.st_mode))
        fail(QCoreApplication::translate("quill::SafeReplace", "it is not a regular file"));
    std::vector<char> buffer(kChunkSize);
    for (;;) {
        const ssize_t got = ::read(in.get(), buffer.data(), buffer.size());
        if (got < 0) {
            if (errno == EINTR) continue;
            fail(Reason(errno));
        }
        if (got == 0) break;
        Write(buffer.data(), got);
    }
}

void Replacement::Finish() {
    if (fd_ < 0) return;
    const int fd = fd_;
    fd_ = -1;
    if (durability_ == Durability::Synced && ::fsync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        Fail(error);
    }
    // Some file systems report a failed write only here.
    if (::close(fd) != 0) Fail(errno);
}

void Replacement::Commit() {
    if (temporary_.isEmpty())
        throw Failure(QCoreApplication::translate("quill::SafeReplace", "Cannot write %1 twice")
                          .arg(target_));
    Finish();
    const QByteArray resolved = Native(resolved_);
    if (::rename(temporary_.constData(), resolved.constData()) != 0) Fail(errno);
    temporary_.clear();
    if (lockFd_ >= 0) ::close(lockFd_);
    lockFd_ = -1;
    if (durability_ == Durability::Synced) SyncFolder(Split(resolved).first);
}

// Each target but the last has its old contents copied beside it first, with its own
// permissions, so that undoing its replacement is one more rename in the same folder.
// What this reaches: a failure while writing, copying or renaming leaves every target as it
// was (all renames are made only after all contents are on the disk). What it cannot
// reach: a crash or power loss between two renames leaves the earlier targets replaced
// (with their old contents in a hidden file beside them, until the next write of the target
// or the companion's next start removes it as stale), and a failed rename back (after a
// successful rename in the same folder, hardly possible) leaves that target replaced; the
// error then says which.
void CommitTogether(std::span<Replacement* const> replacements) {
    for (Replacement* replacement : replacements) replacement->Finish();
    std::vector<std::unique_ptr<Replacement>> undo(replacements.size());
    for (std::size_t i = 0; i + 1 < replacements.size(); ++i) {
        const QString& target = replacements[i]->ResolvedTarget();
        if (!Exists(target)) continue;
        undo[i] = std::make_unique<Replacement>(target);
        undo[i]->CopyFrom(target);
        undo[i]->Finish();
    }
    for (std::size_t i = 0; i < replacements.size(); ++i) {
        try {
            replacements[i]->Commit();
        } catch (const Failure& failure) {
            QString notRestored;
            for (std::size_t j = i; j-- > 0;) {
                const QString& target = replacements[j]->ResolvedTarget();
                try {
                    if (undo[j]) {
                        undo[j]->Commit();
                    } else if (::unlink(Native(target).constData()) != 0) {
                        throw FileFailure(QCoreApplication::translate("quill::SafeReplace",
                                                                      "Cannot remove %1: %2")
                                              .arg(replacements[j]->Target(), Reason(errno)));
                    }
                } catch (const Failure& also) {
                    notRestored += QStringLiteral("; ") + QString::fromUtf8(also.what()) +
                                   QCoreApplication::translate("quill::SafeReplace",
                                                               ", so it keeps its new contents");
                }
            }
            if (notRestored.isEmpty()) throw;
            throw FileFailure(QString::fromUtf8(failure.what()) + notRestored);
        }
    }
}

void WriteFile(const QString& target, const QByteArray& contents, Durability durability) {
    Replacement out(target, 0777, durability);
    out.Write(contents);
    out.Commit();
}

void CopyFile(const QString& source, const QString& target, Privacy privacy) {
    unsigned mask = 0777;
    if (privacy == Privacy::TargetAndSource) {
        struct stat info {};
        if (::stat(Native(source).constData(), &info) != 0)
            throw FileFailure(
                QCoreApplication::translate("quill::SafeReplace", "Cannot read %1: %2")
                    .arg(source, Reason(errno)));
        mask = info.st_mode & 0777;
    }
    Replacement out(target, mask);
    out.CopyFrom(source);
    out.Commit();
}

}  // namespace quill::SafeReplace
