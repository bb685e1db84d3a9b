#include "station/tool/SectionRows.h"

#include "data/Failure.h"

#include <QRegularExpression>

#include <algorithm>

namespace station {

namespace {

data::Failure sourceError(const TextTable& table, int line, const QString& what)
{
    return data::Failure(QStringLiteral("EStationSource"),
                         QStringLiteral("%1 line %2: %3").arg(table.fileName()).arg(line).arg(what));
}

QVariant numberOrBlank(const QString& text)
{
    return text.isEmpty() ? QVariant() : QVariant(text.toInt());
}

// "<X" and "X>": the name, and whether it lies to the west.
std::pair<QString, bool> neighbourOf(const QString& token)
{
    if (token.startsWith(QLatin1Char('<')))
        return {token.mid(1), true};
    return {token.chopped(1), false};
}

} // namespace

SectionRows::Section SectionRows::parse(const TextTable& table, const TextTable::Row& row)
{
    Section s;
    s.line = row.line;
    s.row = &row;
    s.name = table.cell(row, QStringLiteral("ODCINEK"));
    static const QRegularExpression device(QStringLiteral("^EOT-(\\d{4}|\\d{6})$"));
    const auto match = device.match(table.cell(row, QStringLiteral("NADAJNIK")));
    if (!match.hasMatch())
        throw sourceError(table, row.line, QStringLiteral("NADAJNIK is not an EOT designation"));
    s.device = match.captured(1);
    const QString code = table.cell(row, QStringLiteral("CZEST")).rightJustified(2, QLatin1Char('0'));
    if (s.device.mid(1, 2) != code)
        throw sourceError(table, row.line, QStringLiteral("EOT-%1 does not carry the section's code %2").arg(s.device, code));
    s.neighbours = table.cell(row, QStringLiteral("GRANICZY Z")).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (s.neighbours.size() > 4)
        throw sourceError(table, row.line, QStringLiteral("more than four neighbours"));
    for (const QString& n : s.neighbours) {
        if (n.startsWith(QLatin1Char('<')) == n.endsWith(QLatin1Char('>')))
            throw sourceError(table, row.line, QStringLiteral("neighbour %1 is neither <west nor east>").arg(n));
    }
    return s;
}

QVariantList SectionRows::rowOf(const TextTable& table, const Section& s, const std::vector<Section>& all)
{
    const TextTable::Row& row = *s.row;
    QVariantList out{s.name,
                     table.cell(row, QStringLiteral("SOT")),
                     numberOrBlank(table.cell(row, QStringLiteral("CZEST"))),
                     numberOrBlank(table.cell(row, QStringLiteral("IL_ODB"))),
                     table.cell(row, QStringLiteral("DLUGOSC")),
                     table.cell(row, QStringLiteral("UWAGI"))};
    QVariantList numbers;
    for (int i = 0; i < 4; ++i) {
        if (i >= s.neighbours.size()) {
            out << QString() << QString() << QString();
            numbers << QVariant();
            continue;
        }
        const auto [name, west] = neighbourOf(s.neighbours.at(i));
        const auto it = std::find_if(all.begin(), all.end(), [&](const Section& o) { return o.name == name; });
        if (it == all.end())
            throw sourceError(table, s.line, QStringLiteral("no section %1").arg(name));
        out << name << (west ? QStringLiteral("<") : QString()) << (west ? QString() : QStringLiteral(">"));
        numbers << QVariant(it->device.toDouble());
    }
    out << numbers;
    out << QVariant(s.device.left(1).toInt());
    return out;
}

std::vector<QVariantList> SectionRows::fromTable(const TextTable& table)
{
    std::vector<Section> sections;
    for (const TextTable::Row& row : table.rows())
        sections.push_back(parse(table, row));
    std::vector<QVariantList> rows;
    for (const Section& s : sections)
        rows.push_back(rowOf(table, s, sections));
    return rows;
}

} // namespace station
