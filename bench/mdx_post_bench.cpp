// Posting one changed row into a frequency table whose production index has
// a tag over C_OZN, at 100, 10,000 and 100,000 rows.
//   BM_PostKeyChange    DbfFile::writeRecord of a row whose C_OZN changed:
//                       the table write and the index update together
//   BM_IndexKeyChange   MdxIndex::recordChanged alone, for the same change
//   BM_PostOtherChange  a row whose KOLOR changed: the index is untouched
//   BM_OpenAndRepair    the check of every tag against the table that
//                       DbfFile makes on the index's first use

#include "data/DbfFile.h"
#include "data/MdxIndex.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

const int kCodes[] = {15, 18, 21, 24, 28, 80, 10, 12, 14};
const int kHertz[] = {1580, 1780, 2170, 2430, 2800, 8000, 10000, 12000, 14600};
const char* const kFamilies[] = {"3-7", "9", "1"};

std::vector<data::DbfField> frequencyFields()
{
    std::vector<data::DbfField> out;
    for (const auto& [name, type, width] : {std::tuple{"EOT", 'C', 3}, std::tuple{"SOT", 'N', 2}, std::tuple{"NR", 'N', 2},
                                             std::tuple{"C_OZN", 'N', 2}, std::tuple{"CZESTOTL", 'N', 8},
                                             std::tuple{"KOLOR", 'C', 20}}) {
        data::DbfField f;
        f.name = QString::fromLatin1(name);
        f.type = type;
        f.width = width;
        out.push_back(f);
    }
    return out;
}

// A frequency table of `rows` rows and its index over C_OZN, in a
// directory of its own; the header byte that names the index is set last,
// once the index holds every row.
class Table {
public:
    explicit Table(int rows)
    {
        path = dir.filePath(QStringLiteral("CZESTOTL.DBF"));
        data::DbfFile::create(path, frequencyFields());
        {
            auto file = data::DbfFile::open(path);
            std::vector<QByteArray> records;
            for (int i = 0; i < rows; ++i) {
                QByteArray r = file->blankRecord();
                const int c = (i * 7) % 9;
                file->setValue(r, 0, QString::fromLatin1(kFamilies[i % 3]));
                file->setValue(r, 1, 21 + i % 2);
                file->setValue(r, 2, i % 40);
                file->setValue(r, 3, kCodes[c]);
                file->setValue(r, 4, double(kHertz[c]));
                file->setValue(r, 5, QStringLiteral("kolor %1").arg(c));
                records.push_back(r);
            }
            file->appendRecords(records);
            data::MdxIndex::create(dir.filePath(QStringLiteral("CZESTOTL.MDX")), file->fields(), {QStringLiteral("C_OZN")},
                                   records, file->languageDriver());
        }
        QFile f(path);
        if (!f.open(QIODevice::ReadWrite) || !f.seek(28) || f.write("\x01", 1) != 1)
            throw std::runtime_error("cannot mark the production index");
    }

    QTemporaryDir dir;
    QString path;
};

// Record numbers spread over the table, so that posts reach every page.
quint32 nextRecno(quint32 previous, quint32 count)
{
    return quint32((quint64(previous) + 7919) % count);
}

void BM_PostKeyChange(benchmark::State& state)
{
    Table table(int(state.range(0)));
    auto file = data::DbfFile::open(table.path);
    file->productionIndex();
    const quint32 count = file->recordCount();
    QByteArray record;
    quint32 recno = 0;
    int code = 0;
    for (auto _ : state) {
        recno = nextRecno(recno, count);
        file->readRecord(recno, record);
        file->setValue(record, 3, kCodes[code++ % 9]);
        file->writeRecord(recno, record);
    }
    state.SetLabel(QStringLiteral("%1 rows").arg(count).toStdString());
}

void BM_IndexKeyChange(benchmark::State& state)
{
    Table table(int(state.range(0)));
    auto file = data::DbfFile::open(table.path);
    data::MdxIndex* index = file->productionIndex();
    const quint32 count = file->recordCount();
    std::vector<QByteArray> records(count);
    for (quint32 i = 0; i < count; ++i)
        file->readRecord(i, records[i]);
    quint32 recno = 0;
    int code = 0;
    for (auto _ : state) {
        recno = nextRecno(recno, count);
        const QByteArray before = records[recno];
        file->setValue(records[recno], 3, kCodes[code++ % 9]);
        index->recordChanged(recno, before.constData(), records[recno].constData());
    }
}

void BM_PostOtherChange(benchmark::State& state)
{
    Table table(int(state.range(0)));
    auto file = data::DbfFile::open(table.path);
    file->productionIndex();
    const quint32 count = file->recordCount();
    QByteArray record;
    quint32 recno = 0;
    int n = 0;
    for (auto _ : state) {
        recno = nextRecno(recno, count);
        file->readRecord(recno, record);
        file->setValue(record, 5, QStringLiteral("kolor %1").arg(n++ % 100));
        file->writeRecord(recno, record);
    }
}

void BM_OpenAndRepair(benchmark::State& state)
{
    Table table(int(state.range(0)));
    auto file = data::DbfFile::open(table.path);
    for (auto _ : state) {
        auto index = data::MdxIndex::open(QFileInfo(table.path).dir().filePath(QStringLiteral("CZESTOTL.MDX")), file->fields());
        data::DbfFile::Scanner scan(*file);
        benchmark::DoNotOptimize(index->repair([&scan] { return scan.next(); }));
    }
}

} // namespace

BENCHMARK(BM_PostKeyChange)->Arg(100)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_IndexKeyChange)->Arg(100)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PostOtherChange)->Arg(100)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OpenAndRepair)->Arg(100)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
