// The windowed program ended by a signal, as a desktop session or a terminal ends it: SIGTERM
// and SIGHUP close the main window, which saves the edits; SIGINT ends it without saving.
#include <gtest/gtest.h>

#include <csignal>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>

#include "support/ScratchConfig.h"

namespace quill::editor {
namespace {

const QString kProgram = QStringLiteral(QUILL_BINARY_DIR "/app/quillmere");

// True once the process has its own handler for `signal` (its caught-signals mask).
bool Catches(qint64 pid, int signal) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) return false;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (!line.startsWith("SigCgt:")) continue;
        bool ok = false;
        const qulonglong mask = line.mid(7).trimmed().toULongLong(&ok, 16);
        return ok && (mask >> (signal - 1) & 1) != 0;
    }
    return false;
}

TEST(ProgramSignals, TermAndHangUpSaveLikeClosingTheWindowInterruptDoesNot) {
    QTemporaryDir runtime;
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(signal);
        const test::ScratchConfig config;  // the child inherits the scratch settings folder
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        program.setProcessEnvironment(env);
        program.start(kProgram, {});
        ASSERT_TRUE(program.waitForStarted(10000));
        QElapsedTimer waited;
        waited.start();
        while (!Catches(program.processId(), signal) && waited.elapsed() < 30000)
            QThread::msleep(5);
        ASSERT_TRUE(Catches(program.processId(), signal));

        ::kill(static_cast<pid_t>(program.processId()), signal);
        ASSERT_TRUE(program.waitForFinished(30000));
        if (signal == SIGINT) {
            EXPECT_EQ(program.exitStatus(), QProcess::CrashExit);
            EXPECT_EQ(program.exitCode(), SIGINT);
            EXPECT_FALSE(QFile::exists(config.IniPath()));
        } else {
            EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
            EXPECT_EQ(program.exitCode(), 0);
            const QSettings stored(config.IniPath(), QSettings::IniFormat);
            EXPECT_EQ(stored.value(QStringLiteral("Quillmere/System Value - Saved")).toString(),
                      QStringLiteral("True"));
            EXPECT_EQ(stored.value(QStringLiteral("Quillmere/System Value - Rows")).toString(),
                      QStringLiteral("77"));
        }
    }
}

}  // namespace
}  // namespace quill::editor
