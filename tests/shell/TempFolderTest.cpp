// Where the per-run folder is made, whatever TMPDIR says, and which leftover folders a
// start removes.
#include <gtest/gtest.h>

#include <optional>
#include <string_view>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "shell/TempFolder.h"
#include "support/ScopedSettings.h"

namespace quill {
namespace {

// Sets TMPDIR for one test and puts the old value back.
class TmpDirSetting : public test::ScopedEnvironment {
  public:
    explicit TmpDirSetting(const QString& value)
        : ScopedEnvironment("TMPDIR", QFile::encodeName(value)) {}
};

TEST(TempFolder, AMissingOrDanglingTmpdirFallsBackToTmp) {
    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    const QString dangling = scratch.filePath(QStringLiteral("dangling"));
    ASSERT_TRUE(QFile::link(scratch.filePath(QStringLiteral("gone")), dangling));

    for (const QString& setting : {scratch.filePath(QStringLiteral("missing")), dangling}) {
        SCOPED_TRACE(setting.toStdString());
        const TmpDirSetting tmpdir(setting);
        EXPECT_EQ(TempFolder::BaseFolders(), QStringList{"/tmp"});
        TempFolder folder;
        const QString path = folder.Path();
        EXPECT_TRUE(path.startsWith(QStringLiteral("/tmp/quillmere-"))) << path.toStdString();
        EXPECT_TRUE(QFileInfo(path).isDir());
        EXPECT_EQ(QFileInfo(path).permissions() & 0x7077,
                  QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

        // The libraries' own temporary files follow.
        TempFolder::RepairEnvironment();
        EXPECT_EQ(qgetenv("TMPDIR"), "/tmp");
        EXPECT_EQ(QDir::tempPath(), QStringLiteral("/tmp"));
    }

    // A folder named by TMPDIR, also through a link, is used; /tmp stays the fallback.
    const QString link = scratch.filePath(QStringLiteral("link"));
    ASSERT_TRUE(QFile::link(scratch.path(), link));
    const TmpDirSetting tmpdir(link);
    TempFolder::RepairEnvironment();
    EXPECT_EQ(qgetenv("TMPDIR"), QFile::encodeName(link));
    EXPECT_EQ(TempFolder::BaseFolders(), (QStringList{link, "/tmp"}));
    std::optional<TempFolder> folder(std::in_place);
    const QString path = folder->Path();
    EXPECT_TRUE(path.startsWith(link + QStringLiteral("/quillmere-"))) << path.toStdString();
    QFile(path + QStringLiteral("/wimbur11111111.xls")).open(QIODevice::WriteOnly);
    folder.reset();
    EXPECT_FALSE(QFileInfo::exists(path));
}

// Makes a per-run folder in a child process that then ends without removing it, as a
// killed run does; returns the folder.
QString LeaveAFolderBehind() {
    int pipe[2];
    if (::pipe(pipe) != 0) return {};
    const pid_t child = ::fork();
    if (child == 0) {
        TempFolder folder;
        const QByteArray path = QFile::encodeName(folder.Path());
        QFile(folder.Path() + QStringLiteral("/wimbur12345678.xls")).open(QIODevice::WriteOnly);
        (void)!::write(pipe[1], path.constData(), static_cast<size_t>(path.size()));
        ::_exit(0);
    }
    ::close(pipe[1]);
    QByteArray path(4096, '\0');
    const ssize_t size = ::read(pipe[0], path.data(), static_cast<size_t>(path.size()));
    ::close(pipe[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return size > 0 ? QFile::decodeName(path.left(size)) : QString();
}

TEST(TempFolder, AStartRemovesOnlyTheFoldersOfRunsThatAreGone) {
    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    const TmpDirSetting tmpdir(scratch.path());
    const QDir base(scratch.path());

    const QString killed = LeaveAFolderBehind();
    const QString alsoKilled = LeaveAFolderBehind();
    ASSERT_TRUE(QFileInfo(killed).isDir());
    ASSERT_TRUE(QFileInfo(alsoKilled).isDir());

    TempFolder live;  // this process's own, at work
    const QString livePath = live.Path();
    // Another process's folder at work: its lock file is held.
    ASSERT_TRUE(base.mkpath(QStringLiteral("quillmere-Held12")));
    QFile heldLock(scratch.filePath(QStringLiteral("quillmere-Held12/.lock")));
    ASSERT_TRUE(heldLock.open(QIODevice::WriteOnly));
    ASSERT_EQ(::flock(heldLock.handle(), LOCK_EX | LOCK_NB), 0);
    // Folders this program did not mark, or that are not folders of its own.
    for (const char* name : {"quillmere-Old123", "quillmere-notes", "quillmere-Ab12C",
                             "quillmere-Ab_12C", "quillmere-Ab12Cde", "Quillmere-Ab12Cd"}) {
        ASSERT_TRUE(base.mkpath(QString::fromUtf8(name)));
        if (std::string_view(name) != "quillmere-Old123")
            QFile(scratch.filePath(QString::fromUtf8(name) + "/.lock")).open(QIODevice::WriteOnly);
    }
    QFile(scratch.filePath(QStringLiteral("quillmere-File12"))).open(QIODevice::WriteOnly);
    // A link with a run folder's name, to a folder with an unlocked lock file.
    ASSERT_TRUE(base.mkpath(QStringLiteral("elsewhere")));
    QFile(scratch.filePath(QStringLiteral("elsewhere/.lock"))).open(QIODevice::WriteOnly);
    ASSERT_TRUE(QFile::link(scratch.filePath(QStringLiteral("elsewhere")),
                            scratch.filePath(QStringLiteral("quillmere-Link12"))));
    QStringList expected = {"elsewhere",
                            "Quillmere-Ab12Cd",
                            "quillmere-Ab12C",
                            "quillmere-Ab12Cde",
                            "quillmere-Ab_12C",
                            "quillmere-File12",
                            "quillmere-Held12",
                            "quillmere-Link12",
                            "quillmere-notes",
                            "quillmere-Old123",
                            QFileInfo(livePath).fileName()};
    if (::geteuid() == 0) {  // another user's folder, left by a run that is gone
        ASSERT_TRUE(base.mkpath(QStringLiteral("quillmere-Their1")));
        QFile(scratch.filePath(QStringLiteral("quillmere-Their1/.lock")))
            .open(QIODevice::WriteOnly);
        for (const char* name : {"quillmere-Their1", "quillmere-Their1/.lock"})
            ASSERT_EQ(
                ::chown(QFile::encodeName(scratch.filePath(QString::fromUtf8(name))).constData(),
                        4321, 4321),
                0);
        expected << "quillmere-Their1";
    }

    TempFolder::RemoveStaleFolders();
    expected.sort();
    const QDir::Filters all = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    EXPECT_EQ(base.entryList(all, QDir::Name), expected);
    EXPECT_TRUE(QFileInfo::exists(scratch.filePath(QStringLiteral("elsewhere/.lock"))));
    EXPECT_TRUE(QFileInfo(livePath + QStringLiteral("/.lock")).isFile());
}

}  // namespace
}  // namespace quill
