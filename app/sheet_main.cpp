// quillmere-sheet: generates the budget workbook without windows.
//
//   quillmere-sheet [--defaults] [--synthetic GxI] [--income0 N ...] -o FILE
//                   [--format xls|xlsx|pdf] [--picture FILE]
//   quillmere-sheet --help | --version
//
// The workbook is written as .xls, or as .xlsx or PDF when FILE ends so or --format says so.
// The categories and incomes come from the user's settings store (as the windowed program
// left them) unless --defaults or --synthetic is given; single incomes can be overridden.
// Outputs are written to temporary files beside their targets and renamed into place once
// all of them are complete, so a failure leaves every target as it was. "-" as a target
// means standard output. An existing target that is not a regular file, or is read-only,
// is refused and left alone; two outputs may not name the same file, and no output may
// name the settings file or its backup. File names are kept as the bytes given.
// SIGTERM, SIGINT and SIGHUP remove the per-run temporary folder before the program ends;
// at start, the per-run folders and the targets' temporary files that killed runs left
// behind are removed.
// Exit status: 0 done, 1 generation failed, 2 usage. A failure is told in one line on
// standard error: what failed, and what can be done about it.
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QThread>

#include "bridge/PictureFile.h"
#include "bridge/SpreadsheetProvider.h"
#include "bridge/WorkbookExport.h"
#include "model/Amounts.h"
#include "model/CategoryState.h"
#include "model/DefaultCategorySet.h"
#include "model/MemoryCategoryTree.h"
#include "model/SettingsStore.h"
#include "model/WorkbookPalette.h"
#include "sheet/ReportDriver.h"
#include "sheet/SyntheticTable.h"
#include "shell/Config.h"
#include "shell/ErrorTrap.h"
#include "shell/Failure.h"
#include "shell/SafeReplace.h"
#include "shell/SignalWatcher.h"
#include "shell/TempFolder.h"

namespace {

using namespace quill;

constexpr int kUsage = 2;
constexpr int kFailed = 1;

const char* const kHelp =
    "Usage: quillmere-sheet [options] -o FILE\n"
    "Generates the Personal Finance budget workbook without windows.\n"
    "\n"
    "  -o FILE               write the workbook to FILE (- for standard output): an .xlsx\n"
    "                        workbook when FILE ends in .xlsx, the printed pages as PDF when\n"
    "                        it ends in .pdf, else an .xls workbook (also with no ending)\n"
    "  --format FORMAT       xls, xlsx or pdf: write FILE in that format, whatever its ending\n"
    "  --picture FILE        write the sheet's picture to FILE (PNG for .png, else BMP;\n"
    "                        - for standard output, as BMP)\n"
    "  --defaults            use the default categories and incomes, not the settings store\n"
    "  --synthetic GxI       use G groups of I items each (for size tests and benchmarks;\n"
    "                        at most 200 groups, and as many items as one sheet holds)\n"
    "  --income0 N           projected income       --income1 N   projected extra income\n"
    "  --income2 N           actual extra income    --income3 N   actual income\n"
    "  --help                show this text\n"
    "  --version             show the version\n";

// A message on standard error: one line, after the program's name.
void PrintMessage(const QString& text) {
    std::fprintf(stderr, "quillmere-sheet: %s\n", qPrintable(text.simplified()));
}

// Notices are printed and questions answered No: a program without a user asks nothing.
// Failures are kept, not printed: a failed step makes the later steps fail too, so the
// first failure is the one that tells the cause, and the error box's procedure names and
// request for a screenshot mean nothing on the command line.
class ConsolePrompt : public Prompt {
  public:
    void Notice(const QString& text, const QString&) override { PrintMessage(text); }
    bool AskYesNo(const QString& text, const QString&) override {
        PrintMessage(text);
        return false;
    }
    void ReportError(const QString& text) override { Keep(text); }
    void ReportFailure(const QString& description, const QString&, int) override {
        Keep(description);
    }
    void ReportPlainFailure(const QString& description) override { Keep(description); }
    QString InputBox(const QString&, const QString&, const QString&) override { return {}; }
    QString SaveFileName(const QString&, const QString&) override { return {}; }

    bool Failed() const { return failed_; }
    const QString& FirstFailure() const { return firstFailure_; }

  private:
    void Keep(const QString& text) {
        if (!failed_) firstFailure_ = text;
        failed_ = true;
    }

    bool failed_ = false;
    QString firstFailure_;
};

struct CommandLine {
    QString workbookOut;
    std::optional<bridge::SaveFormat> format;  // from --format; else by the file's ending
    QString pictureOut;
    bool defaults = false;
    std::optional<std::pair<int, int>> synthetic;
    std::array<std::optional<QString>, 4> incomes;
};

int UsageError(const QString& message) {
    std::fprintf(stderr, "quillmere-sheet: %s\nTry 'quillmere-sheet --help'.\n",
                 qPrintable(message));
    return kUsage;
}

std::optional<std::pair<int, int>> ParseSynthetic(const QString& text) {
    const QStringList parts = text.split(QLatin1Char('x'));
    if (parts.size() != 2) return std::nullopt;
    bool okGroups = false, okItems = false;
    const int groups = parts[0].toInt(&okGroups);
    const int items = parts[1].toInt(&okItems);
    if (!okGroups || !okItems || groups < 0 || items < 0) return std::nullopt;
    return std::pair{groups, items};
}

// Parses the command line; returns an exit status when the program should stop now.
std::optional<int> ParseOptions(const QStringList& args, CommandLine& options) {
    for (int i = 1; i < args.size(); ++i) {
        const QString& arg = args[i];
        auto value = [&]() -> std::optional<QString> {
            if (i + 1 >= args.size()) return std::nullopt;
            return args[++i];
        };
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            std::fputs(kHelp, stdout);
            return 0;
        } else if (arg == QLatin1String("--version")) {
            std::printf("quillmere-sheet %s\n", QUILL_VERSION);
            return 0;
        } else if (arg == QLatin1String("--defaults")) {
            options.defaults = true;
        } else if (arg == QLatin1String("-o") || arg == QLatin1String("--picture") ||
                   arg == QLatin1String("--synthetic") || arg == QLatin1String("--format") ||
                   arg.startsWith(QLatin1String("--income"))) {
            const auto v = value();
            if (!v || v->isEmpty()) return UsageError(arg + QStringLiteral(" needs a value"));
            if (arg == QLatin1String("-o")) {
                options.workbookOut = *v;
            } else if (arg == QLatin1String("--format")) {
                options.format = bridge::ParseFormatName(*v);
                if (!options.format)
                    return UsageError(QStringLiteral("--format wants xls, xlsx or pdf"));
            } else if (arg == QLatin1String("--picture")) {
                options.pictureOut = *v;
            } else if (arg == QLatin1String("--synthetic")) {
                options.synthetic = ParseSynthetic(*v);
                if (!options.synthetic)
                    return UsageError(
                        QStringLiteral("--synthetic wants GROUPSxITEMS, such as 200x50"));
                // Refused before anything is built: a table far too large for a sheet
                // would exhaust the memory before the sheet's own checks are reached.
                if (const QString refusal = sheet::SyntheticTableRefusal(options.synthetic->first,
                                                                         options.synthetic->second);
                    !refusal.isEmpty())
                    return UsageError(QStringLiteral("--synthetic %1: %2").arg(*v, refusal));
            } else {
                const QString index = arg.mid(8);
                if (index.size() != 1 || index[0] < QLatin1Char('0') || index[0] > QLatin1Char('3'))
                    return UsageError(QStringLiteral("unknown option ") + arg);
                // Read with the user's locale; kept in the plain form, which reads the same.
                const quill::model::ParsedAmount amount = quill::model::ParseAmount(*v);
                if (!amount)
                    return UsageError(QStringLiteral("%1 \"%2\" is not an amount: %3")
                                          .arg(arg, *v, amount.Reason()));
                options.incomes[static_cast<std::size_t>(index.toInt())] = amount.Value().Text();
            }
        } else {
            return UsageError(QStringLiteral("unknown option ") + arg);
        }
    }
    if (options.workbookOut.isEmpty() && options.pictureOut.isEmpty())
        return UsageError(QStringLiteral("nothing to write: give -o FILE and/or --picture FILE"));
    return std::nullopt;
}

const QString kStandardOutput = QStringLiteral("-");

// The settings store's file and its backup, worked out as the store does; the store itself
// is not opened for this (--defaults and --synthetic leave it unopened).
QStringList SettingsFiles() {
    const QString file = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                         QLatin1Char('/') + QLatin1String(config::kSettingsOrganization) +
                         QStringLiteral(".ini");
    return {file, file + QStringLiteral(".bak")};
}

// True when `path` names something that exists and is not a regular file.
bool IsSpecial(const QString& path) {
    struct stat info {};
    return ::stat(SafeReplace::EncodeName(path).constData(), &info) == 0 && !S_ISREG(info.st_mode);
}

// The file targets with their options, standard output left out.
std::vector<std::pair<QString, QString>> FileTargets(const CommandLine& options) {
    std::vector<std::pair<QString, QString>> files;
    if (!options.workbookOut.isEmpty() && options.workbookOut != kStandardOutput)
        files.emplace_back(QStringLiteral("-o"), options.workbookOut);
    if (!options.pictureOut.isEmpty() && options.pictureOut != kStandardOutput)
        files.emplace_back(QStringLiteral("--picture"), options.pictureOut);
    return files;
}

// Checks the targets before anything is generated: two outputs may not land in one file,
// nor one in the settings file or its backup (usage, 2), and an existing target that is not
// a regular file or is read-only is refused (1). Returns the exit status when the program
// should stop now.
std::optional<int> CheckTargets(const CommandLine& options) {
    const auto files = FileTargets(options);
    try {
        if (options.workbookOut == kStandardOutput && options.pictureOut == kStandardOutput)
            return UsageError(QStringLiteral("-o and --picture both name standard output"));
        if (files.size() == 2 && SafeReplace::SameFile(files[0].second, files[1].second))
            return UsageError(QStringLiteral("-o and --picture name the same file (%1 and %2); "
                                             "give two different files")
                                  .arg(files[0].second, files[1].second));
        for (const auto& [option, target] : files)
            for (const QString& settings : SettingsFiles())
                if (SafeReplace::SameFile(target, settings))
                    return UsageError(
                        QStringLiteral("%1 %2 names %3, where the saved categories and incomes "
                                       "are kept; give another file")
                            .arg(option, target, settings));
        for (const auto& [option, target] : files) {
            QString refusal = SafeReplace::Refusal(target);
            if (refusal.isEmpty()) continue;
            if (option == QLatin1String("-o") && IsSpecial(SafeReplace::ResolveTarget(target)))
                refusal += QStringLiteral(" To write the workbook to standard output, give -o -.");
            std::fprintf(stderr, "quillmere-sheet: %s\n", qPrintable(refusal));
            return kFailed;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quillmere-sheet: %s\n", e.what());
        return kFailed;
    }
    return std::nullopt;
}

void WriteStandardOutput(const char* data, qint64 size, const char* what) {
    auto left = static_cast<std::size_t>(size);
    while (left > 0) {
        const ssize_t written = ::write(STDOUT_FILENO, data, left);
        if (written < 0) {
            if (errno == EINTR) continue;
            throw Failure(QStringLiteral("Cannot write the %1 to standard output: %2")
                              .arg(QLatin1String(what), qt_error_string(errno)));
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
}

// Keeps the per-run folder and the outputs safe from the signals that end a program. A
// thread of its own waits for SIGTERM, SIGINT and SIGHUP; when one comes it takes the lock
// (so outputs being put in place are finished first, all of them or none), removes the
// folder and ends the process by that signal.
class RunGuard {
  public:
    RunGuard() : watcher_(new SignalWatcher) {
        QObject::connect(
            watcher_, &SignalWatcher::received, watcher_, [this](int signal) { End(signal); },
            Qt::DirectConnection);
        watcher_->moveToThread(&thread_);
        QObject::connect(&thread_, &QThread::finished, watcher_, &QObject::deleteLater);
        thread_.start();
    }
    ~RunGuard() {
        {
            const std::lock_guard<std::mutex> hold(lock_);
            folder_.reset();
        }
        thread_.quit();
        thread_.wait();
    }
    RunGuard(const RunGuard&) = delete;
    RunGuard& operator=(const RunGuard&) = delete;

    // The per-run folder, made on first use. Throws quill::Failure.
    QString Folder() {
        const std::lock_guard<std::mutex> hold(lock_);
        folderPath_ = folder_->Path();
        return folderPath_;
    }

    // Runs `publish` with the signals held off until it is done.
    template <class F>
    void Publish(F&& publish) {
        const std::lock_guard<std::mutex> hold(lock_);
        std::forward<F>(publish)();
    }

  private:
    [[noreturn]] void End(int signal) {
        lock_.lock();  // never released: the process ends here
        // The generation may still be writing into the folder; try again while it is there.
        for (int attempt = 0;
             attempt < 10 && !folderPath_.isEmpty() && QFileInfo::exists(folderPath_); ++attempt)
            QDir(folderPath_).removeRecursively();
        SignalWatcher::EndBy(signal);
    }

    std::mutex lock_;
    std::optional<TempFolder> folder_{std::in_place};
    QString folderPath_;
    QThread thread_;
    SignalWatcher* watcher_;  // lives in thread_, deleted when it finishes
};

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

bridge::SaveFormat OutputFormat(const CommandLine& options) {
    return options.format.value_or(bridge::FormatOfFileName(options.workbookOut));
}

int Generate(const CommandLine& options, RunGuard& guard) {
    ConsolePrompt prompt;
    AppState state;
    IncomeTexts incomes;
    if (options.synthetic || options.defaults) {
        // The settings store is not even opened.
        state.categories =
            options.synthetic
                ? sheet::SyntheticCategoryTable(options.synthetic->first, options.synthetic->second)
                : quill::model::DefaultCategorySet();
        state.WorkbookPalette = quill::model::WorkbookPalette();
        for (std::size_t i = 0; i < incomes.size(); ++i)
            incomes[i] = QString::fromLatin1(quill::model::kIncomeDefaults[i]);
    } else {
        // The same load as the main window's start-up, but a stored state that cannot be
        // used is an error here: this program neither falls back to the defaults unasked
        // nor keeps or rewrites the file.
        SettingsStore store;
        MemoryCategoryTree tree;
        try {
            quill::model::LoadCategoryState(state, tree, incomes, store,
                                            quill::model::CategorySource::Stored);
        } catch (const quill::model::UnusableStoredState& unusable) {
            PrintMessage(QStringLiteral("cannot read the saved categories in %1: %2. Use "
                                        "--defaults, or repair or remove that file.")
                             .arg(unusable.File(), unusable.Problem()));
            return kFailed;
        } catch (const std::exception& e) {
            PrintMessage(QStringLiteral("cannot read the saved categories: ") +
                         QString::fromUtf8(e.what()));
            return kFailed;
        }
    }
    for (std::size_t i = 0; i < incomes.size(); ++i)
        if (options.incomes[i]) incomes[i] = *options.incomes[i];

    // A stored income that is not an amount generates nothing: the user gives the option.
    std::array<quill::model::Amount, 4> amounts{};
    for (std::size_t i = 0; i < incomes.size(); ++i) {
        const quill::model::ParsedAmount amount = quill::model::ParseAmount(incomes[i]);
        if (!amount) {
            PrintMessage(
                QStringLiteral("the saved income for --income%1 (\"%2\") is not an amount: "
                               "%3 Give --income%1 AMOUNT, or correct it in the window.")
                    .arg(QString::number(i), incomes[i], amount.Reason()));
            return kFailed;
        }
        amounts[i] = amount.Value();
    }

    EmbeddedProvider provider;
    KeepPicture handover;
    const bool wantPicture = !options.pictureOut.isEmpty();
    QString folder;
    try {
        folder = guard.Folder();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quillmere-sheet: %s\n", e.what());
        return kFailed;
    }
    sheet::ReportEnvironment env{provider, prompt,     folder, wantPicture ? &handover : nullptr,
                                 {},       wantPicture};
    const sheet::ReportInputs inputs{state.categories, amounts, state.WorkbookPalette};
    const QString workbook = sheet::GenerateReport(inputs, env);
    if (prompt.Failed()) {  // nothing is published after a failed step
        PrintMessage(QStringLiteral("cannot generate the workbook (nothing was written): ") +
                     prompt.FirstFailure());
        return kFailed;
    }
    try {
        if (wantPicture && handover.Picture().isNull())
            throw Failure(QStringLiteral("The sheet has no picture to write"));
        // The picture file is made from the picture as it is written, a block at a time.
        auto writePicture = [&](const bridge::ByteSink& sink) {
            bridge::WritePictureFile(handover.Picture(), options.pictureOut, sink);
        };
        // The .xls workbook is copied as it was saved; the other formats are made from it.
        const bridge::SaveFormat format = OutputFormat(options);
        const bool copy = format == bridge::SaveFormat::Xls;
        // A file target copies the .xls workbook as a stream; every other output is made
        // (or read) whole first.
        const bool toStandardOutput = options.workbookOut == kStandardOutput;
        const QByteArray exported = options.workbookOut.isEmpty() || (copy && !toStandardOutput)
                                        ? QByteArray()
                                        : bridge::ExportWorkbook(workbook, format);
        // Standard output first: what went there cannot be taken back, so the files are put
        // in place only after it succeeded.
        if (toStandardOutput)
            WriteStandardOutput(exported.constData(), exported.size(), "workbook");
        if (options.pictureOut == kStandardOutput)
            writePicture(
                [](const char* data, qint64 size) { WriteStandardOutput(data, size, "picture"); });
        guard.Publish([&] {
            std::vector<std::unique_ptr<SafeReplace::Replacement>> files;
            if (!options.workbookOut.isEmpty() && options.workbookOut != kStandardOutput) {
                files.push_back(std::make_unique<SafeReplace::Replacement>(options.workbookOut));
                if (copy)
                    files.back()->CopyFrom(workbook);
                else
                    files.back()->Write(exported);
            }
            if (wantPicture && options.pictureOut != kStandardOutput) {
                files.push_back(std::make_unique<SafeReplace::Replacement>(options.pictureOut));
                SafeReplace::Replacement& file = *files.back();
                writePicture([&](const char* data, qint64 size) { file.Write(data, size); });
            }
            std::vector<SafeReplace::Replacement*> all;
            for (const auto& file : files) all.push_back(file.get());
            SafeReplace::CommitTogether(all);
        });
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quillmere-sheet: %s\n", e.what());
        return kFailed;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // File names keep every byte, also where they are not UTF-8.
    QStringList args;
    for (int i = 0; i < argc; ++i) args << SafeReplace::DecodeName(QByteArray(argv[i]));
    CommandLine options;
    if (const auto status = ParseOptions(args, options)) return *status;

    if (const auto status = CheckTargets(options)) return *status;
    // A reader of standard output that goes away is reported as a failed write.
    std::signal(SIGPIPE, SIG_IGN);

    TempFolder::RepairEnvironment();
    // What killed runs left behind: their per-run folders and the targets' temporaries.
    TempFolder::RemoveStaleFolders();
    for (const auto& target : FileTargets(options))
        SafeReplace::RemoveStaleTemporaries(target.second);
    // Drawing text (the picture, PDF pages) needs a GUI application; a workbook alone does
    // not, and starts faster.
    std::unique_ptr<QCoreApplication> app;
    if (!options.pictureOut.isEmpty() ||
        (!options.workbookOut.isEmpty() && OutputFormat(options) == bridge::SaveFormat::Pdf)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    RunGuard guard;
    return Generate(options, guard);
}
