#include "tests/station/StationCopy.h"

#include "data/DbfFile.h"

#include <QDir>
#include <QFile>

#include <stdexcept>

namespace testing_support {

QString StationCopy::dir()
{
    return QStringLiteral(OBW_SOURCE_DIR "/station");
}

QString StationCopy::sourceDir()
{
    return dir() + QStringLiteral("/src");
}

QStringList StationCopy::files()
{
    return QDir(dir()).entryList(QDir::Files, QDir::Name);
}

void StationCopy::copyTo(const QString& target)
{
    for (const QString& name : files()) {
        const QString to = QDir(target).filePath(name);
        QFile::remove(to);
        if (!QFile::copy(QDir(dir()).filePath(name), to))
            throw std::runtime_error("cannot copy " + name.toStdString());
    }
}

station::PlanScript StationCopy::plan(const QString& name)
{
    return station::PlanScript::read(QDir(sourceDir()).filePath(name + QStringLiteral(".plan")));
}

std::vector<QVariantMap> StationCopy::rows(const QString& table)
{
    const auto file = data::DbfFile::open(QDir(dir()).filePath(table));
    std::vector<QVariantMap> out;
    data::DbfFile::Scanner scan(*file);
    while (const char* record = scan.next()) {
        if (data::DbfFile::isDeleted(record))
            continue;
        QVariantMap row;
        for (size_t f = 0; f < file->fields().size(); ++f)
            row.insert(file->fields()[f].name, file->value(record, int(f)));
        out.push_back(row);
    }
    return out;
}

} // namespace testing_support
