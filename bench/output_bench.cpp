// Speed of the workbook's other outputs beside the .xls file, in the same run: the default
// budget and the 200 x 50 layout (200 groups of 50 items) written as .xls, as .xlsx and as
// PDF pages, each to a file in process. Targets in a Release build: the default budget as
// .xlsx under 10 ms and as PDF under 50 ms; the 200 x 50 layout under one second in each
// format.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <map>
#include <stdexcept>
#include <string>

#include "BenchInputs.h"
#include "bridge/SpreadsheetProvider.h"
#include "model/WorkbookPalette.h"
#include "sheet/ReportDriver.h"
#include "spreadsheet/render/SheetPages.h"
#include "spreadsheet/xls/XlsContainer.h"
#include "spreadsheet/xls/XlsFile.h"
#include "spreadsheet/xls/XlsStream.h"
#include "spreadsheet/xlsx/XlsxFile.h"

namespace {

using namespace quill;
namespace ss = spreadsheet;

// The workbook one generation saves: range 0 the default budget, 1 the 200 x 50 layout.
const ss::Workbook& Generated(int which) {
    static std::map<int, ss::Workbook> books;
    if (const auto it = books.find(which); it != books.end()) return it->second;
    QTemporaryDir dir;
    EmbeddedProvider provider;
    bench::CountingPrompt prompt;
    sheet::ReportEnvironment env{provider, prompt, dir.path(), nullptr, {}, false};
    const CategoryTable table = which == 0 ? bench::Table(0, 0) : bench::Table(200, 50);
    const sheet::ReportInputs inputs{table, bench::Incomes(), model::WorkbookPalette()};
    const QString path = sheet::GenerateReport(inputs, env);
    if (prompt.errors > 0) throw std::runtime_error("the generation failed");
    return books.emplace(which, ss::LoadXls(path.toStdString())).first->second;
}

// Each format's bytes as the program makes them; the file they land in is written the same
// way for every format.
void MakeXls(const ss::Workbook& book) {
    benchmark::DoNotOptimize(ss::xls::PackCompoundFile(ss::xls::WriteWorkbookStream(book)));
}
void MakeXlsx(const ss::Workbook& book) {
    benchmark::DoNotOptimize(ss::WriteXlsx(book));
}
void MakePdf(const ss::Workbook& book) {
    benchmark::DoNotOptimize(ss::WritePdf(book));
}

template <void (*Make)(const ss::Workbook&)>
void BM_Make(benchmark::State& state) {
    const ss::Workbook& book = Generated(static_cast<int>(state.range(0)));
    for (auto _ : state) Make(book);
    state.SetLabel(state.range(0) == 0 ? "default budget" : "200x50");
}

void BM_Xls(benchmark::State& state) {
    BM_Make<&MakeXls>(state);
}
void BM_Xlsx(benchmark::State& state) {
    BM_Make<&MakeXlsx>(state);
}
void BM_Pdf(benchmark::State& state) {
    BM_Make<&MakePdf>(state);
}
BENCHMARK(BM_Xls)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Xlsx)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pdf)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);  // the PDF pages need fonts
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
