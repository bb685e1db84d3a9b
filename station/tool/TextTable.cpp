#include "station/tool/TextTable.h"

#include "data/Failure.h"

#include <QFile>
#include <QFileInfo>

namespace station {

namespace {

QStringList cellsOf(const QString& line)
{
    QStringList cells = line.split(QLatin1Char('|'));
    for (QString& c : cells)
        c = c.trimmed();
    return cells;
}

data::Failure sourceError(const QString& file, int line, const QString& what)
{
    return data::Failure(QStringLiteral("EStationSource"), QStringLiteral("%1 line %2: %3").arg(file).arg(line).arg(what));
}

} // namespace

TextTable TextTable::read(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw data::Failure(data::Failure::InOut, QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
    TextTable table;
    table.fileName_ = QFileInfo(path).fileName();
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines.at(i).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList cells = cellsOf(line);
        if (table.columns_.isEmpty()) {
            table.columns_ = cells;
            continue;
        }
        if (cells.size() != table.columns_.size())
            throw sourceError(table.fileName_, i + 1,
                              QStringLiteral("%1 cells, the header names %2").arg(cells.size()).arg(table.columns_.size()));
        table.rows_.push_back({i + 1, cells});
    }
    if (table.columns_.isEmpty())
        throw sourceError(table.fileName_, lines.size(), QStringLiteral("no header line"));
    return table;
}

QString TextTable::cell(const Row& row, const QString& column) const
{
    const qsizetype at = columns_.indexOf(column);
    if (at < 0)
        throw sourceError(fileName_, row.line, QStringLiteral("no column %1").arg(column));
    return row.cells.at(at);
}

} // namespace station
