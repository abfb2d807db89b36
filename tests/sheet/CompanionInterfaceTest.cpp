// The companion's interface beyond its outputs: its manual page lists the options its
// --help lists, binary output is never written to a terminal, and it speaks the desktop's
// language.
#include <gtest/gtest.h>

#include <iterator>
#include <set>
#include <string>

#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>
#include <QTranslator>

#include "spreadsheet/objectmodel/ObjectModel.h"
#include "support/ExternalPrograms.h"
#include "support/ScratchConfig.h"

namespace quill::test {
namespace {

// The options named in `text`: "-o" and "--word" where they start a word.
std::set<QString> OptionsIn(const QString& text) {
    static const QRegularExpression option(QStringLiteral("(?:^|[\\s,(\\[|])(--?[a-z][a-z0-9-]*)"));
    std::set<QString> found;
    for (const auto& match : option.globalMatch(text)) found.insert(match.captured(1));
    return found;
}

TEST(CompanionInterfaceTest, TheManualPageListsEveryOptionOfHelpAndNoOther) {
    const ProcessResult help = RunCompanion({QStringLiteral("--help")}, 30000);
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
        const ProcessResult run = RunProgramIn(
            EnglishEnvironment(), script,
            {"-qec", CompanionProgram() + QLatin1Char(' ') + QLatin1String(args), "/dev/null"},
            60000);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.out.contains("terminal")) << run.out.toStdString();
        EXPECT_TRUE(run.out.contains("redirect")) << run.out.toStdString();
        for (const char* magic : {"\xD0\xCF\x11\xE0", "%PDF", "BM"})
            EXPECT_FALSE(run.out.contains(magic)) << magic;
    }
    // Into a pipe, as before.
    const ProcessResult piped = RunCompanion({"--defaults", "-o", "-"}, 60000);
    EXPECT_EQ(piped.exitCode, 0) << piped.err.toStdString();
    EXPECT_TRUE(piped.out.startsWith("\xD0\xCF\x11\xE0"));
}

// The desktop's language chooses the companion's: --help and a usage error come from that
// language's catalog with the option names, the columns of the option list and the exit
// statuses of the English ones, and the sheet is made in that language. A desktop that
// prefers English to a translated language, or speaks none, gets the English texts exactly.
TEST(CompanionInterfaceTest, HelpUsageErrorsAndTheSheetSpeakTheDesktopsLanguage) {
    ScratchConfig config;
    QTemporaryDir dir;
    const QStringList refused = {"--format", "odt", "-o", dir.filePath("budget.xls")};
    const QByteArray englishError =
        "quillmere-sheet: --format wants xls, xlsx or pdf\nTry 'quillmere-sheet --help'.\n";
    const ProcessResult englishHelp = RunCompanion({QStringLiteral("--help")}, 30000);
    ASSERT_EQ(englishHelp.exitCode, 0);
    ASSERT_TRUE(englishHelp.out.startsWith("Usage: quillmere-sheet [options] -o FILE\n"));

    const struct {
        const char* language;  // LANGUAGE
        const char* locale;    // LANG and LC_ALL
        const char* catalog;   // the language spoken; none for English
        const char* title;     // the sheet's B2
    } cases[] = {
        {"de", "de_DE.UTF-8", "de", "Persönliche Finanzen"},
        {"fr", "fr_FR.UTF-8", "fr", "Finances personnelles"},
        {"es", "es_ES.UTF-8", "es", "Finanzas personales"},
        {"", "C", nullptr, "Personal Finance"},
        {"en:de", "de_DE.UTF-8", nullptr, "Personal Finance"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language + std::string(" ") + c.locale);
        QProcessEnvironment env = InLocale(QString::fromLatin1(c.locale));
        env.insert(QStringLiteral("LANGUAGE"), QString::fromLatin1(c.language));
        const auto run = [&](const QStringList& args) {
            return RunProgramIn(env, CompanionProgram(), args, 60000);
        };
        const ProcessResult help = run({QStringLiteral("--help")});
        const ProcessResult error = run(refused);
        EXPECT_EQ(help.exitCode, 0);
        EXPECT_EQ(error.exitCode, 2);
        if (c.catalog == nullptr) {
            EXPECT_EQ(help.out, englishHelp.out);
            EXPECT_EQ(error.err, englishError);
        } else {
            QTranslator catalog;
            ASSERT_TRUE(catalog.load(QStringLiteral("companion_") + QLatin1String(c.catalog),
                                     QStringLiteral(":/i18n")));
            const auto translated = [&](const char* text) {
                const QString translation = catalog.translate("Companion", text);
                EXPECT_FALSE(translation.isEmpty()) << text;
                return translation;
            };
            EXPECT_NE(error.err, englishError);
            EXPECT_EQ(QString::fromUtf8(error.err),
                      QStringLiteral("quillmere-sheet: ") +
                          translated("--format wants xls, xlsx or pdf") + u'\n' +
                          translated("Try 'quillmere-sheet --help'.") + u'\n');
            const QString text = QString::fromUtf8(help.out);
            EXPECT_TRUE(
                text.startsWith(translated("Usage: quillmere-sheet [options] -o FILE\n"
                                           "Generates the Personal Finance budget "
                                           "workbook without windows.")))
                << help.out.toStdString();
            const auto names = [](const std::set<QString>& options) {
                return QStringList(options.begin(), options.end()).join(u' ').toStdString();
            };
            EXPECT_EQ(names(OptionsIn(text)), names(OptionsIn(QString::fromUtf8(englishHelp.out))));
            // The option list in two columns: an option two columns in, then its description
            // in column 24 (or on the next line when the option is wider), continued there.
            static const QRegularExpression option(QStringLiteral("^  -\\S+( \\S+)?( +|$)"));
            for (const QString& line : text.section(QStringLiteral("\n\n"), 1).split(u'\n')) {
                if (line.isEmpty()) continue;
                const auto head = option.match(line);
                const bool listed = head.hasMatch() && (head.capturedLength() == 24 ||
                                                        head.capturedLength() == line.size());
                const bool continued =
                    line.size() > 24 && line.startsWith(QString(24, u' ')) && line[24] != u' ';
                EXPECT_TRUE(listed || continued) << line.toStdString();
            }
        }
        // The sheet is made in the same language, also by a run that draws its picture (and
        // so changes its application object).
        const QString workbook =
            dir.filePath(QStringLiteral("budget-%1.xls").arg(&c - std::begin(cases)));
        ASSERT_TRUE(
            run({"--defaults", "-o", workbook, "--picture", dir.filePath(QStringLiteral("p.png"))})
                .ok);
        spreadsheet::Application app;
        app.Workbooks().Open(workbook.toStdString());
        const spreadsheet::Value title = app.Range("B2").Value2();
        const auto* titleText = std::get_if<std::string>(&title);
        ASSERT_NE(titleText, nullptr);
        EXPECT_EQ(*titleText, c.title);
    }
}

}  // namespace
}  // namespace quill::test
