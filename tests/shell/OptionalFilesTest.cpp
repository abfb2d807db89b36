// Where the program looks for its optional skin and hand pointer: beside the executable
// first (a build folder, or a copy that carries its own), then in the installed data
// folder, each file on its own.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "shell/CommonServices.h"
#include "support/FileBytes.h"

namespace quill {
namespace {

// A scratch install prefix with the program folder and the data folder where the install
// rules put them.
class OptionalFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(prefix.isValid());
        ASSERT_TRUE(QDir().mkpath(program));
    }

    // Creates a file (and its folders) under the prefix.
    void Put(const QString& path) {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
        ASSERT_TRUE(test::WriteAll(path, "x"));
    }

    QTemporaryDir prefix;
    const QString program = prefix.filePath(QStringLiteral(QUILL_INSTALL_BINDIR));
    const QString data = prefix.filePath(QStringLiteral(QUILL_INSTALL_DATADIR));
};

TEST_F(OptionalFiles, TheDataFolderIsWhereTheInstallPutsTheProgramsData) {
    EXPECT_EQ(shell::DataFolderFor(program), QDir::cleanPath(data));
    // A trailing slash on the program folder does not change it.
    EXPECT_EQ(shell::DataFolderFor(program + QLatin1Char('/')), QDir::cleanPath(data));
}

TEST_F(OptionalFiles, WithoutEitherFileTheNameBesideTheProgramIsGivenAndDoesNotExist) {
    for (const QString& name : {QStringLiteral("HAND-M.CUR"), QStringLiteral("x/o.cjs")}) {
        const QString found = shell::OptionalFileFor(program, name);
        EXPECT_EQ(found, program + QLatin1Char('/') + name);
        EXPECT_FALSE(shell::FileExists(found));
    }
}

TEST_F(OptionalFiles, AnInstalledCopyFindsThemInItsDataFolder) {
    Put(data + QStringLiteral("/HAND-M.CUR"));
    Put(data + QStringLiteral("/x/o.cjs"));
    EXPECT_EQ(shell::OptionalFileFor(program, QStringLiteral("HAND-M.CUR")),
              data + QStringLiteral("/HAND-M.CUR"));
    EXPECT_EQ(shell::OptionalFileFor(program, QStringLiteral("x/o.cjs")),
              data + QStringLiteral("/x/o.cjs"));
}

TEST_F(OptionalFiles, AFileBesideTheProgramWinsOverTheInstalledOneEachOnItsOwn) {
    Put(data + QStringLiteral("/HAND-M.CUR"));
    Put(data + QStringLiteral("/x/o.cjs"));
    Put(program + QStringLiteral("/x/o.cjs"));
    EXPECT_EQ(shell::OptionalFileFor(program, QStringLiteral("x/o.cjs")),
              program + QStringLiteral("/x/o.cjs"));
    EXPECT_EQ(shell::OptionalFileFor(program, QStringLiteral("HAND-M.CUR")),
              data + QStringLiteral("/HAND-M.CUR"));
}

TEST_F(OptionalFiles, AnEmptySkinFolderBesideTheProgramDoesNotHideTheInstalledSkin) {
    ASSERT_TRUE(QDir().mkpath(program + QStringLiteral("/x")));
    Put(data + QStringLiteral("/x/o.cjs"));
    EXPECT_EQ(shell::OptionalFileFor(program, QStringLiteral("x/o.cjs")),
              data + QStringLiteral("/x/o.cjs"));
}

}  // namespace
}  // namespace quill
