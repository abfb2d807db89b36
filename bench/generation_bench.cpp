// Speed of whole generations. Targets in a Release build:
//  - one generation with its picture (GenerateReport: build the sheet, save the workbook,
//    open it again, draw the used range, write the picture file and load it for the
//    preview) of the default budget: under 10 ms; of 200 groups of 50 items: under 2 s, with
//    a peak memory of the whole process under 500 MB (counter peak_MB: the resident
//    high-water mark of a fresh process that does one generation);
//  - the default budget with a planned amount on every item: within 10% of the blank one
//    and under 10 ms (BM_GenerateReportWithAmounts against BM_GenerateReport/0/0);
//  - the command-line companion as a process, start to exit: `--synthetic 200x50 -o FILE`
//    under 50 ms; the largest layout the file holds, `--synthetic 200x652 -o FILE`, under
//    0.5 s and 100 MB, and with `--picture FILE` as well under 1.5 s and 200 MB (counter
//    peak_MB: the companion's own resident high-water mark). `--help` shows the floor:
//    loading the program and its libraries.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchInputs.h"
#include "bridge/SpreadsheetProvider.h"
#include "model/Amounts.h"
#include "model/CategoryState.h"
#include "model/DefaultCategorySet.h"
#include "model/WorkbookPalette.h"
#include "sheet/ReportDriver.h"
#include "sheet/SyntheticTable.h"

extern char** environ;

namespace {

using namespace quill;

// Takes the picture as the preview window would.
class KeepPicture : public sheet::ReportHandover {
  public:
    QImage picture;
    void LoadPicture(const QImage& loaded) override { picture = loaded; }
    void SetWorkbookPath(const QString&) override {}
    void ShowPreview() override {}
    void HideMainWindow() override {}
};

using bench::CountingPrompt;
using bench::Incomes;
using bench::Table;

// One generation in a temporary folder; the workbook is removed again, as "< Back" does.
bool GenerateOnce(const CategoryTable& table, const QString& folder, KeepPicture& handover) {
    EmbeddedProvider provider;
    bench::CountingPrompt prompt;
    sheet::ReportEnvironment env{provider, prompt, folder, &handover, {}, true};
    const sheet::ReportInputs inputs{table, Incomes(), model::WorkbookPalette()};
    const QString workbook = sheet::GenerateReport(inputs, env);
    QFile::remove(workbook);
    return prompt.errors == 0 && !handover.picture.isNull();
}

// Runs a program to its end with its standard error discarded and its standard output in
// `out` (when given); true when it exits with status 0.
bool Spawn(const std::vector<std::string>& args, const std::string& out = "/dev/null") {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    return spawned == 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

// The peak resident memory of this process in MiB. The kernel's high-water mark of the
// address space, not getrusage: a process started by posix_spawn inherits its parent's
// ru_maxrss.
double PeakMiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return -1;
}

// Times one generation of `table` per iteration; false (the benchmark skipped) when one
// reports a failure.
bool TimeGenerations(benchmark::State& state, const CategoryTable& table, const QString& folder,
                     KeepPicture& handover) {
    for (auto _ : state) {
        if (!GenerateOnce(table, folder, handover)) {
            state.SkipWithError("the generation reported a failure");
            return false;
        }
    }
    return true;
}

std::string SelfPath() {
    return QFile::symLinkTarget(QStringLiteral("/proc/self/exe")).toStdString();
}

void BM_GenerateReport(benchmark::State& state) {
    const int groups = static_cast<int>(state.range(0));
    const int items = static_cast<int>(state.range(1));
    const CategoryTable table = Table(groups, items);
    QTemporaryDir dir;
    KeepPicture handover;
    if (!TimeGenerations(state, table, dir.path(), handover)) return;
    state.counters["width"] = handover.picture.width();
    state.counters["height"] = handover.picture.height();
    const std::string report = QDir(dir.path()).filePath(QStringLiteral("peak")).toStdString();
    QFile peak(QString::fromStdString(report));
    if (!Spawn({SelfPath(), "--generate-once", std::to_string(groups), std::to_string(items)},
               report) ||
        !peak.open(QIODevice::ReadOnly)) {
        state.SkipWithError("the generation in a fresh process failed");
        return;
    }
    state.counters["peak_MB"] = peak.readAll().trimmed().toDouble();
}
BENCHMARK(BM_GenerateReport)
    ->ArgNames({"groups", "items"})
    ->Args({0, 0})
    ->Args({200, 50})
    ->Unit(benchmark::kMillisecond);

// The default budget with a planned amount on every item, against BM_GenerateReport/0/0
// (every projected cost blank): within 10% of it, and under 10 ms.
void BM_GenerateReportWithAmounts(benchmark::State& state) {
    CategoryTable table = Table(0, 0);
    std::int64_t cents = 1999;
    for (CategoryRow& row : table)
        if (row.ParentKey != model::kRootKey) row.Planned = model::Amount::FromCents(cents += 1234);
    QTemporaryDir dir;
    KeepPicture handover;
    TimeGenerations(state, table, dir.path(), handover);
}
BENCHMARK(BM_GenerateReportWithAmounts)->Unit(benchmark::kMillisecond);

// The companion from start to exit, with its output files in a temporary folder; then one
// more run for its peak memory, started through this program's --companion-peak.
void BM_Companion(benchmark::State& state, std::vector<std::string> args) {
    QTemporaryDir dir;
    for (std::string& a : args)
        if (a.starts_with("@"))
            a = QDir(dir.path()).filePath(QString::fromStdString(a.substr(1))).toStdString();
    args.insert(args.begin(), QUILL_BINARY_DIR "/app/quillmere-sheet");
    for (auto _ : state) {
        if (!Spawn(args)) {
            state.SkipWithError("the companion failed");
            return;
        }
    }
    std::vector<std::string> peakArgs = args;
    peakArgs.insert(peakArgs.begin(), {SelfPath(), "--companion-peak"});
    const QString report = QDir(dir.path()).filePath(QStringLiteral("peak"));
    QFile peak(report);
    if (!Spawn(peakArgs, report.toStdString()) || !peak.open(QIODevice::ReadOnly)) {
        state.SkipWithError("the companion's peak memory could not be measured");
        return;
    }
    state.counters["peak_MB"] = peak.readAll().trimmed().toDouble();
}
BENCHMARK_CAPTURE(BM_Companion, help, std::vector<std::string>{"--help"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Companion, defaults, std::vector<std::string>{"--defaults", "-o", "@b.xls"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Companion, synthetic_200x50,
                  std::vector<std::string>{"--synthetic", "200x50", "-o", "@b.xls"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Companion, defaults_with_picture,
                  std::vector<std::string>{"--defaults", "-o", "@b.xls", "--picture", "@p.bmp"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Companion, synthetic_200x652,
                  std::vector<std::string>{"--synthetic", "200x652", "-o", "@b.xls"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5);
BENCHMARK_CAPTURE(BM_Companion, synthetic_200x652_with_picture,
                  std::vector<std::string>{"--synthetic", "200x652", "-o", "@b.xls", "--picture",
                                           "@p.bmp"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

// Runs the companion (argv[2] on) once and prints its peak resident memory in MiB. This runs
// before the benchmark builds anything: a child starts its high-water mark from the memory
// of the process it was forked from, so it is forked from this small process (and not
// spawned from the benchmark, whose own peak it would inherit).
int CompanionPeak(char** argv) {
    const pid_t pid = fork();
    if (pid < 0) return 1;
    if (pid == 0) {
        // Standard output carries the measurement alone.
        const int null = open("/dev/null", O_WRONLY);
        if (null < 0 || dup2(null, 1) < 0) _exit(127);
        execv(argv[2], argv + 2);
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return 1;
    std::printf("%.1f\n", static_cast<double>(usage.ru_maxrss) / 1024.0);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::string(argv[1]) == "--companion-peak") return CompanionPeak(argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);  // fonts need the application object

    // The child of the peak-memory measurement: one generation, then exit.
    if (argc == 4 && std::string(argv[1]) == "--generate-once") {
        QTemporaryDir dir;
        KeepPicture handover;
        if (!GenerateOnce(Table(std::atoi(argv[2]), std::atoi(argv[3])), dir.path(), handover))
            return 1;
        std::printf("%.1f\n", PeakMiB());
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
