#include "data/MdxIndex.h"
#include "tests/data/MdxTestChecks.h"
#include "tests/data/MdxTestTable.h"
#include "tests/support/TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

#include <map>
#include <random>

using data::MdxIndex;
using mdx_test::MdxTestTable;

namespace {

const QString kCode = QStringLiteral("C_OZN");
const QString kFamily = QStringLiteral("EOT");

// What TDbf (tests/fixtures/mdx/tdbf_walk.pas) and Perl XBase
// (tests/fixtures/mdx/xbase_keys.pl) read from an index this program wrote:
// both must agree with the table's rows.
class MdxPeers : public testing::Test {
protected:
    QString dbf() const { return dir.file(QStringLiteral("CZESTOTL.DBF")); }
    QString mdx() const { return dir.file(QStringLiteral("CZESTOTL.MDX")); }

    void expectTdbfAgrees(const QString& field)
    {
        const QStringList lines = mdx_test::run(QStringLiteral(MDX_TDBF_WALK), {dbf(), field, field}).split(u'\n', Qt::SkipEmptyParts);
        ASSERT_FALSE(lines.isEmpty());
        ASSERT_EQ(lines.front(), QStringLiteral("walk"));
        std::vector<quint32> order;
        QStringList keys;
        std::map<QString, QString> found;
        for (const QString& line : lines.mid(1)) {
            if (line.startsWith(QStringLiteral("find "))) {
                const qsizetype colon = line.indexOf(u':');
                found[line.mid(5, colon - 5)] = line.mid(colon + 1).trimmed();
                continue;
            }
            const QStringList parts = line.split(u' ', Qt::SkipEmptyParts);
            ASSERT_GE(parts.size(), 2) << line.toStdString();
            const quint32 recno = parts.front().toUInt() - 1;
            order.push_back(recno);
            keys << (parts.size() == 3 ? parts[1] : QString());
            EXPECT_EQ(parts.back() == QStringLiteral("1"), table.deleted(recno)) << line.toStdString();
        }
        mdx_test::expectInTagOrder(table, field, order, keys);
        // TDbf's own search of every key finds that key's records.
        std::map<QString, QStringList> expected;
        for (quint32 recno : order)
            expected[table.text(recno, field)] << QString::number(recno + 1);
        ASSERT_EQ(found.size(), expected.size());
        for (const auto& [key, recnos] : expected)
            EXPECT_EQ(found[key], recnos.join(u' ')) << field.toStdString() << " = " << key.toStdString();
    }

    void expectPerlAgrees(const QString& tag)
    {
        const QStringList lines = mdx_test::run(QStringLiteral("perl"), {QStringLiteral(MDX_XBASE_KEYS), mdx(), tag}).split(u'\n', Qt::SkipEmptyParts);
        std::vector<quint32> order;
        QStringList keys;
        for (const QString& line : lines) {
            const QStringList parts = line.split(u'\t');
            ASSERT_EQ(parts.size(), 2) << line.toStdString();
            keys << parts[0];
            order.push_back(parts[1].toUInt() - 1);
        }
        mdx_test::expectInTagOrder(table, tag, order, keys);
    }

    void expectPeersAgree()
    {
        expectTdbfAgrees(kCode);
        expectTdbfAgrees(kFamily);
        expectPerlAgrees(kCode);
        expectPerlAgrees(kFamily);
    }

    void post(quint32 recno, const QByteArray& before)
    {
        table.save(dbf());
        index->recordChanged(recno, before.isNull() ? nullptr : before.constData(), table.records()[recno].constData());
    }

    testing_support::TempDir dir;
    MdxTestTable table;
    std::unique_ptr<MdxIndex> index;
};

TEST_F(MdxPeers, ReadChangesMadeToATdbfIndex)
{
    for (const char* name : {"CZESTOTL.DBF", "CZESTOTL.MDX"})
        ASSERT_TRUE(QFile::copy(QStringLiteral(OBW_FIXTURES_DIR "/mdx/") + QString::fromLatin1(name), dir.file(QString::fromLatin1(name))));
    table = MdxTestTable::load(dbf());
    index = MdxIndex::open(mdx(), table.fields());

    for (int code : {10, 99, 1, 15, 80, 28}) {
        table.records().push_back(table.row(QStringLiteral("9"), 22, 4, code, 1600, QStringLiteral("nowy")));
        post(quint32(table.records().size() - 1), {});
    }
    for (quint32 recno : {0u, 33u, 77u, 149u}) {
        const QByteArray before = table.records()[recno];
        table.set(recno, kCode, QStringLiteral("21"));
        table.set(recno, kFamily, QStringLiteral("0"));
        post(recno, before);
    }
    for (quint32 recno : {2u, 151u}) {
        const QByteArray before = table.records()[recno];
        table.setDeleted(recno, true);
        post(recno, before);
    }
    const QByteArray before = table.records()[50];
    table.set(50, QStringLiteral("KOLOR"), QStringLiteral("inny"));
    post(50, before);

    expectPeersAgree();
}

// An index made here from nothing, then grown past one level of pages.
TEST_F(MdxPeers, ReadAnIndexMadeHere)
{
    table = MdxTestTable::frequency();
    std::mt19937 random(3);
    const int codes[] = {15, 18, 21, 24, 28, 80, 10, 12, 14};
    const char* const families[] = {"3-7", "9", "1"};
    auto someRow = [&] {
        return table.row(QString::fromLatin1(families[random() % 3]), 21, 1, codes[random() % 9], 1580, QStringLiteral("k"));
    };
    for (int i = 0; i < 200; ++i)
        table.records().push_back(someRow());
    table.save(dbf());
    MdxIndex::create(mdx(), table.fields(), {kCode, kFamily}, table.records(), 0xC8);
    expectPeersAgree();

    index = MdxIndex::open(mdx(), table.fields());
    for (int i = 0; i < 400; ++i) {
        table.records().push_back(someRow());
        post(quint32(table.records().size() - 1), {});
    }
    for (int i = 0; i < 200; ++i) {
        const quint32 recno = quint32(random() % table.records().size());
        const QByteArray before = table.records()[recno];
        table.set(recno, kCode, QString::number(codes[random() % 9]));
        post(recno, before);
    }
    expectPeersAgree();
}

} // namespace
