// The one writer of files: permissions, links, refused targets, a full disk, two targets
// replaced together, names in bytes, paths resolved as the system resolves them, names as
// long as a folder allows, and the temporaries that killed writers leave behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <functional>
#include <set>
#include <string>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "shell/Failure.h"
#include "shell/SafeReplace.h"
#include "support/FileBytes.h"
#include "support/SmallFileSystem.h"

namespace quill {
namespace {

using test::ReadAll;

mode_t ModeOf(const QString& path) {
    struct stat info {};
    EXPECT_EQ(::lstat(QFile::encodeName(path).constData(), &info), 0) << path.toStdString();
    return info.st_mode & 07777;
}

std::string FailureOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Failure& failure) {
        return failure.what();
    }
    return "<no failure>";
}

class SafeReplaceTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString Path(const QString& name) const { return dir.filePath(name); }

    void Write(const QString& name, const QByteArray& bytes, mode_t mode = 0644) const {
        ASSERT_TRUE(test::WriteAll(Path(name), bytes));
        ASSERT_EQ(::chmod(QFile::encodeName(Path(name)).constData(), mode), 0);
    }

    // Every name in the folder, hidden temporaries included.
    QStringList Names() const {
        return QDir(dir.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System);
    }

    // The temporary file beside `name` while a replacement is open.
    QString TemporaryOf(const QString& name) const {
        const QStringList found =
            QDir(dir.path())
                .entryList({QStringLiteral(".") + name + QStringLiteral(".*")},
                           QDir::Files | QDir::Hidden);
        EXPECT_EQ(found.size(), 1) << found.join(' ').toStdString();
        return found.isEmpty() ? QString() : Path(found[0]);
    }

    QTemporaryDir dir;
};

TEST_F(SafeReplaceTest, NewContentsAreNeverReadableByMorePeopleThanTheOld) {
    const mode_t umaskBefore = ::umask(0);  // the widest a new file could be made
    Write("private.xls", "old", 0600);
    Write("shared.xls", "old", 0640);
    {
        SafeReplace::Replacement first(Path("private.xls"));
        SafeReplace::Replacement second(Path("shared.xls"));
        // While the new contents are still being written.
        EXPECT_EQ(ModeOf(TemporaryOf("private.xls")), 0600u);
        EXPECT_EQ(ModeOf(TemporaryOf("shared.xls")) & ~mode_t{0640}, 0u);
        first.Write("new");
        second.Write("new");
        first.Commit();
        second.Commit();
    }
    EXPECT_EQ(ModeOf(Path("private.xls")), 0600u);
    EXPECT_EQ(ModeOf(Path("shared.xls")), 0640u);
    EXPECT_EQ(ReadAll(Path("shared.xls")), "new");

    // The copy of a private file stays private even where a new file would not be.
    Write("settings.ini", "[Quillmere]", 0600);
    SafeReplace::CopyFile(Path("settings.ini"), Path("settings.bak"),
                          SafeReplace::Privacy::TargetAndSource);
    EXPECT_EQ(ModeOf(Path("settings.bak")), 0600u);
    SafeReplace::WriteFile(Path("new.xls"), "new");
    EXPECT_EQ(ModeOf(Path("new.xls")), 0666u);
    ::umask(umaskBefore);

    // The administrator replaces another user's file without taking it over.
    if (::geteuid() == 0) {
        Write("theirs.xls", "old", 0640);
        ASSERT_EQ(::chown(QFile::encodeName(Path("theirs.xls")).constData(), 4321, 4321), 0);
        SafeReplace::WriteFile(Path("theirs.xls"), "new");
        struct stat info {};
        ASSERT_EQ(::stat(QFile::encodeName(Path("theirs.xls")).constData(), &info), 0);
        EXPECT_EQ(info.st_uid, 4321u);
        EXPECT_EQ(info.st_gid, 4321u);
        EXPECT_EQ(info.st_mode & 0777, 0640u);
    }
}

TEST_F(SafeReplaceTest, LinksAreWrittenThroughAndStayLinks) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("real")));
    Write("real/budget.xls", "old", 0600);
    ASSERT_TRUE(QFile::link(QStringLiteral("real/budget.xls"), Path("first")));
    ASSERT_TRUE(QFile::link(QStringLiteral("first"), Path("second")));
    ASSERT_TRUE(QFile::link(QStringLiteral("real/new.xls"), Path("dangling")));

    SafeReplace::WriteFile(Path("second"), "new");
    EXPECT_TRUE(QFileInfo(Path("second")).isSymLink());
    EXPECT_TRUE(QFileInfo(Path("first")).isSymLink());
    EXPECT_EQ(ReadAll(Path("real/budget.xls")), "new");
    EXPECT_EQ(ModeOf(Path("real/budget.xls")), 0600u);

    // A link to a file not there yet makes that file.
    SafeReplace::WriteFile(Path("dangling"), "made");
    EXPECT_TRUE(QFileInfo(Path("dangling")).isSymLink());
    EXPECT_EQ(ReadAll(Path("real/new.xls")), "made");
    EXPECT_EQ(QDir(Path("real")).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"budget.xls", "new.xls"}));

    ASSERT_TRUE(QFile::link(QStringLiteral("loop"), Path("loop")));
    EXPECT_NE(FailureOf([&] {
                  SafeReplace::WriteFile(Path("loop"), "x");
              }).find("Too many levels of symbolic links"),
              std::string::npos);
}

TEST_F(SafeReplaceTest, TargetsThatMustNotBeReplacedAreRefusedAndLeftAlone) {
    Write("locked.xls", "kept", 0444);
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path("pipe")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("locked.xls"), Path("to-locked")));
    const QStringList before = Names();

    const auto refused = [&](const QString& path) {
        return FailureOf([&] { SafeReplace::WriteFile(path, "new"); });
    };
    EXPECT_EQ(refused(Path("locked.xls")),
              Path("locked.xls").toStdString() +
                  " is read-only; it was left as it is. Choose another name, or make the file "
                  "writable first.");
    EXPECT_NE(refused(Path("to-locked")).find("is read-only"), std::string::npos);
    EXPECT_EQ(refused(Path("folder")), Path("folder").toStdString() +
                                           " is a folder, not a regular file; it was left as it "
                                           "is. Choose another name.");
    EXPECT_NE(refused(Path("pipe")).find("is a named pipe, not a regular file"), std::string::npos);
    EXPECT_NE(SafeReplace::Refusal(QStringLiteral("/dev/null")).indexOf("is a device"), -1);
    EXPECT_TRUE(SafeReplace::Refusal(Path("absent.xls")).isEmpty());

    EXPECT_EQ(ReadAll(Path("locked.xls")), "kept");
    EXPECT_EQ(ModeOf(Path("locked.xls")), 0444u);
    EXPECT_TRUE(QFileInfo(Path("pipe")).exists() && !QFileInfo(Path("pipe")).isFile());
    EXPECT_EQ(Names(), before);  // no temporary file either
    EXPECT_EQ(QFileInfo(QStringLiteral("/dev/null")).isFile(), false);
}

TEST_F(SafeReplaceTest, AFailedWriteNamesItsCauseAndKeepsTheOldFile) {
    Write("budget.xls", "old", 0644);
    Write("source.xls", QByteArray(200000, 'x'), 0644);
    // A file size limit is a real write failure that needs no special file system.
    struct rlimit before {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = before;
    small.rlim_cur = 100000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::string failure =
        FailureOf([&] { SafeReplace::CopyFile(Path("source.xls"), Path("budget.xls")); });
    ::setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, previous);

    EXPECT_EQ(failure, "Cannot write " + Path("budget.xls").toStdString() + ": File too large");
    EXPECT_EQ(ReadAll(Path("budget.xls")), "old");
    EXPECT_EQ(Names(), (QStringList{"budget.xls", "source.xls"}));

    // Sources that cannot be copied, including one that would never end.
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path("pipe")).constData(), 0600), 0);
    EXPECT_EQ(FailureOf([&] { SafeReplace::CopyFile(Path("pipe"), Path("budget.xls")); }),
              "Cannot read " + Path("pipe").toStdString() + ": it is not a regular file");
    EXPECT_EQ(FailureOf([&] { SafeReplace::CopyFile(Path("gone.xls"), Path("budget.xls")); }),
              "Cannot read " + Path("gone.xls").toStdString() + ": No such file or directory");
    EXPECT_EQ(ReadAll(Path("budget.xls")), "old");
    EXPECT_EQ(Names(), (QStringList{"budget.xls", "pipe", "source.xls"}));
}

TEST(SafeReplace, AFullDiskSaysSoAndKeepsTheOldFile) {
    const test::SmallFileSystem disk;
    if (!disk.Mounted()) GTEST_SKIP() << "cannot mount a small file system here";
    const QString target = disk.FilePath(QStringLiteral("budget.xls"));
    ASSERT_TRUE(test::WriteAll(target, "old"));
    const std::string failure =
        FailureOf([&] { SafeReplace::WriteFile(target, QByteArray(200000, 'x')); });
    EXPECT_EQ(failure, "Cannot write " + target.toStdString() + ": No space left on device");
    EXPECT_EQ(ReadAll(target), "old");
    EXPECT_EQ(QDir(disk.Path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"budget.xls"});
}

TEST_F(SafeReplaceTest, TwoTargetsAreReplacedTogetherOrNotAtAll) {
    Write("budget.xls", "old workbook", 0600);
    Write("sheet.png", "old picture", 0644);
    {
        SafeReplace::Replacement workbook(Path("budget.xls"));
        SafeReplace::Replacement picture(Path("sheet.png"));
        workbook.Write("new workbook");
        picture.Write("new picture");
        // The second target turns into a folder before its rename: the first gets its old
        // contents back.
        ASSERT_TRUE(QFile::remove(Path("sheet.png")));
        ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("sheet.png/inside")));
        SafeReplace::Replacement* both[] = {&workbook, &picture};
        EXPECT_NE(FailureOf([&] {
                      SafeReplace::CommitTogether(both);
                  }).find("Cannot write " + Path("sheet.png").toStdString()),
                  std::string::npos);
    }
    EXPECT_EQ(ReadAll(Path("budget.xls")), "old workbook");
    EXPECT_EQ(ModeOf(Path("budget.xls")), 0600u);
    EXPECT_EQ(Names(), (QStringList{"budget.xls", "sheet.png"}));

    // A first target that did not exist before is removed again.
    {
        SafeReplace::Replacement workbook(Path("fresh.xls"));
        SafeReplace::Replacement picture(Path("other.png"));
        workbook.Write("new workbook");
        picture.Write("new picture");
        ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("other.png/inside")));
        SafeReplace::Replacement* both[] = {&workbook, &picture};
        EXPECT_NE(FailureOf([&] { SafeReplace::CommitTogether(both); }), "<no failure>");
    }
    EXPECT_EQ(Names(), (QStringList{"budget.xls", "other.png", "sheet.png"}));
}

TEST_F(SafeReplaceTest, SameFileSeesThroughLinksAndSpellings) {
    Write("budget.xls", "x");
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    ASSERT_TRUE(QFile::link(QStringLiteral("budget.xls"), Path("link.xls")));
    ASSERT_EQ(::link(QFile::encodeName(Path("budget.xls")).constData(),
                     QFile::encodeName(Path("hard.xls")).constData()),
              0);
    ASSERT_TRUE(QFile::link(dir.path(), Path("sub/up")));

    EXPECT_TRUE(SafeReplace::SameFile(Path("budget.xls"), Path("sub/../budget.xls")));
    EXPECT_TRUE(SafeReplace::SameFile(Path("budget.xls"), Path("link.xls")));
    EXPECT_TRUE(SafeReplace::SameFile(Path("hard.xls"), Path("link.xls")));
    EXPECT_TRUE(SafeReplace::SameFile(Path("new.png"), Path("sub/up/new.png")));
    EXPECT_FALSE(SafeReplace::SameFile(Path("budget.xls"), Path("new.png")));
    EXPECT_FALSE(SafeReplace::SameFile(Path("new.xls"), Path("new.png")));
}

// The names in a folder as the system keeps them, "." and ".." left out.
std::set<QByteArray> EntriesOf(const QByteArray& folder) {
    std::set<QByteArray> names;
    DIR* dir = ::opendir(folder.constData());
    if (dir == nullptr) return names;
    while (const dirent* entry = ::readdir(dir))
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names.insert(QByteArray(entry->d_name));
    ::closedir(dir);
    return names;
}

QByteArray ReadBytes(const QByteArray& path) {
    QByteArray bytes(4096, '\0');
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return "<missing>";
    const ssize_t size = ::read(fd, bytes.data(), static_cast<size_t>(bytes.size()));
    ::close(fd);
    bytes.truncate(std::max<ssize_t>(size, 0));
    return bytes;
}

TEST_F(SafeReplaceTest, NamesThatAreNotUtf8KeepTheirBytes) {
    const QByteArray names[] = {
        "\xff.xls",                          // a byte that never starts UTF-8
        "\xfe.xls",                          // another one, which must not land in the same file
        "caf\xc3\xa9 \xf0\x9f\x8f\xa0.xls",  // valid UTF-8 converts as QFile converts it
        "\xc3.xls",                          // a sequence cut short
        "\xc0\xaf.xls",                      // an overlong "/"
        "\xed\xb2\x80.xls",                  // an encoded surrogate
        "\xf4\x90\x80\x80.xls",              // beyond Unicode
        "\xef\xbf\xbd.xls",                  // U+FFFD itself, beside the bytes it used to stand for
    };
    const QByteArray folder = QFile::encodeName(dir.path()) + '/';
    for (const QByteArray& name : names) {
        SCOPED_TRACE(name.toHex().toStdString());
        const QString decoded = SafeReplace::DecodeName(name);
        EXPECT_EQ(SafeReplace::EncodeName(decoded), name);
        if (QString::fromUtf8(name).toUtf8() == name) {
            EXPECT_EQ(decoded, QString::fromUtf8(name));
        }
        SafeReplace::WriteFile(SafeReplace::DecodeName(folder + name), name);
    }
    EXPECT_EQ(EntriesOf(folder), std::set<QByteArray>(std::begin(names), std::end(names)));
    for (const QByteArray& name : names) {
        EXPECT_EQ(ReadBytes(folder + name), name);
        ::unlink((folder + name).constData());  // QTemporaryDir cannot name them
    }
}

// Where a path lands is where the shell's redirection lands: after the write, reading the
// same path gives what was written, and a path the shell cannot write fails here too.
TEST_F(SafeReplaceTest, PathsAreResolvedAsTheSystemResolvesThem) {
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("real/sub")));
    ASSERT_TRUE(QFile::link(QStringLiteral("real/sub"), Path("link")));
    ASSERT_TRUE(QFile::link(QStringLiteral("link/../chained.xls"), Path("chain")));
    ASSERT_TRUE(QFile::link(QStringLiteral("missing/a.xls"), Path("dangling")));
    const char* const paths[] = {
        "link/../a.xls",        // real/a.xls, not a.xls
        "link/../../b.xls",     // the test folder
        "real/sub/./../c.xls",  // real/c.xls
        "chain",                // a link whose text holds "..": real/chained.xls
        "missing/../d.xls",     // fails: no folder "missing"
        "real/sub/../missing/../e.xls",
        "dangling",  // fails: the link leads into a missing folder
    };
    for (const char* relative : paths) {
        SCOPED_TRACE(relative);
        const QString path = Path(QString::fromUtf8(relative));
        QProcess shell;
        shell.start(QStringLiteral("/bin/sh"), {"-c", "printf shell > \"$0\"", path});
        ASSERT_TRUE(shell.waitForFinished(10000));
        const bool shellWrote = shell.exitCode() == 0;
        const std::string failure = FailureOf([&] { SafeReplace::WriteFile(path, "ours"); });
        if (shellWrote) {
            EXPECT_EQ(failure, "<no failure>");
            EXPECT_EQ(ReadAll(path), "ours");
        } else {
            EXPECT_EQ(failure,
                      "Cannot write " + path.toStdString() + ": No such file or directory");
        }
    }
    EXPECT_EQ(Names(), (QStringList{"b.xls", "chain", "dangling", "link", "real"}));
    EXPECT_EQ(QDir(Path("real")).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"a.xls", "c.xls", "chained.xls"}));
    EXPECT_TRUE(SafeReplace::SameFile(Path("link/../a.xls"), Path("real/a.xls")));
    EXPECT_FALSE(SafeReplace::SameFile(Path("link/../new.xls"), Path("new.xls")));
}

// The temporary file of a target whose name is as long as the folder allows still fits.
TEST_F(SafeReplaceTest, NamesAsLongAsAFolderAllowsAreWritten) {
    const long longest = ::pathconf(QFile::encodeName(dir.path()).constData(), _PC_NAME_MAX);
    ASSERT_EQ(longest, 255);
    const QString twoByteName = QString(127, QChar(0xe9)) + QLatin1Char('x');  // 255 bytes
    const QString names[] = {QString(236, QLatin1Char('a')), QString(237, QLatin1Char('b')),
                             QString(248, QLatin1Char('c')), QString(255, QLatin1Char('d')),
                             twoByteName};
    for (const QString& name : names) {
        SCOPED_TRACE(name.toUtf8().size());
        const QString target = Path(name);
        {
            SafeReplace::Replacement out(target);
            out.Write(name.toUtf8());
            const QStringList temporaries = Names().filter(QStringLiteral(".quillmere-"));
            ASSERT_EQ(temporaries.size(), 1);
            const QByteArray temporary = QFile::encodeName(temporaries[0]);
            EXPECT_LE(temporary.size(), 255);
            EXPECT_TRUE(temporary.startsWith('.' + QFile::encodeName(name).left(200)));
            // Cut between characters: the temporary name is still UTF-8.
            EXPECT_EQ(QString::fromUtf8(temporary).toUtf8(), temporary);
            out.Commit();
        }
        EXPECT_EQ(ReadAll(target), name.toUtf8());
        EXPECT_EQ(Names(), QStringList{name});
        ASSERT_TRUE(QFile::remove(target));
    }
    // One byte more is too long for the folder, as it is for every other program.
    EXPECT_EQ(FailureOf([&] { SafeReplace::WriteFile(Path(QString(256, 'e')), "x"); }),
              "Cannot write " + Path(QString(256, 'e')).toStdString() + ": File name too long");
    EXPECT_TRUE(Names().isEmpty());
}

// Leaves the temporary file of a replacement of `target` behind as a killed writer does: a
// child process makes it and ends without cleaning up, which drops its lock.
void LeaveATemporaryBehind(const QString& target) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        SafeReplace::Replacement out(target);
        out.Write("partial");
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST_F(SafeReplaceTest, OnlyTheStaleTemporariesOfATargetAreRemoved) {
    const QString longName = QString(255, QLatin1Char('l'));
    for (const QString& name : {QStringLiteral("budget.xls"), longName}) {
        Write(name, "old");
        LeaveATemporaryBehind(Path(name));
    }
    ASSERT_EQ(Names().filter(QStringLiteral(".quillmere-")).size(), 2);

    // A temporary still being written, held by its writer's lock. Making it already removes
    // the stale temporary of its target.
    SafeReplace::Replacement live(Path("budget.xls"));
    const QStringList liveNames = Names().filter(QStringLiteral(".budget.xls.quillmere-"));
    ASSERT_EQ(liveNames.size(), 1);
    const QString liveName = liveNames[0];
    EXPECT_EQ(ReadAll(Path(liveName)), "");  // not the stale one, which holds "partial"
    // Files that look alike but that this writer does not make, or not for this target.
    const QStringList others = {
        ".budget.xls.quillmere-abcde",  ".budget.xls.quillmere-abcdefg",
        ".budget.xls.quillmere-ab_cde", ".budget.xls.backup",
        ".budget.xls.Ab12Cd",           "budget.xls.quillmere-Ab12Cd",
        ".other.xls.quillmere-Ab12Cd",  ".budget.xls.quillmere-Ab12Cd.x",
    };
    for (const QString& other : others) Write(other, "the user's");
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral(".budget.xls.quillmere-Folder")));
    ASSERT_TRUE(QFile::link(QStringLiteral("budget.xls"), Path(".budget.xls.quillmere-Link12")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path(".budget.xls.quillmere-Pipe12")).constData(), 0600),
              0);
    QStringList expected = others;
    expected << ".budget.xls.quillmere-Folder"
             << ".budget.xls.quillmere-Link12"
             << ".budget.xls.quillmere-Pipe12" << liveName << "budget.xls" << longName;
    if (::geteuid() == 0) {  // another user's file of the same name
        Write(".budget.xls.quillmere-Theirs", "theirs");
        ASSERT_EQ(::chown(QFile::encodeName(Path(".budget.xls.quillmere-Theirs")).constData(), 4321,
                          4321),
                  0);
        expected << ".budget.xls.quillmere-Theirs";
    }
    // A stale temporary the test locks, as a writer still at work would.
    Write(".budget.xls.quillmere-Held12", "held");
    const int held = ::open(QFile::encodeName(Path(".budget.xls.quillmere-Held12")).constData(),
                            O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);
    expected << ".budget.xls.quillmere-Held12";

    SafeReplace::RemoveStaleTemporaries(Path("budget.xls"));
    SafeReplace::RemoveStaleTemporaries(Path(longName));
    QStringList names = Names();
    names.sort();
    expected.sort();
    EXPECT_EQ(names.join(' ').toStdString(), expected.join(' ').toStdString());
    for (const QString& other : others) EXPECT_EQ(ReadAll(Path(other)), "the user's");
    ::close(held);

    // The live replacement is not disturbed and its target gets the new contents.
    live.Write("new");
    live.Commit();
    EXPECT_EQ(ReadAll(Path("budget.xls")), "new");
}

}  // namespace
}  // namespace quill
