// quillmere-sheet: generates the budget workbook without windows.
//
//   quillmere-sheet [--defaults] [--synthetic GxI] [--income0 N ...] -o FILE [--picture FILE]
//
// The categories and incomes come from the user's settings store (as the windowed program
// left them) unless --defaults or --synthetic is given; single incomes can be overridden.
// Outputs are written to temporary files beside their targets and renamed into place once
// all of them are complete, so a failure leaves every target as it was.
// Exit status: 0 done, 1 generation failed, 2 usage.
#include <array>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QSaveFile>
#include <QString>
#include <QStringList>

#include "bridge/PictureFile.h"
#include "bridge/SpreadsheetProvider.h"
#include "model/Amounts.h"
#include "model/CategoryState.h"
#include "model/DefaultCategorySet.h"
#include "model/MemoryCategoryTree.h"
#include "model/SettingsStore.h"
#include "model/WorkbookPalette.h"
#include "sheet/ReportDriver.h"
#include "sheet/SyntheticTable.h"
#include "shell/ErrorTrap.h"
#include "shell/Failure.h"
#include "shell/TempFolder.h"

namespace {

using namespace quill;

constexpr int kUsage = 2;
constexpr int kFailed = 1;

const char* const kHelp =
    "Usage: quillmere-sheet [options] -o FILE\n"
    "Generates the Personal Finance budget workbook (.xls) without windows.\n"
    "\n"
    "  -o FILE               write the workbook to FILE\n"
    "  --picture FILE        write the sheet's picture to FILE (PNG for .png, else BMP)\n"
    "  --defaults            use the default categories and incomes, not the settings store\n"
    "  --synthetic GxI       use G groups of I items each (for size tests and benchmarks)\n"
    "  --income0 N           projected income       --income1 N   projected extra income\n"
    "  --income2 N           actual extra income    --income3 N   actual income\n"
    "  --help                show this text\n";

// Errors are printed; questions are never asked of a program without a user.
class ConsolePrompt : public Prompt {
  public:
    int errors = 0;
    void Notice(const QString& text, const QString&) override { Print(text); }
    bool AskYesNo(const QString& text, const QString&) override {
        Print(text);
        return false;
    }
    void ReportError(const QString& text) override {
        ++errors;
        Print(QStringLiteral("error: ") + text);
    }
    QString InputBox(const QString&, const QString&, const QString&) override { return {}; }
    QString SaveFileName(const QString&, const QString&) override { return {}; }

  private:
    static void Print(QString text) {
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        std::fprintf(stderr, "%s\n", qPrintable(text));
    }
};

struct CommandLine {
    QString workbookOut;
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
    if (!okGroups || !okItems || groups < 0 || items < 0 || groups > 100000 || items > 100000)
        return std::nullopt;
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
        } else if (arg == QLatin1String("--defaults")) {
            options.defaults = true;
        } else if (arg == QLatin1String("-o") || arg == QLatin1String("--picture") ||
                   arg == QLatin1String("--synthetic") ||
                   arg.startsWith(QLatin1String("--income"))) {
            const auto v = value();
            if (!v || v->isEmpty()) return UsageError(arg + QStringLiteral(" needs a value"));
            if (arg == QLatin1String("-o")) {
                options.workbookOut = *v;
            } else if (arg == QLatin1String("--picture")) {
                options.pictureOut = *v;
            } else if (arg == QLatin1String("--synthetic")) {
                options.synthetic = ParseSynthetic(*v);
                if (!options.synthetic)
                    return UsageError(
                        QStringLiteral("--synthetic wants GROUPSxITEMS, such as 200x50"));
            } else {
                const QString index = arg.mid(8);
                if (index.size() != 1 || index[0] < QLatin1Char('0') || index[0] > QLatin1Char('3'))
                    return UsageError(QStringLiteral("unknown option ") + arg);
                options.incomes[static_cast<std::size_t>(index.toInt())] = *v;
            }
        } else {
            return UsageError(QStringLiteral("unknown option ") + arg);
        }
    }
    if (options.workbookOut.isEmpty() && options.pictureOut.isEmpty())
        return UsageError(QStringLiteral("nothing to write: give -o FILE and/or --picture FILE"));
    return std::nullopt;
}

// The outputs of one run, each written to a temporary file beside its target. Nothing is
// put in place until every output has been written, so a target that cannot be written
// leaves the others as they were too.
class Outputs {
  public:
    void AddCopy(const QString& source, const QString& target) {
        QFile in(source);
        if (!in.open(QIODevice::ReadOnly))
            throw Failure("Cannot read " + source + ": " + in.errorString());
        QSaveFile& out = Open(target);
        if (out.write(in.readAll()) != in.size())
            throw Failure("Cannot write " + target + ": " + out.errorString());
    }
    void AddPicture(const QImage& picture, const QString& target) {
        if (picture.isNull()) throw Failure(QStringLiteral("The sheet has no picture to write"));
        QSaveFile& out = Open(target);
        if (!Excel1::WritePicture(picture, target, out))
            throw Failure("Cannot write " + target + ": " + out.errorString());
    }
    void Commit() {
        for (const auto& out : files_)
            if (!out->commit())
                throw Failure("Cannot write " + out->fileName() + ": " + out->errorString());
    }

  private:
    QSaveFile& Open(const QString& target) {
        auto out = std::make_unique<QSaveFile>(target);
        if (!out->open(QIODevice::WriteOnly))
            throw Failure("Cannot write " + target + ": " + out->errorString());
        files_.push_back(std::move(out));
        return *files_.back();
    }

    std::vector<std::unique_ptr<QSaveFile>> files_;
};

// Receives the picture that the windowed program would show; it is written out only when
// the whole generation succeeded.
class KeepPicture : public PersonalFinance::ReportHandover {
  public:
    void LoadPicture(const QImage& picture) override { picture_ = picture; }
    void SetWorkbookPath(const QString&) override {}
    void ShowPreview() override {}
    void HideMainWindow() override {}
    const QImage& Picture() const { return picture_; }

  private:
    QImage picture_;
};

int Generate(const CommandLine& options) {
    ConsolePrompt prompt;
    AppState state;
    IncomeTexts incomes;
    if (options.synthetic) {
        state.CategoryTable = PersonalFinance::SyntheticCategoryTable(options.synthetic->first,
                                                                      options.synthetic->second);
        state.WorkbookPalette = quill::Options::WorkbookPalette();
        for (std::size_t i = 0; i < incomes.size(); ++i)
            incomes[i] = QString::fromLatin1(quill::Options::kIncomeDefaults[i]);
    } else {
        // The same load as the main window's start-up; an unreadable store is an error here.
        SettingsStore store;
        MemoryCategoryTree tree;
        try {
            quill::Options::LoadCategoryState(state, tree, incomes, store, options.defaults);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "quillmere-sheet: the settings store cannot be used: %s\n",
                         e.what());
            return kFailed;
        }
        if (options.defaults) {
            for (std::size_t i = 0; i < incomes.size(); ++i)
                incomes[i] = QString::fromLatin1(quill::Options::kIncomeDefaults[i]);
        }
    }
    for (std::size_t i = 0; i < incomes.size(); ++i)
        if (options.incomes[i]) incomes[i] = *options.incomes[i];

    std::array<std::int32_t, 4> amounts{};
    for (int i = 0; i < 4; ++i)
        amounts[static_cast<std::size_t>(i)] = quill::Options::IncomeAmount(incomes, i);

    TempFolder temp;
    EmbeddedProvider provider;
    KeepPicture handover;
    const bool wantPicture = !options.pictureOut.isEmpty();
    QString folder;
    try {
        folder = temp.Path();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quillmere-sheet: %s\n", e.what());
        return kFailed;
    }
    PersonalFinance::ReportEnvironment env{
        provider, prompt, folder, wantPicture ? &handover : nullptr, {}, wantPicture};
    const PersonalFinance::ReportInputs inputs{state.CategoryTable, amounts, state.WorkbookPalette};
    const QString workbook = PersonalFinance::GenerateReport0(1, inputs, env);
    if (prompt.errors > 0) return kFailed;  // nothing is published after a failed step
    try {
        Outputs outputs;
        if (!options.workbookOut.isEmpty()) outputs.AddCopy(workbook, options.workbookOut);
        if (wantPicture) outputs.AddPicture(handover.Picture(), options.pictureOut);
        outputs.Commit();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quillmere-sheet: %s\n", e.what());
        return kFailed;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QStringList args;
    for (int i = 0; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    CommandLine options;
    if (const auto status = ParseOptions(args, options)) return *status;

    // Drawing text needs a GUI application; a workbook alone does not, and starts faster.
    std::unique_ptr<QGuiApplication> gui;
    if (!options.pictureOut.isEmpty()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        gui = std::make_unique<QGuiApplication>(argc, argv);
    }
    return Generate(options);
}
