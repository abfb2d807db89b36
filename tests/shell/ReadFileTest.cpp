// Reading a file the user named for an import: whatever stands at the path, the read ends at
// once with the file's contents or a failure that names it, never a hang or a flood.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "shell/Failure.h"
#include "shell/ReadFile.h"
#include "support/NonRegularFiles.h"

namespace quill {
namespace {

TEST(ReadRegularFile, ReadsRegularFilesWithinTheLimitAndRefusesEverythingElse) {
    QTemporaryDir dir;
    const QString small = dir.filePath(QStringLiteral("plan.csv"));
    {
        QFile file(small);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("Group,Category,Planned\n");
    }
    EXPECT_EQ(shell::ReadRegularFile(small, 100), QByteArray("Group,Category,Planned\n"));

    struct Case {
        const char* what;
        QString path;
        qint64 limit;
        const char* cause;
    };
    std::vector<Case> cases = {
        {"larger than the limit", small, 10, "larger than"},
        {"missing", dir.filePath(QStringLiteral("missing.csv")), 100, "No such file"},
        {"endless device", QStringLiteral("/dev/zero"), 100, "not a regular file"},
    };
    for (const test::SpecialFile kind : {test::SpecialFile::NamedPipe, test::SpecialFile::Folder}) {
        const QString path = dir.filePath(QString::fromLatin1(test::SpecialFileWords(kind)));
        ASSERT_TRUE(test::MakeSpecialFile(kind, path));
        cases.push_back({test::SpecialFileWords(kind), path, 100, "not a regular file"});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // A pipe that nobody writes would block a plain open; the guard turns that into a
        // failure of the test instead of a hang.
        const test::PipeWaitGuard guard(c.path);
        try {
            shell::ReadRegularFile(c.path, c.limit);
            ADD_FAILURE() << "read";
        } catch (const FileFailure& failure) {
            const QString text = QString::fromUtf8(failure.what());
            EXPECT_TRUE(text.contains(c.path)) << failure.what();
            EXPECT_TRUE(text.contains(QString::fromLatin1(c.cause))) << failure.what();
        }
        EXPECT_FALSE(guard.Fired());
    }
}

}  // namespace
}  // namespace quill
