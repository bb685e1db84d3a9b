// Files of an installation that lie about themselves, each started through
// the real program: what the user sees is either the start-up's
// "Application Error" box, a failure box while a window is created, or
// nothing, and then the program runs with what the files really hold.
// Every case runs under an address-space limit, so a size believed from a
// header (a billion records, a picture of 60000 x 60000) cannot be
// allocated unseen.

#include "app/Guard.h"
#include "app/Shell.h"
#include "data/Failure.h"
#include "data/Table.h"
#include "plan/TPlany.h"
#include "sections/TOdcinki.h"
#include "sections/TPrzeglad.h"
#include "tests/support/Modal.h"
#include "tests/support/Station.h"
#include "tests/support/TempDir.h"
#include "texts/TOp.h"
#include "ui/ClickLabel.h"
#include "ui/FormPlacement.h"
#include "ui/Picture.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <functional>
#include <stdexcept>

namespace {

using testing_support::TempDir;

// ---- the damage ---------------------------------------------------------

void putLe16(QByteArray& b, int at, int v)
{
    b[at] = char(v & 0xFF);
    b[at + 1] = char((v >> 8) & 0xFF);
}

void putLe32(QByteArray& b, int at, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = char((v >> (8 * i)) & 0xFF);
}

using Damage = std::function<void(const TempDir&)>;

Damage changed(const char* file, std::function<void(QByteArray&)> change)
{
    return [name = QString::fromLatin1(file), change](const TempDir& dir) {
        QByteArray bytes = dir.read(name);
        change(bytes);
        dir.write(name, bytes);
    };
}

// A Windows bitmap whose header claims `width` x `height` at `bits` per
// pixel, followed by a few bytes of pixels only.
QByteArray lyingBitmap(qint32 width, qint32 height, int bits)
{
    QByteArray b(54, '\0');
    b[0] = 'B';
    b[1] = 'M';
    const quint32 imageBytes = quint32(qint64(width) * height * bits / 8);
    putLe32(b, 2, 54 + imageBytes);
    putLe32(b, 10, 54);
    putLe32(b, 14, 40);
    putLe32(b, 18, quint32(width));
    putLe32(b, 22, quint32(height));
    putLe16(b, 26, 1);
    putLe16(b, 28, bits);
    putLe32(b, 34, imageBytes);
    return b + QByteArray(64, '\x7F');
}

// A page of `bytes` Windows-1250 characters with no line end.
QByteArray oneLine(qsizetype bytes)
{
    const QByteArray pattern = "Zasilacz EOT-3 \xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF; ";
    QByteArray page;
    page.reserve(bytes);
    while (page.size() + pattern.size() <= bytes)
        page += pattern;
    page += QByteArray(bytes - page.size(), 'x');
    return page;
}

constexpr qsizetype kLongPage = 10 * 1024 * 1024;

// ---- what the program did -----------------------------------------------

QString boxesOf(const std::vector<testing_support::SeenModal>& seen)
{
    QStringList texts;
    for (const auto& s : seen)
        texts << s.title + QStringLiteral(": ") + s.text;
    return texts.join(QStringLiteral("\n--\n"));
}

// While it lives, the process may not take more than `extra` bytes of
// address space beyond what it holds now.
class AddressSpaceLimit {
public:
    explicit AddressSpaceLimit(qint64 extra)
    {
        ::getrlimit(RLIMIT_AS, &saved_);
        QFile statm(QStringLiteral("/proc/self/statm"));
        if (!statm.open(QIODevice::ReadOnly))
            throw std::runtime_error("no /proc/self/statm");
        const qint64 pages = statm.readAll().split(' ').value(0).toLongLong();
        struct rlimit limit = saved_;
        limit.rlim_cur = rlim_t(pages * ::sysconf(_SC_PAGESIZE) + extra);
        if (limit.rlim_max != RLIM_INFINITY && limit.rlim_cur > limit.rlim_max)
            limit.rlim_cur = limit.rlim_max;
        if (::setrlimit(RLIMIT_AS, &limit) != 0)
            throw std::runtime_error("setrlimit(RLIMIT_AS) failed");
    }
    ~AddressSpaceLimit() { ::setrlimit(RLIMIT_AS, &saved_); }
    AddressSpaceLimit(const AddressSpaceLimit&) = delete;
    AddressSpaceLimit& operator=(const AddressSpaceLimit&) = delete;

private:
    struct rlimit saved_ {};
};

struct HostileCase {
    const char* name;
    Damage damage;
    // The start-up's last-resort box, or the failure boxes shown while the
    // windows were created (empty: none).
    QString seen;
    // What the running program then shows.
    std::function<void(app::Shell&)> check;
};

QString applicationError(const char* message)
{
    return QStringLiteral("Application Error: ") + QString::fromUtf8(message);
}

QString failureBox(const QString& message)
{
    return QGuiApplication::applicationDisplayName() + QStringLiteral(": ") + message;
}

int rowsOf(QWidget* window, const char* dataSet)
{
    auto* table = window->findChild<data::Table*>(QString::fromLatin1(dataSet));
    return table ? table->rowCount() : -1;
}

QString reviewedSection(app::Shell& shell)
{
    return shell.przeglad()->findChild<QLabel*>(QStringLiteral("DBText1"))->text();
}

void runCase(const HostileCase& c)
{
    TempDir dir;
    testing_support::writeStation(dir.path());
    c.damage(dir);

    std::unique_ptr<app::Shell> shell;
    QString fatal;
    std::vector<testing_support::SeenModal> seen;
    {
        // Far below a billion records or a 10 GB picture, and room for Qt
        // to lay out the 10 MiB line (it takes blocks of 360 MB, kept
        // twice over in the sanitizer build).
        const AddressSpaceLimit limit(qint64(2) << 30);
        seen = testing_support::withModals([&] {
            try {
                shell = std::make_unique<app::Shell>();
            } catch (const data::Failure& f) {
                // The box shows this text below a line that names the code address.
                fatal = app::Guard::fatalText(f).section(QLatin1Char('\n'), 1);
                fatal = QStringLiteral("Application Error: ") + f.kind() + QStringLiteral(": ") + fatal;
            }
        });
    }
    EXPECT_EQ(fatal.isEmpty() ? boxesOf(seen) : fatal, c.seen);
    if (shell && c.check) {
        shell->start();
        QApplication::processEvents();
        c.check(*shell);
    }
}

} // namespace

TEST(HostileFile, EachGivesItsMessageAndNothingIsReadOrAllocatedBeyondTheFile)
{
    const HostileCase cases[] = {
        // The count is capped at the records the file holds: the program
        // starts, and the sections there are load and list.
        {"a table claiming a billion records", changed("ODCINKI.DBF", [](QByteArray& b) { putLe32(b, 4, 1000000000); }),
         QString(),
         [](app::Shell& shell) {
             EXPECT_EQ(rowsOf(shell.odcinki(), "Table1"), 2);
             QTest::mouseClick(shell.plany()->marker(1), Qt::LeftButton, {}, QPoint(5, 5));
             EXPECT_EQ(reviewedSection(shell), QStringLiteral("ITA"));
             EXPECT_TRUE(shell.przeglad()->isVisible());
         }},
        {"a zero-length table", [](const TempDir& dir) { dir.write(QStringLiteral("ODCINKI.DBF"), QByteArray()); },
         applicationError("EDBEngineError: Not a dBase table: the file is empty.\nFile: ODCINKI.DBF."), {}},
        // MER.DBF: five fields, the header cut to the room of four.
        {"a field list running past the header", changed("MER.DBF", [](QByteArray& b) { putLe16(b, 8, 32 + 4 * 32 + 1); }),
         applicationError("EDBEngineError: Corrupt table header: the field list runs past the header length 161.\n"
                          "File: MER.DBF."),
         {}},
        {"a record length that disagrees with the fields", changed("CZESTOTL.DBF", [](QByteArray& b) { putLe16(b, 10, 40); }),
         applicationError("EDBEngineError: Corrupt table header: the record length 40 does not match the fields (36).\n"
                          "File: CZESTOTL.DBF."),
         {}},
        {"an index claiming 65535 tags", changed("CZESTOTL.MDX", [](QByteArray& b) { putLe16(b, 28, 0xFFFF); }),
         applicationError("EDBEngineError: Corrupt index: a tag table of 65535 tags of 32 bytes.\nFile: CZESTOTL.MDX."),
         {}},
        // 60000 x 60000 x 24 bits would be 10 GB. The box comes at once and
        // the first plan's failure leaves both pictures unloaded.
        {"a plan bitmap claiming 60000 x 60000 pixels",
         [](const TempDir& dir) { dir.write(QStringLiteral("kzn1.bmp"), lyingBitmap(60000, 60000, 24)); },
         failureBox(QStringLiteral("Unable to read image data.")),
         [](app::Shell& shell) {
             EXPECT_TRUE(shell.plany()->Image1()->image().isNull());
             EXPECT_TRUE(shell.plany()->Image2()->image().isNull());
             EXPECT_TRUE(shell.plany()->marker(1)->isVisible());
         }},
        // Small enough for Qt's reader to take, which would fill the 48 MB
        // the file lacks by itself.
        {"a plan bitmap claiming 4000 x 4000 pixels",
         [](const TempDir& dir) { dir.write(QStringLiteral("kzn.bmp"), lyingBitmap(4000, 4000, 24)); },
         failureBox(QStringLiteral("Unable to read image data.")),
         [](app::Shell& shell) {
             EXPECT_FALSE(shell.plany()->Image1()->image().isNull());
             EXPECT_TRUE(shell.plany()->Image2()->image().isNull());
         }},
        // Shown whole, as one line of the memo.
        {"a contents page of 10 MiB on one line",
         [](const TempDir& dir) { dir.write(QStringLiteral("Spis.Txt"), oneLine(kLongPage)); }, QString(),
         [](app::Shell& shell) {
             auto* memo = shell.op()->findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
             ui::showForm(shell.op());
             QApplication::processEvents();
             EXPECT_EQ(memo->document()->blockCount(), 2); // the line, then the empty one after its end
             const QString text = memo->toPlainText();
             EXPECT_EQ(text.size(), kLongPage + 1);
             EXPECT_TRUE(text.startsWith(QStringLiteral("Zasilacz EOT-3 ąćęłńóśźż; ")));
             EXPECT_TRUE(text.endsWith(QStringLiteral("x\n")));
         }},
    };
    for (const HostileCase& c : cases) {
        SCOPED_TRACE(c.name);
        runCase(c);
    }
}
