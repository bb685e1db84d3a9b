// The four statements run through data::Query exactly as the windows run
// them (close, prepare, parameters, open, read the field), a table's open,
// a bare full scan of each file for comparison, and a move of the review
// window's detail link. Two stations: tables of the shipped size (a few
// dozen rows) and large ones (1,000,000 sections; 100,000 modules and
// frequencies, the frequencies with their production index over C_OZN).
// CPU time is reported: the machine is shared.

#include "bench/BenchTables.h"
#include "data/DataSource.h"
#include "data/DbfFile.h"
#include "data/MdxIndex.h"
#include "data/Query.h"
#include "data/Table.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using data::FieldKind;

const QStringList kMerLookUp = {QStringLiteral("Select * from MER where sot = :tsot and r = :tr and eot = :reot")};
const QStringList kFrequencyLookUp = {
    QStringLiteral("select * from czestotl where sot = :Isot and C_ozn = :ico and eot = :ieot")};
const QStringList kFrequencyLookUpTwoLines = {QStringLiteral("select * from czestotl"),
                                              QStringLiteral(" where sot = :Isot and C_ozn = :ico and eot = :ieot")};
const QStringList kSectionReview = {
    QStringLiteral("select odcinki. *, czestotl.czestotl  from odcinki ,czestotl"),
    QStringLiteral("where (odcinki.odcinek =  :od) and (czestotl.C_ozn = odcinki.czest)")};

struct Station {
    const char* name;
    int sections;
    int modules;
    int frequencies;
    const char* section; // one the review looks up, not deleted
};

const Station kShipped = {"shipped", 48, 24, 36, "Iz20"};
const Station kLarge = {"large", 1000000, 100000, 100000, "Iz500000"};

// The generated frequency table with header byte 28 set and its index.
void makeIndexedFrequencies(const QString& plain, const QString& table)
{
    QFile::remove(table);
    QFile::copy(plain, table);
    QFile f(table);
    f.open(QIODevice::ReadWrite);
    f.seek(28);
    f.write("\x01", 1);
    f.close();
    const auto file = data::DbfFile::open(plain);
    std::vector<QByteArray> records;
    data::DbfFile::Scanner scan(*file);
    while (const char* r = scan.next())
        records.emplace_back(r, file->recordLength());
    const QString mdx = QFileInfo(table).dir().filePath(QStringLiteral("CZESTOTL.MDX"));
    QFile::remove(mdx);
    data::MdxIndex::create(mdx, file->fields(), {QStringLiteral("C_OZN")}, records, file->languageDriver());
}

// A working directory holding MER.DBF, CZESTOTL.DBF with CZESTOTL.MDX and
// ODCINKI.DBF of the station's sizes; made once, reused while they match.
QString stationDir(const Station& s)
{
    const QString sections = BenchTables::sections(s.sections);
    const QString modules = BenchTables::modules(s.modules);
    const QString frequencies = BenchTables::frequencies(s.frequencies);
    const QDir dir(QFileInfo(sections).dir().filePath(QString::fromLatin1(s.name)));
    QDir().mkpath(dir.path());
    const auto link = [&](const QString& target, const char* name) {
        QFile::remove(dir.filePath(QString::fromLatin1(name)));
        QFile::link(target, dir.filePath(QString::fromLatin1(name)));
    };
    link(sections, "ODCINKI.DBF");
    link(modules, "MER.DBF");
    const QString table = dir.filePath(QStringLiteral("CZESTOTL.DBF"));
    if (!QFile::exists(table) || data::DbfFile::open(table)->recordCount() != quint32(s.frequencies))
        makeIndexedFrequencies(frequencies, table);
    return dir.path();
}

// The working directory for the station; each benchmark runs inside it.
void enter(const Station& s)
{
    static QString current;
    const QString dir = stationDir(s);
    if (current != dir)
        QDir::setCurrent(dir);
    current = dir;
}

void frequencyFields(data::DataSet& d)
{
    d.addField(QStringLiteral("SOT"), FieldKind::SmallInt);
    d.addField(QStringLiteral("NR"), FieldKind::SmallInt);
    d.addField(QStringLiteral("C_OZN"), FieldKind::SmallInt);
    d.addField(QStringLiteral("CZESTOTL"), FieldKind::Float);
    d.addField(QStringLiteral("KOLOR"), FieldKind::Text, 20);
    d.addField(QStringLiteral("EOT"), FieldKind::Text, 3);
}

std::unique_ptr<data::Query> merQuery()
{
    auto q = std::make_unique<data::Query>();
    q->setSql(kMerLookUp);
    q->addField(QStringLiteral("SOT"), FieldKind::SmallInt);
    q->addField(QStringLiteral("R"), FieldKind::Text, 1);
    q->addField(QStringLiteral("TYP"), FieldKind::Float);
    return q;
}

std::unique_ptr<data::Query> frequencyQuery(const QStringList& sql)
{
    auto q = std::make_unique<data::Query>();
    q->setSql(sql);
    frequencyFields(*q);
    return q;
}

std::unique_ptr<data::Query> reviewQuery()
{
    auto q = std::make_unique<data::Query>();
    q->setSql(kSectionReview);
    for (const char* name : {"ODCINEK", "SOT", "DLUGOSC", "OD_GR1", "OD_GR2", "OD_GR3", "OD_GR4"})
        q->addField(QString::fromLatin1(name), FieldKind::Text, 10);
    q->addField(QStringLiteral("UWAGI"), FieldKind::Text, 50);
    for (const char* name : {"U_GR1", "U_GR2", "U_GR3", "U_GR4", "G_Z1", "G_Z2", "G_Z3", "G_Z4"})
        q->addField(QString::fromLatin1(name), FieldKind::Text, 1);
    for (const char* name : {"E1", "E2", "E3", "E4", "CZESTOTL"})
        q->addField(QString::fromLatin1(name), FieldKind::Float);
    for (const char* name : {"IL_ODB", "CZEST", "NAD_EOT"})
        q->addField(QString::fromLatin1(name), FieldKind::SmallInt);
    return q;
}

std::unique_ptr<data::Table> reviewFrequencies(data::DataSource* master)
{
    auto t = std::make_unique<data::Table>();
    t->setTableName(QStringLiteral("CZESTOTL.DBF"));
    t->setIndexFieldNames(QStringLiteral("C_OZN"));
    t->setMasterSource(master);
    t->setMasterFields(QStringLiteral("CZEST"));
    frequencyFields(*t);
    return t;
}

// The tables the windows hold open from start-up on (section data entry,
// programmer's data entry, section review): while they are open, every
// other data set and the engine share their files and the frequency
// table's index, as in the running program.
struct WindowTables {
    data::Table sectionEntry;
    data::Table programmerFrequencies;
    data::Table programmerModules;
    data::Table reviewSections;
    std::unique_ptr<data::Query> reviewQuery_ = reviewQuery();
    data::DataSource reviewSource;
    std::unique_ptr<data::Table> reviewFrequencies_;

    WindowTables()
    {
        sectionEntry.setTableName(QStringLiteral("odcinki.dbf"));
        sectionEntry.setReadOnly(true);
        sectionEntry.addField(QStringLiteral("ODCINEK"), FieldKind::Text, 10);
        programmerFrequencies.setTableName(QStringLiteral("CZESTOTL.DBF"));
        frequencyFields(programmerFrequencies);
        programmerModules.setTableName(QStringLiteral("MER.DBF"));
        programmerModules.addField(QStringLiteral("TYP"), FieldKind::Float);
        reviewSections.setTableName(QStringLiteral("ODCINKI.DBF"));
        reviewSections.addField(QStringLiteral("ODCINEK"), FieldKind::Text, 10);
        reviewSource.setDataSet(reviewQuery_.get());
        reviewFrequencies_ = reviewFrequencies(&reviewSource);
        for (data::Table* t : {&sectionEntry, &programmerFrequencies, &programmerModules, &reviewSections,
                               reviewFrequencies_.get()})
            t->open();
    }
};

// ---- the statements, as the finder and the review window run them ------

int runMer(data::Query& q)
{
    q.close();
    q.prepare();
    q.setParamInteger(0, 21);
    q.setParamText(1, QStringLiteral("O"));
    q.setParamText(2, QStringLiteral("3-7"));
    q.open();
    return q.fieldByName(QStringLiteral("TYP"))->asInteger();
}

int runFrequency(data::Query& q)
{
    q.close();
    q.prepare();
    q.setParamInteger(0, 21);
    q.setParamInteger(1, 21);
    q.setParamText(2, QStringLiteral("1"));
    q.open();
    return q.fieldByName(QStringLiteral("NR"))->asInteger();
}

int runReview(data::Query& q, const QString& section)
{
    q.close();
    q.prepare();
    q.setParamText(0, section);
    q.open();
    return q.fieldByName(QStringLiteral("SOT"))->asInteger() + q.fieldByName(QStringLiteral("CZEST"))->asInteger();
}

void BM_MerLookUp(benchmark::State& state, const Station* s)
{
    enter(*s);
    const WindowTables windows;
    auto q = merQuery();
    for (auto _ : state)
        benchmark::DoNotOptimize(runMer(*q));
    state.counters["rows"] = q->rowCount();
}

void BM_FrequencyLookUp(benchmark::State& state, const Station* s, const QStringList* sql)
{
    enter(*s);
    const WindowTables windows;
    auto q = frequencyQuery(*sql);
    for (auto _ : state)
        benchmark::DoNotOptimize(runFrequency(*q));
    state.counters["rows"] = q->rowCount();
}

void BM_SectionReview(benchmark::State& state, const Station* s)
{
    enter(*s);
    const WindowTables windows;
    auto q = reviewQuery();
    const QString section = QString::fromLatin1(s->section);
    for (auto _ : state)
        benchmark::DoNotOptimize(runReview(*q, section));
    state.counters["rows"] = q->rowCount();
}

// The review window loading a section: its query runs and the frequency
// table follows to the section's code; two sections of other codes in turn.
void BM_DetailMove(benchmark::State& state, const Station* s)
{
    enter(*s);
    const WindowTables windows;
    auto q = reviewQuery();
    data::DataSource source;
    source.setDataSet(q.get());
    auto detail = reviewFrequencies(&source);
    detail->open();
    const QString sections[] = {QString::fromLatin1(s->section), QStringLiteral("Iz21")};
    int n = 0;
    for (auto _ : state) {
        runReview(*q, sections[n++ % 2]);
        benchmark::DoNotOptimize(detail->fieldByName(QStringLiteral("NR"))->asInteger());
    }
    state.counters["detail_rows"] = detail->rowCount();
}

// ---- opening a table, and the bare scan the statements compare with ------

// The fields the windows declare over each file.
void declareFields(data::Table& t, const QString& file)
{
    if (file == QLatin1String("ODCINKI.DBF")) {
        t.addField(QStringLiteral("ODCINEK"), FieldKind::Text, 10);
        t.addField(QStringLiteral("CZEST"), FieldKind::SmallInt);
    } else if (file == QLatin1String("MER.DBF")) {
        t.addField(QStringLiteral("SOT"), FieldKind::SmallInt);
        t.addField(QStringLiteral("TYP"), FieldKind::Float);
        t.addField(QStringLiteral("R"), FieldKind::Text, 1);
        t.addField(QStringLiteral("EOT"), FieldKind::Text, 3);
        t.addField(QStringLiteral("UWAGI"), FieldKind::Text, 20);
    } else {
        frequencyFields(t);
    }
}

// `warm`: other data sets hold the file open, as at the second open of a
// file during start-up; cold: the file is read afresh.
void BM_TableOpen(benchmark::State& state, const Station* s, const char* file, bool warm)
{
    enter(*s);
    const std::unique_ptr<WindowTables> windows = warm ? std::make_unique<WindowTables>() : nullptr;
    data::Table t;
    t.setTableName(QString::fromLatin1(file));
    declareFields(t, t.tableName());
    for (auto _ : state) {
        t.open();
        benchmark::DoNotOptimize(t.fields().front()->asString());
        t.close();
    }
}

void BM_DetailTableOpen(benchmark::State& state, const Station* s)
{
    enter(*s);
    const WindowTables windows;
    data::DataSource source;
    auto master = reviewQuery();
    source.setDataSet(master.get());
    auto detail = reviewFrequencies(&source);
    for (auto _ : state) {
        detail->open();
        benchmark::DoNotOptimize(detail->fieldByName(QStringLiteral("NR"))->asInteger());
        detail->close();
    }
}

// Every value of every record, the way the module reads them.
void BM_FullScan(benchmark::State& state, const Station* s, const char* file)
{
    enter(*s);
    const auto table = data::DbfFile::open(QDir::current().filePath(QString::fromLatin1(file)));
    const int fields = int(table->fields().size());
    QVariant value;
    for (auto _ : state) {
        data::DbfFile::Scanner scan(*table);
        while (const char* r = scan.next()) {
            for (int f = 0; f < fields; ++f) {
                table->valueInto(r, f, value);
                benchmark::DoNotOptimize(value);
            }
        }
    }
}

void registerStation(const Station* s)
{
    const std::string at = std::string("/") + s->name;
    const auto unit = s == &kShipped ? benchmark::kMicrosecond : benchmark::kMillisecond;
    const auto add = [&](const std::string& name, auto&&... args) {
        benchmark::RegisterBenchmark((name + at).c_str(), args...)->Unit(unit)->MeasureProcessCPUTime();
    };
    for (const char* file : {"ODCINKI.DBF", "MER.DBF", "CZESTOTL.DBF"}) {
        add(std::string("BM_FullScan/") + file, BM_FullScan, s, file);
        add(std::string("BM_TableOpenCold/") + file, BM_TableOpen, s, file, false);
        add(std::string("BM_TableOpen/") + file, BM_TableOpen, s, file, true);
    }
    add("BM_DetailTableOpen", BM_DetailTableOpen, s);
    add("BM_MerLookUp", BM_MerLookUp, s);
    add("BM_FrequencyLookUp", BM_FrequencyLookUp, s, &kFrequencyLookUp);
    add("BM_FrequencyLookUpTwoLines", BM_FrequencyLookUp, s, &kFrequencyLookUpTwoLines);
    add("BM_SectionReview", BM_SectionReview, s);
    add("BM_DetailMove", BM_DetailMove, s);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    registerStation(&kShipped);
    registerStation(&kLarge);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
