#include "bench/BenchTables.h"

#include "data/DbfFile.h"

#include <QDir>
#include <QFile>

#include <functional>
#include <memory>

namespace {

using Filler = std::function<void(const data::DbfFile&, QByteArray&, int)>;

std::vector<data::DbfField> fields(std::initializer_list<std::tuple<const char*, char, int, int>> list)
{
    std::vector<data::DbfField> out;
    for (const auto& [name, type, width, decimals] : list) {
        data::DbfField f;
        f.name = QString::fromLatin1(name);
        f.type = type;
        f.width = width;
        f.decimals = decimals;
        out.push_back(f);
    }
    return out;
}

// Makes `path` with `rows` records unless a table with that many is there.
QString ensure(const QString& path, const std::vector<data::DbfField>& layout, int rows, const Filler& fill)
{
    if (QFile::exists(path) && data::DbfFile::open(path)->recordCount() == quint32(rows))
        return path;
    QFile::remove(path);
    data::DbfFile::create(path, layout);
    auto file = data::DbfFile::open(path);
    std::vector<QByteArray> batch;
    for (int i = 0; i < rows; ++i) {
        QByteArray r = file->blankRecord();
        fill(*file, r, i);
        if (i % 97 == 0)
            r[0] = '*';
        batch.push_back(r);
        if (batch.size() == 20000 || i + 1 == rows) {
            file->appendRecords(batch);
            batch.clear();
        }
    }
    return path;
}

const QString kRemarks[] = {
    QStringLiteral("Odbiornik zasilany z szafy przekaźnikowej"),
    QStringLiteral("Złącze izolowane przy zwrotnicy, sprawdzić styk"),
    QString(),
    QStringLiteral("Długość mierzona od semafora wjazdowego"),
};
const int kCodes[] = {15, 18, 21, 24, 28, 80, 10, 12, 14};
const int kHertz[] = {1580, 1780, 2170, 2430, 2800, 8000, 10000, 12000, 14600};
const char* const kFamilies[] = {"3-7", "9", "1"};

} // namespace

QString BenchTables::directory()
{
    const QByteArray env = qgetenv("OBW_BENCH_TABLES");
    const QString dir = env.isEmpty() ? QStringLiteral(OBW_BENCH_TABLES) : QString::fromLocal8Bit(env);
    QDir().mkpath(dir);
    return dir;
}

QString BenchTables::sections(int rows)
{
    const auto layout = fields({{"ODCINEK", 'C', 10, 0}, {"SOT", 'C', 10, 0}, {"CZEST", 'N', 2, 0},
                                {"IL_ODB", 'N', 2, 0}, {"DLUGOSC", 'C', 10, 0}, {"UWAGI", 'C', 50, 0},
                                {"OD_GR1", 'C', 10, 0}, {"OD_GR2", 'C', 10, 0}, {"OD_GR3", 'C', 10, 0},
                                {"OD_GR4", 'C', 10, 0}, {"U_GR1", 'C', 1, 0}, {"U_GR2", 'C', 1, 0},
                                {"U_GR3", 'C', 1, 0}, {"U_GR4", 'C', 1, 0}, {"G_Z1", 'C', 1, 0},
                                {"G_Z2", 'C', 1, 0}, {"G_Z3", 'C', 1, 0}, {"G_Z4", 'C', 1, 0},
                                {"E1", 'N', 8, 1}, {"E2", 'N', 8, 1}, {"E3", 'N', 8, 1}, {"E4", 'N', 8, 1},
                                {"NAD_EOT", 'N', 1, 0}});
    return ensure(directory() + QStringLiteral("/ODCINKI_%1.DBF").arg(rows), layout, rows,
                  [](const data::DbfFile& f, QByteArray& r, int i) {
                      f.setValue(r, 0, QStringLiteral("Iz%1").arg(i));
                      f.setValue(r, 1, i % 2 ? QStringLiteral("21") : QStringLiteral("22"));
                      f.setValue(r, 2, kCodes[i % 9]);
                      f.setValue(r, 3, 1 + i % 3);
                      f.setValue(r, 4, QString::number(50 + i % 900));
                      f.setValue(r, 5, kRemarks[i % 4]);
                      for (int n = 0; n < 4; ++n) {
                          if ((i + n) % 5 == 0)
                              continue;
                          f.setValue(r, 6 + n, QStringLiteral("Iz%1").arg(i + n + 1));
                          f.setValue(r, 10 + n, QStringLiteral("<"));
                          f.setValue(r, 14 + n, QStringLiteral("ł"));
                          f.setValue(r, 18 + n, 510210.0 + (i + n) % 1000 / 10.0);
                      }
                      f.setValue(r, 22, i % 4 ? QVariant(5 + i % 3) : QVariant());
                  });
}

QString BenchTables::modules(int rows)
{
    const auto layout = fields({{"SOT", 'N', 2, 0}, {"TYP", 'N', 10, 1}, {"R", 'C', 1, 0}, {"EOT", 'C', 3, 0},
                                {"UWAGI", 'C', 20, 0}});
    return ensure(directory() + QStringLiteral("/MER_%1.DBF").arg(rows), layout, rows,
                  [](const data::DbfFile& f, QByteArray& r, int i) {
                      f.setValue(r, 0, i % 2 ? 21 : 22);
                      f.setValue(r, 1, 100 + (i % 400) / 2.0);
                      f.setValue(r, 2, i % 3 ? QStringLiteral("N") : QStringLiteral("O"));
                      f.setValue(r, 3, QString::fromLatin1(kFamilies[i % 3]));
                      f.setValue(r, 4, i % 5 ? QStringLiteral("moduł nr %1").arg(i) : QString());
                  });
}

QString BenchTables::frequencies(int rows)
{
    const auto layout = fields({{"EOT", 'C', 3, 0}, {"SOT", 'N', 2, 0}, {"NR", 'N', 2, 0}, {"C_OZN", 'N', 2, 0},
                                {"CZESTOTL", 'N', 8, 0}, {"KOLOR", 'C', 20, 0}});
    return ensure(directory() + QStringLiteral("/CZESTOTL_%1.DBF").arg(rows), layout, rows,
                  [](const data::DbfFile& f, QByteArray& r, int i) {
                      f.setValue(r, 0, QString::fromLatin1(kFamilies[i % 3]));
                      f.setValue(r, 1, i % 9 < 5 ? 21 : 22);
                      f.setValue(r, 2, i % 90);
                      f.setValue(r, 3, kCodes[i % 9]);
                      f.setValue(r, 4, double(kHertz[i % 9]));
                      f.setValue(r, 5, QStringLiteral("clŻółty%1").arg(i % 7));
                  });
}
