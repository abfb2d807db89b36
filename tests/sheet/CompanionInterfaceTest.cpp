// The companion's interface beyond its outputs: its manual page lists the options its
// --help lists, and binary output is never written to a terminal.
#include <gtest/gtest.h>

#include <set>

#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>

#include "support/ExternalPrograms.h"
#include "support/ScratchConfig.h"

namespace quill::test {
namespace {

const QString kCompanion = QStringLiteral(QUILL_BINARY_DIR "/app/quillmere-sheet");

// The options named in `text`: "-o" and "--word" where they start a word.
std::set<QString> OptionsIn(const QString& text) {
    static const QRegularExpression option(QStringLiteral("(?:^|[\\s,(\\[|])(--?[a-z][a-z0-9-]*)"));
    std::set<QString> found;
    for (const auto& match : option.globalMatch(text)) found.insert(match.captured(1));
    return found;
}

TEST(CompanionInterfaceTest, TheManualPageListsEveryOptionOfHelpAndNoOther) {
    const ProcessResult help = RunProgram(kCompanion, {QStringLiteral("--help")}, 30000);
    ASSERT_EQ(help.exitCode, 0) << help.err.toStdString();
    const std::set<QString> helped = OptionsIn(QString::fromUtf8(help.out));

    QFile page(QStringLiteral(QUILL_SOURCE_DIR "/data/man/quillmere-sheet.1.in"));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly | QIODevice::Text));
    QString text =
        QString::fromUtf8(page.readAll()).replace(QStringLiteral("\\-"), QStringLiteral("-"));
    // The OPTIONS section: from its heading to the next one.
    const qsizetype from = text.indexOf(QStringLiteral("\n.SH OPTIONS"));
    ASSERT_GE(from, 0);
    const qsizetype to = text.indexOf(QStringLiteral("\n.SH "), from + 1);
    std::set<QString> documented;
    for (const QString& line : text.mid(from, to - from).split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String(".B")))  // the option lines (.B, .BI, .BR)
            for (const QString& name : OptionsIn(line.mid(line.indexOf(QLatin1Char(' ')))))
                documented.insert(name);
    documented.erase(QStringLiteral("-h"));  // --help's short form, which --help leaves out

    EXPECT_GE(helped.size(), 10u);
    EXPECT_EQ(helped, documented);
}

// As compressors do: a workbook or picture for standard output is refused while that is a
// terminal (exit 2, with a hint to redirect), and nothing reaches the terminal but that.
TEST(CompanionInterfaceTest, BinaryOutputToATerminalIsRefused) {
    const QString script = QStandardPaths::findExecutable(QStringLiteral("script"));
    if (script.isEmpty()) GTEST_SKIP() << "script(1) gives the test a terminal";
    ScratchConfig config;
    for (const char* args :
         {"--defaults -o -", "--defaults --picture -", "--defaults --format pdf -o -"}) {
        SCOPED_TRACE(args);
        // script runs the command with a terminal as its standard output and passes on its
        // exit status (-e); what the command writes to the terminal comes out here.
        const ProcessResult run = RunProgram(
            script, {"-qec", kCompanion + QLatin1Char(' ') + QLatin1String(args), "/dev/null"},
            60000);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.out.contains("terminal")) << run.out.toStdString();
        EXPECT_TRUE(run.out.contains("redirect")) << run.out.toStdString();
        for (const char* magic : {"\xD0\xCF\x11\xE0", "%PDF", "BM"})
            EXPECT_FALSE(run.out.contains(magic)) << magic;
    }
    // Into a pipe, as before.
    const ProcessResult piped = RunProgram(kCompanion, {"--defaults", "-o", "-"}, 60000);
    EXPECT_EQ(piped.exitCode, 0) << piped.err.toStdString();
    EXPECT_TRUE(piped.out.startsWith("\xD0\xCF\x11\xE0"));
}

}  // namespace
}  // namespace quill::test
