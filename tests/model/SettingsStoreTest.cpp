// Writing the settings file: a write that cannot be completed leaves the stored file as it
// was, byte for byte, is reported once, and never waits for ever.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <ostream>
#include <string>

#include <QDir>
#include <QFile>
#include <QSettings>

#include "model/SettingsStore.h"
#include "shell/Failure.h"
#include "support/FileBytes.h"
#include "support/ScopedSettings.h"
#include "support/ScratchConfig.h"

namespace quill {
namespace {

// A stored state of some size, with a group of another program that must survive a write.
QByteArray StoredState() {
    QByteArray text = "[Elsewhere]\nkept=yes\n\n[Quillmere]\n0%20Income=$3000\n";
    for (int row = 1; row <= 77; ++row)
        for (int field = 1; field <= 4; ++field)
            text += "Field" + QByteArray::number(field) + "_" + QByteArray::number(row) +
                    "=stored value " + QByteArray::number(row) + "\n";
    return text + "System%20Value%20-%20Rows=77\nSystem%20Value%20-%20Saved=True\n";
}

// The ways a write can go wrong, each prepared in the child process that writes.
enum class Obstacle { FileSizeLimit, PipeAsLock, FolderAsLock };

struct Outcome {
    std::string report;  // what the write threw, "saved" or "" when the child was stopped
    int signal = 0;      // the signal that stopped the child, 0 when it ended by itself
};

// Runs one batch of writes in a forked child, so that a write that waits for ever ends with
// the child (after five seconds) and a file size limit stays the child's own.
Outcome WriteInChild(Obstacle obstacle) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return {"no pipe", 0};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        ::alarm(5);
        if (obstacle == Obstacle::FileSizeLimit) {
            // Writes past 4 KiB fail with EFBIG instead of ending the process.
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{4096, 4096};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        std::string report;
        try {
            SettingsStore store;
            store.BeginBatch();
            store.SaveSetting(QStringLiteral("0 Income"), QStringLiteral("$4000"));
            store.SaveSetting(QStringLiteral("Field3_2"), QStringLiteral("Rent"));
            store.CommitBatch();
            report = "saved";
        } catch (const FileFailure& failure) {
            report = failure.what();
        } catch (const std::exception& failure) {
            report = std::string("not a file failure: ") + failure.what();
        }
        (void)!::write(pipeFds[1], report.data(), report.size());
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    Outcome outcome;
    char buffer[4096];
    for (ssize_t got; (got = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        outcome.report.append(buffer, static_cast<std::size_t>(got));
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (WIFSIGNALED(status)) outcome.signal = WTERMSIG(status);
    return outcome;
}

struct FailedWrite {
    const char* name;
    Obstacle obstacle;
    const char* reason;  // part of the report
};

void PrintTo(const FailedWrite& write, std::ostream* out) {
    *out << write.name;
}

class SettingsStoreWrite : public ::testing::TestWithParam<FailedWrite> {};

TEST_P(SettingsStoreWrite, FailsOnceWithoutWaitingForEverAndLeavesTheFileByteForByte) {
    const test::ScratchConfig config;
    const QByteArray stored = StoredState();
    ASSERT_TRUE(test::WriteAll(config.IniPath(), stored));
    const QString lock = config.IniPath() + QStringLiteral(".lock");
    if (GetParam().obstacle == Obstacle::PipeAsLock) {
        ASSERT_EQ(::mkfifo(QFile::encodeName(lock).constData(), 0600), 0);
    } else if (GetParam().obstacle == Obstacle::FolderAsLock) {
        ASSERT_TRUE(QDir().mkdir(lock));
    }
    const QStringList before =
        QDir(config.Folder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

    const Outcome outcome = WriteInChild(GetParam().obstacle);
    ASSERT_EQ(outcome.signal, 0) << "the write did not end: stopped by signal " << outcome.signal;
    const QString report = QString::fromStdString(outcome.report);
    EXPECT_TRUE(report.startsWith(QStringLiteral("The settings could not be saved to ") +
                                  config.IniPath() + QStringLiteral(": ")))
        << outcome.report;
    EXPECT_TRUE(report.contains(QLatin1String(GetParam().reason))) << outcome.report;
    EXPECT_EQ(test::ReadAll(config.IniPath()), stored);
    EXPECT_EQ(
        QDir(config.Folder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
        before);

    // Once the obstacle is gone the same write succeeds, and keeps everything else.
    QFile::remove(lock);
    QDir().rmdir(lock);
    {
        SettingsStore store;
        store.BeginBatch();
        store.SaveSetting(QStringLiteral("0 Income"), QStringLiteral("$4000"));
        store.CommitBatch();
        EXPECT_EQ(store.GetSetting(QStringLiteral("0 Income")), QStringLiteral("$4000"));
    }
    QSettings written(config.IniPath(), QSettings::IniFormat);
    EXPECT_EQ(written.value(QStringLiteral("Elsewhere/kept")).toString(), QStringLiteral("yes"));
    EXPECT_EQ(written.value(QStringLiteral("Quillmere/Field4_77")).toString(),
              QStringLiteral("stored value 77"));
    EXPECT_TRUE(test::ReadAll(config.IniPath()).contains("\n0%20Income=$4000\n"));
    EXPECT_EQ(written.allKeys().size(), 312);
}

INSTANTIATE_TEST_SUITE_P(
    SettingsStore, SettingsStoreWrite,
    ::testing::Values(FailedWrite{"FileSizeLimit", Obstacle::FileSizeLimit, "left as it was"},
                      FailedWrite{"PipeAsLock", Obstacle::PipeAsLock,
                                  "Tarnwick.ini.lock is a named pipe, not a regular file"},
                      FailedWrite{"FolderAsLock", Obstacle::FolderAsLock,
                                  "Tarnwick.ini.lock is a folder, not a regular file"}),
    [](const ::testing::TestParamInfo<FailedWrite>& info) { return info.param.name; });

TEST(SettingsStore, TheFirstWriteMakesTheConfigurationFolder) {
    const test::ScratchConfig config;
    const QString folder = config.Folder() + QStringLiteral("/new/config");
    const test::ScopedEnvironment configHome("XDG_CONFIG_HOME", QFile::encodeName(folder));
    SettingsStore store;
    store.SaveSetting(QStringLiteral("0 Income"), QStringLiteral("$1"));
    EXPECT_EQ(test::ReadAll(folder + QStringLiteral("/Tarnwick.ini")),
              "[Quillmere]\n0%20Income=$1\n");
}

}  // namespace
}  // namespace quill
