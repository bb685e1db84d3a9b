// Writes the main icon as PNG files for the desktop's icon theme:
// <dir>/<n>x<n>/apps/obwodnik.png for every size the icon has.
#include "app/MainIcon.h"

#include <QDir>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <icon theme folder>\n", argv[0]);
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    for (int size : app::MainIcon::sizes()) {
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(root).arg(size);
        const QString file = dir + QStringLiteral("/obwodnik.png");
        if (!QDir().mkpath(dir) || !app::MainIcon::image(size).save(file, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
