#include "data/DataSource.h"
#include "data/Query.h"
#include "data/Table.h"
#include "tests/support/Tables.h"
#include "tests/support/TempDir.h"
#include "ui/DbNavigator.h"

#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>

namespace {

using ui::NavigatorButton;

// The ten buttons' enabled states, first to refresh, as '1' and '0'.
QString states(const ui::DbNavigator& navigator)
{
    QString s;
    for (int i = 0; i < ui::navigatorButtonCount; ++i)
        s += navigator.button(NavigatorButton(i))->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    return s;
}

std::unique_ptr<data::Table> moduleTable(bool readOnly)
{
    auto t = std::make_unique<data::Table>();
    t->setTableName(QStringLiteral("MER.DBF"));
    t->setReadOnly(readOnly);
    t->addField(QStringLiteral("SOT"), data::FieldKind::SmallInt);
    return t;
}

struct StateCase {
    const char* name;
    int rows;                                     // rows of MER.DBF
    bool query;                                   // a query over it, else a table
    bool readOnly;
    std::function<void(data::DataSet&)> bringTo; // what was done before looking
    const char* expected;
};

const StateCase stateCases[] = {
    {"ClosedTable", 2, false, false, [](data::DataSet& s) { s.close(); }, "0000000000"},
    {"ReadOnlyAtTheBeginning", 2, false, true, [](data::DataSet&) {}, "0011000001"},
    {"ReadOnlyAtTheEnd", 2, false, true, [](data::DataSet& s) { s.last(); }, "1100000001"},
    {"ReadOnlyAfterNextFoundNoRow", 1, false, true, [](data::DataSet& s) { s.next(); }, "1100000001"},
    {"WritableInTheMiddle", 3, false, false, [](data::DataSet& s) { s.next(); }, "1111111001"},
    {"WritableEditing", 2, false, false, [](data::DataSet& s) { s.edit(); }, "0011110111"},
    {"WritableEmpty", 0, false, false, [](data::DataSet&) {}, "0000101001"},
    {"WritableEmptyInserting", 0, false, false, [](data::DataSet& s) { s.insert(); }, "1111110111"},
    {"QueryWithRows", 2, true, false, [](data::DataSet&) {}, "0011000000"},
    {"QueryWithoutRows", 0, true, false, [](data::DataSet&) {}, "0000000000"},
};

class NavigatorStates : public ::testing::TestWithParam<StateCase> {};

TEST_P(NavigatorStates, ButtonsEnabledOnlyWhenTheirOperationCanRun)
{
    const StateCase& c = GetParam();
    testing_support::TempDir dir;
    std::vector<QVariantList> rows;
    for (int i = 0; i < c.rows; ++i)
        rows.push_back({21 + i, 11700, QStringLiteral("N"), QStringLiteral("3-7"), QString()});
    testing_support::writeMer(dir.path(), rows);

    std::unique_ptr<data::DataSet> set;
    if (c.query) {
        auto q = std::make_unique<data::Query>();
        q->setSql({QStringLiteral("select * from MER")});
        q->addField(QStringLiteral("SOT"), data::FieldKind::SmallInt);
        set = std::move(q);
    } else {
        set = moduleTable(c.readOnly);
    }
    data::DataSource source;
    source.setDataSet(set.get());
    ui::DbNavigator navigator("DBNavigator", nullptr, QRect(0, 0, 240, 25));
    navigator.setDataSource(&source);
    EXPECT_EQ(states(navigator), QStringLiteral("0000000000")) << "closed before it opens";
    set->open();
    c.bringTo(*set);
    EXPECT_EQ(states(navigator), QString::fromLatin1(c.expected));
}

INSTANTIATE_TEST_SUITE_P(DataSets, NavigatorStates, ::testing::ValuesIn(stateCases),
                         [](const ::testing::TestParamInfo<StateCase>& info) { return std::string(info.param.name); });

TEST(Navigator, TenFlatButtonsShareItsWidth)
{
    ui::DbNavigator navigator("DBNavigator", nullptr, QRect(8, 8, 245, 25));
    int x = 0;
    for (int i = 0; i < ui::navigatorButtonCount; ++i) {
        const QToolButton* b = navigator.button(NavigatorButton(i));
        EXPECT_TRUE(b->autoRaise());
        EXPECT_EQ(b->focusPolicy(), Qt::NoFocus);
        EXPECT_EQ(b->geometry().left(), x);
        EXPECT_EQ(b->height(), 25);
        EXPECT_FALSE(b->icon().isNull());
        x += b->width();
    }
    EXPECT_EQ(x, 245);
}

} // namespace
