#include "station/tool/PageWriter.h"

#include "data/Failure.h"
#include "data/Win1250.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

namespace station {

namespace {

data::Failure pageError(const QString& source, int line, const QString& what)
{
    return data::Failure(QStringLiteral("EStationSource"), QStringLiteral("%1 line %2: %3").arg(source).arg(line).arg(what));
}

} // namespace

QByteArray PageWriter::pageOf(const QString& text, const QString& source)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    QByteArray out;
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines.at(i);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.contains(QLatin1Char('\r')))
            throw pageError(source, i + 1, QStringLiteral("a CR inside the line"));
        if (!data::Win1250::canEncode(line))
            throw pageError(source, i + 1, QStringLiteral("a character Windows-1250 lacks"));
        out += data::Win1250::encode(line);
        out += "\r\n";
    }
    return out;
}

void PageWriter::write(const QString& sourcePath, const QString& pagePath)
{
    QFile in(sourcePath);
    if (!in.open(QIODevice::ReadOnly))
        throw data::Failure(data::Failure::InOut, QStringLiteral("Cannot read %1: %2").arg(sourcePath, in.errorString()));
    const QByteArray bytes = pageOf(QString::fromUtf8(in.readAll()), QFileInfo(sourcePath).fileName());
    QSaveFile out(pagePath);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        throw data::Failure(data::Failure::InOut, QStringLiteral("Cannot write %1: %2").arg(pagePath, out.errorString()));
}

} // namespace station
