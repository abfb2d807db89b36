// The installed program: `cmake --install` into a scratch DESTDIR puts each file in its
// place and nothing else, the installed companion writes the same workbook as the built
// one with nothing in its environment but HOME and XDG_CONFIG_HOME, the installed copy
// finds its optional files in its data folder, and the desktop entry and metainfo pass
// their validators and agree with each other and with the project's version.
#include <gtest/gtest.h>

#include <cstdint>
#include <span>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include "shell/CommonServices.h"
#include "spreadsheet/xls/XlsContainer.h"
#include "support/ExternalPrograms.h"
#include "support/FileBytes.h"
#include "support/ScratchConfig.h"

namespace quill::test {
namespace {

const QString kId = QStringLiteral(QUILL_APP_ID);
const QString kPrefix = QStringLiteral("/usr");

class Installed : public ::testing::Test {
  protected:
    // One install per test program run; every test reads it.
    static void SetUpTestSuite() {
        destdir_ = new QTemporaryDir;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DESTDIR"), destdir_->path());
        install_ = new ProcessResult(
            RunProgramIn(env, QStringLiteral(QUILL_CMAKE_COMMAND),
                         {"--install", QStringLiteral(QUILL_BINARY_DIR), "--prefix", kPrefix}));
    }
    static void TearDownTestSuite() {
        delete install_;
        delete destdir_;
    }

    void SetUp() override {
        ASSERT_TRUE(install_->ok) << install_->out.toStdString() << install_->err.toStdString();
    }

    // A path under the installed prefix, such as "bin/quillmere".
    static QString Path(const QString& underPrefix) {
        return destdir_->path() + kPrefix + QLatin1Char('/') + underPrefix;
    }

    static inline QTemporaryDir* destdir_ = nullptr;
    static inline ProcessResult* install_ = nullptr;
};

const QString kBin = QStringLiteral(QUILL_INSTALL_BINDIR);
const QString kShare = QStringLiteral(QUILL_INSTALL_SHAREDIR);

TEST_F(Installed, EachFileGoesToItsPlaceAndNothingElseIsInstalled) {
    QStringList files;
    QDirIterator it(destdir_->path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) files << it.next().mid(destdir_->path().size());
    files.sort();
    const QString usr = kPrefix + QLatin1Char('/');
    QStringList expected = {
        usr + kBin + "/quillmere",
        usr + kBin + "/quillmere-sheet",
        usr + kShare + "/applications/" + kId + ".desktop",
        usr + kShare + "/icons/hicolor/256x256/apps/" + kId + ".png",
        usr + kShare + "/icons/hicolor/48x48/apps/" + kId + ".png",
        usr + kShare + "/icons/hicolor/scalable/apps/" + kId + ".svg",
        usr + QStringLiteral(QUILL_INSTALL_MANDIR) + "/man1/quillmere-sheet.1.gz",
        usr + QStringLiteral(QUILL_INSTALL_MANDIR) + "/man1/quillmere.1.gz",
        usr + kShare + "/metainfo/" + kId + ".metainfo.xml",
    };
    // The compiled translations, embedded in the programs too.
    for (const char* catalog : {"common", "windows", "companion"}) {
        for (const char* language : {"de", "fr", "es"}) {
            expected << usr + QStringLiteral(QUILL_INSTALL_DATADIR "/translations/%1_%2.qm")
                                  .arg(QLatin1String(catalog), QLatin1String(language));
        }
    }
    expected.sort();
    EXPECT_EQ(files.join('\n').toStdString(), expected.join('\n').toStdString());

    for (const QString& program : {QStringLiteral("quillmere"), QStringLiteral("quillmere-sheet")})
        EXPECT_TRUE(QFileInfo(Path(kBin + "/" + program)).isExecutable()) << program.toStdString();
    for (const int size : {48, 256}) {
        QImageReader icon(
            Path(kShare + QStringLiteral("/icons/hicolor/%1x%1/apps/").arg(size) + kId + ".png"));
        EXPECT_EQ(icon.format(), "png");
        EXPECT_EQ(icon.size(), QSize(size, size));
    }
    for (const QString& page : {QStringLiteral("quillmere"), QStringLiteral("quillmere-sheet")}) {
        const QByteArray man =
            ReadAll(Path(QStringLiteral(QUILL_INSTALL_MANDIR) + "/man1/" + page + ".1.gz"));
        EXPECT_TRUE(man.startsWith("\x1f\x8b")) << page.toStdString();  // gzip
    }
}

TEST_F(Installed, BothProgramsPrintTheProjectVersionWithoutADisplay) {
    QProcessEnvironment empty;
    empty.insert(QStringLiteral("HOME"), destdir_->path());
    for (const QString& program :
         {QStringLiteral("quillmere"), QStringLiteral("quillmere-sheet")}) {
        const ProcessResult run = RunProgramIn(empty, Path(kBin + "/" + program), {"--version"});
        EXPECT_TRUE(run.ok) << program.toStdString() << ": " << run.err.toStdString();
        EXPECT_EQ(run.out.toStdString(), (program + " " QUILL_VERSION "\n").toStdString());
    }
}

TEST_F(Installed, TheInstalledCompanionWritesTheWorkbookWithAnEmptyEnvironment) {
    QTemporaryDir home;
    const QString config = home.filePath(QStringLiteral(".config"));
    QProcessEnvironment env;
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    const QString workbook = home.filePath(QStringLiteral("budget.xls"));
    const ProcessResult run =
        RunProgramIn(env, Path(kBin + "/quillmere-sheet"), {"--defaults", "-o", workbook});
    ASSERT_TRUE(run.ok) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();

    // The same workbook as the companion in the build folder writes. Without
    // SOURCE_DATE_EPOCH the installed run stamps the document properties with the clock, so
    // the workbook streams are compared, not the whole files.
    QTemporaryDir built;
    ScratchConfig scratch;
    const QString reference = built.filePath(QStringLiteral("budget.xls"));
    ASSERT_TRUE(RunProgram(QStringLiteral(QUILL_BINARY_DIR "/app/quillmere-sheet"),
                           {"--defaults", "-o", reference})
                    .ok);
    const QByteArray bytes = ReadAll(workbook);
    EXPECT_TRUE(bytes.startsWith("\xd0\xcf\x11\xe0\xa1\xb1\x1a\xe1"));  // a compound file
    const auto stream = [](const QByteArray& file) {
        return spreadsheet::xls::UnpackCompoundFile(std::span(
            reinterpret_cast<const std::uint8_t*>(file.constData()), std::size_t(file.size())));
    };
    EXPECT_TRUE(stream(bytes) == stream(ReadAll(reference)))
        << "the installed program wrote another workbook";
}

TEST_F(Installed, TheInstalledCopyFindsItsSkinAndPointerInItsDataFolder) {
    const QString program = Path(kBin);
    const QString data = Path(QStringLiteral(QUILL_INSTALL_DATADIR));
    EXPECT_EQ(shell::DataFolderFor(program), QDir::cleanPath(data));
    // The files a package holds there (the project ships none of them today) are what the
    // installed program loads; without them it uses its built-in look and pointer. The
    // ones added here are removed again, so that the install stays as it was.
    const bool shipped = QFileInfo::exists(data);
    for (const QString& name : {QStringLiteral("HAND-M.CUR"), QStringLiteral("x/o.cjs")}) {
        const QString installed = data + QLatin1Char('/') + name;
        if (!QFile::exists(installed)) {
            ASSERT_TRUE(QDir().mkpath(QFileInfo(installed).path()));
            ASSERT_TRUE(WriteAll(installed, "x"));
        }
        EXPECT_EQ(shell::OptionalFileFor(program, name), installed) << name.toStdString();
    }
    if (!shipped) QDir(data).removeRecursively();
}

// The first release listed in the metainfo.
QString NewestRelease(const QString& metainfo) {
    QFile file(metainfo);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement &&
            xml.name() == QLatin1String("release"))
            return xml.attributes().value(QLatin1String("version")).toString();
    }
    return {};
}

TEST_F(Installed, DesktopEntryAndMetainfoPassTheirValidatorsAndAgree) {
    const QString desktop = Path(kShare + "/applications/" + kId + ".desktop");
    const QString metainfo = Path(kShare + "/metainfo/" + kId + ".metainfo.xml");

    const ProcessResult entry = RunProgram(QStringLiteral("desktop-file-validate"), {desktop});
    EXPECT_TRUE(entry.ok) << entry.out.toStdString() << entry.err.toStdString();
    EXPECT_EQ(entry.out.toStdString() + entry.err.toStdString(), "");  // not even a hint
    const ProcessResult meta =
        RunProgram(QStringLiteral("appstreamcli"), {"validate", "--no-net", metainfo});
    EXPECT_TRUE(meta.ok) << meta.out.toStdString() << meta.err.toStdString();

    // The entry names the installed program and icon; the metainfo launches the entry.
    const QSettings keys(desktop, QSettings::IniFormat);
    const QString exec = keys.value(QStringLiteral("Desktop Entry/Exec")).toString();
    EXPECT_TRUE(QFileInfo(Path(kBin + "/" + exec.section(QLatin1Char(' '), 0, 0))).isExecutable())
        << exec.toStdString();
    EXPECT_EQ(keys.value(QStringLiteral("Desktop Entry/Icon")).toString(), kId);
    const QByteArray xml = ReadAll(metainfo);
    EXPECT_TRUE(xml.contains("<id>" + kId.toUtf8() + "</id>"));
    EXPECT_TRUE(xml.contains("<launchable type=\"desktop-id\">" + kId.toUtf8() + ".desktop<"));
    EXPECT_TRUE(xml.contains("<project_license>GPL-3.0-or-later</project_license>"));

    // A new version needs its release entry, and its entry in the package's changelog.
    EXPECT_EQ(NewestRelease(metainfo).toStdString(), QUILL_VERSION);
    const QByteArray changelog = ReadAll(QStringLiteral(QUILL_SOURCE_DIR "/packaging/changelog"));
    EXPECT_TRUE(changelog.startsWith("quillmere (" QUILL_VERSION ") "))
        << changelog.left(40).toStdString();
}

}  // namespace
}  // namespace quill::test
