// The command-line companion as a user meets it: usage errors and help, failures that
// leave every target as it was, a successful run that replaces an existing file, the
// picture it writes, which must be the sheet's own picture, special targets and standard
// output, the settings file, odd names and paths, and the signals that end it.
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <set>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "DefaultBudget.h"
#include "model/CategoryState.h"
#include "spreadsheet/xls/XlsFile.h"
#include "support/ExternalPrograms.h"
#include "support/FileBytes.h"
#include "support/NonRegularFiles.h"
#include "support/ScratchConfig.h"

namespace quill::test {
namespace {

const QString kCompanion = CompanionProgram();

class CompanionTest : public ::testing::Test {
  protected:
    ProcessResult Run(const QStringList& args) { return RunCompanion(args, 60000); }

    QString Path(const QString& name) const { return QDir(dir.path()).filePath(name); }

    void Write(const QString& name, const QByteArray& bytes) const {
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QByteArray Read(const QString& name) const {
        QFile file(Path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    // The folder's files, sorted by name.
    std::string Files() const {
        return QDir(dir.path()).entryList(QDir::Files).join(' ').toStdString();
    }

    // Stores a category table of `groups` groups without items as the user's settings.
    void StoreGroups(int groups) const {
        QByteArray text =
            "[Quillmere]\nSystem%20Value%20-%20Saved=True\nSystem%20Value%20-%20Rows=" +
            QByteArray::number(groups) + "\n";
        for (int row = 1; row <= groups; ++row) {
            const QByteArray n = QByteArray::number(row);
            text += "Field1_" + n + "=" + n + "_\nField2_" + n + "=0_\nField3_" + n + "=G" + n +
                    "\nField4_" + n + "=G" + n + "\n";
        }
        ASSERT_TRUE(test::WriteAll(config.IniPath(), text));
    }

    ScratchConfig config;  // the companion's settings store, in case it reads one
    QTemporaryDir dir;
};

TEST_F(CompanionTest, UsageErrorsExitTwoWithAMessageAndWriteNothing) {
    const QString out = Path("budget.xls");
    const QStringList cases[] = {
        {"--frobnicate", "-o", out},
        {"--defaults"},  // nothing to write
        {"--defaults", "-o"},
        {"--synthetic", "12", "-o", out},
        {"--synthetic", "3x-1", "-o", out},
        {"--income4", "5", "-o", out},
        {"--income0", "", "-o", out},
        {"--defaults", "--income2", "-200", "-o", out},  // not an amount
        {"--defaults", "--format", "ods", "-o", out},
        {"--defaults", "-o", out, "--format"},
        // Sizes no sheet holds are refused before a table is built.
        {"--synthetic", "65536x65536", "-o", out},
        {"--synthetic", "201x1", "-o", out},
        {"--synthetic", "1x65515", "-o", out},
        // One source of categories; exporting them writes no workbook.
        {"--categories", "a.csv", "--defaults", "-o", out},
        {"--export-categories", Path("c.csv"), "-o", out},
        {"--export-categories"},
    };
    for (const QStringList& args : cases) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const ProcessResult run = Run(args);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.err.startsWith("quillmere-sheet: ")) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains("--help")) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
    EXPECT_EQ(Files(), "");
    // A refused amount names its option and says why.
    const ProcessResult refused = Run({"--defaults", "--income2", "-200", "-o", out});
    EXPECT_TRUE(
        refused.err.contains("--income2 \"-200\" is not an amount: An amount cannot "
                             "be negative"))
        << refused.err.toStdString();

    const ProcessResult help = Run({"--help", "-o", out});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith("Usage: quillmere-sheet")) << help.out.toStdString();
    EXPECT_TRUE(help.out.contains("--picture FILE"));
    EXPECT_TRUE(help.out.contains("--format FORMAT"));
    EXPECT_TRUE(help.out.contains(".xlsx") && help.out.contains(".pdf"));
    EXPECT_EQ(Files(), "");
}

// The workbook's format follows the file's ending unless --format names one; a name
// without an ending is an .xls file.
TEST_F(CompanionTest, FormatFollowsTheEndingOrTheFormatOption) {
    const std::pair<QStringList, QByteArray> cases[] = {
        {{"-o", Path("a.xlsx")}, "PK\x03\x04"},
        {{"-o", Path("b.PDF")}, "%PDF-"},
        {{"-o", Path("c")}, "\xD0\xCF\x11\xE0"},
        {{"-o", Path("d.xls"), "--format", "pdf"}, "%PDF-"},
        {{"--format", "XLSX", "-o", Path("e.pdf")}, "PK\x03\x04"},
        {{"-o", Path("f.xlsx"), "--format", "xls"}, "\xD0\xCF\x11\xE0"},
    };
    for (const auto& [args, magic] : cases) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const ProcessResult run = Run(QStringList{"--defaults"} + args);
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(Read(QFileInfo(args[args.indexOf("-o") + 1]).fileName()).startsWith(magic));
    }
    EXPECT_EQ(Files(), "a.xlsx b.PDF c d.xls e.pdf f.xlsx");  // nothing left beside them
    // The .xls written under any name is the same workbook.
    EXPECT_EQ(Read("c"), Read("f.xlsx"));
}

TEST_F(CompanionTest, FailuresExitOneAndLeaveEveryTargetAsItWas) {
    Write("old.xls", "old workbook");
    Write("old.png", "old picture");
    Write("plain", "a regular file, not a folder");

    // More than 200 groups: the sheet cannot be built.
    StoreGroups(201);
    ProcessResult run = Run({"-o", Path("old.xls"), "--picture", Path("old.png")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("more than 200 groups")) << run.err.toStdString();
    EXPECT_EQ(Read("old.xls"), "old workbook");
    EXPECT_EQ(Read("old.png"), "old picture");

    // Targets that cannot be made, alone or beside one that could: nothing is written.
    const QStringList cases[] = {
        {"-o", Path("plain/budget.xls")},
        {"--picture", Path("plain/sheet.png")},
        {"-o", Path("new.xls"), "--picture", Path("plain/sheet.png")},
        {"-o", Path("plain/budget.xls"), "--picture", Path("new.png")},
    };
    for (const QStringList& args : cases) {
        SCOPED_TRACE(args.join(' ').toStdString());
        run = Run(QStringList{"--defaults"} + args);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.contains("plain/")) << run.err.toStdString();
    }
    EXPECT_EQ(Files(), "old.png old.xls plain");
    EXPECT_EQ(Read("plain"), "a regular file, not a folder");
}

TEST_F(CompanionTest, TwoOutputsNamingOneFileAreAUsageError) {
    Write("budget.xls", "old workbook");
    ASSERT_TRUE(QFile::link(QStringLiteral("budget.xls"), Path("link.xls")));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    const QStringList cases[] = {
        {"-o", Path("budget.xls"), "--picture", Path("budget.xls")},
        {"-o", Path("link.xls"), "--picture", Path("budget.xls")},
        {"-o", Path("new.xls"), "--picture", Path("sub/../new.xls")},
        {"-o", "-", "--picture", "-"},
    };
    for (const QStringList& args : cases) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const ProcessResult run = Run(QStringList{"--defaults"} + args);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.err.startsWith("quillmere-sheet: -o and --picture"))
            << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
    EXPECT_EQ(Read("budget.xls"), "old workbook");
    EXPECT_EQ(Files(), "budget.xls link.xls");
}

TEST_F(CompanionTest, SpecialTargetsAreLeftAloneAndADashMeansStandardOutput) {
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path("pipe")).constData(), 0600), 0);
    const struct {
        QStringList args;
        const char* says;
    } cases[] = {
        {{"-o", "/dev/null"}, "/dev/null is a device, not a regular file"},
        {{"-o", Path("pipe")}, "pipe is a named pipe, not a regular file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const ProcessResult run = Run(QStringList{"--defaults"} + c.args);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.startsWith("quillmere-sheet: ")) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(c.says)) << run.err.toStdString();
    }
    EXPECT_TRUE(QFileInfo(QStringLiteral("/dev/null")).exists() &&
                !QFileInfo(QStringLiteral("/dev/null")).isFile());
    EXPECT_TRUE(QFileInfo(Path("pipe")).exists() && !QFileInfo(Path("pipe")).isFile());
    EXPECT_EQ(Files(), "");

    // The workbook on standard output, the picture beside it.
    const ProcessResult run = Run({"--defaults", "-o", "-", "--picture", Path("sheet.png")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    ASSERT_TRUE(test::WriteAll(Path("piped.xls"), run.out));
    const spreadsheet::Workbook book = spreadsheet::LoadXls(Path("piped.xls").toStdString());
    ASSERT_EQ(book.Sheets().size(), 1u);
    EXPECT_EQ(book.Sheets()[0]->Name(), "Invoice");
    EXPECT_EQ(QImageReader(Path("sheet.png")).format(), "png");
}

TEST_F(CompanionTest, EndingSignalsRemoveTheTemporaryFolder) {
    QTemporaryDir tmp;
    QTemporaryDir runtime;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signal);
        QProcess process;
        QProcessEnvironment env = EnglishEnvironment();
        env.insert(QStringLiteral("TMPDIR"), tmp.path());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        process.setProcessEnvironment(env);
        // Large enough to be still at work when the signal comes.
        process.start(kCompanion, {"--synthetic", "200x400", "-o", Path("big.xls"), "--picture",
                                   Path("big.png")});
        ASSERT_TRUE(process.waitForStarted(10000));
        const auto runFolders = [&] {
            return QDir(tmp.path()).entryList({QStringLiteral("quillmere-*")}, QDir::Dirs);
        };
        QElapsedTimer waited;
        waited.start();
        while (runFolders().isEmpty() && waited.elapsed() < 30000) QThread::msleep(5);
        ASSERT_EQ(runFolders().size(), 1);

        ::kill(static_cast<pid_t>(process.processId()), signal);
        ASSERT_TRUE(process.waitForFinished(30000));
        // Ended by the signal itself, as the caller asked, with nothing left behind.
        EXPECT_EQ(process.exitStatus(), QProcess::CrashExit);
        EXPECT_EQ(process.exitCode(), signal);
        EXPECT_TRUE(runFolders().isEmpty());
        EXPECT_EQ(Files(), "");
    }
}

// One line on standard error, in the companion's own words.
void ExpectOneOwnLine(const ProcessResult& run) {
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.startsWith("quillmere-sheet: ")) << run.err.toStdString();
    EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
    EXPECT_TRUE(run.err.endsWith('\n')) << run.err.toStdString();
    for (const char* windowed : {"Fenbrook", " at line ", "screenshot", "instead", ".bak"})
        EXPECT_FALSE(run.err.contains(windowed)) << windowed << " in " << run.err.toStdString();
}

TEST_F(CompanionTest, AFailedGenerationIsToldInOneLineWithItsCause) {
    StoreGroups(201);
    const ProcessResult run = Run({"-o", Path("budget.xls")});
    ExpectOneOwnLine(run);
    EXPECT_TRUE(
        run.err.contains("cannot generate the workbook (nothing was written): The "
                         "category list has more than 200 groups (201)"))
        << run.err.toStdString();
}

TEST_F(CompanionTest, UnusableSettingsExitOneNamingTheFileAndLeaveItAlone) {
    const QByteArray table =
        "[Quillmere]\nSystem%20Value%20-%20Saved=True\nSystem%20Value%20-%20Rows=1\n"
        "Field1_1=1_\nField2_1=0_\nField3_1=ONLY\n";
    const std::pair<QByteArray, const char*> stored[] = {
        {table + "\x89PNG\r\n\x1a\n\xff\xfe\x01junk\n",
         "parts of the file are not in the settings format"},
        {QByteArray(table).replace("Rows=1", "Rows=65536"), "row 2 of 65536 has no key"},
    };
    for (const auto& [text, problem] : stored) {
        SCOPED_TRACE(problem);
        QFile ini(config.IniPath());
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write(text);
        ini.close();
        const ProcessResult run = Run({"-o", Path("budget.xls")});
        ExpectOneOwnLine(run);
        EXPECT_TRUE(run.err.contains(config.IniPath().toUtf8() + ": " + problem))
            << run.err.toStdString();
        EXPECT_TRUE(run.err.contains("Use --defaults")) << run.err.toStdString();
        EXPECT_EQ(Files(), "");
        ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
        EXPECT_EQ(ini.readAll(), text);
    }
    EXPECT_FALSE(QFile::exists(config.IniPath() + ".bak"));

    // A named pipe is not opened: no wait for a writer that never comes.
    QFile::remove(config.IniPath());
    ASSERT_TRUE(MakeSpecialFile(SpecialFile::NamedPipe, config.IniPath()));
    const ProcessResult fifo = RunCompanion({"-o", Path("budget.xls")}, 15000);
    ExpectOneOwnLine(fifo);
    EXPECT_TRUE(fifo.err.contains("a named pipe, not a regular file")) << fifo.err.toStdString();
    EXPECT_EQ(FileTypeAt(config.IniPath()), static_cast<unsigned>(S_IFIFO));

    // With --defaults the settings are not needed, so they are not read at all.
    EXPECT_EQ(Run({"--defaults", "-o", Path("budget.xls")}).exitCode, 0);
    EXPECT_EQ(Files(), "budget.xls");
}

// Categories from a CSV file, from standard input or from the store, with their amounts,
// to a workbook or back to CSV; a refused file is told with its line and writes nothing.
TEST_F(CompanionTest, CategoriesComeFromAndGoToCsvFilesWithTheirAmounts) {
    const QByteArray csv =
        "Group,Category,Planned\r\nHOME,,\r\nHOME,\"Rent, flat\",1200.50\r\nHOME,Phone,\r\n"
        "CAR,,\r\nCAR,Fuel,45\r\n";
    Write("in.csv", csv);
    ProcessResult run = Run({"--categories", Path("in.csv"), "-o", Path("budget.xls")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const spreadsheet::Workbook book = spreadsheet::LoadXls(Path("budget.xls").toStdString());
    const spreadsheet::Cell* rent = book.ShownSheet()->Find(spreadsheet::CellRef{14, 2});  // C15
    ASSERT_NE(rent, nullptr);
    EXPECT_EQ(std::get<double>(rent->content), 1200.5);
    EXPECT_FALSE(QFile::exists(config.IniPath()));  // the store stays unopened

    run = Run({"--categories", Path("in.csv"), "--export-categories", Path("out.csv")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(Read("out.csv"), csv);
    EXPECT_TRUE(run.out.isEmpty());

    // Standard input to standard output.
    QProcess piped;
    piped.setProcessEnvironment(EnglishEnvironment());
    piped.start(kCompanion, {"--categories", "-", "--export-categories", "-"});
    ASSERT_TRUE(piped.waitForStarted());
    piped.write(csv);
    piped.closeWriteChannel();
    ASSERT_TRUE(piped.waitForFinished(60000));
    EXPECT_EQ(piped.exitCode(), 0) << piped.readAllStandardError().toStdString();
    EXPECT_EQ(piped.readAllStandardOutput(), csv);

    // The stored table with its amounts, as the window saved it.
    const QByteArray stored =
        "[Quillmere]\nSystem%20Value%20-%20Saved=True\nSystem%20Value%20-%20Rows=2\n"
        "System%20Value%20-%20Columns=4\nField1_1=1_\nField2_1=0_\nField3_1=G\nField4_1=G\n"
        "Field1_2=2_\nField2_2=1_\nField3_2=Item\nField4_2=\nPlanned_1=\nPlanned_2=7.25\n"
        "System%20Value%20-%20Planned=";
    QByteArray fingerprint;
    {
        CategoryTable table = {{"1_", "0_", "G", "G"}, {"2_", "1_", "Item", ""}};
        fingerprint = model::TableFingerprint(table).toLatin1();
    }
    ASSERT_TRUE(test::WriteAll(config.IniPath(), stored + fingerprint + "\n"));
    run = Run({"--export-categories", "-"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "Group,Category,Planned\r\nG,,\r\nG,Item,7.25\r\n");

    // The defaults as a file to start from.
    run = Run({"--defaults", "--export-categories", "-"});
    EXPECT_TRUE(run.out.startsWith("Group,Category,Planned\r\nHOUSING,,\r\nHOUSING,Mortgage"));

    // A refused file: its line and cause, and no output.
    Write("bad.csv", "Group,Category,Planned\nHOME,,\nHOME,Rent,12x\n");
    run = Run({"--categories", Path("bad.csv"), "-o", Path("bad.xls")});
    ExpectOneOwnLine(run);
    EXPECT_TRUE(run.err.contains(Path("bad.csv").toUtf8() + ": line 3: \"12x\" is not an amount"))
        << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(Path("bad.xls")));
    run = Run({"--categories", Path("missing.csv"), "--export-categories", Path("m.csv")});
    ExpectOneOwnLine(run);
    EXPECT_FALSE(QFile::exists(Path("m.csv")));
}

TEST_F(CompanionTest, SuccessReplacesAnExistingWorkbook) {
    Write("budget.xls", "old workbook");
    const ProcessResult run = Run({"--defaults", "--income0", "$4,250", "-o", Path("budget.xls")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_FALSE(run.err.contains("error")) << run.err.toStdString();
    EXPECT_EQ(Files(), "budget.xls");  // no temporary file left beside it

    const spreadsheet::Workbook book = spreadsheet::LoadXls(Path("budget.xls").toStdString());
    ASSERT_EQ(book.Sheets().size(), 1u);
    const spreadsheet::Worksheet& sheet = *book.Sheets()[0];
    EXPECT_EQ(sheet.Name(), "Invoice");
    const double* income = std::get_if<double>(&sheet.Find({5, 4})->content);  // E6
    ASSERT_NE(income, nullptr);
    EXPECT_EQ(*income, 4250);
    EXPECT_EQ(sheet.Find({5, 9})->Cached(), spreadsheet::Value(4350.0));  // J6 = E8 - 0
}

TEST_F(CompanionTest, PictureIsTheSheetsOwnPictureAsPngOrBmp) {
    const ProcessResult run = Run({"--defaults", "--picture", Path("sheet.png"), "--picture",
                                   Path("sheet.bmp"), "-o", Path("budget.xls")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    // The last --picture wins; the file format follows the name.
    EXPECT_EQ(Files(), "budget.xls sheet.bmp");

    DefaultBudget budget;
    const QImage expected = budget.Picture();
    QImageReader reader(Path("sheet.bmp"));
    EXPECT_EQ(reader.format(), "bmp");
    const QImage bmp = reader.read();
    EXPECT_EQ(bmp.size(), expected.size());
    EXPECT_TRUE(bmp.convertToFormat(QImage::Format_RGB32) == expected);

    ASSERT_EQ(Run({"--defaults", "--picture", Path("sheet.PNG")}).exitCode, 0);
    QImageReader png(Path("sheet.PNG"));
    EXPECT_EQ(png.format(), "png");
    EXPECT_TRUE(png.read().convertToFormat(QImage::Format_RGB32) == expected);
}

// The settings file holds the user's categories; a workbook written over it would lose
// them, whichever way the name reaches it.
TEST_F(CompanionTest, NoOutputMayNameTheSettingsFile) {
    const QString ini = config.IniPath();
    const QString folder = config.Folder();
    const QStringList cases[] = {
        {"-o", ini},
        {"--picture", ini},
        // Not the settings file: the system finds no folder "missing" to go up from, so
        // this fails as a write (exit status 1), where cleaning the text would overwrite it.
        {"-o", folder + "/missing/../Tarnwick.ini"},
        {"-o", Path("ini-link")},
        {"-o", Path("ini-hard")},
        {"-o", Path("folder-link/sub/../Tarnwick.ini")},
        {"-o", Path("budget.xls"), "--picture", ini + ".bak"},
    };
    const QByteArray stored = "[Quillmere]\nSystem%20Value%20-%20Saved=True\n";
    ASSERT_TRUE(test::WriteAll(ini, stored));
    ASSERT_TRUE(test::WriteAll(ini + ".bak", stored));
    ASSERT_TRUE(QDir(folder).mkdir(QStringLiteral("sub")));
    ASSERT_TRUE(QFile::link(ini, Path("ini-link")));
    ASSERT_EQ(::link(QFile::encodeName(ini).constData(), QFile::encodeName(Path("ini-hard"))), 0);
    ASSERT_TRUE(QFile::link(folder, Path("folder-link")));
    for (const QStringList& args : cases) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const ProcessResult run = Run(QStringList{"--defaults"} + args);
        if (args[1].contains("missing")) {
            EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
            EXPECT_TRUE(run.err.contains("No such file or directory")) << run.err.toStdString();
            continue;
        }
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.err.contains("where the saved categories and incomes are kept"))
            << run.err.toStdString();
    }
    EXPECT_EQ(test::ReadAll(ini), stored);
    EXPECT_EQ(test::ReadAll(ini + ".bak"), stored);
    EXPECT_EQ(Files(), "ini-hard ini-link");

    // Also when it does not exist yet.
    ASSERT_TRUE(QFile::remove(ini));
    EXPECT_EQ(Run({"--defaults", "-o", ini}).exitCode, 2);
    EXPECT_FALSE(QFileInfo::exists(ini));
}

// The names in a folder as the system keeps them, "." and ".." left out.
std::set<QByteArray> EntriesOf(const QByteArray& folder) {
    std::set<QByteArray> names;
    DIR* opened = ::opendir(folder.constData());
    if (opened == nullptr) return names;
    while (const dirent* entry = ::readdir(opened))
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names.insert(QByteArray(entry->d_name));
    ::closedir(opened);
    return names;
}

// Names reach the files as the bytes given, whether or not they are UTF-8, and as long as
// the folder allows.
TEST_F(CompanionTest, FileNamesKeepTheirBytesAndTheirLength) {
    const QByteArray folder = QFile::encodeName(dir.path());
    ASSERT_EQ(::mkdir((folder + "/\xff-dir").constData(), 0700), 0);
    const QByteArray longest(255, 'n');
    // The shell turns the octal escapes into bytes, which QProcess could not pass.
    const QByteArray names[][2] = {
        {"\\377.xls", "\xff.xls"},
        {"\\376.xls", "\xfe.xls"},
        {"\\377-dir/\\376.png", "\xff-dir/\xfe.png"},
        {longest, longest},
    };
    for (const auto& [escaped, bytes] : names) {
        SCOPED_TRACE(bytes.toHex().toStdString());
        const QString option = bytes.endsWith(".png") ? "--picture" : "-o";
        const ProcessResult run =
            RunProgramIn(EnglishEnvironment(), QStringLiteral("/bin/sh"),
                         {"-c",
                          "exec \"$0\" --defaults " + option + " \"$1/$(printf '" +
                              QString::fromLatin1(escaped) + "')\"",
                          kCompanion, dir.path()},
                         60000);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    }
    EXPECT_EQ(EntriesOf(folder),
              (std::set<QByteArray>{"\xff.xls", "\xfe.xls", "\xff-dir", longest}));
    EXPECT_EQ(EntriesOf(folder + "/\xff-dir"), std::set<QByteArray>{"\xfe.png"});
    // Both are workbooks: neither name stood in for the other.
    for (const char* workbook : {"/\xff.xls", "/\xfe.xls"}) {
        char magic[4] = {};
        const int fd = ::open((folder + workbook).constData(), O_RDONLY | O_CLOEXEC);
        EXPECT_EQ(::read(fd, magic, sizeof magic), 4);
        ::close(fd);
        EXPECT_EQ(QByteArray(magic, 4), "\xD0\xCF\x11\xE0");
    }
}

TEST_F(CompanionTest, PathsAreResolvedAsTheSystemResolvesThem) {
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("real/sub")));
    ASSERT_TRUE(QFile::link(QStringLiteral("real/sub"), Path("link")));
    // "link/.." is the folder above the link's target, as for the shell.
    ProcessResult run = Run({"--defaults", "-o", Path("link/../budget.xls")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(test::ReadAll(Path("real/budget.xls")).startsWith("\xD0\xCF\x11\xE0"));
    // A folder that is not there cannot be left with "..".
    run = Run({"--defaults", "-o", Path("missing/../budget.xls")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("No such file or directory")) << run.err.toStdString();
    EXPECT_EQ(Files(), "");  // nothing beside the link
    EXPECT_EQ(QDir(Path("real")).entryList(QDir::Files | QDir::Hidden), QStringList{"budget.xls"});
}

// A run killed at work (SIGKILL, the out-of-memory killer) leaves its temporary folder and
// perhaps a temporary file beside a target; the next start removes them, and nothing else.
TEST_F(CompanionTest, WhatAKilledRunLeftIsRemovedByTheNextStart) {
    QTemporaryDir tmp;
    QTemporaryDir runtime;
    QProcessEnvironment env = EnglishEnvironment();
    env.insert(QStringLiteral("TMPDIR"), tmp.path());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    const auto runFolders = [&] {
        return QDir(tmp.path()).entryList({QStringLiteral("quillmere-*")}, QDir::Dirs);
    };
    const QStringList targets = {"-o", Path("big.xls"), "--picture", Path("big.png")};

    QProcess killed;
    killed.setProcessEnvironment(env);
    killed.start(kCompanion, QStringList{"--synthetic", "200x400"} + targets);
    ASSERT_TRUE(killed.waitForStarted(10000));
    QElapsedTimer waited;
    waited.start();
    // Killed once its folder is marked: a folder killed before it holds its lock file is
    // not recognised as a run's and stays, by design.
    const auto marked = [&] {
        const QStringList folders = runFolders();
        return !folders.isEmpty() &&
               QFile::exists(tmp.path() + QLatin1Char('/') + folders[0] + QStringLiteral("/.lock"));
    };
    while (!marked() && waited.elapsed() < 30000) QThread::msleep(5);
    ::kill(static_cast<pid_t>(killed.processId()), SIGKILL);
    ASSERT_TRUE(killed.waitForFinished(30000));
    ASSERT_EQ(runFolders().size(), 1);

    // The folder of a run still at work, whose lock is held (here by the test).
    ASSERT_TRUE(QDir(tmp.path()).mkpath(QStringLiteral("quillmere-Live12")));
    QFile lock(tmp.filePath(QStringLiteral("quillmere-Live12/.lock")));
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    ASSERT_EQ(::flock(lock.handle(), LOCK_EX | LOCK_NB), 0);
    // Beside the target: a temporary a killed writer left, and files of the user's that
    // only look alike.
    Write(".big.xls.quillmere-Ab12Cd", "partial");
    Write(".big.xls.backup", "mine");
    Write(".big.xls.quillmere-mine", "mine");

    const ProcessResult run = RunProgramIn(env, kCompanion, QStringList{"--defaults"} + targets);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(runFolders(), QStringList{"quillmere-Live12"});
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{".big.xls.backup", ".big.xls.quillmere-mine", "big.png", "big.xls"}));
    EXPECT_EQ(Read(".big.xls.backup"), "mine");
}

}  // namespace
}  // namespace quill::test
