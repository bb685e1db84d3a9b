// A start-up whose tables cannot all be opened, through the real program: it
// runs as a child in a directory of its own on an X server of its own, shows
// nothing but the "Application Error" box, and ends with exit code 1 once
// the box's OK is pressed.

#include "tests/support/Station.h"
#include "tests/support/Tables.h"
#include "tests/support/TempDir.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace {

using testing_support::TempDir;

constexpr int kStartMs = 60000; // a loaded, shared machine

// Runs a tool to its end; its standard output.
QString tool(const QString& display, const QString& program, const QStringList& args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForFinished(30000))
        throw std::runtime_error("no answer from " + program.toStdString());
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

// Polls `condition` every 100 ms until it holds or `ms` pass.
bool waitFor(const std::function<bool()>& condition, int ms)
{
    const QDeadlineTimer deadline(ms);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(100);
    }
    return true;
}

// Xvfb for as long as the object lives, never resetting when its last
// client leaves (a reset turns the next client away). Display numbers are
// drawn from a wide range, so two tests rarely want the same one.
class XServer {
public:
    explicit XServer(const QString& dir) : numberFile_(dir + QStringLiteral("/display"))
    {
        for (int attempt = 0; attempt < 10 && display_.isEmpty(); ++attempt)
            tryDisplay(QRandomGenerator::global()->bounded(1000, 30000));
        if (display_.isEmpty())
            throw std::runtime_error("Xvfb did not start: " + server_.readAllStandardError().toStdString());
    }
    ~XServer()
    {
        server_.terminate();
        server_.waitForFinished(10000);
    }
    const QString& display() const { return display_; }

private:
    // Taken numbers make the server end at once.
    void tryDisplay(int number)
    {
        QFile::remove(numberFile_);
        server_.start(QStringLiteral("sh"), {QStringLiteral("-c"),
                                             QStringLiteral("exec Xvfb :%1 -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>'%2'")
                                                 .arg(number)
                                                 .arg(numberFile_)});
        waitFor([this] { return readNumber() || server_.state() == QProcess::NotRunning; }, kStartMs);
        if (server_.state() == QProcess::NotRunning)
            display_.clear();
        if (display_.isEmpty())
            return;
        // Answers to a client before it counts as up.
        const bool answers = waitFor([this] {
            QProcess probe;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("DISPLAY"), display_);
            probe.setProcessEnvironment(env);
            probe.start(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_XKB_RULES_NAMES")});
            return probe.waitForFinished(30000) && probe.exitCode() == 0;
        }, 10000);
        if (!answers) {
            throw std::runtime_error("Xvfb on " + display_.toStdString() + " does not answer; running: "
                                     + std::to_string(server_.state() == QProcess::Running) + "; "
                                     + server_.readAllStandardError().toStdString());
        }
    }

    bool readNumber()
    {
        QFile f(numberFile_);
        if (!f.open(QIODevice::ReadOnly))
            return false;
        const QByteArray text = f.readAll();
        if (!text.endsWith('\n'))
            return false;
        display_ = QLatin1Char(':') + QString::fromLatin1(text.trimmed());
        return true;
    }

    QString numberFile_;
    QProcess server_;
    QString display_;
};

// Every window that is mapped on the screen while it runs, as xev reports them.
class MapWatch {
public:
    explicit MapWatch(const QString& display) : display_(display)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), display);
        xev_.setProcessEnvironment(env);
        xev_.start(QStringLiteral("xev"), {QStringLiteral("-root"), QStringLiteral("-event"), QStringLiteral("substructure"),
                                           QStringLiteral("-event"), QStringLiteral("property")});
        // Ready once it reports a property change made after it started.
        const bool ready = waitFor([this] {
            tool(display_, QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("-f"), QStringLiteral("OBW_WATCH"),
                                                     QStringLiteral("8s"), QStringLiteral("-set"), QStringLiteral("OBW_WATCH"),
                                                     QStringLiteral("1")});
            xev_.waitForReadyRead(200);
            output_ += QString::fromLocal8Bit(xev_.readAllStandardOutput());
            return output_.contains(QStringLiteral("PropertyNotify")) || xev_.state() == QProcess::NotRunning;
        }, kStartMs);
        if (!ready || xev_.state() == QProcess::NotRunning)
            throw std::runtime_error("xev did not report: " + output_.toStdString() + xev_.readAllStandardError().toStdString());
    }
    ~MapWatch()
    {
        xev_.kill();
        xev_.waitForFinished(10000);
    }
    QStringList mapped()
    {
        xev_.waitForReadyRead(500);
        output_ += QString::fromLocal8Bit(xev_.readAllStandardOutput());
        static const QRegularExpression map(QStringLiteral("MapNotify event[^\\n]*\\n[^\\n]*window (0x[0-9a-f]+)"));
        QStringList ids;
        for (const QRegularExpressionMatch& m : map.globalMatch(output_))
            ids << m.captured(1);
        return ids;
    }

private:
    QString display_;
    QProcess xev_;
    QString output_;
};

struct StartCase {
    const char* label;
    std::function<void(const TempDir&)> spoil;
    const char* kind;
    const char* message; // the box's lines after the first
};

void PrintTo(const StartCase& c, std::ostream* os)
{
    *os << c.label;
}

void removeFile(const TempDir& dir, const char* name)
{
    ASSERT_TRUE(QFile::remove(dir.file(QString::fromLatin1(name))));
}

class StartupFailure : public ::testing::TestWithParam<StartCase> {
protected:
    void SetUp() override
    {
        for (const char* needed : {"Xvfb", "xev", "xprop", "xdotool", "xwininfo"}) {
            ASSERT_FALSE(QStandardPaths::findExecutable(QString::fromLatin1(needed)).isEmpty())
                << needed << " is missing: run scripts/install-deps.sh";
        }
        // Everything the program reads before its tables, so that nothing
        // but the tables can fail.
        testing_support::writeStation(dir.path());
        QImage picture(64, 48, QImage::Format_RGB32);
        picture.fill(Qt::white);
        for (const char* name : {"kzn1.bmp", "kzn.bmp"})
            ASSERT_TRUE(picture.save(dir.file(QString::fromLatin1(name)), "BMP"));
    }

    // Top-level windows on the screen, id -> title.
    static std::map<QString, QString> visibleWindows(const QString& display)
    {
        std::map<QString, QString> windows;
        const QString tree = tool(display, QStringLiteral("xwininfo"), {QStringLiteral("-root"), QStringLiteral("-children")});
        static const QRegularExpression child(QStringLiteral("^\\s+(0x[0-9a-f]+) "), QRegularExpression::MultilineOption);
        // The title as it is once the window is on the screen: a window
        // gets its title after it is made.
        static const QRegularExpression named(QStringLiteral("^xwininfo: Window id: 0x[0-9a-f]+ (?:\"(.*)\"|\\(has no name\\))$"),
                                              QRegularExpression::MultilineOption);
        for (const QRegularExpressionMatch& m : child.globalMatch(tree)) {
            const QString state = tool(display, QStringLiteral("xwininfo"), {QStringLiteral("-id"), m.captured(1)});
            if (state.contains(QStringLiteral("Map State: IsViewable")))
                windows[m.captured(1)] = named.match(state).captured(1);
        }
        return windows;
    }

    // What a person sees of one start of the program in `dir`.
    struct Seen {
        std::map<QString, QString> windows; // on the screen while the box is up
        bool planWindowMade = false;
        QStringList boxText;                // as printed on the standard error
        bool waitsForOk = false;
        bool ended = false;
        QProcess::ExitStatus exitStatus = QProcess::CrashExit;
        int exitCode = -1;
        QStringList mapped;                 // every window ever shown
    };

    Seen start()
    {
        XServer x(dir.path());
        MapWatch watch(x.display());
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), x.display());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(dir.path());
        const QString errors = errorsDir.filePath(QStringLiteral("stderr"));
        program.setStandardErrorFile(errors);
        program.start(QStringLiteral(OBW_PROGRAM), {});
        const struct Reaper {
            QProcess& p;
            ~Reaper()
            {
                if (p.state() != QProcess::NotRunning) {
                    p.kill();
                    p.waitForFinished(10000);
                }
            }
        } reaper{program};
        if (!program.waitForStarted(kStartMs))
            throw std::runtime_error("the program did not start");

        Seen seen;
        waitFor([&] {
            seen.windows = visibleWindows(x.display());
            return !seen.windows.empty() || program.state() == QProcess::NotRunning;
        }, kStartMs);
        seen.planWindowMade = tool(x.display(), QStringLiteral("xwininfo"), {QStringLiteral("-root"), QStringLiteral("-tree")})
                                  .contains(QStringLiteral("Plan stacji"));
        QFile text(errors);
        if (text.open(QIODevice::ReadOnly))
            seen.boxText = QString::fromLocal8Bit(text.readAll()).split(QLatin1Char('\n'));
        while (!seen.boxText.isEmpty() && !seen.boxText.front().startsWith(QStringLiteral("Exception ")))
            seen.boxText.removeFirst(); // Qt's own notes
        seen.waitsForOk = !program.waitForFinished(500);
        if (seen.windows.size() == 1) {
            tool(x.display(), QStringLiteral("xdotool"),
                 {QStringLiteral("key"), QStringLiteral("--window"), seen.windows.begin()->first, QStringLiteral("Return")});
        }
        seen.ended = program.waitForFinished(kStartMs);
        seen.exitStatus = program.exitStatus();
        seen.exitCode = program.exitCode();
        seen.mapped = watch.mapped();
        return seen;
    }

    TempDir dir;
    QTemporaryDir errorsDir;
};

TEST_P(StartupFailure, OnlyTheApplicationErrorBoxThenExitCodeOne)
{
    const StartCase& c = GetParam();
    c.spoil(dir);
    const Seen seen = start();

    ASSERT_EQ(seen.windows.size(), 1u) << "the box, and nothing else, on the screen";
    const auto& [box, title] = *seen.windows.begin();
    EXPECT_TRUE(title.startsWith(QStringLiteral("Application Error"))) << title.toStdString();
    EXPECT_FALSE(seen.planWindowMade);
    ASSERT_FALSE(seen.boxText.isEmpty());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Exception %1 in module obwodnik at [0-9A-F]{8,}\\.$").arg(QString::fromLatin1(c.kind)))
                    .match(seen.boxText.front()).hasMatch())
        << seen.boxText.front().toStdString();
    EXPECT_EQ(seen.boxText.mid(1).join(QLatin1Char('\n')).trimmed(), QString::fromUtf8(c.message));
    EXPECT_TRUE(seen.waitsForOk);
    ASSERT_TRUE(seen.ended);
    EXPECT_EQ(seen.exitStatus, QProcess::NormalExit);
    EXPECT_EQ(seen.exitCode, 1);
    EXPECT_EQ(seen.mapped, QStringList{box}) << "a window other than the box was shown";
}

// The box's caption is "Application Error" alone: nothing may add the
// program's name to it.
TEST_F(StartupFailure, BoxIsCaptionedApplicationErrorAlone)
{
    removeFile(dir, "MER.DBF");
    const Seen seen = start();
    ASSERT_EQ(seen.windows.size(), 1u);
    EXPECT_EQ(seen.windows.begin()->second, QStringLiteral("Application Error"));
}

INSTANTIATE_TEST_SUITE_P(Tables, StartupFailure, ::testing::Values(
    StartCase{"section_table_missing", [](const TempDir& d) { removeFile(d, "ODCINKI.DBF"); }, "EDBEngineError",
              "Table does not exist.\nFile: odcinki.dbf."},
    StartCase{"frequency_table_missing", [](const TempDir& d) { removeFile(d, "CZESTOTL.DBF"); }, "EDBEngineError",
              "Table does not exist.\nFile: CZESTOTL.DBF."},
    StartCase{"module_table_missing", [](const TempDir& d) { removeFile(d, "MER.DBF"); }, "EDBEngineError",
              "Table does not exist.\nFile: MER.DBF."},
    StartCase{"frequency_code_as_text",
              [](const TempDir& d) {
                  removeFile(d, "CZESTOTL.DBF");
                  removeFile(d, "CZESTOTL.MDX");
                  testing_support::writeTable(d.file(QStringLiteral("CZESTOTL.DBF")),
                                              QStringLiteral("EOT C 3; SOT N 2; NR N 2; C_OZN C 2; CZESTOTL N 6; KOLOR C 20"),
                                              {{QStringLiteral("3-7"), 21, 1, QStringLiteral("15"), 1580}});
              },
              "EDatabaseError", "Field 'Symb' is not of the expected type."},
    StartCase{"frequency_index_missing",
              [](const TempDir& d) {
                  removeFile(d, "CZESTOTL.DBF");
                  removeFile(d, "CZESTOTL.MDX");
                  testing_support::writeTable(d.file(QStringLiteral("CZESTOTL.DBF")),
                                              QString::fromLatin1(testing_support::czestotlLayout),
                                              {{QStringLiteral("3-7"), 21, 1, 15, 1580}});
              },
              "EDatabaseError", "Table 'CZESTOTL.DBF' has no index for fields 'C_OZN'."}),
    [](const auto& info) { return std::string(info.param.label); });

} // namespace
