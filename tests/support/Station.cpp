#include "tests/support/Station.h"

#include "tests/support/Tables.h"

#include <QDir>
#include <QImage>

namespace testing_support {

void writeStation(const QString& dir)
{
    // Small plan pictures, so the program starts without a message.
    for (const char* name : {"kzn1.bmp", "kzn.bmp"}) {
        QImage picture(40, 20, QImage::Format_RGB32);
        picture.fill(Qt::white);
        picture.save(QDir(dir).filePath(QString::fromLatin1(name)), "BMP");
    }
    writeMer(dir, {
        {21, 11702, QStringLiteral("N"), QStringLiteral("3-7"), QStringLiteral("nadajnik SOT-21")},
        {22, 11701, QStringLiteral("N"), QStringLiteral("3-7"), QStringLiteral("nadajnik SOT-22")},
        {21, 11401, QStringLiteral("O"), QStringLiteral("3-7"), QStringLiteral("odbiornik SOT-21")},
        {22, 11403, QStringLiteral("O"), QStringLiteral("3-7"), QStringLiteral("odbiornik SOT-22")},
    });
    writeCzestotl(dir, {
        {QStringLiteral("3-7"), 21, 1, 15, 1580, QStringLiteral("niebieski")},
        {QStringLiteral("3-7"), 21, 3, 21, 2170, QStringLiteral("czerwony")},
        {QStringLiteral("3-7"), 22, 2, 10, 10000, QStringLiteral("szary")},
    });
    writeOdcinki(dir, {
        section(QStringLiteral("ITA"), QStringLiteral("21"), 21, 5, {QStringLiteral("Iz1")}, {510210}),
        section(QStringLiteral("Iz1"), QStringLiteral("22"), 10, 3, {QStringLiteral("ITA")}, {318800}),
    });
}

} // namespace testing_support
