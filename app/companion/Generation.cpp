#include "companion/Generation.h"

#include <exception>
#include <memory>
#include <vector>

#include <unistd.h>

#include <QCoreApplication>
#include <QFile>

#include "bridge/PictureFile.h"
#include "bridge/SpreadsheetProvider.h"
#include "bridge/WorkbookExport.h"
#include "companion/Messages.h"
#include "model/CategoryCsv.h"
#include "model/CategoryState.h"
#include "model/DefaultCategorySet.h"
#include "model/MemoryCategoryTree.h"
#include "model/SettingsStore.h"
#include "model/WorkbookPalette.h"
#include "sheet/ReportDriver.h"
#include "sheet/SyntheticTable.h"
#include "shell/Descriptor.h"
#include "shell/Failure.h"
#include "shell/ReadFile.h"
#include "shell/SafeReplace.h"

namespace quill::companion {

namespace {

// Receives the picture that the windowed program would show; it is written out only when
// the whole generation succeeded.
class KeepPicture : public sheet::ReportHandover {
  public:
    void LoadPicture(const QImage& picture) override { picture_ = picture; }
    void SetWorkbookPath(const QString&) override {}
    void ShowPreview() override {}
    void HideMainWindow() override {}
    const QImage& Picture() const { return picture_; }

  private:
    QImage picture_;
};

// The messages of a failed write to standard output, by what was being written.
const char* const kWorkbookNotWritten =
    QT_TRANSLATE_NOOP("Companion", "Cannot write the workbook to standard output: %1");
const char* const kPictureNotWritten =
    QT_TRANSLATE_NOOP("Companion", "Cannot write the picture to standard output: %1");
const char* const kCategoriesNotWritten =
    QT_TRANSLATE_NOOP("Companion", "Cannot write the categories to standard output: %1");

void WriteStandardOutput(const char* data, qint64 size, const char* failure) {
    if (size <= 0) return;
    if (const int error = shell::WriteAll(STDOUT_FILENO, data, static_cast<std::size_t>(size));
        error != 0)
        throw Failure(
            QCoreApplication::translate("Companion", failure).arg(qt_error_string(error)));
}

void WritePicture(const CommandLine& options, const Generated& generated,
                  const bridge::ByteSink& sink) {
    // The picture file is made from the picture as it is written, a block at a time.
    bridge::WritePictureFile(generated.picture, options.pictureOut, sink);
}

bool CopiesWorkbook(const CommandLine& options) {
    // The .xls workbook is copied as it was saved; the other formats are made from it.
    return OutputFormat(options) == bridge::SaveFormat::Xls;
}

// The bytes of the file the categories come from; standard input for "-". Throws.
QByteArray ReadCategoriesFile(const QString& path) {
    // A named file must be a regular one: a named pipe or a device would hang the run or
    // fill the memory. Standard input is read as it comes, up to the same size.
    if (path != kStandardOutput) return shell::ReadRegularFile(path, model::kMaxCategoryCsvBytes);
    QFile file;
    const auto fail = [](const QString& reason) {
        throw Failure(QCoreApplication::translate(
                          "Companion", "cannot read the categories from standard input: %1")
                          .arg(reason));
    };
    if (!file.open(stdin, QIODevice::ReadOnly)) fail(file.errorString());
    QByteArray bytes = file.read(model::kMaxCategoryCsvBytes + 1);
    if (file.error() != QFileDevice::NoError) fail(file.errorString());
    if (bytes.size() > model::kMaxCategoryCsvBytes)
        fail(QCoreApplication::translate("Companion", "it is larger than %1 MB")
                 .arg(model::kMaxCategoryCsvBytes >> 20));
    return bytes;
}

}  // namespace

std::optional<Inputs> LoadInputs(const CommandLine& options, int& status) {
    status = kFailed;
    Inputs inputs;
    AppState& state = inputs.state;
    IncomeTexts incomes;
    if (!options.categoriesIn.isEmpty()) {
        // Like --defaults, the settings store is not opened: the incomes are the defaults.
        try {
            state.categories = model::ReadCategoryCsv(ReadCategoriesFile(options.categoriesIn));
        } catch (const model::CategoryCsvError& refused) {
            const QString line = QString::number(refused.Line());
            PrintMessage(options.categoriesIn == kStandardOutput
                             ? QCoreApplication::translate(
                                   "Companion",
                                   "cannot use the categories file on standard input: line %1: %2.")
                                   .arg(line, refused.Cause())
                             : QCoreApplication::translate(
                                   "Companion", "cannot use the categories file %1: line %2: %3.")
                                   .arg(options.categoriesIn, line, refused.Cause()));
            return std::nullopt;
        } catch (const std::exception& e) {
            PrintMessage(e.what());
            return std::nullopt;
        }
        state.WorkbookPalette = model::WorkbookPalette();
        for (std::size_t i = 0; i < incomes.size(); ++i)
            incomes[i] = QString::fromLatin1(model::kIncomeDefaults[i]);
    } else if (options.synthetic || options.defaults) {
        // The settings store is not even opened.
        state.categories =
            options.synthetic
                ? sheet::SyntheticCategoryTable(options.synthetic->first, options.synthetic->second)
                : model::DefaultCategorySet();
        state.WorkbookPalette = model::WorkbookPalette();
        for (std::size_t i = 0; i < incomes.size(); ++i)
            incomes[i] = QString::fromLatin1(model::kIncomeDefaults[i]);
    } else {
        // The same load as the main window's start-up, but a stored state that cannot be
        // used is an error here: this program neither falls back to the defaults unasked
        // nor keeps or rewrites the file.
        SettingsStore store;
        MemoryCategoryTree tree;
        try {
            model::LoadCategoryState(state, tree, incomes, store, model::CategorySource::Stored);
        } catch (const model::UnusableStoredState& unusable) {
            PrintMessage(
                QCoreApplication::translate("Companion",
                                            "cannot read the saved categories in %1: %2. Use "
                                            "--defaults, or repair or remove that file.")
                    .arg(unusable.File(), unusable.Problem()));
            return std::nullopt;
        } catch (const std::exception& e) {
            PrintMessage(
                QCoreApplication::translate("Companion", "cannot read the saved categories: %1")
                    .arg(QString::fromUtf8(e.what())));
            return std::nullopt;
        }
    }
    if (options.currency) state.currency = *options.currency;
    if (options.paper) state.paper = *options.paper;
    // Exporting the categories needs no incomes.
    if (!options.categoriesExport.isEmpty()) return inputs;

    // Read with the user's locale and the run's currency; kept in the plain form, which reads
    // the same.
    for (std::size_t i = 0; i < incomes.size(); ++i) {
        if (!options.incomes[i]) continue;
        const model::ParsedAmount amount =
            model::ParseAmount(*options.incomes[i], QLocale(), state.currency);
        if (!amount) {
            status = UsageError(
                QCoreApplication::translate("Companion", "--income%1 \"%2\" is not an amount: %3")
                    .arg(QString::number(i), *options.incomes[i], amount.Reason()));
            return std::nullopt;
        }
        incomes[i] = amount.Value().Text();
    }

    // A stored income that is not an amount generates nothing: the user gives the option.
    for (std::size_t i = 0; i < incomes.size(); ++i) {
        const model::ParsedAmount amount = model::ParseAmount(incomes[i]);
        if (!amount) {
            PrintMessage(QCoreApplication::translate(
                             "Companion",
                             "the saved income for --income%1 (\"%2\") is not an amount: "
                             "%3 Give --income%1 AMOUNT, or correct it in the window.")
                             .arg(QString::number(i), incomes[i], amount.Reason()));
            return std::nullopt;
        }
        inputs.amounts[i] = amount.Value();
    }
    return inputs;
}

std::optional<Generated> GenerateWorkbook(const CommandLine& options, const Inputs& inputs,
                                          RunGuard& guard) {
    ConsolePrompt prompt;
    EmbeddedProvider provider;
    KeepPicture handover;
    const bool wantPicture = !options.pictureOut.isEmpty();
    QString folder;
    try {
        folder = guard.Folder();
    } catch (const std::exception& e) {
        PrintMessage(e.what());
        return std::nullopt;
    }
    sheet::ReportEnvironment env{provider, prompt,     folder, wantPicture ? &handover : nullptr,
                                 {},       wantPicture};
    const sheet::ReportInputs report{
        inputs.state.categories, inputs.amounts, inputs.state.WorkbookPalette,
        inputs.state.currency,   QLocale(),      inputs.state.paper};
    Generated generated;
    generated.workbook = sheet::GenerateReport(report, env);
    if (prompt.Failed()) {  // nothing is published after a failed step
        PrintMessage(QCoreApplication::translate(
                         "Companion", "cannot generate the workbook (nothing was written): %1")
                         .arg(prompt.FirstFailure()));
        return std::nullopt;
    }
    generated.picture = handover.Picture();
    return generated;
}

QByteArray ExportWorkbook(const CommandLine& options, const Generated& generated) {
    // A file target copies the .xls workbook as a stream; every other output is made (or
    // read) whole first.
    const bool toStandardOutput = options.workbookOut == kStandardOutput;
    if (options.workbookOut.isEmpty() || (CopiesWorkbook(options) && !toStandardOutput)) return {};
    return bridge::ExportWorkbook(generated.workbook, OutputFormat(options));
}

void PublishOutputs(const CommandLine& options, const Generated& generated,
                    const QByteArray& exported, RunGuard& guard) {
    const bool wantPicture = !options.pictureOut.isEmpty();
    // Standard output first: what went there cannot be taken back, so the files are put in
    // place only after it succeeded.
    if (options.workbookOut == kStandardOutput)
        WriteStandardOutput(exported.constData(), exported.size(), kWorkbookNotWritten);
    if (options.pictureOut == kStandardOutput)
        WritePicture(options, generated, [](const char* data, qint64 size) {
            WriteStandardOutput(data, size, kPictureNotWritten);
        });
    guard.Publish([&] {
        std::vector<std::unique_ptr<SafeReplace::Replacement>> files;
        if (!options.workbookOut.isEmpty() && options.workbookOut != kStandardOutput) {
            files.push_back(std::make_unique<SafeReplace::Replacement>(options.workbookOut));
            if (CopiesWorkbook(options))
                files.back()->CopyFrom(generated.workbook);
            else
                files.back()->Write(exported);
        }
        if (wantPicture && options.pictureOut != kStandardOutput) {
            files.push_back(std::make_unique<SafeReplace::Replacement>(options.pictureOut));
            SafeReplace::Replacement& file = *files.back();
            WritePicture(options, generated,
                         [&](const char* data, qint64 size) { file.Write(data, size); });
        }
        std::vector<SafeReplace::Replacement*> all;
        for (const auto& file : files) all.push_back(file.get());
        SafeReplace::CommitTogether(all);
    });
}

void ExportCategories(const CommandLine& options, const Inputs& inputs) {
    const QByteArray csv = model::WriteCategoryCsv(inputs.state.categories);
    if (options.categoriesExport == kStandardOutput)
        WriteStandardOutput(csv.constData(), csv.size(), kCategoriesNotWritten);
    else
        SafeReplace::WriteFile(options.categoriesExport, csv);
}

int Run(const CommandLine& options, RunGuard& guard) {
    int status = kFailed;
    const std::optional<Inputs> inputs = LoadInputs(options, status);
    if (!inputs) return status;
    if (!options.categoriesExport.isEmpty()) {
        try {
            ExportCategories(options, *inputs);
        } catch (const std::exception& e) {
            PrintMessage(e.what());
            return kFailed;
        }
        return 0;
    }
    const std::optional<Generated> generated = GenerateWorkbook(options, *inputs, guard);
    if (!generated) return kFailed;
    try {
        if (!options.pictureOut.isEmpty() && generated->picture.isNull())
            throw Failure(
                QCoreApplication::translate("Companion", "The sheet has no picture to write"));
        const QByteArray exported = ExportWorkbook(options, *generated);
        PublishOutputs(options, *generated, exported, guard);
    } catch (const std::exception& e) {
        PrintMessage(e.what());
        return kFailed;
    }
    return 0;
}

}  // namespace quill::companion
