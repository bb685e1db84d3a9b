// The four statements of the windows, run verbatim by data::Query over small
// tables in the installation's layouts.

#include "data/DbfFile.h"
#include "data/Engine.h"
#include "tests/data/DataSetTestSupport.h"
#include "tests/support/Tables.h"
#include "tests/support/TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace dataset_test;
using testing_support::section;

class StatementTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        testing_support::writeMer(dir.path(), {
            {21, 11702, QStringLiteral("N"), QStringLiteral("3-7"), QStringLiteral("nadajnik SOT-21")},
            {22, 11701, QStringLiteral("N"), QStringLiteral("3-7"), QStringLiteral("nadajnik SOT-22")},
            {21, 11401, QStringLiteral("O"), QStringLiteral("3-7"), QStringLiteral("odbiornik SOT-21")},
            {22, 11403, QStringLiteral("O"), QStringLiteral("3-7"), QStringLiteral("odbiornik SOT-22")},
            {21, 11902, QStringLiteral("N"), QStringLiteral("9"), QStringLiteral("nadajnik EOT-9")},
            {21, 11909, QStringLiteral("N"), QStringLiteral("9"), QStringLiteral("drugi nadajnik EOT-9")},
            {21, 11999, QStringLiteral("5"), QStringLiteral("Ż1"), QString()},
        });
        testing_support::writeCzestotl(dir.path(), {
            {QStringLiteral("3-7"), 21, 1, 15, 1580, QStringLiteral("niebieski")},
            {QStringLiteral("3-7"), 21, 3, 21, 2170, QStringLiteral("czerwony")},
            {QStringLiteral("3-7"), 22, 2, 10, 10000, QStringLiteral("szary")},
            {QStringLiteral("9"), 21, 7, 21, 2171, QStringLiteral("różowy")},
            {QStringLiteral("3-7"), 22, 4, 21, 2172, QStringLiteral("żółty")},
        });
        testing_support::writeOdcinki(dir.path(), {
            section(QStringLiteral("ITA"), QStringLiteral("21"), 21, 5, {QStringLiteral("Iz1"), QStringLiteral("Ł2")},
                    {510210, 318801}, 2, QStringLiteral("1250"), QStringLiteral("przy nastawni")),
            section(QStringLiteral("Iz1"), QStringLiteral("22"), 10, 3, {QStringLiteral("ITA")}, {318800}),
            section(QStringLiteral("Iz2"), QStringLiteral("21"), 80, 5),
            section(QStringLiteral("Iz3"), QStringLiteral("21"), QVariant(), 5),
        });
    }

    // The named fields' texts in every row of an open query.
    static std::vector<QStringList> rows(data::Query& q, const QStringList& fields)
    {
        std::vector<QStringList> out;
        for (q.first(); !q.eof(); q.next()) {
            QStringList row;
            for (const QString& f : fields)
                row << q.fieldByName(f)->asString();
            out.push_back(row);
        }
        return out;
    }

    testing_support::TempDir dir;
};

struct MerCase {
    int sot;
    const char* role;
    const char* family;
    std::vector<int> types; // TYP of every row, ascending
};

TEST_F(StatementTest, MerLookUpFindsEveryRowWithTheThreeValues)
{
    const MerCase cases[] = {
        {21, "N", "3-7", {11702}},
        {22, "O", "3-7", {11403}},
        {21, "N", "9", {11902, 11909}},
        {22, "N", "9", {}},
        {21, "n", "3-7", {}}, // names are passed as they are stored
    };
    auto q = finderMerQuery();
    for (const MerCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.sot) + " " + c.role + " " + c.family);
        runMer(*q, c.sot, QString::fromLatin1(c.role), QString::fromLatin1(c.family));
        std::vector<int> types;
        for (q->first(); !q->eof(); q->next()) {
            EXPECT_EQ(q->fieldByName(QStringLiteral("SOT"))->asInteger(), c.sot);
            EXPECT_EQ(q->fieldByName(QStringLiteral("R"))->asString(), QString::fromLatin1(c.role));
            types.push_back(q->fieldByName(QStringLiteral("TYP"))->asInteger());
        }
        std::sort(types.begin(), types.end()); // the engine's order is free
        EXPECT_EQ(types, c.types);
        q->first();
        if (c.types.size() < 2) {
            EXPECT_EQ(q->fieldByName(QStringLiteral("TYP"))->asInteger(), c.types.empty() ? 0 : c.types.front());
        }
    }
}

TEST_F(StatementTest, FrequencyLookUpInOneOrTwoLinesFindsTheVariant)
{
    struct Case {
        int sot, code;
        const char* family;
        int nr; // of the first row; 0 for none
    };
    const Case cases[] = {
        {21, 21, "3-7", 3},
        {22, 21, "3-7", 4},
        {21, 21, "9", 7},
        {22, 10, "3-7", 2},
        {21, 15, "3-7", 1},
        {21, 99, "3-7", 0},
        {22, 15, "3-7", 0},
    };
    for (const QStringList& sql : {frequencyLookUp, frequencyLookUpTwoLines}) {
        auto q = finderFrequencyQuery(sql);
        for (const Case& c : cases) {
            SCOPED_TRACE(sql.join(QLatin1Char('|')).toStdString() + " code " + std::to_string(c.code));
            runFrequency(*q, c.sot, c.code, QString::fromLatin1(c.family));
            EXPECT_EQ(q->fieldByName(QStringLiteral("NR"))->asInteger(), c.nr);
            EXPECT_EQ(q->rowCount(), c.nr ? 1 : 0);
            if (c.nr) {
                EXPECT_EQ(q->fieldByName(QStringLiteral("C_OZN"))->asInteger(), c.code);
                EXPECT_EQ(q->fieldByName(QStringLiteral("EOT"))->asString(), QString::fromLatin1(c.family));
            }
        }
    }
}

TEST_F(StatementTest, TwoLineStatementRunsJoinedByALineBreak)
{
    auto q = finderFrequencyQuery(frequencyLookUpTwoLines);
    EXPECT_EQ(q->statement(), QStringLiteral("select * from czestotl\n where sot = :Isot and C_ozn = :ico and eot = :ieot"));
}

TEST_F(StatementTest, FrequencyLookUpReadsEveryDeclaredField)
{
    auto q = finderFrequencyQuery(frequencyLookUp);
    runFrequency(*q, 21, 21, QStringLiteral("9"));
    EXPECT_EQ(rows(*q, {QStringLiteral("SOT"), QStringLiteral("NR"), QStringLiteral("C_OZN"), QStringLiteral("CZESTOTL"),
                        QStringLiteral("KOLOR"), QStringLiteral("EOT")}),
              (std::vector<QStringList>{{QStringLiteral("21"), QStringLiteral("7"), QStringLiteral("21"),
                                         QStringLiteral("2171"), QStringLiteral("różowy"), QStringLiteral("9")}}));
}

struct ReviewCase {
    const char* name;
    std::vector<double> hertz; // CZESTOTL of every result row, in order
};

TEST_F(StatementTest, SectionReviewJoinsTheSectionWithEachFrequencyOfItsCode)
{
    const ReviewCase cases[] = {
        {"ITA", {2170, 2171, 2172}}, // width-10 "ITA" found; the section repeats
        {"Iz1", {10000}},
        {"Iz2", {}},                 // a code without a frequency row
        {"Iz3", {}},                 // a blank code
        {"Brak", {}},                // no such section
        {"IT", {}},
    };
    auto q = reviewQuery();
    for (const ReviewCase& c : cases) {
        SCOPED_TRACE(c.name);
        runReview(*q, QString::fromUtf8(c.name));
        std::vector<double> hertz;
        for (q->first(); !q->eof(); q->next()) {
            EXPECT_EQ(q->fieldByName(QStringLiteral("ODCINEK"))->asString(), QString::fromUtf8(c.name));
            hertz.push_back(q->fieldByName(QStringLiteral("CZESTOTL"))->value().toDouble());
        }
        std::sort(hertz.begin(), hertz.end()); // the engine's order is free
        EXPECT_EQ(hertz, c.hertz);
    }
}

TEST_F(StatementTest, SectionReviewFirstRowHoldsTheWholeSectionRow)
{
    auto q = reviewQuery();
    runReview(*q, QStringLiteral("ITA"));
    const QStringList names = {
        QStringLiteral("ODCINEK"), QStringLiteral("SOT"), QStringLiteral("IL_ODB"), QStringLiteral("DLUGOSC"),
        QStringLiteral("UWAGI"), QStringLiteral("OD_GR1"), QStringLiteral("U_GR1"), QStringLiteral("G_Z1"),
        QStringLiteral("OD_GR2"), QStringLiteral("OD_GR3"), QStringLiteral("E1"), QStringLiteral("E2"),
        QStringLiteral("E3"), QStringLiteral("CZEST"), QStringLiteral("NAD_EOT")};
    EXPECT_EQ(rows(*q, names).front(),
              (QStringList{QStringLiteral("ITA"), QStringLiteral("21"), QStringLiteral("2"), QStringLiteral("1250"),
                           QStringLiteral("przy nastawni"), QStringLiteral("Iz1"), QStringLiteral("<"),
                           QStringLiteral(">"), QStringLiteral("Ł2"), QString(), QStringLiteral("510210"), QStringLiteral("318801"),
                           QString(), QStringLiteral("21"), QStringLiteral("5")}));
    EXPECT_EQ(q->fieldByName(QStringLiteral("SOT"))->asInteger(), 21);
}

TEST_F(StatementTest, NoRowReadsZeroAndEmptyText)
{
    auto review = reviewQuery();
    runReview(*review, QStringLiteral("Brak"));
    EXPECT_TRUE(review->isActive());
    EXPECT_TRUE(review->isEmpty());
    EXPECT_TRUE(review->bof());
    EXPECT_TRUE(review->eof());
    for (const auto& f : review->fields()) {
        SCOPED_TRACE(f->fieldName().toStdString());
        EXPECT_EQ(f->asString(), QString());
        if (f->kind() != data::FieldKind::Text) {
            EXPECT_EQ(f->asInteger(), 0);
        }
    }
    EXPECT_EQ(failureOf([&] { review->fieldByName(QStringLiteral("SOT"))->asInteger(); }),
              QStringLiteral("'' is not a valid integer value"));

    auto mer = finderMerQuery();
    runMer(*mer, 22, QStringLiteral("N"), QStringLiteral("9"));
    EXPECT_EQ(mer->fieldByName(QStringLiteral("TYP"))->asInteger(), 0);
    EXPECT_EQ(mer->fieldByName(QStringLiteral("SOT"))->asInteger(), 0);
    EXPECT_EQ(mer->fieldByName(QStringLiteral("R"))->asString(), QString());
}

TEST_F(StatementTest, PreparingTwiceRunsTheStatementOnce)
{
    data::Engine& engine = data::Engine::instance();
    auto q = finderMerQuery();
    q->close();
    const quint64 before = engine.scanCount();
    q->prepare();
    q->prepare();
    EXPECT_TRUE(q->isPrepared());
    EXPECT_EQ(engine.scanCount(), before);
    q->setParamInteger(0, 21);
    q->setParamText(1, QStringLiteral("N"));
    q->setParamText(2, QStringLiteral("3-7"));
    q->prepare();
    q->open();
    EXPECT_EQ(engine.scanCount(), before + 1);
    q->prepare(); // an open, prepared query: nothing runs
    EXPECT_EQ(engine.scanCount(), before + 1);
    EXPECT_EQ(q->fieldByName(QStringLiteral("TYP"))->asInteger(), 11702);
}

TEST_F(StatementTest, ParameterTakesTheKindOfItsLastValue)
{
    auto q = finderMerQuery();
    q->close();
    q->prepare();
    EXPECT_EQ(q->paramCount(), 3);
    q->setParamText(0, QStringLiteral("dwadzieścia"));
    q->setParamInteger(0, 21);
    q->setParamInteger(1, 0);
    q->setParamText(1, QStringLiteral("N"));
    q->setParamText(2, QStringLiteral("3-7"));
    q->open();
    EXPECT_EQ(q->fieldByName(QStringLiteral("TYP"))->asInteger(), 11702);

    q->close();
    q->setParamText(0, QStringLiteral("x")); // a text never equals a number
    q->open();
    EXPECT_TRUE(q->isEmpty());
}

// The module tests the constraints alone, so it must compare as SQLite
// does: a number meets a text column as its text, a text meets a number
// column as the number it spells, and stored text loses only its padding.
TEST_F(StatementTest, ComparisonsFollowTheEnginesRules)
{
    struct Case {
        const char* label;
        QVariant sot, role, family;
        int typ; // of the only row; 0 for none
    };
    const Case cases[] = {
        {"polish_text", 21, QStringLiteral("5"), QStringLiteral("Ż1"), 11999},
        {"number_for_text", 21, 5, QStringLiteral("Ż1"), 11999},
        {"text_spelling_a_number", QStringLiteral("21"), QStringLiteral("5"), QStringLiteral("Ż1"), 11999},
        {"text_not_a_number", QStringLiteral("21a"), QStringLiteral("5"), QStringLiteral("Ż1"), 0},
        {"trailing_blank", 21, QStringLiteral("5"), QStringLiteral("Ż1 "), 0},
        {"other_letter_case", 21, QStringLiteral("5"), QStringLiteral("ż1"), 0},
        {"beyond_the_code_page", 21, QStringLiteral("5"), QStringLiteral("Ż1\u2603"), 0},
        {"empty_text", 21, QStringLiteral("5"), QString(QLatin1String("")), 0},
    };
    auto q = finderMerQuery();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        q->close();
        q->prepare();
        const QVariant params[] = {c.sot, c.role, c.family};
        for (int i = 0; i < 3; ++i) {
            if (params[i].typeId() == QMetaType::Int)
                q->setParamInteger(i, params[i].toInt());
            else
                q->setParamText(i, params[i].toString());
        }
        q->open();
        EXPECT_EQ(q->rowCount(), c.typ ? 1 : 0);
        EXPECT_EQ(q->fieldByName(QStringLiteral("TYP"))->asInteger(), c.typ);
    }
}

TEST_F(StatementTest, ParametersKeepTheirValuesFromOneRunToTheNext)
{
    auto q = finderMerQuery();
    runMer(*q, 21, QStringLiteral("O"), QStringLiteral("3-7"));
    q->close();
    q->setParamInteger(0, 22);
    q->open();
    EXPECT_EQ(q->fieldByName(QStringLiteral("TYP"))->asInteger(), 11403);
}

TEST_F(StatementTest, ParameterWithoutAValueIsRefused)
{
    auto q = finderMerQuery();
    q->close();
    q->prepare();
    q->setParamInteger(0, 21);
    q->setParamText(2, QStringLiteral("3-7"));
    EXPECT_EQ(failureOf([&] { q->open(); }), QStringLiteral("No value for parameter 'tr'"));
    EXPECT_FALSE(q->isActive());
}

TEST_F(StatementTest, QueryResultCannotBeChanged)
{
    auto q = finderMerQuery();
    runMer(*q, 21, QStringLiteral("N"), QStringLiteral("3-7"));
    EXPECT_FALSE(q->canModify());
    EXPECT_EQ(failureOf([&] { q->edit(); }), QStringLiteral("Cannot modify a read-only dataset"));
    EXPECT_EQ(failureOf([&] { q->fieldByName(QStringLiteral("R"))->setAsString(QStringLiteral("O")); }),
              QStringLiteral("Cannot modify a read-only dataset"));
    EXPECT_EQ(q->state(), data::DataSet::State::Browse);
}

TEST_F(StatementTest, TableNamesAndFileNamesMatchWithoutLetterCase)
{
    // Files as another installation names them.
    for (const char* name : {"MER", "CZESTOTL", "ODCINKI"})
        QFile::rename(dir.file(QString::fromLatin1(name) + QStringLiteral(".DBF")),
                      dir.file(QString::fromLatin1(name).toLower() + QStringLiteral(".dbf")));
    QFile::rename(dir.file(QStringLiteral("CZESTOTL.MDX")), dir.file(QStringLiteral("czestotl.Mdx")));
    auto mer = finderMerQuery();
    runMer(*mer, 22, QStringLiteral("N"), QStringLiteral("3-7"));
    EXPECT_EQ(mer->fieldByName(QStringLiteral("TYP"))->asInteger(), 11701);
    auto review = reviewQuery();
    runReview(*review, QStringLiteral("Iz1"));
    EXPECT_EQ(review->fieldByName(QStringLiteral("CZESTOTL"))->asInteger(), 10000);
}

TEST_F(StatementTest, DeletedRecordsAreNoRows)
{
    data::DbfFile::open(dir.file(QStringLiteral("MER.DBF")))->deleteRecord(4);
    data::DbfFile::open(dir.file(QStringLiteral("CZESTOTL.DBF")))->deleteRecord(1);
    auto mer = finderMerQuery();
    runMer(*mer, 21, QStringLiteral("N"), QStringLiteral("9"));
    EXPECT_EQ(mer->rowCount(), 1);
    EXPECT_EQ(mer->fieldByName(QStringLiteral("TYP"))->asInteger(), 11909);
    auto review = reviewQuery();
    runReview(*review, QStringLiteral("ITA"));
    EXPECT_EQ(review->rowCount(), 2);
}

TEST_F(StatementTest, ChangesPostedThroughATableReachTheNextRun)
{
    auto q = finderMerQuery();
    runMer(*q, 21, QStringLiteral("O"), QStringLiteral("3-7"));
    ASSERT_EQ(q->fieldByName(QStringLiteral("TYP"))->asInteger(), 11401);

    data::Table mer;
    mer.setTableName(QStringLiteral("MER.DBF"));
    data::Field* typ = mer.addField(QStringLiteral("TYP"), data::FieldKind::Float);
    data::Field* sot = mer.addField(QStringLiteral("SOT"), data::FieldKind::SmallInt);
    mer.open();
    mer.moveToRow(2);
    mer.edit();
    typ->setAsString(QStringLiteral("11405"));
    mer.post();
    runMer(*q, 21, QStringLiteral("O"), QStringLiteral("3-7"));
    EXPECT_EQ(q->fieldByName(QStringLiteral("TYP"))->asInteger(), 11405);

    mer.edit();
    sot->setAsString(QStringLiteral("22"));
    mer.post();
    mer.insert();
    sot->setAsString(QStringLiteral("21"));
    typ->setAsString(QStringLiteral("11499"));
    mer.post();
    runMer(*q, 21, QStringLiteral("O"), QStringLiteral("3-7"));
    EXPECT_TRUE(q->isEmpty()); // the new row has no R and no EOT yet
    runMer(*q, 22, QStringLiteral("O"), QStringLiteral("3-7"));
    EXPECT_EQ(q->rowCount(), 2);

    mer.moveToRow(2);
    mer.remove();
    runMer(*q, 22, QStringLiteral("O"), QStringLiteral("3-7"));
    EXPECT_EQ(q->rowCount(), 1);
    EXPECT_EQ(q->fieldByName(QStringLiteral("TYP"))->asInteger(), 11403);
}

TEST_F(StatementTest, TableReplacedOnDiskIsReadAnew)
{
    auto q = finderMerQuery();
    runMer(*q, 21, QStringLiteral("N"), QStringLiteral("3-7"));
    ASSERT_EQ(q->fieldByName(QStringLiteral("TYP"))->asInteger(), 11702);
    // Another layout: the columns in another order, one more of them.
    testing_support::writeTable(dir.file(QStringLiteral("MER.DBF")),
                                QStringLiteral("UWAGI C 20; EOT C 3; R C 1; KOD C 4; TYP N 6; SOT N 2"),
                                {{QStringLiteral("nowy"), QStringLiteral("3-7"), QStringLiteral("N"), QStringLiteral("x"),
                                  12001, 21}});
    runMer(*q, 21, QStringLiteral("N"), QStringLiteral("3-7"));
    EXPECT_EQ(q->fieldByName(QStringLiteral("TYP"))->asInteger(), 12001);
}

TEST_F(StatementTest, MissingTableEndsTheRunWithTheEnginesMessage)
{
    const QByteArray mer = dir.read(QStringLiteral("MER.DBF"));
    QFile::remove(dir.file(QStringLiteral("MER.DBF")));
    auto q = finderMerQuery();
    q->close();
    EXPECT_EQ(failureOf([&] { q->prepare(); }), QStringLiteral("Table does not exist.\nFile: MER.DBF"));
    EXPECT_FALSE(q->isActive());

    dir.write(QStringLiteral("MER.DBF"), mer);
    runMer(*q, 21, QStringLiteral("N"), QStringLiteral("3-7"));
    EXPECT_EQ(q->fieldByName(QStringLiteral("TYP"))->asInteger(), 11702);

    // Gone after the statement was prepared: the same message at the run.
    QFile::remove(dir.file(QStringLiteral("MER.DBF")));
    q->close();
    EXPECT_EQ(failureOf([&] { q->open(); }), QStringLiteral("Table does not exist.\nFile: MER.DBF"));
    EXPECT_FALSE(q->isActive());
}

} // namespace
