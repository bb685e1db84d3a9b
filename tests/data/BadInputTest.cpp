// Unfit input reaching the data sets: each case gives a clear message (or,
// for a record count that disagrees with the file, a defined set of rows),
// never a crash, and leaves every file as it was.

#include "data/DataSource.h"
#include "data/Failure.h"
#include "tests/data/DataSetTestSupport.h"
#include "tests/data/DbfTestSupport.h"
#include "tests/support/Tables.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <map>

namespace {

using namespace dataset_test;
using testing_support::section;
using testing_support::TempDir;

// Four sections, Iz1 to Iz4, in a table of `columns`, and one frequency.
void writeSections(const TempDir& dir, const QString& columns = QString::fromLatin1(testing_support::odcinkiLayout))
{
    std::vector<QVariantList> rows;
    for (int i = 1; i <= 4; ++i)
        rows.push_back(section(QStringLiteral("Iz%1").arg(i), QStringLiteral("21"), 21, 5));
    testing_support::writeTable(dir.file(QStringLiteral("ODCINKI.DBF")), columns, rows);
    testing_support::writeCzestotl(dir.path(), {{QStringLiteral("3-7"), 21, 3, 21, 2170, QStringLiteral("czerwony")}});
}

QByteArray sectionBytes(const TempDir& dir)
{
    return dir.read(QStringLiteral("ODCINKI.DBF"));
}

void writeSectionBytes(const TempDir& dir, const QByteArray& bytes)
{
    dir.write(QStringLiteral("ODCINKI.DBF"), bytes);
}

int recordLength(const QByteArray& table)
{
    return quint8(table[10]) | quint8(table[11]) << 8;
}

// What opening the section table as the data-entry window does yields: its
// rows (and the last one's name), or the failure's message.
QString openSections()
{
    auto t = sectionEntryTable();
    t->open();
    t->last();
    return QStringLiteral("%1 rows, last %2").arg(t->rowCount()).arg(t->fieldByName(QStringLiteral("ODCINEK"))->asString());
}

// The review statement for one section: how many rows it gives.
QString reviewRows(const QString& name)
{
    auto q = reviewQuery();
    runReview(*q, name);
    return QStringLiteral("%1 by statement").arg(q->rowCount());
}

struct BadCase {
    const char* label;
    std::function<void(const TempDir&)> make;
    std::function<QString()> run; // returns what it saw, or throws
    const char* expected;         // the message, or what was seen
};

void PrintTo(const BadCase& c, std::ostream* os)
{
    *os << c.label;
}

std::map<QString, QByteArray> everyFile(const TempDir& dir)
{
    std::map<QString, QByteArray> files;
    for (const QString& name : QDir(dir.path()).entryList(QDir::Files))
        files[name] = dir.read(name);
    return files;
}

class BadInput : public ::testing::TestWithParam<BadCase> {
protected:
    TempDir dir;
};

TEST_P(BadInput, ClearMessageAndNothingLost)
{
    const BadCase& c = GetParam();
    c.make(dir);
    const auto before = everyFile(dir);
    QString seen;
    try {
        seen = c.run();
    } catch (const data::Failure& f) {
        seen = f.message();
    }
    EXPECT_EQ(seen, QString::fromUtf8(c.expected));
    EXPECT_EQ(everyFile(dir), before);
}

INSTANTIATE_TEST_SUITE_P(Cases, BadInput, ::testing::Values(
    BadCase{"missing_file", [](const TempDir&) {}, openSections, "Table does not exist.\nFile: odcinki.dbf"},
    BadCase{"missing_file_in_a_statement",
            [](const TempDir& d) { testing_support::writeCzestotl(d.path(), {}); },
            [] { return reviewRows(QStringLiteral("Iz1")); }, "Table does not exist.\nFile: ODCINKI.DBF"},
    BadCase{"not_a_dbase_table",
            [](const TempDir& d) { d.write(QStringLiteral("ODCINKI.DBF"), "ODCINEK;SOT;CZEST\nIz1;21;21\n"); },
            openSections, "Not a dBase table (first byte 0x4F).\nFile: ODCINKI.DBF"},
    BadCase{"not_a_dbase_table_in_a_statement",
            [](const TempDir& d) {
                writeSections(d);
                d.write(QStringLiteral("ODCINKI.DBF"), "ODCINEK;SOT;CZEST\nIz1;21;21\n");
            },
            [] { return reviewRows(QStringLiteral("Iz1")); }, "Not a dBase table (first byte 0x4F).\nFile: ODCINKI.DBF"},
    BadCase{"empty_file", [](const TempDir& d) { d.write(QStringLiteral("ODCINKI.DBF"), {}); }, openSections,
            "Not a dBase table: the file is empty.\nFile: ODCINKI.DBF"},
    BadCase{"header_shorter_than_its_field_list",
            [](const TempDir& d) {
                writeSections(d);
                QByteArray b = sectionBytes(d);
                dbf_test::putLe16(b, 8, 32 + 32 * 5 + 1); // room for five of 23 descriptors
                writeSectionBytes(d, b);
            },
            openSections, "Corrupt table header: the field list runs past the header length 193.\nFile: ODCINKI.DBF"},
    BadCase{"file_ends_inside_the_header",
            [](const TempDir& d) {
                writeSections(d);
                writeSectionBytes(d, sectionBytes(d).left(300));
            },
            openSections, "Corrupt table header: the file ends inside the header.\nFile: ODCINKI.DBF"},
    // The count is the header's, capped by the whole records the file
    // holds: a count past them is a cut file, records past the count an
    // append that never finished.
    BadCase{"count_larger_than_the_records_held",
            [](const TempDir& d) {
                writeSections(d);
                QByteArray b = sectionBytes(d);
                dbf_test::putLe32(b, 4, 10);
                b.chop(1); // no end mark
                b.append(QByteArray(recordLength(b) / 2, 'x')); // half a record
                writeSectionBytes(d, b);
            },
            [] { return openSections() + QStringLiteral("; ") + reviewRows(QStringLiteral("Iz4")); },
            "4 rows, last Iz4; 1 by statement"},
    BadCase{"count_smaller_than_the_records_held",
            [](const TempDir& d) {
                writeSections(d);
                QByteArray b = sectionBytes(d);
                dbf_test::putLe32(b, 4, 2);
                writeSectionBytes(d, b);
            },
            [] { return openSections() + QStringLiteral("; ") + reviewRows(QStringLiteral("Iz3")); },
            "2 rows, last Iz2; 0 by statement"},
    BadCase{"field_missing",
            [](const TempDir& d) {
                writeSections(d, QString::fromLatin1(testing_support::odcinkiLayout)
                                     .replace(QStringLiteral("NAD_EOT"), QStringLiteral("NADEOT")));
            },
            openSections, "Field 'NAD_EOT' not found"},
    BadCase{"field_of_another_kind",
            [](const TempDir& d) {
                writeSections(d, QString::fromLatin1(testing_support::odcinkiLayout)
                                     .replace(QStringLiteral("IL_ODB N 2"), QStringLiteral("IL_ODB C 2")));
            },
            openSections, "Field 'IL_ODB' is not of the expected type"},
    BadCase{"field_of_another_width",
            [](const TempDir& d) {
                writeSections(d, QString::fromLatin1(testing_support::odcinkiLayout)
                                     .replace(QStringLiteral("ODCINEK C 10"), QStringLiteral("ODCINEK C 12")));
            },
            [] { return reviewRows(QStringLiteral("Iz1")); }, "Field 'ODCINEK' is not of the expected type"},
    BadCase{"field_of_another_kind_with_a_label",
            [](const TempDir& d) {
                testing_support::writeTable(d.file(QStringLiteral("CZESTOTL.DBF")),
                                            QStringLiteral("EOT C 3; SOT N 2; NR N 2; C_OZN C 2; CZESTOTL N 6; KOLOR C 20"),
                                            {{QStringLiteral("3-7"), 21, 3, QStringLiteral("21"), 2170}});
            },
            [] {
                programmerFrequencies()->open();
                return QString();
            },
            "Field 'Symb' is not of the expected type"},
    BadCase{"index_file_missing",
            [](const TempDir& d) {
                writeSections(d);
                QFile::remove(d.file(QStringLiteral("CZESTOTL.MDX")));
            },
            [] {
                data::DataSource master;
                reviewFrequencies(&master)->open();
                return QString();
            },
            "Index does not exist.\nFile: CZESTOTL.mdx"},
    BadCase{"index_without_the_tag",
            [](const TempDir& d) {
                testing_support::writeTable(d.file(QStringLiteral("CZESTOTL.DBF")),
                                            QString::fromLatin1(testing_support::czestotlLayout),
                                            {{QStringLiteral("3-7"), 21, 3, 21, 2170}}, {QStringLiteral("NR")});
            },
            [] {
                data::DataSource master;
                reviewFrequencies(&master)->open();
                return QString();
            },
            "Table 'CZESTOTL.DBF' has no index for fields 'C_OZN'"},
    BadCase{"text_that_is_not_an_integer",
            [](const TempDir& d) {
                testing_support::writeOdcinki(d.path(), {section(QStringLiteral("Iz1"), QStringLiteral("21a"), 21, 5)});
                testing_support::writeCzestotl(d.path(), {{QStringLiteral("3-7"), 21, 3, 21, 2170}});
            },
            [] {
                auto q = reviewQuery();
                runReview(*q, QStringLiteral("Iz1"));
                return QString::number(q->fieldByName(QStringLiteral("SOT"))->asInteger());
            },
            "'21a' is not a valid integer value"},
    BadCase{"value_out_of_range_typed_into_a_small_integer",
            [](const TempDir& d) {
                testing_support::writeTable(d.file(QStringLiteral("ODCINKI.DBF")),
                                            QString::fromLatin1(testing_support::odcinkiLayout)
                                                .replace(QStringLiteral("IL_ODB N 2"), QStringLiteral("IL_ODB N 4")),
                                            {section(QStringLiteral("Iz1"), QStringLiteral("21"), 21, 5)});
            },
            [] {
                auto t = sectionEntryTable();
                t->setReadOnly(false);
                t->open();
                t->edit();
                t->fieldByName(QStringLiteral("IL_ODB"))->setAsString(QStringLiteral("40000"));
                t->post();
                return QString();
            },
            "40000 is not a valid value for field 'IL_ODB'. The allowed range is -32768 to 32767"}),
    [](const auto& info) { return std::string(info.param.label); });

} // namespace
