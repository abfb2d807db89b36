// Speed of the .xls file. Targets in a Release build:
//  - the budget sheet (about 70 rows by 10 columns with its formats, merges and formulas)
//    saved as a file and opened again: under 5 ms together;
//  - a sheet of 10,000 rows by 10 columns saved as a file: under 100 ms.
// The in-memory variants show how much of that is the records and the container alone.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>

#include <string>

#include "../tests/spreadsheet/xls/XlsSampleWorkbook.h"
#include "spreadsheet/xls/XlsContainer.h"
#include "spreadsheet/xls/XlsFile.h"
#include "spreadsheet/xls/XlsStream.h"

namespace {

using namespace quill::spreadsheet;

std::string ScratchFile(const QTemporaryDir& dir, const char* name) {
    return dir.filePath(name).toStdString();
}

void BM_BudgetSaveAndOpen(benchmark::State& state) {
    const Workbook book = sample::BudgetWorkbook();
    QTemporaryDir dir;
    const std::string path = ScratchFile(dir, "budget.xls");
    for (auto _ : state) {
        SaveXls(book, path);
        Workbook back = LoadXls(path);
        benchmark::DoNotOptimize(back);
    }
}
BENCHMARK(BM_BudgetSaveAndOpen)->Unit(benchmark::kMillisecond);

void BM_BudgetStreamAndContainerInMemory(benchmark::State& state) {
    const Workbook book = sample::BudgetWorkbook();
    for (auto _ : state) {
        const auto file = xls::PackCompoundFile(xls::WriteWorkbookStream(book));
        Workbook back = xls::ReadWorkbookStream(xls::UnpackCompoundFile(file));
        benchmark::DoNotOptimize(back);
    }
}
BENCHMARK(BM_BudgetStreamAndContainerInMemory)->Unit(benchmark::kMillisecond);

void BM_LargeSheetSave(benchmark::State& state) {
    const Workbook book = sample::LargeWorkbook(static_cast<int>(state.range(0)));
    QTemporaryDir dir;
    const std::string path = ScratchFile(dir, "large.xls");
    for (auto _ : state) SaveXls(book, path);
}
BENCHMARK(BM_LargeSheetSave)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_LargeSheetOpen(benchmark::State& state) {
    const Workbook book = sample::LargeWorkbook(static_cast<int>(state.range(0)));
    QTemporaryDir dir;
    const std::string path = ScratchFile(dir, "large.xls");
    SaveXls(book, path);
    for (auto _ : state) {
        Workbook back = LoadXls(path);
        benchmark::DoNotOptimize(back);
    }
}
BENCHMARK(BM_LargeSheetOpen)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
