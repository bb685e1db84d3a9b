#include "tests/data/DataSetTestSupport.h"

#include "data/DataSource.h"
#include "data/Failure.h"

#include <gtest/gtest.h>

namespace dataset_test {

using data::FieldKind;

namespace {

void frequencyFields(data::DataSet& d)
{
    d.addField(QStringLiteral("SOT"), FieldKind::SmallInt);
    d.addField(QStringLiteral("NR"), FieldKind::SmallInt);
    d.addField(QStringLiteral("C_OZN"), FieldKind::SmallInt);
    d.addField(QStringLiteral("CZESTOTL"), FieldKind::Float);
    d.addField(QStringLiteral("KOLOR"), FieldKind::Text, 20);
    d.addField(QStringLiteral("EOT"), FieldKind::Text, 3);
}

} // namespace

std::unique_ptr<data::Query> finderMerQuery()
{
    auto q = std::make_unique<data::Query>();
    q->setObjectName(QStringLiteral("Query1"));
    q->setSql(merLookUp);
    q->addField(QStringLiteral("SOT"), FieldKind::SmallInt);
    q->addField(QStringLiteral("R"), FieldKind::Text, 1);
    q->addField(QStringLiteral("TYP"), FieldKind::Float);
    return q;
}

std::unique_ptr<data::Query> finderFrequencyQuery(const QStringList& sql)
{
    auto q = std::make_unique<data::Query>();
    q->setObjectName(QStringLiteral("Query2"));
    q->setSql(sql);
    frequencyFields(*q);
    return q;
}

std::unique_ptr<data::Query> reviewQuery()
{
    auto q = std::make_unique<data::Query>();
    q->setObjectName(QStringLiteral("Query1"));
    q->setSql(sectionReview);
    q->addField(QStringLiteral("ODCINEK"), FieldKind::Text, 10);
    q->addField(QStringLiteral("SOT"), FieldKind::Text, 10);
    q->addField(QStringLiteral("IL_ODB"), FieldKind::SmallInt);
    q->addField(QStringLiteral("DLUGOSC"), FieldKind::Text, 10);
    q->addField(QStringLiteral("UWAGI"), FieldKind::Text, 50);
    for (int n = 1; n <= 4; ++n) {
        q->addField(QStringLiteral("OD_GR%1").arg(n), FieldKind::Text, 10);
        q->addField(QStringLiteral("U_GR%1").arg(n), FieldKind::Text, 1);
    }
    for (int n = 1; n <= 4; ++n)
        q->addField(QStringLiteral("G_Z%1").arg(n), FieldKind::Text, 1);
    for (int n = 1; n <= 4; ++n)
        q->addField(QStringLiteral("E%1").arg(n), FieldKind::Float);
    q->addField(QStringLiteral("CZESTOTL"), FieldKind::Float);
    q->addField(QStringLiteral("CZEST"), FieldKind::SmallInt);
    q->addField(QStringLiteral("NAD_EOT"), FieldKind::SmallInt);
    return q;
}

std::unique_ptr<data::Table> reviewFrequencies(data::DataSource* master)
{
    auto t = std::make_unique<data::Table>();
    t->setObjectName(QStringLiteral("Table2"));
    t->setTableName(QStringLiteral("CZESTOTL.DBF"));
    t->setIndexFieldNames(QStringLiteral("C_OZN"));
    t->setMasterSource(master);
    t->setMasterFields(QStringLiteral("CZEST"));
    t->addField(QStringLiteral("NR"), FieldKind::SmallInt);
    t->addField(QStringLiteral("SOT"), FieldKind::SmallInt);
    t->addField(QStringLiteral("C_OZN"), FieldKind::SmallInt);
    t->addField(QStringLiteral("CZESTOTL"), FieldKind::Float);
    t->addField(QStringLiteral("KOLOR"), FieldKind::Text, 20);
    t->addField(QStringLiteral("EOT"), FieldKind::Text, 3);
    return t;
}

std::unique_ptr<data::Table> programmerFrequencies()
{
    auto t = std::make_unique<data::Table>();
    t->setObjectName(QStringLiteral("Table1"));
    t->setTableName(QStringLiteral("CZESTOTL.DBF"));
    t->addField(QStringLiteral("EOT"), FieldKind::Text, 3, QString(), 4);
    t->addField(QStringLiteral("SOT"), FieldKind::SmallInt, 0, QString(), 4);
    t->addField(QStringLiteral("NR"), FieldKind::SmallInt, 0, QString(), 4);
    t->addField(QStringLiteral("C_OZN"), FieldKind::SmallInt, 0, QStringLiteral("Symb"), 6);
    t->addField(QStringLiteral("CZESTOTL"), FieldKind::Float, 0, QStringLiteral("Częstotl"), 8);
    t->addField(QStringLiteral("KOLOR"), FieldKind::Text, 20, QString(), 14);
    return t;
}

std::unique_ptr<data::Table> sectionEntryTable()
{
    auto t = std::make_unique<data::Table>();
    t->setObjectName(QStringLiteral("Table1"));
    t->setTableName(QStringLiteral("odcinki.dbf"));
    t->setReadOnly(true);
    for (const char* name : {"G_Z1", "G_Z2", "G_Z3", "G_Z4"})
        t->addField(QString::fromLatin1(name), FieldKind::Text, 1);
    t->addField(QStringLiteral("ODCINEK"), FieldKind::Text, 10);
    t->addField(QStringLiteral("SOT"), FieldKind::Text, 10);
    t->addField(QStringLiteral("IL_ODB"), FieldKind::SmallInt);
    for (int n = 1; n <= 4; ++n) {
        t->addField(QStringLiteral("OD_GR%1").arg(n), FieldKind::Text, 10);
        t->addField(QStringLiteral("U_GR%1").arg(n), FieldKind::Text, 1);
    }
    t->addField(QStringLiteral("DLUGOSC"), FieldKind::Text, 10);
    t->addField(QStringLiteral("UWAGI"), FieldKind::Text, 50);
    for (const char* name : {"E1", "E2", "E3", "E4"})
        t->addField(QString::fromLatin1(name), FieldKind::Float);
    t->addField(QStringLiteral("CZEST"), FieldKind::SmallInt);
    t->addField(QStringLiteral("NAD_EOT"), FieldKind::SmallInt);
    return t;
}

void runMer(data::Query& q, int sot, const QString& role, const QString& family)
{
    q.close();
    q.prepare();
    q.setParamInteger(0, sot);
    q.setParamText(1, role);
    q.setParamText(2, family);
    q.open();
}

void runFrequency(data::Query& q, int sot, int code, const QString& family)
{
    q.close();
    q.prepare();
    q.setParamInteger(0, sot);
    q.setParamInteger(1, code);
    q.setParamText(2, family);
    q.open();
}

void runReview(data::Query& q, const QString& section)
{
    q.close();
    q.prepare();
    q.setParamText(0, section);
    q.open();
}

QString failureOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const data::Failure& f) {
        return f.message();
    }
    ADD_FAILURE() << "no failure was raised";
    return QString();
}

} // namespace dataset_test
