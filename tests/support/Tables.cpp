#include "tests/support/Tables.h"

#include "data/DbfFile.h"
#include "data/MdxIndex.h"

#include <QDir>
#include <QFileInfo>

#include <stdexcept>

namespace testing_support {

void writeTable(const QString& path, const QString& layout, const std::vector<QVariantList>& rows, const QStringList& indexed)
{
    QFile::remove(path);
    data::DbfCreateOptions options;
    options.indexedFields = indexed;
    data::DbfFile::create(path, data::DbfField::listFrom(layout), options);
    std::vector<QByteArray> records;
    {
        const std::shared_ptr<data::DbfFile> file = data::DbfFile::open(path);
        for (const QVariantList& row : rows) {
            QByteArray record = file->blankRecord();
            for (int i = 0; i < row.size(); ++i)
                file->setValue(record, i, row.at(i));
            records.push_back(record);
        }
        if (indexed.isEmpty() && !records.empty())
            file->appendRecords(records);
        if (!indexed.isEmpty()) {
            const QFileInfo table(path);
            const QString mdx = table.dir().filePath(table.completeBaseName() + QStringLiteral(".MDX"));
            QFile::remove(mdx);
            data::MdxIndex::create(mdx, file->fields(), indexed, {}, file->languageDriver());
        }
    }
    if (!indexed.isEmpty() && !records.empty())
        data::DbfFile::open(path)->appendRecords(records);
}

void writeMer(const QString& dir, const std::vector<QVariantList>& rows)
{
    writeTable(QDir(dir).filePath(QStringLiteral("MER.DBF")), QString::fromLatin1(merLayout), rows);
}

void writeCzestotl(const QString& dir, const std::vector<QVariantList>& rows)
{
    writeTable(QDir(dir).filePath(QStringLiteral("CZESTOTL.DBF")), QString::fromLatin1(czestotlLayout), rows,
               {QStringLiteral("C_OZN")});
}

void writeOdcinki(const QString& dir, const std::vector<QVariantList>& rows)
{
    writeTable(QDir(dir).filePath(QStringLiteral("ODCINKI.DBF")), QString::fromLatin1(odcinkiLayout), rows);
}

QVariantList section(const QString& name, const QString& sot, const QVariant& czest, const QVariant& nadEot,
                     const QStringList& neighbours, const QVariantList& eots, const QVariant& ilOdb,
                     const QString& dlugosc, const QString& uwagi)
{
    QVariantList row{name, sot, czest, ilOdb, dlugosc, uwagi};
    for (int i = 0; i < 4; ++i) {
        row << (i < neighbours.size() ? neighbours.at(i) : QString()) << QStringLiteral("<") << QStringLiteral(">");
    }
    for (int i = 0; i < 4; ++i)
        row << (i < eots.size() ? eots.at(i) : QVariant());
    row << nadEot;
    return row;
}

} // namespace testing_support
