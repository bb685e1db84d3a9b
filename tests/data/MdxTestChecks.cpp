#include "tests/data/MdxTestChecks.h"

#include "data/MdxIndex.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace mdx_test {

TableKey tableKey(const MdxTestTable& table, quint32 recno, const QString& field)
{
    const data::DbfField& f = table.fields()[size_t(table.field(field))];
    TableKey key;
    key.number = f.type == 'N' || f.type == 'F';
    if (key.number)
        key.value = table.text(recno, field).toDouble();
    else
        key.text = table.records()[recno].mid(f.offset, f.width);
    return key;
}

void expectInTagOrder(const MdxTestTable& table, const QString& field, const std::vector<quint32>& order,
                      const QStringList& keys)
{
    std::vector<quint32> sorted = order;
    std::sort(sorted.begin(), sorted.end());
    std::vector<quint32> all(table.records().size());
    for (size_t i = 0; i < all.size(); ++i)
        all[i] = quint32(i);
    ASSERT_EQ(sorted, all) << "every record once";
    for (size_t i = 1; i < order.size(); ++i) {
        EXPECT_FALSE(tableKey(table, order[i], field) < tableKey(table, order[i - 1], field))
            << "record " << order[i] << " after record " << order[i - 1];
    }
    if (keys.isEmpty())
        return;
    ASSERT_EQ(size_t(keys.size()), order.size());
    for (size_t i = 0; i < order.size(); ++i)
        EXPECT_EQ(keys[qsizetype(i)], table.text(order[i], field)) << "record " << order[i];
}

void expectTagAgrees(const data::MdxIndex& index, const MdxTestTable& table, const QString& field)
{
    const int tag = index.tagForField(field);
    ASSERT_GE(tag, 0) << field.toStdString();
    const std::vector<quint32> order = index.walk(tag);
    expectInTagOrder(table, field, order);
    std::map<QString, std::vector<quint32>> byKey;
    for (quint32 recno : order)
        byKey[table.text(recno, field)].push_back(recno);
    for (const auto& [key, recnos] : byKey)
        EXPECT_EQ(index.find(tag, key), recnos) << field.toStdString() << " = " << key.toStdString();
}

QString run(const QString& program, const QStringList& arguments)
{
    QProcess p;
    p.start(program, arguments);
    const bool finished = p.waitForFinished(60000);
    const QString err = QString::fromLocal8Bit(p.readAllStandardError());
    EXPECT_TRUE(finished && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
        << program.toStdString() << " failed: " << err.toStdString();
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

} // namespace mdx_test
