// The detail link of the review window: CZESTOTL.DBF ordered and ranged by
// C_OZN through its production index, following CZEST of a master.

#include "data/DataSource.h"
#include "data/DbfFile.h"
#include "tests/data/DataSetTestSupport.h"
#include "tests/support/Tables.h"
#include "tests/support/TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

using namespace dataset_test;
using testing_support::section;

class DetailLinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // C_OZN out of order; three rows share 21.
        testing_support::writeCzestotl(dir.path(), {
            {QStringLiteral("3-7"), 21, 1, 15, 1580, QStringLiteral("niebieski")},
            {QStringLiteral("3-7"), 21, 3, 21, 2170, QStringLiteral("czerwony")},
            {QStringLiteral("3-7"), 22, 2, 10, 10000, QStringLiteral("szary")},
            {QStringLiteral("9"), 21, 7, 21, 2171, QStringLiteral("różowy")},
            {QStringLiteral("1"), 22, 5, 80, 8000, QStringLiteral("biały")},
            {QStringLiteral("3-7"), 22, 4, 21, 2172, QStringLiteral("żółty")},
        });
        testing_support::writeOdcinki(dir.path(), {
            section(QStringLiteral("ITA"), QStringLiteral("21"), 21, 5),
            section(QStringLiteral("Iz1"), QStringLiteral("22"), 10, 3),
            section(QStringLiteral("Iz2"), QStringLiteral("21"), 28, 5), // no frequency row
            section(QStringLiteral("Iz3"), QStringLiteral("21"), QVariant(), 5),
        });
        source.setDataSet(master.get());
    }

    // NR of every row of the detail, from its first.
    static std::vector<int> variants(data::Table& t)
    {
        std::vector<int> out;
        for (t.first(); !t.eof(); t.next())
            out.push_back(t.fieldByName(QStringLiteral("NR"))->asInteger());
        t.first();
        return out;
    }

    static int nr(const data::Table& t) { return t.fieldByName(QStringLiteral("NR"))->asInteger(); }

    testing_support::TempDir dir;
    std::unique_ptr<data::Query> master = reviewQuery();
    data::DataSource source;
};

TEST_F(DetailLinkTest, WithTheMasterClosedEveryRowInKeyOrder)
{
    auto detail = reviewFrequencies(&source);
    detail->open();
    EXPECT_EQ(variants(*detail), (std::vector<int>{2, 1, 3, 7, 4, 5}));
    EXPECT_EQ(nr(*detail), 2);
}

TEST_F(DetailLinkTest, RangedToTheMastersCodeByTheTimeTheMasterHasOpened)
{
    auto detail = reviewFrequencies(&source);
    detail->open();
    data::DataSource detailSource;
    detailSource.setDataSet(detail.get());
    QStringList shown; // what a control over the detail shows as it hears of changes
    QObject::connect(&detailSource, &data::DataSource::dataSetChanged,
                     [&] { shown << detail->fieldByName(QStringLiteral("KOLOR"))->asString(); });

    runReview(*master, QStringLiteral("ITA"));
    EXPECT_EQ(nr(*detail), 3);
    EXPECT_TRUE(detail->bof());
    EXPECT_EQ(detail->rowCount(), 3);
    ASSERT_FALSE(shown.isEmpty());
    EXPECT_EQ(shown.last(), QStringLiteral("czerwony"));
    EXPECT_EQ(variants(*detail), (std::vector<int>{3, 7, 4}));

    runReview(*master, QStringLiteral("Iz1"));
    EXPECT_EQ(nr(*detail), 2);
    EXPECT_EQ(detail->fieldByName(QStringLiteral("C_OZN"))->asInteger(), 10);
    EXPECT_EQ(shown.last(), QStringLiteral("szary"));
}

TEST_F(DetailLinkTest, NoRowWhenTheMasterHasNone)
{
    auto detail = reviewFrequencies(&source);
    detail->open();
    for (const char* name : {"Brak", "Iz2", "Iz3"}) {
        SCOPED_TRACE(name);
        runReview(*master, QString::fromLatin1(name));
        EXPECT_TRUE(master->isEmpty());
        EXPECT_TRUE(detail->isEmpty());
        EXPECT_EQ(detail->rowCount(), 0);
        EXPECT_EQ(nr(*detail), 0);
        EXPECT_EQ(detail->fieldByName(QStringLiteral("CZESTOTL"))->asInteger(), 0);
        EXPECT_EQ(detail->fieldByName(QStringLiteral("KOLOR"))->asString(), QString());
    }
}

TEST_F(DetailLinkTest, LiftedWhenTheMasterCloses)
{
    auto detail = reviewFrequencies(&source);
    detail->open();
    runReview(*master, QStringLiteral("Iz1"));
    ASSERT_EQ(detail->rowCount(), 1);
    master->close();
    EXPECT_EQ(detail->rowCount(), 6);
    EXPECT_EQ(nr(*detail), 2);
    EXPECT_EQ(variants(*detail), (std::vector<int>{2, 1, 3, 7, 4, 5}));
}

TEST_F(DetailLinkTest, DetailOpenedAfterTheMasterStartsRanged)
{
    runReview(*master, QStringLiteral("ITA"));
    auto detail = reviewFrequencies(&source);
    detail->open();
    EXPECT_EQ(variants(*detail), (std::vector<int>{3, 7, 4}));
}

// Any data set can lead: here the section table, moved row by row,
// including a code no frequency has and a blank one.
TEST_F(DetailLinkTest, FollowsEveryMoveOfATableMaster)
{
    data::Table sections;
    sections.setTableName(QStringLiteral("ODCINKI.DBF"));
    sections.addField(QStringLiteral("ODCINEK"), data::FieldKind::Text, 10);
    sections.addField(QStringLiteral("CZEST"), data::FieldKind::SmallInt);
    data::DataSource sectionSource;
    sectionSource.setDataSet(&sections);
    auto detail = reviewFrequencies(&sectionSource);
    detail->open();
    sections.open();
    const std::vector<std::vector<int>> expected = {{3, 7, 4}, {2}, {}, {}};
    for (const std::vector<int>& rows : expected) {
        SCOPED_TRACE(sections.fieldByName(QStringLiteral("ODCINEK"))->asString().toStdString());
        EXPECT_EQ(nr(*detail), rows.empty() ? 0 : rows.front());
        EXPECT_EQ(variants(*detail), rows);
        sections.next();
    }
    sections.moveToRow(1);
    EXPECT_EQ(nr(*detail), 2);
}

TEST_F(DetailLinkTest, ChangesPostedToTheFrequencyTableReachTheNextRange)
{
    auto detail = reviewFrequencies(&source);
    detail->open();
    auto programmer = programmerFrequencies();
    programmer->open();
    programmer->moveToRow(3); // NR 7, C_OZN 21
    programmer->edit();
    programmer->fieldByName(QStringLiteral("C_OZN"))->setAsString(QStringLiteral("15"));
    programmer->post();
    programmer->insert();
    programmer->fieldByName(QStringLiteral("NR"))->setAsString(QStringLiteral("9"));
    programmer->fieldByName(QStringLiteral("C_OZN"))->setAsString(QStringLiteral("10"));
    programmer->post();

    runReview(*master, QStringLiteral("ITA"));
    EXPECT_EQ(variants(*detail), (std::vector<int>{3, 4}));
    runReview(*master, QStringLiteral("Iz1"));
    EXPECT_EQ(variants(*detail), (std::vector<int>{2, 9}));
    master->close();
    EXPECT_EQ(variants(*detail), (std::vector<int>{2, 9, 1, 7, 3, 4, 5}));
}

// The index keeps deleted records' keys; they leave both the range and a
// statement's rows, whether the keyed records lie close together or far
// apart in a long table.
TEST(DetailLinkDeleted, DeletedRecordsLeaveRangesAndStatements)
{
    testing_support::TempDir dir;
    std::vector<QVariantList> rows;
    for (int i = 0; i <= 2000; ++i) {
        const int code = i == 0 || i == 1000 || i == 2000 ? 99 : (i >= 10 && i < 14 ? 21 : 15);
        rows.push_back({QStringLiteral("3-7"), 21, i % 100, code, 2170, QStringLiteral("r%1").arg(i)});
    }
    testing_support::writeCzestotl(dir.path(), rows);
    {
        const auto file = data::DbfFile::open(dir.file(QStringLiteral("CZESTOTL.DBF")));
        for (quint32 r : {11u, 1000u})
            file->deleteRecord(r);
    }
    testing_support::writeOdcinki(dir.path(), {section(QStringLiteral("A"), QStringLiteral("21"), 21, 5),
                                               section(QStringLiteral("B"), QStringLiteral("21"), 99, 5)});
    auto master = reviewQuery();
    data::DataSource source;
    source.setDataSet(master.get());
    auto detail = reviewFrequencies(&source);
    detail->open();
    auto lookUp = finderFrequencyQuery(frequencyLookUp);
    const auto kolor = [](data::DataSet& d) {
        QStringList out;
        for (d.first(); !d.eof(); d.next())
            out << d.fieldByName(QStringLiteral("KOLOR"))->asString();
        return out;
    };
    const std::pair<const char*, QStringList> cases[] = {
        {"A", {QStringLiteral("r10"), QStringLiteral("r12"), QStringLiteral("r13")}},
        {"B", {QStringLiteral("r0"), QStringLiteral("r2000")}},
    };
    for (const auto& [name, expected] : cases) {
        SCOPED_TRACE(name);
        runReview(*master, QString::fromLatin1(name));
        EXPECT_EQ(kolor(*detail), expected);
        EXPECT_EQ(master->rowCount(), expected.size());
        runFrequency(*lookUp, 21, master->fieldByName(QStringLiteral("CZEST"))->asInteger(), QStringLiteral("3-7"));
        EXPECT_EQ(kolor(*lookUp), expected);
    }
}

struct NoIndexCase {
    const char* label;
    std::function<void(const testing_support::TempDir&)> make;
    const char* message;
};

void PrintTo(const NoIndexCase& c, std::ostream* os)
{
    *os << c.label;
}

class DetailWithoutIndex : public ::testing::TestWithParam<NoIndexCase> {
protected:
    testing_support::TempDir dir;
};

const QString kRows = QStringLiteral("EOT C 3; SOT N 2; NR N 2; C_OZN N 2; CZESTOTL N 6; KOLOR C 20");

TEST_P(DetailWithoutIndex, IsRefusedAtOpen)
{
    GetParam().make(dir);
    data::DataSource source;
    auto detail = reviewFrequencies(&source);
    EXPECT_EQ(failureOf([&] { detail->open(); }), QString::fromLatin1(GetParam().message));
    EXPECT_FALSE(detail->isActive());
}

INSTANTIATE_TEST_SUITE_P(Cases, DetailWithoutIndex, ::testing::Values(
    NoIndexCase{"flag_clear",
                [](const testing_support::TempDir& d) {
                    testing_support::writeTable(d.file(QStringLiteral("CZESTOTL.DBF")), kRows, {});
                },
                "Table 'CZESTOTL.DBF' has no index for fields 'C_OZN'"},
    NoIndexCase{"no_tag_over_the_field",
                [](const testing_support::TempDir& d) {
                    testing_support::writeTable(d.file(QStringLiteral("CZESTOTL.DBF")), kRows, {},
                                                {QStringLiteral("NR"), QStringLiteral("SOT")});
                },
                "Table 'CZESTOTL.DBF' has no index for fields 'C_OZN'"},
    NoIndexCase{"index_file_missing",
                [](const testing_support::TempDir& d) {
                    testing_support::writeTable(d.file(QStringLiteral("CZESTOTL.DBF")), kRows, {}, {QStringLiteral("C_OZN")});
                    QFile::remove(d.file(QStringLiteral("CZESTOTL.MDX")));
                },
                "Index does not exist.\nFile: CZESTOTL.mdx"}),
    [](const auto& info) { return std::string(info.param.label); });

} // namespace
