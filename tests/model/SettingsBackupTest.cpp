// The kept copy of an unreadable settings file is written like every other file: never
// more readable than the settings, through a link, and never half written.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "model/SettingsStore.h"
#include "support/FileBytes.h"
#include "support/ScratchConfig.h"

namespace quill {
namespace {

TEST(SettingsBackup, IsNoMoreReadableThanTheSettingsAndFollowsALink) {
    const test::ScratchConfig config;
    const QByteArray stored = "[Quillmere]\nSystem Value - Saved=True\n0 Income=$42\n";
    ASSERT_TRUE(test::WriteAll(config.IniPath(), stored));
    ASSERT_TRUE(
        QFile::setPermissions(config.IniPath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    // The backup name leads elsewhere, to a file that others may read today.
    QTemporaryDir elsewhere;
    const QString kept = elsewhere.filePath(QStringLiteral("kept.ini"));
    ASSERT_TRUE(test::WriteAll(kept, "older backup"));
    ASSERT_TRUE(QFile::setPermissions(kept, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                QFileDevice::ReadGroup | QFileDevice::ReadOther));
    ASSERT_TRUE(QFile::link(kept, config.IniPath() + QStringLiteral(".bak")));

    SettingsStore store;
    store.KeepBackupBeforeNextSave();
    store.SaveSetting(QStringLiteral("0 Income"), QStringLiteral("$43"));

    EXPECT_TRUE(QFileInfo(config.IniPath() + QStringLiteral(".bak")).isSymLink());
    EXPECT_EQ(test::ReadAll(kept), stored);
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(kept).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(QDir(elsewhere.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{"kept.ini"});
}

}  // namespace
}  // namespace quill
