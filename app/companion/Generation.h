// One run of the companion: the inputs loaded, the workbook generated, the outputs exported
// and published.
#pragma once

#include <array>
#include <optional>

#include <QByteArray>
#include <QImage>
#include <QString>

#include "companion/CommandLine.h"
#include "companion/RunGuard.h"
#include "model/Amounts.h"
#include "model/AppState.h"

namespace quill::companion {

// What a generation is made from.
struct Inputs {
    AppState state;
    std::array<model::Amount, 4> amounts{};
};

// The categories, incomes, currency and paper: the defaults, a synthetic table, a CSV file
// or the settings store, with the incomes, currency and paper the options give. The options'
// incomes are read with the user's locale and the run's currency (none are read when the
// categories are only exported). Nothing when they cannot be used (told); `status` is then the
// exit status: kUsage for an option's income that is not an amount, else kFailed.
std::optional<Inputs> LoadInputs(const CommandLine& options, int& status);

// The saved workbook and, when one is wanted, its picture.
struct Generated {
    QString workbook;  // the .xls file in the run's folder
    QImage picture;
};

// Generates the workbook (and its picture) in the run's folder. Nothing when a step failed
// (told).
std::optional<Generated> GenerateWorkbook(const CommandLine& options, const Inputs& inputs,
                                          RunGuard& guard);

// The workbook in the asked format when it must be made whole first (standard output, or a
// format other than .xls); empty when the .xls file is copied as it is. Throws.
QByteArray ExportWorkbook(const CommandLine& options, const Generated& generated);

// Writes the outputs: standard output first, then the files, all of them or none. Throws.
void PublishOutputs(const CommandLine& options, const Generated& generated,
                    const QByteArray& exported, RunGuard& guard);

// Writes the categories as CSV to --export-categories' file or standard output. Throws.
void ExportCategories(const CommandLine& options, const Inputs& inputs);

// The whole run; returns the exit status.
int Run(const CommandLine& options, RunGuard& guard);

}  // namespace quill::companion
