#include "eot/FinderState.h"
#include "eot/FrequencyChoice.h"
#include "sections/ModuleRules.h"
#include "tests/station/StationCopy.h"

#include <QSet>

#include <gtest/gtest.h>

#include <map>

namespace {

using testing_support::StationCopy;

struct Section {
    QString name;
    int sot = 0;
    int czest = 0;
    int nadEot = 0;
    QStringList neighbours;
    QList<double> eots;
};

std::map<QString, Section> sections()
{
    std::map<QString, Section> out;
    for (const QVariantMap& row : StationCopy::rows(QStringLiteral("ODCINKI.DBF"))) {
        Section s;
        s.name = row.value(QStringLiteral("ODCINEK")).toString();
        s.sot = row.value(QStringLiteral("SOT")).toString().toInt();
        s.czest = row.value(QStringLiteral("CZEST")).toInt();
        s.nadEot = row.value(QStringLiteral("NAD_EOT")).toInt();
        for (int i = 1; i <= 4; ++i) {
            const QString n = row.value(QStringLiteral("OD_GR%1").arg(i)).toString();
            if (n.isEmpty())
                continue;
            s.neighbours << n;
            s.eots << row.value(QStringLiteral("E%1").arg(i)).toDouble();
        }
        out[s.name] = s;
    }
    return out;
}

// The variant the review window's detail link finds: the first frequency row
// of the code in record order (the index keeps equal keys in record order).
int reviewVariant(int code)
{
    for (const QVariantMap& row : StationCopy::rows(QStringLiteral("CZESTOTL.DBF"))) {
        if (row.value(QStringLiteral("C_OZN")).toInt() == code)
            return row.value(QStringLiteral("NR")).toInt();
    }
    return 0;
}

QString code(int c)
{
    return QStringLiteral("%1").arg(c, 2, 10, QLatin1Char('0'));
}

TEST(StationData, TheSectionTableHoldsEverySectionAMarkerNames)
{
    const QStringList markers = {"ITA", "ITB", "Iz1", "Iz2", "Iz3", "IT1", "IT2", "IT4", "Iz5", "Iz6", "IT6", "Iz7",
                                 "Iz10", "Iz11", "Iz101", "Iz102", "ITS", "ITR", "Iz16", "Iz14", "IT1a", "Iz12", "Iz13"};
    const auto all = sections();
    for (const QString& m : markers)
        EXPECT_TRUE(all.count(m)) << m.toStdString();
    EXPECT_EQ(all.size(), size_t(markers.size()));
}

TEST(StationData, NeighboursExistBorderBackAndRunOnOtherFrequencies)
{
    const auto all = sections();
    for (const auto& [name, s] : all) {
        EXPECT_TRUE(s.sot == 21 || s.sot == 22) << name.toStdString();
        ASSERT_TRUE(eot::colorOfCode(s.czest).has_value()) << name.toStdString() << ": code " << s.czest;
        EXPECT_EQ(eot::sotClassOfIndex(eot::indexOfCode(code(s.czest))), s.sot) << name.toStdString();
        EXPECT_FALSE(s.neighbours.isEmpty()) << name.toStdString();
        for (const QString& n : s.neighbours) {
            ASSERT_TRUE(all.count(n)) << name.toStdString() << " borders on a missing " << n.toStdString();
            EXPECT_TRUE(all.at(n).neighbours.contains(name)) << n.toStdString() << " does not border on " << name.toStdString();
            EXPECT_NE(all.at(n).czest, s.czest) << name.toStdString() << " and " << n.toStdString();
        }
    }
}

// Beside each neighbour stands the number of the device that feeds it, as
// the finder would compose it: its type is the neighbour's NAD_EOT, its
// transmitter code the neighbour's, and an EOT-5's receiver is that of a
// section next to the neighbour.
TEST(StationData, TheEotBesideANeighbourIsTheDeviceFeedingIt)
{
    const auto all = sections();
    for (const auto& [name, s] : all) {
        for (qsizetype i = 0; i < s.neighbours.size(); ++i) {
            const Section& n = all.at(s.neighbours.at(i));
            const QString device = QString::number(qint64(s.eots.at(i)));
            const std::string what = name.toStdString() + " beside " + n.name.toStdString() + ": " + device.toStdString();
            eot::FinderState f;
            f.indexRn = eot::indexOfCode(code(n.czest));
            f.codeRn = code(n.czest);
            f.eotFamily = n.nadEot == 9 ? QStringLiteral("9") : QStringLiteral("3-7");
            if (n.nadEot == 5) {
                const QString receiver = device.mid(3, 2);
                f.indexRo1 = eot::indexOfCode(receiver);
                f.codeRo1 = receiver;
                const bool besideIt = std::any_of(n.neighbours.begin(), n.neighbours.end(),
                                                  [&](const QString& m) { return code(all.at(m).czest) == receiver; });
                EXPECT_TRUE(besideIt) << what << ": no neighbour receives " << receiver.toStdString();
            }
            EXPECT_EQ(eot::composeDesignation(f), QStringLiteral("EOT-") + device) << what;
        }
    }
}

// Every rule of the review window's transmitter table that names a module
// is met by some section: 11702 and 11701 variants, and all five 11710 ones.
TEST(StationData, TransmitterTypesCoverEveryRuleThatNamesAModule)
{
    QSet<QString> shown;
    QSet<int> nine;
    for (const auto& [name, s] : sections()) {
        const int nr = reviewVariant(s.czest);
        const QString module = sections::transmitterModule(s.nadEot, s.sot, nr);
        EXPECT_FALSE(module.isEmpty()) << name.toStdString();
        shown.insert(module.left(10));
        if (s.nadEot == 9)
            nine.insert(nr);
    }
    EXPECT_TRUE(shown.contains(QStringLiteral("MER 11702/")));
    EXPECT_TRUE(shown.contains(QStringLiteral("MER 11701/")));
    EXPECT_TRUE(shown.contains(QStringLiteral("MER 11710/")));
    EXPECT_EQ(nine, (QSet<int>{1, 2, 3, 4, 5}));
}

TEST(StationData, EveryPlanMarkerSectionIsDrawnAndEveryDrawnSectionIsInTheTable)
{
    const auto all = sections();
    QStringList drawn;
    for (const char* plan : {"kzn1", "kzn"}) {
        const QStringList names = StationCopy::plan(QString::fromLatin1(plan)).sections();
        for (const QString& n : names) {
            EXPECT_TRUE(all.count(n)) << plan << " draws " << n.toStdString();
            drawn << n;
        }
    }
    for (const auto& [name, s] : all)
        EXPECT_TRUE(drawn.contains(name)) << name.toStdString();
}

// The neighbours in the table are the sections that meet at an insulated
// joint on a plan, no more and no fewer.
TEST(StationData, NeighboursAreTheSectionsMeetingAtJointsOnThePlans)
{
    QSet<QPair<QString, QString>> joined;
    for (const char* plan : {"kzn1", "kzn"}) {
        const station::PlanScript script = StationCopy::plan(QString::fromLatin1(plan));
        const std::vector<QStringList> meetings = script.sectionsAtJoints();
        for (size_t j = 0; j < meetings.size(); ++j) {
            const QStringList& m = meetings[j];
            const QPoint at = script.joints[j];
            ASSERT_EQ(m.size(), 2) << plan << " joint " << at.x() << "," << at.y() << ": " << m.join(QLatin1Char(' ')).toStdString();
            if (m.contains(QStringLiteral("-")))
                continue; // the end of a track circuit towards rails without one
            joined.insert({m[0], m[1]});
            joined.insert({m[1], m[0]});
        }
    }
    QSet<QPair<QString, QString>> listed;
    for (const auto& [name, s] : sections()) {
        for (const QString& n : s.neighbours)
            listed.insert({name, n});
    }
    for (const auto& pair : listed)
        EXPECT_TRUE(joined.contains(pair)) << pair.first.toStdString() << " / " << pair.second.toStdString() << " meet at no joint";
    for (const auto& pair : joined)
        EXPECT_TRUE(listed.contains(pair)) << pair.first.toStdString() << " / " << pair.second.toStdString() << " are not neighbours";
}

} // namespace
