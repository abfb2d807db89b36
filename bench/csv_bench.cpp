// Speed of the categories as CSV. Target in a Release build: a file of 65,536 rows (the
// most a table may have: 256 groups of 255 items, each with a planned amount) reads into
// a table in under 1 s; writing it back is measured beside it.
#include <benchmark/benchmark.h>

#include <QByteArray>

#include "model/CategoryCsv.h"

namespace {

using namespace quill;

QByteArray LargestFile() {
    QByteArray csv = "Group,Category,Planned\r\n";
    int cents = 0;
    for (int g = 1; g <= 256; ++g) {
        const QByteArray group = "Group " + QByteArray::number(g);
        csv += group + ",,\r\n";
        for (int i = 1; i <= 255; ++i) {
            cents = (cents + 12345) % 10000000;
            csv += group + ",\"Item " + QByteArray::number(i) + ", with a comma\"," +
                   QByteArray::number(cents / 100) + '.' +
                   QByteArray::number(cents % 100).rightJustified(2, '0') + "\r\n";
        }
    }
    return csv;
}

void BM_ImportLargestCsv(benchmark::State& state) {
    const QByteArray csv = LargestFile();
    for (auto _ : state) {
        const CategoryTable table = model::ReadCategoryCsv(csv);
        if (table.size() != 65536) {
            state.SkipWithError("the file did not give 65,536 rows");
            return;
        }
        benchmark::DoNotOptimize(table.data());
    }
    state.counters["MB"] = static_cast<double>(csv.size()) / 1e6;
}
BENCHMARK(BM_ImportLargestCsv)->Unit(benchmark::kMillisecond);

void BM_ExportLargestCsv(benchmark::State& state) {
    const CategoryTable table = model::ReadCategoryCsv(LargestFile());
    for (auto _ : state) benchmark::DoNotOptimize(model::WriteCategoryCsv(table));
}
BENCHMARK(BM_ExportLargestCsv)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
