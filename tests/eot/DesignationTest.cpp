#include "eot/FinderState.h"
#include "eot/FrequencyChoice.h"

#include <gtest/gtest.h>

namespace {

using eot::FinderState;

int indexOfItem(const char* item)
{
    for (const auto& c : eot::frequencyTable()) {
        if (QLatin1String(c.itemText) == QLatin1String(item))
            return c.index;
    }
    return -1;
}

// The state a finder holds after the user clicked these items (a group at
// "0" that never changed keeps its start class 0).
FinderState choose(const char* family, const char* tx, const char* r1, const char* r2)
{
    FinderState s;
    const auto set = [](QString& code, int& index, int& sot, const char* item) {
        index = indexOfItem(item);
        code = eot::codeOfIndex(index);
        sot = index == 0 ? 0 : eot::sotClassOfIndex(index);
    };
    set(s.codeRn, s.indexRn, s.sotRn, tx);
    set(s.codeRo1, s.indexRo1, s.sotRo1, r1);
    set(s.codeRo2, s.indexRo2, s.sotRo2, r2);
    s.eotFamily = QString::fromLatin1(family);
    return s;
}

struct DesignationCase {
    const char* family;
    const char* tx;
    const char* r1;
    const char* r2;
    const char* expected;
};

class Designation : public ::testing::TestWithParam<DesignationCase> {};

TEST_P(Designation, ComposesByTheRulesInOrder)
{
    const DesignationCase& c = GetParam();
    EXPECT_EQ(eot::composeDesignation(choose(c.family, c.tx, c.r1, c.r2)).toStdString(), c.expected)
        << c.family << " / " << c.tx << " / " << c.r1 << " / " << c.r2;
}

// The worked examples, then the whole outcome table row by row.
INSTANTIATE_TEST_SUITE_P(WorkedExamplesAndOutcomes, Designation, ::testing::Values(
    DesignationCase{"3-7", "0", "1860", "8000", "EOT-318800"},
    DesignationCase{"3-7", "0", "8000", "1860", "EOT-318800"},
    DesignationCase{"3-7", "0", "12150", "10000", "EOT-310120"},
    DesignationCase{"3-7", "0", "2470", "0", "EOT-324000"},
    DesignationCase{"3-7", "0", "2170", "2170", ""},
    DesignationCase{"3-7", "0", "0", "2470", ""},
    DesignationCase{"3-7", "10000", "2170", "0", "EOT-510210"},
    DesignationCase{"3-7", "10000", "2170", "1580", "EOT-510210"},
    DesignationCase{"3-7", "10000", "10000", "0", ""},
    DesignationCase{"3-7", "10000", "0", "0", "EOT-6100"},
    DesignationCase{"3-7", "10000", "0", "2800", "EOT-6100"},
    DesignationCase{"3-7", "1860", "0", "0", "EOT-7180"},
    DesignationCase{"3-7", "1860", "2170", "0", ""},
    DesignationCase{"9", "2170", "0", "0", "EOT-9210"},
    DesignationCase{"9", "1580", "0", "0", "EOT-9150"},
    DesignationCase{"9", "8000", "0", "0", ""},
    DesignationCase{"1", "2800", "0", "0", "EOT-1280"},
    DesignationCase{"1", "1580", "0", "0", ""},
    // Outcome table: family "3-7" with no transmitter.
    DesignationCase{"3-7", "0", "0", "0", ""},
    DesignationCase{"3-7", "0", "0", "14600", ""},
    DesignationCase{"3-7", "0", "14600", "0", "EOT-314000"},
    DesignationCase{"3-7", "0", "1580", "14600", "EOT-315140"},
    DesignationCase{"3-7", "0", "14600", "1580", "EOT-315140"},
    DesignationCase{"3-7", "0", "8000", "10000", "EOT-380100"},
    DesignationCase{"3-7", "0", "12150", "12150", ""},
    // Transmitters 1 to 5 and 6 to 9 under "3-7".
    DesignationCase{"3-7", "1580", "0", "0", "EOT-7150"},
    DesignationCase{"3-7", "2800", "0", "0", "EOT-7280"},
    DesignationCase{"3-7", "2800", "8000", "0", ""},
    DesignationCase{"3-7", "8000", "0", "0", "EOT-6800"},
    DesignationCase{"3-7", "14600", "0", "0", "EOT-6140"},
    DesignationCase{"3-7", "8000", "14600", "0", "EOT-580140"},
    DesignationCase{"3-7", "14600", "1580", "0", "EOT-514150"},
    DesignationCase{"3-7", "8000", "8000", "0", ""},
    // Family "9" and "1".
    DesignationCase{"9", "2800", "0", "0", "EOT-9280"},
    DesignationCase{"9", "14600", "0", "0", ""},
    DesignationCase{"1", "1860", "0", "0", "EOT-1180"},
    DesignationCase{"1", "8000", "0", "0", ""},
    DesignationCase{"1", "12150", "0", "0", ""},
    DesignationCase{"9", "0", "0", "0", ""},
    DesignationCase{"1", "0", "0", "0", ""}));

TEST(Designation, LengthsFollowTheType)
{
    EXPECT_EQ(eot::composeDesignation(choose("3-7", "0", "8000", "14600")).size(), 10);
    EXPECT_EQ(eot::composeDesignation(choose("3-7", "10000", "2170", "0")).size(), 10);
    EXPECT_EQ(eot::composeDesignation(choose("9", "2170", "0", "0")).size(), 8);
}

TEST(FrequencyTable, CodesClassesAndColours)
{
    EXPECT_EQ(eot::codeOfIndex(6), QStringLiteral("80"));
    EXPECT_EQ(eot::codeOfIndex(7), QStringLiteral("10"));
    EXPECT_EQ(eot::sotClassOfIndex(5), 21);
    EXPECT_EQ(eot::sotClassOfIndex(7), 22); // code 10 is still class 22
    EXPECT_EQ(eot::color(0), 14006444u);
    EXPECT_EQ(eot::color(6), 26058u);
    EXPECT_EQ(eot::colorOfCode(80), std::optional<std::uint32_t>(26058u));
    EXPECT_EQ(eot::colorOfCode(14), std::optional<std::uint32_t>(16744448u));
    EXPECT_EQ(eot::colorOfCode(0), std::nullopt);
    EXPECT_EQ(eot::colorOfCode(99), std::nullopt);
    EXPECT_EQ(eot::indexOfCode(QStringLiteral("12")), 8);
    EXPECT_EQ(eot::indexOfCode(QStringLiteral("13")), -1);
}

} // namespace
