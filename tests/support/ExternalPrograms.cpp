#include "support/ExternalPrograms.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>

namespace quill::test {

ProcessResult RunProgram(const QString& program, const QStringList& args, int timeoutMs) {
    return RunProgramIn(QProcessEnvironment::systemEnvironment(), program, args, timeoutMs);
}

ProcessResult RunProgramIn(const QProcessEnvironment& environment, const QString& program,
                           const QStringList& args, int timeoutMs) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, args);
    ProcessResult run;
    if (!process.waitForStarted(10000)) return run;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(5000);
        return run;
    }
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    if (process.exitStatus() != QProcess::NormalExit) return run;
    run.exitCode = process.exitCode();
    run.ok = run.exitCode == 0;
    return run;
}

bool HaveXlrd() {
    return RunProgram(kPython, {"-c", "import xlrd"}).ok;
}

bool HaveSoffice() {
    return QFile::exists("/usr/bin/soffice");
}

namespace {
const char* const kPoiClassPath =
    "/usr/share/java/poi.jar:/usr/share/java/commons-collections4.jar:"
    "/usr/share/java/commons-math3.jar:/usr/share/java/commons-codec.jar";
}  // namespace

bool HavePoi() {
    return QFile::exists("/usr/share/java/poi.jar") && QFile::exists("/usr/bin/javac") &&
           QFile::exists("/usr/bin/java");
}

bool HaveSsconvert() {
    return QFile::exists("/usr/bin/ssconvert");
}

ProcessResult PoiCheck(const QTemporaryDir& dir, const QStringList& files) {
    const QString classes = dir.filePath("poi-classes");
    if (!QFile::exists(classes + "/PoiCheck.class")) {
        const ProcessResult built = RunProgram(
            "/usr/bin/javac", {"-cp", kPoiClassPath, "-d", classes,
                               QStringLiteral(QUILL_SOURCE_DIR "/tests/support/PoiCheck.java")});
        EXPECT_TRUE(built.ok) << built.err.toStdString();
        if (!built.ok) return built;
    }
    return RunProgram("/usr/bin/java",
                      QStringList{"-cp", classes + ":" + kPoiClassPath, "PoiCheck"} + files,
                      300000);
}

QJsonObject XlrdDump(const QString& path) {
    const ProcessResult run =
        RunProgram(kPython, {QStringLiteral(QUILL_SOURCE_DIR "/tests/support/xlrd_dump.py"), path});
    EXPECT_TRUE(run.ok) << run.err.toStdString();
    return QJsonDocument::fromJson(run.out).object();
}

bool HaveOpenpyxl() {
    return RunProgram(kPython, {"-c", "import openpyxl"}).ok;
}

QJsonObject OpenpyxlDump(const QString& path) {
    const ProcessResult run = RunProgram(
        kPython, {QStringLiteral(QUILL_SOURCE_DIR "/tests/support/openpyxl_dump.py"), path});
    EXPECT_TRUE(run.ok) << run.err.toStdString();
    return QJsonDocument::fromJson(run.out).object();
}

namespace {

// Writes the profile's registry modifications under `dir` (see Soffice): one item.
void WriteLibreOfficeSetting(const QTemporaryDir& dir, const QByteArray& item) {
    ASSERT_TRUE(QDir().mkpath(dir.filePath("profile/user")));
    QFile file(dir.filePath("profile/user/registrymodifications.xcu"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<oor:items xmlns:oor=\"http://openoffice.org/2001/registry\" "
        "xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" "
        "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n" +
        item + "\n</oor:items>\n");
}

}  // namespace

void RecalculateXlsxOnLoad(const QTemporaryDir& dir) {
    WriteLibreOfficeSetting(
        dir,
        "<item oor:path=\"/org.openoffice.Office.Calc/Formula/Load\">"
        "<prop oor:name=\"OOXMLRecalcMode\" oor:op=\"fuse\"><value>0</value></prop></item>");
}

void UseLibreOfficeLocale(const QTemporaryDir& dir, const QString& tag) {
    WriteLibreOfficeSetting(dir,
                            "<item oor:path=\"/org.openoffice.Setup/L10N\">"
                            "<prop oor:name=\"ooSetupSystemLocale\" oor:op=\"fuse\"><value>" +
                                tag.toUtf8() + "</value></prop></item>");
}

QProcessEnvironment InLocale(const QString& locale) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& name : env.keys())
        if (name.startsWith(QStringLiteral("LC_")) || name == QStringLiteral("LANG") ||
            name == QStringLiteral("LANGUAGE"))
            env.remove(name);
    env.insert(QStringLiteral("LANG"), locale);
    env.insert(QStringLiteral("LC_ALL"), locale);
    return env;
}

QString CompanionProgram() {
    return QStringLiteral(QUILL_BINARY_DIR "/app/quillmere-sheet");
}

QProcessEnvironment EnglishEnvironment() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LANGUAGE"), QString());
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    return env;
}

ProcessResult RunCompanion(const QStringList& args, int timeoutMs) {
    return RunProgramIn(EnglishEnvironment(), CompanionProgram(), args, timeoutMs);
}

ProcessResult Soffice(const QTemporaryDir& dir, const QStringList& args) {
    QStringList all = {"--headless", "--norestore",
                       "-env:UserInstallation=file://" + dir.filePath("profile")};
    all += args;
    return RunProgram("/usr/bin/soffice", all, 180000);
}

std::vector<std::vector<std::string>> ParseCsv(const QByteArray& data) {
    std::vector<std::vector<std::string>> rows(1);
    std::string field;
    bool quoted = false;
    for (int i = 0; i < data.size(); ++i) {
        const char ch = data[i];
        if (quoted) {
            if (ch == '"' && i + 1 < data.size() && data[i + 1] == '"')
                field += '"', ++i;
            else if (ch == '"')
                quoted = false;
            else
                field += ch;
        } else if (ch == '"') {
            quoted = true;
        } else if (ch == ',') {
            rows.back().push_back(field);
            field.clear();
        } else if (ch == '\n') {
            rows.back().push_back(field);
            field.clear();
            rows.emplace_back();
        } else if (ch != '\r') {
            field += ch;
        }
    }
    return rows;
}

std::vector<int> Ints(const QJsonValue& value) {
    std::vector<int> out;
    for (const QJsonValue& x : value.toArray()) out.push_back(x.toInt());
    return out;
}

}  // namespace quill::test
