#include "data/DbfField.h"

#include "data/Failure.h"

#include <QStringList>

namespace data {

std::vector<DbfField> DbfField::listFrom(const QString& layout)
{
    std::vector<DbfField> fields;
    for (const QString& item : layout.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QStringList words = item.simplified().split(QLatin1Char(' '));
        bool widthOk = false;
        bool decimalsOk = true;
        DbfField f;
        f.name = words.at(0);
        f.width = words.size() > 2 ? words.at(2).toInt(&widthOk) : 0;
        f.decimals = words.size() > 3 ? words.at(3).toInt(&decimalsOk) : 0;
        if (words.size() < 3 || words.size() > 4 || words.at(1).size() != 1 || !widthOk || !decimalsOk)
            throw Failure(QString::fromLatin1(Failure::Database), QStringLiteral("Bad field layout: %1").arg(item.trimmed()));
        f.type = words.at(1).at(0).toLatin1();
        f.kind = kindOf(f.type, f.width, f.decimals);
        fields.push_back(f);
    }
    return fields;
}

} // namespace data
