// The one writer of files: permissions, links, refused targets, a full disk and two
// targets replaced together.
#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <string>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

}  // namespace
}  // namespace quill
