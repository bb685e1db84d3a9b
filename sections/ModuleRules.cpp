#include "sections/ModuleRules.h"

namespace sections {

QString receiverModule(int sotClass, int nr)
{
    if (sotClass == 21)
        return QStringLiteral("MER 11401/") + QString::number(nr);
    if (sotClass == 22)
        return QStringLiteral("MER 11403/") + QString::number(nr);
    return QString();
}

QString transmitterModule(int n, int sotClass, int nr)
{
    QString text;
    if (n > 1 && n < 8 && sotClass == 21)
        text = QStringLiteral("MER 11702/") + QString::number(nr);
    if (n > 1 && n < 8 && sotClass == 22)
        text = QStringLiteral("MER 11701/") + QString::number(nr);
    if (n == 9 && sotClass == 21) {
        static const char* const variants[] = {"2", "4", "3", "5", "1"}; // for NR 1 to 5
        if (nr >= 1 && nr <= 5)
            text = QStringLiteral("MER 11710/") + QLatin1String(variants[nr - 1]);
    }
    return text;
}

} // namespace sections
