#include "station/tool/StationBuilder.h"

#include "station/tool/PageWriter.h"
#include "station/tool/PlanPainter.h"
#include "station/tool/PlanScript.h"
#include "station/tool/StationTables.h"

#include <QDir>

namespace station {

QStringList StationBuilder::pageNames()
{
    QStringList names{QStringLiteral("Spis.Txt")};
    for (int i = 1; i <= 20; ++i)
        names << QStringLiteral("U%1.txt").arg(i);
    names << QStringLiteral("Tspis.Txt");
    for (int i = 1; i <= 20; ++i)
        names << QStringLiteral("Dte%1.txt").arg(i);
    return names;
}

QStringList StationBuilder::build(const QString& sourceDir, const QString& outDir)
{
    const QDir src(sourceDir);
    const QDir out(outDir);
    QStringList written = StationTables::write(sourceDir, outDir, issued());
    for (const char* plan : {"kzn1", "kzn"}) {
        const QString name = QString::fromLatin1(plan);
        PlanPainter::write(PlanScript::read(src.filePath(name + QStringLiteral(".plan"))),
                           out.filePath(name + QStringLiteral(".bmp")));
        written << name + QStringLiteral(".bmp");
    }
    for (const QString& page : pageNames()) {
        PageWriter::write(src.filePath(QStringLiteral("pages/") + page), out.filePath(page));
        written << page;
    }
    return written;
}

} // namespace station
