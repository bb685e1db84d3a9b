// Reading a field of the current row as an integer and as text, for each
// kind, from values stored in a table file.

#include "data/Conversions.h"
#include "tests/data/DataSetTestSupport.h"
#include "tests/support/Tables.h"
#include "tests/support/TempDir.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <variant>

namespace {

using data::FieldKind;
using dataset_test::failureOf;

struct ReadCase {
    const char* label;
    const char* column;  // one column V, as "type width [decimals]"
    FieldKind kind;
    QVariant stored;     // null: blank
    std::variant<int, const char*> integer; // the value, or the failure's message
    const char* text;    // for a float '.' stands for the locale's decimal separator
};

void PrintTo(const ReadCase& c, std::ostream* os)
{
    *os << c.label;
}

QString localised(const char* text)
{
    return QString::fromUtf8(text).replace(QLatin1Char('.'), QLocale::system().decimalPoint());
}

class FieldRead : public ::testing::TestWithParam<ReadCase> {
protected:
    testing_support::TempDir dir;
};

TEST_P(FieldRead, AsIntegerAndAsText)
{
    const ReadCase& c = GetParam();
    testing_support::writeTable(dir.file(QStringLiteral("V.DBF")), QStringLiteral("V ") + QString::fromLatin1(c.column),
                                {{c.stored}});
    data::Table t;
    t.setTableName(QStringLiteral("v.dbf"));
    data::Field* v = t.addField(QStringLiteral("V"), c.kind, c.kind == FieldKind::Text ? 12 : 0);
    t.open();
    if (std::holds_alternative<int>(c.integer))
        EXPECT_EQ(v->asInteger(), std::get<int>(c.integer));
    else
        EXPECT_EQ(failureOf([&] { v->asInteger(); }), QString::fromUtf8(std::get<const char*>(c.integer)));
    EXPECT_EQ(v->asString(), c.kind == FieldKind::Float ? localised(c.text) : QString::fromUtf8(c.text));
}

// Text converts strictly: leading blanks, a sign, then digits to the end.
INSTANTIATE_TEST_SUITE_P(Text, FieldRead, ::testing::Values(
    ReadCase{"digits", "C 12", FieldKind::Text, QStringLiteral("21"), 21, "21"},
    ReadCase{"leading_blanks", "C 12", FieldKind::Text, QStringLiteral("   21"), 21, "   21"},
    ReadCase{"plus", "C 12", FieldKind::Text, QStringLiteral("+22"), 22, "+22"},
    ReadCase{"minus", "C 12", FieldKind::Text, QStringLiteral(" -7"), -7, " -7"},
    ReadCase{"zeros", "C 12", FieldKind::Text, QStringLiteral("0021"), 21, "0021"},
    ReadCase{"largest", "C 12", FieldKind::Text, QStringLiteral("2147483647"), 2147483647, "2147483647"},
    ReadCase{"smallest", "C 12", FieldKind::Text, QStringLiteral("-2147483648"), -2147483647 - 1, "-2147483648"},
    ReadCase{"letter_after", "C 12", FieldKind::Text, QStringLiteral("21a"), "'21a' is not a valid integer value", "21a"},
    ReadCase{"blank_inside", "C 12", FieldKind::Text, QStringLiteral("2 1"), "'2 1' is not a valid integer value", "2 1"},
    ReadCase{"word_after_blank", "C 12", FieldKind::Text, QStringLiteral("21 x"), "'21 x' is not a valid integer value", "21 x"},
    ReadCase{"empty", "C 12", FieldKind::Text, QVariant(), "'' is not a valid integer value", ""},
    ReadCase{"sign_only", "C 12", FieldKind::Text, QStringLiteral("-"), "'-' is not a valid integer value", "-"},
    ReadCase{"decimal", "C 12", FieldKind::Text, QStringLiteral("21.0"), "'21.0' is not a valid integer value", "21.0"},
    ReadCase{"hex", "C 12", FieldKind::Text, QStringLiteral("$15"), "'$15' is not a valid integer value", "$15"},
    ReadCase{"too_large", "C 12", FieldKind::Text, QStringLiteral("2147483648"), "'2147483648' is not a valid integer value", "2147483648"},
    ReadCase{"polish", "C 12", FieldKind::Text, QStringLiteral("Łódź"), "'Łódź' is not a valid integer value", "Łódź"}),
    [](const auto& info) { return std::string(info.param.label); });

INSTANTIATE_TEST_SUITE_P(SmallInt, FieldRead, ::testing::Values(
    ReadCase{"value", "N 2", FieldKind::SmallInt, 21, 21, "21"},
    ReadCase{"negative", "N 4", FieldKind::SmallInt, -999, -999, "-999"},
    ReadCase{"zero", "N 2", FieldKind::SmallInt, 0, 0, "0"},
    ReadCase{"blank", "N 2", FieldKind::SmallInt, QVariant(), 0, ""}),
    [](const auto& info) { return std::string(info.param.label); });

// Floats round a half to the even neighbour; text is the general format
// with up to 15 significant digits.
INSTANTIATE_TEST_SUITE_P(Float, FieldRead, ::testing::Values(
    ReadCase{"whole", "N 6", FieldKind::Float, 11702, 11702, "11702"},
    ReadCase{"half_down_to_even", "N 8 1", FieldKind::Float, 2.5, 2, "2.5"},
    ReadCase{"half_up_to_even", "N 8 1", FieldKind::Float, 3.5, 4, "3.5"},
    ReadCase{"negative_half", "N 8 1", FieldKind::Float, -2.5, -2, "-2.5"},
    ReadCase{"negative_half_odd", "N 8 1", FieldKind::Float, -3.5, -4, "-3.5"},
    ReadCase{"above_half", "N 8 2", FieldKind::Float, 2.51, 3, "2.51"},
    ReadCase{"below_half", "N 8 2", FieldKind::Float, 11702.49, 11702, "11702.49"},
    ReadCase{"module_type_half", "N 10 1", FieldKind::Float, 11701.5, 11702, "11701.5"},
    ReadCase{"trailing_zeros", "N 12 3", FieldKind::Float, 510210.1, 510210, "510210.1"},
    ReadCase{"fifteen_digits", "N 20 17", FieldKind::Float, 0.1 + 0.2, 0, "0.3"},
    ReadCase{"rounded_to_fifteen", "N 20 8", FieldKind::Float, 1234567890.12345678, 1234567890, "1234567890.12346"},
    ReadCase{"wide_without_decimals", "N 5", FieldKind::Float, 10000, 10000, "10000"},
    ReadCase{"blank", "N 8 1", FieldKind::Float, QVariant(), 0, ""}),
    [](const auto& info) { return std::string(info.param.label); });

// The trailing blank that no text read from a table can hold (its column's
// padding goes) is still refused by the conversion itself.
TEST(StrictToInt, TrailingBlankAndOtherWhiteSpaceAreRefused)
{
    EXPECT_EQ(data::strictToInt(QStringLiteral("21")), 21);
    EXPECT_EQ(data::strictToInt(QStringLiteral(" +21")), 21);
    for (const char* text : {"21 ", " 21 ", "\t21", "21\n", "- 21", "+-21", ""})
        EXPECT_EQ(data::strictToInt(QString::fromLatin1(text)), std::nullopt) << '"' << text << '"';
}

TEST(FieldReadWithoutRow, ClosedDataSetReadsZeroAndEmpty)
{
    testing_support::TempDir dir;
    testing_support::writeTable(dir.file(QStringLiteral("V.DBF")), QStringLiteral("T C 10; S N 2; F N 8 1"),
                                {{QStringLiteral("21"), 21, 2.5}});
    data::Table t;
    t.setTableName(QStringLiteral("V.DBF"));
    data::Field* text = t.addField(QStringLiteral("T"), FieldKind::Text, 10);
    data::Field* small = t.addField(QStringLiteral("S"), FieldKind::SmallInt);
    data::Field* real = t.addField(QStringLiteral("F"), FieldKind::Float);
    t.open();
    ASSERT_EQ(text->asInteger(), 21);
    t.close();
    EXPECT_EQ(small->asInteger(), 0);
    EXPECT_EQ(real->asInteger(), 0);
    EXPECT_EQ(small->asString(), QString());
    EXPECT_EQ(text->asString(), QString());
    EXPECT_TRUE(text->isNull());
    EXPECT_EQ(failureOf([&] { text->asInteger(); }), QStringLiteral("'' is not a valid integer value"));
}

} // namespace
