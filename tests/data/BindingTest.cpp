// The binding rule: at open, every declared field must be in the table or
// result under its name, of its kind and, for text, of exactly its width.

#include "data/DbfFile.h"
#include "tests/data/DataSetTestSupport.h"
#include "tests/support/Tables.h"
#include "tests/support/TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

using data::FieldKind;
using dataset_test::failureOf;

struct BindCase {
    const char* label;
    const char* file;   // the table's columns
    const char* name;   // the declared field
    FieldKind kind;
    int size;
    const char* displayLabel;
    const char* message; // empty: it binds
};

void PrintTo(const BindCase& c, std::ostream* os)
{
    *os << c.label;
}

class Binding : public ::testing::TestWithParam<BindCase> {
protected:
    testing_support::TempDir dir;
};

TEST_P(Binding, AtOpen)
{
    const BindCase& c = GetParam();
    testing_support::writeTable(dir.file(QStringLiteral("T.DBF")), QString::fromLatin1(c.file), {});
    {
        const auto file = data::DbfFile::open(dir.file(QStringLiteral("T.DBF")));
        QByteArray record = file->blankRecord();
        file->setValue(record, file->fieldIndex(QStringLiteral("A")), QStringLiteral("x"));
        file->appendRecord(record);
    }
    const QByteArray before = dir.read(QStringLiteral("T.DBF"));
    data::Table t;
    t.setTableName(QStringLiteral("T.DBF"));
    t.addField(QStringLiteral("A"), FieldKind::Text, 1);
    t.addField(QString::fromLatin1(c.name), c.kind, c.size, QString::fromUtf8(c.displayLabel));
    if (*c.message) {
        EXPECT_EQ(failureOf([&] { t.open(); }), QString::fromUtf8(c.message));
        EXPECT_FALSE(t.isActive());
    } else {
        t.open();
        EXPECT_TRUE(t.isActive());
        EXPECT_EQ(t.fieldByName(QStringLiteral("A"))->asString(), QStringLiteral("x"));
    }
    EXPECT_EQ(dir.read(QStringLiteral("T.DBF")), before);
}

INSTANTIATE_TEST_SUITE_P(Cases, Binding, ::testing::Values(
    BindCase{"text_of_its_width", "A C 1; B C 10", "B", FieldKind::Text, 10, "", ""},
    BindCase{"default_text_width_is_20", "A C 1; B C 20", "B", FieldKind::Text, 0, "", ""},
    BindCase{"name_in_other_letter_case", "A C 1; c_ozn N 2", "C_OZN", FieldKind::SmallInt, 0, "Symb", ""},
    BindCase{"columns_in_other_order", "C_OZN N 2; KOLOR C 20; A C 1", "C_OZN", FieldKind::SmallInt, 0, "", ""},
    BindCase{"small_integer_of_type_F", "A C 1; B F 4", "B", FieldKind::SmallInt, 0, "", ""},
    BindCase{"float_of_type_F", "A C 1; B F 10 2", "B", FieldKind::Float, 0, "", ""},
    BindCase{"float_wide_without_decimals", "A C 1; B N 6", "B", FieldKind::Float, 0, "", ""},
    BindCase{"missing", "A C 1; C_OZ N 2", "C_OZN", FieldKind::SmallInt, 0, "", "Field 'C_OZN' not found"},
    BindCase{"missing_names_the_field_not_its_label", "A C 1", "C_OZN", FieldKind::SmallInt, 0, "Symb",
             "Field 'C_OZN' not found"},
    BindCase{"text_for_small_integer", "A C 1; C_OZN C 2", "C_OZN", FieldKind::SmallInt, 0, "",
             "Field 'C_OZN' is not of the expected type"},
    BindCase{"text_for_small_integer_with_label", "A C 1; C_OZN C 2", "C_OZN", FieldKind::SmallInt, 0, "Symb",
             "Field 'Symb' is not of the expected type"},
    BindCase{"float_for_small_integer", "A C 1; NR N 6", "NR", FieldKind::SmallInt, 0, "",
             "Field 'NR' is not of the expected type"},
    BindCase{"decimals_for_small_integer", "A C 1; NR N 4 1", "NR", FieldKind::SmallInt, 0, "",
             "Field 'NR' is not of the expected type"},
    BindCase{"small_integer_for_float", "A C 1; CZESTOTL N 4", "CZESTOTL", FieldKind::Float, 0, "Częstotl",
             "Field 'Częstotl' is not of the expected type"},
    BindCase{"text_for_float", "A C 1; TYP C 10", "TYP", FieldKind::Float, 0, "",
             "Field 'TYP' is not of the expected type"},
    BindCase{"wider_text", "A C 1; ODCINEK C 12", "ODCINEK", FieldKind::Text, 10, "",
             "Field 'ODCINEK' is not of the expected type"},
    BindCase{"narrower_text", "A C 1; ODCINEK C 8", "ODCINEK", FieldKind::Text, 10, "",
             "Field 'ODCINEK' is not of the expected type"},
    BindCase{"number_for_text", "A C 1; SOT N 10", "SOT", FieldKind::Text, 10, "",
             "Field 'SOT' is not of the expected type"},
    BindCase{"date_for_text", "A C 1; SOT D 8", "SOT", FieldKind::Text, 8, "",
             "Field 'SOT' is not of the expected type"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(BindingOrder, FirstDeclaredUnfitFieldIsNamed)
{
    testing_support::TempDir dir;
    testing_support::writeTable(dir.file(QStringLiteral("CZESTOTL.DBF")),
                                QStringLiteral("EOT C 3; SOT N 2; NR C 2; C_OZN C 2; CZESTOTL N 6; KOLOR C 20"), {});
    auto t = dataset_test::programmerFrequencies();
    EXPECT_EQ(failureOf([&] { t->open(); }), QStringLiteral("Field 'NR' is not of the expected type"));
}

TEST(BindingOrder, FailedOpenLeavesTheDataSetClosedAndReadyToOpenAgain)
{
    testing_support::TempDir dir;
    testing_support::writeTable(dir.file(QStringLiteral("CZESTOTL.DBF")),
                                QStringLiteral("EOT C 3; SOT N 2; NR N 2; C_OZN C 2; CZESTOTL N 6; KOLOR C 20"), {});
    auto t = dataset_test::programmerFrequencies();
    EXPECT_EQ(failureOf([&] { t->open(); }), QStringLiteral("Field 'Symb' is not of the expected type"));
    EXPECT_FALSE(t->isActive());
    EXPECT_EQ(t->fieldByName(QStringLiteral("C_OZN"))->asInteger(), 0);

    QFile::remove(dir.file(QStringLiteral("CZESTOTL.DBF")));
    testing_support::writeCzestotl(dir.path(), {{QStringLiteral("3-7"), 21, 3, 21, 2170, QStringLiteral("czerwony")}});
    t->open();
    EXPECT_EQ(t->fieldByName(QStringLiteral("C_OZN"))->asInteger(), 21);
}

// A query's result binds by the same rule; "select *" brings whatever
// columns the file has.
TEST(QueryBinding, ResultColumnsAreCheckedAtOpen)
{
    testing_support::TempDir dir;
    testing_support::writeTable(dir.file(QStringLiteral("MER.DBF")), QStringLiteral("SOT N 2; R C 1; EOT C 3"),
                                {{21, QStringLiteral("N"), QStringLiteral("3-7")}});
    testing_support::writeCzestotl(dir.path(), {{QStringLiteral("3-7"), 21, 3, 21, 2170, QStringLiteral("czerwony")}});
    testing_support::writeTable(dir.file(QStringLiteral("ODCINKI.DBF")),
                                QString::fromLatin1(testing_support::odcinkiLayout).replace(QStringLiteral("SOT C 10"),
                                                                                          QStringLiteral("SOT N 2")),
                                {testing_support::section(QStringLiteral("ITA"), QString(), 21, 5)});
    auto mer = dataset_test::finderMerQuery();
    EXPECT_EQ(failureOf([&] { dataset_test::runMer(*mer, 21, QStringLiteral("N"), QStringLiteral("3-7")); }),
              QStringLiteral("Field 'TYP' not found"));
    EXPECT_FALSE(mer->isActive());
    auto review = dataset_test::reviewQuery();
    EXPECT_EQ(failureOf([&] { dataset_test::runReview(*review, QStringLiteral("ITA")); }),
              QStringLiteral("Field 'SOT' is not of the expected type"));
    // A result without rows binds all the same.
    EXPECT_EQ(failureOf([&] { dataset_test::runReview(*review, QStringLiteral("Brak")); }),
              QStringLiteral("Field 'SOT' is not of the expected type"));
}

} // namespace
