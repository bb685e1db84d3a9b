#include "sections/SectionFields.h"

#include "data/DataSet.h"

namespace sections {

void declareSectionEntryFields(data::DataSet& t)
{
    using data::FieldKind;
    for (const char* name : {"G_Z1", "G_Z2", "G_Z3", "G_Z4"})
        t.addField(QString::fromLatin1(name), FieldKind::Text, 1);
    t.addField(QStringLiteral("ODCINEK"), FieldKind::Text, 10);
    t.addField(QStringLiteral("SOT"), FieldKind::Text, 10);
    t.addField(QStringLiteral("IL_ODB"), FieldKind::SmallInt);
    for (int n = 1; n <= 4; ++n) {
        t.addField(QStringLiteral("OD_GR%1").arg(n), FieldKind::Text, 10);
        t.addField(QStringLiteral("U_GR%1").arg(n), FieldKind::Text, 1);
    }
    t.addField(QStringLiteral("DLUGOSC"), FieldKind::Text, 10);
    t.addField(QStringLiteral("UWAGI"), FieldKind::Text, 50);
    for (const char* name : {"E1", "E2", "E3", "E4"})
        t.addField(QString::fromLatin1(name), FieldKind::Float);
    t.addField(QStringLiteral("CZEST"), FieldKind::SmallInt);
    t.addField(QStringLiteral("NAD_EOT"), FieldKind::SmallInt);
}

} // namespace sections
