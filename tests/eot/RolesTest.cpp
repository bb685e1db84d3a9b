#include "eot/FinderState.h"
#include "eot/FrequencyChoice.h"

#include <gtest/gtest.h>

namespace {

using eot::FinderState;

FinderState withIndices(int tx, int r1, int r2)
{
    FinderState s;
    const auto set = [](QString& code, int& index, int& sot, int i) {
        index = i;
        code = eot::codeOfIndex(i);
        sot = eot::sotClassOfIndex(i);
    };
    set(s.codeRn, s.indexRn, s.sotRn, tx);
    set(s.codeRo1, s.indexRo1, s.sotRo1, r1);
    set(s.codeRo2, s.indexRo2, s.sotRo2, r2);
    return s;
}

struct RoleCase {
    int tx, r1, r2;
    const char* role1;
    int sot1;
    const char* code1;
    const char* role2;
    int sot2;
    const char* code2;
    int twoDevices;
};

class Roles : public ::testing::TestWithParam<RoleCase> {};

TEST_P(Roles, AssignsDevicesByTheLastRuleThatApplies)
{
    const RoleCase& c = GetParam();
    FinderState s = withIndices(c.tx, c.r1, c.r2);
    s.sot2 = -1; // slots a rule leaves alone keep what they held
    s.code2 = QStringLiteral("xx");
    eot::assignRoles(s);
    EXPECT_EQ(s.role1.toStdString(), c.role1);
    EXPECT_EQ(s.sot1, c.sot1);
    EXPECT_EQ(s.code1.toStdString(), c.code1);
    EXPECT_EQ(s.role2.toStdString(), c.role2);
    EXPECT_EQ(s.sot2, c.sot2);
    EXPECT_EQ(s.code2.toStdString(), c.code2);
    EXPECT_EQ(s.twoDevices, c.twoDevices);
}

INSTANTIATE_TEST_SUITE_P(NetEffect, Roles, ::testing::Values(
    // Transmitter alone.
    RoleCase{7, 0, 0, "N", 22, "10", "", -1, "xx", 0},
    RoleCase{2, 0, 5, "N", 21, "18", "", -1, "xx", 0},
    // Transmitter and receiver 1 (type 5), class 22 with class 21.
    RoleCase{7, 3, 0, "N", 22, "10", "O", 21, "21", 1},
    // One receiver: rules 3, 4 and 5 apply, 5 last; rule 4 has already
    // written receiver 2's class and code, rule 5 only drops the role.
    RoleCase{0, 4, 0, "O", 21, "24", "", 21, "00", 0},
    // Two receivers, in the order of the groups, not of the designation.
    RoleCase{0, 6, 2, "O", 22, "80", "O", 21, "18", 1},
    // Only receiver 2: no rule applies.
    RoleCase{0, 0, 4, "", 0, "", "", -1, "xx", 0}));

} // namespace
