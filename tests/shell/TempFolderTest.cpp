// Where the per-run folder is made, whatever TMPDIR says.
#include <gtest/gtest.h>

#include <optional>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "shell/TempFolder.h"

namespace quill {
namespace {

// Sets TMPDIR for one test and puts the old value back.
class TmpDirSetting {
  public:
    explicit TmpDirSetting(const QString& value)
        : before_(qgetenv("TMPDIR")), had_(qEnvironmentVariableIsSet("TMPDIR")) {
        qputenv("TMPDIR", QFile::encodeName(value));
    }
    ~TmpDirSetting() {
        if (had_)
            qputenv("TMPDIR", before_);
        else
            qunsetenv("TMPDIR");
    }

  private:
    QByteArray before_;
    bool had_;
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

}  // namespace
}  // namespace quill
