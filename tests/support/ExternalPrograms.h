// Starting other programs from tests: the independent readers of the External* tests
// (python3 with xlrd, LibreOffice headless, pdfinfo, Apache POI, Gnumeric) and the program's own
// command-line companion; with readers for what they print.
#pragma once

#include <string>
#include <vector>

#include <QByteArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace quill::test {

struct ProcessResult {
    bool ok = false;    // ended normally with exit status 0
    int exitCode = -1;  // -1 when it could not start, crashed or ran out of time
    QByteArray out;
    QByteArray err;
};

// Runs a program to its end; a program still running after `timeoutMs` is killed.
ProcessResult RunProgram(const QString& program, const QStringList& args, int timeoutMs = 120000);

// The same with exactly the given environment instead of the test's own.
ProcessResult RunProgramIn(const QProcessEnvironment& environment, const QString& program,
                           const QStringList& args, int timeoutMs = 120000);

// The test's environment with every locale variable set to `locale` ("de_DE.UTF-8").
QProcessEnvironment InLocale(const QString& locale);

// The build's command-line companion, quillmere-sheet.
QString CompanionProgram();

// The test's environment in English and the C locale (LANGUAGE empty, LC_ALL=C): the
// companion's messages and the sheet's captions in English and amounts read the plain way,
// whatever the developer's desktop speaks. Tests that compare them start the companion so.
QProcessEnvironment EnglishEnvironment();

// Runs the companion in EnglishEnvironment().
ProcessResult RunCompanion(const QStringList& args, int timeoutMs = 120000);

// The interpreter that has python3-xlrd (the first python3 on the path may be another).
inline constexpr const char* kPython = "/usr/bin/python3";

bool HaveXlrd();
bool HaveSoffice();
bool HaveOpenpyxl();
bool HaveSsconvert();  // Gnumeric's converter

// The workbook as openpyxl reads it, formulas and stored results (support/openpyxl_dump.py).
QJsonObject OpenpyxlDump(const QString& path);

// Makes the LibreOffice profile under `dir` (see Soffice) recalculate every formula of an
// .xlsx file when it loads one, instead of trusting the results stored in the file.
void RecalculateXlsxOnLoad(const QTemporaryDir& dir);
// Makes the LibreOffice profile under `dir` (see Soffice) format numbers, dates and
// currencies for the locale `tag` ("de-DE"), whatever the environment's locale.
void UseLibreOfficeLocale(const QTemporaryDir& dir, const QString& tag);
bool HavePoi();  // Apache POI with a Java compiler and runtime

// support/PoiCheck.java, compiled into `dir` on the first call, run on `files`: POI's HSSF
// reader, record dumper and formula evaluator (see the Java source for what it prints).
ProcessResult PoiCheck(const QTemporaryDir& dir, const QStringList& files);

// The workbook as xlrd reads it with formatting_info=True (see support/xlrd_dump.py).
QJsonObject XlrdDump(const QString& path);

// LibreOffice headless with a private profile under `dir`, so that test runs neither share
// nor clash over one.
ProcessResult Soffice(const QTemporaryDir& dir, const QStringList& args);

// The conversion filter for plain values (not as shown), comma separated, UTF-8.
inline constexpr const char* kCsvFilter =
    "csv:Text - txt - csv (StarCalc):44,34,76,1,,1033,false,false,false,false";

// Rows of fields of a comma-separated text with double-quoted fields.
std::vector<std::vector<std::string>> ParseCsv(const QByteArray& data);

// A JSON array of integers (xlrd's merged areas, RGB triples, border styles).
std::vector<int> Ints(const QJsonValue& value);

}  // namespace quill::test
