// The companion's command line: its options, their parsing and the outputs they name.
#pragma once

#include <array>
#include <optional>
#include <utility>
#include <vector>

#include <QString>
#include <QStringList>

#include "bridge/WorkbookExport.h"
#include "model/AppState.h"
#include "model/Currency.h"

namespace quill::companion {

struct CommandLine {
    QString workbookOut;
    std::optional<bridge::SaveFormat> format;  // from --format; else by the file's ending
    QString pictureOut;
    bool defaults = false;
    std::optional<std::pair<int, int>> synthetic;
    std::array<std::optional<QString>, 4> incomes;  // as given; read once the currency is known
    std::optional<model::Currency> currency;        // --currency
    std::optional<Paper> paper;                     // --paper
    QString categoriesIn;      // --categories: a CSV file to generate from ("-": standard input)
    QString categoriesExport;  // --export-categories: write the table as CSV, no workbook
};

// "-" as a target: standard output.
inline const QString kStandardOutput = QStringLiteral("-");

// Parses the command line; returns an exit status when the program should stop now (after
// --help, --version or a usage error, which is told).
std::optional<int> ParseOptions(const QStringList& args, CommandLine& options);

// The file targets with their options, standard output left out.
std::vector<std::pair<QString, QString>> FileTargets(const CommandLine& options);

// The workbook's format: --format, else by the ending of -o's file name.
bridge::SaveFormat OutputFormat(const CommandLine& options);

}  // namespace quill::companion
