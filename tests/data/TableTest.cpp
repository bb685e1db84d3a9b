// data::Table over one table file: open and close, ReadOnly, movement with
// its begin and end states, editing and its refusals, typed text, and what
// other data sets over the same file see.

#include "data/DataSource.h"
#include "data/DbfFile.h"
#include "tests/data/DataSetTestSupport.h"
#include "tests/support/Tables.h"
#include "tests/support/TempDir.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

using data::FieldKind;
using State = data::DataSet::State;
using dataset_test::failureOf;

const QString kList = QStringLiteral("LISTA.DBF");

// Six records A to F; `deleted` lists those marked deleted.
void writeList(const testing_support::TempDir& dir, const std::vector<int>& deleted)
{
    std::vector<QVariantList> rows;
    for (char c = 'A'; c <= 'F'; ++c)
        rows.push_back({QString(QLatin1Char(c)), int(c - 'A' + 1), (c - 'A') + 0.5});
    testing_support::writeTable(dir.file(kList), QStringLiteral("NAZWA C 10; IL N 2; E N 8 1"), rows);
    const auto file = data::DbfFile::open(dir.file(kList));
    for (int r : deleted)
        file->deleteRecord(quint32(r));
}

std::unique_ptr<data::Table> listTable(const QString& name = QStringLiteral("lista.dbf"))
{
    auto t = std::make_unique<data::Table>();
    t->setTableName(name);
    t->addField(QStringLiteral("NAZWA"), FieldKind::Text, 10);
    t->addField(QStringLiteral("IL"), FieldKind::SmallInt);
    t->addField(QStringLiteral("E"), FieldKind::Float);
    return t;
}

QString name(const data::Table& t)
{
    return t.fieldByName(QStringLiteral("NAZWA"))->asString();
}

// Records as stored, deleted ones marked with '*'.
QStringList stored(const testing_support::TempDir& dir)
{
    const auto file = data::DbfFile::open(dir.file(kList));
    QStringList out;
    QByteArray record;
    for (quint32 r = 0; r < file->recordCount(); ++r) {
        file->readRecord(r, record);
        QString row = data::DbfFile::isDeleted(record.constData()) ? QStringLiteral("*") : QString();
        row += file->value(record.constData(), 0).toString() + QLatin1Char(' ') + file->value(record.constData(), 1).toString();
        out << row;
    }
    return out;
}

// ---- movement ----------------------------------------------------------

struct Step {
    const char* move; // open, first, prior, next, last
    const char* at;   // the current row's name, "" for none
    bool bof;
    bool eof;
};

struct MoveCase {
    const char* label;
    std::vector<int> deleted;
    std::vector<Step> steps;
};

void PrintTo(const MoveCase& c, std::ostream* os)
{
    *os << c.label;
}

class Movement : public ::testing::TestWithParam<MoveCase> {
protected:
    testing_support::TempDir dir;
};

TEST_P(Movement, BeginAndEndAsTheNavigatorNeedsThem)
{
    writeList(dir, GetParam().deleted);
    auto t = listTable();
    int n = 0;
    for (const Step& s : GetParam().steps) {
        SCOPED_TRACE("step " + std::to_string(++n) + ": " + s.move);
        const std::string move = s.move;
        if (move == "open") t->open();
        else if (move == "first") t->first();
        else if (move == "prior") t->prior();
        else if (move == "next") t->next();
        else if (move == "last") t->last();
        EXPECT_EQ(name(*t), QString::fromLatin1(s.at));
        EXPECT_EQ(t->bof(), s.bof);
        EXPECT_EQ(t->eof(), s.eof);
    }
}

INSTANTIATE_TEST_SUITE_P(Tables, Movement, ::testing::Values(
    // Live rows B, D, E: deleted ones at the start, inside and at the end.
    MoveCase{"three_rows", {0, 2, 5}, {
        {"open", "B", true, false}, {"prior", "B", true, false}, {"next", "D", false, false},
        {"next", "E", false, false}, {"next", "E", false, true}, {"next", "E", false, true},
        {"prior", "D", false, false}, {"prior", "B", false, false}, {"prior", "B", true, false},
        {"last", "E", false, true}, {"prior", "D", false, false}, {"first", "B", true, false}}},
    MoveCase{"one_row", {0, 1, 2, 4, 5}, {
        {"open", "D", true, false}, {"next", "D", false, true}, {"prior", "D", true, false},
        {"last", "D", false, true}, {"first", "D", true, false}}},
    MoveCase{"no_row", {0, 1, 2, 3, 4, 5}, {
        {"open", "", true, true}, {"next", "", true, true}, {"prior", "", true, true},
        {"last", "", true, true}, {"first", "", true, true}}}),
    [](const auto& info) { return std::string(info.param.label); });

class TableTest : public ::testing::Test {
protected:
    void SetUp() override { writeList(dir, {0, 2, 5}); } // live: B, D, E
    testing_support::TempDir dir;
};

TEST_F(TableTest, RowsOfAGridSkipDeletedRecords)
{
    auto t = listTable();
    t->open();
    EXPECT_EQ(t->rowCount(), 3);
    EXPECT_EQ(t->currentRow(), 0);
    const data::Field* nazwa = t->fieldByName(QStringLiteral("NAZWA"));
    EXPECT_EQ(t->valueAt(2, nazwa).toString(), QStringLiteral("E"));
    EXPECT_EQ(name(*t), QStringLiteral("B")); // reading a row does not move
    t->moveToRow(1);
    EXPECT_EQ(name(*t), QStringLiteral("D"));
    EXPECT_EQ(t->currentRow(), 1);
    EXPECT_EQ(t->currentRecno(), 3);
}

TEST_F(TableTest, OpenTwiceKeepsTheCurrentRowAndCloseLeavesNone)
{
    auto t = listTable();
    t->open();
    t->last();
    t->open();
    EXPECT_EQ(name(*t), QStringLiteral("E"));
    t->close();
    EXPECT_FALSE(t->isActive());
    EXPECT_TRUE(t->isEmpty());
    EXPECT_EQ(t->rowCount(), 0);
    EXPECT_EQ(name(*t), QString());
    t->open();
    EXPECT_EQ(name(*t), QStringLiteral("B"));
}

TEST_F(TableTest, MovingSeesRowsAppendedByAnotherDataSet)
{
    auto reader = listTable();
    reader->open();
    reader->last();
    auto writer = listTable(QStringLiteral("LISTA.DBF"));
    writer->open();
    writer->insert();
    writer->fieldByName(QStringLiteral("NAZWA"))->setAsString(QStringLiteral("G"));
    writer->post();
    reader->next();
    EXPECT_EQ(name(*reader), QStringLiteral("G"));
    EXPECT_FALSE(reader->eof());
}

TEST_F(TableTest, ReadOnlyChangesOnlyWhileClosed)
{
    auto t = listTable();
    t->open();
    EXPECT_TRUE(t->canModify());
    EXPECT_EQ(failureOf([&] { t->setReadOnly(true); }), QStringLiteral("Cannot perform this operation on an open dataset"));
    EXPECT_FALSE(t->readOnly());
    EXPECT_TRUE(t->isActive());

    // The callers close, switch and reopen.
    t->close();
    t->setReadOnly(true);
    t->open();
    EXPECT_FALSE(t->canModify());
    EXPECT_EQ(failureOf([&] { t->setReadOnly(false); }), QStringLiteral("Cannot perform this operation on an open dataset"));
    EXPECT_TRUE(t->readOnly());
    t->close();
    t->setReadOnly(false);
    t->open();
    EXPECT_TRUE(t->canModify());
}

TEST_F(TableTest, ReadOnlyRefusesEveryChangeButRefresh)
{
    testing_support::writeOdcinki(dir.path(), {testing_support::section(QStringLiteral("ITA"), QStringLiteral("21"), 21, 5)});
    const QByteArray before = dir.read(QStringLiteral("ODCINKI.DBF"));
    auto t = dataset_test::sectionEntryTable();
    t->open();
    const std::pair<const char*, std::function<void()>> refused[] = {
        {"edit", [&] { t->edit(); }},
        {"insert", [&] { t->insert(); }},
        {"delete", [&] { t->remove(); }},
        {"typing", [&] { t->fieldByName(QStringLiteral("UWAGI"))->setAsString(QStringLiteral("x")); }},
    };
    for (const auto& [what, action] : refused) {
        SCOPED_TRACE(what);
        EXPECT_EQ(failureOf(action), QStringLiteral("Cannot modify a read-only dataset"));
        EXPECT_EQ(t->state(), State::Browse);
    }
    t->refresh();
    EXPECT_EQ(t->fieldByName(QStringLiteral("ODCINEK"))->asString(), QStringLiteral("ITA"));
    EXPECT_EQ(dir.read(QStringLiteral("ODCINKI.DBF")), before);
}

TEST_F(TableTest, EditAndPostWriteTheRowForEveryReader)
{
    auto t = listTable();
    t->open();
    t->next();
    t->edit();
    EXPECT_EQ(t->state(), State::Edit);
    t->fieldByName(QStringLiteral("NAZWA"))->setAsString(QStringLiteral("Dąb"));
    t->fieldByName(QStringLiteral("IL"))->setAsString(QStringLiteral("42"));
    t->fieldByName(QStringLiteral("E"))->setAsString(QStringLiteral("7.34"));
    EXPECT_TRUE(t->isModified());
    t->post();
    EXPECT_EQ(t->state(), State::Browse);
    EXPECT_EQ(name(*t), QStringLiteral("Dąb"));
    EXPECT_EQ(stored(dir), (QStringList{QStringLiteral("*A 1"), QStringLiteral("B 2"), QStringLiteral("*C 3"),
                                        QStringLiteral("Dąb 42"), QStringLiteral("E 5"), QStringLiteral("*F 6")}));
    EXPECT_EQ(data::DbfFile::open(dir.file(kList))->languageDriver(), 0xC8);
    EXPECT_DOUBLE_EQ(t->fieldByName(QStringLiteral("E"))->value().toDouble(), 7.3); // one decimal in the file
}

TEST_F(TableTest, CancelAndCloseDropTheChanges)
{
    const QStringList before = stored(dir);
    auto t = listTable();
    t->open();
    t->edit();
    t->fieldByName(QStringLiteral("NAZWA"))->setAsString(QStringLiteral("X"));
    EXPECT_EQ(name(*t), QStringLiteral("X"));
    t->cancel();
    EXPECT_EQ(t->state(), State::Browse);
    EXPECT_EQ(name(*t), QStringLiteral("B"));

    t->edit();
    t->fieldByName(QStringLiteral("NAZWA"))->setAsString(QStringLiteral("Y"));
    t->close();
    EXPECT_EQ(stored(dir), before);
    t->open();
    EXPECT_EQ(name(*t), QStringLiteral("B"));
}

TEST_F(TableTest, MovingPostsAChangedRow)
{
    auto t = listTable();
    t->open();
    t->edit();
    t->fieldByName(QStringLiteral("IL"))->setAsString(QStringLiteral("20"));
    t->next();
    EXPECT_EQ(t->state(), State::Browse);
    EXPECT_EQ(stored(dir).at(1), QStringLiteral("B 20"));
}

TEST_F(TableTest, InsertAndPostAppendARow)
{
    auto t = listTable();
    t->open();
    t->next();
    t->insert();
    EXPECT_EQ(t->state(), State::Insert);
    EXPECT_EQ(name(*t), QString());
    EXPECT_EQ(t->fieldByName(QStringLiteral("IL"))->asInteger(), 0);
    EXPECT_EQ(t->rowCount(), 4);
    t->fieldByName(QStringLiteral("NAZWA"))->setAsString(QStringLiteral("Żuraw"));
    t->fieldByName(QStringLiteral("IL"))->setAsString(QStringLiteral("9"));
    t->post();
    EXPECT_EQ(name(*t), QStringLiteral("Żuraw"));
    EXPECT_EQ(t->rowCount(), 4);
    EXPECT_EQ(t->currentRow(), 3);
    EXPECT_EQ(stored(dir).last(), QStringLiteral("Żuraw 9"));
    EXPECT_EQ(stored(dir).size(), 7);
}

TEST_F(TableTest, CancelledInsertReturnsToTheRowBefore)
{
    const QStringList before = stored(dir);
    auto t = listTable();
    t->open();
    t->next();
    t->insert();
    t->fieldByName(QStringLiteral("NAZWA"))->setAsString(QStringLiteral("G"));
    t->cancel();
    EXPECT_EQ(name(*t), QStringLiteral("D"));
    EXPECT_EQ(t->rowCount(), 3);
    EXPECT_EQ(stored(dir), before);
}

TEST_F(TableTest, EditOnAnEmptyTableInserts)
{
    writeList(dir, {0, 1, 2, 3, 4, 5});
    auto t = listTable();
    t->open();
    t->edit();
    EXPECT_EQ(t->state(), State::Insert);
}

TEST_F(TableTest, DeleteMarksTheRecordAndMovesOn)
{
    auto t = listTable();
    t->open();
    t->next();
    t->remove(); // D
    EXPECT_EQ(name(*t), QStringLiteral("E"));
    EXPECT_EQ(t->rowCount(), 2);
    t->remove(); // E, the last: the one before becomes current
    EXPECT_EQ(name(*t), QStringLiteral("B"));
    t->remove();
    EXPECT_TRUE(t->isEmpty());
    EXPECT_TRUE(t->bof());
    EXPECT_TRUE(t->eof());
    EXPECT_EQ(failureOf([&] { t->remove(); }), QStringLiteral("Cannot perform this operation on an empty dataset"));
    EXPECT_EQ(stored(dir), (QStringList{QStringLiteral("*A 1"), QStringLiteral("*B 2"), QStringLiteral("*C 3"),
                                        QStringLiteral("*D 4"), QStringLiteral("*E 5"), QStringLiteral("*F 6")}));
}

TEST_F(TableTest, ChangeThroughOneDataSetIsSeenByAnother)
{
    auto entry = listTable(QStringLiteral("lista.dbf"));
    auto review = listTable(QStringLiteral("LISTA.DBF"));
    entry->open();
    review->open();
    review->last();
    entry->last();
    entry->edit();
    entry->fieldByName(QStringLiteral("NAZWA"))->setAsString(QStringLiteral("Ela"));
    entry->post();
    entry->first();
    entry->remove();

    review->first();
    EXPECT_EQ(name(*review), QStringLiteral("D"));
    review->last();
    EXPECT_EQ(name(*review), QStringLiteral("Ela"));
    review->refresh();
    EXPECT_EQ(review->rowCount(), 2);
}

TEST_F(TableTest, RefreshReadsTheRowsAgainAndKeepsTheCurrentOne)
{
    auto t = listTable();
    t->open();
    t->next();
    ASSERT_EQ(t->rowCount(), 3);
    auto other = listTable();
    other->open();
    other->next();
    other->edit();
    other->fieldByName(QStringLiteral("IL"))->setAsString(QStringLiteral("44"));
    other->post();
    other->insert();
    other->fieldByName(QStringLiteral("NAZWA"))->setAsString(QStringLiteral("H"));
    other->post();

    t->refresh();
    EXPECT_EQ(name(*t), QStringLiteral("D"));
    EXPECT_EQ(t->fieldByName(QStringLiteral("IL"))->asInteger(), 44);
    EXPECT_EQ(t->rowCount(), 4);
}

TEST_F(TableTest, EditStartsFromWhatIsOnDiskNow)
{
    auto first = listTable();
    auto second = listTable();
    first->open();
    second->open();
    second->edit();
    second->fieldByName(QStringLiteral("IL"))->setAsString(QStringLiteral("12"));
    second->post();
    first->edit(); // its row was read before the other's post
    EXPECT_EQ(first->fieldByName(QStringLiteral("IL"))->asInteger(), 12);
    first->fieldByName(QStringLiteral("NAZWA"))->setAsString(QStringLiteral("Bb"));
    first->post();
    EXPECT_EQ(stored(dir).at(1), QStringLiteral("Bb 12"));
}

// ---- typed text --------------------------------------------------------

struct TypedCase {
    const char* label;
    const char* field;
    const char* text;
    const char* message; // empty: stored
    const char* shown;   // display text afterwards
};

void PrintTo(const TypedCase& c, std::ostream* os)
{
    *os << c.label;
}

class TypedText : public ::testing::TestWithParam<TypedCase> {
protected:
    testing_support::TempDir dir;
};

TEST_P(TypedText, IsStoredOrRefusedWithTheFieldsMessage)
{
    const TypedCase& c = GetParam();
    testing_support::writeTable(dir.file(QStringLiteral("T.DBF")), QStringLiteral("NAZWA C 5; IL N 4; E N 10 2; C_OZN N 2"),
                                {{QStringLiteral("abc"), 7, 1.5, 21}});
    data::Table t;
    t.setTableName(QStringLiteral("T.DBF"));
    t.addField(QStringLiteral("NAZWA"), FieldKind::Text, 5);
    t.addField(QStringLiteral("IL"), FieldKind::SmallInt);
    t.addField(QStringLiteral("E"), FieldKind::Float);
    t.addField(QStringLiteral("C_OZN"), FieldKind::SmallInt, 0, QStringLiteral("Symb"));
    t.open();
    t.edit();
    data::Field* f = t.fieldByName(QString::fromLatin1(c.field));
    if (*c.message) {
        EXPECT_EQ(failureOf([&] { f->setAsString(QString::fromUtf8(c.text)); }), QString::fromUtf8(c.message));
        EXPECT_EQ(t.state(), State::Edit); // a refused text leaves the row in edit
    } else {
        f->setAsString(QString::fromUtf8(c.text));
        t.post();
    }
    EXPECT_EQ(f->asString(), QString::fromUtf8(c.shown).replace(QLatin1Char('.'), QLocale::system().decimalPoint()));
}

INSTANTIATE_TEST_SUITE_P(Cases, TypedText, ::testing::Values(
    TypedCase{"integer", "IL", "123", "", "123"},
    TypedCase{"integer_with_sign_and_blanks", "IL", "  -45", "", "-45"},
    TypedCase{"empty_makes_blank", "IL", "", "", ""},
    TypedCase{"not_an_integer", "IL", "12a", "'12a' is not a valid integer value for field 'IL'", "7"},
    TypedCase{"decimal_for_integer", "IL", "1.5", "'1.5' is not a valid integer value for field 'IL'", "7"},
    TypedCase{"integer_beyond_32_bits", "IL", "99999999999", "'99999999999' is not a valid integer value for field 'IL'", "7"},
    TypedCase{"above_range", "IL", "40000", "40000 is not a valid value for field 'IL'. The allowed range is -32768 to 32767", "7"},
    TypedCase{"below_range", "IL", "-32769", "-32769 is not a valid value for field 'IL'. The allowed range is -32768 to 32767", "7"},
    TypedCase{"label_in_message", "C_OZN", "x", "'x' is not a valid integer value for field 'Symb'", "21"},
    TypedCase{"label_in_range_message", "C_OZN", "32768", "32768 is not a valid value for field 'Symb'. The allowed range is -32768 to 32767", "21"},
    TypedCase{"float", "E", "2.25", "", "2.25"},
    TypedCase{"float_with_exponent", "E", "1e3", "", "1000"},
    TypedCase{"float_empty_makes_blank", "E", "", "", ""},
    TypedCase{"not_a_float", "E", "2.5x", "'2.5x' is not a valid floating point value for field 'E'", "1.5"},
    TypedCase{"two_points", "E", "1.2.3", "'1.2.3' is not a valid floating point value for field 'E'", "1.5"},
    TypedCase{"text", "NAZWA", "Łąka", "", "Łąka"},
    TypedCase{"text_cut_to_width", "NAZWA", "Odcinek1", "", "Odcin"}),
    [](const auto& info) { return std::string(info.param.label); });

// ---- the data source ---------------------------------------------------

TEST_F(TableTest, DataSourceHearsEveryChangeBeforeTheCallReturns)
{
    auto t = listTable();
    data::DataSource source;
    source.setDataSet(t.get());
    QSignalSpy state(&source, &data::DataSource::stateChanged);
    std::vector<data::Field*> fields;
    QObject::connect(&source, &data::DataSource::recordChanged, [&](data::Field* f) { fields.push_back(f); });
    QStringList seen; // the current row as a listener sees it at each change
    QObject::connect(&source, &data::DataSource::dataSetChanged, [&] { seen << name(*t); });

    t->open();
    t->next();
    t->edit();
    t->fieldByName(QStringLiteral("IL"))->setAsString(QStringLiteral("3"));
    t->post();
    t->close();
    EXPECT_EQ(seen, (QStringList{QStringLiteral("B"), QStringLiteral("D"), QStringLiteral("D"), QStringLiteral("D"),
                                 QString()}));
    EXPECT_EQ(state.count(), 4); // browse, edit, browse, closed
    EXPECT_EQ(fields, std::vector<data::Field*>{t->fieldByName(QStringLiteral("IL"))});
}

TEST_F(TableTest, ControlsStoreTheirTextWhenTheRowIsPosted)
{
    auto t = listTable();
    data::DataSource source;
    source.setDataSet(t.get());
    QObject::connect(&source, &data::DataSource::updateRecord,
                     [&] { t->fieldByName(QStringLiteral("NAZWA"))->setAsString(QStringLiteral("Bis")); });
    t->open();
    t->edit();
    t->post();
    EXPECT_EQ(stored(dir).at(1), QStringLiteral("Bis 2"));
}

} // namespace
