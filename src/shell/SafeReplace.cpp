#include "shell/SafeReplace.h"

#include <cerrno>
#include <climits>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include "shell/Failure.h"

namespace quill::SafeReplace {

namespace {

constexpr int kMostLinks = 40;  // as many links as the system follows in one path
constexpr qint64 kChunkSize = 64 * 1024;

QByteArray Native(const QString& path) {
    return QFile::encodeName(path);
}

QString Reason(int error) {
    return qt_error_string(error);
}

// Closes a descriptor when it goes out of scope.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

QString KindOf(mode_t mode) {
    if (S_ISDIR(mode)) return QStringLiteral("a folder");
    if (S_ISCHR(mode) || S_ISBLK(mode)) return QStringLiteral("a device");
    if (S_ISFIFO(mode)) return QStringLiteral("a named pipe");
    if (S_ISSOCK(mode)) return QStringLiteral("a socket");
    return QStringLiteral("not a regular file");
}

QString RefusalOf(const QString& shown, const QString& resolved) {
    struct stat info {};
    // A target that cannot be examined is left to the write, which names the reason.
    if (::stat(Native(resolved).constData(), &info) != 0) return {};
    if (!S_ISREG(info.st_mode)) {
        return QStringLiteral(
                   "%1 is %2, not a regular file; it was left as it is. Choose another name.")
            .arg(shown, KindOf(info.st_mode));
    }
    // No write permission for anybody counts even for the administrator, who may write
    // anyway: the file was marked read-only on purpose.
    if ((info.st_mode & 0222) == 0 ||
        ::faccessat(AT_FDCWD, Native(resolved).constData(), W_OK, AT_EACCESS) != 0) {
        return QStringLiteral(
                   "%1 is read-only; it was left as it is. Choose another name, or make the "
                   "file writable first.")
            .arg(shown);
    }
    return {};
}

// Flushes a folder's entries, so that a rename inside it survives a crash. A folder that
// cannot be flushed is no reason to call a completed write failed.
void SyncFolder(const QString& folder) {
    const Descriptor fd(::open(Native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() >= 0) ::fsync(fd.get());
}

QString RandomSuffix() {
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QString suffix;
    for (int i = 0; i < 6; ++i)
        suffix += QLatin1Char(kLetters[QRandomGenerator::global()->bounded(62)]);
    return suffix;
}

// Where a path would be created: its folder without links, and its name.
QString Place(const QString& resolved) {
    const QFileInfo info(resolved);
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    if (folder.isEmpty()) return QDir::cleanPath(info.absoluteFilePath());
    return folder + QLatin1Char('/') + info.fileName();
}

bool Exists(const QString& path) {
    struct stat info {};
    return ::stat(Native(path).constData(), &info) == 0;
}

}  // namespace

QString ResolveTarget(const QString& path) {
    QString current = QFileInfo(path).absoluteFilePath();
    for (int hops = 0; hops <= kMostLinks; ++hops) {
        const QByteArray native = Native(current);
        struct stat info {};
        if (::lstat(native.constData(), &info) != 0 || !S_ISLNK(info.st_mode)) return current;
        QByteArray link(PATH_MAX, '\0');
        const ssize_t size = ::readlink(native.constData(), link.data(), link.size());
        if (size < 0) throw FileFailure(QStringLiteral("%1: %2").arg(path, Reason(errno)));
        link.truncate(size);
        const QString next = QFile::decodeName(link);
        current = next.startsWith(QLatin1Char('/'))
                      ? next
                      : QFileInfo(current).absolutePath() + QLatin1Char('/') + next;
    }
    throw FileFailure(QStringLiteral("%1: %2").arg(path, Reason(ELOOP)));
}

QString Refusal(const QString& path) {
    return RefusalOf(path, ResolveTarget(path));
}

bool SameFile(const QString& a, const QString& b) {
    const QString first = ResolveTarget(a);
    const QString second = ResolveTarget(b);
    struct stat one {};
    struct stat two {};
    if (::stat(Native(first).constData(), &one) == 0 &&
        ::stat(Native(second).constData(), &two) == 0)
        return one.st_dev == two.st_dev && one.st_ino == two.st_ino;
    return Place(first) == Place(second);
}

Replacement::Replacement(const QString& target, unsigned modeMask, Durability durability)
    : target_(target), durability_(durability) {
    if (target.isEmpty()) throw FileFailure(QStringLiteral("No file name was given"));
    resolved_ = ResolveTarget(target);
    if (const QString refusal = RefusalOf(target, resolved_); !refusal.isEmpty())
        throw FileFailure(refusal);

    struct stat old {};
    const bool exists = ::stat(Native(resolved_).constData(), &old) == 0;
    // A new target gets what any new file gets (the umask applies). An existing one is
    // matched only after its owner and group are, and the file starts private to us.
    const mode_t wanted = static_cast<mode_t>((exists ? old.st_mode & 0777 : 0666) & modeMask);
    const mode_t initial = exists ? ((wanted & 0600) | S_IWUSR) : wanted;

    const QFileInfo place(resolved_);
    const QString prefix =
        place.absolutePath() + QStringLiteral("/.") + place.fileName() + QLatin1Char('.');
    for (int attempt = 0; fd_ < 0; ++attempt) {
        temporary_ = prefix + RandomSuffix();
        fd_ = ::open(Native(temporary_).constData(),
                     O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, initial);
        if (fd_ < 0 && (errno != EEXIST || attempt > 100)) {
            const int error = errno;
            temporary_.clear();
            Fail(error);
        }
    }
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
    if (!temporary_.isEmpty()) ::unlink(Native(temporary_).constData());
    temporary_.clear();
}

void Replacement::Fail(int error) const {
    throw FileFailure(QStringLiteral("Cannot write %1: %2").arg(target_, Reason(error)));
}

void Replacement::Write(const char* data, qint64 size) {
    if (fd_ < 0)
        throw Failure(QStringLiteral("Cannot write %1: it is already closed").arg(target_));
    while (size > 0) {
        const ssize_t written = ::write(fd_, data, static_cast<size_t>(size));
        if (written < 0) {
            if (errno == EINTR) continue;
            Fail(errno);
        }
        data += written;
        size -= written;
    }
}

void Replacement::CopyFrom(const QString& source) {
    const auto fail = [&](const QString& reason) {
        throw FileFailure(QStringLiteral("Cannot read %1: %2").arg(source, reason));
    };
    // Not blocking, so that a named pipe in its place cannot hang the program.
    const Descriptor in(::open(Native(source).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (in.get() < 0) fail(Reason(errno));
    struct stat info {};
    if (::fstat(in.get(), &info) != 0) fail(Reason(errno));
    if (!S_ISREG(info.st_mode)) fail(QStringLiteral("it is not a regular file"));
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
    if (temporary_.isEmpty()) throw Failure(QStringLiteral("Cannot write %1 twice").arg(target_));
    Finish();
    if (::rename(Native(temporary_).constData(), Native(resolved_).constData()) != 0) Fail(errno);
    temporary_.clear();
    if (durability_ == Durability::Synced) SyncFolder(QFileInfo(resolved_).absolutePath());
}

// Each target but the last has its old contents copied beside it first, with its own
// permissions, so that undoing its replacement is one more rename in the same folder.
// What this reaches: a failure while writing, copying or renaming leaves every target as it
// was (all renames are made only after all contents are on the disk). What it cannot
// reach: a crash or power loss between two renames leaves the earlier targets replaced
// (with their old contents in a hidden file beside them), and a failed rename back (after a
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
                        throw FileFailure(QStringLiteral("Cannot remove %1: %2")
                                              .arg(replacements[j]->Target(), Reason(errno)));
                    }
                } catch (const Failure& also) {
                    notRestored += QStringLiteral("; ") + QString::fromUtf8(also.what()) +
                                   QStringLiteral(", so it keeps its new contents");
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
            throw FileFailure(QStringLiteral("Cannot read %1: %2").arg(source, Reason(errno)));
        mask = info.st_mode & 0777;
    }
    Replacement out(target, mask);
    out.CopyFrom(source);
    out.Commit();
}

}  // namespace quill::SafeReplace
