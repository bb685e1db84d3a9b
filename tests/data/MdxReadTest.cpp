#include "data/Failure.h"
#include "data/MdxIndex.h"
#include "tests/data/MdxTestChecks.h"
#include "tests/data/MdxTestTable.h"
#include "tests/support/TempDir.h"

#include <QFile>
#include <QtEndian>

#include <gtest/gtest.h>

#include <random>

#include <fcntl.h>
#include <unistd.h>

using data::MdxIndex;
using mdx_test::MdxTestTable;

namespace {

QString fixture(const QString& name)
{
    return QStringLiteral(OBW_FIXTURES_DIR "/mdx/") + name;
}

// The message of the failure `f` throws; empty when it throws none.
template <typename F>
QString failureOf(F&& f)
{
    try {
        f();
    } catch (const data::Failure& e) {
        return e.message();
    }
    return {};
}

// The tables TDbf wrote (tests/fixtures/mdx/make_fixtures.pas), copied to a
// working directory of their own.
class MdxRead : public testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : {"CZESTOTL.DBF", "CZESTOTL.MDX", "EXPR.DBF", "EXPR.MDX", "NRONLY.DBF", "NRONLY.MDX"})
            ASSERT_TRUE(QFile::copy(fixture(QString::fromLatin1(name)), dir.file(QString::fromLatin1(name))));
        table = MdxTestTable::load(dir.file(QStringLiteral("CZESTOTL.DBF")));
    }

    std::unique_ptr<MdxIndex> open(const QString& name = QStringLiteral("CZESTOTL.MDX"))
    {
        return MdxIndex::open(dir.file(name), table.fields());
    }

    testing_support::TempDir dir;
    MdxTestTable table;
};

TEST_F(MdxRead, TagsOfAnIndexMadeByTdbf)
{
    const auto index = open();
    ASSERT_EQ(index->tags().size(), 2u);
    const MdxIndex::Tag& code = index->tags()[0];
    EXPECT_EQ(code.name, QStringLiteral("C_OZN"));
    EXPECT_EQ(code.expression, QStringLiteral("C_OZN"));
    EXPECT_EQ(code.keyType, 'N');
    EXPECT_EQ(code.keyLength, 12);
    EXPECT_EQ(code.field, table.field(QStringLiteral("C_OZN")));
    const MdxIndex::Tag& family = index->tags()[1];
    EXPECT_EQ(family.name, QStringLiteral("EOT"));
    EXPECT_EQ(family.keyType, 'C');
    EXPECT_EQ(family.keyLength, 3);
    EXPECT_EQ(family.field, table.field(QStringLiteral("EOT")));
    EXPECT_EQ(index->tagForField(QStringLiteral("c_ozn")), 0);
    EXPECT_EQ(index->tagForField(QStringLiteral("EOT")), 1);
    EXPECT_EQ(index->tagForField(QStringLiteral("NR")), -1);
    EXPECT_TRUE(index->writeRefusal().isEmpty());
}

// 150 keys take three leaves under a root: the walk crosses pages, and the
// two deleted records keep their keys.
TEST_F(MdxRead, WalkAndFindFollowKeyOrder)
{
    ASSERT_TRUE(table.deleted(9) && table.deleted(19));
    const auto index = open();
    mdx_test::expectTagAgrees(*index, table, QStringLiteral("C_OZN"));
    mdx_test::expectTagAgrees(*index, table, QStringLiteral("EOT"));
}

TEST_F(MdxRead, FindTakesTheKeyInAnyForm)
{
    const auto index = open();
    const std::vector<quint32> fifteen = index->find(0, 15);
    ASSERT_EQ(fifteen.size(), 17u);
    EXPECT_EQ(fifteen.front(), 0u);
    EXPECT_EQ(index->find(0, 15.0), fifteen);
    EXPECT_EQ(index->find(0, QStringLiteral(" 15 ")), fifteen);
    EXPECT_TRUE(index->find(0, 16).empty());
    EXPECT_TRUE(index->find(0, 99).empty());
    EXPECT_EQ(index->find(1, QStringLiteral("3-7")).size(), 50u);
    EXPECT_TRUE(index->find(1, QStringLiteral("3-7 and more")).empty());
    EXPECT_TRUE(index->find(1, QStringLiteral("3")).empty());
}

TEST_F(MdxRead, MissingIndexIsAFailureNamingIt)
{
    EXPECT_EQ(failureOf([&] { open(QStringLiteral("NOPE.MDX")); }), QStringLiteral("Index does not exist.\nFile: NOPE.MDX"));
}

TEST_F(MdxRead, IndexWithoutATagOverTheField)
{
    const auto index = open(QStringLiteral("NRONLY.MDX"));
    EXPECT_EQ(index->tagForField(QStringLiteral("C_OZN")), -1);
    EXPECT_EQ(index->tagForField(QStringLiteral("NR")), 0);
    EXPECT_EQ(index->walk(0).size(), 5u);
}

// TDbf keeps UPPER(KOLOR) keys; the index reads, but no write may go by it.
TEST_F(MdxRead, ExpressionTagRefusesWrites)
{
    const auto index = open(QStringLiteral("EXPR.MDX"));
    ASSERT_EQ(index->tags().size(), 2u);
    EXPECT_EQ(index->tags()[1].expression, QStringLiteral("UPPER(KOLOR)"));
    EXPECT_EQ(index->tags()[1].field, -1);
    EXPECT_EQ(index->tagForField(QStringLiteral("KOLOR")), -1);
    EXPECT_EQ(index->walk(1).size(), 5u);
    const QString refusal = QStringLiteral("Table cannot be changed: index tag 'KOLORUP' (key 'UPPER(KOLOR)') has a key "
                                           "that is more than a field name.\nFile: EXPR.MDX");
    EXPECT_EQ(index->writeRefusal(), refusal);
    const QByteArray record = table.records()[0];
    EXPECT_EQ(failureOf([&] { index->recordChanged(0, nullptr, record.constData()); }), refusal);
    EXPECT_FALSE(index->repair(table.reader()));
}

// Damage, each made in a copy of CZESTOTL.MDX, and the message it gives.
struct Damage {
    const char* what;
    std::function<void(QByteArray&)> damage;
    QString message;
};

quint32 rootOf(const QByteArray& mdx)
{
    const quint32 header = qFromLittleEndian<quint32>(mdx.constData() + 544);
    return qFromLittleEndian<quint32>(mdx.constData() + header * 512);
}

class MdxDamage : public MdxRead, public testing::WithParamInterface<Damage> {};

TEST_P(MdxDamage, IsAFailureNamingTheFile)
{
    QByteArray mdx = dir.read(QStringLiteral("CZESTOTL.MDX"));
    ASSERT_EQ(rootOf(mdx), 16u) << "the fixture's C_OZN root";
    GetParam().damage(mdx);
    dir.write(QStringLiteral("CZESTOTL.MDX"), mdx);
    EXPECT_EQ(failureOf([&] { open(); }), QStringLiteral("Corrupt index: ") + GetParam().message + QStringLiteral(".\nFile: CZESTOTL.MDX"));
}

void put32(QByteArray& b, qsizetype at, quint32 v)
{
    qToLittleEndian<quint32>(v, b.data() + at);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MdxDamage,
    testing::Values(
        Damage{"short", [](QByteArray& m) { m.truncate(1000); }, QStringLiteral("the file is shorter than its header")},
        Damage{"cut", [](QByteArray& m) { m.truncate(m.size() - 1024); },
               QStringLiteral("page 26 lies outside the file")},
        Damage{"root far", [](QByteArray& m) { put32(m, 2048, 0x00FFFFFF); },
               QStringLiteral("page 16777215 lies outside the file")},
        Damage{"root in header", [](QByteArray& m) { put32(m, 2048, 1); }, QStringLiteral("page 1 lies outside the file")},
        Damage{"loop", [](QByteArray& m) { put32(m, 16 * 512 + 8, 16); },
               QStringLiteral("page 16 of tag C_OZN is reached twice")},
        Damage{"count", [](QByteArray& m) { put32(m, 16 * 512, 200); }, QStringLiteral("page 16 of tag C_OZN counts 200 keys")},
        Damage{"page size", [](QByteArray& m) { qToLittleEndian<quint16>(1000, m.data() + 22); },
               QStringLiteral("a page of 1000 bytes")},
        Damage{"tag table", [](QByteArray& m) { qToLittleEndian<quint16>(500, m.data() + 28); },
               QStringLiteral("a tag table of 500 tags of 32 bytes")},
        Damage{"key length", [](QByteArray& m) { qToLittleEndian<quint16>(0, m.data() + 2048 + 12); },
               QStringLiteral("tag C_OZN has keys of 0 bytes in entries of 16 bytes, 63 to a page")},
        // Sizes whose product passes the int range must not pass for a page.
        Damage{"entries past the page",
               [](QByteArray& m) {
                   qToLittleEndian<quint16>(65400, m.data() + 2048 + 14);
                   qToLittleEndian<quint16>(65527, m.data() + 2048 + 18);
               },
               QStringLiteral("tag C_OZN has keys of 12 bytes in entries of 65527 bytes, 65400 to a page")}),
    [](const testing::TestParamInfo<Damage>& info) {
        QString name = QString::fromLatin1(info.param.what);
        name.replace(u' ', u'_');
        return name.toStdString();
    });

// A page cut off after the index was opened is found when a walk gets there.
TEST_F(MdxRead, DamageFoundLaterIsAFailureToo)
{
    const auto index = open();
    QByteArray mdx = dir.read(QStringLiteral("CZESTOTL.MDX"));
    mdx.truncate(mdx.size() - 1024);
    dir.write(QStringLiteral("CZESTOTL.MDX"), mdx);
    EXPECT_EQ(failureOf([&] { index->walk(0); }), QStringLiteral("Corrupt index: page 26 lies outside the file.\nFile: CZESTOTL.MDX"));
}

// Bytes changed at random anywhere in the file: every call either works or
// fails with a message naming the file, and never reads outside it (the
// sanitizer build watches that).
TEST_F(MdxRead, RandomDamageIsReadOrRefused)
{
    const QByteArray good = dir.read(QStringLiteral("CZESTOTL.MDX"));
    std::mt19937 random(11);
    int refused = 0;
    for (int round = 0; round < 400; ++round) {
        QByteArray bad = good;
        const int changes = 1 + int(random() % 6);
        for (int i = 0; i < changes; ++i) {
            // Most damage where the pointers and counts are.
            const qsizetype at = random() % 2 ? qsizetype(random() % 64) + 2048 * qsizetype(random() % 2)
                                              : qsizetype(random() % quint32(bad.size()));
            bad[at] = char(random() % 4 == 0 ? 0xFF : random());
        }
        if (random() % 8 == 0)
            bad.truncate(qsizetype(random() % quint32(bad.size())));
        dir.write(QStringLiteral("CZESTOTL.MDX"), bad);
        const QString message = failureOf([&] {
            const auto index = open();
            for (size_t t = 0; t < index->tags().size(); ++t) {
                index->walk(int(t));
                index->find(int(t), 15);
            }
            if (index->writeRefusal().isEmpty()) {
                index->recordChanged(0, table.records()[0].constData(), table.records()[1].constData());
                index->recordChanged(150, nullptr, table.records()[2].constData());
                index->repair(table.reader());
            }
        });
        if (!message.isEmpty()) {
            ++refused;
            EXPECT_TRUE(message.endsWith(QStringLiteral("\nFile: CZESTOTL.MDX"))) << message.toStdString();
        }
    }
    EXPECT_GT(refused, 100);
}

TEST_F(MdxRead, LockOfAnotherUserStopsAReaderInTheEnd)
{
    const auto index = open();
    const int fd = ::open(QFile::encodeName(dir.file(QStringLiteral("CZESTOTL.MDX"))).constData(), O_RDWR);
    ASSERT_GE(fd, 0);
    struct flock fl {};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    ASSERT_EQ(::fcntl(fd, F_OFD_SETLK, &fl), 0);
    EXPECT_EQ(failureOf([&] { index->walk(0); }), QStringLiteral("Index is locked by another user.\nFile: CZESTOTL.MDX"));
    ::close(fd);
    EXPECT_EQ(index->walk(0).size(), 150u);
}

} // namespace
