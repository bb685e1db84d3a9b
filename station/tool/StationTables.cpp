#include "station/tool/StationTables.h"

#include "data/DbfFile.h"
#include "data/Failure.h"
#include "data/MdxIndex.h"
#include "data/Win1250.h"
#include "station/tool/SectionRows.h"
#include "station/tool/TextTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace station {

namespace {

data::Failure valueError(const QString& table, int row, const data::DbfField& f, const QString& what)
{
    return data::Failure(QStringLiteral("EStationSource"),
                         QStringLiteral("%1 row %2, %3: %4").arg(table).arg(row).arg(f.name, what));
}

// The cell as the field stores it; text that the field would cut or the code
// page cannot hold, and numbers that are not numbers, are refused.
QVariant valueOf(const data::DbfField& f, const QVariant& cell, const QString& table, int row)
{
    if (f.kind == data::FieldKind::Text) {
        const QString text = cell.toString();
        if (!data::Win1250::canEncode(text))
            throw valueError(table, row, f, QStringLiteral("not Windows-1250 text"));
        if (data::Win1250::encode(text).size() > f.width)
            throw valueError(table, row, f, QStringLiteral("longer than %1 characters").arg(f.width));
        return text;
    }
    if (cell.isNull() || cell.toString().isEmpty())
        return {};
    bool ok = false;
    const double number = cell.toString().toDouble(&ok);
    if (!ok)
        throw valueError(table, row, f, QStringLiteral("not a number"));
    if (f.kind == data::FieldKind::SmallInt)
        return int(number);
    return number;
}

} // namespace

std::vector<QVariantList> StationTables::plainRows(const QString& sourcePath, const QString& layout)
{
    const TextTable table = TextTable::read(sourcePath);
    std::vector<QVariantList> rows;
    for (const TextTable::Row& row : table.rows()) {
        QVariantList values;
        for (const data::DbfField& f : data::DbfField::listFrom(layout))
            values << table.cell(row, f.name);
        rows.push_back(values);
    }
    return rows;
}

void StationTables::writeTable(const QString& path, const QString& layout, const std::vector<QVariantList>& rows,
                               const QStringList& indexed, QDate made)
{
    const std::vector<data::DbfField> fields = data::DbfField::listFrom(layout);
    const QString name = QFileInfo(path).fileName();
    data::DbfCreateOptions options;
    options.indexedFields = indexed;
    options.updated = made;
    for (size_t r = 0; r < rows.size(); ++r) {
        QVariantList values;
        for (size_t i = 0; i < fields.size(); ++i)
            values << valueOf(fields[i], rows[r].value(qsizetype(i)), name, int(r) + 1);
        options.rows.push_back(values);
    }
    QFile::remove(path);
    data::DbfFile::create(path, fields, options);
    if (indexed.isEmpty())
        return;
    const std::shared_ptr<data::DbfFile> file = data::DbfFile::open(path);
    std::vector<QByteArray> records;
    data::DbfFile::Scanner scan(*file);
    while (const char* record = scan.next())
        records.emplace_back(record, file->recordLength());
    const QFileInfo table(path);
    const QString mdx = table.dir().filePath(table.completeBaseName() + QStringLiteral(".MDX"));
    QFile::remove(mdx);
    data::MdxIndex::create(mdx, file->fields(), indexed, records, file->languageDriver(), made);
}

QStringList StationTables::write(const QString& sourceDir, const QString& outDir, QDate made)
{
    const QDir src(sourceDir);
    const QDir out(outDir);
    writeTable(out.filePath(QStringLiteral("MER.DBF")), QString::fromLatin1(merLayout),
               plainRows(src.filePath(QStringLiteral("MER.txt")), QString::fromLatin1(merLayout)), {}, made);
    writeTable(out.filePath(QStringLiteral("CZESTOTL.DBF")), QString::fromLatin1(czestotlLayout),
               plainRows(src.filePath(QStringLiteral("CZESTOTL.txt")), QString::fromLatin1(czestotlLayout)),
               {QStringLiteral("C_OZN")}, made);
    writeTable(out.filePath(QStringLiteral("ODCINKI.DBF")), QString::fromLatin1(odcinkiLayout),
               SectionRows::fromTable(TextTable::read(src.filePath(QStringLiteral("ODCINKI.txt")))), {}, made);
    return {QStringLiteral("MER.DBF"), QStringLiteral("CZESTOTL.DBF"), QStringLiteral("CZESTOTL.MDX"),
            QStringLiteral("ODCINKI.DBF")};
}

} // namespace station
