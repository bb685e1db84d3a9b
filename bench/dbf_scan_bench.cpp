// Opening a table and scanning it whole, every field of every record
// decoded to its value; and what one append costs.
//   dbf_scan_bench                   the Google Benchmark cases
//   dbf_scan_bench tables            makes the tables, prints "name rows path"
//   dbf_scan_bench scan <table>      one full scan: "records CPU-seconds checksum"

#include "bench/BenchTables.h"
#include "data/DbfFile.h"

#include <QCoreApplication>
#include <QFile>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

struct Table {
    const char* name;
    QString (*make)(int);
    int rows;
};

const Table kTables[] = {
    {"ODCINKI", &BenchTables::sections, 1000000},
    {"ODCINKI", &BenchTables::sections, 100000},
    {"MER", &BenchTables::modules, 100000},
    {"CZESTOTL", &BenchTables::frequencies, 100000},
};

// The machine is shared: CPU time, not wall time, is what the scan costs.
double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// Every value of every record, through the scan path; the checksum keeps
// the work from being optimised away.
double scanAll(const QString& path, quint64* records)
{
    auto file = data::DbfFile::open(path);
    const int fields = int(file->fields().size());
    std::vector<QVariant> row(static_cast<size_t>(fields));
    double sum = 0;
    quint64 n = 0;
    data::DbfFile::Scanner scan(*file);
    while (const char* r = scan.next()) {
        for (int f = 0; f < fields; ++f) {
            QVariant& v = row[size_t(f)];
            file->valueInto(r, f, v);
            switch (v.metaType().id()) {
            case QMetaType::QString: sum += double(static_cast<const QString*>(v.constData())->size()); break;
            case QMetaType::Int: sum += *static_cast<const int*>(v.constData()); break;
            case QMetaType::Double: sum += *static_cast<const double*>(v.constData()); break;
            default: break;
            }
        }
        sum += data::DbfFile::isDeleted(r);
        ++n;
    }
    *records = n;
    return sum;
}

void BM_Open(benchmark::State& state, const Table* table)
{
    const QString path = table->make(table->rows);
    for (auto _ : state) {
        auto file = data::DbfFile::open(path);
        benchmark::DoNotOptimize(file->recordCount());
    }
}

void BM_FullScan(benchmark::State& state, const Table* table)
{
    const QString path = table->make(table->rows);
    quint64 records = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(scanAll(path, &records));
    state.SetItemsProcessed(qint64(state.iterations() * records));
}

// value() per field: a new QVariant (and text) each time, for comparison.
void BM_FullScanFreshValues(benchmark::State& state, const Table* table)
{
    const QString path = table->make(table->rows);
    auto file = data::DbfFile::open(path);
    const int fields = int(file->fields().size());
    quint64 records = 0;
    for (auto _ : state) {
        records = 0;
        data::DbfFile::Scanner scan(*file);
        while (const char* r = scan.next()) {
            for (int f = 0; f < fields; ++f)
                benchmark::DoNotOptimize(file->value(r, f));
            ++records;
        }
    }
    state.SetItemsProcessed(qint64(state.iterations() * records));
}

// One append: record and end mark, the barrier that puts them on the disk
// before the count, then the count.
void BM_Append(benchmark::State& state)
{
    const QString path = QStringLiteral(OBW_BENCH_TABLES "/append.dbf");
    QFile::remove(path);
    QFile::copy(BenchTables::frequencies(100000), path);
    auto file = data::DbfFile::open(path);
    QByteArray r = file->blankRecord();
    file->setValue(r, 0, QStringLiteral("3-7"));
    file->setValue(r, 3, 15);
    for (auto _ : state)
        file->appendRecord(r);
    file.reset();
    QFile::remove(path);
}

void registerAll()
{
    benchmark::RegisterBenchmark("BM_Append/CZESTOTL", BM_Append)->Unit(benchmark::kMicrosecond);
    for (const Table& t : kTables) {
        const std::string name = std::string(t.name) + "/" + std::to_string(t.rows);
        benchmark::RegisterBenchmark(("BM_Open/" + name).c_str(), BM_Open, &t)->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("BM_FullScan/" + name).c_str(), BM_FullScan, &t)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("BM_FullScanFreshValues/" + name).c_str(), BM_FullScanFreshValues, &t)
            ->Unit(benchmark::kMillisecond);
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "tables") == 0) {
        for (const Table& t : kTables)
            std::printf("%s %d %s\n", t.name, t.rows, qPrintable(t.make(t.rows)));
        return 0;
    }
    if (argc >= 3 && std::strcmp(argv[1], "scan") == 0) {
        const double start = cpuSeconds();
        quint64 records = 0;
        const double sum = scanAll(QString::fromLocal8Bit(argv[2]), &records);
        std::printf("%llu %.6f %.1f\n", static_cast<unsigned long long>(records), cpuSeconds() - start, sum);
        return 0;
    }
    registerAll();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
