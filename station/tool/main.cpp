// make_station [source dir] [output dir]: writes the example installation.
// Without arguments it rewrites station/ of the source tree from station/src.
#include "data/Failure.h"
#include "station/tool/StationBuilder.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
    const QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const QString source = args.value(1, QStringLiteral(OBW_STATION_DIR "/src"));
    const QString out = args.value(2, QStringLiteral(OBW_STATION_DIR));
    QTextStream err(stderr);
    try {
        const QStringList written = station::StationBuilder::build(source, out);
        QTextStream(stdout) << written.size() << " files written to " << out << "\n";
    } catch (const data::Failure& f) {
        err << "make_station: " << f.message() << "\n";
        return 1;
    }
    return 0;
}
