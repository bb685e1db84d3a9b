#include "app/Shell.h"
#include "data/SelectedSection.h"
#include "eot/FrequencyChoice.h"
#include "eot/TForm1.h"
#include "plan/TPlany.h"
#include "sections/TPrzeglad.h"
#include "tests/station/StationCopy.h"
#include "tests/support/Menus.h"
#include "tests/support/Modal.h"
#include "tests/support/TempDir.h"
#include "texts/TDtech.h"
#include "texts/TNotatki.h"
#include "texts/TOp.h"
#include "ui/ClickLabel.h"
#include "ui/Picture.h"
#include "ui/RadioGroup.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using testing_support::StationCopy;
using testing_support::withModals;

const QString tablice = QStringLiteral("TABLICE    ");

// The program started in a copy of station/, as a user starts it there.
class Station : public ::testing::Test {
protected:
    void SetUp() override
    {
        StationCopy::copyTo(dir.path());
        const auto boxes = withModals([&] { shell = std::make_unique<app::Shell>(); });
        ASSERT_TRUE(boxes.empty()) << boxes.front().text.toStdString();
        shell->start();
    }

    template <class T>
    T* child(QWidget* window, const char* name) const
    {
        T* w = window->findChild<T*>(QString::fromLatin1(name));
        if (!w)
            throw std::runtime_error(std::string("no control ") + name);
        return w;
    }

    // The finder: family index, then the items of the frequency groups
    // (index 0 leaves a group as it stands); the texts of Edit1..Edit3.
    QStringList find(int family, int tx, int r1 = 0, int r2 = 0)
    {
        eot::TForm1* f = shell->form1();
        if (!f->isVisible())
            testing_support::chooseMenu(shell->plany(), {tablice, QStringLiteral("EOT")});
        click(child<ui::RadioGroup>(f, "Rt"), family);
        for (const char* g : {"Rn", "Ro1", "Ro2"})
            click(child<ui::RadioGroup>(f, g), 0);
        click(child<ui::RadioGroup>(f, "Rn"), tx);
        if (r1)
            click(child<ui::RadioGroup>(f, "Ro1"), r1);
        if (r2)
            click(child<ui::RadioGroup>(f, "Ro2"), r2);
        QTest::mouseClick(child<QPushButton>(f, "Button1"), Qt::LeftButton);
        QStringList out;
        for (const char* e : {"Edit1", "Edit2", "Edit3"}) {
            auto* edit = child<QLineEdit>(f, e);
            out << (edit->isVisible() ? edit->text() : QString());
        }
        return out;
    }
    static void click(ui::RadioGroup* group, int item)
    {
        QRadioButton* b = group->item(item);
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
    }

    QString reviewText(const char* name) const
    {
        QWidget* w = shell->przeglad()->findChild<QWidget*>(QString::fromLatin1(name));
        if (auto* edit = qobject_cast<QLineEdit*>(w))
            return edit->text();
        if (auto* label = qobject_cast<QLabel*>(w))
            return label->text();
        throw std::runtime_error(std::string("no text control ") + name);
    }

    testing_support::TempDir dir;
    std::unique_ptr<app::Shell> shell;
};

// "MER-111702/1" as the review window writes it: "MER 11702/1".
QString shortForm(const QString& finderModule)
{
    static const QRegularExpression full(QStringLiteral("^MER-1(\\d{5}/\\d+)$"));
    const auto m = full.match(finderModule);
    return m.hasMatch() ? QStringLiteral("MER ") + m.captured(1) : QStringLiteral("not a module: ") + finderModule;
}

struct SectionRow {
    int sot = 0;
    int czest = 0;
    int nadEot = 0;
};

SectionRow sectionRow(const QString& name)
{
    for (const QVariantMap& row : StationCopy::rows(QStringLiteral("ODCINKI.DBF"))) {
        if (row.value(QStringLiteral("ODCINEK")).toString() == name)
            return {row.value(QStringLiteral("SOT")).toString().toInt(), row.value(QStringLiteral("CZEST")).toInt(),
                    row.value(QStringLiteral("NAD_EOT")).toInt()};
    }
    return {};
}

// Every marker lies on the rails of the section it opens; the section loads
// without a message and shows the modules the finder names for its devices.
TEST_F(Station, EveryMarkerOpensItsOwnSectionWithBothModules)
{
    plan::TPlany* plan = shell->plany();
    for (int n = 1; n <= 27; ++n) {
        const bool kzn1 = n <= 12;
        testing_support::chooseMenu(plan, {tablice, kzn1 ? QStringLiteral("Kzn 1") : QStringLiteral("Kzn")});
        ui::ClickLabel* marker = plan->marker(n);
        ASSERT_TRUE(marker->isVisible()) << n;
        const auto boxes = withModals([&] { QTest::mouseClick(marker, Qt::LeftButton, {}, QPoint(5, 5)); });
        const QString name = data::selectedSection();
        ASSERT_TRUE(boxes.empty()) << "marker " << n << " (" << name.toStdString() << "): " << boxes.front().text.toStdString();
        EXPECT_TRUE(shell->przeglad()->isVisible()) << n;
        EXPECT_EQ(reviewText("DBText1"), name) << n;

        const ui::Picture* image = kzn1 ? plan->Image1() : plan->Image2();
        const QPointF centre = QRectF(marker->geometry()).center() - QPointF(image->geometry().topLeft());
        const station::PlanScript script = StationCopy::plan(kzn1 ? QStringLiteral("kzn1") : QStringLiteral("kzn"));
        EXPECT_EQ(script.sectionNear(centre, 4), name) << "marker " << n << " at " << centre.x() << "," << centre.y();

        const SectionRow row = sectionRow(name);
        const int index = eot::indexOfCode(QStringLiteral("%1").arg(row.czest, 2, 10, QLatin1Char('0')));
        const QString receiver = find(0, 0, index).value(1);
        const QString transmitter = find(row.nadEot == 9 ? 1 : 0, index).value(1);
        EXPECT_EQ(reviewText("Edit1"), shortForm(receiver)) << name.toStdString();
        EXPECT_EQ(reviewText("Edit2"), shortForm(transmitter)) << name.toStdString();
        shell->przeglad()->hide();
    }
}

// Every choice that composes a designation finds a module type and a variant
// for each device; family 1, which has no device, shows MER-0/0, as its row
// of the module table and the notes window say.
TEST_F(Station, EveryDesignationOfTheFinderFindsItsModules)
{
    const QRegularExpression module(QStringLiteral("^MER-1\\d{5}/[1-9]$"));
    int designations = 0;
    auto check = [&](int family, int tx, int r1, int r2) {
        const QStringList shown = find(family, tx, r1, r2);
        if (shown.at(0).isEmpty())
            return;
        ++designations;
        const std::string what = shown.at(0).toStdString();
        if (family == 2) {
            EXPECT_EQ(shown.at(1), QStringLiteral("MER-0/0")) << what;
            return;
        }
        EXPECT_TRUE(module.match(shown.at(1)).hasMatch()) << what << ": " << shown.at(1).toStdString();
        const bool two = (tx == 0 && r2 != 0) || (tx > 5 && r1 != 0);
        if (two) {
            EXPECT_TRUE(module.match(shown.at(2)).hasMatch()) << what << ": " << shown.at(2).toStdString();
        } else {
            EXPECT_TRUE(shown.at(2).isEmpty()) << what;
        }
    };
    for (int r1 = 1; r1 <= 9; ++r1) {
        for (int r2 = 0; r2 <= 9; ++r2)
            check(0, 0, r1, r2);
    }
    for (int tx = 1; tx <= 9; ++tx) {
        for (int r1 = 0; r1 <= 9; ++r1)
            check(0, tx, r1, 0);
        check(1, tx, 0, 0);
        check(2, tx, 0, 0);
    }
    EXPECT_EQ(designations, 81 + 5 + 4 + 4 * 8 + 5 + 4);

    bool noted = false;
    for (const QVariantMap& row : StationCopy::rows(QStringLiteral("MER.DBF"))) {
        if (row.value(QStringLiteral("EOT")).toString() == QLatin1String("1")) {
            noted = row.value(QStringLiteral("UWAGI")).toString().contains(QStringLiteral("nieprodukowany"));
            EXPECT_FALSE(row.value(QStringLiteral("TYP")).isValid());
        }
    }
    EXPECT_TRUE(noted);
    const auto* memo = child<QPlainTextEdit>(shell->notatki(), "Memo5");
    EXPECT_TRUE(memo->toPlainText().contains(QStringLiteral("EOT- 1......  - nie produkowany")));
}

// The notes window's list of EOT-7 modules is what the finder shows.
TEST_F(Station, TheFinderAgreesWithTheNotesOnEot7)
{
    const QString notes = child<QPlainTextEdit>(shell->notatki(), "Memo2")->toPlainText();
    const struct {
        int tx;
        const char* line;
    } cases[] = {{1, "EOT-7150 ; MER-111702/1"}, {2, "EOT-7180 ; MER-111702/2"}, {3, "EOT-7210 ; MER-111702/3"},
                 {5, "EOT-7280 ; MER-111702/4"}};
    for (const auto& c : cases) {
        ASSERT_TRUE(notes.contains(QString::fromLatin1(c.line))) << c.line;
        const QStringList shown = find(0, c.tx);
        EXPECT_EQ(shown.at(0) + QStringLiteral(" ; ") + shown.at(1), QString::fromLatin1(c.line));
    }
}

// Both viewers show a page under every tab, headed as their contents list it.
TEST_F(Station, ViewersShowTwentyOnePagesEach)
{
    const auto check = [&](QWidget* viewer, const std::function<void(int, bool&)>& change) {
        auto* memo = child<QPlainTextEdit>(viewer, "Memo1");
        EXPECT_TRUE(memo->toPlainText().contains(QStringLiteral("instalacja przykładowa")));
        for (int tab = 1; tab <= 20; ++tab) {
            bool allow = true;
            const auto boxes = withModals([&] { change(tab, allow); });
            EXPECT_TRUE(boxes.empty()) << tab;
            EXPECT_TRUE(memo->toPlainText().startsWith(QStringLiteral("%1. ").arg(tab))) << tab;
        }
    };
    check(shell->op(), [&](int tab, bool& allow) { shell->op()->TabSet1Change(tab, allow); });
    check(shell->dtech(), [&](int tab, bool& allow) { shell->dtech()->TabSet1Change(tab, allow); });
}

} // namespace
